// The clock: the 1000 ms tick, the step, NOW and SET, UTC or local display and
// the full refresh every action that changes the picture goes through.
#include "ui/main_window/main_window.h"

#include "engine/astronomy/bodies.h"
#include "engine/runtime/program_state.h"
#include "engine/satellites/satellite_driver.h"
#include "engine/files/settings.h"
#include "engine/text/text_format.h"
#include "ui/main_window/day_count.h"
#include "ui/main_window/time_step.h"
#include "views/ground_track.h"
#include "views/view_state.h"

#include <QDateEdit>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QLocale>
#include <QThread>
#include <QTimer>

namespace {

const QColor StoppedColour(255, 0, 0);
const QColor RunningColour(0, 128, 0);

} // namespace

double TfrMainWnd::DisplayOffset() const
{
    return Options.UtcTime ? 0.0 : Observer.UtcOffset;
}

void TfrMainWnd::ClockTimerTick()
{
    // Whole milliseconds, so that no rounding of a day fraction accumulates.
    CurrentTime = MillisecondsToInstant(InstantToMilliseconds(CurrentTime) + Step);
    if (!RedrawEnabled)
        return;
    RecomputeAndDraw();
    ShowCurrentTime();
    if (CurrentTime > LosTime)
        UpdateNextPass();
}

void TfrMainWnd::ShowCurrentTime()
{
    const QDateTime shown = DayCountToDateTime(CurrentTime + DisplayOffset());
    const QDate date = shown.date();
    const QTime time = shown.time();
    // The month reads in the user's language; everything else is fixed.
    const QString month = QLocale::system().monthName(date.month(), QLocale::ShortFormat);
    txt_time->setText(QStringLiteral("%1 %2 %3   %4:%5:%6:%7")
                          .arg(date.year(), 4, 10, QChar('0'))
                          .arg(month)
                          .arg(date.day(), 2, 10, QChar('0'))
                          .arg(time.hour(), 2, 10, QChar('0'))
                          .arg(time.minute(), 2, 10, QChar('0'))
                          .arg(time.second(), 2, 10, QChar('0'))
                          .arg(time.msec(), 3, 10, QChar('0')));
}

void TfrMainWnd::SetClockColour(const QColor &colour)
{
    const QString style = QStringLiteral("color: %1;").arg(colour.name());
    stxt_step->setStyleSheet(style);
    txt_time->setStyleSheet(style);
}

void TfrMainWnd::ControlTimeStep(int32_t code)
{
    if (code == StepStop) {
        ClockTimer->stop();
        SetClockColour(StoppedColour);
        return;
    }
    Step = NextTimeStep(Step, code);
    stxt_step->setText(QString::fromStdString(TimeStepCaption(Step)));
    if (code == StepRunForward || code == StepRunBackward) {
        ClockTimer->start();
        SetClockColour(RunningColour);
    }
}

void TfrMainWnd::bn_stopClick() { ControlTimeStep(StepStop); }
void TfrMainWnd::menu_forwardClick() { ControlTimeStep(StepRunForward); }
void TfrMainWnd::bn_timebackwardClick() { ControlTimeStep(StepRunBackward); }
void TfrMainWnd::bn_plusClick() { ControlTimeStep(StepFaster); }
void TfrMainWnd::bn_minusClick() { ControlTimeStep(StepSlower); }

void TfrMainWnd::menu_utctimeClick()
{
    Options.UtcTime = Options.UtcTime ? 0 : 1;
    if (Options.UtcTime) {
        stxt_utc->setText("UTC");
        menu_utctime->setText("Set Time to LOC");
    } else {
        stxt_utc->setText("LOC");
        menu_utctime->setText("Set Time to UTC");
    }
    ShowCurrentTime();
}

void TfrMainWnd::menu_settimelocalClick()
{
    // The system clock is read as UTC, so the observer's zone and the
    // computer's own zone may differ.
    CurrentTime = SystemClockDayCount();
    RefreshDisplay();
}

void TfrMainWnd::menu_setusertimeClick()
{
    const double picked = DateTimeToDayCount(dt_main_hour->dateTime());
    CurrentTime = Options.UtcTime ? picked : picked - Observer.UtcOffset;
    RefreshDisplay();
}

void TfrMainWnd::dt_main_dateChange()
{
    QDateTime hour = dt_main_hour->dateTime();
    hour.setDate(dt_main_date->date());
    dt_main_hour->setDateTime(hour);
}

void TfrMainWnd::SetPickersToInstant(double instant)
{
    const QDateTime local = DayCountToDateTime(instant + DisplayOffset());
    dt_main_date->setDate(local.date());
    dt_main_hour->setDateTime(local);
}

void TfrMainWnd::RecomputeAndDraw()
{
    if (Options.ViewMode == ViewModeSky)
        MainView.RebuildBackground = 1;
    SiderealTime = UpdateSiderealObserver(CurrentTime, Observer);
    UpdateBodies(BodyCount);
    UpdateSelectedSatellites();
    DrawMainView();
    ShowSelectedSatelliteData();
}

void TfrMainWnd::RefreshDisplay()
{
    if (QThread::currentThread() != thread()) {
        OnUiThread([this] { RefreshDisplay(); });
        return;
    }
    // Nothing is drawn before the start-up task has loaded its data.
    if (!Ready)
        return;
    RedrawEnabled = false;
    MainView.RebuildBackground = 1;
    SiderealTime = UpdateSiderealObserver(CurrentTime, Observer);
    UpdateBodies(BodyCount);
    if (!SatStates.empty()) {
        // A standing prediction of the current or next pass, or the search
        // under way for it, is kept; only an instant outside it asks for a
        // fresh search from now. The search works on its own observer, so
        // nothing has to be restored after it.
        if (!PredictionCovers(CurrentTime))
            RequestNextPass();
        UpdateSelectedSatellites();
        UpdateNextPass();
    } else {
        TrackPoints.clear();
    }
    if (Options.ViewMode == ViewModeSky && MainView.SkyScale < MainView.SkyScaleMin)
        txt_info1->setText(QString::fromStdString(ResetSkyZoom()));
    DrawMainView();
    ShowSelectedSatelliteData();
    ShowCurrentTime();
    RedrawEnabled = true;
}
