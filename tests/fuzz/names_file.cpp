// A names-and-magnitudes file of any content, looked up by the number in its
// first line: no crash, and a found entry is one of the file's entry lines.
#include "engine/files/data_files.h"
#include "engine/files/names_file.h"
#include "engine/files/string_lists.h"

#include <cmath>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::vector<std::string> lines =
        SplitTextLines(std::string_view(reinterpret_cast<const char *>(data), size));
    const std::string number = lines.empty() ? std::string() : lines[0].substr(0, 5);
    int index = -1;
    if (FindNamesEntry(lines, number, index)) {
        if (index < 0 || static_cast<std::size_t>(index) >= lines.size() || !IsNamesEntry(lines[index]))
            std::abort();
        NamesEntryName(lines[index]);
    }
    if (!std::isfinite(FindStdMagnitude(lines, number)))
        std::abort();
    NamesUpdateLink(lines);
    FindInStringList(number, lines, index);
    return 0;
}
