#include "engine/runtime/ui_hooks.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

class UiHooksTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = Hooks();
        Hooks() = UiHooks{};
        Hooks().showMessage = [this](const std::string &text, const std::string &, MessageKind) {
            shown_.push_back(text);
            return true;
        };
        Hooks().runOnUiThread = [this](std::function<void()> call) { queued_.push_back(std::move(call)); };
    }
    void TearDown() override { Hooks() = saved_; }

    UiHooks saved_;
    std::vector<std::string> shown_;
    std::vector<std::function<void()>> queued_;
};

// A message given on the UI thread is on screen before the caller goes on
// (it may end the program next); one from a worker waits for the UI thread.
TEST_F(UiHooksTest, MessagesShowAtOnceOnTheUiThreadAndAreHandedOverFromWorkers)
{
    Hooks().uiThread = std::this_thread::get_id();
    ShowUserMessage("now", "KYT");
    EXPECT_EQ(shown_, std::vector<std::string>{"now"});
    EXPECT_TRUE(queued_.empty());

    std::thread([] { ShowUserMessage("later", "KYT"); }).join();
    EXPECT_EQ(shown_.size(), 1u);
    ASSERT_EQ(queued_.size(), 1u);
    queued_[0]();
    EXPECT_EQ(shown_, (std::vector<std::string>{"now", "later"}));
}

} // namespace
