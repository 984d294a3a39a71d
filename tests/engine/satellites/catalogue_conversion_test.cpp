#include "engine/satellites/catalogue_conversion.h"

#include "engine/runtime/program_state.h"
#include "engine/files/settings.h"
#include "engine/program_folder_fixture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>

namespace {

const std::string Line1 = "1 00005U 58002B   00179.78495062  .00000023  00000-0  28098-4 0  4753";
const std::string Line2 = "2 00005  34.2682 348.7242 1859667 331.7664  19.3264 10.82419157413667";

// One named set of catalogue number (five columns) with Vanguard's orbit;
// the element reader accepts a checksum digit that does not match.
std::string Set(const std::string &name, const std::string &number)
{
    std::string line1 = Line1, line2 = Line2;
    line1.replace(2, 5, number);
    line2.replace(2, 5, number);
    return name + "\n" + line1 + "\n" + line2 + "\n";
}

// A names-file entry: number in columns 1-5, name from 7, magnitude in 37-41.
std::string NamesLine(const std::string &number, const std::string &magnitude)
{
    std::string line(48, ' ');
    line.replace(0, number.size(), number);
    line.replace(6, 4, "NAME");
    line.replace(36, magnitude.size(), magnitude);
    return line + "\r\n";
}

const std::string LinkLine = "http://names.invalid/qvnamesupdate.zip\r\n";

std::vector<std::string> Numbers(const tlearray &array)
{
    std::vector<std::string> numbers;
    for (const TleRecord &record : array)
        numbers.push_back(record.Number.str());
    return numbers;
}

class CatalogueConversionTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        savedOptions_ = Options;
        ReplaceSkyList({});
    }
    void TearDown() override
    {
        Options = savedOptions_;
        ReplaceSkyList({});
        ProgramFolderTest::TearDown();
    }

    std::string Source(const std::string &text)
    {
        const std::string path = (root_ / "tle" / "source.txt").string();
        WriteFile(path, text);
        return path;
    }

    tlearray ReadSet(const std::string &fileName)
    {
        tlearray array;
        LoadSatFile(array, DataDir + fileName);
        return array;
    }

    OptionsRecord savedOptions_{};
};

} // namespace

TEST_F(CatalogueConversionTest, IridiumSetKeepsUpperCaseIridiumNamesThatCanFlare)
{
    // Neither debris, nor a satellite the file marks out of service, nor one
    // of the second generation (launched 2017 on, without mirror antennas).
    std::string secondGeneration = Set("IRIDIUM 106 [+]", "42956");
    secondGeneration.replace(secondGeneration.find("58002B"), 6, "17061B");
    Options.IridiumFile.assign(Source(Set("IRIDIUM 33 DEB", "24946") + Set("IRIDIUM 7", "24793") +
                                      Set("iridium 5", "24795") + Set("DUMMY IRIDIUM", "24796") +
                                      Set("IRIDIUM 4 [-]", "24794") + secondGeneration +
                                      Set("IRIDIUM 98 [+]", "27451")));
    ASSERT_TRUE(BuildIridiumFile());
    const tlearray set = ReadSet("IridSat.bin");
    ASSERT_EQ(Numbers(set), (std::vector<std::string>{"24793", "24796", "27451"}));
    EXPECT_EQ(set[0].Name.str(), "IRIDIUM 7");
    // The propagator was prepared from the parsed elements.
    EXPECT_EQ(set[0].Elements.catnum, 24793);
    EXPECT_NEAR(set[0].MeanMotion, 10.82419157, 1e-8);

    // A source stored relative to the program folder (one too long for its
    // field once joined stays so) is read there, wherever the program runs.
    std::filesystem::remove(DataDir + "IridSat.bin");
    Options.IridiumFile.assign("tle/source.txt");
    ASSERT_TRUE(BuildIridiumFile());
    EXPECT_EQ(Numbers(ReadSet("IridSat.bin")), (std::vector<std::string>{"24793", "24796", "27451"}));
}

TEST_F(CatalogueConversionTest, IridiumSourceClearedOrEmpty)
{
    const std::string target = DataDir + "IridSat.bin";
    WriteFile(target, "old");
    Options.IridiumFile.assign(Source("no element sets here\n"));
    EXPECT_FALSE(BuildIridiumFile());
    EXPECT_EQ(ReadFile(target), "old"); // a source without sets changes nothing

    Options.IridiumFile.assign("");
    EXPECT_FALSE(BuildIridiumFile());
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_FALSE(BuildIridiumFile()); // nothing left to delete
}

