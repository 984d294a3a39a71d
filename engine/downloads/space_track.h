// The Space-Track login: the user's identity and password are POSTed as a
// form to the service's login address over HTTPS; the session then carries
// the cookie it answers with, in memory only, to the queries of the run.
#pragma once

#include "engine/downloads/http_session.h"

#include <string>
#include <string_view>

// The login address on the host (and port) of a Space-Track query link:
// "https://" + host[:port] + "/ajaxauth/login". Empty for a link that is no
// http or https link.
std::string SpaceTrackLoginUrl(std::string_view queryLink);

enum class LoginResult {
    LoggedIn,
    Refused,     // the service said user name or password are wrong
    Failed,      // the service answered with an error or a redirect
    Unreachable, // no answer in time, or no connection at all
};

// Logs the session in. The service answers a good login with status 200 and
// the body "" and a refused one with 200 too, so only that body counts.
// The password is posted to loginUrl alone: a redirect fails the login.
// reason says why when it is not LoggedIn.
LoginResult SpaceTrackLogin(InternetSession &session, const std::string &loginUrl, std::string_view user,
                            std::string_view password, std::string &reason);
