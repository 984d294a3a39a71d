// Any bytes as each of the three star catalogues: never a read past the
// buffer, and a refused name or constellation file leaves no records.
#include "engine/files/star_catalog.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    std::vector<StarRecord> stars;
    ParseStarRecords(bytes, stars);
    if (stars.size() != size / sizeof(StarRecord))
        std::abort();

    std::vector<StarNameRecord> names;
    std::string error;
    if (ParseStarNameRecords(bytes, names, &error)) {
        for (const StarNameRecord &name : names)
            if (!name.Name.lengthValid())
                std::abort();
    } else if (!names.empty() || error.empty()) {
        std::abort();
    }

    std::vector<ConstellationLine> lines;
    if (!ParseConstellationLines(bytes, lines, &error) && !lines.empty())
        std::abort();
    if (lines.size() > size / sizeof(ConstellationLine))
        std::abort();
    return 0;
}
