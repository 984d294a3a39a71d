// The prediction window in the running program: created once by
// "Prediction Passes", its help, its time mode and dates, the refusals while a
// search runs, the snapshot a search works on, the buttons each search
// leaves, a transit object without its sky point, the track unit the options
// set, its shutdown and "Save".
#include "ui/main_window/main_window_fixture.h"

#include "engine/astronomy/constants.h"
#include "engine/text/text_format.h"
#include "engine/satellites/satellite_driver.h"
#include "engine/satellites/catalogue_conversion.h"
#include "engine/searches/flare_search.h"
#include "engine/searches/ground_track_search.h"
#include "engine/searches/line_pass_search.h"
#include "engine/searches/transit_search.h"
#include "ui/help/help_viewer.h"
#include "ui/main_window/day_count.h"
#include "ui/options/options_window.h"
#include "ui/prediction/prediction_window.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSpinBox>

#include <chrono>

namespace {

class PredictionWindowTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        savedObserver_ = Observer;
        savedMainList_ = MainList;
        savedOptions_ = Options;
        savedFactor_ = DistanceFactor;
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        Observer = savedObserver_;
        MainList = savedMainList_;
        Hooks().selectFile = nullptr;
        Hooks().pickSkyPoint = nullptr;
        Options = savedOptions_;
        DistanceFactor = savedFactor_;
    }

    // The main window started with a main set of `sets` element sets of the
    // set-up's gpredict file (none selected), and the prediction window open
    // on it with every set checked.
    TfrPredictionWnd &OpenWithMainSet(std::size_t sets)
    {
        Start();
        ElementList elements;
        EXPECT_TRUE(LoadTleTextFile(elements, (setUpData_ / "tle" / "gpredict.tle").string()));
        MainList.clear();
        for (const ElementRecord &element : elements) {
            TleRecord record;
            if (MainList.size() < sets && LoadSatFromElementRecord(record, element, true, 13.0, 20.0))
                MainList.push_back(record);
        }
        window_->menu_linetabular->trigger();
        EXPECT_NE(frPredictionWnd, nullptr);
        frPredictionWnd->menu_allClick();
        return *frPredictionWnd;
    }

    // Puts the span on 15 days from 2018 January 21 0h, shown in UTC.
    static void SetFifteenDays(TfrPredictionWnd &window)
    {
        window.dt_predict_hour1->setDateTime(DayCountToDateTime(MakeInstant(2018, 1, 21)));
        window.dt_predict_hour2->setDateTime(DayCountToDateTime(MakeInstant(2018, 2, 5)));
    }

    static bool WaitIdle(TfrPredictionWnd &window)
    {
        return QTest::qWaitFor([&] { return !window.Busy; }, 60000);
    }

    ObserverRecord savedObserver_;
    tlearray savedMainList_;
    OptionsRecord savedOptions_;
    double savedFactor_ = 1.0;
};

TEST_F(PredictionWindowTest, PredictionPassesTwiceGivesOneWindowWithHelp410)
{
    Start();
    QTest::keyClick(window_.get(), Qt::Key_F5);
    TfrPredictionWnd *first = frPredictionWnd;
    ASSERT_NE(first, nullptr);
    first->close();
    window_->menu_linetabular->trigger();
    EXPECT_EQ(frPredictionWnd, first);
    EXPECT_TRUE(first->isVisible());

    first->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(first));
    QTest::keyClick(first, Qt::Key_F1);
    // This program folder has no help pages: the viewer names the one asked for.
    const std::vector<ShownMessage> shown = Messages();
    ASSERT_FALSE(shown.empty());
    EXPECT_NE(shown.back().text.find("help/410.html"), std::string::npos) << shown.back().text;
}

