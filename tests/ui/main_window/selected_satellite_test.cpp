// The selected satellite's data fields and its next rise and set, with a
// known main set, observer and instant.
#include "main_window_fixture.h"

#include "engine/astronomy/astro_time.h"
#include "engine/astronomy/constants.h"
#include "engine/searches/line_pass_search.h"
#include "engine/searches/prediction_test_support.h"
#include "engine/text/text_fields.h"
#include "engine/satellite_test_support.h"
#include "engine/text/text_format.h"
#include "engine/astronomy/vectors.h"
#include "ui/location/loc_wnd.h"
#include "ui/widgets/number_text.h"

#include <QApplication>
#include <QCoreApplication>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QLabel>
#include <QLineEdit>
#include <chrono>
#include <clocale>
#include <cmath>

namespace {

constexpr double SecondDays = 1.0 / 86400.0;

TleRecord Satellite(const std::string &name, const std::string &line2 = IssLine2)
{
    TleRecord record = MakeSatellite(IssLine1, line2);
    record.Name.assign(name);
    record.Number.assign("25544");
    record.Selected = 1;
    return record;
}

double Degrees(double radians) { return radians * 180.0 / M_PI; }

// The satellite's state seen by the observer at the instant, all coordinates.
TargetState StateAt(TleRecord record, ObserverRecord observer, double instant)
{
    TargetState state;
    state.Mode = ModeAll;
    const double gmst = UpdateSiderealObserver(instant, observer);
    EXPECT_TRUE(PropagateSatellite(record, state, gmst, instant, observer));
    return state;
}

class SelectedSatelliteTest : public MainWindowTest {
protected:
    // A Berlin observer one hour east of Greenwich, the main set, and the
    // settings with the given unit.
    void Prepare(const tlearray &set, bool metric = true)
    {
        ObserverRecord berlin = MakeObserver(0.9163, 0.2338, 34.0);
        berlin.Name.assign("Berlin");
        berlin.UtcOffset = 1.0 / 24.0;
        Prepare(set, berlin, metric);
    }

    void Prepare(const tlearray &set, const ObserverRecord &observer, bool metric = true)
    {
        SetProgramFolders(ProgramFolder());
        Observer = observer;
        ASSERT_TRUE(SaveObserver());
        OptionsRecord options = DefaultOptions();
        options.Metric = metric ? 1 : 0;
        std::ofstream(DataFile("Options.bin"), std::ios::binary)
            << OptionsToBytes(options, DefaultOptionsViewState());
        WriteSatFile(DataFile("MainSat.bin"), set);
        epochInstant_ = set.front().Elements.epoch - JulianDateOfDayZero;
    }

    // The rise and set of the pass in progress at the instant, or else of
    // the next one, as the prediction window's line search reports them
    // over a span from a day before.
    std::pair<double, double> EnginePass(double instant)
    {
        PredictionInputs inputs;
        inputs.Start = inputs.StartShown = MillisecondsToInstant(InstantToMilliseconds(instant - 1.0) / 1000 * 1000);
        inputs.End = inputs.EndShown = inputs.Start + 3.0;
        inputs.Observer = Observer;
        inputs.MinElevation = 0.0;
        inputs.MinRevs = 0;
        inputs.DayOrNight = true;
        inputs.SunlitOnly = false;
        inputs.Satellites = {MainList[SelectedMain]};
        for (const PassRecord &pass : SearchLinePasses(inputs, {nullptr, 1}).Passes)
            if (pass.EndTime > instant)
                return {pass.StartTime, pass.EndTime};
        ADD_FAILURE() << "the line search found no pass";
        return {0.0, 0.0};
    }

    // The panels and the prediction are the pass's rise and set to the second.
    void ExpectPass(TfrMainWnd &w, std::pair<double, double> pass)
    {
        EXPECT_NEAR(AosTime, pass.first, 0.001 * SecondDays);
        EXPECT_NEAR(LosTime, pass.second, 0.001 * SecondDays);
        EXPECT_EQ(w.Panel(1).toStdString(), Shown(pass.first));
        EXPECT_EQ(w.Panel(3).toStdString(), Shown(pass.second));
    }

