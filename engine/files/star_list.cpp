#include "engine/files/star_list.h"

#include "engine/astronomy/constants.h"
#include "engine/files/data_files.h"
#include "engine/files/string_lists.h"

namespace {

double ColumnDegreesInRadians(std::string_view line, std::size_t first, std::size_t count)
{
    double degrees = 0.0;
    if (!ParseDecimal(TextColumns(line, first, count), degrees))
        degrees = 0.0;
    return DegToRad(degrees);
}

} // namespace

StarListEntry ReadStarLine(std::string_view line)
{
    return {std::string(TrimText(TextColumns(line, 38, 20))), std::string(TextColumns(line, 27, 9)),
            std::string(TextColumns(line, 22, 5)), ColumnDegreesInRadians(line, 1, 9),
            ColumnDegreesInRadians(line, 11, 10)};
}

bool ReadStarList(const std::string &path, std::vector<StarListEntry> &stars, std::string *error)
{
    stars.clear();
    std::string bytes;
    if (!ReadRequiredFile(path, "star list", bytes, error, SmallFileLimit))
        return false;
    for (const std::string &line : SplitTextLines(bytes)) {
        if (!TrimText(line).empty())
            stars.push_back(ReadStarLine(line));
    }
    if (stars.empty() && error)
        *error = "The star list \"" + path + "\" holds no star.";
    return !stars.empty();
}