TEST_F(PredictionWindowTest, LocalTimeAndBackKeepsTheInstantsToTheSecond)
{
    Start();
    window_->menu_linetabular->trigger();
    TfrPredictionWnd &window = *frPredictionWnd;
    // Without "UTC" in the settings the window opens in local time.
    EXPECT_EQ(window.UtcMode, Options.UtcTime != 0);
    if (!window.UtcMode)
        window.menu_utcClick();
    const QDateTime start(QDate(2018, 1, 21), QTime(7, 8, 9), Qt::UTC);
    window.dt_predict_hour1->setDateTime(start);
    for (const double hours : {5.5, -3.5}) {
        Observer.UtcOffset = hours / 24.0;
        window.menu_utcClick();
        EXPECT_FALSE(window.UtcMode);
        EXPECT_EQ(window.stxt_time1->text(), "LOC");
        EXPECT_EQ(window.menu_utc->text(), "Set Time to UTC");
        EXPECT_EQ(window.dt_predict_hour1->dateTime(), start.addSecs(static_cast<int>(hours * 3600)));
        EXPECT_EQ(window.dt_predict_date1->date(), window.dt_predict_hour1->date());
        window.menu_utcClick();
        EXPECT_EQ(window.stxt_time2->text(), "UTC");
        EXPECT_EQ(window.menu_utc->text(), "Set Time to LOC");
        EXPECT_EQ(window.dt_predict_hour1->dateTime(), start);
    }
}

TEST_F(PredictionWindowTest, StartDateAfterTheEndCopiesTheStartInstant)
{
    Start();
    window_->menu_linetabular->trigger();
    TfrPredictionWnd &window = *frPredictionWnd;
    window.dt_predict_hour1->setDateTime(QDateTime(QDate(2018, 1, 21), QTime(7, 8, 9), Qt::UTC));
    window.dt_predict_hour2->setDateTime(QDateTime(QDate(2018, 1, 24), QTime(1, 2, 3), Qt::UTC));
    window.dt_predict_date1->setDate(QDate(2018, 1, 22));
    EXPECT_EQ(window.dt_predict_hour2->dateTime(), QDateTime(QDate(2018, 1, 24), QTime(1, 2, 3), Qt::UTC));
    window.dt_predict_date1->setDate(QDate(2018, 1, 30));
    const QDateTime moved(QDate(2018, 1, 30), QTime(7, 8, 9), Qt::UTC);
    EXPECT_EQ(window.dt_predict_hour1->dateTime(), moved);
    EXPECT_EQ(window.dt_predict_hour2->dateTime(), moved);
    EXPECT_EQ(window.dt_predict_date2->date(), QDate(2018, 1, 30));
}

TEST_F(PredictionWindowTest, RunningSearchRefusesStartsAndWorksOnItsSnapshot)
{
    TfrPredictionWnd &window = OpenWithMainSet(200);
    SetFifteenDays(window);
    const PredictionInputs snapshot = window.TakeInputs(TfrPredictionWnd::SearchKind::Passes);
    int chartsOpened = 0;
    window.OpenPassChart = [&] { ++chartsOpened; };
    window.menu_lineClick();
    ASSERT_TRUE(window.Busy);

    // Refused while the search runs.
    EXPECT_FALSE(window.StartSearch(41, SearchLinePasses, TfrPredictionWnd::SearchKind::Passes));
    const tlearray before = window.PredictionList;
    MainList.resize(3);
    window.menu_mainlistClick();
    EXPECT_EQ(window.PredictionList.size(), before.size());
    window.bn_chartwndClick();
    EXPECT_EQ(chartsOpened, 0);
    EXPECT_TRUE(Messages().empty());
    // Changes that must not reach the running search.
    window.menu_noneClick();
    Observer.Latitude = -Observer.Latitude;
    window.ckb_sunlite->setChecked(false);

    ASSERT_TRUE(WaitIdle(window));
    const PredictionResult expected = SearchLinePasses(snapshot);
    std::vector<std::string> shown = window.ResultLines();
    ASSERT_EQ(shown.size(), expected.Lines.size());
    shown[1] = expected.Lines[1]; // when it was produced
    EXPECT_EQ(shown, expected.Lines);
    ASSERT_EQ(window.Passes.size(), expected.Passes.size());
    EXPECT_GT(window.Passes.size(), 100u);
    EXPECT_EQ(window.Passes.back().StartTime, expected.Passes.back().StartTime);
    EXPECT_TRUE(window.bn_chartwnd->isEnabled());
    window.bn_chartwndClick();
    EXPECT_EQ(chartsOpened, 1);
}

