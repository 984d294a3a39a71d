// "dwnlist.dat" of any content: every line reads as an entry or as a kept
// line without one, and storing a check state changes field 0 only.
#include "engine/files/data_files.h"
#include "engine/files/download_list.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    bool checked = size > 0 && (data[0] & 1);
    for (std::string line : SplitTextLines(std::string_view(reinterpret_cast<const char *>(data), size))) {
        DownloadEntry before, after;
        const bool entry = ParseDownloadEntry(line, before);
        const std::string original = line;
        StoreCheckState(line, checked);
        if (!entry) {
            if (line != original)
                std::abort();
            continue;
        }
        if (!ParseDownloadEntry(line, after) || after.Selected != checked || after.Kind != before.Kind
            || after.Tag != before.Tag || after.Name != before.Name || after.Link != before.Link)
            std::abort();
        IsPlainFileName(before.Name);
        checked = !checked;
    }
    return 0;
}