TEST_F(CatalogueConversionTest, SkySetIsTheJoinWithTheNamesFile)
{
    // The last record of the sorted list (20) is matched like the others;
    // numbers only one side knows (4, 5, 25) drop out; a blank magnitude is 8.
    Options.SkySatFile.assign(Source(Set("TWENTY", "00020") + Set("FIVE", "00005") + Set("ELEVEN", "00011")));
    WriteFile(DataDir + "qvnames.dat", LinkLine + NamesLine("00004", "1.0") + NamesLine("00011", "3.5") +
                                           NamesLine("00020", "") + NamesLine("00025", "2.0"));
    ASSERT_TRUE(BuildSkyFile());
    const tlearray set = ReadSet("SkySat.bin");
    ASSERT_EQ(Numbers(set), (std::vector<std::string>{"00011", "00020"}));
    EXPECT_EQ(set[0].Name.str(), "ELEVEN");
    EXPECT_DOUBLE_EQ(set[0].StdMagnitude, 3.5);
    EXPECT_DOUBLE_EQ(set[1].StdMagnitude, 8.0);
    EXPECT_EQ(Numbers(SkyList), Numbers(set));
    EXPECT_DOUBLE_EQ(SkyList[0].StdMagnitude, 3.5);
}

TEST_F(CatalogueConversionTest, UnsortedNamesFileAndNumbersOfOtherWidthsStillMatch)
{
    // Out of order, with a number written without leading zeros and one
    // that sorts differently as text ("100" before "99") than as a number.
    Options.SkySatFile.assign(Source(Set("HUNDRED", "00100") + Set("NINETYNINE", "00099") +
                                     Set("ELEVEN", "00011") + Set("FIVE", "00005")));
    WriteFile(DataDir + "qvnames.dat", LinkLine + NamesLine("00100", "4.0") + NamesLine("00025", "1.0") +
                                           NamesLine("11", "2.5") + NamesLine("99", "3.0") +
                                           NamesLine("A0001", "1.0") + NamesLine("00005", "5.0"));
    ASSERT_TRUE(BuildSkyFile());
    const tlearray set = ReadSet("SkySat.bin");
    ASSERT_EQ(Numbers(set), (std::vector<std::string>{"00005", "00011", "00099", "00100"}));
    EXPECT_DOUBLE_EQ(set[0].StdMagnitude, 5.0);
    EXPECT_DOUBLE_EQ(set[1].StdMagnitude, 2.5);
    EXPECT_DOUBLE_EQ(set[2].StdMagnitude, 3.0);
    EXPECT_DOUBLE_EQ(set[3].StdMagnitude, 4.0);
}

TEST_F(CatalogueConversionTest, FiveCharacterNumbersJoinAsTheNumbersTheyStandFor)
{
    // Numbers from 100000 on: each keeps its own place, after 99999.
    Options.SkySatFile.assign(Source(Set("SECOND", "A0002") + Set("FIRST", "A0001") + Set("LAST", "99999")));
    WriteFile(DataDir + "qvnames.dat", LinkLine + NamesLine("A0001", "1.0") + NamesLine("A0002", "2.0") +
                                           NamesLine("99999", "3.0"));
    ASSERT_TRUE(BuildSkyFile());
    const tlearray set = ReadSet("SkySat.bin");
    ASSERT_EQ(Numbers(set), (std::vector<std::string>{"99999", "A0001", "A0002"}));
    EXPECT_EQ(set[1].Name.str(), "FIRST");
    EXPECT_DOUBLE_EQ(set[1].StdMagnitude, 1.0);
    EXPECT_DOUBLE_EQ(set[2].StdMagnitude, 2.0);
    EXPECT_EQ(set[1].Elements.catnum, 100001);
    EXPECT_EQ(set[2].Elements.catnum, 100002);
}

// The sky view walks SkyList under SkyListMutex on another thread; a rebuild
// must wait for it rather than pull the set away mid-drawing.
TEST_F(CatalogueConversionTest, SkyListIsReplacedOnlyWhileNoDrawingHoldsIt)
{
    Options.SkySatFile.assign(Source(Set("ELEVEN", "00011")));
    WriteFile(DataDir + "qvnames.dat", LinkLine + NamesLine("00011", "2.0"));
    std::future<bool> built;
    {
        std::lock_guard drawing(SkyListMutex);
        built = std::async(std::launch::async, [] { return BuildSkyFile(); });
        EXPECT_EQ(built.wait_for(std::chrono::milliseconds(200)), std::future_status::timeout);
        EXPECT_TRUE(SkyList.empty());
    }
    EXPECT_TRUE(built.get());
    EXPECT_EQ(Numbers(SkyList), (std::vector<std::string>{"00011"}));
}

