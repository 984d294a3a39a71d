// The automatic download: when it runs by the injected local clock, what
// it keeps of the last download's time, and how it reaches its windows.
#include "download_fixture.h"

#include "engine/downloads/auto_download.h"
#include "engine/files/internet_info.h"
#include "engine/runtime/program_state.h"
#include "engine/satellites/satellite_driver.h"

namespace {

class AutoDownloadTest : public DownloadTest {
protected:
    void SetUp() override
    {
        DownloadTest::SetUp();
        ServeFile("plain.txt", IssText);
        Serve();
        ASSERT_TRUE(SaveDownloadList({Line("plain", 0, "/plain.txt")}));
        web_t web;
        web.time = lastTime_;
        ASSERT_TRUE(SaveInternetInfo(web));
    }

    // Runs the task's procedure here, with the running flag as its start sets it.
    std::vector<std::string> RunTask()
    {
        std::vector<std::string> calls;
        AutoDownloadInputs inputs;
        inputs.updateFolder = updateFolder_;
        inputs.mainList = MainList;
        inputs.links.begin = [&] { calls.push_back("begin"); };
        inputs.links.progress = [&](const std::string &text) { calls.push_back(text); };
        inputs.links.end = [&](const std::vector<UserMessage> &messages) {
            calls.push_back("end");
            for (const UserMessage &message : messages)
                ShowUserMessage(message);
        };
        DownloadRunning = true;
        AutoDownloadThreadProc(inputs);
        EXPECT_FALSE(DownloadRunning);
        return calls;
    }

    double SavedTime()
    {
        web_t web;
        LoadInternetInfo(web);
        return web.time;
    }

    const double lastTime_ = 45000.25;
};

} // namespace

TEST_F(AutoDownloadTest, RunsOnceThePeriodHasPassedEitherWay)
{
    now_ = lastTime_ + 23.9 / 24;
    EXPECT_TRUE(RunTask().empty());
    EXPECT_TRUE(server_.Requests().empty());

    now_ = lastTime_ + 1.0;
    EXPECT_EQ(RunTask(), (std::vector<std::string>{"begin", "Download in Progress...plain.tle", "end"}));
    EXPECT_EQ(Stored("plain"), IssText);
    EXPECT_EQ(SavedTime(), now_);

    // A last download in the future (a clock set back) counts by its distance.
    std::filesystem::remove(updateFolder_ + "plain.tle");
    now_ = SavedTime() - 1.0;
    EXPECT_EQ(RunTask().size(), 3u);
    EXPECT_EQ(Stored("plain"), IssText);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(AutoDownloadTest, AFailedRunKeepsTheTimeAndSaysWhy)
{
    ASSERT_TRUE(SaveDownloadList({Line("plain", 0, "/status/404")}));
    now_ = lastTime_ + 2.0;
    EXPECT_EQ(RunTask().back(), "end");
    EXPECT_EQ(SavedTime(), lastTime_);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Download Error: Download Failed - File or Download ERROR\n\n"
                                                   "(Ot)plain: the server answered HTTP 404"});
}

TEST_F(AutoDownloadTest, TheMainListIsUpdatedEvenWhenNothingWasStored)
{
    const TleRecord old = MakeSatellite(IssLine1, IssLine2);
    MainList = {old};
    MainList[0].Number.assign("25544");
    WriteFile(updateFolder_ + "earlier.tle", "ISS\n" + WithField(IssLine1, 19, "08265.5") + "\n" + IssLine2 + "\n");
    ASSERT_TRUE(SaveDownloadList({Line("plain", 0, "/status/404")}));
    web_t web;
    web.time = lastTime_;
    web.updatemain = true;
    ASSERT_TRUE(SaveInternetInfo(web));
    now_ = lastTime_ + 2.0;
    const auto calls = RunTask();
    const tlearray updated = std::exchange(MainList, {});
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[2], "Update in Progress...Updating Main Satellites");
    ASSERT_EQ(updated.size(), 1u);
    EXPECT_GT(updated[0].Elements.epoch, old.Elements.epoch);
    // Every message waits for the progress box to close: first the run's
    // own, then the update's.
    const auto messages = Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].rfind("Download Error: Download Failed", 0), 0u) << messages[0];
    EXPECT_EQ(messages[1].rfind("Information: Satellites Updated Successfully\n\nThe newest element set is ", 0), 0u)
        << messages[1];
}

TEST_F(AutoDownloadTest, NoListNoRunAndNoMessage)
{
    std::filesystem::remove(DataDir + "dwnlist.dat");
    now_ = lastTime_ + 2.0;
    EXPECT_TRUE(RunTask().empty());
    EXPECT_TRUE(Messages().empty());
}