    // The same within `seconds`, for deep-space satellites whose crossings
    // move a little with the order of the searches.
    void ExpectPassNear(TfrMainWnd &w, std::pair<double, double> pass, double seconds)
    {
        EXPECT_NEAR(AosTime, pass.first, seconds * SecondDays);
        EXPECT_NEAR(LosTime, pass.second, seconds * SecondDays);
        EXPECT_EQ(w.Panel(1).toStdString(), Shown(AosTime));
        EXPECT_EQ(w.Panel(3).toStdString(), Shown(LosTime));
    }

    // The elevation the searches compare with the horizon.
    double Elevation(double instant)
    {
        ObserverRecord observer = Observer;
        const TargetState state = StateAt(MainList[SelectedMain], observer, instant);
        UpdateSiderealObserver(instant, observer);
        return CalcTargetElevation(state, observer);
    }

    // Sets the clock in ten-minute steps from `from` until the selected
    // satellite is below the horizon; returns that instant.
    double SetInstantBelowHorizon(double from)
    {
        double instant = from;
        SetInstant(instant);
        while (Elevation(instant) > 0.0) {
            instant += 600 * SecondDays;
            SetInstant(instant);
        }
        return instant;
    }

    std::string Shown(double instant)
    {
        return FormatInstant("dd MMM HH:nn:ss", instant + Observer.UtcOffset);
    }

    double epochInstant_ = 0.0;
};

} // namespace

TEST_F(SelectedSatelliteTest, DataFieldsShowTheSelectedSatelliteAtTheInstant)
{
    Prepare({Satellite("ISS (ZARYA)")});
    TfrMainWnd &w = Start();
    EXPECT_EQ(w.windowTitle(), "Berlin");
    const double instant = epochInstant_ + 3.2;
    SetInstant(instant);

    const TargetState s = StateAt(MainList[0], Observer, instant);
    EXPECT_EQ(w.txt_ra->text().toStdString(), FormatAngleHMS(true, 0, s.RaDec.first));
    EXPECT_EQ(w.txt_dec->text().toStdString(), FormatAngleDMS(true, 0, s.RaDec.second));
    EXPECT_EQ(w.txt_az->text().toStdString(), FixedOneDecimal(Degrees(s.Azimuth), 5) + "°");
    EXPECT_EQ(w.txt_alt->text().toStdString(), FixedOneDecimal(Degrees(s.Elevation), 5) + "°");
    EXPECT_EQ(w.txt_rng->text().toStdString(), FixedOneDecimal(s.RaDec.third, 6) + " km");
    EXPECT_EQ(w.txt_hgt->text().toStdString(), FixedOneDecimal(s.SubPoint.third, 6) + " km");
    EXPECT_NEAR(s.SubPoint.third, 350.0, 30.0);
    EXPECT_EQ(w.Panel(11), "3.2 Days");
    EXPECT_EQ(w.Panel(9).toStdString(), FixedOneDecimal(s.Velocity.w, 5) + " km/s");
    EXPECT_EQ(w.Panel(9), "7.7 km/s");
}

TEST_F(SelectedSatelliteTest, NumbersKeepTheirDecimalPointUnderACommaLocale)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "locale de_DE.UTF-8 is not installed";
    Prepare({Satellite("ISS (ZARYA)")});
    TfrMainWnd &w = Start();
    SetInstant(epochInstant_ + 3.2);
    const std::string height = w.txt_hgt->text().toStdString();
    const std::string ageText = w.Panel(11).toStdString(), speed = w.Panel(9).toStdString();
    w.bn_minusClick();
    const std::string step = w.stxt_step->text().toStdString();
    w.SetMagnitudeLimit("5.5");
    const double limit = Options.MaxMagnitude;
    const std::string caption = w.menu_mag->text().toStdString();
    std::setlocale(LC_ALL, previous.c_str());
    Options.MaxMagnitude = 7.0;

    EXPECT_EQ(ageText, "3.2 Days");
    EXPECT_EQ(speed, "7.7 km/s");
    EXPECT_EQ(height.find(','), std::string::npos) << height;
    EXPECT_NE(height.find('.'), std::string::npos) << height;
    EXPECT_EQ(step, "0.5 Sec");
    EXPECT_EQ(limit, 5.5);
    EXPECT_EQ(caption, "Set Max Magnitude = 5.5");
}

