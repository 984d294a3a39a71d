// The update of satellite sets from the ".tle" files of the update folder,
// and the hand-over of an updated copy to the main set.
#include "engine/satellites/main_list_update.h"

#include "engine/runtime/program_state.h"
#include "engine/runtime/ui_hooks.h"
#include "engine/satellite_test_support.h"
#include "engine/program_folder_fixture.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

// The ISS line 1 with another epoch ("yyddd.dddddddd").
std::string IssLine1At(const std::string &epoch) { return WithField(IssLine1, 19, epoch); }

std::string TextSet(const std::string &line1, const std::string &line2, const std::string &name = "ISS (ZARYA)")
{
    return name + "\n" + line1 + "\n" + line2 + "\n";
}

double EpochOf(const std::string &line1, const std::string &line2)
{
    return MakeSatellite(line1, line2).Elements.epoch;
}

// The computer's clock as a Julian date.
double JulianDateNow()
{
    using namespace std::chrono;
    return 2440587.5 + duration<double, std::ratio<86400>>(system_clock::now().time_since_epoch()).count();
}

// The epoch field ("yyddd.dddddddd") of the instant days before the computer's clock.
std::string EpochDaysAgo(double days)
{
    using namespace std::chrono;
    const auto instant = system_clock::now() - duration_cast<system_clock::duration>(duration<double, std::ratio<86400>>(days));
    const auto day = floor<std::chrono::days>(instant);
    const year_month_day date(day);
    const double dayOfYear = (day - sys_days(date.year() / January / 1)).count() + 1
                             + duration<double, std::ratio<86400>>(instant - day).count();
    char field[16];
    std::snprintf(field, sizeof field, "%02d%012.8f", static_cast<int>(date.year()) % 100, dayOfYear);
    return field;
}

// The published deep-space set 08195 (half-day resonance).
const std::string DeepLine1 = "1 08195U 75081A   06176.33215444  .00000099  00000-0  11873-3 0   813";
const std::string DeepLine2 = "2 08195  64.1586 279.0717 6877146 264.7651  20.2257  2.00491383225656";

// python3-sgp4 2.15 (2006 revision, "wgs72", AFSPC mode) for DeepLine1/2,
// from tools/sgp4_reference.py: minutes after epoch, position in km.
struct ReferencePosition {
    double minutes;
    double x, y, z;
};
const ReferencePosition DeepReference[] = {
    {0.0, 2349.894834, -14785.938116, 0.021194},
    {720.0, 2622.132222, -15125.154649, 474.510484},
};

class MainListUpdateTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        folder_ = (root_ / "tle").string() + "/";
    }

    void TearDown() override
    {
        MainList.clear();
        Hooks().showMessage = nullptr;
        Hooks().refreshDisplay = nullptr;
        ProgramFolderTest::TearDown();
    }

    void WriteTle(const std::string &name, const std::string &text) { WriteFile(folder_ + name, text); }

    static TleRecord Iss(const std::string &epoch = "08264.51782528")
    {
        TleRecord record = MakeSatellite(IssLine1At(epoch), IssLine2);
        record.Name.assign("ISS");
        record.Number.assign("25544");
        record.StdMagnitude = -1.5;
        record.Selected = 1;
        return record;
    }

    std::string folder_;
};

TEST_F(MainListUpdateTest, OnlyTleFilesAreReadInNameOrder)
{
    WriteTle("newer.txt", TextSet(IssLine1At("08300.00000000"), IssLine2));
    WriteTle("newer.tle.bak", TextSet(IssLine1At("08300.00000000"), IssLine2));
    std::filesystem::create_directory(folder_ + "folder.tle");
    tlearray set{Iss()};
    const TleRecord before = set[0];
    EXPECT_FALSE(UpdateElementsFromTleFiles(set, folder_));
    EXPECT_EQ(set[0].Elements.epoch, before.Elements.epoch);

    WriteTle("b.TLE", "");
    WriteTle("a.tle", "");
    std::vector<std::string> files{"kept"};
    EXPECT_TRUE(ListTleFiles(folder_, files));
    EXPECT_EQ(files, (std::vector<std::string>{"kept", "a.tle", "b.TLE"}));
}

