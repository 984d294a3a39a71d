// One libcurl routine for every download: a session (one handle, so
// connections and the cookies of a login live for one run, in memory only)
// and GET or form POST requests whose whole answer is kept in memory.
#pragma once

#include "engine/downloads/download_settings.h"

#include <memory>
#include <string>
#include <string_view>

struct FetchResult {
    bool complete = false; // the transfer ended normally, nothing missing
    long status = 0;       // HTTP status of the final answer; 0 when none came
    std::string body;
    std::string reason;    // why this is no good download; empty when it is
    // The server did not answer in time, or its host refused or could not
    // be found: asking it again in the same run would only wait again.
    bool unreachable = false;
    // A complete transfer with a 2xx status.
    bool Good() const { return reason.empty(); }
};

class InternetSession {
public:
    explicit InternetSession(const DownloadSettings &settings);
    ~InternetSession();
    InternetSession(const InternetSession &) = delete;
    InternetSession &operator=(const InternetSession &) = delete;

    bool Opened() const { return handle_ != nullptr; }
    const DownloadSettings &Settings() const { return settings_; }

    // Fetches url: a GET that follows redirects to http and https, or a POST
    // of the form text, which follows none, when form is given. True for a
    // complete transfer with a 2xx status; otherwise result.reason says why.
    // The answer is never taken from a cache nor decoded.
    bool Fetch(const std::string &url, const std::string *form, FetchResult &result);

private:
    void *handle_ = nullptr; // the easy handle: options, cookies
    void *multi_ = nullptr;  // runs its transfers, so a stop is seen at once
    DownloadSettings settings_;
};

// A session when the computer has a network connection and libcurl starts;
// null otherwise (the callers tell the user in their own words).
std::unique_ptr<InternetSession> OpenInternetSession(const DownloadSettings &settings);

// A GET of url into result.
bool HttpDownload(InternetSession &session, const std::string &url, FetchResult &result);

// The parts of an http or https link. False for any other scheme or a link
// libcurl cannot read; host is lower case, port empty when not given.
bool SplitWebLink(std::string_view link, std::string &scheme, std::string &host, std::string &port);

// text encoded as a form value: letters, digits and "-._~" stay, a blank
// becomes '+', every other byte %XX.
std::string FormEncode(std::string_view text);