TEST_F(SelectedSatelliteTest, NextPassMatchesTheLineSearchsRiseAndSet)
{
    // A pass of minutes and passes of five to ten hours: after a set the
    // next rise, and in the middle of a pass its rise, however long ago.
    ObserverRecord berlin = MakeObserver(0.9163, 0.2338, 34.0);
    berlin.UtcOffset = 1.0 / 24.0;
    const struct {
        TleRecord satellite;
        ObserverRecord observer;
    } cases[] = {{Satellite("ISS (ZARYA)"), berlin},
                 {WorkingRecord(Gps), SydneyObserver()},
                 {WorkingRecord(Molniya214), LondonObserver()}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.satellite.Name.str());
        Prepare({c.satellite}, c.observer);
        TfrMainWnd &w = Start();
        // Below the horizon at the instant: the next pass.
        const double instant = SetInstantBelowHorizon(epochInstant_ + 0.5);
        const auto [aos, los] = EnginePass(instant);
        ExpectPass(w, {aos, los});
        EXPECT_GT(AosTime, instant);
        // The satellite is up between the two and down just outside them.
        EXPECT_LT(Elevation(AosTime - SecondDays), 0.0);
        EXPECT_GE(Elevation(AosTime), 0.0);
        EXPECT_GT(Elevation(LosTime - SecondDays), 0.0);
        EXPECT_LE(Elevation(LosTime), 0.0);

        // Selected while it is up, the current pass is shown: its rise lies in the past.
        SetInstant((aos + los) / 2);
        w.cb_sat1->setCurrentIndex(0);
        w.cb_sat1Change();
        ExpectPass(w, {aos, los});

        // The clock passing the set: the next pass from there.
        SetInstant(los - SecondDays);
        for (int i = 0; i < 3; ++i)
            w.bn_plusClick();
        w.ClockTimerTick();
        w.ClockTimerTick();
        ASSERT_GT(CurrentTime, los);
        const auto next = EnginePass(CurrentTime);
        EXPECT_GT(next.first, los);
        ExpectPass(w, next);
        Close();
    }

    // POLAR's next pass after its set at 2018-01-22 23:38:58 from Cape Town
    // comes less than 0.6 of its period later. Its model's integrator moves
    // the crossings it finds by a second from search to search.
    Prepare({WorkingRecord(Polar)}, CapeTownObserver());
    TfrMainWnd &w = Start();
    SetInstant(MakeInstant(2018, 1, 22, 23, 38, 50));
    ExpectPassNear(w, EnginePass(CurrentTime), 2.0);
    EXPECT_NEAR(LosTime, MakeInstant(2018, 1, 22, 23, 38, 58), 2.0 * SecondDays);
    for (int i = 0; i < 3; ++i)
        w.bn_plusClick();
    w.ClockTimerTick();
    w.ClockTimerTick();
    ASSERT_GT(CurrentTime, MakeInstant(2018, 1, 22, 23, 39, 0));
    const auto next = EnginePass(CurrentTime);
    EXPECT_NEAR(next.first, MakeInstant(2018, 1, 23, 5, 18, 50), 2.0 * SecondDays);
    EXPECT_NEAR(next.second, MakeInstant(2018, 1, 23, 6, 7, 12), 2.0 * SecondDays);
    ExpectPassNear(w, next, 2.0);
}

TEST_F(SelectedSatelliteTest, SlowHorizonCrossingsGiveTheLineSearchsPassWithItsLength)
{
    // Deep-space satellites that take minutes to cross the horizon: the
    // model's integrator goes on from its last call, so the rise second read
    // again after other searches can fall just below the horizon. The
    // panels still show the pass the line search finds, to a few seconds.
    const struct {
        TleRecord satellite;
        ObserverRecord observer;
        double instant;
    } cases[] = {{WorkingRecord(Sdo), NamedObserver("Mid-Atlantic", 0.0, -24.5), MakeInstant(2018, 1, 22)},
                 {WorkingRecord(Molniya1S), NamedObserver("Mid-Pacific", 0.0, 158.0), MakeInstant(2018, 1, 12)}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.satellite.Name.str());
        Prepare({c.satellite}, c.observer);
        TfrMainWnd &w = Start();
        SetInstant(c.instant);
        const auto pass = EnginePass(c.instant);
        EXPECT_GT(pass.second - pass.first, 3.0 / 24.0);
        ExpectPassNear(w, pass, 3.0);
        Close();
    }
}

