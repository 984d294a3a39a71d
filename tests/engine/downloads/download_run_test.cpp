// Download runs against a local web server: what is stored, what is not, and
// that nothing ever waits long.
#include "download_fixture.h"

#include "engine/downloads/download_run.h"
#include "engine/downloads/unpack.h"

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

int RunList(const std::vector<std::string> &lines, DownloadRun &run, const web_t &web = {})
{
    return DownloadEntries(lines, web, run);
}

} // namespace

TEST_F(DownloadTest, EveryPackingIsStoredAndZipMemberNamesNeverBecomePaths)
{
    const std::string second = "NOAA 19\n" + IssLine1 + "\n" + IssLine2; // no final line break
    ServeFile("plain.txt", IssText);
    ServeFile("text.gz", Deflate(IssText, 31));
    ServeFile("text.z", Deflate(IssText, 15));
    ServeFile("two.gz", Deflate(IssText, 31) + Deflate(second, 31));
    WriteZip((serverRoot_ / "sets.zip").string(),
             {{"folder/", ""}, {"../x.tle", second}, {"/tmp/kyt-zip-member.tle", IssText}});
    Serve();
    DownloadRun run;
    run.updateFolder = updateFolder_;
    std::vector<std::string> progress;
    run.progress = [&](const std::string &text) { progress.push_back(text); };
    const int stored = RunList({Line("plain", 0, "/plain.txt"), Line("moved", 0, "/redirect/redirect/plain.txt"),
                            Line("gzip", 1, "/text.gz"), Line("zlib", 1, "/text.z"), Line("members", 1, "/two.gz"),
                            Line("zip", 2, "/sets.zip"), "0 0 (Ot) unselected " + server_.Url("/plain.txt")},
                           run);
    EXPECT_EQ(stored, 6);
    EXPECT_TRUE(run.failures.empty()) << FailureReport(run);
    for (const char *name : {"plain", "moved", "gzip", "zlib"})
        EXPECT_EQ(Stored(name), IssText) << name;
    EXPECT_EQ(Stored("members"), IssText + second);
    EXPECT_EQ(Stored("zip"), second + "\r\n" + IssText);
    EXPECT_FALSE(std::filesystem::exists("/tmp/kyt-zip-member.tle"));
    EXPECT_FALSE(std::filesystem::exists(root_ / "x.tle"));
    EXPECT_EQ(FolderEntries(updateFolder_),
              (std::vector<std::string>{"gzip.tle", "members.tle", "moved.tle", "plain.tle", "zip.tle", "zlib.tle"}));
    EXPECT_EQ(progress.front(), "Download in Progress...plain.tle");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(DownloadTest, BadAnswersStoreNothingKeepTheOldFileAndEndWithinSeconds)
{
    ServeFile("plain.txt", IssText);
    ServeFile("bad.gz", Deflate(IssText, 31).substr(0, 40) + "garbage");
    ServeFile("short.gz", Deflate(IssText, 31).substr(0, 40));
    ServeFile("fake.zip", "PK\x03\x04 not really");
    ServeFile("nothing.txt", "no element set here\n");
    Serve();
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"missing", Line("missing", 0, "/status/404")},  {"html", Line("html", 0, "/html")},
        {"empty", Line("empty", 0, "/empty")},           {"cut", Line("cut", 0, "/truncated/plain.txt")},
        {"corrupt", Line("corrupt", 1, "/bad.gz")},      {"short", Line("short", 1, "/short.gz")},
        {"notzip", Line("notzip", 2, "/fake.zip")},      {"hung", Line("hung", 0, "/hang")},
        {"endless", Line("endless", 0, "/endless")},     {"noset", Line("noset", 0, "/nothing.txt")},
        {"kind", Line("kind", 7, "/plain.txt")},         {"..bad", Line("..bad", 0, "/plain.txt")},
        {"server", Line("server", 0, "/status/503")},    {"after", Line("after", 0, "/plain.txt")},
    };
    std::vector<std::string> lines;
    for (const auto &[name, line] : cases) {
        WriteFile(updateFolder_ + name + ".tle", "OLD " + name);
        lines.push_back(line);
    }
    lines.push_back("1 0 (Ot) ftp ftp://127.0.0.1/x");
    DownloadConfig().stallTimeout = std::chrono::seconds(1);
    DownloadRun run;
    run.updateFolder = updateFolder_;
    const auto start = Clock::now();
    EXPECT_EQ(RunList(lines, run), 0);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(15));
    for (const auto &[name, line] : cases)
        EXPECT_EQ(Stored(name), "OLD " + name);
    ASSERT_EQ(run.failures.size(), cases.size() + 1) << FailureReport(run);
    const std::string report = FailureReport(run);
    for (const char *reason : {"(Ot)missing: the server answered HTTP 404", "(Ot)html: the answer holds no element set",
                               "(Ot)empty: empty answer", "(Ot)cut: transfer failed (curl error 18",
                               "(Ot)hung: no data for 1 s", "(Ot)endless: larger than 1 MiB",
                               "(Ot)kind: unknown kind", "(Ot)..bad: the name is no plain file name",
                               "(Ot)server: the server answered HTTP 503",
                               "(Ot)after: not requested: 127.0.0.1 answered HTTP 503",
                               "(Ot)ftp: the link is no http or https link"})
        EXPECT_NE(report.find(reason), std::string::npos) << reason << " in" << report;
    // Three unpack failures, told once.
    EXPECT_EQ(Messages(), (std::vector<std::string>{
                              "UNZip: Unzip Error - 3 File(s) Failed, Check Username or Password Error"}));
    EXPECT_EQ(FolderEntries(updateFolder_).size(), cases.size());
}

