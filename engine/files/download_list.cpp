#include "engine/files/download_list.h"

#include "engine/text/text_fields.h"
#include "engine/text/text_format.h"

#include <charconv>

namespace {

constexpr const char *DownloadListFileName = "dwnlist.dat";

bool IsBlankChar(char c)
{
    return c == ' ' || c == '\t';
}

} // namespace

bool ParseDownloadEntry(std::string_view line, DownloadEntry &entry)
{
    const std::vector<std::string> fields = SplitString(' ', line, true);
    if (fields.size() < 5)
        return false;
    entry.Selected = fields[0] == "1";
    int kind = -1;
    const auto [end, code] = std::from_chars(fields[1].data(), fields[1].data() + fields[1].size(), kind);
    entry.Kind = (code == std::errc() && end == fields[1].data() + fields[1].size()) ? kind : -1;
    entry.Tag = fields[2];
    entry.Name = fields[3];
    entry.Link = fields[4];
    return true;
}

std::string DownloadItemText(const DownloadEntry &entry)
{
    return entry.Tag + entry.Name;
}

std::string NewDownloadLine(std::string_view tag, std::string_view name, std::string_view link)
{
    return FormatReport("0 0  %0:-5s%1:-20s%2:-s", {tag, TrimText(name), TrimText(link)});
}

void StoreCheckState(std::string &line, bool checked)
{
    DownloadEntry entry;
    if (!ParseDownloadEntry(line, entry))
        return;
    // Field 0 as the fields are split: blanks and tabs before it are
    // skipped, it ends at the next blank outside quotes, and tabs at its end
    // are no part of it.
    std::size_t start = 0;
    while (start < line.size() && IsBlankChar(line[start]))
        ++start;
    std::size_t end = start;
    while (end < line.size() && line[end] != ' ') {
        if (line[end] == '"' || line[end] == '\'') {
            const std::size_t close = line.find(line[end], end + 1);
            end = close == std::string::npos ? line.size() : close + 1;
        } else {
            ++end;
        }
    }
    while (end > start && line[end - 1] == '\t')
        --end;
    line.replace(start, end - start, 1, checked ? '1' : '0');
}

bool IsPlainFileName(std::string_view name)
{
    if (name.empty() || name.front() == '.')
        return false;
    for (char c : name) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')
                           || c == '.' || c == '_' || c == '-';
        if (!plain)
            return false;
    }
    return true;
}

ReadStatus LoadDownloadList(std::vector<std::string> &lines, std::string *error)
{
    lines.clear();
    std::string bytes;
    const ReadStatus status = ReadWholeFile(DataDir + DownloadListFileName, bytes, error, SmallFileLimit);
    if (status == ReadStatus::Ok)
        lines = SplitTextLines(bytes);
    return status;
}

bool SaveDownloadList(const std::vector<std::string> &lines, std::string *error)
{
    std::string text;
    for (const std::string &line : lines)
        text += line + "\r\n";
    return SaveFileAtomically(DataDir + DownloadListFileName, text, error);
}
