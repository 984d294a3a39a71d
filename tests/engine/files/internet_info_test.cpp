// The internet settings file and the download list.
#include "engine/program_folder_fixture.h"

#include "engine/files/download_list.h"
#include "engine/files/internet_info.h"

#include <clocale>
#include <sys/stat.h>

namespace {

mode_t FileMode(const std::string &path)
{
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 0777;
}

class InternetInfoTest : public ProgramFolderTest {
protected:
    std::string IniPath() const { return DataDir + "InternetInfo.ini"; }
};

} // namespace

TEST_F(InternetInfoTest, FirstStartCreatesTheFileWithDefaultsOwnerOnly)
{
    const double before = LocalClockDayCount();
    web_t web;
    web.period = 99;
    ASSERT_TRUE(LoadInternetInfo(web));
    EXPECT_EQ(web.user, "");
    EXPECT_EQ(web.password, "");
    EXPECT_EQ(web.period, 24);
    EXPECT_FALSE(web.updatemain);
    EXPECT_NEAR(web.time, before, 2.0 / 86400);
    EXPECT_EQ(FileMode(IniPath()), 0600u);
    const std::string text = ReadFile(IniPath());
    EXPECT_NE(text.find("[InternetInfo]\r\nuser= \r\npassword= \r\nperiod=24\r\ntime="), std::string::npos);
    EXPECT_NE(text.find("updatemain=0\r\n"), std::string::npos);
}

TEST_F(InternetInfoTest, SaveKeepsOtherLinesAndReadsBackUnderACommaLocale)
{
    WriteFile(IniPath(), "; comment\n[Other]\nuser=someone\n[internetinfo]\nPeriod=abc\nproxy=x\n\n[Last]\nk=v\n");
    ::chmod(IniPath().c_str(), 0644);
    const char *old = std::setlocale(LC_ALL, nullptr);
    const std::string saved = old ? old : "C";
    const bool comma = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;

    web_t web;
    ASSERT_TRUE(LoadInternetInfo(web));
    EXPECT_EQ(web.user, "");   // the other section's key is not ours
    EXPECT_EQ(web.period, 24); // a value that does not read keeps the default
    EXPECT_EQ(FileMode(IniPath()), 0600u);
    web.user = "me";
    web.password = "p a&ss=%\"";
    web.period = 48;
    web.updatemain = true;
    web.time = 45678.123456789;
    web.downloaded = true;
    ASSERT_TRUE(SaveInternetInfo(web));
    web_t back;
    ASSERT_TRUE(LoadInternetInfo(back));
    std::setlocale(LC_ALL, saved.c_str());

    EXPECT_EQ(back.user, "me");
    EXPECT_EQ(back.password, "p a&ss=%\"");
    EXPECT_EQ(back.period, 48);
    EXPECT_TRUE(back.updatemain);
    EXPECT_EQ(back.time, 45678.123456789);
    EXPECT_TRUE(back.downloaded);
    EXPECT_EQ(ReadFile(IniPath()),
              "; comment\r\n[Other]\r\nuser=someone\r\n[internetinfo]\r\nperiod=48\r\nproxy=x\r\n"
              "user=me\r\npassword=p a&ss=%\"\r\ntime=45678.123456789\r\nupdatemain=1\r\ndownloaded=1\r\n\r\n"
              "[Last]\r\nk=v\r\n");
    EXPECT_EQ(FileMode(IniPath()), 0600u);
    if (!comma)
        GTEST_SKIP() << "locale de_DE.UTF-8 is not installed; checked in the C locale only";
}

TEST(DownloadList, LinesReadAsEntriesAndNewLinesInTheirColumns)
{
    DownloadEntry entry;
    ASSERT_TRUE(ParseDownloadEntry("1 2 (Tv) visual https://x.org/v.zip", entry));
    EXPECT_TRUE(entry.Selected);
    EXPECT_EQ(entry.Kind, DownloadZipArchive);
    EXPECT_EQ(DownloadItemText(entry), "(Tv)visual");
    EXPECT_EQ(entry.Link, "https://x.org/v.zip");
    ASSERT_TRUE(ParseDownloadEntry("  x  z   (Ot)  'a b'  l", entry));
    EXPECT_FALSE(entry.Selected);
    EXPECT_EQ(entry.Kind, -1);
    EXPECT_EQ(entry.Name, "'a b'");
    EXPECT_FALSE(ParseDownloadEntry("1 0 (Ot) name-only", entry));
    EXPECT_FALSE(ParseDownloadEntry("", entry));

    EXPECT_EQ(NewDownloadLine("(Qv)", " sixlt6 ", " https://q/x "),
              "0 0  (Qv) sixlt6              https://q/x");
}

TEST(DownloadList, CheckStatesRewriteFieldZeroWhereItStandsAndNamesArePlain)
{
    std::string line = "1 0  (Ot) stations            https://x/s";
    StoreCheckState(line, false);
    EXPECT_EQ(line, "0 0  (Ot) stations            https://x/s");
    line = "   yes 1 (Ot) a l";
    StoreCheckState(line, true);
    EXPECT_EQ(line, "   1 1 (Ot) a l");
    line = "1 0 (Ot) short";
    StoreCheckState(line, false);
    EXPECT_EQ(line, "1 0 (Ot) short");

    for (const char *good : {"stations", "gps-ops", "iridium-NEXT", "a.b_c"})
        EXPECT_TRUE(IsPlainFileName(good)) << good;
    for (const char *bad : {"", ".hidden", "..", "../x", "a/b", "a\\b", "a b", "a:b", "\"q\""})
        EXPECT_FALSE(IsPlainFileName(bad)) << bad;
}

TEST_F(ProgramFolderTest, DownloadListReadWithAnyLineEndAndWrittenWithCrLf)
{
    std::vector<std::string> lines;
    EXPECT_EQ(LoadDownloadList(lines), ReadStatus::Missing);
    WriteFile(DataDir + "dwnlist.dat", "a\r\nb\nc\rd");
    ASSERT_EQ(LoadDownloadList(lines), ReadStatus::Ok);
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "c", "d"}));
    ASSERT_TRUE(SaveDownloadList(lines));
    EXPECT_EQ(ReadFile(DataDir + "dwnlist.dat"), "a\r\nb\r\nc\r\nd\r\n");
}
