#include "engine/downloads/auto_download.h"

#include "engine/downloads/download_run.h"
#include "engine/downloads/download_settings.h"
#include "engine/files/download_list.h"
#include "engine/files/internet_info.h"
#include "engine/text/text_format.h"
#include "engine/runtime/program_state.h"
#include "engine/runtime/ui_hooks.h"

#include <cstdlib>
#include <optional>

namespace {

void Post(const std::function<void()> &call)
{
    if (call)
        PostToUiThread(call);
}

// Whole milliseconds between two day counts, so that exactly one period
// reads as one period.
long long MillisecondsBetween(double a, double b)
{
    return std::llabs(InstantToMilliseconds(a) - InstantToMilliseconds(b));
}

} // namespace

void AutoDownloadThreadProc(AutoDownloadInputs inputs)
{
    const DownloadSettings settings = DownloadConfig();
    std::vector<std::string> lines;
    web_t web;
    // Without a list there is nothing to fetch, and nothing to tell.
    if (LoadDownloadList(lines) != ReadStatus::Ok || !LoadInternetInfo(web)) {
        EndWorkerThread(AutoDownloadTaskTag, &DownloadRunning);
        return;
    }
    const double now = settings.localNow();
    const long long period = static_cast<long long>(web.period) * 3600000;
    if (MillisecondsBetween(now, web.time) >= period) {
        Post(inputs.links.begin);
        DownloadRun run;
        run.updateFolder = inputs.updateFolder;
        run.progress = inputs.links.progress;
        run.mainList = std::move(inputs.mainList);
        int stored = 0;
        try {
            stored = DownloadEntries(lines, web, run);
        } catch (...) {
            // The windows come back even when the run fails on the way.
            if (inputs.links.end)
                PostToUiThread([end = inputs.links.end] { end({}); });
            throw;
        }
        std::optional<UserMessage> saveFailure;
        if (stored > 0) {
            web.time = settings.localNow();
            web.downloaded = true;
            std::string error;
            if (!SaveInternetInfo(web, &error))
                saveFailure = UserMessage{error, "Download Error", MessageKind::Error};
        }
        std::optional<UserMessage> closing;
        if (run.stopped || run.toldUser || DownloadStop) {
            // Stopped by the user or the program's close, or ended early with a notice of its own.
        } else if (stored <= 0) {
            closing = UserMessage{"Download Failed - File or Download ERROR", "Download Error", MessageKind::Error};
        } else if (run.unpackFailures > 0) {
            closing = UserMessage{"Unzip Error - " + std::to_string(run.unpackFailures) + " File(s) Failed", "UNZip",
                                  MessageKind::Error};
        }
        PostToUiThread([end = inputs.links.end, run = std::move(run), saveFailure, closing] {
            std::vector<UserMessage> messages = CloseDownloadRun(run, closing);
            if (saveFailure)
                messages.insert(messages.begin(), *saveFailure);
            if (end)
                end(messages);
        });
    }
    EndWorkerThread(AutoDownloadTaskTag, &DownloadRunning);
}
