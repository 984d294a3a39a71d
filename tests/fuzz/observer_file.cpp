// "Observer.bin" of any content: the observer loaded has a finite position
// on the Earth and finite geocentric terms.
#include "engine/files/settings.h"

#include <cmath>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ObserverRecord observer{};
    ObserverFromBytes(std::string_view(reinterpret_cast<const char *>(data), size), observer);
    const bool usable = std::isfinite(observer.Latitude) && std::isfinite(observer.Longitude) &&
                        std::isfinite(observer.Height) && std::isfinite(observer.UtcOffset) &&
                        std::isfinite(observer.RhoCosPhi) && std::isfinite(observer.RhoSinPhi) &&
                        observer.Name.lengthValid() && observer.TimeZoneName.lengthValid();
    if (!usable)
        std::abort();
    return 0;
}
