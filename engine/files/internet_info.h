// The internet settings "InternetInfo.ini" in the data folder: the
// Space-Track login, the automatic download period, whether the main set is
// brought up to date after a download, and when the last download was.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct web_t {
    std::string user;
    // Kept as typed; the file that stores it is readable by its owner only.
    std::string password;
    std::int32_t period = 24;  // hours between automatic downloads
    bool updatemain = false;   // update the main set after a download
    double time = 0.0;         // last successful download, a day count on the local clock
    // Whether time is a download's: until the first one it is the time the
    // file was made, from which the first automatic download waits a period.
    bool downloaded = false;
};

// The computer's local clock as a day count since 1899-12-30.
double LocalClockDayCount();

// Sets the fields of web whose keys the settings text holds in its
// "InternetInfo" section (the first occurrence of each, names without regard
// to case) and whose values read; the others keep what web holds.
void InternetInfoFromText(std::string_view text, web_t &web);

// The settings text oldText with the keys of web written into its first
// "InternetInfo" section (added when missing); every other line stays.
// Lines end with CR LF.
std::string InternetInfoText(std::string_view oldText, const web_t &web);

// Reads DataDir + "InternetInfo.ini" into web. A key that is missing or does
// not read keeps its default (time: the local clock now); values lose their
// surrounding blanks, so a stored single blank reads as empty. A missing
// file is created at once with those values. False, with a message, when the
// file exists but cannot be read, or cannot be created.
bool LoadInternetInfo(web_t &web, std::string *error = nullptr);

// Whether a and b hold the same settings, the texts compared as the file
// reads them back (without surrounding blanks).
bool SameInternetInfo(const web_t &a, const web_t &b);

// Writes the keys of web into the file's "InternetInfo" section; every
// other line of the file stays as it was. The file is always rw------- (it
// holds the password in plain text).
bool SaveInternetInfo(const web_t &web, std::string *error = nullptr);
