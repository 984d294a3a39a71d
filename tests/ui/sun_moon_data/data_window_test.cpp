// The data window offscreen: the Sun table it shows when it opens.
#include "ui/sun_moon_data/data_window.h"

#include "ui/tool_window_fixture.h"

#include "engine/astronomy/constants.h"
#include "engine/reports/sun_moon_tables.h"

#include <QPlainTextEdit>

namespace {

class DataWindowTest : public ToolWindowTest {};

TEST_F(DataWindowTest, OpensOnTheSunTableOfTheChosenLocalDays)
{
    if (!LoadEphemeris())
        GTEST_SKIP() << "no set-up ephemeris";
    CurrentTime = 45366.9; // 2024-03-15 21:36 UTC: already the 16th in Sydney
    Options.UtcTime = 0;
    Options.HighPrecision = 1;
    Observer.Latitude = DegToRad(-33.8688);
    Observer.Longitude = DegToRad(151.2093);
    Observer.UtcOffset = 11.0 / 24.0;
    MainView.HorizonAltitude = DegToRad(-0.57);

    TfrDataWnd window;
    RiseSetTableInputs expected;
    expected.Title = "  Sun Rise/Set ";
    expected.Threshold = DegToRad(-0.57 - 0.26);
    expected.Date = 45367.0;
    expected.UtcMode = false;
    expected.WithSeconds = true;
    expected.Observer = Observer;
    QStringList lines;
    for (const std::string &line : BuildRiseSetTable(expected))
        lines.append(QString::fromStdString(line));
    EXPECT_EQ(window.windowTitle(), "  Sun Rise/Set ");
    EXPECT_EQ(window.PlanetMemo->toPlainText(), lines.join('\n'));
    EXPECT_TRUE(window.PlanetMemo->toPlainText().contains("  03/16/2024  "));
}

} // namespace
