// The line and tabular pass searches: their report text byte for byte, the
// edge cases of a pass's length and of the window end, a high satellite's
// long pass, and the same output on one thread and on eight.
#include "engine/searches/line_pass_search.h"
#include "engine/searches/tabular_pass_search.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/files/element_files.h"
#include "engine/searches/prediction_test_support.h"

namespace {

using Lines = std::vector<std::string>;

constexpr double Hour = 1.0 / 24.0;

class PassSearchTest : public ::testing::Test {
protected:
    void SetUp() override { LOAD_DEFAULT_EPHEMERIS_OR_SKIP(); }
    void TearDown() override { FreeDEFile(); }

    // The ISS from London on the evening of 2018 January 28, 17h to 1h UTC:
    // two passes that enter the Earth's shadow, three in it, the last after
    // midnight. Local time is UTC + 1 h.
    static PredictionInputs EveningInputs(bool utc)
    {
        PredictionInputs inputs = DefaultInputs(LondonObserver(), 0.0, {Iss});
        inputs.Start = inputs.StartShown = MakeInstant(2018, 1, 28, 17);
        inputs.End = inputs.EndShown = MakeInstant(2018, 1, 29, 1);
        if (!utc) {
            inputs.UtcMode = false;
            inputs.Observer.UtcOffset = inputs.DisplayOffset = Hour;
            inputs.StartShown += Hour;
            inputs.EndShown += Hour;
        }
        return inputs;
    }

    // The report header and the satellite header, as every report of the
    // evening starts.
    static Lines Head(bool utc)
    {
        const std::string tag = utc ? "(Z)" : "(L)";
        return {"   ",
                utc ? "  Produced:  Jan 20 2018 12:00:00(Z) " : "  Produced:  Jan 20 2018 13:00:00(L) ",
                "  Location: London Lat: 51.5074  Lon: -0.1278",
                utc ? "  Start: Jan 28 2018 17:00:00(Z)  Stop: Jan 29 2018 01:00:00(Z)"
                    : "  Start: Jan 28 2018 18:00:00(L)  Stop: Jan 29 2018 02:00:00(L)",
                "  ",
                utc ? "  All Times are \"UTC\"" : "  All Times are \"Local\"",
                "  ",
                "  ----------------------------------------------------------------------",
                "  Satellite: ISS (ZARYA)  -  25544",
                utc ? "  TLE Date: Jan 20 2018 21:33:14(Z) - Jan 20 2018 21:33:14(L)"
                    : "  TLE Date: Jan 20 2018 21:33:14(Z) - Jan 20 2018 22:33:14(L)",
                "  Apoge:  407.5 km  Perige:  402.5 km"};
    }

