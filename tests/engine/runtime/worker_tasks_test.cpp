#include <chrono>
#include <functional>
#include <future>
#include <mutex>
#include <new>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "engine/runtime/ui_hooks.h"
#include "engine/runtime/worker_tasks.h"

namespace {

using namespace std::chrono_literals;

int WaitForExit(const WorkerHandle &handle)
{
    EXPECT_EQ(handle.exitCode.wait_for(10s), std::future_status::ready);
    return handle.exitCode.get();
}

TEST(WorkerTasks, FlagIsSetWhileRunningAndClearedAtTheEnd)
{
    RunningFlag running{false};
    std::promise<void> release;
    std::shared_future<void> go = release.get_future().share();
    bool sawFlagSet = false;
    const WorkerHandle handle = StartWorkerThread(
        7,
        [&](int code) {
            sawFlagSet = running.load();
            go.wait();
            EndWorkerThread(code, &running);
        },
        501, &running);
    ASSERT_TRUE(handle.Started());
    EXPECT_TRUE(running.load());

    // A second start of the same work is refused while the first runs.
    bool secondRan = false;
    const WorkerHandle second = StartWorkerThread(8, [&] { secondRan = true; }, &running);
    EXPECT_FALSE(second.Started());
    EXPECT_TRUE(running.load());

    release.set_value();
    EXPECT_EQ(WaitForExit(handle), 501);
    EXPECT_TRUE(sawFlagSet);
    EXPECT_FALSE(running.load());
    EXPECT_FALSE(secondRan);

    // Once ended, the work may start again.
    const WorkerHandle third = StartWorkerThread(9, [] {}, &running);
    ASSERT_TRUE(third.Started());
    EXPECT_EQ(WaitForExit(third), 9);
    EXPECT_FALSE(running.load());
}

TEST(WorkerTasks, EveryWayOutClearsTheFlag)
{
    std::vector<std::string> told;
    Hooks().showMessage = [&told](const std::string &text, const std::string &, MessageKind) {
        told.push_back(text);
        return true;
    };
    RunningFlag running{false};
    // Thrown out of the task: the user is told why the work was abandoned.
    WorkerHandle handle = StartWorkerThread(12, [] { throw std::runtime_error("lost connection"); }, &running);
    ASSERT_TRUE(handle.Started());
    EXPECT_EQ(WaitForExit(handle), 12);
    EXPECT_FALSE(running.load());

    // Something that is not an exception class, and memory running out.
    handle = StartWorkerThread(13, [] { throw 42; }, &running);
    EXPECT_EQ(WaitForExit(handle), 13);
    EXPECT_FALSE(running.load());
    handle = StartWorkerThread(502, [] { throw std::bad_alloc(); }, &running);
    EXPECT_EQ(WaitForExit(handle), 502);
    Hooks().showMessage = nullptr;
    EXPECT_EQ(told, (std::vector<std::string>{
                        "Task 12 could not finish (lost connection); its work was abandoned.",
                        "Task 13 could not finish (an unknown error); its work was abandoned.",
                        "Task 502 could not finish (not enough memory); its work was abandoned."}));

    // An early return without the closing call.
    handle = StartWorkerThread(14, [] {}, &running);
    EXPECT_EQ(WaitForExit(handle), 14);
    EXPECT_FALSE(running.load());
}

TEST(WorkerTasks, ExitCodesAndTasksWithoutFlag)
{
    // The exit code is the closing tag taken as 16 bits.
    WorkerHandle handle = StartWorkerThread(1, [] { EndWorkerThread(70000); });
    EXPECT_EQ(WaitForExit(handle), 70000 & 0xFFFF);

    // Without a flag the task still runs; closing without one touches none.
    RunningFlag other{true};
    std::string copy;
    handle = StartWorkerThread(
        25, [&](const std::string &text) { copy = text; EndWorkerThread(25); }, std::string("elements"), nullptr);
    EXPECT_EQ(WaitForExit(handle), 25);
    EXPECT_EQ(copy, "elements");
    EXPECT_TRUE(other.load());

    // Called from a thread that is no task, the closing call only clears the flag.
    EndWorkerThread(3, &other);
    EXPECT_FALSE(other.load());
}

TEST(WorkerTasks, ResultsReachTheUiThreadThroughTheHook)
{
    // Without a program the hand-over runs at once, on the task's thread.
    int direct = 0;
    WorkerHandle handle = StartWorkerThread(5, [&] { PostToUiThread([&] { direct = 1; }); });
    WaitForExit(handle);
    EXPECT_EQ(direct, 1);

    // With the queued-call hook the result waits for the UI thread.
    std::vector<std::function<void()>> queue;
    std::mutex queueLock;
    Hooks().runOnUiThread = [&](std::function<void()> call) {
        std::lock_guard lock(queueLock);
        queue.push_back(std::move(call));
    };
    const std::thread::id uiThread = std::this_thread::get_id();
    std::thread::id ranOn;
    handle = StartWorkerThread(6, [&] { PostToUiThread([&] { ranOn = std::this_thread::get_id(); }); });
    WaitForExit(handle);
    Hooks().runOnUiThread = nullptr;
    ASSERT_EQ(queue.size(), 1u);
    queue.front()();
    EXPECT_EQ(ranOn, uiThread);
}

} // namespace
