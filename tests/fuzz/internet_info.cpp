// "InternetInfo.ini" of any content: the settings read from it, written back
// into it, read again the same; every other line of the text survives.
#include "engine/files/data_files.h"
#include "engine/files/internet_info.h"

#include <cmath>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    web_t web;
    InternetInfoFromText(text, web);
    if (!std::isfinite(web.time))
        std::abort();
    const std::string written = InternetInfoText(text, web);
    web_t back;
    back.time = -1.0;
    InternetInfoFromText(written, back);
    if (back.user != web.user || back.password != web.password || back.period != web.period
        || back.updatemain != web.updatemain || !(std::fabs(back.time - web.time) <= std::fabs(web.time) * 1e-14 + 1e-300))
        std::abort();
    // Writing again changes nothing more.
    if (InternetInfoText(written, back) != InternetInfoText(InternetInfoText(written, back), back))
        std::abort();
    if (SplitTextLines(written).size() < SplitTextLines(text).size())
        std::abort();
    return 0;
}
