#include "engine/files/element_files.h"

#include "engine/files/names_file.h"
#include "engine/satellites/satellite_driver.h"
#include "engine/files/string_lists.h"
#include "satellite.h"

#include <algorithm>

namespace {

constexpr std::size_t TleRecordSize = sizeof(TleRecord);

bool IsElementLine(const std::string &line)
{
    return tle_checksum(line.c_str()) >= 0;
}

// Columns first..first+count-1 (counted from 1) of line, as far as it reaches.
std::string_view Columns(std::string_view line, std::size_t first, std::size_t count)
{
    return first - 1 < line.size() ? line.substr(first - 1, count) : std::string_view();
}

// Line 1 and line 2 of one satellite: a damaged line 1 must not pair a
// stray line 2 with the next set's line 1.
bool IsElementPair(const std::string &line1, const std::string &line2)
{
    return line1.starts_with('1') && line2.starts_with('2') && IsElementLine(line1) && IsElementLine(line2) &&
           SameCatalogueNumber(Columns(line1, 3, 5), Columns(line2, 3, 5));
}

// The name of a set from the text before its line 1: over-long or indented
// texts are not names, so the catalogue number stands in.
std::string SetName(std::string_view pending, std::string_view number)
{
    const bool notAName = pending.starts_with("    ") || pending.size() > 25;
    std::string_view name = notAName ? number : pending.substr(0, std::min<std::size_t>(pending.size(), 24));
    name = TrimText(name);
    return std::string(name.substr(0, std::min<std::size_t>(name.size(), 20)));
}

ElementRecord MakeElementRecord(const std::string &line1, const std::string &line2, std::string_view pendingName)
{
    ElementRecord record;
    const std::string_view number = Columns(line1, 3, 5);
    record.Number.assignCut(number);
    record.Name.assignCut(SetName(pendingName, number));
    record.Line1.assignCut(line1);
    record.Line2.assignCut(line2);
    double meanMotion = 1.0;
    record.MeanMotion = ParseDecimal(Columns(line2, 53, 11), meanMotion) ? meanMotion : 1.0;
    record.StdMagnitude = 8.0;
    record.Selected = 0;
    return record;
}

} // namespace

void ParseTleText(std::string_view text, ElementList &list)
{
    // A set takes some 150 bytes of text; one allocation serves most files.
    list.reserve(list.size() + text.size() / 150);
    // The line strings keep their storage from line to line.
    std::string line;
    std::string previous;
    std::string pendingName;
    ForEachTextLine(text, [&](std::string_view raw) {
        line.assign(TrimText(raw));
        if (IsElementPair(previous, line)) {
            list.push_back(MakeElementRecord(previous, line, pendingName));
            previous.clear();
            return;
        }
        // A stray element line (the rest of a damaged set) names nothing.
        std::string_view name = IsElementLine(previous) ? std::string_view() : std::string_view(previous);
        if (name.starts_with("0 "))
            name.remove_prefix(2);
        pendingName.assign(name);
        previous.swap(line);
    });
}

bool LoadTleTextFile(ElementList &list, const std::string &path, std::string *error)
{
    list.clear();
    std::string text;
    if (!ReadRequiredFile(path, "element file", text, error, ElementTextLimit))
        return false;
    ParseTleText(text, list);
    return !list.empty();
}

tlearray SatRecordsFromBytes(std::string_view bytes)
{
    const std::size_t count = std::min(bytes.size() / TleRecordSize, MaxSatFileRecords);
    tlearray array(count);
    for (std::size_t i = 0; i < count; ++i) {
        CopyRecordFromBytes(array[i], bytes.data() + i * TleRecordSize);
        // The stored work area may come from another build or be damaged;
        // only the elements are trusted.
        InitSatelliteModel(array[i]);
    }
    return array;
}

bool LoadSatFile(tlearray &array, const std::string &path, std::string *error)
{
    std::string bytes;
    if (!ReadRequiredFile(path, "satellite file", bytes, error, MaxSatFileRecords * TleRecordSize))
        return false;
    array = SatRecordsFromBytes(bytes);
    return !array.empty();
}

bool SaveSatFile(const tlearray &array, const std::string &path, std::string *error)
{
    if (array.size() > MaxSatFileRecords) {
        if (error)
            *error = "A satellite file holds at most " + std::to_string(MaxSatFileRecords) + " satellites; \"" +
                     path + "\" was not written.";
        return false;
    }
    std::string bytes;
    bytes.reserve(array.size() * TleRecordSize);
    for (const TleRecord &record : array)
        AppendRecordBytes(bytes, record);
    return SaveFileAtomically(path, bytes, error);
}

bool ConvertTleTo3Line(const std::string &path, std::string *error)
{
    std::vector<std::string> names;
    if (!LoadNamesFile(names, error))
        return false;
    ElementList list;
    std::string readError;
    if (!LoadTleTextFile(list, path, &readError)) {
        if (error)
            *error = readError.empty() ? "\"" + path + "\" holds no element sets; it was left as it is." : readError;
        return false;
    }
    std::stable_sort(list.begin(), list.end(),
                     [](const ElementRecord &a, const ElementRecord &b) { return CompareTleItemsByNumber(a, b) < 0; });

    std::string text;
    for (const ElementRecord &record : list) {
        int index = -1;
        const std::string name =
            FindNamesEntry(names, record.Number.str(), index) ? NamesEntryName(names[index]) : record.Name.str();
        text += name + "\r\n" + record.Line1.str() + "\r\n" + record.Line2.str() + "\r\n";
    }
    const std::string resolved = ResolvePath(path);
    if (!SaveFileAtomically(FolderPart(resolved) + "3le_" + FileNamePart(resolved), text, error))
        return false;
    return DeleteDataFile(resolved, error);
}

int CompareTleItemsByName(const ElementRecord &a, const ElementRecord &b)
{
    return CompareTextIgnoreCase(a.Name.str(), b.Name.str());
}

int CompareTleItemsByNumber(const ElementRecord &a, const ElementRecord &b)
{
    return CompareTextIgnoreCase(a.Number.str(), b.Number.str());
}
