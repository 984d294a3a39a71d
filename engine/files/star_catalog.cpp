#include "engine/files/star_catalog.h"

#include <cmath>

#include "engine/astronomy/constants.h"

namespace {

// Reads DataDir + fileName whole and parses it; a message names the file.
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

// Places a record's point in the sky: right ascension taken into 0..2 pi (a
// catalogue may give -pi..pi), declination within -pi/2..pi/2. False for a
// value that is not a finite number or a declination beyond the poles.
bool PlaceInSky(double &rightAscension, double declination)
{
    if (!std::isfinite(rightAscension) || !(std::fabs(declination) <= HalfPi))
        return false;
    rightAscension = std::fmod(rightAscension, TwoPi);
    if (rightAscension < 0.0)
        rightAscension += TwoPi;
    return true;
}

bool StarDrawable(StarRecord &star)
{
    return PlaceInSky(star.RightAscension, star.Declination) && star.Magnitude >= BrightestStarMagnitude &&
           star.Magnitude <= FaintestStarMagnitude;
}

bool NamedPointDrawable(StarNameRecord &record)
{
    return record.Name.lengthValid() && PlaceInSky(record.RightAscension, record.Declination);
}

// The whole records of bytes that drawable accepts (and may mend), in file
// order. One record that cannot be drawn costs only itself (for the
// constellations, its line: recordsPerEntry 2); false, with the number
// skipped and why in *error, when any was.
template <class Entry, class Drawable>
bool KeepDrawable(std::string_view bytes, std::vector<Entry> &entries, std::size_t recordsPerEntry,
                  const char *faults, std::string *error, Drawable drawable)
{
    entries = WholeRecords<Entry>(bytes);
    const std::size_t total = entries.size();
    std::size_t kept = 0;
    for (Entry &entry : entries) {
        if (drawable(entry))
            entries[kept++] = entry;
    }
    entries.resize(kept);
    if (kept == total)
        return true;
    if (error)
        *error = std::to_string((total - kept) * recordsPerEntry) + " of " +
                 std::to_string(total * recordsPerEntry) + " records were skipped (" + faults + ").";
    return false;
}

} // namespace

bool ParseStarRecords(std::string_view bytes, std::vector<StarRecord> &stars, std::string *error)
{
    return KeepDrawable(bytes, stars, 1, "no position in the sky or a magnitude outside -2..20", error,
                        StarDrawable);
}

bool ParseStarNameRecords(std::string_view bytes, std::vector<StarNameRecord> &names, std::string *error)
{
    return KeepDrawable(bytes, names, 1, "no position in the sky or a name longer than 23 characters", error,
                        NamedPointDrawable);
}

bool ParseConstellationLines(std::string_view bytes, std::vector<ConstellationLine> &lines, std::string *error)
{
    return KeepDrawable(bytes, lines, 2,
                        "a line whose end has no position in the sky or a name longer than 23 characters", error,
                        [](ConstellationLine &line) {
                            return NamedPointDrawable(line.From) && NamedPointDrawable(line.To);
                        });
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