    static Lines Joined(Lines head, const Lines &tail)
    {
        head.insert(head.end(), tail.begin(), tail.end());
        return head;
    }
};

TEST_F(PassSearchTest, LineReportReadsAsItsFormatsInUtcAndLocalTime)
{
    PredictionInputs inputs = EveningInputs(true);
    inputs.SunlitOnly = false;
    PredictionResult result = SearchLinePasses(inputs);
    EXPECT_EQ(result.Lines, Joined(Head(true), {
        "  ",
        "  MM/DD AOS       Alt Az  Max       Alt Az   Mag  LOS       Alt Az   TT(Sec)  Enter Shd/Slt",
        "  01/28 17:45:30  10 181  17:47:33  16 141   7.9  17:49:38  10 102  00:04:08   Shd 17:49:13",
        "  01/28 19:20:20  10 239  19:23:32  56 160        19:26:46  10  81  00:06:26   Shd 19:21:53",
        "  01/28 20:56:42  10 270  20:59:58  85 360        21:03:16  10  89  00:06:34         Shadow",
        "  01/28 22:33:12  10 279  22:36:24  57 200        22:39:38  10 120  00:06:26         Shadow",
        " ",
        "  01/29 00:10:17  10 259  00:12:24  16 218        00:14:33  10 177  00:04:16         Shadow"}));
    ASSERT_EQ(result.Passes.size(), 5u);
    const PassRecord &first = result.Passes[0];
    EXPECT_EQ(first.Title.str(), "ISS (ZARYA) - 25544");
    EXPECT_EQ(FormatInstant("HH:nn:ss", first.StartTime), "17:45:30");
    EXPECT_EQ(FormatInstant("HH:nn:ss", first.EndTime), "17:49:38");
    EXPECT_NEAR(first.Elevation, 15.749, 0.001);
    EXPECT_NEAR(first.Magnitude.value_or(0), 7.950, 0.001);
    EXPECT_FALSE(result.Passes[1].Magnitude) << "at its culmination the satellite is in shadow";
    EXPECT_EQ(first.Satellite->Elements.catnum, 25544);

    // Local time, sunlit parts only: the first pass ends at its last sunlit
    // second; the second culminates in shadow, so its "Max" is its last
    // sunlit second; the passes in the shadow are left out.
    inputs = EveningInputs(false);
    result = SearchLinePasses(inputs);
    EXPECT_EQ(result.Lines, Joined(Head(false), {
        "  ",
        "  MM/DD AOS       Alt Az  Max       Alt Az   Mag  LOS       Alt Az   TT(Sec)",
        "  01/28 18:45:30  10 181  18:47:33  16 141   7.9  18:49:13  12 108  00:03:43",
        "  01/28 20:20:20  10 239  20:21:53  25 229   8.3  20:21:53  25 229  00:01:33"}));
    ASSERT_EQ(result.Passes.size(), 2u);
    EXPECT_EQ(FormatInstant("HH:nn:ss", result.Passes[1].EndTime), "19:21:53");
}

TEST_F(PassSearchTest, TabularReportReadsAsItsFormats)
{
    PredictionInputs inputs = EveningInputs(true);
    inputs.SunlitOnly = false;
    inputs.End = MakeInstant(2018, 1, 28, 20);
    PredictionResult result = SearchTabularPasses(inputs);
    EXPECT_EQ(result.Lines, Joined(Head(true), {
        "  ",
        "  Rev# : 9682        ",
        "  MM/DD Time      Alt  Az   Mag    Slt",
        "  01/28 17:45:30  10  181   9.1     Y",
        "  01/28 17:46:30  14  164   8.4     Y",
        "  01/28 17:47:30  16  143   8.0     Y",
        "  01/28 17:48:30  14  121   7.9     Y",
        "  01/28 17:49:30  10  104           N",
        "  01/28 17:49:37  10  102           N",
        "  ",
        "  Rev# : 9683        ",
        "  MM/DD Time      Alt  Az   Mag    Slt",
        "  01/28 19:20:20  10  239  10.1     Y",
        "  01/28 19:21:20  18  234   9.0     Y",
        "  01/28 19:22:20  33  223           N",
        "  01/28 19:23:20  55  178           N",
        "  01/28 19:24:20  41  107           N",
        "  01/28 19:25:20  23   89           N",
        "  01/28 19:26:20  13   83           N",
        "  01/28 19:26:45  10   81           N"}));
    ASSERT_EQ(result.Passes.size(), 2u);
    // The brightest sunlit and the highest row, not the middle.
    EXPECT_NEAR(result.Passes[0].Magnitude.value_or(0), 7.875, 0.001);
    EXPECT_NEAR(result.Passes[1].Elevation, 54.662, 0.001);

    // Sunlit parts only, in local time: rows up to the last sunlit second,
    // no column of sunlight, and no block for the passes in the shadow.
    inputs = EveningInputs(false);
    result = SearchTabularPasses(inputs);
    EXPECT_EQ(result.Lines, Joined(Head(false), {
        "  ",
        "  Rev# : 9682        ",
        "  MM/DD Time      Alt  Az   Mag",
        "  01/28 18:45:30  10  181   9.1",
        "  01/28 18:46:30  14  164   8.4",
        "  01/28 18:47:30  16  143   8.0",
        "  01/28 18:48:30  14  121   7.9",
        "  01/28 18:49:13  12  108   8.0",
        "  ",
        "  Rev# : 9683        ",
        "  MM/DD Time      Alt  Az   Mag",
        "  01/28 20:20:20  10  239  10.1",
        "  01/28 20:21:20  18  234   9.0",
        "  01/28 20:21:53  25  229   8.3"}));
    EXPECT_EQ(result.Passes.size(), 2u);
}

TEST_F(PassSearchTest, PassOfOneSecondIsLeftOutAndWindowEndCutsPasses)
{
    // The 17:45:30 pass cut by the end of the span one and two seconds on.
    PredictionInputs inputs = EveningInputs(true);
    inputs.SunlitOnly = false;
    inputs.DayOrNight = true;
    inputs.Start = MakeInstant(2018, 1, 28, 17, 40);
    inputs.End = MakeInstant(2018, 1, 28, 17, 45, 31);
    // A satellite without a pass has no header; a report that searched
    // satellites and found no pass says so.
    PredictionResult result = SearchLinePasses(inputs);
    EXPECT_TRUE(result.Passes.empty());
    ASSERT_EQ(result.Lines.size(), 8u);
    EXPECT_EQ(result.Lines.back(), "  No passes found.");
    // So does a table ending before the rise; a search that had no satellite
    // to search is left to its caller.
    PredictionInputs beforeRise = inputs;
    beforeRise.End = MakeInstant(2018, 1, 28, 17, 45);
    result = SearchTabularPasses(beforeRise);
    EXPECT_TRUE(result.Passes.empty());
    ASSERT_EQ(result.Lines.size(), 8u);
    EXPECT_EQ(result.Lines.back(), "  No passes found.");
    beforeRise.Satellites.clear();
    EXPECT_EQ(SearchLinePasses(beforeRise).Lines.size(), 7u);
    EXPECT_EQ(SearchTabularPasses(beforeRise).Lines.size(), 7u);

    inputs.End = MakeInstant(2018, 1, 28, 17, 45, 32);
    result = SearchLinePasses(inputs);
    ASSERT_EQ(result.Passes.size(), 1u);
    EXPECT_EQ(result.Lines.back(),
              "  01/28 17:45:30  10 181  17:45:32  10 180   9.1  17:45:32  10 180  00:00:02        SunLite");

    // A table's last row is the last second up before the step that passed
    // the end, which may lie after the end.
    inputs.End = MakeInstant(2018, 1, 28, 17, 48);
    result = SearchTabularPasses(inputs);
    ASSERT_EQ(result.Passes.size(), 1u);
    EXPECT_EQ(result.Lines.back(), "  01/28 17:48:29  14  121   7.9     Y");
    EXPECT_GT(result.Passes[0].EndTime, inputs.End);
}

TEST_F(PassSearchTest, PassesRunFromTheirRiseToTheirSetWhateverTheOrbit)
{
    // A pass is neither found again from inside itself (a satellite always
    // up gives one pass) nor does the search go on past the next rise: after
    // a pass cut by the span's start, MOLNIYA 2-14 rises again 3.2 h later
    // and the GPS satellite 3.8 h later, both well within 0.75 of their 12 h
    // period. FLOCK 2E-2, four days on, has dropped some 150 km: its sets are
    // not overshot. Rises and sets from skyfield (tools/pass_peer_values.py),
    // seconds after SpanStart. A pass of a day or more shows the dates of its
    // culmination and set.
    struct Case {
        ElementLines satellite;
        ObserverRecord observer;
        double firstDay, days, minElevation;
        std::vector<std::pair<double, double>> passes;
        std::string lastLine = {}; // the line search's, when checked
    };
    const Case cases[] = {
        {Meteosat8, LondonObserver(), 0.0, 3.0, 10.0, {{0.0, 259200.0}},
         "  01/21 00:00:00  24 128 01/23 22:45:48  24 128  15.3 01/24 00:00:00  24 129  72:00:00        SunLite"},
        {Molniya214, LondonObserver(), 0.0, 1.0, 10.0, {{0.0, 2985.96}, {11676.31, 46472.71}, {55826.43, 86400.0}}},
        {Gps, SydneyObserver(), 0.0, 2.0, 0.0,
         {{0.0, 1298.64}, {13573.93, 29091.53}, {67463.20, 87452.26}, {99728.40, 115244.99}, {153616.62, 172800.0}}},
        {FlockE2, LondonObserver(), 4.0, 1.0, 10.0,
         {{404329.13, 404404.09}, {409665.99, 409753.69}, {415016.89, 415076.14}}},
    };
    for (const Case &c : cases) {
        PredictionInputs inputs = DefaultInputs(c.observer, c.days, {c.satellite});
        inputs.Start += c.firstDay;
        inputs.End += c.firstDay;
        inputs.MinRevs = 1;
        inputs.MinElevation = DegToRad(c.minElevation);
        inputs.DayOrNight = true;
        inputs.SunlitOnly = false;
        for (auto search : {&SearchLinePasses, &SearchTabularPasses}) {
            SCOPED_TRACE(std::string(c.satellite.name) + (search == &SearchLinePasses ? " line" : " table"));
            const PredictionResult result = search(inputs, {});
            if (search == &SearchLinePasses && !c.lastLine.empty()) {
                EXPECT_EQ(result.Lines.back(), c.lastLine);
            }
            ASSERT_EQ(result.Passes.size(), c.passes.size());
            for (std::size_t i = 0; i < c.passes.size(); ++i) {
                const PassRecord &pass = result.Passes[i];
                EXPECT_NEAR((pass.StartTime - SpanStart()) * 86400.0, c.passes[i].first, 2.0) << i;
                // A table's last row may lie past the end of the span.
                if (search == &SearchLinePasses || pass.EndTime < inputs.End) {
                    EXPECT_NEAR((pass.EndTime - SpanStart()) * 86400.0, c.passes[i].second, 2.0) << i;
                }
            }
        }
    }
}

TEST(SearchFrame, CandidatesAreSelectedWithMeanMotionStrictlyBetweenTheBounds)
{
    TleRecord record;
    record.Selected = 1;
    for (const auto &[meanMotion, searched] :
         {std::pair{13.0, false}, {13.0001, true}, {19.9999, true}, {20.0, false}}) {
        record.MeanMotion = meanMotion;
        EXPECT_EQ(IsPassSearchCandidate(record, 13), searched) << meanMotion;
    }
    record.MeanMotion = 15.0;
    record.Selected = 0;
    EXPECT_FALSE(IsPassSearchCandidate(record, 13));
}

TEST_F(PassSearchTest, OneThreadAndEightGiveTheSameResult)
{
    // The benchmark's search over three days instead of fifteen.
    ElementList elements;
    ASSERT_TRUE(LoadTleTextFile(elements, SetUpDataFolder() + "/tle/gpredict.tle"));
    PredictionInputs inputs = DefaultInputs(LondonObserver(), 3.0, {});
    for (const ElementRecord &element : elements) {
        TleRecord record;
        if (LoadSatFromElementRecord(record, element, true, inputs.MinRevs, 20.0)) {
            record.Selected = 1;
            inputs.Satellites.push_back(record);
        }
    }
    ASSERT_EQ(inputs.Satellites.size(), 811u);
    SearchControl control;
    control.Threads = 1;
    const PredictionResult one = SearchLinePasses(inputs, control);
    control.Threads = 8;
    const PredictionResult eight = SearchLinePasses(inputs, control);
    EXPECT_GT(one.Passes.size(), 1000u);
    EXPECT_EQ(one.Lines, eight.Lines);
    ASSERT_EQ(one.Passes.size(), eight.Passes.size());
    for (std::size_t i = 0; i < one.Passes.size(); ++i) {
        const PassRecord &a = one.Passes[i], &b = eight.Passes[i];
        EXPECT_TRUE(a.Title.str() == b.Title.str() && a.StartTime == b.StartTime && a.EndTime == b.EndTime
                    && a.Magnitude == b.Magnitude && a.Elevation == b.Elevation
                    && std::memcmp(a.Satellite.get(), b.Satellite.get(), sizeof(TleRecord)) == 0)
            << "pass " << i;
    }
}

} // namespace
