// Any text as a place list and as a star list: no read past a line, a place
// that reads has its coordinates in range and writes back to the fields it
// was read from, and a star's angles are finite.
#include "engine/files/data_files.h"
#include "engine/files/location_files.h"
#include "engine/files/star_list.h"
#include "engine/files/string_lists.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

// Within its width and not starting with a stray UTF-8 continuation byte
// (which a column boundary reads as part of the character before it).
bool Fits(const std::string &field, std::size_t width)
{
    return CountCharacters(field) <= width &&
           (field.empty() || (static_cast<unsigned char>(field[0]) & 0xC0) != 0x80);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    for (const std::string &line : SplitTextLines(text)) {
        LocationFields fields;
        double latitude = 0.0, longitude = 0.0;
        if (ReadLocationPlace(line, fields, latitude, longitude)) {
            if (!LatitudeInRange(latitude) || !LongitudeInRange(longitude))
                std::abort();
            if (Fits(fields.name, LocationNameWidth) && Fits(fields.latitude, 10) &&
                Fits(fields.longitude, 10) && Fits(fields.zone, 50)) {
                const LocationFields again = SplitLocationLine(FormatLocationLine(fields));
                if (again.name != fields.name || again.latitude != fields.latitude ||
                    again.longitude != fields.longitude || again.zone != fields.zone)
                    std::abort();
            }
        }
        const StarListEntry star = ReadStarLine(line);
        if (!std::isfinite(star.rightAscension) || !std::isfinite(star.declination))
            std::abort();
    }
    return 0;
}
