#include "engine/files/star_catalog.h"

namespace {

// Reads DataDir + fileName whole and parses it; a refusal names the file.
template <class Record, class Parse>
bool LoadCatalogue(const char *fileName, std::vector<Record> &records, std::string *error, Parse parse)
{
    records.clear();
    const std::string path = DataDir + fileName;
    std::string bytes;
    if (!ReadRequiredFile(path, "star catalogue", bytes, error))
        return false;
    std::string reason;
    if (parse(bytes, records, &reason))
        return true;
    if (error)
        *error = "\"" + path + "\": " + reason;
    return false;
}

// The whole records at the start of bytes; a partial one at the end is left.
template <class Record>
std::vector<Record> WholeRecords(std::string_view bytes)
{
    std::vector<Record> records(bytes.size() / sizeof(Record));
    for (std::size_t i = 0; i < records.size(); ++i)
        CopyRecordFromBytes(records[i], bytes.data() + i * sizeof(Record));
    return records;
}

bool NameLengthValid(const StarNameRecord &record, std::size_t index, std::string *error)
{
    if (record.Name.lengthValid())
        return true;
    if (error)
        *error = "record " + std::to_string(index + 1) + " has a name of " +
                 std::to_string(record.Name.length) + " characters; at most " +
                 std::to_string(record.Name.Capacity) + " fit. The file is damaged.";
    return false;
}

} // namespace

void ParseStarRecords(std::string_view bytes, std::vector<StarRecord> &stars)
{
    stars = WholeRecords<StarRecord>(bytes);
}

bool ParseStarNameRecords(std::string_view bytes, std::vector<StarNameRecord> &names, std::string *error)
{
    names = WholeRecords<StarNameRecord>(bytes);
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (!NameLengthValid(names[i], i, error)) {
            names.clear();
            return false;
        }
    }
    return true;
}

bool ParseConstellationLines(std::string_view bytes, std::vector<ConstellationLine> &lines, std::string *error)
{
    lines = WholeRecords<ConstellationLine>(bytes);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!NameLengthValid(lines[i].From, 2 * i, error) || !NameLengthValid(lines[i].To, 2 * i + 1, error)) {
            lines.clear();
            return false;
        }
    }
    return true;
}

bool LoadStarFile(std::vector<StarRecord> &stars, std::string *error)
{
    const auto parse = [](std::string_view bytes, std::vector<StarRecord> &records, std::string *) {
        ParseStarRecords(bytes, records);
        return true; // star records hold no text that could be damaged
    };
    return LoadCatalogue(StarFileName, stars, error, parse);
}

bool LoadStarNameFile(std::vector<StarNameRecord> &names, std::string *error)
{
    return LoadCatalogue(StarNameFileName, names, error, ParseStarNameRecords);
}

bool LoadConstellationFile(std::vector<ConstellationLine> &lines, std::string *error)
{
    return LoadCatalogue(ConstellationFileName, lines, error, ParseConstellationLines);
}
