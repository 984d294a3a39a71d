// The analysis window offscreen: its defaults, the time mode, the linked
// mean-motion limits, and a listing refused while a file load runs.
#include "ui/analysis/analysis_window.h"

#include "ui/tool_window_fixture.h"
#include "ui/main_window/day_count.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

#include <fstream>
#include <memory>

namespace {

const double Instant = 43121.8125; // 2018-01-21 19:30 UTC

class AnalysisWindowTest : public ToolWindowTest {
protected:
    void SetUp() override
    {
        ToolWindowTest::SetUp();
        CurrentTime = Instant;
        Options.UtcTime = 1;
        Observer.UtcOffset = 2.0 / 24.0;
    }

    void WaitUntilFree(TfrAnalysisWnd &window)
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !window.Busy(); }, 30000));
    }
};

TEST_F(AnalysisWindowTest, StartsWithItsDefaultsAndTellsOfAMissingNamesFile)
{
    TfrAnalysisWnd window;
    EXPECT_EQ(window.windowTitle(), "Satellite Analysis");
    EXPECT_EQ(window.nm_minrevs->value(), 14);
    EXPECT_EQ(window.nm_maxrevs->value(), 18);
    EXPECT_EQ(window.nm_maxrevs->minimum(), 14);
    EXPECT_EQ(window.nm_minaz->value(), 0);
    EXPECT_EQ(window.nm_maxaz->value(), 360);
    EXPECT_EQ(window.nm_minalt->value(), 10);
    EXPECT_EQ(window.nm_maxAlt->value(), 90);
    EXPECT_EQ(window.nm_st_min->value(), 60);
    EXPECT_EQ(window.nm_sep->value(), 30);
    EXPECT_EQ(window.nm_Obj->value(), 10);
    EXPECT_EQ(window.cb_object->currentText(), "Sun");
    EXPECT_EQ(window.AnalysisTarget().BodyId, BodySun);
    EXPECT_EQ(window.AnalysisTargetName(), "Sun");
    EXPECT_FALSE(window.ckb_daynight->isChecked());
    EXPECT_EQ(window.stxt_time->text(), "UTC");
    EXPECT_EQ(window.menu_utc->text(), "Set Time to LOC");
    EXPECT_DOUBLE_EQ(window.GetAnalysisTime(), Instant);
    EXPECT_FALSE(window.Busy());
    EXPECT_TRUE(window.AnalysisElements()->empty());
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].rfind("File: ", 0), 0u) << Messages()[0];
}

TEST_F(AnalysisWindowTest, LocalTimeAndBackKeepTheInstant)
{
    TfrAnalysisWnd window;
    window.menu_utcClick();
    EXPECT_EQ(window.stxt_time->text(), "LOC");
    EXPECT_EQ(window.menu_utc->text(), "Set Time to UTC");
    EXPECT_EQ(window.dt_an_hour->dateTime(), DayCountToDateTime(Instant + 2.0 / 24.0));
    EXPECT_DOUBLE_EQ(window.GetAnalysisTime(), Instant);
    window.menu_utcClick();
    EXPECT_EQ(window.stxt_time->text(), "UTC");
    EXPECT_EQ(window.menu_utc->text(), "Set Time to LOC");
    EXPECT_EQ(window.dt_an_hour->dateTime(), DayCountToDateTime(Instant));

    Options.UtcTime = 0;
    TfrAnalysisWnd local;
    EXPECT_EQ(local.stxt_time->text(), "LOC");
    EXPECT_DOUBLE_EQ(local.GetAnalysisTime(), Instant);
}

// A sky point the user did not give is asked for again when "Ra/Dec" is
// picked again, though the box already shows it; until then "Transit" says
// which point to choose.
TEST_F(AnalysisWindowTest, PickingRaDecAgainAsksForThePointAgain)
{
    int asked = 0;
    Hooks().pickSkyPoint = [&asked](const std::string &, const std::string &, double &, double &) {
        ++asked;
        return false;
    };
    TfrAnalysisWnd window;
    for (int pick = 0; pick < 2; ++pick) {
        window.cb_object->setCurrentIndex(10);
        emit window.cb_object->activated(10);
    }
    Hooks().pickSkyPoint = nullptr;
    EXPECT_EQ(asked, 2);
    window.menu_transitClick();
    EXPECT_FALSE(window.Busy());
    EXPECT_EQ(Messages().back(), "Satellite Analysis: No sky point chosen. Choose \"Ra/Dec\" under \"Transit "
                                 "Object\" and enter its RA and DEC.");
}

TEST_F(AnalysisWindowTest, LowerMeanMotionLimitPushesTheUpperOne)
{
    TfrAnalysisWnd window;
    window.nm_minrevs->setValue(18);
    EXPECT_EQ(window.nm_maxrevs->value(), 19);
    EXPECT_EQ(window.nm_maxrevs->minimum(), 19);
    window.nm_minrevs->setValue(12);
    EXPECT_EQ(window.nm_maxrevs->value(), 19);
    EXPECT_EQ(window.nm_maxrevs->minimum(), 13);
}

TEST_F(AnalysisWindowTest, ListingStartedDuringAFileLoadDoesNothing)
{
    const std::string path = (root_ / "sets.tle").string();
    std::ofstream(path) << "ISS (ZARYA)\n"
                           "1 25544U 98067A   18020.89808844  .00002078  00000-0  38550-4 0  9992\n"
                           "2 25544  51.6424  32.9776 0003646  28.7227  39.5332 15.54190080 95614\n";
    TfrAnalysisWnd window;
    window.analysisrichtext->setPlainText("earlier report");
    window.LoadElementFile(path);
    ASSERT_TRUE(window.Busy());
    window.menu_decayClick();
    EXPECT_EQ(window.analysisrichtext->toPlainText(), "earlier report");
    WaitUntilFree(window);
    EXPECT_EQ(window.AnalysisElements()->size(), 1u);

    window.menu_decayClick();
    WaitUntilFree(window);
    EXPECT_TRUE(window.analysisrichtext->toPlainText().contains("  Produced:  "));
    EXPECT_FALSE(window.analysisrichtext->toPlainText().contains("earlier report"));

    std::ofstream(path, std::ios::trunc) << "no element sets\n";
    window.LoadElementFile(path);
    WaitUntilFree(window);
    EXPECT_TRUE(window.AnalysisElements()->empty());
    EXPECT_EQ(Messages().back(), "File: Failed to Find Satellite Elements in Selected File");
}

} // namespace
