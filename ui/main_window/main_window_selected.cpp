// The selected satellite: the two boxes, the data fields and the next pass.
#include "ui/main_window/main_window.h"

#include "engine/astronomy/constants.h"
#include "engine/searches/pass_steps.h"
#include "engine/runtime/program_state.h"
#include "engine/text/text_fields.h"
#include "engine/satellites/satellite_driver.h"
#include "engine/files/settings.h"
#include "engine/text/text_format.h"
#include "engine/astronomy/vectors.h"
#include "ui/widgets/number_text.h"
#include "ui/window_glue.h"
#include "views/ground_track.h"

#include <QComboBox>
#include <QLineEdit>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <future>
#include <memory>

namespace {

// How far before and after the current instant the rise and set are searched.
constexpr double PassSearchDays = 120.0;

QString Text(const std::string &text) { return QString::fromStdString(text); }

std::string DistanceUnit() { return Options.Metric ? " km" : " mi"; }

double Degrees(double radians) { return radians * 180.0 / M_PI; }

} // namespace

const TleRecord *TfrMainWnd::SelectedRecord() const
{
    if (cb_sat1->count() == 0 || SelectedMain < 0
        || static_cast<std::size_t>(SelectedMain) >= MainList.size())
        return nullptr;
    return &MainList[SelectedMain];
}

const TargetState *TfrMainWnd::SelectedState() const
{
    if (SelectedPos < 0 || static_cast<std::size_t>(SelectedPos) >= SatStates.size())
        return nullptr;
    return &SatStates[SelectedPos];
}

void TfrMainWnd::cb_sat1Change()
{
    const int chosen = cb_sat1->currentIndex();
    if (chosen < 0) {
        RefreshDisplay();
        return;
    }
    SelectedMain = ComboToMain[chosen];
    SelectedPos = chosen;
    SetDisplayListStyles();
    UpdateSelectedSatellites();
    TrackStart = TrackEnd = CurrentTime;
    // The refresh searches the new satellite's pass from now.
    RequestNextPass();
    TurnViewToSelected();
    RefreshDisplay();
}

void TfrMainWnd::ShowSatelliteRange()
{
    const int other = cb_sat2->currentIndex();
    const TargetState *selected = SelectedState();
    if (!selected || other < 0 || static_cast<std::size_t>(other) >= SatStates.size())
        return;
    const double range = CalcVectorDistance(selected->Position, SatStates[other].Position);
    stxt_2sat_range->setText(Text(FixedOneDecimal(range * DistanceFactor, 5) + DistanceUnit()));
}

void TfrMainWnd::cb_sat2Change()
{
    ShowSatelliteRange();
}

void TfrMainWnd::ShowSelectedSatelliteData()
{
    const TleRecord *record = SelectedRecord();
    const TargetState *s = SelectedState();
    if (!record || record->Decayed || !s) {
        ClearSatelliteData();
        return;
    }
    const std::string unit = DistanceUnit();
    txt_ra->setText(Text(FormatAngleHMS(true, 0, s->RaDec.first)));
    txt_dec->setText(Text(FormatAngleDMS(true, 0, s->RaDec.second)));
    txt_az->setText(Text(FixedOneDecimal(Degrees(s->Azimuth), 5) + "°"));
    txt_alt->setText(Text(FixedOneDecimal(Degrees(s->Elevation), 5) + "°"));
    txt_rng->setText(Text(FixedOneDecimal(s->RaDec.third * DistanceFactor, 6) + unit));
    txt_hgt->setText(Text(FixedOneDecimal(s->SubPoint.third * DistanceFactor, 6) + unit));
    ShowSatelliteRange();
    if (Options.ViewMode != ViewModeSky) {
        const double age = CurrentTime - (record->Elements.epoch - JulianDateOfDayZero);
        SetPanel(11, Text(FormatReport("%0:.1f Days", {age})));
        SetPanel(9, Text(FixedOneDecimal(s->Velocity.w * DistanceFactor, 5) + unit + "/s"));
    }
}

void TfrMainWnd::ClearSatelliteData()
{
    if (MainList.empty()) {
        SetPanel(1, "None");
        SetPanel(3, "None");
    } else if (const TleRecord *record = SelectedRecord(); record && record->Decayed) {
        SetPanel(1, "Decayed");
        SetPanel(3, "Decayed");
    }
    txt_ra->setText("00h 00m 00s");
    txt_dec->setText("00d 00m 00s");
    for (QLineEdit *field : {txt_az, txt_alt, txt_rng, txt_hgt})
        field->setText("00.0");
}

namespace {

// The next-pass search's own task.
constexpr ThreadTag NextPassTaskTag = 504;

bool SamePlace(const Angles3 &a, const Angles3 &b)
{
    return a.first == b.first && a.second == b.second && a.third == b.third;
}

} // namespace

