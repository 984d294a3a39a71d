// The automatic download (task 2): at start-up, once the period since the
// last download has passed, the selected entries of the list are fetched.
#pragma once

#include "engine/runtime/ui_hooks.h"
#include "engine/runtime/worker_tasks.h"
#include "engine/satellites/satellite_record.h"

#include <functional>
#include <string>
#include <vector>

constexpr ThreadTag AutoDownloadTaskTag = 2;

// How a download task reaches its windows. Each call is handed to the
// user-interface thread.
struct DownloadTaskLinks {
    // Shows the progress box and disables the main window.
    std::function<void()> begin;
    // Sets the progress box's label.
    std::function<void(const std::string &)> progress;
    // Hides the progress box, resets its label and enables the main window;
    // then shows the messages that close the run, one after another, each in
    // front of the window that started it.
    std::function<void(const std::vector<UserMessage> &)> end;
};

// What the task takes from the program when it starts.
struct AutoDownloadInputs {
    std::string updateFolder;
    // MainList as it was; updated when the settings ask for it.
    tlearray mainList;
    DownloadTaskLinks links;
};

// The task's procedure, started with DownloadRunning as its running flag:
// reads the list and the internet settings, and when at least `period`
// hours lie between the local clock and the last download (either way),
// runs the download. A run that stores something moves the last download's
// time to now; one that stores nothing says so and keeps it. A run that
// ends with files it could not unpack names them. Every message waits for
// the end, after the progress box.
void AutoDownloadThreadProc(AutoDownloadInputs inputs);
