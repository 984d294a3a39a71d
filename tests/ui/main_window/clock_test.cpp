// The main window's clock: its controls, the tick, SET and the UTC/local display.
#include "main_window_fixture.h"

#include "engine/text/text_format.h"
#include "ui/analysis/analysis_window.h"
#include "ui/main_window/day_count.h"

#include <QAction>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <ctime>

namespace {

// The instant as the time field shows it: the month in the user's language.
QString TimeText(int year, int month, const char *rest)
{
    return QStringLiteral("%1 %2 %3").arg(year).arg(QLocale::system().monthName(month, QLocale::ShortFormat), rest);
}

bool Green(const QWidget *widget) { return widget->styleSheet().contains("#008000"); }
bool Red(const QWidget *widget) { return widget->styleSheet().contains("#ff0000"); }

} // namespace

TEST_F(MainWindowTest, ClockControlsWalkTheStepAndDirection)
{
    TfrMainWnd &w = Start();
    w.menu_forwardClick();
    EXPECT_TRUE(w.ClockTimer->isActive());
    EXPECT_TRUE(Green(w.stxt_step));
    EXPECT_TRUE(Green(w.txt_time));
    EXPECT_EQ(Step, 1000);

    w.bn_plusClick();
    w.bn_plusClick();
    EXPECT_EQ(w.stxt_step->text(), "5 Sec");
    EXPECT_TRUE(w.ClockTimer->isActive()) << "faster keeps a running clock running";
    w.bn_plusClick();
    w.bn_timebackwardClick();
    EXPECT_EQ(Step, -10000);
    EXPECT_EQ(w.stxt_step->text(), "-10 Sec");
    EXPECT_TRUE(w.ClockTimer->isActive());

    w.bn_stopClick();
    EXPECT_FALSE(w.ClockTimer->isActive());
    EXPECT_TRUE(Red(w.stxt_step));
    for (int i = 0; i < 3; ++i)
        w.bn_minusClick();
    EXPECT_EQ(w.stxt_step->text(), "-1 Sec");
    EXPECT_FALSE(w.ClockTimer->isActive()) << "slower leaves a stopped clock stopped";

    // The Time menu's backward item runs the clock as the "<" button does.
    w.menu_forwardClick();
    w.menu_backward->trigger();
    EXPECT_EQ(Step, -1000);
    EXPECT_TRUE(w.ClockTimer->isActive());
    w.bn_stopClick();
}

TEST_F(MainWindowTest, ATickAdvancesTheInstantByExactlyTheStep)
{
    TfrMainWnd &w = Start();
    const double start = MakeInstant(2024, 3, 20, 12, 0, 0);
    SetInstant(start);
    for (int i = 0; i < 3; ++i)
        w.bn_plusClick(); // 10 s
    for (int tick = 1; tick <= 40; ++tick) {
        w.ClockTimerTick();
        ASSERT_EQ(InstantToMilliseconds(CurrentTime) - InstantToMilliseconds(start), tick * 10000LL);
    }
    w.bn_timebackwardClick();
    w.bn_stopClick();
    w.ClockTimerTick();
    EXPECT_EQ(InstantToMilliseconds(CurrentTime) - InstantToMilliseconds(start), 390000LL);
    EXPECT_EQ(w.txt_time->text(), TimeText(2024, 3, "20   12:06:30:000"));
}

TEST_F(MainWindowTest, NothingIsDrawnWhileRedrawIsDisabled)
{
    TfrMainWnd &w = Start();
    const double start = MakeInstant(2024, 3, 20, 12, 0, 0);
    SetInstant(start);
    const QString shownTime = w.txt_time->text();
    const qint64 picture = w.MainImage->Picture().cacheKey();

    w.RedrawEnabled = false;
    w.ClockTimerTick();
    w.ClockTimerTick();
    EXPECT_EQ(InstantToMilliseconds(CurrentTime) - InstantToMilliseconds(start), 2000);
    EXPECT_EQ(w.txt_time->text(), shownTime);
    EXPECT_EQ(w.MainImage->Picture().cacheKey(), picture);

    // The next refresh shows the advanced instant.
    w.RefreshDisplay();
    EXPECT_TRUE(w.RedrawEnabled);
    EXPECT_EQ(w.txt_time->text(), TimeText(2024, 3, "20   12:00:02:000"));
    EXPECT_NE(w.MainImage->Picture().cacheKey(), picture);
}

TEST_F(MainWindowTest, TicksWhileAViewIsPreparedOnlyAdvanceTheInstant)
{
    TfrMainWnd &w = Start();
    const double start = MakeInstant(2024, 3, 20, 12, 0, 0);
    SetInstant(start);
    const std::string shownTime = w.txt_time->text().toStdString();
    const qint64 picture = w.MainImage->Picture().cacheKey();

    // The clock restarted before the sky task hands its bodies over.
    w.menu_skyClick();
    w.menu_forwardClick();
    w.ClockTimerTick();
    EXPECT_EQ(InstantToMilliseconds(CurrentTime) - InstantToMilliseconds(start), 1000);
    EXPECT_EQ(w.txt_time->text().toStdString(), shownTime);
    EXPECT_EQ(w.MainImage->Picture().cacheKey(), picture);
    w.bn_stopClick();

    EXPECT_TRUE(QTest::qWaitFor([&] { return !w.ViewBusy; }, 30000));
    EXPECT_TRUE(w.RedrawEnabled);
    EXPECT_EQ(w.txt_time->text(), TimeText(2024, 3, "20   12:00:01:000"));
}

