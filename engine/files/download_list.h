// The download list "dwnlist.dat" in the data folder: one entry a line, in
// the order of the download window's check list and of the downloads.
#pragma once

#include "engine/files/data_files.h"

#include <string>
#include <string_view>
#include <vector>

// How a download is packed.
enum DownloadKind : int {
    DownloadPlainText = 0,
    DownloadCompressed = 1, // a zlib or gzip stream
    DownloadZipArchive = 2,
};

struct DownloadEntry {
    bool Selected = false; // field 0 is "1"
    int Kind = -1;         // field 1; -1 when it is no decimal number
    std::string Tag;       // "(ST)" a Space-Track query; "(Tv)", "(Qv)", "(Ot)" plain requests
    std::string Name;      // stored as Name + ".tle" in the update folder
    std::string Link;
};

// The tag of Space-Track queries.
inline constexpr std::string_view SpaceTrackTag = "(ST)";

// The entry of one list line: fields split at runs of blanks, quoted parts
// kept whole. False for a line of fewer than five fields; such lines stay in
// the list but are neither shown nor downloaded.
bool ParseDownloadEntry(std::string_view line, DownloadEntry &entry);

// The check-list text of an entry: Tag + Name.
std::string DownloadItemText(const DownloadEntry &entry);

// A new line for the list: unselected, kind 0, the tag in 5 columns, the
// trimmed name in 20, then the trimmed link.
std::string NewDownloadLine(std::string_view tag, std::string_view name, std::string_view link);

// Writes "1" or "0" in place of field 0 of a line, leaving every other
// character where it was. Lines of fewer than five fields are left alone.
void StoreCheckState(std::string &line, bool checked);

// Whether name may become a file name: letters, digits, '.', '_' and '-'
// only, not starting with '.'.
bool IsPlainFileName(std::string_view name);

// Reads the list's lines (any line end). Missing leaves lines empty.
ReadStatus LoadDownloadList(std::vector<std::string> &lines, std::string *error = nullptr);

// Replaces the list by lines, each ended with CR LF.
bool SaveDownloadList(const std::vector<std::string> &lines, std::string *error = nullptr);
