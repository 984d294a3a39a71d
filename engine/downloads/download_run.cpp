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

void ShowProgress(const DownloadRun &run, std::string text)
{
    if (run.progress)
        PostToUiThread([progress = run.progress, text = std::move(text)] { progress(text); });
}

// The server part of a link, as the run tells servers apart: the host, with
// the port when the link names one.
std::string ServerOf(const std::string &host, const std::string &port)
{
    return port.empty() ? host : host + ":" + port;
}

// Whether the whole answer came: its last non-blank line is the second line
// of its last element set. An answer cut short (a server that closed early
// and sent no length to check) ends inside a line or between the lines of
// a set.
bool EndsWithWholeSet(std::string_view text, const ElementList &sets)
{
    std::string_view last;
    ForEachTextLine(text, [&](std::string_view line) {
        if (!TrimText(line).empty())
            last = line;
    });
    return !sets.empty() && TrimText(last) == sets.back().Line2.str();
}

// What the user is told of a login that failed for reason.
std::string LoginMessage(LoginResult result, const std::string &reason)
{
    const std::string skipped = "\n\nThe \"(ST)\" entries are not downloaded in this run; ";
    if (result == LoginResult::Refused)
        return "Space-Track Login Failed - Check Username or Password";
    if (result == LoginResult::Failed)
        return "Space-Track Login Failed - " + reason + skipped + "try again later.";
    return "Failed to Connect to The Space-Track or Internet\n\n" + reason + skipped
           + "check the internet connection and try again later.";
}

// The state of one run's download pass.
class EntryPass {
public:
    EntryPass(InternetSession &session, DownloadRun &run) : session_(session), run_(run) {}

    bool loggedIn = false;
    std::string loginFailure = "no Space-Track login";
    int stored = 0;

    void Download(const DownloadEntry &entry)
    {
        ShowProgress(run_, "Download in Progress..." + entry.Name + ".tle");
        std::string reason;
        if (!Fetch(entry, reason))
            run_.failures.push_back(DownloadItemText(entry) + ": " + reason);
    }

    // Asks the server of link nothing more in this run.
    void SkipServer(const std::string &link, const std::string &why)
    {
        std::string scheme, host, port;
        if (SplitWebLink(link, scheme, host, port))
            skipped_.emplace(ServerOf(host, port), why);
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
        if (entry.Tag == SpaceTrackTag && !loggedIn) {
            reason = loginFailure;
            return false;
        }
        const std::string server = ServerOf(host, port);
        if (const auto skipped = skipped_.find(server); skipped != skipped_.end()) {
            reason = "not requested: " + server + " " + skipped->second + " earlier in this run";
            return false;
        }
        FetchResult result;
        if (!HttpDownload(session_, entry.Link, result)) {
            if (result.status == 403 || result.status == 429 || result.status >= 500)
                skipped_.emplace(server, "answered HTTP " + std::to_string(result.status));
            else if (result.unreachable)
                skipped_.emplace(server, "could not be reached");
            reason = result.reason;
            return false;
        }
        std::string text;
        if (!UnpackBytes(result.body, entry.Kind, session_.Settings().maxBytes, text, reason)) {
            if (entry.Kind != DownloadPlainText)
                ++run_.unpackFailures;
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
        if (!EndsWithWholeSet(text, sets)) {
            reason = "the answer is cut short: it ends inside an element set";
            return false;
        }
        if (!SaveFileAtomically(run_.updateFolder + entry.Name + ".tle", text, &reason))
            return false;
        ++stored;
        return true;
    }

    InternetSession &session_;
    DownloadRun &run_;
    // Servers asked nothing more, with what they did.
    std::map<std::string, std::string> skipped_;
};

} // namespace

int DownloadEntries(const std::vector<std::string> &lines, const web_t &web, DownloadRun &run)
{
    run.failures.clear();
    run.unpackFailures = 0;
    run.stopped = false;
    run.toldUser = false;
    const DownloadSettings settings = DownloadConfig();
    std::unique_ptr<InternetSession> session = OpenInternetSession(settings);
    run.notice.clear();
    run.mainListUpdated = false;
    run.futureSets = 0;
    if (!session) {
        run.notice = "Failed to Connect to The INTERNET";
        run.toldUser = true;
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
            run.notice = "Failed - Missing Username or Password\n\nEnter the Space-Track Username and Password, "
                         "or uncheck the \"(ST)\" entries.";
            run.toldUser = true;
            return 0;
        }
        const std::string &link = selected[*login].Link;
        const std::string loginUrl = SpaceTrackLoginUrl(link);
        std::string reason = "the link is no http or https link";
        const LoginResult result = loginUrl.empty()
                                       ? LoginResult::Failed
                                       : SpaceTrackLogin(*session, loginUrl, web.user, web.password, reason);
        pass.loggedIn = result == LoginResult::LoggedIn;
        if (!pass.loggedIn) {
            pass.loginFailure = reason;
            if (result == LoginResult::Unreachable)
                pass.SkipServer(link, "could not be reached");
            run.notice = LoginMessage(result, reason);
        }
    }
    for (const DownloadEntry &entry : selected) {
        if (DownloadStop)
            break;
        pass.Download(entry);
    }
    if (DownloadStop) {
        run.stopped = true;
        return pass.stored;
    }
    if (web.updatemain && run.mainList) {
        ShowProgress(run, "Update in Progress...Updating Main Satellites");
        UpdateElementsFromTleFiles(*run.mainList, run.updateFolder, &run.futureSets);
        run.mainListUpdated = true;
    }
    return pass.stored;
}

std::string FailureReport(const DownloadRun &run)
{
    std::string text;
    for (const std::string &failure : run.failures)
        text += "\n" + failure;
    if (!text.empty())
        text.insert(0, "\n");
    return run.notice.empty() ? text : "\n\n" + run.notice + text;
}

std::vector<UserMessage> CloseDownloadRun(const DownloadRun &run, std::optional<UserMessage> closing)
{
    std::vector<UserMessage> messages;
    if (closing) {
        closing->text += FailureReport(run);
        messages.push_back(std::move(*closing));
    } else if (!run.notice.empty() && !run.stopped) {
        messages.push_back({run.notice, "Connection", MessageKind::Error});
    }
    if (run.mainListUpdated && run.mainList)
        messages.push_back(ApplyUpdatedMainList(*run.mainList, run.futureSets));
    return messages;
}

bool DownloadSingleFile(const std::string &url, const std::string &folder, const std::string &fileName,
                        std::string &reason)
{
    reason.clear();
    std::unique_ptr<InternetSession> session = OpenInternetSession(DownloadConfig());
    std::string scheme, host, port;
    FetchResult result;
    if (!session)
        reason = "No Internet Connection";
    else if (!IsPlainFileName(fileName))
        reason = "the name is no plain file name";
    else if (!SplitWebLink(url, scheme, host, port))
        reason = "the link is no http or https link";
    else if (HttpDownload(*session, url, result))
        SaveFileAtomically(folder + fileName, result.body, &reason);
    else
        reason = result.reason;
    return reason.empty();
}
