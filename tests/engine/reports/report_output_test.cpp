#include "engine/reports/report_output.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include "engine/runtime/ui_hooks.h"

namespace {

TEST(ReportPages, DialogPagesAreTheSheetsPrinted)
{
    std::vector<std::string> lines;
    for (int i = 1; i <= 56; ++i)
        lines.push_back("line " + std::to_string(i));
    EXPECT_EQ(ReportPageCount(0), 0);
    EXPECT_EQ(ReportPageCount(55), 1);
    EXPECT_EQ(ReportPageCount(lines.size()), 2);
    auto second = ReportPageLines(lines, 2, 2);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(second[0], "line 56");
    EXPECT_EQ(ReportPageLines(lines, 1, 1).size(), 55u);
    EXPECT_EQ(ReportPageLines(lines, 1, 9).size(), 56u);
    EXPECT_TRUE(ReportPageLines(lines, 3, 4).empty());
    EXPECT_TRUE(ReportPageLines(lines, 2, 1).empty());
}

TEST(ReportPages, PrintGoesThroughTheProgramHook)
{
    std::vector<std::string> printed;
    std::string title;
    Hooks().printReport = [&](const std::vector<std::string> &lines, const std::string &job) {
        printed = lines;
        title = job;
    };
    PrintReport({"a", "b"});
    Hooks().printReport = nullptr;
    EXPECT_EQ(printed, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(title, "Print Sidrela");
    EXPECT_NO_THROW(PrintReport({"no program attached"}));
}

TEST(CheckFileExists, ReportsOrRaises)
{
    namespace fs = std::filesystem;
    fs::path folder = fs::temp_directory_path() / ("kyt_check_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    fs::path file = folder / "present.txt";
    std::ofstream(file) << "x";
    EXPECT_TRUE(CheckFileExists(file.string(), true));
    EXPECT_TRUE(CheckFileExists((folder / "PRESENT.TXT").string(), false));
    EXPECT_FALSE(CheckFileExists((folder / "absent.txt").string(), false));
    EXPECT_FALSE(CheckFileExists(folder.string(), false));
    try {
        CheckFileExists("absent.txt", true);
        ADD_FAILURE() << "no error raised";
    } catch (const std::runtime_error &error) {
        EXPECT_STREQ(error.what(), "File: absent.txt not found");
    }
    fs::remove_all(folder);
}

TEST(EstimateDecayDays, GuardsAndScale)
{
    const double perRevDay2 = 3.0300855069346e-6; // rad/min^2 of one revolution a day squared
    EXPECT_NEAR(EstimateDecayDays(0.001 * perRevDay2, 15.5), 116.6666666, 1e-6);
    EXPECT_EQ(EstimateDecayDays(0.0, 15.5), 0.0);
    EXPECT_EQ(EstimateDecayDays(-1e-8, 15.5), 0.0);
    EXPECT_EQ(EstimateDecayDays(1e-8, 16.9), 0.0);
    EXPECT_EQ(EstimateDecayDays(std::nan(""), 15.5), 0.0);
    EXPECT_EQ(EstimateDecayDays(1e-320, 15.5), 0.0);
}

} // namespace