// Flares need the Iridium set and light both buttons; a transit search then
// keeps the flares' pass list but leaves "Sky Charts" off; no search starts
// while another runs.
TEST_F(PredictionWindowTest, FlareAndTransitSearchesLeaveTheirButtons)
{
    TfrPredictionWnd &window = OpenWithMainSet(3);
    window.OpenPassChart = [] {};
    window.ShowGoogleEarth = [] {};
    window.dt_predict_hour1->setDateTime(DayCountToDateTime(MakeInstant(2018, 1, 21)));
    window.dt_predict_hour2->setDateTime(DayCountToDateTime(MakeInstant(2018, 1, 24)));
    window.nm_mag->setValue(2);

    window.menu_flareClick();
    EXPECT_FALSE(window.Busy);
    std::vector<ShownMessage> shown = Messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Iridium File missing!, Select \"Iridium File =\" under \"Tools\" on Main Menu.");

    const ShortString<64> savedIridiumFile = Options.IridiumFile;
    Options.IridiumFile.assign((setUpData_ / "tle" / "gpredict.tle").string());
    std::string error;
    const bool built = BuildIridiumFile(&error);
    Options.IridiumFile = savedIridiumFile;
    ASSERT_TRUE(built) << error;
    window.menu_flareClick();
    ASSERT_TRUE(window.Busy);
    EXPECT_EQ(window.IridiumList.size(), 55u);
    EXPECT_FALSE(window.StartSearch(42, SearchIridiumFlares, TfrPredictionWnd::SearchKind::Flares));
    EXPECT_FALSE(window.StartSearch(51, SearchObjectTransits, TfrPredictionWnd::SearchKind::Transits));
    EXPECT_FALSE(window.StartSearch(50, SearchGroundTracks, TfrPredictionWnd::SearchKind::GroundTracks));
    ASSERT_TRUE(WaitIdle(window));

    const PredictionResult expected = SearchIridiumFlares(window.TakeInputs(TfrPredictionWnd::SearchKind::Flares));
    std::vector<std::string> lines = window.ResultLines();
    ASSERT_EQ(lines.size(), expected.Lines.size());
    lines[2] = expected.Lines[2]; // when it was produced
    EXPECT_EQ(lines, expected.Lines);
    ASSERT_EQ(window.Passes.size(), expected.Passes.size());
    ASSERT_FALSE(window.Passes.empty());
    EXPECT_TRUE(window.FlareResult);
    EXPECT_TRUE(window.bn_chartwnd->isEnabled());
    EXPECT_TRUE(window.bn_google->isEnabled());

    window.cb_object->setCurrentIndex(8);
    window.cb_objectChange();
    EXPECT_EQ(window.TransitTarget.BodyId, BodyMoon);
    window.menu_trsClick();
    ASSERT_TRUE(window.Busy);
    EXPECT_FALSE(window.bn_chartwnd->isEnabled());
    ASSERT_TRUE(WaitIdle(window));
    EXPECT_EQ(window.ResultLines().front(), "  Moon Transit");
    EXPECT_EQ(window.Passes.size(), expected.Passes.size());
    EXPECT_FALSE(window.FlareResult);
    EXPECT_FALSE(window.bn_chartwnd->isEnabled());
    EXPECT_FALSE(window.bn_google->isEnabled());
    EXPECT_EQ(Messages().size(), 1u);
}

// A sky point the user did not give leaves the transit object without a
// direction of the user's: neither search on it starts, each says which point
// to choose, and no period check speaks; a body chosen afterwards starts again.
TEST_F(PredictionWindowTest, SkyPointNotChosenRefusesTransitAndTrackSearches)
{
    TfrPredictionWnd &window = OpenWithMainSet(3);
    Hooks().pickSkyPoint = [](const std::string &, const std::string &, double &, double &) { return false; };
    window.dt_predict_hour2->setDateTime(window.dt_predict_hour1->dateTime().addDays(20));
    window.PredictRichText->setPlainText("earlier report");
    window.cb_object->setCurrentIndex(10);
    window.cb_objectChange();
    EXPECT_EQ(window.TransitTarget.BodyId, 12);
    window.menu_trsClick();
    window.menu_trkClick();
    EXPECT_FALSE(window.Busy);
    EXPECT_EQ(window.PredictRichText->toPlainText(), "earlier report");
    const std::vector<ShownMessage> told = Messages();
    ASSERT_EQ(told.size(), 2u);
    for (const ShownMessage &message : told)
        EXPECT_EQ(message.text, "No sky point chosen. Choose \"Ra/Dec\" under \"Transit Object\" and enter its RA "
                                "and DEC.");

    window.cb_object->setCurrentIndex(9);
    window.cb_objectChange();
    window.menu_trsClick();
    EXPECT_FALSE(window.Busy);
    ASSERT_EQ(Messages().size(), 3u); // the span of 20 days is now checked
}

