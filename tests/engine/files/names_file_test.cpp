#include "engine/files/names_file.h"

#include "engine/files/string_lists.h"
#include "engine/program_folder_fixture.h"

#include <gtest/gtest.h>

#include <chrono>

#include <sys/resource.h>

namespace {

const std::string Link = "http://www.example.org/qsmag.zip";
const std::string Iss = "25544 ISS             30.0 20.0 10.0 -0.5   99.0";
const std::string Vanguard = "00005 Vanguard 1       0.2  0.2  0.2 11.0    0.1";
const std::string NoMagnitude = "00544 Unknown obj      1.0  1.0  1.0  ---    1.0";

} // namespace

using NamesFileTest = ProgramFolderTest;

TEST_F(NamesFileTest, LinkLineEntriesAndOtherLines)
{
    ASSERT_EQ(Iss.size(), 48u);
    ASSERT_EQ(Vanguard.size(), 48u);
    const std::string short47 = Iss.substr(0, 47);
    const std::string long49 = Iss + "x";
    WriteFile(DataDir + "QVNAMES.DAT", Link + "\r\n" + Iss + "\r\n" + short47 + "\r\n" + Vanguard + "\r\n" + long49 +
                                           "\r\n");
    std::vector<std::string> lines;
    ASSERT_TRUE(LoadNamesFile(lines));
    ASSERT_EQ(lines, (std::vector<std::string>{Link, Iss, short47, Vanguard, long49}));
    EXPECT_EQ(NamesUpdateLink(lines), Link);
    EXPECT_FALSE(IsNamesEntry(lines[0]));
    EXPECT_TRUE(IsNamesEntry(lines[1]));
    EXPECT_FALSE(IsNamesEntry(lines[2]));
    EXPECT_TRUE(IsNamesEntry(lines[3]));
    EXPECT_FALSE(IsNamesEntry(lines[4]));

    // A 48-character link line is still the link, never an entry.
    const std::string link48 = "http://www.example.org/files/qsmag-update-01.zip";
    ASSERT_EQ(link48.size(), 48u);
    EXPECT_FALSE(IsNamesEntry(link48));
    int index = 0;
    EXPECT_FALSE(FindNamesEntry({link48}, "http:", index));
    EXPECT_EQ(NamesUpdateLink({Link, Iss, link48}), link48);
    // A secure link is a link too.
    const std::string secure48 = "https://www.example.org/files/qsmag-update01.zip";
    ASSERT_EQ(secure48.size(), 48u);
    EXPECT_FALSE(IsNamesEntry(secure48));
    EXPECT_EQ(NamesUpdateLink({Iss, secure48, Vanguard}), secure48);

    std::string error;
    ASSERT_TRUE(std::filesystem::remove(DataDir + "QVNAMES.DAT"));
    EXPECT_FALSE(LoadNamesFile(lines, &error));
    EXPECT_NE(error.find("qvnames.dat"), std::string::npos);

    // Linked to a device that never ends, it is refused at once, in bounded memory.
    std::filesystem::create_symlink("/dev/zero", DataDir + "qvnames.dat");
    rusage before{}, after{};
    ::getrusage(RUSAGE_SELF, &before);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(LoadNamesFile(lines, &error));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    ::getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 200 * 1024); // KiB
    EXPECT_NE(error.find("qvnames.dat\": the file is too large"), std::string::npos) << error;
    EXPECT_TRUE(lines.empty());
}

TEST(NamesLookupTest, NumbersCompareAsWholeNumbers)
{
    const std::vector<std::string> lines{Link, Iss, Vanguard, NoMagnitude};
    int index = -1;
    EXPECT_TRUE(FindNamesEntry(lines, "25544", index));
    EXPECT_EQ(index, 1);
    EXPECT_EQ(NamesEntryName(lines[index]), "ISS");
    EXPECT_DOUBLE_EQ(NamesEntryMagnitude(lines[index]), -0.5);
    EXPECT_TRUE(FindNamesEntry(lines, "5", index)); // stored numbers may drop leading zeros
    EXPECT_EQ(index, 2);

    // Parts of another number's digits are not that number.
    EXPECT_FALSE(FindNamesEntry(lines, "5544", index));
    EXPECT_EQ(index, -1);
    EXPECT_TRUE(FindNamesEntry(lines, "544", index));
    EXPECT_EQ(index, 3);
    EXPECT_FALSE(FindNamesEntry(lines, "", index));

    EXPECT_DOUBLE_EQ(FindStdMagnitude(lines, "00005"), 11.0);
    EXPECT_DOUBLE_EQ(FindStdMagnitude(lines, "99999"), 8.0);
    EXPECT_DOUBLE_EQ(FindStdMagnitude(lines, "544"), 8.0); // entry whose magnitude is no number

    // Five-character numbers from 100000 on stand for their number: two
    // of them never meet, whatever their digits.
    const std::vector<std::string> high{"A0001 FIRST           30.0 20.0 10.0  4.0   99.0",
                                        "B0001 SECOND          30.0 20.0 10.0  6.0   99.0"};
    EXPECT_DOUBLE_EQ(FindStdMagnitude(high, "A0001"), 4.0);
    EXPECT_DOUBLE_EQ(FindStdMagnitude(high, " B0001"), 6.0);
    EXPECT_DOUBLE_EQ(FindStdMagnitude(high, "00001"), 8.0);
    EXPECT_EQ(CatalogueNumberValue("Z9999"), 339999);
    EXPECT_EQ(CatalogueNumberValue("J0000"), 180000);
    EXPECT_FALSE(CatalogueNumberValue("I0001"));
    EXPECT_FALSE(CatalogueNumberValue("A001"));

    // With two entries for one number the later one wins.
    const std::vector<std::string> twice{Iss, Vanguard, "25544 ISS (ZARYA)     30.0 20.0 10.0 -1.0   99.0"};
    EXPECT_DOUBLE_EQ(FindStdMagnitude(twice, "25544"), -1.0);
}

TEST(NamesLookupTest, FormattedEntryReadsBack)
{
    const std::string line = FormatNamesEntry("25544", " ISS ", "30.0", "20.0", "10.0", "-0.5", "99.0");
    EXPECT_EQ(line, Iss);
    EXPECT_TRUE(IsNamesEntry(line));
    // A text longer than its column widens the line instead of losing characters.
    const std::string wide = FormatNamesEntry("25544", "A name of twenty chars", "1", "1", "1", "1", "1");
    EXPECT_NE(wide.find("A name of twenty chars"), std::string::npos);
    EXPECT_FALSE(IsNamesEntry(wide));
}

TEST(StringListTest, FindInStringListTakesTheLastLineIgnoringCase)
{
    const std::vector<std::string> lines{"alpha ISS", "beta", "Gamma iss"};
    int index = 7;
    EXPECT_TRUE(FindInStringList("Iss", lines, index));
    EXPECT_EQ(index, 2);
    EXPECT_FALSE(FindInStringList("", lines, index));
    EXPECT_EQ(index, -1);
    EXPECT_FALSE(FindInStringList("delta", lines, index));
    EXPECT_EQ(index, -1);
    EXPECT_FALSE(FindInStringList("x", {}, index));
}
