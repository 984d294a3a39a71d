// Unpacking of downloads: a zlib or gzip stream (every member of it) or a
// ZIP archive (every file member, joined in archive order).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The text of packed bytes of a DownloadKind: kind 0 is the bytes
// themselves. False, with the reason, for an unknown kind, a damaged or
// truncated stream, an archive without a readable file member, or more than
// maxBytes of text. Member names are never used as paths.
bool UnpackBytes(std::string_view packed, int kind, std::size_t maxBytes, std::string &text,
                 std::string &reason);

// Unpacks the file source (kind 1 or 2) into the file target, which is
// replaced only by a complete result, so its former content survives any
// failure. The source is deleted either way. Any other kind is refused and
// touches nothing.
bool UnpackDownload(const std::string &source, const std::string &target, int kind,
                    std::string *reason = nullptr);