// A search in which no satellite of the working set qualifies ends with why,
// not at its header: GPS and geostationary satellites are below the default
// "Revs >", and unchecked satellites are never searched.
TEST_F(PredictionWindowTest, ASearchWithNoSatelliteToSearchSaysWhy)
{
    Start();
    ElementList elements;
    ASSERT_TRUE(LoadTleTextFile(elements, (setUpData_ / "tle" / "gpredict.tle").string()));
    MainList.clear();
    for (const ElementRecord &element : elements) {
        TleRecord record;
        const std::string name = element.Name.str();
        if ((name.rfind("GPS BIIR-2 ", 0) == 0 || name.rfind("METEOSAT-8", 0) == 0) &&
            LoadSatFromElementRecord(record, element, true, 0.5, 20.0))
            MainList.push_back(record);
    }
    ASSERT_EQ(MainList.size(), 2u);
    window_->menu_linetabular->trigger();
    TfrPredictionWnd &window = *frPredictionWnd;
    window.menu_allClick();
    ASSERT_EQ(window.nm_revs->value(), 13);
    window.menu_lineClick();
    ASSERT_TRUE(WaitIdle(window));
    EXPECT_EQ(window.ResultLines().back(), "  No satellite searched: 2 left out by \"Revs >\" 13.");

    window.menu_noneClick();
    window.menu_trsClick();
    ASSERT_TRUE(WaitIdle(window));
    EXPECT_EQ(window.ResultLines().back(), "  No satellite searched: none is checked.");
}

// The options' unit reaches the open window's track width: its limit and label.
TEST_F(PredictionWindowTest, SavedOptionsSetTheTrackWidthUnit)
{
    TfrPredictionWnd &window = OpenWithMainSet(1);
    window.nm_track->setMaximum(160);
    window.nm_track->setValue(150);
    for (const bool metric : {false, true}) {
        TfrOptionWnd options;
        options.ckb_metric->setChecked(metric);
        options.bn_saveoptionsClick();
        EXPECT_EQ(window.nm_track->maximum(), metric ? 160 : 100);
        EXPECT_EQ(window.lb_track->text(), metric ? "Track(km)" : "Track(mi)");
    }
    EXPECT_EQ(window.nm_track->value(), 100);
}

TEST_F(PredictionWindowTest, ClosingDuringALongSearchEndsPromptly)
{
    TfrPredictionWnd &window = OpenWithMainSet(811);
    SetFifteenDays(window);
    window.ckb_day_night->setChecked(true);
    window.menu_tabularClick();
    ASSERT_TRUE(window.Busy);
    QElapsedTimer clock;
    clock.start();
    Close();
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_EQ(frPredictionWnd, nullptr);
    // A result still on its way finds no window.
    QTest::qWait(100);
}

TEST_F(PredictionWindowTest, SaveWritesTheResultOrSaysWhyNot)
{
    TfrPredictionWnd &window = OpenWithMainSet(3);
    window.menu_lineClick();
    ASSERT_TRUE(WaitIdle(window));
    const std::string path = DataFile("passes.txt");
    Hooks().selectFile = [&](int kind) { return kind == 2 ? path : std::string(); };
    window.menu_saveClick();
    std::string expected;
    for (const std::string &line : window.ResultLines())
        expected += line + "\n";
    EXPECT_EQ(ReadFile(path), expected);

    Hooks().selectFile = [&](int) { return DataFile("no such folder/passes.txt"); };
    window.menu_saveClick();
    const std::vector<ShownMessage> shown = Messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].text.find("no such folder"), std::string::npos) << shown[0].text;
}

} // namespace
