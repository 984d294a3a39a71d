#include "engine/downloads/download_run.h"

#include "engine/downloads/http_session.h"
#include "engine/downloads/space_track.h"
#include "engine/downloads/unpack.h"
#include "engine/files/data_files.h"
#include "engine/files/download_list.h"
#include "engine/files/element_files.h"
#include "engine/runtime/ui_hooks.h"
#include "engine/runtime/worker_tasks.h"
#include "engine/satellites/main_list_update.h"

#include <map>
#include <optional>

namespace {

// Only so many lines are searched for the Space-Track entry that logs in.
constexpr std::size_t LoginSearchLines = 256;

void Tell(const std::string &text, const std::string &caption)
{
    ShowUserMessage(text, caption, MessageKind::Error);
}

void ShowProgress(const DownloadRun &run, std::string text)
{
    if (run.progress)
        PostToUiThread([progress = run.progress, text = std::move(text)] { progress(text); });
}

bool AskedToStop(long status)
{
    return status == 403 || status == 429 || status >= 500;
}

// The state of one run's download pass.
class EntryPass {
public:
    EntryPass(InternetSession &session, DownloadRun &run) : session_(session), run_(run) {}

    bool loggedIn = false;
    std::string loginFailure = "no Space-Track login";
    int stored = 0;
    int unpackFailures = 0;

    void Download(const DownloadEntry &entry)
    {
        ShowProgress(run_, "Download in Progress..." + entry.Name + ".tle");
        std::string reason;
        if (!Fetch(entry, reason))
            run_.failures.push_back(DownloadItemText(entry) + ": " + reason);
    }

private:
    // Stores the entry's result; false with the reason when it is not stored.
    bool Fetch(const DownloadEntry &entry, std::string &reason)
    {
        std::string scheme, host, port;
        if (!IsPlainFileName(entry.Name)) {
            reason = "the name is no plain file name (letters, digits, '.', '_', '-')";
            return false;
        }
        if (!SplitWebLink(entry.Link, scheme, host, port)) {
            reason = "the link is no http or https link";
            return false;
        }
        if (entry.Kind < DownloadPlainText || entry.Kind > DownloadZipArchive) {
            reason = "unknown kind of download";
            return false;
        }
        if (const auto skipped = stoppedHosts_.find(host); skipped != stoppedHosts_.end()) {
            reason = "not requested: " + host + " answered HTTP " + std::to_string(skipped->second)
                     + " earlier in this run";
            return false;
        }
        if (entry.Tag == SpaceTrackTag && !loggedIn) {
            reason = loginFailure;
            return false;
        }
        FetchResult result;
        if (!HttpDownload(session_, entry.Link, result)) {
            if (AskedToStop(result.status))
                stoppedHosts_.emplace(host, result.status);
            reason = result.reason;
            return false;
        }
        std::string text;
        if (!UnpackBytes(result.body, entry.Kind, session_.Settings().maxBytes, text, reason)) {
            if (entry.Kind != DownloadPlainText)
                ++unpackFailures;
            return false;
        }
        if (text.empty()) {
            reason = "empty answer";
            return false;
        }
        ElementList sets;
        ParseTleText(text, sets);
        if (sets.empty()) {
            reason = "the answer holds no element set";
            return false;
        }
        if (!SaveFileAtomically(run_.updateFolder + entry.Name + ".tle", text, &reason))
            return false;
        ++stored;
        return true;
    }

    InternetSession &session_;
    DownloadRun &run_;
    // Hosts that asked clients to stop, with the status they answered.
    std::map<std::string, long> stoppedHosts_;
};

} // namespace

int DownloadEntries(const std::vector<std::string> &lines, const web_t &web, DownloadRun &run)
{
    run.failures.clear();
    const DownloadSettings settings = DownloadConfig();
    std::unique_ptr<InternetSession> session = OpenInternetSession(settings);
    if (!session) {
        Tell("Failed to Connect to The INTERNET", "Connection");
        return 0;
    }
    std::vector<DownloadEntry> selected;
    std::optional<std::size_t> login; // index in selected of the entry that logs in
    for (std::size_t i = 0; i < lines.size(); ++i) {
        DownloadEntry entry;
        if (!ParseDownloadEntry(lines[i], entry) || !entry.Selected)
            continue;
        if (!login && i < LoginSearchLines && entry.Tag == SpaceTrackTag)
            login = selected.size();
        selected.push_back(std::move(entry));
    }

    EntryPass pass(*session, run);
    if (login) {
        if (TrimText(web.user).empty() || TrimText(web.password).empty()) {
            Tell("Failed - Missing Username or Password", "Connection");
            return 0;
        }
        const std::string loginUrl = SpaceTrackLoginUrl(selected[*login].Link);
        std::string reason = "the link is no http or https link";
        const LoginResult result = loginUrl.empty()
                                       ? LoginResult::Refused
                                       : SpaceTrackLogin(*session, loginUrl, web.user, web.password, reason);
        if (result == LoginResult::Unreachable) {
            if (!DownloadStop)
                Tell("Failed to Connect to The Space-Track or Internet\n\n" + reason, "Connection");
            return 0;
        }
        pass.loggedIn = result == LoginResult::LoggedIn;
        if (!pass.loggedIn) {
            pass.loginFailure = reason;
            Tell("Space-Track Login Failed - Check Username or Password", "Connection");
        }
    }
    for (const DownloadEntry &entry : selected) {
        if (DownloadStop)
            return pass.stored;
        pass.Download(entry);
    }
    if (web.updatemain && run.mainList) {
        ShowProgress(run, "Update in Progress...Updating Main Satellites");
        UpdateElementsFromTleFiles(*run.mainList, run.updateFolder);
        PostToUiThread([updated = *run.mainList] { ApplyUpdatedMainList(updated); });
    }
    if (pass.unpackFailures > 0)
        Tell("Unzip Error - " + std::to_string(pass.unpackFailures)
                 + " File(s) Failed, Check Username or Password Error",
             "UNZip");
    return pass.stored;
}

std::string FailureReport(const DownloadRun &run)
{
    std::string text;
    for (const std::string &failure : run.failures)
        text += "\n" + failure;
    return text.empty() ? text : "\n" + text;
}

bool DownloadSingleFile(const std::string &url, const std::string &folder, const std::string &fileName)
{
    std::unique_ptr<InternetSession> session = OpenInternetSession(DownloadConfig());
    if (!session) {
        Tell("No Internet Connection", "Connection");
        return false;
    }
    std::string scheme, host, port, reason;
    FetchResult result;
    if (!IsPlainFileName(fileName))
        reason = "the name is no plain file name";
    else if (!SplitWebLink(url, scheme, host, port))
        reason = "the link is no http or https link";
    else if (HttpDownload(*session, url, result))
        SaveFileAtomically(folder + fileName, result.body, &reason);
    else
        reason = result.reason;
    if (reason.empty())
        return true;
    if (!DownloadStop)
        Tell("Failed to Download File : \"" + fileName + "\"\n\n" + reason, "Download");
    return false;
}
