#include "engine/files/location_files.h"

#include "engine/files/string_lists.h"
#include "engine/text/text_fields.h"
#include "engine/text/text_format.h"

#include <algorithm>

namespace {

std::string Column(std::string_view line, std::size_t first, std::size_t count)
{
    return std::string(TrimText(TextColumns(line, first, count)));
}

} // namespace

LocationFields SplitLocationLine(std::string_view line)
{
    return {LocationName(line), Column(line, 31, 10), Column(line, 41, 10), Column(line, 61, 50)};
}

std::string LocationName(std::string_view line)
{
    return Column(line, 1, LocationNameWidth);
}

std::string FormatLocationLine(const LocationFields &fields)
{
    return FormatReport("%0:-30s%1:10s%2:10s%3:10s%4:50s%5:10s",
                        {TrimText(fields.name), TrimText(fields.latitude), TrimText(fields.longitude),
                         "0.00", TrimText(fields.zone), "2"});
}

bool LatitudeInRange(double degrees)
{
    return degrees >= -90.0 && degrees <= 90.0;
}

bool LongitudeInRange(double degrees)
{
    return degrees >= -180.0 && degrees <= 180.0;
}

bool ReadLocationPlace(std::string_view line, LocationFields &fields, double &latitude,
                       double &longitude)
{
    LocationFields read = SplitLocationLine(line);
    double lat = 0.0, lon = 0.0;
    if (!ParseDecimal(read.latitude, lat) || !LatitudeInRange(lat) ||
        !ParseDecimal(read.longitude, lon) || !LongitudeInRange(lon))
        return false;
    fields = std::move(read);
    latitude = lat;
    longitude = lon;
    return true;
}

void SortLocationLines(std::vector<std::string> &lines)
{
    std::stable_sort(lines.begin(), lines.end(), [](const std::string &a, const std::string &b) {
        return CompareTextIgnoreCase(a, b) < 0;
    });
}

ReadStatus ReadLocationLines(const std::string &path, std::vector<std::string> &lines,
                             std::string *error)
{
    lines.clear();
    std::string bytes;
    const ReadStatus status = ReadWholeFile(path, bytes, error, LargeListLimit);
    if (status != ReadStatus::Ok)
        return status;
    for (std::string &line : SplitTextLines(bytes)) {
        if (!TrimText(line).empty())
            lines.push_back(std::move(line));
    }
    return status;
}

bool SaveLocationLines(const std::string &path, const std::vector<std::string> &lines,
                       std::string *error)
{
    std::string bytes;
    for (const std::string &line : lines)
        bytes.append(line).push_back('\n');
    return SaveFileAtomically(path, bytes, error);
}

ReadStatus ReadTimeZones(const std::string &path, std::vector<TimeZoneEntry> &zones,
                         std::string *error)
{
    zones.clear();
    std::string bytes;
    const ReadStatus status = ReadWholeFile(path, bytes, error, SmallFileLimit);
    if (status != ReadStatus::Ok)
        return status;
    for (const std::string &line : SplitTextLines(bytes)) {
        std::vector<std::string> pieces = SplitString(',', line, true);
        if (pieces.size() >= 2)
            zones.push_back({std::move(pieces[0]), std::move(pieces[1])});
    }
    return status;
}
