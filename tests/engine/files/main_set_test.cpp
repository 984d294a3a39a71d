#include "engine/files/main_set.h"

#include "engine/files/element_files.h"
#include "engine/program_folder_fixture.h"
#include "engine/random_bytes.h"
#include "engine/satellite_test_support.h"

#include <gtest/gtest.h>

namespace {

TleRecord Satellite(const std::string &name)
{
    TleRecord record = MakeSatellite(IssLine1, IssLine2);
    record.Name.assign(name);
    record.Number.assign("25544");
    record.Selected = 1;
    return record;
}

class MainSetTest : public ProgramFolderTest {
protected:
    std::string path() const { return DataDir + "MainSat.bin"; }
};

} // namespace

TEST_F(MainSetTest, SetReadWholeOrMissingIsSavedAsBefore)
{
    MainSetReading reading = ReadMainSetFile();
    EXPECT_TRUE(reading.whole);
    EXPECT_TRUE(reading.records.empty());
    EXPECT_TRUE(reading.problem.empty());

    ASSERT_TRUE(SaveSatFile({Satellite("ONE"), Satellite("TWO")}, path()));
    reading = ReadMainSetFile();
    EXPECT_TRUE(reading.whole);
    EXPECT_TRUE(reading.problem.empty());
    ASSERT_EQ(reading.records.size(), 2u);
    EXPECT_EQ(reading.records[1].Name.str(), "TWO");
}

TEST_F(MainSetTest, DamagedOrUnreadableFileIsNamedAndNotWhole)
{
    // Shorter than one record.
    WriteFile(path(), std::string(100, 'x'));
    MainSetReading reading = ReadMainSetFile();
    EXPECT_FALSE(reading.whole);
    EXPECT_TRUE(reading.records.empty());
    EXPECT_NE(reading.problem.find("MainSat.bin\" is damaged: 100 bytes is not a whole number of records"),
              std::string::npos)
        << reading.problem;

    // Records of random bytes among real ones: the real ones stay.
    std::string bytes;
    AppendRecordBytes(bytes, Satellite("REAL"));
    bytes += RandomBytes(3 * sizeof(TleRecord), 7);
    AppendRecordBytes(bytes, Satellite("ALSO REAL"));
    WriteFile(path(), bytes);
    reading = ReadMainSetFile();
    EXPECT_FALSE(reading.whole);
    ASSERT_EQ(reading.records.size(), 2u);
    EXPECT_EQ(reading.records[1].Name.str(), "ALSO REAL");
    EXPECT_NE(reading.problem.find("3 records of 5 held no satellite and were dropped"), std::string::npos)
        << reading.problem;

    // A folder where the file should be cannot be read.
    std::filesystem::remove(path());
    std::filesystem::create_directory(path());
    reading = ReadMainSetFile();
    EXPECT_FALSE(reading.whole);
    EXPECT_TRUE(reading.records.empty());
    EXPECT_NE(reading.problem.find("Is a directory"), std::string::npos) << reading.problem;
}

TEST_F(MainSetTest, RecordsThatHoldNoSatelliteAreTold)
{
    const TleRecord good = Satellite("GOOD");
    std::vector<TleRecord> bad(6, good);
    bad[0].Elements.eccentricity = 1.5;
    bad[1].Elements.mean_motion = 0.0;
    bad[2].Elements.inclination = std::nan("");
    bad[3].Period = INFINITY;
    bad[4].Name.assign("TAB\tNAME");
    bad[5].Number.assign("2\n544");
    EXPECT_TRUE(IsSoundSatRecord(good));
    for (const TleRecord &record : bad)
        EXPECT_FALSE(IsSoundSatRecord(record)) << &record - bad.data();
    // Names in UTF-8 are names.
    TleRecord named = good;
    named.Name.assign("M\xc3\xbcnchen");
    EXPECT_TRUE(IsSoundSatRecord(named));
}
