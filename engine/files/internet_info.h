// The internet settings "InternetInfo.ini" in the data folder: the
// Space-Track login, the automatic download period, whether the main set is
// brought up to date after a download, and when the last download was.
#pragma once

#include <cstdint>
#include <string>

struct web_t {
    std::string user;
    // Kept as typed; the file that stores it is readable by its owner only.
    std::string password;
    std::int32_t period = 24;  // hours between automatic downloads
    bool updatemain = false;   // update the main set after a download
    double time = 0.0;         // last successful download, a day count on the local clock
};

// The computer's local clock as a day count since 1899-12-30.
double LocalClockDayCount();

// Reads DataDir + "InternetInfo.ini" into web. A key that is missing or does
// not read keeps its default (time: the local clock now); values lose their
// surrounding blanks, so a stored single blank reads as empty. A missing
// file is created at once with those values. False, with a message, when the
// file exists but cannot be read, or cannot be created.
bool LoadInternetInfo(web_t &web, std::string *error = nullptr);

// Writes the five keys of web into the file's "InternetInfo" section; every
// other line of the file stays as it was. The file is always rw------- (it
// holds the password in plain text).
bool SaveInternetInfo(const web_t &web, std::string *error = nullptr);
