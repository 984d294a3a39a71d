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
    ServeFile("padded.gz", Deflate(IssText, 31) + std::string(512, '\0'));
    WriteZip((serverRoot_ / "sets.zip").string(),
             {{"folder/", ""}, {"../x.tle", second}, {"/tmp/kyt-zip-member.tle", IssText}});
    Serve();
    DownloadRun run;
    run.updateFolder = updateFolder_;
    std::vector<std::string> progress;
    run.progress = [&](const std::string &text) { progress.push_back(text); };
    const int stored = RunList({Line("plain", 0, "/plain.txt"), Line("moved", 0, "/redirect/redirect/plain.txt"),
                            Line("gzip", 1, "/text.gz"), Line("zlib", 1, "/text.z"), Line("members", 1, "/two.gz"),
                            Line("padded", 1, "/padded.gz"), Line("zip", 2, "/sets.zip"),
                            "0 0 (Ot) unselected " + server_.Url("/plain.txt")},
                           run);
    EXPECT_EQ(stored, 7);
    EXPECT_TRUE(run.failures.empty()) << FailureReport(run);
    for (const char *name : {"plain", "moved", "gzip", "zlib", "padded"})
        EXPECT_EQ(Stored(name), IssText) << name;
    EXPECT_EQ(Stored("members"), IssText + second);
    EXPECT_EQ(Stored("zip"), second + "\r\n" + IssText);
    EXPECT_FALSE(std::filesystem::exists("/tmp/kyt-zip-member.tle"));
    EXPECT_FALSE(std::filesystem::exists(root_ / "x.tle"));
    EXPECT_EQ(FolderEntries(updateFolder_),
              (std::vector<std::string>{"gzip.tle", "members.tle", "moved.tle", "padded.tle", "plain.tle", "zip.tle",
                                        "zlib.tle"}));
    EXPECT_EQ(progress.front(), "Download in Progress...plain.tle");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(DownloadTest, BadAnswersStoreNothingKeepTheOldFileAndEndWithinSeconds)
{
    ServeFile("plain.txt", IssText);
    ServeFile("two.txt", IssText + IssText);
    // Two members of one name: the second's name is written over.
    WriteZip((serverRoot_ / "twins.zip").string(), {{"a.tle", IssText}, {"b.tle", IssText}});
    std::string twins = ReadFile((serverRoot_ / "twins.zip").string());
    for (std::size_t at; (at = twins.find("b.tle")) != std::string::npos;)
        twins[at] = 'a';
    ServeFile("twins.zip", twins);
    ServeFile("bad.gz", Deflate(IssText, 31).substr(0, 40) + "garbage");
    ServeFile("short.gz", Deflate(IssText, 31).substr(0, 40));
    ServeFile("fake.zip", "PK\x03\x04 not really");
    ServeFile("nothing.txt", "no element set here\n");
    Serve();
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"missing", Line("missing", 0, "/status/404")},  {"html", Line("html", 0, "/html")},
        {"empty", Line("empty", 0, "/empty")},           {"cut", Line("cut", 0, "/truncated/plain.txt")},
        {"corrupt", Line("corrupt", 1, "/bad.gz")},      {"short", Line("short", 1, "/short.gz")},
        {"notzip", Line("notzip", 2, "/fake.zip")},      {"twins", Line("twins", 2, "/twins.zip")},
        {"unsized", Line("unsized", 0, "/unsized/255/two.txt")},
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
    DownloadRun run;
    run.updateFolder = updateFolder_;
    const auto start = Clock::now();
    EXPECT_EQ(RunList(lines, run), 0);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(15));
    for (const auto &[name, line] : cases)
        EXPECT_EQ(Stored(name), "OLD " + name);
    ASSERT_EQ(run.failures.size(), cases.size() + 1) << FailureReport(run);
    const std::string report = FailureReport(run);
    for (const std::string &reason : std::vector<std::string>{"(Ot)missing: the server answered HTTP 404", "(Ot)html: the answer holds no element set",
                               "(Ot)empty: empty answer", "(Ot)cut: transfer failed (curl error 18",
                               "(Ot)unsized: the answer is cut short: it ends inside an element set",
                               "(Ot)twins: the ZIP archive holds two members of the same name",
                               "(Ot)endless: larger than 1 MiB",
                               "(Ot)kind: unknown kind", "(Ot)..bad: the name is no plain file name",
                               "(Ot)server: the server answered HTTP 503",
                               "(Ot)after: not requested: 127.0.0.1:" + std::to_string(server_.Port())
                                   + " answered HTTP 503 earlier in this run",
                               "(Ot)ftp: the link is no http or https link"})
        EXPECT_NE(report.find(reason), std::string::npos) << reason << " in" << report;
    // The caller's final message tells them, with the rest.
    EXPECT_EQ(run.unpackFailures, 4);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(FolderEntries(updateFolder_).size(), cases.size());
}

TEST_F(DownloadTest, ASlowOrSilentServerIsGivenUpAfterTheLowSpeedTimeAndAskedNothingMore)
{
    ServeFile("plain.txt", IssText);
    Serve();
    DownloadConfig().lowSpeedTime = std::chrono::seconds(1);
    const std::string port = std::to_string(server_.Port());
    const std::pair<const char *, std::string> cases[] = {
        {"/trickle/0.2/plain.txt", "(Ot)slow: less than 10 bytes/s for 1 s"},
        {"/hang", "(Ot)slow: no answer for 1 s"},
    };
    for (const auto &[path, reason] : cases) {
        SCOPED_TRACE(path);
        WriteFile(updateFolder_ + "next.tle", "OLD");
        DownloadRun run;
        run.updateFolder = updateFolder_;
        const auto start = Clock::now();
        EXPECT_EQ(RunList({Line("slow", 0, path), Line("next", 0, "/plain.txt")}, run), 0);
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(4));
        EXPECT_EQ(Stored("next"), "OLD");
        EXPECT_EQ(run.failures, (std::vector<std::string>{
                                    reason, "(Ot)next: not requested: 127.0.0.1:" + port
                                                + " could not be reached earlier in this run"}));
    }
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
    std::string reason;
    EXPECT_TRUE(DownloadSingleFile(server_.Url("/names.zip"), updateFolder_, "qv.zip", reason));
    EXPECT_EQ(ReadFile(updateFolder_ + "qv.zip"), "any bytes at all");
    EXPECT_FALSE(DownloadSingleFile(server_.Url("/truncated/plain.txt"), updateFolder_, "qv.zip", reason));
    EXPECT_FALSE(DownloadSingleFile(server_.Url("/status/404"), updateFolder_, "qv.zip", reason));
    EXPECT_EQ(reason, "the server answered HTTP 404");
    EXPECT_EQ(ReadFile(updateFolder_ + "qv.zip"), "any bytes at all");

    DownloadConfig().connected = [] { return false; };
    EXPECT_FALSE(DownloadSingleFile(server_.Url("/names.zip"), updateFolder_, "qv.zip", reason));
    EXPECT_EQ(reason, "No Internet Connection");
    // The caller tells the user, once.
    EXPECT_TRUE(Messages().empty());
    DownloadRun run;
    EXPECT_EQ(RunList({Line("plain", 0, "/plain.txt")}, run), 0);
    EXPECT_TRUE(run.toldUser);
    EXPECT_EQ(run.notice, "Failed to Connect to The INTERNET");
    EXPECT_TRUE(Messages().empty());
}
