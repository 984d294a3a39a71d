#include "engine/files/star_catalog.h"

#include <cmath>

#include "engine/astronomy/constants.h"

namespace {

// Reads DataDir + fileName whole and parses it; a refusal names the file.
template <class Record, class Parse>
bool LoadCatalogue(const char *fileName, std::vector<Record> &records, std::string *error, Parse parse)
{
    records.clear();
    const std::string path = DataDir + fileName;
    std::string bytes;
    if (!ReadRequiredFile(path, "star catalogue", bytes, error, LargeListLimit))
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

// Right ascension 0..2 pi and declination -pi/2..pi/2: a point of the sky.
bool InSky(double rightAscension, double declination)
{
    return rightAscension >= 0.0 && rightAscension <= TwoPi && std::fabs(declination) <= HalfPi;
}

bool Refuse(std::size_t index, const std::string &fault, std::string *error)
{
    if (error)
        *error = "record " + std::to_string(index + 1) + " " + fault + ". The file is damaged.";
    return false;
}

bool StarValid(const StarRecord &star, std::size_t index, std::string *error)
{
    if (InSky(star.RightAscension, star.Declination) && star.Magnitude >= BrightestStarMagnitude &&
        star.Magnitude <= FaintestStarMagnitude)
        return true;
    return Refuse(index, "has no position in the sky or a magnitude outside -2..20", error);
}

bool NameRecordValid(const StarNameRecord &record, std::size_t index, std::string *error)
{
    if (!record.Name.lengthValid())
        return Refuse(index,
                      "has a name of " + std::to_string(record.Name.length) + " characters; at most " +
                          std::to_string(record.Name.Capacity) + " fit",
                      error);
    if (!InSky(record.RightAscension, record.Declination))
        return Refuse(index, "has no position in the sky", error);
    return true;
}

} // namespace

bool ParseStarRecords(std::string_view bytes, std::vector<StarRecord> &stars, std::string *error)
{
    stars = WholeRecords<StarRecord>(bytes);
    for (std::size_t i = 0; i < stars.size(); ++i) {
        if (!StarValid(stars[i], i, error)) {
            stars.clear();
            return false;
        }
    }
    return true;
}

bool ParseStarNameRecords(std::string_view bytes, std::vector<StarNameRecord> &names, std::string *error)
{
    names = WholeRecords<StarNameRecord>(bytes);
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (!NameRecordValid(names[i], i, error)) {
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
        if (!NameRecordValid(lines[i].From, 2 * i, error) || !NameRecordValid(lines[i].To, 2 * i + 1, error)) {
            lines.clear();
            return false;
        }
    }
    return true;
}

bool LoadStarFile(std::vector<StarRecord> &stars, std::string *error)
{
    return LoadCatalogue(StarFileName, stars, error, ParseStarRecords);
}

bool LoadStarNameFile(std::vector<StarNameRecord> &names, std::string *error)
{
    return LoadCatalogue(StarNameFileName, names, error, ParseStarNameRecords);
}

bool LoadConstellationFile(std::vector<ConstellationLine> &lines, std::string *error)
{
    return LoadCatalogue(ConstellationFileName, lines, error, ParseConstellationLines);
}