TEST_F(CatalogueConversionTest, EachSatelliteReachesTheSkySetOnce)
{
    // A set repeated in the element file and a number repeated in the names
    // file: the first of each wins.
    Options.SkySatFile.assign(Source(Set("FIRST", "00011") + Set("SECOND", "00011")));
    WriteFile(DataDir + "qvnames.dat", LinkLine + NamesLine("00011", "2.0") + NamesLine("00011", "6.0"));
    ASSERT_TRUE(BuildSkyFile());
    ASSERT_EQ(SkyList.size(), 1u);
    EXPECT_EQ(SkyList[0].Name.str(), "FIRST");
    EXPECT_DOUBLE_EQ(SkyList[0].StdMagnitude, 2.0);
}

TEST_F(CatalogueConversionTest, SkySourceWithoutSetsOrNamesChangesNothingElse)
{
    const std::string names = LinkLine + NamesLine("00011", "2.0");
    WriteFile(DataDir + "qvnames.dat", names);
    Options.SkySatFile.assign(Source(Set("ELEVEN", "00011")));
    ASSERT_TRUE(BuildSkyFile());

    // No names file: SkyList and the set file stay.
    std::filesystem::remove(DataDir + "qvnames.dat");
    EXPECT_FALSE(BuildSkyFile());
    EXPECT_EQ(Numbers(SkyList), (std::vector<std::string>{"00011"}));
    WriteFile(DataDir + "qvnames.dat", names);

    // A file without element sets clears the source name.
    Options.SkySatFile.assign(Source("nothing\n"));
    EXPECT_FALSE(BuildSkyFile());
    EXPECT_EQ(Options.SkySatFile.str(), "");
    EXPECT_EQ(SkyList.size(), 1u);

    // A file that cannot be read keeps its name and says why.
    const std::string unreadable = "/proc/self/mem"; // reading at offset 0 is an I/O error
    Options.SkySatFile.assign(unreadable);
    std::string error;
    EXPECT_FALSE(BuildSkyFile(&error));
    EXPECT_EQ(Options.SkySatFile.str(), unreadable);
    EXPECT_NE(error.find(unreadable), std::string::npos) << error;

    // A source that names no file changes nothing, not even the name.
    Options.SkySatFile.assign((root_ / "tle" / "gone.txt").string());
    EXPECT_FALSE(BuildSkyFile());
    EXPECT_EQ(Options.SkySatFile.str(), (root_ / "tle" / "gone.txt").string());
    EXPECT_EQ(ReadSet("SkySat.bin").size(), 1u);
}

TEST_F(CatalogueConversionTest, RecordThatDoesNotParseKeepsItsPlaceAndFields)
{
    ElementList list(2);
    list[0].Name.assign("BROKEN");
    list[0].Number.assign("00001");
    list[0].Line1.assign("1 not an element line");
    list[0].StdMagnitude = 3.0;
    list[1].Name.assign("GOOD");
    list[1].Number.assign("00005");
    list[1].Line1.assign(Line1);
    list[1].Line2.assign(Line2);
    const std::string path = DataDir + "test.bin";
    ASSERT_TRUE(ConvertElementList(list, path));
    const std::string bytes = ReadFile(path);
    ASSERT_EQ(bytes.size(), 2 * sizeof(TleRecord));
    TleRecord broken, good;
    CopyRecordFromBytes(broken, bytes.data());
    CopyRecordFromBytes(good, bytes.data() + sizeof(TleRecord));
    EXPECT_EQ(broken.Name.str(), "BROKEN");
    EXPECT_EQ(broken.Number.str(), "00001");
    EXPECT_DOUBLE_EQ(broken.StdMagnitude, 3.0);
    EXPECT_EQ(broken.Elements.catnum, 0);
    EXPECT_EQ(broken.MeanMotion, 0.0);
    EXPECT_EQ(good.Elements.catnum, 5);
    EXPECT_GT(good.Period, 0.0);
}

TEST_F(CatalogueConversionTest, UnwritableTargetIsReportedAsFailure)
{
    SetProgramFolders((root_ / "missing").string());
    Options.IridiumFile.assign(Source(Set("IRIDIUM 7", "24793")));
    std::string error;
    EXPECT_FALSE(BuildIridiumFile(&error));
    EXPECT_FALSE(error.empty());
}
