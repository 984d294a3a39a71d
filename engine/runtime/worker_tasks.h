// Worker tasks: long work runs on a thread of its own, tied to a task code
// and to a running flag that its owner tests to refuse a second start.
//
// The flag is set before the thread starts and cleared on every way out of
// the task: by EndWorkerThread, by the procedure returning, or by an
// exception leaving it (which the user is told of). Tasks never wait for one
// another and nothing joins them. Results reach the user-interface thread
// through PostToUiThread.
#pragma once

#include <atomic>
#include <functional>
#include <future>
#include <string>
#include <utility>

// Names a task when it starts; its exit code (as a 16-bit value) when it ends.
using ThreadTag = int;
// Set while a run of some work has not ended.
using RunningFlag = std::atomic<bool>;

// What a start hands back. A refused start (flag already set, or no thread
// could be created) has no exit code.
struct WorkerHandle {
    // Becomes ready, with the task's exit code, once the task has ended.
    std::shared_future<int> exitCode;
    bool Started() const { return exitCode.valid(); }
};

// Starts procedure() on a new thread. With a running flag: refused (the flag
// stays set, nothing runs) when the flag is already set, else the flag is
// set before the thread starts.
WorkerHandle StartWorkerThread(ThreadTag tag, std::function<void()> procedure,
                               RunningFlag *running = nullptr);

// Starts procedure(parameter) on a new thread; the task works on its own copy
// of the parameter.
template <class Procedure, class Parameter>
WorkerHandle StartWorkerThread(ThreadTag tag, Procedure procedure, Parameter parameter,
                               RunningFlag *running)
{
    return StartWorkerThread(
        tag,
        std::function<void()>([procedure = std::move(procedure),
                               parameter = std::move(parameter)]() mutable { procedure(parameter); }),
        running);
}

// The worker's last step: clears the running flag (when given) and records
// the tag, as a 16-bit value, as the task's exit code. The worker returns
// right after it. A task that ends without it (early return, exception) has
// its start flag cleared and its start tag as exit code.
void EndWorkerThread(ThreadTag tag, RunningFlag *running = nullptr);

// The user's message for a task that ended by an exception: its code and
// why (not enough memory, or the exception's text). Called inside a catch
// block only.
std::string TaskFailureText(ThreadTag tag);

// Hands a result to the user-interface thread through the queued-call hook;
// without one installed (tests, no program) the call runs at once here.
void PostToUiThread(std::function<void()> call);
