#include "engine/files/element_files.h"

#include "engine/files/names_file.h"
#include "engine/satellites/satellite_driver.h"
#include "engine/program_folder_fixture.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Three well-formed sets with correct checksums: near-earth, eccentric and
// geostationary.
const std::string Iss1 = "1 25544U 98067A   08264.51782528 -.00002182  00000-0 -11606-4 0  2927";
const std::string Iss2 = "2 25544  51.6416 247.4627 0006703 130.5360 325.0288 15.72125391563537";
const std::string Vanguard1 = "1 00005U 58002B   00179.78495062  .00000023  00000-0  28098-4 0  4753";
const std::string Vanguard2 = "2 00005  34.2682 348.7242 1859667 331.7664  19.3264 10.82419157413667";
const std::string Geo1 = "1 28884U 05041A   24001.50000000 -.00000100  00000-0  00000-0 0  9994";
const std::string Geo2 = "2 28884   0.0100 100.0000 0002000 200.0000 160.0000  1.00270000 67895";

std::string Join(std::initializer_list<std::string> lines, const std::string &end)
{
    std::string text;
    for (const auto &line : lines)
        text += line + end;
    return text;
}

ElementList Parse(const std::string &text)
{
    ElementList list;
    ParseTleText(text, list);
    return list;
}

std::vector<std::string> Names(const ElementList &list)
{
    std::vector<std::string> names;
    for (const auto &record : list)
        names.push_back(record.Name.str());
    return names;
}

std::vector<std::string> Numbers(const ElementList &list)
{
    std::vector<std::string> numbers;
    for (const auto &record : list)
        numbers.push_back(record.Number.str());
    return numbers;
}

} // namespace

TEST(ElementTextTest, ThreeLineFilesWithAndWithoutCatalogueZero)
{
    for (const std::string end : {"\r\n", "\n"}) {
        const ElementList list =
            Parse(Join({"ISS (ZARYA)", Iss1, Iss2, "0 VANGUARD 1", Vanguard1, Vanguard2, "  0 INTELSAT X  ", Geo1, Geo2}, end));
        ASSERT_EQ(list.size(), 3u);
        EXPECT_EQ(Names(list), (std::vector<std::string>{"ISS (ZARYA)", "VANGUARD 1", "INTELSAT X"}));
        EXPECT_EQ(Numbers(list), (std::vector<std::string>{"25544", "00005", "28884"}));
        EXPECT_EQ(list[0].Line1.str(), Iss1);
        EXPECT_EQ(list[0].Line2.str(), Iss2);
        EXPECT_DOUBLE_EQ(list[0].MeanMotion, 15.72125391);
        EXPECT_DOUBLE_EQ(list[2].MeanMotion, 1.0027);
        EXPECT_EQ(list[1].StdMagnitude, 8.0);
        EXPECT_EQ(list[1].Selected, 0);
    }
}

TEST(ElementTextTest, TwoLineFilesGiveEmptyNamesInFileOrder)
{
    const ElementList list = Parse(Join({Geo1, Geo2, Iss1, Iss2, Vanguard1, Vanguard2}, "\n"));
    EXPECT_EQ(Numbers(list), (std::vector<std::string>{"28884", "25544", "00005"}));
    EXPECT_EQ(Names(list), (std::vector<std::string>{"", "", ""}));
}

TEST(ElementTextTest, NameLengthRules)
{
    const std::string name20 = "ABCDEFGHIJ0123456789";
    const std::string name21 = name20 + "K";
    const std::string name25 = name20 + "KLMNO";
    const std::string name26 = name25 + "P";
    const ElementList list = Parse(Join({name20, Iss1, Iss2, name21, Iss1, Iss2, name25, Iss1, Iss2, name26, Iss1,
                                         Iss2, "0     INDENTED", Iss1, Iss2},
                                        "\r\n"));
    EXPECT_EQ(Names(list), (std::vector<std::string>{name20, name20, name20, "25544", "25544"}));
}

TEST(ElementTextTest, WrongChecksumDigitIsAccepted)
{
    std::string wrong2 = Iss2;
    wrong2.back() = '0';
    const ElementList list = Parse(Join({"ISS", Iss1, wrong2}, "\n"));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].Line2.str(), wrong2);

    std::string badMotion = Iss2;
    badMotion.replace(52, 11, "15.7x125391");
    const ElementList unreadable = Parse(Join({Iss1, badMotion}, "\n"));
    ASSERT_EQ(unreadable.size(), 1u);
    EXPECT_EQ(unreadable[0].MeanMotion, 1.0);
}

