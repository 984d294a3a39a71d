#include "engine/files/main_set.h"

#include <atomic>
#include <cmath>

#include "engine/files/data_files.h"
#include "engine/files/element_files.h"
#include "engine/satellites/satellite_driver.h"

namespace {

std::atomic<bool> Savable{false};

// No control characters in what the text shows (a length byte beyond the
// field is cut to it where the set is shown, as it always was).
bool Printable(const std::string &text)
{
    for (const char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return false;
    return true;
}

bool FiniteElements(const element_set &e)
{
    for (const double value : {e.epoch, e.ndot2, e.nddot6, e.bstar, e.inclination, e.raan, e.eccentricity,
                               e.arg_perigee, e.mean_anomaly, e.mean_motion})
        if (!std::isfinite(value))
            return false;
    return true;
}

std::string Plural(std::size_t count, const char *word)
{
    return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

} // namespace

bool IsSoundSatRecord(const TleRecord &record)
{
    return FiniteElements(record.Elements) && select_ephemeris(&record.Elements) >= 0 &&
           std::isfinite(record.MeanMotion) && record.MeanMotion > 0.0 && std::isfinite(record.Period) &&
           std::isfinite(record.StdMagnitude) && Printable(record.Name.str()) && Printable(record.Number.str());
}

tlearray SoundSatRecordsFromBytes(std::string_view bytes, std::size_t &dropped)
{
    const std::size_t count = std::min(bytes.size() / sizeof(TleRecord), MaxSatFileRecords);
    tlearray records;
    records.reserve(count);
    dropped = 0;
    for (std::size_t i = 0; i < count; ++i) {
        TleRecord record;
        CopyRecordFromBytes(record, bytes.data() + i * sizeof(TleRecord));
        if (!IsSoundSatRecord(record)) {
            ++dropped;
            continue;
        }
        // The stored work area may come from another build; only the
        // elements are trusted.
        InitSatelliteModel(record);
        records.push_back(record);
    }
    return records;
}

std::string MainSetPath() { return DataDir + "MainSat.bin"; }

MainSetReading ReadMainSetFile()
{
    MainSetReading reading;
    const std::string path = MainSetPath();
    std::string bytes, error;
    const ReadStatus status = ReadWholeFile(path, bytes, &error, MaxSatFileRecords * sizeof(TleRecord));
    if (status == ReadStatus::Missing)
        return reading;
    const std::string keeping = " KYT leaves the file as it is unless you change the set.";
    if (status == ReadStatus::Failed) {
        reading.whole = false;
        reading.problem = "The main satellite set could not be read: " + error + "." + keeping;
        return reading;
    }
    std::size_t dropped = 0;
    reading.records = SoundSatRecordsFromBytes(bytes, dropped);
    std::string damage;
    if (bytes.size() % sizeof(TleRecord) != 0)
        damage = std::to_string(bytes.size()) + " bytes is not a whole number of records";
    if (dropped > 0)
        damage += (damage.empty() ? "" : "; ") + Plural(dropped, "record") + " of " +
                  std::to_string(dropped + reading.records.size()) + " held no satellite and " +
                  (dropped == 1 ? "was" : "were") + " dropped";
    if (!damage.empty()) {
        reading.whole = false;
        reading.problem = "The main satellite set \"" + ResolvePath(path) + "\" is damaged: " + damage + "." + keeping;
    }
    return reading;
}

bool MainSetSavable() { return Savable; }

void SetMainSetSavable(bool savable) { Savable = savable; }

void MainSetChanged() { SetMainSetSavable(true); }
