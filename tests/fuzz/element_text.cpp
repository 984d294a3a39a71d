// Element text of any content: the reader must neither crash nor take a set
// that is not a line 1 followed by a line 2 of the same satellite.
#include "engine/files/element_files.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ElementList list;
    ParseTleText(std::string_view(reinterpret_cast<const char *>(data), size), list);
    for (const ElementRecord &record : list) {
        if (!record.Line1.str().starts_with('1') || !record.Line2.str().starts_with('2') ||
            record.Name.length > 20 || record.Number.length > 5)
            std::abort();
    }
    return 0;
}