TEST_F(MainListUpdateTest, FirstLaterSetOfAFileAndTheLatestAcrossFilesWin)
{
    const auto cwd = std::filesystem::current_path();
    // Listed a, b, c: a's set is taken, then the first later one of b (not
    // its still later second), and c's is older than that.
    WriteTle("a.tle", TextSet(IssLine1At("08265.00000000"), IssLine2));
    WriteTle("b.tle", TextSet(IssLine1At("08264.51782528"), IssLine2) + TextSet(IssLine1At("08267.00000000"), IssLine2)
                          + TextSet(IssLine1At("08268.00000000"), IssLine2));
    WriteTle("c.tle", TextSet(IssLine1At("08266.00000000"), IssLine2));
    tlearray set{Iss(), Iss("08270.00000000")};
    set[1].Number.assign("25545");
    const TleRecord untouched = set[1];
    ASSERT_TRUE(UpdateElementsFromTleFiles(set, folder_));
    EXPECT_EQ(set[0].Elements.epoch, EpochOf(IssLine1At("08267.00000000"), IssLine2));
    EXPECT_EQ(set[0].Name.str(), "ISS");
    EXPECT_EQ(set[0].StdMagnitude, -1.5);
    EXPECT_EQ(set[0].Selected, 1);
    EXPECT_EQ(std::memcmp(&set[1], &untouched, sizeof(TleRecord)), 0);
    // The files are opened by full path; the process's folder stays.
    EXPECT_EQ(std::filesystem::current_path(), cwd);
    // Again: b's last set is later still; then the same epochs do not replace.
    EXPECT_TRUE(UpdateElementsFromTleFiles(set, folder_));
    EXPECT_EQ(set[0].Elements.epoch, EpochOf(IssLine1At("08268.00000000"), IssLine2));
    EXPECT_FALSE(UpdateElementsFromTleFiles(set, folder_));
}

TEST_F(MainListUpdateTest, AnUnchangedSetNeverReplacesItself)
{
    // An epoch whose day count of the year, summed otherwise than the
    // library does, comes out one bit later.
    const std::string line1 = IssLine1At("20050.75785105");
    WriteTle("same.tle", TextSet(line1, IssLine2));
    tlearray set{MakeSatellite(line1, IssLine2)};
    set[0].Number.assign("25544");
    EXPECT_FALSE(UpdateElementsFromTleFiles(set, folder_));
}

TEST_F(MainListUpdateTest, LineShapesYearsAndUnreadableEpochs)
{
    tlearray set{Iss("99001.00000000")};
    // 68 characters, no checksum digit: not considered.
    WriteTle("short.tle", TextSet(IssLine1At("00300.00000000").substr(0, 68), IssLine2.substr(0, 68)));
    // "57" is 1957, older than 1999.
    WriteTle("t1957.tle", TextSet(IssLine1At("57001.00000000"), IssLine2));
    EXPECT_FALSE(UpdateElementsFromTleFiles(set, folder_));

    // A year that does not read is passed over, and the search goes on to
    // the next set of the file; CR LF line ends read as any other.
    std::string text = TextSet(IssLine1At("XX001.00000000"), IssLine2) + TextSet(IssLine1At("00001.00000000"), IssLine2);
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2))
        text.insert(at, "\r");
    WriteTle("t2000.tle", text);
    ASSERT_TRUE(UpdateElementsFromTleFiles(set, folder_));
    EXPECT_EQ(set[0].Elements.epoch, EpochOf(IssLine1At("00001.00000000"), IssLine2)); // 2000
}

TEST_F(MainListUpdateTest, SetsFromTheFutureAreNeverTakenAndFreeARecordOneHeld)
{
    // "56" is 2056: later than every honest set to come, so left out and counted.
    WriteTle("future.tle", TextSet(IssLine1At("56001.00000000"), IssLine2));
    tlearray set{Iss()};
    int future = 0;
    EXPECT_FALSE(UpdateElementsFromTleFiles(set, folder_, &future));
    EXPECT_EQ(future, 1);
    EXPECT_EQ(set[0].Elements.epoch, Iss().Elements.epoch);

    // A record that holds such a set from before takes an honest one.
    WriteTle("honest.tle", TextSet(IssLine1At("08300.00000000"), IssLine2));
    set = {Iss("56001.00000000")};
    ASSERT_TRUE(UpdateElementsFromTleFiles(set, folder_, &future));
    EXPECT_EQ(set[0].Elements.epoch, EpochOf(IssLine1At("08300.00000000"), IssLine2));
    MainList = {Iss("56001.00000000")};
    const UserMessage told = ApplyUpdatedMainList(set, future);
    EXPECT_EQ(MainList[0].Elements.epoch, set[0].Elements.epoch);
    EXPECT_EQ(told.text.rfind("Satellites Updated Successfully\n\n1 element set(s) dated more than 3 days after this "
                              "computer's clock were not taken. Check the computer's date and time, or where those "
                              "files came from.\n\n",
                              0),
              0u)
        << told.text;
}

