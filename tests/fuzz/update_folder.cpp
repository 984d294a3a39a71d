// An update folder's ".tle" file of any content: the update must neither
// crash nor give a satellite an older epoch; name, number and flags stay.
#include "engine/satellites/main_list_update.h"
#include "engine/satellites/satellite_driver.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

const std::string Line1 = "1 25544U 98067A   08264.51782528 -.00002182  00000-0 -11606-4 0  2927";
const std::string Line2 = "2 25544  51.6416 247.4627 0006703 130.5360 325.0288 15.72125391563537";

std::string Folder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "kyt-fuzz-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        std::abort();
    static const std::string made = pattern;
    std::atexit([] { std::filesystem::remove_all(made); });
    return pattern + "/";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const std::string folder = Folder();
    std::ofstream(folder + "input.tle", std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
    tlearray set(2);
    for (TleRecord &record : set) {
        if (ParseSatElements(Line1, Line2, record, true) < 0)
            std::abort();
        InitSatelliteModel(record);
        record.Name.assign("KEPT");
        record.Selected = 1;
    }
    set[0].Number.assign("25544");
    set[1].Number.assign("5");
    const double epoch = set[0].Elements.epoch;
    UpdateElementsFromTleFiles(set, folder);
    for (const TleRecord &record : set) {
        if (record.Name.str() != "KEPT" || record.Selected != 1 || !(record.Elements.epoch >= epoch))
            std::abort();
    }
    if (set[0].Number.str() != "25544" || set[1].Number.str() != "5")
        std::abort();
    return 0;
}