TEST_F(DownloadTest, UnpackingOntoAFileKeepsItWhenTheSourceIsBad)
{
    const std::string source = updateFolder_ + "names.zip", target = updateFolder_ + "names.dat";
    WriteFile(target, "former");
    WriteFile(source, "PK not a zip");
    std::string reason;
    EXPECT_FALSE(UnpackDownload(source, target, DownloadZipArchive, &reason));
    EXPECT_EQ(reason, "not a ZIP archive");
    EXPECT_EQ(ReadFile(target), "former");
    EXPECT_FALSE(std::filesystem::exists(source));
    WriteFile(source, "x");
    EXPECT_FALSE(UnpackDownload(source, target, DownloadPlainText));
    EXPECT_TRUE(std::filesystem::exists(source));
    WriteZip(source, {{"qvnames.dat", "new"}});
    EXPECT_TRUE(UnpackDownload(source, target, DownloadZipArchive));
    EXPECT_EQ(ReadFile(target), "new");
    EXPECT_EQ(FolderEntries(updateFolder_), std::vector<std::string>{"names.dat"});
}

TEST_F(DownloadTest, SingleFileChecksStatusAndCompletenessOnly)
{
    ServeFile("names.zip", "any bytes at all");
    ServeFile("plain.txt", IssText);
    Serve();
    EXPECT_TRUE(DownloadSingleFile(server_.Url("/names.zip"), updateFolder_, "qv.zip"));
    EXPECT_EQ(ReadFile(updateFolder_ + "qv.zip"), "any bytes at all");
    EXPECT_FALSE(DownloadSingleFile(server_.Url("/truncated/plain.txt"), updateFolder_, "qv.zip"));
    EXPECT_FALSE(DownloadSingleFile(server_.Url("/status/404"), updateFolder_, "qv.zip"));
    EXPECT_EQ(ReadFile(updateFolder_ + "qv.zip"), "any bytes at all");
    const auto messages = Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1], "Download: Failed to Download File : \"qv.zip\"\n\nthe server answered HTTP 404");

    DownloadConfig().connected = [] { return false; };
    EXPECT_FALSE(DownloadSingleFile(server_.Url("/names.zip"), updateFolder_, "qv.zip"));
    EXPECT_EQ(Messages().back(), "Connection: No Internet Connection");
    DownloadRun run;
    EXPECT_EQ(RunList({Line("plain", 0, "/plain.txt")}, run), 0);
    EXPECT_EQ(Messages().back(), "Connection: Failed to Connect to The INTERNET");
}
