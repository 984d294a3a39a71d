#include "engine/downloads/http_session.h"

#include <curl/curl.h>

#include <chrono>
#include <deque>
#include <mutex>

namespace {

using Clock = std::chrono::steady_clock;

// What the callbacks of one transfer share.
struct Transfer {
    const DownloadSettings *settings = nullptr;
    std::string *body = nullptr;
    // Bytes moved so far, sampled at least every 100 ms, oldest first; the
    // first sample is the newest one that lies the low-speed time back.
    std::deque<std::pair<Clock::time_point, curl_off_t>> samples;
    curl_off_t bytes = 0;    // sent and received
    curl_off_t received = 0;
    bool slow = false;
    bool stopped = false;
    bool tooLarge = false;
};

std::size_t WriteBody(char *data, std::size_t size, std::size_t count, void *user)
{
    auto *transfer = static_cast<Transfer *>(user);
    const std::size_t bytes = size * count;
    if (transfer->body->size() + bytes > transfer->settings->maxBytes) {
        transfer->tooLarge = true;
        return 0; // ends the transfer with a write error
    }
    transfer->body->append(data, bytes);
    return bytes;
}

// Whether the transfer must end now: a stop was asked for, or fewer bytes
// than the low-speed limit came over the last low-speed time. Called from
// libcurl's progress callback and between the waits of the transfer loop,
// so either ends a transfer within 100 ms.
bool MustEnd(Transfer &transfer, curl_off_t bytes)
{
    if (DownloadStop) {
        transfer.stopped = true;
        return true;
    }
    const DownloadSettings &settings = *transfer.settings;
    const Clock::time_point now = Clock::now();
    auto &samples = transfer.samples;
    // The counts start again with each request of a redirect.
    if (bytes < transfer.bytes)
        samples.assign(1, {now, bytes});
    transfer.bytes = bytes;
    if (now - samples.back().first >= std::chrono::milliseconds(100))
        samples.emplace_back(now, bytes);
    while (samples.size() > 1 && now - samples[1].first >= settings.lowSpeedTime)
        samples.pop_front();
    const auto span = now - samples.front().first;
    if (span < settings.lowSpeedTime)
        return false;
    const double seconds = std::chrono::duration<double>(span).count();
    transfer.slow = static_cast<double>(bytes - samples.front().second)
                    < static_cast<double>(settings.lowSpeedBytes) * seconds;
    return transfer.slow;
}

int Progress(void *user, curl_off_t, curl_off_t received, curl_off_t, curl_off_t sent)
{
    auto *transfer = static_cast<Transfer *>(user);
    transfer->received = received;
    return MustEnd(*transfer, received + sent) ? 1 : 0;
}

// Runs the transfer of the easy handle on the multi handle, waking at least
// every 100 ms.
CURLcode Perform(CURLM *multi, CURL *curl, Transfer &transfer)
{
    if (curl_multi_add_handle(multi, curl) != CURLM_OK)
        return CURLE_FAILED_INIT;
    CURLcode code = CURLE_ABORTED_BY_CALLBACK;
    int running = 1;
    while (running) {
        if (curl_multi_perform(multi, &running) != CURLM_OK) {
            code = CURLE_FAILED_INIT;
            break;
        }
        if (running == 0 || MustEnd(transfer, transfer.bytes))
            break;
        curl_multi_poll(multi, nullptr, 0, 100, nullptr);
    }
    int left = 0;
    while (CURLMsg *message = curl_multi_info_read(multi, &left))
        if (message->msg == CURLMSG_DONE && message->easy_handle == curl)
            code = message->data.result;
    curl_multi_remove_handle(multi, curl);
    return code;
}

std::string MebibytesText(std::size_t bytes)
{
    if (bytes % (1u << 20) == 0)
        return std::to_string(bytes >> 20) + " MiB";
    return std::to_string(bytes) + " bytes";
}

std::string SecondsText(std::chrono::milliseconds time)
{
    if (time.count() % 1000 == 0)
        return std::to_string(time.count() / 1000) + " s";
    return std::to_string(time.count()) + " ms";
}

} // namespace

InternetSession::InternetSession(const DownloadSettings &settings) : settings_(settings)
{
    static std::once_flag started;
    static bool ready = false;
    std::call_once(started, [] { ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; });
    if (!ready)
        return;
    CURL *curl = curl_easy_init();
    CURLM *multi = curl_multi_init();
    if (!curl || !multi) {
        curl_easy_cleanup(curl);
        curl_multi_cleanup(multi);
        return;
    }
    handle_ = curl;
    multi_ = multi;
    // Options that hold for every request of the session.
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "KYT.exe");
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, static_cast<long>(settings_.maxRedirects));
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(settings_.connectTimeout.count()));
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(settings_.totalTimeout.count()));
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(settings_.maxBytes));
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!settings_.caFile.empty())
        curl_easy_setopt(curl, CURLOPT_CAINFO, settings_.caFile.c_str());
    // Packed downloads are unpacked by the program itself, byte for byte as sent.
    curl_easy_setopt(curl, CURLOPT_HTTP_CONTENT_DECODING, 0L);
    // An empty cookie file turns the cookie engine on without any file: the
    // login's session cookie lives in this handle only.
    curl_easy_setopt(curl, CURLOPT_COOKIEFILE, "");
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, Progress);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, WriteBody);
}

