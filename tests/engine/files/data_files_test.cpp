#include "engine/files/data_files.h"

#include "engine/program_folder_fixture.h"

#include <gtest/gtest.h>

#include <cmath>

#include <sys/stat.h>

using DataFilesTest = ProgramFolderTest;

TEST_F(DataFilesTest, NamesInTheDataFolderMatchWithoutRegardToCase)
{
    WriteFile(DataDir + "MainSat.bin", "main");
    EXPECT_EQ(ResolvePath(DataDir + "mainsat.bin"), DataDir + "MainSat.bin");
    EXPECT_EQ(ResolvePath(ProgramDir + "DATA/MAINSAT.BIN"), DataDir + "MainSat.bin");

    std::string bytes;
    ASSERT_EQ(ReadWholeFile(DataDir + "MAINSAT.bin", bytes, nullptr, SmallFileLimit), ReadStatus::Ok);
    EXPECT_EQ(bytes, "main");

    // Saving under another case replaces the same file rather than adding one.
    ASSERT_TRUE(SaveFileAtomically(DataDir + "mainsat.BIN", "new"));
    EXPECT_EQ(FolderEntries(DataDir), std::vector<std::string>{"MainSat.bin"});
    EXPECT_EQ(ReadFile(DataDir + "MainSat.bin"), "new");

    EXPECT_TRUE(FolderExists(ProgramDir + "TLE/"));
}

TEST_F(DataFilesTest, ExactNameWinsAndNewNamesStayAsGiven)
{
    WriteFile(DataDir + "skysat.bin", "lower");
    WriteFile(DataDir + "SKYSAT.BIN", "upper");
    EXPECT_EQ(ResolvePath(DataDir + "skysat.bin"), DataDir + "skysat.bin");
    EXPECT_EQ(ResolvePath(DataDir + "SkySat.bin"), DataDir + "SKYSAT.BIN"); // first in byte order

    EXPECT_EQ(ResolvePath(ProgramDir + "Data/New/File.bin"), DataDir + "New/File.bin");
    std::string bytes;
    EXPECT_EQ(ReadWholeFile(DataDir + "none.bin", bytes, nullptr, SmallFileLimit), ReadStatus::Missing);
}

TEST_F(DataFilesTest, AtomicSaveLeavesNoTemporaryFileAndKeepsPermissions)
{
    const std::string path = DataDir + "Observer.bin";
    WriteFile(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    std::string error;
    ASSERT_TRUE(SaveFileAtomically(path, std::string(1000, 'x'), &error)) << error;
    EXPECT_EQ(ReadFile(path), std::string(1000, 'x'));
    EXPECT_EQ(FolderEntries(DataDir), std::vector<std::string>{"Observer.bin"});
    struct stat info;
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);

    EXPECT_FALSE(SaveFileAtomically(ProgramDir + "missing/folder/x.bin", "y", &error));
    EXPECT_NE(error.find("missing/folder/x.bin"), std::string::npos);

    // In place of a device the file gets the usual mode, not the device's.
    std::filesystem::remove(path);
    std::filesystem::create_symlink("/dev/zero", path);
    ASSERT_TRUE(SaveFileAtomically(path, "new", &error)) << error;
    ASSERT_EQ(::lstat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0644u);

    // What saves cut short left is removed, and only that.
    for (const char *name : {".Observer.bin.a1B2c3", ".mainsat.bin.XyZ789", ".hidden", ".x.abc12", ".x.abc-12"})
        WriteFile(DataDir + name, "left");
    std::filesystem::create_directory(DataDir + ".folder.ABCDEF");
    RemoveInterruptedSaves(DataDir);
    EXPECT_EQ(FolderEntries(DataDir),
              (std::vector<std::string>{".folder.ABCDEF", ".hidden", ".x.abc-12", ".x.abc12", "Observer.bin"}));
}