TEST_F(SelectedSatelliteTest, ALongSearchFillsThePanelsWhenItsTaskEnds)
{
    // GOES 16 stays 0.02 to 0.06 degrees above this place's horizon for
    // weeks: its search steps through them a few seconds at a time.
    Prepare({WorkingRecord(Goes16), Satellite("ISS (ZARYA)")}, NamedObserver("Gulf of Guinea", 0.0, 6.06));
    TfrMainWnd &w = Start();
    const double instant = MakeInstant(2018, 1, 22);
    auto passOf = [&](const TleRecord &satellite, double from) {
        TleRecord record = satellite;
        ObserverRecord observer = Observer;
        TargetState scratch;
        return FindPassAt(record, scratch, 0.0, from, 120.0, observer);
    };
    const PassTimes goes = passOf(MainList[0], instant), iss = passOf(MainList[1], instant);
    ASSERT_TRUE(goes.RiseFound && goes.SetFound);
    ASSERT_LT(goes.Rise, instant - 7.0);

    // Every search left to its task: the window goes on at once, the panels
    // empty until the pass comes.
    w.NextPassWaitLimit = std::chrono::milliseconds(0);
    SetInstant(instant);
    EXPECT_TRUE(w.NextPassSearching());
    EXPECT_EQ(w.Panel(1).toStdString(), "");
    EXPECT_EQ(w.Panel(3).toStdString(), "");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.NextPassSearching(); }, 60000));
    ExpectPass(w, {goes.Rise, goes.Set});

    // The ISS chosen while GOES 16 is searched again: that search's result
    // comes after the ISS's and is dropped.
    auto choose = [&](int position) {
        w.cb_sat1->setCurrentIndex(position);
        w.cb_sat1Change();
    };
    choose(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.NextPassSearching(); }, 60000));
    choose(0);
    EXPECT_TRUE(w.NextPassSearching());
    choose(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.OwnTasksEnded(); }, 60000));
    QCoreApplication::processEvents();
    EXPECT_FALSE(w.NextPassSearching());
    ExpectPass(w, {iss.Rise, iss.Set});

    // With the clock stopped, SET two days on while the search from one day
    // on runs: no tick follows, yet the pass shown is the one at the clock.
    SetInstant(instant + 1.0);
    SetInstant(instant + 2.0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.NextPassSearching(); }, 60000));
    const PassTimes later = passOf(MainList[1], instant + 2.0);
    ExpectPass(w, {later.Rise, later.Set});
}

TEST_F(SelectedSatelliteTest, RefreshesKeepTheStandingPrediction)
{
    Prepare({Satellite("ISS (ZARYA)")});
    TfrMainWnd &w = Start();
    const double instant = SetInstantBelowHorizon(epochInstant_ + 0.5);
    const double aos = AosTime, los = LosTime;
    const QString aosText = w.Panel(1), losText = w.Panel(3);

    // A display switch while the rise is ahead, then SET into the pass itself.
    w.menu_grids->trigger();
    EXPECT_EQ(AosTime, aos);
    EXPECT_EQ(LosTime, los);
    SetInstant(aos + 60 * SecondDays);
    EXPECT_EQ(AosTime, aos);
    EXPECT_EQ(LosTime, los);
    EXPECT_EQ(w.Panel(1), aosText);
    EXPECT_EQ(w.Panel(3), losText);

    // The clock passing the set searches the next pass.
    SetInstant(los - SecondDays);
    for (int i = 0; i < 3; ++i)
        w.bn_plusClick();
    w.ClockTimerTick();
    EXPECT_GT(CurrentTime, los);
    ExpectPass(w, EnginePass(CurrentTime));
    EXPECT_NE(w.Panel(1), aosText);

    // SET before the search's start asks for a fresh search from there.
    SetInstant(instant - 1.0);
    EXPECT_LT(AosTime, aos - 0.5);
}