TEST_F(MainListUpdateTest, ANumberIsNeverFoundInsideAnother)
{
    WriteTle("iss.tle", TextSet(IssLine1At("08300.00000000"), IssLine2));
    tlearray set{Iss(), Iss()};
    set[0].Number.assign("5");
    set[1].Number.assign("544");
    EXPECT_FALSE(UpdateElementsFromTleFiles(set, folder_));
    set[1].Number.assign("25544");
    EXPECT_TRUE(UpdateElementsFromTleFiles(set, folder_));
    EXPECT_EQ(set[0].Elements.epoch, Iss().Elements.epoch);
}

TEST_F(MainListUpdateTest, NewerDeepSpaceSetSwitchesTheModelAndPropagates)
{
    // An older near-earth set of the same number.
    const std::string oldLine2 = WithField(WithField(DeepLine2, 27, "0001000"), 53, "15.50000000");
    tlearray set{MakeSatellite(WithField(DeepLine1, 19, "06170.33215444"), oldLine2)};
    set[0].Number.assign("08195");
    ASSERT_EQ(set[0].DeepSpace, 0);
    WriteTle("deep.tle", TextSet(DeepLine1, DeepLine2, "MOLNIYA"));
    ASSERT_TRUE(UpdateElementsFromTleFiles(set, folder_));
    ASSERT_EQ(set[0].DeepSpace, 1);
    for (const ReferencePosition &reference : DeepReference) {
        Vec4 position;
        ASSERT_EQ(SDP4(reference.minutes, &set[0].Elements, &set[0].Params.Sdp4, &position, nullptr), 0);
        const double metres = 1000.0 * std::hypot(position.x - reference.x, position.y - reference.y,
                                                  position.z - reference.z);
        EXPECT_LT(metres, 1.0) << reference.minutes;
    }
}

TEST_F(MainListUpdateTest, NewElementsReachTheMainRecordsThatStillHoldTheirNumbers)
{
    int refreshes = 0;
    Hooks().refreshDisplay = [&] { ++refreshes; };

    tlearray copy{Iss()};
    WriteTle("iss.tle", TextSet(IssLine1At("08300.00000000"), IssLine2));
    ASSERT_TRUE(UpdateElementsFromTleFiles(copy, folder_));
    // Meanwhile the user chose another set that still holds the ISS.
    TleRecord other = Iss("08310.00000000");
    other.Number.assign("11111");
    MainList = {other, Iss()};
    MainList[1].Name.assign("RENAMED");
    MainList[1].Selected = 0;

    std::vector<UserMessage> told{ApplyUpdatedMainList(copy)};
    EXPECT_EQ(MainList[0].Elements.epoch, Iss("08310.00000000").Elements.epoch);
    EXPECT_EQ(MainList[1].Elements.epoch, copy[0].Elements.epoch);
    EXPECT_EQ(std::memcmp(&MainList[1].Params, &copy[0].Params, sizeof(PropagatorWorkArea)), 0);
    EXPECT_EQ(MainList[1].Name.str(), "RENAMED");
    EXPECT_EQ(MainList[1].Selected, 0);
    EXPECT_EQ(refreshes, 1);

    // Elements older than the main set's own are never taken back.
    told.push_back(ApplyUpdatedMainList({Iss()}));
    EXPECT_EQ(MainList[1].Elements.epoch, copy[0].Elements.epoch);
    EXPECT_EQ(refreshes, 1);

    // Elements years old are no current ones: the message says how old the
    // newest is (MainList[0], day 310 of 2008) and how to get new ones.
    const double daysOld = JulianDateNow() - MainList[0].Elements.epoch;
    const std::string note = " days old: positions and passes from it are far off. Get current sets with \"Internet "
                             "File Download...\" (Tools menu), or copy current \".tle\" files into the satellite "
                             "download folder, then choose \"Update Main List\" again.";
    const std::string headlines[] = {"Satellites Updated Successfully", "Satellites are Current"};
    for (int i : {0, 1}) {
        SCOPED_TRACE(headlines[i]);
        EXPECT_EQ(told[i].caption, "Information");
        const std::string lead = headlines[i] + "\n\nThe newest element set is ";
        ASSERT_EQ(told[i].text.rfind(lead, 0), 0u) << told[i].text;
        std::size_t digits = 0;
        const int days = std::stoi(told[i].text.substr(lead.size()), &digits);
        EXPECT_NEAR(days, daysOld, 1.0);
        EXPECT_EQ(told[i].text.substr(lead.size() + digits), note);
    }
    // A month is the limit.
    MainList = {Iss(EpochDaysAgo(29.5)), other};
    EXPECT_EQ(ApplyUpdatedMainList({}).text, "Satellites are Current");
    MainList = {Iss(EpochDaysAgo(30.5)), other};
    EXPECT_EQ(ApplyUpdatedMainList({}).text, "Satellites are Current\n\nThe newest element set is 30" + note);
}

} // namespace
