#include "engine/runtime/worker_tasks.h"

#include <cstdint>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <system_error>
#include <thread>

#include "engine/runtime/ui_hooks.h"

namespace {

struct WorkerState {
    ThreadTag startTag = 0;
    RunningFlag *running = nullptr;
    bool ended = false; // EndWorkerThread was called
    int exitCode = 0;
    std::promise<int> exit;
};

// The task the calling thread runs, so EndWorkerThread can record its exit.
thread_local WorkerState *CurrentWorker = nullptr;

int ExitCodeOf(ThreadTag tag) { return static_cast<std::uint16_t>(tag); }

void RunWorker(WorkerState &state, const std::function<void()> &procedure)
{
    CurrentWorker = &state;
    try {
        procedure();
    } catch (...) {
        // A failed task ends like one that returned early; the program
        // carries on and the owner may start the work again.
        ShowUserMessage(TaskFailureText(state.startTag), "KYT", MessageKind::Error);
    }
    CurrentWorker = nullptr;
    if (!state.ended) {
        if (state.running)
            state.running->store(false);
        state.exitCode = ExitCodeOf(state.startTag);
    }
    state.exit.set_value(state.exitCode);
}

} // namespace

WorkerHandle StartWorkerThread(ThreadTag tag, std::function<void()> procedure, RunningFlag *running)
{
    if (running) {
        bool idle = false;
        if (!running->compare_exchange_strong(idle, true))
            return {};
    }
    auto state = std::make_shared<WorkerState>();
    state->startTag = tag;
    state->running = running;
    WorkerHandle handle{state->exit.get_future().share()};
    try {
        std::thread([state, procedure = std::move(procedure)] { RunWorker(*state, procedure); }).detach();
    } catch (const std::system_error &) {
        // No thread could be made: the work never ran, so it is not running.
        if (running)
            running->store(false);
        return {};
    }
    return handle;
}

void EndWorkerThread(ThreadTag tag, RunningFlag *running)
{
    if (running)
        running->store(false);
    if (CurrentWorker) {
        CurrentWorker->ended = true;
        CurrentWorker->exitCode = ExitCodeOf(tag);
    }
}

std::string TaskFailureText(ThreadTag tag)
{
    std::string why = "an unknown error";
    try {
        throw;
    } catch (const std::bad_alloc &) {
        why = "not enough memory";
    } catch (const std::exception &failure) {
        why = failure.what();
    } catch (...) {
    }
    return "Task " + std::to_string(tag) + " could not finish (" + why + "); its work was abandoned.";
}

void PostToUiThread(std::function<void()> call)
{
    const auto &runOnUiThread = Hooks().runOnUiThread;
    if (runOnUiThread)
        runOnUiThread(std::move(call));
    else
        call();
}
