// The program's version block: the strings a desktop shows for a program
// file, compiled in because Linux program files carry no such resource.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The keys of the block, in the order the about box lists them.
inline constexpr std::string_view VersionKeys[] = {
    "CompanyName",    "FileDescription", "FileVersion", "InternalName",   "LegalCopyright",
    "LegalTradeMarks", "OriginalFilename", "ProductName", "ProductVersion", "Comments",
};

// The value of key; empty when the block lacks it.
std::string VersionValue(std::string_view key);

// The size of the block in bytes: each key and value with its terminating
// zero byte.
std::size_t VersionBlockSize();