// What one next-pass search works on and finds. The task works on its own
// copies; the window reads the result only once the task has ended.
struct TfrMainWnd::NextPassSearch {
    TleRecord record;
    ObserverRecord observer;
    double from = 0.0;
    PassTimes pass;
    // Set by the window when a newer request replaced this search: its task
    // then hands nothing over.
    std::atomic<bool> dropped{false};
};

bool TfrMainWnd::PredictionIsFor(const TleRecord &record) const
{
    return std::memcmp(&record.Elements, &predictedElements_, sizeof predictedElements_) == 0
        && SamePlace(predictedPlace_, ObserverPlace());
}

bool TfrMainWnd::PredictionCovers(double instant) const
{
    const TleRecord *record = SelectedRecord();
    if (!record || !PredictionIsFor(*record) || instant < passSearchStart_)
        return false;
    // A search under way finds the pass at its own instant, which the clock
    // may since have passed: its result then gives way when it arrives.
    return nextPass_ == NextPassState::Searching || (nextPass_ == NextPassState::Standing && instant <= LosTime);
}

void TfrMainWnd::RequestNextPass()
{
    if (nextPassSearch_) {
        nextPassSearch_->dropped = true;
        nextPassSearch_.reset();
    }
    nextPass_ = NextPassState::Requested;
    AosTime = LosTime = CurrentTime;
}

void TfrMainWnd::UpdateNextPass()
{
    const TleRecord *found = SelectedRecord();
    if (!found || found->Decayed)
        return;
    // A search under way hands its pass over when it ends; a standing
    // prediction holds until the clock passes its set.
    if (nextPass_ == NextPassState::Searching || (nextPass_ == NextPassState::Standing && CurrentTime <= LosTime))
        return;
    StartNextPassSearch(*found);
}

void TfrMainWnd::StartNextPassSearch(const TleRecord &found)
{
    // From the current instant, the pass in progress or the next one, as the
    // prediction window's searches find it: after a set that is the next
    // rise, and for a satellite in view the rise of its pass however long
    // ago. The search propagates its own copies, so neither the main set's
    // work area nor the observer of the clock tick moves under it.
    auto search = std::make_shared<NextPassSearch>();
    search->record = found;
    search->observer = Observer;
    search->from = CurrentTime;
    nextPassSearch_ = search;
    nextPass_ = NextPassState::Searching;
    passSearchStart_ = CurrentTime;
    predictedElements_ = found.Elements;
    predictedPlace_ = ObserverPlace();
    const WorkerHandle task = StartTask(
        NextPassTaskTag,
        [this, search] {
            TargetState scratch;
            scratch.Mode = ModeNothing;
            search->pass = FindPassAt(search->record, scratch, 0.0, search->from, PassSearchDays, search->observer);
            if (!search->dropped)
                OnUiThread([this, search] { ShowNextPass(*search); });
        },
        nullptr,
        [this, search] {
            // Not enough memory: the next refresh or tick asks again.
            if (nextPassSearch_ == search)
                RequestNextPass();
        });
    // No thread to be had: the next tick or refresh asks again.
    if (!task.Started()) {
        RequestNextPass();
        return;
    }
    // Most searches take milliseconds and are shown at once; a long one
    // fills the panels when its task ends, and until then they show no pass.
    if (task.exitCode.wait_for(NextPassWaitLimit) == std::future_status::ready) {
        ShowNextPass(*search);
    } else {
        SetPanel(1, QString());
        SetPanel(3, QString());
    }
}

void TfrMainWnd::ShowNextPass(const NextPassSearch &search)
{
    // Stale: a newer request, a closed window, or the selection, its
    // elements or the place changed without one.
    const TleRecord *record = SelectedRecord();
    if (nextPassSearch_.get() != &search || closed_ || !record || !PredictionIsFor(*record))
        return;
    nextPassSearch_.reset();
    nextPass_ = NextPassState::Standing;
    const PassTimes &pass = search.pass;
    // The prediction describes the passes from the instant searched on.
    passSearchStart_ = std::min(pass.Rise, search.from);
    if (pass.Crosses()) {
        AosTime = pass.Rise;
        LosTime = pass.Set;
        // An end of the span searched is no rise or set: a crossing not found
        // within it reads as for a satellite that never crosses.
        const double offset = DisplayOffset();
        SetPanel(1, pass.RiseFound ? Text(FormatInstant("dd MMM HH:nn:ss", AosTime + offset)) : "Geo Sat");
        SetPanel(3, pass.SetFound ? Text(FormatInstant("dd MMM HH:nn:ss", LosTime + offset)) : "Geo Sat");
    } else {
        // Always up or never up: no search for a while.
        AosTime = search.from + 180.0;
        LosTime = search.from + 181.0;
        SetPanel(1, "Geo Sat");
        SetPanel(3, "Geo Sat");
    }
    // The clock passed the pass while it was searched (SET with the clock
    // stopped brings no tick to notice): search again from now.
    if (CurrentTime > LosTime)
        UpdateNextPass();
}