TEST(ElementTextTest, DamagedLinesBetweenSetsCostOnlyTheirOwnSet)
{
    // A stray text line between sets is passed over.
    EXPECT_EQ(Numbers(Parse(Join({"ISS", Iss1, Iss2, "garbage -- 1 2", "", "GEO", Geo1, Geo2}, "\n"))),
              (std::vector<std::string>{"25544", "28884"}));

    // A damaged line 1 leaves its line 2 alone; it must not pair with the
    // next set's line 1 and so lose that set as well.
    std::string damaged1 = Vanguard1;
    damaged1[1] = 'X';
    const ElementList afterDamaged = Parse(Join({Iss1, Iss2, damaged1, Vanguard2, Geo1, Geo2}, "\n"));
    EXPECT_EQ(Numbers(afterDamaged), (std::vector<std::string>{"25544", "28884"}));
    EXPECT_EQ(Names(afterDamaged), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(afterDamaged[1].Line1.str(), Geo1);

    // A missing line 2: the orphan line 1 does not pair with the next line 1.
    const ElementList afterMissing = Parse(Join({"VANGUARD", Vanguard1, "GEO", Geo1, Geo2}, "\n"));
    ASSERT_EQ(afterMissing.size(), 1u);
    EXPECT_EQ(afterMissing[0].Name.str(), "GEO");
    EXPECT_EQ(Numbers(Parse(Join({Vanguard1, Geo1, Geo2}, "\n"))), std::vector<std::string>{"28884"});

    // Lines 1 and 2 of different satellites are no set.
    EXPECT_TRUE(Parse(Join({Iss1, Vanguard2}, "\n")).empty());
}

using ElementFilesTest = ProgramFolderTest;

TEST_F(ElementFilesTest, LoadTleTextFileReportsWhetherItFoundSets)
{
    ElementList list(3);
    WriteFile(ProgramDir + "tle/Visual.TLE", Join({"ISS", Iss1, Iss2}, "\r\n"));
    ASSERT_TRUE(LoadTleTextFile(list, ProgramDir + "tle/visual.tle"));
    EXPECT_EQ(list.size(), 1u);

    WriteFile(ProgramDir + "tle/empty.txt", "no sets here\n");
    EXPECT_FALSE(LoadTleTextFile(list, ProgramDir + "tle/empty.txt"));
    EXPECT_TRUE(list.empty());
    std::string error;
    EXPECT_FALSE(LoadTleTextFile(list, ProgramDir + "tle/none.txt", &error));
    EXPECT_NE(error.find("none.txt"), std::string::npos);
}

namespace {

tlearray ReadySatellites()
{
    tlearray array;
    for (const auto &[name, line1, line2] :
         {std::tuple{"ISS", Iss1, Iss2}, std::tuple{"VANGUARD 1", Vanguard1, Vanguard2}}) {
        ElementList list = Parse(Join({name, line1, line2}, "\n"));
        TleRecord record;
        EXPECT_TRUE(LoadSatFromElementRecord(record, list.at(0), true, 0.0, 20.0));
        array.push_back(record);
    }
    return array;
}

} // namespace

TEST_F(ElementFilesTest, SetFilesRoundTripAndIgnoreAPartialRecord)
{
    const tlearray saved = ReadySatellites();
    ASSERT_TRUE(SaveSatFile(saved, DataDir + "MainSat.bin"));
    const std::string bytes = ReadFile(DataDir + "MainSat.bin");
    ASSERT_EQ(bytes.size(), 2 * 1016u);

    tlearray loaded;
    ASSERT_TRUE(LoadSatFile(loaded, DataDir + "mainsat.bin"));
    ASSERT_EQ(loaded.size(), 2u);
    EXPECT_EQ(loaded[1].Name.str(), "VANGUARD 1");
    EXPECT_EQ(loaded[1].Number.str(), "00005");
    EXPECT_EQ(std::memcmp(&loaded[0].Elements, &saved[0].Elements, sizeof(element_set)), 0);
    EXPECT_EQ(loaded[0].MeanMotion, saved[0].MeanMotion);
    EXPECT_EQ(loaded[1].ApogeeHeight, saved[1].ApogeeHeight);

    // Two records and part of a third read as two.
    WriteFile(DataDir + "SkySat.bin", bytes + std::string(500, '\x7f'));
    ASSERT_TRUE(LoadSatFile(loaded, DataDir + "SkySat.bin"));
    EXPECT_EQ(loaded.size(), 2u);

    // An empty array writes an empty file, which reads as none.
    ASSERT_TRUE(SaveSatFile({}, DataDir + "MainSat.bin"));
    EXPECT_EQ(ReadFile(DataDir + "MainSat.bin"), "");
    EXPECT_FALSE(LoadSatFile(loaded, DataDir + "MainSat.bin"));
    EXPECT_TRUE(loaded.empty());
    EXPECT_EQ(FolderEntries(DataDir), (std::vector<std::string>{"MainSat.bin", "SkySat.bin"}));

    // A file that cannot be read leaves the array as it was.
    loaded = saved;
    EXPECT_FALSE(LoadSatFile(loaded, DataDir + "IridSat.bin"));
    EXPECT_EQ(loaded.size(), 2u);
}

TEST_F(ElementFilesTest, StoredWorkAreaIsRebuiltFromTheElements)
{
    const tlearray clean = ReadySatellites();
    tlearray damaged = clean;
    for (TleRecord &record : damaged)
        std::memset(record.Params.Bytes, 0x5A, sizeof record.Params.Bytes);
    ASSERT_TRUE(SaveSatFile(damaged, DataDir + "IridSat.bin"));
    tlearray loaded;
    ASSERT_TRUE(LoadSatFile(loaded, DataDir + "IridSat.bin"));

    ObserverRecord observer = DefaultObserver(Vec4{});
    for (std::size_t i = 0; i < clean.size(); ++i) {
        const double instant = clean[i].Elements.epoch - 2415018.5 + 0.3;
        const double gmst = UpdateSiderealObserver(instant, observer);
        TleRecord expected = clean[i];
        TargetState want{}, got{};
        ASSERT_TRUE(PropagateSatellite(expected, want, gmst, instant, observer));
        ASSERT_TRUE(PropagateSatellite(loaded[i], got, gmst, instant, observer)) << i;
        EXPECT_EQ(got.Position.x, want.Position.x) << i;
        EXPECT_EQ(got.Position.z, want.Position.z) << i;
    }
}

TEST_F(ElementFilesTest, ConversionWritesNamedSortedSetsThenDeletesTheSource)
{
    // The ISS's number also appears inside a later line's name; only the
    // entry keyed by it may name the satellite.
    WriteFile(DataDir + "qvnames.dat", Join({"http://www.example.org/qsmag.zip",
                                             "25544 ISS             30.0 20.0 10.0 -0.5   99.0",
                                             "    5 Vanguard 1       0.2  0.2  0.2 11.0    0.1",
                                             "40000 Debris 25544     1.0  1.0  1.0  9.0    1.0"},
                                            "\r\n"));
    const std::string source = ProgramDir + "tle/Stations.txt";
    WriteFile(source, Join({Iss1, Iss2, Geo1, Geo2, Vanguard1, Vanguard2}, "\n"));

    std::string error;
    ASSERT_TRUE(ConvertTleTo3Line(source, &error)) << error;
    EXPECT_FALSE(std::filesystem::exists(source));
    EXPECT_EQ(ReadFile(ProgramDir + "tle/3le_Stations.txt"),
              Join({"Vanguard 1", Vanguard1, Vanguard2, "ISS", Iss1, Iss2, "", Geo1, Geo2}, "\r\n"));
}

TEST_F(ElementFilesTest, ConversionKeepsTheSourceWhenItCannotFinish)
{
    const std::string source = ProgramDir + "tle/visual.tle";
    const std::string target = ProgramDir + "tle/3le_visual.tle";
    WriteFile(source, Join({Iss1, Iss2}, "\n"));
    std::string error;

    // No names file: nothing written, nothing deleted.
    EXPECT_FALSE(ConvertTleTo3Line(source, &error));
    EXPECT_NE(error.find("qvnames.dat"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(source));
    EXPECT_FALSE(std::filesystem::exists(target));

    // A source without any set is not replaced by an empty file.
    WriteFile(DataDir + "qvnames.dat", "");
    WriteFile(ProgramDir + "tle/junk.tle", "not elements\n");
    EXPECT_FALSE(ConvertTleTo3Line(ProgramDir + "tle/junk.tle", &error));
    EXPECT_TRUE(std::filesystem::exists(ProgramDir + "tle/junk.tle"));
    EXPECT_FALSE(std::filesystem::exists(ProgramDir + "tle/3le_junk.tle"));

    // The three-line file cannot be written: the source stays.
    std::filesystem::create_directory(target);
    std::filesystem::create_directory(target + "/occupied");
    EXPECT_FALSE(ConvertTleTo3Line(source, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(std::filesystem::exists(source));
    EXPECT_EQ(FolderEntries(ProgramDir + "tle"),
              (std::vector<std::string>{"3le_visual.tle", "junk.tle", "visual.tle"}));
}

// The set-up's element file and names file come from one source: every set
// reads as a set, the names file opens with its link and holds one entry
// per set, keyed by the set's number and carrying its name.
TEST(ElementFilesRealData, DefaultElementsAndNamesAgree)
{
    KYT_SETUP_FOLDER_OR_SKIP(folder, "data/qvnames.dat");
    SetProgramFolders(folder);
    ElementList sets;
    std::string error;
    ASSERT_TRUE(LoadTleTextFile(sets, ProgramDir + "tle/gpredict.tle", &error)) << error;
    std::vector<std::string> names;
    ASSERT_TRUE(LoadNamesFile(names, &error)) << error;

    EXPECT_GT(sets.size(), 500u);
    ASSERT_EQ(names.size(), sets.size() + 1);
    EXPECT_EQ(NamesUpdateLink(names), names[0]);
    for (const ElementRecord &set : sets) {
        SCOPED_TRACE(set.Number.str());
        int index = -1;
        ASSERT_TRUE(FindNamesEntry(names, set.Number.str(), index));
        EXPECT_TRUE(IsNamesEntry(names[index]));
        EXPECT_EQ(NamesEntryName(names[index]), TrimText(set.Name.str().substr(0, 15)));
        EXPECT_EQ(FindStdMagnitude(names, set.Number.str()), 8.0); // no free magnitudes
        EXPECT_GT(set.MeanMotion, 0.0);
    }
}
