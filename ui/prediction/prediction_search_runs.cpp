// How the prediction window runs its searches: the start refusals, the
// snapshot of inputs, the worker task and the hand-over of its result.
#include "ui/prediction/prediction_window.h"

#include "engine/astronomy/constants.h"
#include "engine/reports/transit_report.h"
#include "engine/runtime/program_state.h"
#include "engine/runtime/ui_hooks.h"

#include <QApplication>
#include <QDateTimeEdit>
#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolBar>

#include <optional>

// One started search: what stops it and what tells whether it ended.
struct TfrPredictionWnd::SearchRun {
    // Set when the window gives the search up: the search stops at its next
    // satellite or pass and its result, should one still come, is dropped.
    std::atomic<bool> cancel{false};
    WorkerHandle task;
    // Why the search has no satellite to search, when it has none.
    std::string nothingSearched;
};

bool TfrPredictionWnd::GetPredictionSpan(double &minElevation, double &sunAltitude, double &end,
                                         double &start) const
{
    const double offset = UtcMode ? 0.0 : Observer.UtcOffset;
    minElevation = DegToRad(nm_satalt->value());
    sunAltitude = DegToRad(nm_sunalt->value());
    start = PickerInstant(dt_predict_hour1) - offset;
    end = PickerInstant(dt_predict_hour2) - offset;
    return true;
}

PredictionInputs TfrPredictionWnd::TakeInputs(SearchKind kind) const
{
    PredictionInputs inputs;
    GetPredictionSpan(inputs.MinElevation, inputs.SunAltitude, inputs.End, inputs.Start);
    inputs.StartShown = PickerInstant(dt_predict_hour1);
    inputs.EndShown = PickerInstant(dt_predict_hour2);
    inputs.Produced = PresentInstant();
    inputs.UtcMode = UtcMode;
    inputs.DisplayOffset = UtcMode ? 0.0 : Observer.UtcOffset;
    inputs.MinRevs = nm_revs->value();
    inputs.StepSeconds = nm_steps->value();
    inputs.FaintestFlare = nm_mag->value();
    inputs.SunlitOnly = ckb_sunlite->isChecked();
    inputs.DayOrNight = ckb_day_night->isChecked();
    inputs.DayFlares = cb_irid_day->isChecked();
    inputs.TransitRadius = nm_transit->value();
    inputs.TrackWidth = nm_track->value();
    inputs.DistanceFactor = DistanceFactor;
    inputs.Observer = Observer;
    inputs.Target = TransitTarget;
    inputs.TargetName = TargetName;
    if (kind == SearchKind::Flares) {
        inputs.Satellites = IridiumList;
    } else {
        for (const TleRecord &record : PredictionList)
            if (IsPassSearchCandidate(record, inputs.MinRevs))
                inputs.Satellites.push_back(record);
    }
    return inputs;
}

bool TfrPredictionWnd::StartSearch(ThreadTag tag, PredictionSearch search, SearchKind kind)
{
    if (Busy)
        return false;
    if (kind == SearchKind::Flares) {
        if (IridiumList.empty() && !LoadIridiumSet()) {
            ShowUserMessage("Iridium File missing!, Select \"Iridium File =\" under \"Tools\" on Main Menu.",
                            "Iridium Flares");
            return false;
        }
    } else if (PredictionList.empty()) {
        return false;
    } else if (!targetChosen_ && (kind == SearchKind::Transits || kind == SearchKind::GroundTracks)) {
        ShowUserMessage(MissingTransitTargetText(TransitTarget.BodyId), "Satellite Pass Prediction");
        return false;
    }
    if (!CheckPredictionPeriod(PickerInstant(dt_predict_hour1), PickerInstant(dt_predict_hour2)))
        return false;

    PredictRichText->clear();
    if (kind == SearchKind::Passes || kind == SearchKind::Flares)
        Passes.clear();
    FlareResult = kind == SearchKind::Flares;
    bn_google->setEnabled(false);
    bn_chartwnd->setEnabled(false);

    auto run = std::make_shared<SearchRun>();
    if (kind != SearchKind::Flares)
        run->nothingSearched = NothingSearchedLine(PredictionList, nm_revs->value());
    Busy = true;
    setCursor(Qt::WaitCursor);
    PredictionToolbar->setCursor(Qt::WaitCursor);
    // The task gets its own copy of the inputs and hands its result back to
    // the user-interface thread; the application object outlives every window.
    run->task = StartWorkerThread(
        tag, [this, run, kind, tag, search = std::move(search), inputs = TakeInputs(kind)]() {
            SearchControl control;
            control.Cancel = &run->cancel;
            std::optional<PredictionResult> result;
            std::string failure;
            try {
                result = search(inputs, control);
            } catch (const std::exception &error) {
                failure = error.what();
            } catch (...) {
                failure = "unknown error";
            }
            const std::string unit = DistanceUnit(inputs.DistanceFactor);
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [this, run, kind, unit, failure, result = std::move(result)]() mutable {
                    if (run->cancel)
                        return;
                    ResultDistanceUnit = unit;
                    if (!result)
                        ShowUserMessage("The search ended with an error: " + failure, "Satellite Pass Prediction",
                                        MessageKind::Error);
                    FinishSearch(kind, result ? std::move(*result) : PredictionResult{}, run->nothingSearched);
                },
                Qt::QueuedConnection);
            EndWorkerThread(tag);
        });
    if (!run->task.Started()) {
        FinishSearch(kind, {}, {});
        return false;
    }
    run_ = std::move(run);
    return true;
}

void TfrPredictionWnd::FinishSearch(SearchKind kind, PredictionResult result, const std::string &nothingSearched)
{
    Passes.insert(Passes.end(), std::make_move_iterator(result.Passes.begin()),
                  std::make_move_iterator(result.Passes.end()));
    // A report without rows would end at its header: it says why.
    const bool overObject = kind == SearchKind::Transits || kind == SearchKind::GroundTracks;
    if (!result.Lines.empty() && !nothingSearched.empty())
        result.Lines.push_back(nothingSearched);
    else if (overObject && !result.Found && !result.Lines.empty())
        result.Lines.push_back(NoTransitsLine);
    QString text;
    for (const std::string &line : result.Lines) {
        if (!text.isEmpty())
            text += '\n';
        text += QString::fromStdString(line);
    }
    if (!text.isEmpty())
        PredictRichText->appendPlainText(text);
    const bool passes = kind == SearchKind::Passes || kind == SearchKind::Flares;
    bn_chartwnd->setEnabled(passes && !Passes.empty() && OpenPassChart != nullptr);
    const bool tracks = kind == SearchKind::Flares || kind == SearchKind::GroundTracks;
    bn_google->setEnabled(tracks && result.Found && ShowGoogleEarth != nullptr);
    unsetCursor();
    PredictionToolbar->unsetCursor();
    Busy = false;
}

bool TfrPredictionWnd::EndSearches(std::chrono::milliseconds limit)
{
    if (!run_)
        return true;
    run_->cancel = true;
    const bool ended = !run_->task.Started()
        || run_->task.exitCode.wait_for(limit) == std::future_status::ready;
    run_.reset();
    Busy = false;
    return ended;
}

bool ReleasePredictionWindow(std::chrono::milliseconds limit)
{
    if (!frPredictionWnd)
        return true;
    const bool ended = frPredictionWnd->EndSearches(limit);
    delete frPredictionWnd;
    frPredictionWnd = nullptr;
    return ended;
}