InternetSession::~InternetSession()
{
    if (handle_)
        curl_easy_cleanup(static_cast<CURL *>(handle_));
    if (multi_)
        curl_multi_cleanup(static_cast<CURLM *>(multi_));
}

bool InternetSession::Fetch(const std::string &url, const std::string *form, FetchResult &result)
{
    result = FetchResult{};
    CURL *curl = static_cast<CURL *>(handle_);
    if (!curl) {
        result.reason = "no internet session";
        return false;
    }
    Transfer transfer;
    transfer.settings = &settings_;
    transfer.body = &result.body;
    transfer.samples.emplace_back(Clock::now(), 0);

    char errorText[CURL_ERROR_SIZE] = {};
    curl_slist *headers = curl_slist_append(nullptr, "Cache-Control: no-cache");
    headers = curl_slist_append(headers, "Pragma: no-cache");
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
    // A form carries a password: where it goes is never the server's choice,
    // so its redirects are answers of their own, not followed.
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, form ? 0L : 1L);
    if (form) {
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(form->size()));
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, form->c_str());
    } else {
        curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
    }
    const CURLcode code = Perform(static_cast<CURLM *>(multi_), curl, transfer);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, nullptr);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, nullptr);
    curl_slist_free_all(headers);
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &result.status);
    result.complete = code == CURLE_OK;

    result.unreachable = transfer.slow || code == CURLE_OPERATION_TIMEDOUT || code == CURLE_COULDNT_CONNECT
                         || code == CURLE_COULDNT_RESOLVE_HOST;
    if (transfer.stopped)
        result.reason = "stopped";
    else if (transfer.slow && transfer.received == 0)
        result.reason = "no answer for " + SecondsText(settings_.lowSpeedTime);
    else if (transfer.slow)
        result.reason = "less than " + std::to_string(settings_.lowSpeedBytes) + " bytes/s for "
                        + SecondsText(settings_.lowSpeedTime);
    else if (transfer.tooLarge || code == CURLE_FILESIZE_EXCEEDED)
        result.reason = "larger than " + MebibytesText(settings_.maxBytes);
    else if (code != CURLE_OK)
        result.reason = "transfer failed (curl error " + std::to_string(static_cast<int>(code)) + ": "
                        + (errorText[0] ? std::string(errorText) : std::string(curl_easy_strerror(code)))
                        + ")";
    else if (result.status < 200 || result.status > 299)
        result.reason = "the server answered HTTP " + std::to_string(result.status);
    if (!result.reason.empty())
        result.body.clear();
    return result.reason.empty();
}

std::unique_ptr<InternetSession> OpenInternetSession(const DownloadSettings &settings)
{
    if (!settings.connected || !settings.connected())
        return nullptr;
    auto session = std::make_unique<InternetSession>(settings);
    if (!session->Opened())
        return nullptr;
    return session;
}

bool HttpDownload(InternetSession &session, const std::string &url, FetchResult &result)
{
    return session.Fetch(url, nullptr, result);
}

bool SplitWebLink(std::string_view link, std::string &scheme, std::string &host, std::string &port)
{
    CURLU *parts = curl_url();
    if (!parts)
        return false;
    const std::string text(link);
    bool ok = curl_url_set(parts, CURLUPART_URL, text.c_str(), 0) == CURLUE_OK;
    auto take = [&](CURLUPart part, std::string &out) {
        char *value = nullptr;
        if (curl_url_get(parts, part, &value, 0) != CURLUE_OK)
            return false;
        out = value;
        curl_free(value);
        return true;
    };
    ok = ok && take(CURLUPART_SCHEME, scheme) && take(CURLUPART_HOST, host);
    if (ok && !take(CURLUPART_PORT, port))
        port.clear();
    curl_url_cleanup(parts);
    if (!ok)
        return false;
    for (char &c : scheme)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    for (char &c : host)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return (scheme == "http" || scheme == "https") && !host.empty();
}

std::string FormEncode(std::string_view text)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-'
            || c == '.' || c == '_' || c == '~') {
            encoded += c;
        } else if (c == ' ') {
            encoded += '+';
        } else {
            encoded += '%';
            encoded += Hex[byte >> 4];
            encoded += Hex[byte & 15];
        }
    }
    return encoded;
}
