#include "engine/downloads/space_track.h"

#include "engine/files/data_files.h"

std::string SpaceTrackLoginUrl(std::string_view queryLink)
{
    std::string scheme, host, port;
    if (!SplitWebLink(queryLink, scheme, host, port))
        return {};
    if (host.find(':') != std::string::npos && host.front() != '[')
        host = "[" + host + "]"; // an IPv6 address
    return "https://" + host + (port.empty() ? "" : ":" + port) + "/ajaxauth/login";
}

LoginResult SpaceTrackLogin(InternetSession &session, const std::string &loginUrl, std::string_view user,
                            std::string_view password, std::string &reason)
{
    const std::string form = "identity=" + FormEncode(user) + "&password=" + FormEncode(password);
    FetchResult result;
    session.Fetch(loginUrl, &form, result);
    if (!result.complete) {
        reason = result.reason;
        return LoginResult::Unreachable;
    }
    if (result.status == 200) {
        if (TrimText(result.body) == "\"\"")
            return LoginResult::LoggedIn;
        reason = "Space-Track refused the login";
        return LoginResult::Refused;
    }
    reason = "Space-Track answered the login with HTTP " + std::to_string(result.status);
    if (result.status >= 300 && result.status < 400)
        reason += ", a redirect that was not followed";
    return LoginResult::Failed;
}