TEST_F(SelectedSatelliteTest, AMovedObserverGetsThePassesOfItsNewPlace)
{
    Prepare({Satellite("ISS (ZARYA)")});
    TfrMainWnd &w = Start();
    SetInstantBelowHorizon(epochInstant_ + 0.5);
    const double berlinAos = AosTime;

    // The home moves to the other side of the Earth while the rise is ahead.
    Observer = MakeObserver(-0.6, 0.2338 + M_PI, 34.0);
    Observer.UtcOffset = 1.0 / 24.0;
    w.menu_grids->trigger();
    EXPECT_NE(AosTime, berlinAos);
    ExpectPass(w, EnginePass(CurrentTime));
}

TEST_F(SelectedSatelliteTest, ObserverLocationMovesTheCaptionHorizonAndNextPass)
{
    Prepare({Satellite("ISS (ZARYA)")});
    std::ofstream(DataFile("Timezone.dat")) << "2, Africa/Johannesburg\n";
    std::ofstream(DataFile("Locations.dat"))
        << FormatLocationLine({"Cape Town, ZA", "-33.9258", "18.4232", "Africa/Johannesburg"}) << "\n";
    TfrMainWnd &w = Start();
    SetInstantBelowHorizon(epochInstant_ + 0.5);
    const double berlinAos = AosTime;

    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    // The place, then its height as the current location's, applied.
    QTimer::singleShot(0, [] {
        auto *window = qobject_cast<TfrLocWnd *>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        window->listbox_loc->setCurrentRow(0);
        window->bn_modify->click();
        window->txt_agl->setText("2000");
        window->bn_apply->click();
    });
    QTest::keyClick(&w, Qt::Key_F3);
    EXPECT_EQ(w.windowTitle(), "Cape Town, ZA");
    EXPECT_EQ(Observer.Height, 2000.0);
    // The horizon is refracted at minus the dip of 2000 m, about 1.44 degrees.
    const double dipDegrees = Degrees(std::acos(6378137.0 / (6378137.0 + 2000.0)));
    EXPECT_NEAR(dipDegrees, 1.44, 0.01);
    EXPECT_DOUBLE_EQ(MainView.HorizonAltitude, CalcRefraction(-dipDegrees, 1013.0, 20.0));
    EXPECT_NE(AosTime, berlinAos);
    ExpectPass(w, EnginePass(CurrentTime));
}

TEST_F(SelectedSatelliteTest, OnlySatellitesAlwaysOrNeverUpAreGeostationary)
{
    // From London the geostationary satellite at 41.5 degrees east is always
    // up; a Galileo satellite of 1.7 revolutions a day rises and sets.
    Prepare({WorkingRecord(Meteosat8), WorkingRecord(Galileo)}, LondonObserver());
    TfrMainWnd &w = Start();
    SetInstant(SpanStart() + 0.25);
    EXPECT_EQ(w.Panel(1), "Geo Sat");
    EXPECT_EQ(w.Panel(3), "Geo Sat");
    EXPECT_DOUBLE_EQ(AosTime, CurrentTime + 180.0);
    EXPECT_DOUBLE_EQ(LosTime, CurrentTime + 181.0);

    w.cb_sat1->setCurrentIndex(1);
    w.cb_sat1Change();
    ASSERT_EQ(SelectedMain, 1);
    ExpectPass(w, EnginePass(CurrentTime));
    EXPECT_LT(LosTime - AosTime, 0.5);

    // From Sydney it never rises.
    ObserverRecord sydney = SydneyObserver();
    sydney.UtcOffset = Observer.UtcOffset;
    Observer = sydney;
    w.cb_sat1->setCurrentIndex(0);
    w.cb_sat1Change();
    EXPECT_EQ(w.Panel(1), "Geo Sat");
    EXPECT_EQ(w.Panel(3), "Geo Sat");
    Close();

    // From Cape Town MOLNIYA 1-S rose months ago and stays up past the 120
    // days searched: its rise is shown, and the span's end is no set.
    Prepare({WorkingRecord(Molniya1S)}, CapeTownObserver());
    TfrMainWnd &capeTown = Start();
    SetInstant(MakeInstant(2018, 1, 22));
    EXPECT_LT(AosTime, CurrentTime - 60.0);
    EXPECT_LT(Elevation(AosTime - 60.0 * SecondDays), 0.0);
    EXPECT_GT(Elevation(AosTime + 60.0 * SecondDays), 0.0);
    EXPECT_EQ(capeTown.Panel(1).toStdString(), Shown(AosTime));
    EXPECT_EQ(capeTown.Panel(3).toStdString(), "Geo Sat");
}