TEST_F(DataFilesTest, AFileOverItsLimitIsRefusedAndAStreamEndsThere)
{
    WriteFile(DataDir + "big.bin", std::string(629, 'a'));
    std::string bytes, error;
    ASSERT_EQ(ReadWholeFile(DataDir + "big.bin", bytes, &error, 629), ReadStatus::Ok);
    EXPECT_EQ(bytes.size(), 629u);
    EXPECT_EQ(ReadWholeFile(DataDir + "big.bin", bytes, &error, 628), ReadStatus::Failed);
    EXPECT_TRUE(bytes.empty());
    EXPECT_NE(error.find("big.bin\": the file is too large (more than 628 bytes)"), std::string::npos) << error;

    EXPECT_EQ(ReadWholeFile("/dev/zero", bytes, &error, 4 * MiB), ReadStatus::Failed);
    EXPECT_NE(error.find("too large (more than 4 MiB)"), std::string::npos) << error;
    // A FIFO no one writes to reads as empty instead of blocking.
    ASSERT_EQ(::mkfifo((DataDir + "fifo").c_str(), 0600), 0);
    EXPECT_EQ(ReadWholeFile(DataDir + "fifo", bytes, &error, 629), ReadStatus::Ok);
    EXPECT_TRUE(bytes.empty());
}

TEST(ShortStringTest, TooLongTextIsRefusedNotCut)
{
    ShortString<8> field;
    ASSERT_TRUE(field.assign("abcdefgh"));
    EXPECT_FALSE(field.assign("abcdefghi"));
    EXPECT_EQ(field.str(), "abcdefgh");

    std::string message;
    EXPECT_FALSE(StoreShortText(field, "/a/much/longer/path/", &message));
    EXPECT_EQ(field.str(), "abcdefgh");
    EXPECT_NE(message.find("/a/much/longer/path/"), std::string::npos);
    EXPECT_NE(message.find("at most 8 characters"), std::string::npos);

    // A shorter text zero-fills what the longer one left behind.
    ASSERT_TRUE(field.assign("ab"));
    EXPECT_EQ(field.length, 2);
    for (char c : std::string_view(field.chars + 2, 6))
        EXPECT_EQ(c, '\0');

    field.assignCut("0123456789");
    EXPECT_EQ(field.str(), "01234567");

    field.length = 200; // as a damaged file may hold
    EXPECT_FALSE(field.lengthValid());
    EXPECT_EQ(field.str().size(), 8u);
}

TEST(TextHelpersTest, LinesSplitAtEveryLineEnd)
{
    EXPECT_EQ(SplitTextLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitTextLines("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(SplitTextLines("").empty());
    EXPECT_EQ(TrimText("\t  x y \r\x01"), "x y");
}

TEST(TextHelpersTest, DecimalsReadWithPointOnly)
{
    double value = -1.0;
    EXPECT_TRUE(ParseDecimal(" 15.50000000 ", value));
    EXPECT_DOUBLE_EQ(value, 15.5);
    EXPECT_TRUE(ParseDecimal("+1.5", value));
    EXPECT_DOUBLE_EQ(value, 1.5);
    EXPECT_TRUE(ParseDecimal("-.5", value));
    EXPECT_DOUBLE_EQ(value, -0.5);
    value = 42.0;
    for (const char *bad : {"", "1,5", "1.5x", "+-1", "nan", "inf", "1e400", "abc", "+"})
        EXPECT_FALSE(ParseDecimal(bad, value)) << bad;
    EXPECT_EQ(value, 42.0);
}

// The map's places file: latitude in columns 1-8, longitude in 9-16, a
// blank in 17 and the name in 18-37.
TEST(DataFilesRealData, SetUpPlaceListKeepsItsColumns)
{
    KYT_SETUP_FOLDER_OR_SKIP(folder, "data/MapLocations.dat");
    std::string text;
    ASSERT_EQ(ReadWholeFile(folder + "/data/MapLocations.dat", text, nullptr, SmallFileLimit), ReadStatus::Ok);
    const std::vector<std::string> lines = SplitTextLines(text);
    EXPECT_GT(lines.size(), 50u);
    bool london = false;
    for (const std::string &line : lines) {
        SCOPED_TRACE(line);
        ASSERT_GE(line.size(), 18u);
        ASSERT_LE(line.size(), 37u);
        double latitude = 99, longitude = 999;
        EXPECT_TRUE(ParseDecimal(line.substr(0, 8), latitude) && std::abs(latitude) <= 90.0);
        EXPECT_TRUE(ParseDecimal(line.substr(8, 8), longitude) && std::abs(longitude) <= 180.0);
        EXPECT_EQ(line[16], ' ');
        EXPECT_FALSE(TrimText(line.substr(17)).empty());
        if (TrimText(line.substr(17)) == "London") {
            london = true;
            EXPECT_NEAR(latitude, 51.5, 0.1);
            EXPECT_NEAR(longitude, -0.13, 0.1);
        }
    }
    EXPECT_TRUE(london);
}
