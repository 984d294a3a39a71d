// The Space-Track login against a local HTTPS stand-in: the exact form the
// service gets, queries carried by the session cookie, refused and missing
// logins, and certificates checked.
#include "download_fixture.h"

#include "engine/downloads/download_run.h"
#include "engine/files/internet_info.h"

namespace {

const std::string Password = "a&b=c+d%e\"f g";

class SpaceTrackTest : public DownloadTest {
protected:
    void SetUp() override
    {
        DownloadTest::SetUp();
        ServeFile("spacetrack.tle", IssText);
        ServeFile("plain.txt", IssText);
        Serve({.tls = true, .user = "me@x.org", .password = Password});
        web_.user = "me@x.org";
        web_.password = Password;
    }

    std::vector<std::string> Lines() const
    {
        return {Line("plain", 0, "/plain.txt"),
                Line("iss", 0, "/basicspacedata/query/class/gp/NORAD_CAT_ID/25544/format/3le", "(ST)")};
    }

    int RunList(const std::vector<std::string> &lines)
    {
        run_.updateFolder = updateFolder_;
        return DownloadEntries(lines, web_, run_);
    }

    // Whether text occurs in any file under folder.
    static bool AnyFileHolds(const std::filesystem::path &folder, const std::string &text)
    {
        for (const auto &entry : std::filesystem::recursive_directory_iterator(folder))
            if (entry.is_regular_file() && ReadFile(entry.path().string()).find(text) != std::string::npos)
                return true;
        return false;
    }

    web_t web_;
    DownloadRun run_;
};

} // namespace

TEST_F(SpaceTrackTest, LoginSendsTheEncodedFormAndQueriesCarryItsCookieOnly)
{
    ASSERT_TRUE(SaveInternetInfo(web_));
    EXPECT_EQ(RunList(Lines()), 2) << FailureReport(run_);
    EXPECT_EQ(server_.LoginBody(), "identity=me%40x.org&password=a%26b%3Dc%2Bd%25e%22f+g");
    EXPECT_EQ(server_.Requests(),
              (std::vector<std::string>{"POST /ajaxauth/login", "GET /plain.txt",
                                        "GET /basicspacedata/query/class/gp/NORAD_CAT_ID/25544/format/3le"}));
    EXPECT_EQ(Stored("iss"), IssText);
    EXPECT_TRUE(Messages().empty());
    // The password is in the settings file and nowhere else the program wrote.
    std::filesystem::remove(DataDir + "InternetInfo.ini");
    EXPECT_FALSE(AnyFileHolds(root_, Password));
}

TEST_F(SpaceTrackTest, ARefusedLoginFailsOnlyTheQueriesAndSendsNone)
{
    web_.password = "wrong";
    EXPECT_EQ(RunList(Lines()), 1);
    EXPECT_EQ(server_.Requests(), (std::vector<std::string>{"POST /ajaxauth/login", "GET /plain.txt"}));
    ASSERT_EQ(run_.failures.size(), 1u);
    EXPECT_EQ(run_.failures[0], "(ST)iss: Space-Track refused the login");
    // Nothing is shown under the progress box: the login's failure is told in
    // the one box that closes the run, or alone when there is none.
    EXPECT_TRUE(Messages().empty());
    const std::string notice = "Space-Track Login Failed - Check Username or Password";
    const auto closing = CloseDownloadRun(run_, UserMessage{"Downloaded and Processed 1 File(s)", "Download"});
    ASSERT_EQ(closing.size(), 1u);
    EXPECT_EQ(closing[0].text, "Downloaded and Processed 1 File(s)\n\n" + notice + "\n\n(ST)iss: Space-Track refused the login");
    const auto alone = CloseDownloadRun(run_, std::nullopt);
    ASSERT_EQ(alone.size(), 1u);
    EXPECT_EQ(alone[0].caption + ": " + alone[0].text, "Connection: " + notice);
}

TEST_F(SpaceTrackTest, NoPasswordNoRequestAndNoQueryNoLogin)
{
    web_.password = "";
    EXPECT_EQ(RunList(Lines()), 0);
    EXPECT_TRUE(run_.toldUser);
    EXPECT_EQ(run_.notice.rfind("Failed - Missing Username or Password\n\n", 0), 0u);
    EXPECT_TRUE(server_.Requests().empty());

    std::vector<std::string> lines = Lines();
    StoreCheckState(lines[1], false);
    EXPECT_EQ(RunList(lines), 1);
    EXPECT_EQ(server_.Requests(), std::vector<std::string>{"GET /plain.txt"});
}

TEST_F(SpaceTrackTest, AServerNotSignedByATrustedAuthorityIsRefused)
{
    DownloadConfig().caFile = "/etc/ssl/certs/ca-certificates.crt";
    EXPECT_EQ(RunList({Line("plain", 0, "/plain.txt")}), 0);
    ASSERT_EQ(run_.failures.size(), 1u);
    EXPECT_NE(run_.failures[0].find("curl error 60"), std::string::npos) << run_.failures[0];
    EXPECT_EQ(RunList(Lines()), 0);
    EXPECT_EQ(run_.notice.rfind("Failed to Connect to The Space-Track or Internet", 0), 0u);
    EXPECT_TRUE(server_.Requests().empty());
}

TEST_F(SpaceTrackTest, ALoginAnsweredOtherwiseFailsOnlyTheQueriesAndIsPostedNowhereElse)
{
    // Would take the login over plain HTTP, were it followed there.
    LocalHttpServer plain;
    plain.Start(serverRoot_ / "plain", {.user = web_.user, .password = Password});
    for (const std::string &code : std::vector<std::string>{"307", "308", "500"}) {
        SCOPED_TRACE(code);
        ServeFile("login-answer", code + " " + plain.Url("/ajaxauth/login"));
        std::string reason = "Space-Track answered the login with HTTP " + code;
        if (code != "500")
            reason += ", a redirect that was not followed";
        EXPECT_EQ(RunList(Lines()), 1);
        EXPECT_EQ(run_.failures, std::vector<std::string>{"(ST)iss: " + reason});
        EXPECT_EQ(run_.notice, "Space-Track Login Failed - " + reason
                                   + "\n\nThe \"(ST)\" entries are not downloaded in this run; try again later.");
    }
    EXPECT_TRUE(plain.Requests().empty());
}

TEST_F(SpaceTrackTest, ALoginThatGetsNoAnswerFailsOnlyTheQueries)
{
    SilentPort silent;
    DownloadConfig().connectTimeout = std::chrono::seconds(1);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(RunList({Line("plain", 0, "/plain.txt"), "1 0 (ST) iss " + silent.Url("https", "/basicspacedata/x")}), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(Stored("plain"), IssText);
    EXPECT_EQ(run_.notice.rfind("Failed to Connect to The Space-Track or Internet", 0), 0u);
}