TEST_F(SelectedSatelliteTest, MilesWhenTheSettingsAreNotMetric)
{
    TleRecord second = Satellite("SECOND");
    second.Elements.mean_anomaly += 0.3;
    InitSatelliteModel(second);
    Prepare({Satellite("FIRST"), second}, false);
    TfrMainWnd &w = Start();
    const double instant = epochInstant_ + 0.25;
    SetInstant(instant);
    EXPECT_DOUBLE_EQ(DistanceFactor, 0.621371);
    const TargetState s = StateAt(MainList[0], Observer, instant);
    EXPECT_EQ(w.txt_rng->text().toStdString(), FixedOneDecimal(s.RaDec.third * 0.621371, 6) + " mi");
    EXPECT_EQ(w.txt_hgt->text().toStdString(), FixedOneDecimal(s.SubPoint.third * 0.621371, 6) + " mi");
    EXPECT_EQ(w.Panel(9).toStdString(), FixedOneDecimal(s.Velocity.w * 0.621371, 5) + " mi/s");

    w.cb_sat2->setCurrentIndex(1);
    w.cb_sat2Change();
    const TargetState other = StateAt(MainList[1], Observer, instant);
    const double range = CalcVectorDistance(s.Position, other.Position) * 0.621371;
    EXPECT_GT(range, 1000.0);
    EXPECT_EQ(w.stxt_2sat_range->text().toStdString(), FixedOneDecimal(range, 5) + " mi");
}

TEST_F(SelectedSatelliteTest, ADecayedSatelliteShowsPlaceholdersAndIsNotSearched)
{
    // This one's elements put it inside the Earth seven hours after their epoch.
    TleRecord decayed = MakeSatellite("1 29141U 85108AA  06170.26783845  .99999999  00000-0  13519-0 0   718",
                                      "2 29141  82.4288 273.4882 0015848 277.2124  83.9133 15.93343074  6828");
    decayed.Name.assign("DOWN");
    decayed.Selected = 1;
    Prepare({decayed});
    TfrMainWnd &w = Start();
    SetInstant(epochInstant_ + 425.0 / 1440.0);
    ASSERT_EQ(MainList[0].Decayed, 1);
    EXPECT_EQ(w.Panel(1), "Decayed");
    EXPECT_EQ(w.Panel(3), "Decayed");
    EXPECT_EQ(w.txt_az->text(), "00.0");
    EXPECT_EQ(w.txt_ra->text(), "00h 00m 00s");
    EXPECT_EQ(AosTime, LosTime);
}

TEST_F(SelectedSatelliteTest, SatelliteNumbersReplaceNamesAndTheFirstEntryIsChosen)
{
    TleRecord second = Satellite("SECOND"), third = Satellite("THIRD");
    second.Number.assign("11111");
    third.Number.assign("22222");
    third.Elements.mean_anomaly += 0.3;
    InitSatelliteModel(third);
    Prepare({Satellite("FIRST"), second, third});
    TfrMainWnd &w = Start();
    SetInstant(epochInstant_ + 0.5);
    w.cb_sat1->setCurrentIndex(2);
    w.cb_sat1Change();
    EXPECT_EQ(SelectedMain, 2);
    const double thirdAos = AosTime;
    EXPECT_EQ(SatStates[2].Mode, ModeAll);
    EXPECT_EQ(SatStates[0].Mode, ModeSubPoint);

    w.menu_displaynumber->trigger();
    ASSERT_EQ(w.cb_sat1->count(), 3);
    EXPECT_EQ(w.cb_sat1->itemText(1), "11111");
    EXPECT_EQ(w.cb_sat2->itemText(2), "22222");
    EXPECT_EQ(w.cb_sat1->currentIndex(), 0);
    EXPECT_EQ(SelectedMain, 0);
    EXPECT_EQ(SelectedPos, 0);
    EXPECT_EQ(SatStates[0].Mode, ModeAll);
    EXPECT_EQ(SatStates[2].Mode, ModeSubPoint);
    // The pass shown is the newly chosen satellite's.
    EXPECT_NE(AosTime, thirdAos);
}
