#include "engine/files/internet_info.h"

#include "engine/files/data_files.h"
#include "engine/files/string_lists.h"

#include <array>
#include <charconv>
#include <chrono>
#include <ctime>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr const char *InternetInfoFileName = "InternetInfo.ini";
constexpr std::string_view SectionName = "InternetInfo";
constexpr std::array<std::string_view, 6> Keys = {"user", "password", "period", "time", "updatemain", "downloaded"};

std::string InternetInfoPath()
{
    return DataDir + InternetInfoFileName;
}

// The section named by a line "[name]", or nothing when the line is no section header.
bool SectionHeader(std::string_view line, std::string_view &name)
{
    line = TrimText(line);
    if (line.size() < 2 || line.front() != '[' || line.back() != ']')
        return false;
    name = TrimText(line.substr(1, line.size() - 2));
    return true;
}

// The key and value of a line "key=value" (both trimmed).
bool KeyValue(std::string_view line, std::string_view &key, std::string_view &value)
{
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return false;
    key = TrimText(line.substr(0, equals));
    value = TrimText(line.substr(equals + 1));
    return !key.empty();
}

bool ReadInteger(std::string_view text, std::int32_t &value)
{
    std::int32_t parsed = 0;
    const auto [end, code] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (code != std::errc() || end != text.data() + text.size() || text.empty())
        return false;
    value = parsed;
    return true;
}

// The value texts of the keys, in Keys order.
std::array<std::string, Keys.size()> ValueTexts(const web_t &web)
{
    // 15 significant digits, '.' whatever the locale.
    std::array<char, 64> time{};
    const auto written = std::to_chars(time.data(), time.data() + time.size(), web.time,
                                       std::chars_format::general, 15);
    // A login that is not to be kept is stored as a single blank.
    return {web.user.empty() ? std::string(" ") : web.user,
            web.password.empty() ? std::string(" ") : web.password,
            std::to_string(web.period),
            std::string(time.data(), written.ptr),
            web.updatemain ? "1" : "0",
            web.downloaded ? "1" : "0"};
}

} // namespace

double LocalClockDayCount()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    std::tm local{};
    ::localtime_r(&seconds, &local);
    const double utcMs = static_cast<double>(duration_cast<milliseconds>(now.time_since_epoch()).count());
    // 25569 days lie between 1899-12-30 and 1970-01-01.
    return 25569.0 + (utcMs + static_cast<double>(local.tm_gmtoff) * 1000.0) / 86400000.0;
}

void InternetInfoFromText(std::string_view text, web_t &web)
{
    bool inSection = false;
    std::array<bool, Keys.size()> seen{};
    for (const std::string &line : SplitTextLines(text)) {
        std::string_view name, key, value;
        if (SectionHeader(line, name)) {
            inSection = SameTextIgnoreCase(name, SectionName);
            continue;
        }
        if (!inSection || !KeyValue(line, key, value))
            continue;
        for (std::size_t k = 0; k < Keys.size(); ++k) {
            if (seen[k] || !SameTextIgnoreCase(key, Keys[k]))
                continue;
            seen[k] = true;
            switch (k) {
            case 0: web.user = value; break;
            case 1: web.password = value; break;
            case 2: ReadInteger(value, web.period); break;
            case 3: {
                double time = 0.0;
                if (ParseDecimal(value, time))
                    web.time = time;
                break;
            }
            case 4:
            case 5:
                if (value == "1" || value == "0")
                    (k == 4 ? web.updatemain : web.downloaded) = value == "1";
                break;
            }
        }
    }
}

std::string InternetInfoText(std::string_view oldText, const web_t &web)
{
    std::vector<std::string> lines = SplitTextLines(oldText);
    const std::array<std::string, Keys.size()> values = ValueTexts(web);
    std::array<bool, Keys.size()> written{};

    // The first section of that name takes the keys: each replaces its own
    // line, and keys it lacks follow its last line.
    std::size_t sectionEnd = lines.size();
    bool found = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view name, key, value;
        if (SectionHeader(lines[i], name)) {
            if (found) {
                sectionEnd = i;
                break;
            }
            found = SameTextIgnoreCase(name, SectionName);
            continue;
        }
        if (!found || !KeyValue(lines[i], key, value))
            continue;
        for (std::size_t k = 0; k < Keys.size(); ++k)
            if (!written[k] && SameTextIgnoreCase(key, Keys[k])) {
                lines[i] = std::string(Keys[k]) + "=" + values[k];
                written[k] = true;
            }
    }
    std::vector<std::string> missing;
    if (!found)
        missing.push_back("[" + std::string(SectionName) + "]");
    for (std::size_t k = 0; k < Keys.size(); ++k)
        if (!written[k])
            missing.push_back(std::string(Keys[k]) + "=" + values[k]);
    if (found) {
        // Keys go after the section's last non-empty line, before any blank lines.
        while (sectionEnd > 0 && TrimText(lines[sectionEnd - 1]).empty())
            --sectionEnd;
    }
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(found ? sectionEnd : lines.size()),
                 missing.begin(), missing.end());

    std::string text;
    for (const std::string &line : lines)
        text += line + "\r\n";
    return text;
}

bool LoadInternetInfo(web_t &web, std::string *error)
{
    web = web_t{};
    web.time = LocalClockDayCount();
    std::string bytes;
    const std::string path = ResolvePath(InternetInfoPath());
    switch (ReadWholeFile(path, bytes, error, SmallFileLimit)) {
    case ReadStatus::Missing:
        // The first automatic download then waits a full period.
        return SaveInternetInfo(web, error);
    case ReadStatus::Failed:
        return false;
    case ReadStatus::Ok:
        break;
    }
    // A file left readable by others by an older version or by hand is closed now.
    struct stat info;
    if (::stat(path.c_str(), &info) == 0 && (info.st_mode & 077) != 0)
        ::chmod(path.c_str(), info.st_mode & 0700);

    InternetInfoFromText(bytes, web);
    return true;
}

bool SameInternetInfo(const web_t &a, const web_t &b)
{
    return TrimText(a.user) == TrimText(b.user) && TrimText(a.password) == TrimText(b.password) &&
           a.period == b.period && a.updatemain == b.updatemain && a.time == b.time &&
           a.downloaded == b.downloaded;
}

bool SaveInternetInfo(const web_t &web, std::string *error)
{
    std::string bytes;
    // Writing over a file that could not be read would lose its other lines.
    if (ReadWholeFile(InternetInfoPath(), bytes, error, SmallFileLimit) == ReadStatus::Failed)
        return false;
    const std::string text = InternetInfoText(bytes, web);
    return SaveFileAtomically(InternetInfoPath(), text, error, true);
}
