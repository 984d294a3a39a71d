#include "ui/about/version_block.h"

#include "ui/about/version_strings.h"

namespace {

struct VersionEntry {
    std::string_view key;
    std::string_view value;
};

constexpr VersionEntry Block[] = {
    {"CompanyName", "the KYT authors"},
    {"FileDescription", "KYT satellite tracker"},
    {"FileVersion", KytVersion},
    {"InternalName", "KYT"},
    {"LegalCopyright", "Copyright (c) 2026 the KYT authors"},
    {"LegalTradeMarks", ""},
    {"OriginalFilename", "KYT"},
    {"ProductName", "KYT"},
    {"ProductVersion", KytVersion},
    {"Comments", KytCommit},
};

} // namespace

std::string VersionValue(std::string_view key)
{
    for (const VersionEntry &entry : Block) {
        if (entry.key == key)
            return std::string(entry.value);
    }
    return {};
}

std::size_t VersionBlockSize()
{
    std::size_t size = 0;
    for (const VersionEntry &entry : Block)
        size += entry.key.size() + 1 + entry.value.size() + 1;
    return size;
}