TEST_F(MainWindowTest, SetReadsThePickersInTheObserversZoneOrInUtc)
{
    TfrMainWnd &w = Start();
    Observer.UtcOffset = 2.0 / 24.0;
    const double picked = MakeInstant(2024, 7, 1, 14, 30, 0);
    // The pickers hold the observer's wall-clock reading.
    w.dt_main_hour->setDateTime(QDateTime(QDate(2024, 7, 1), QTime(14, 30), Qt::UTC));
    w.menu_setusertimeClick();
    EXPECT_EQ(InstantToMilliseconds(CurrentTime), InstantToMilliseconds(picked - 2.0 / 24.0));
    EXPECT_EQ(w.txt_time->text(), TimeText(2024, 7, "01   14:30:00:000"));
    EXPECT_EQ(w.stxt_utc->text(), "LOC");

    w.menu_utctimeClick();
    EXPECT_EQ(w.stxt_utc->text(), "UTC");
    EXPECT_EQ(w.menu_utctime->text(), "Set Time to LOC");
    EXPECT_EQ(w.txt_time->text(), TimeText(2024, 7, "01   12:30:00:000"));
    w.menu_setusertimeClick();
    EXPECT_EQ(InstantToMilliseconds(CurrentTime), InstantToMilliseconds(picked));

    // A new date keeps the picked time of day.
    w.dt_main_date->setDate(QDate(2024, 7, 3));
    EXPECT_EQ(w.dt_main_hour->dateTime().date(), QDate(2024, 7, 3));
    EXPECT_EQ(w.dt_main_hour->dateTime().time(), QTime(14, 30));
    EXPECT_EQ(InstantToMilliseconds(CurrentTime), InstantToMilliseconds(picked)) << "only SET moves the instant";
    w.menu_utctimeClick();
    Observer.UtcOffset = 0.0;
}

TEST_F(MainWindowTest, APlaceInAnotherZoneTurnsThePickersWithTheClock)
{
    TfrMainWnd &w = Start();
    const double clock = CurrentTime;
    // The analysis window's picker, in local time, follows as well.
    w.menu_analysis->trigger();
    ASSERT_NE(frAnalysisWnd, nullptr);
    if (frAnalysisWnd->UtcMode())
        frAnalysisWnd->menu_utcClick();
    const double analysed = frAnalysisWnd->GetAnalysisTime();
    Observer.UtcOffset = 1.0 / 24.0; // a place one hour east, as the location window applies it
    w.ObserverChanged();
    w.menu_setusertimeClick();
    EXPECT_EQ(InstantToMilliseconds(CurrentTime), InstantToMilliseconds(clock)) << "SET untouched keeps the clock";
    EXPECT_EQ(InstantToMilliseconds(frAnalysisWnd->GetAnalysisTime()), InstantToMilliseconds(analysed));
    EXPECT_EQ(frAnalysisWnd->dt_an_hour->dateTime(), DayCountToDateTime(analysed + 1.0 / 24.0));
    Observer.UtcOffset = 0.0;
}

TEST_F(MainWindowTest, UtcDisplaySurvivesARestartWithItsLabels)
{
    TfrMainWnd &w = Start();
    w.menu_utctimeClick();
    Close();
    Start();
    EXPECT_EQ(Options.UtcTime, 1);
    EXPECT_EQ(window_->stxt_utc->text(), "UTC");
    EXPECT_EQ(window_->menu_utctime->text(), "Set Time to LOC");
}

TEST_F(MainWindowTest, TheStartInstantIsUtcAndThePickersShowTheObserversTime)
{
    // A computer zone far from the observer's must change nothing.
    const char *zone = std::getenv("TZ");
    const std::string oldZone = zone ? zone : "";
    setenv("TZ", "Asia/Kathmandu", 1);
    tzset();
    SetProgramFolders(ProgramFolder());
    Observer.Name.assign("Two hours east");
    Observer.UtcOffset = 2.0 / 24.0;
    ASSERT_TRUE(SaveObserver());
    const double before = std::time(nullptr) / 86400.0 + 25569.0;
    TfrMainWnd &w = Start();
    const double after = std::time(nullptr) / 86400.0 + 25569.0;
    if (zone)
        setenv("TZ", oldZone.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();

    EXPECT_GE(CurrentTime, before - 1.0 / 86400.0);
    EXPECT_LE(CurrentTime, after + 1.0 / 86400.0);
    const QDateTime shown = w.dt_main_hour->dateTime();
    const double picked = MakeInstant(shown.date().year(), shown.date().month(), shown.date().day(),
                                      shown.time().hour(), shown.time().minute(), shown.time().second());
    EXPECT_EQ(InstantToMilliseconds(picked), InstantToMilliseconds(CurrentTime + 2.0 / 24.0));
    Observer.UtcOffset = 0.0;
}
