// A download run: the selected entries of the download list fetched, checked,
// unpacked and stored in the update folder; and the single-file download.
#pragma once

#include "engine/files/internet_info.h"
#include "engine/runtime/ui_hooks.h"
#include "engine/satellites/satellite_record.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// What a run needs besides the list and the settings, and what it reports
// besides the count. The caller fills it when the run's task starts.
struct DownloadRun {
    // The folder results are stored in, ending with '/'.
    std::string updateFolder;
    // Receives the progress texts, handed to the user-interface thread.
    std::function<void(const std::string &)> progress;
    // A copy of MainList taken when the task started. With web.updatemain
    // the run brings it up to date from the update folder, whether or not
    // it stored anything (mainListUpdated, with the sets it left out for
    // their future dates); CloseDownloadRun hands it to MainList.
    std::optional<tlearray> mainList;
    bool mainListUpdated = false;
    int futureSets = 0;
    // One line per selected entry that was not stored: its item text and why.
    std::vector<std::string> failures;
    // How many of them were fetched but could not be unpacked.
    int unpackFailures = 0;
    // The run ended at DownloadStop before it was through the list.
    bool stopped = false;
    // What the run has to say of itself (no connection, no login to use, a
    // login that failed), empty when nothing. It is not shown while the run
    // goes on, under the progress box, but with the closing message.
    std::string notice;
    // The run ended before any download with a notice of its own: there is
    // nothing more to tell.
    bool toldUser = false;
};

// Fetches the selected entries of lines in order and stores each good
// result as Name + ".tle" in run.updateFolder; returns how many were stored.
// A result is stored only when the transfer was complete, its status 2xx
// and its unpacked text holds element sets and ends with a whole one;
// otherwise the old file stays. The first selected Space-Track entry logs
// the run in with web's user and password; a login that fails for any
// reason fails only the Space-Track entries. A server that answered 403,
// 429 or 5xx, or did not answer in time, gets no further request in this
// run.
int DownloadEntries(const std::vector<std::string> &lines, const web_t &web, DownloadRun &run);

// The failures of a run as the text that follows a final message: its notice,
// then one line per entry not stored; empty when there are none.
std::string FailureReport(const DownloadRun &run);

// On the user-interface thread once the run has ended: the messages that
// close it, in the order they are to be shown after the progress box has
// closed, one box each. closing (the caller's final message, none when there
// is nothing to say) takes the failures; without it the notice stands alone,
// unless the run was stopped. Then the updated main list is handed to
// MainList, and what that says follows.
std::vector<UserMessage> CloseDownloadRun(const DownloadRun &run, std::optional<UserMessage> closing);

// Fetches url into folder + fileName (replaced only by a complete 2xx
// answer within the size limit); false with the reason when it cannot. The
// caller tells the user, in one message with what that failure means.
bool DownloadSingleFile(const std::string &url, const std::string &folder, const std::string &fileName,
                        std::string &reason);
