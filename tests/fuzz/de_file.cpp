// DE files with fuzzed pointer tables, spans, record counts, byte orders and
// coefficients, and requests for every body pair at fuzzed dates: a file is
// either refused or evaluated without reading outside it.
//
// Random bytes alone would almost never pass the mass-ratio check or carry
// record dates one span apart, so the input fills a well-formed frame instead:
// byte 0 picks the byte order, whether the record dates are kept right and
// whether one pointer-table entry is overwritten; byte 1 the span, byte 2 the
// record count, then a coefficient count and a split for each of the 13
// series, the overwrite (index and value), two fractions for the dates, and
// coefficient bytes, repeated.
#include "engine/astronomy/de_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

class Writer {
public:
    explicit Writer(bool swap) : swap_(swap) {}
    template <class T> void Put(T value)
    {
        unsigned char b[sizeof(T)];
        std::memcpy(b, &value, sizeof(T));
        if (swap_)
            std::reverse(b, b + sizeof(T));
        bytes.insert(bytes.end(), b, b + sizeof(T));
    }
    std::vector<unsigned char> bytes;

private:
    bool swap_;
};

const std::string &FilePath()
{
    static const std::string path = "/tmp/kyt_fuzz_de_" + std::to_string(::getpid()) + ".423";
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    constexpr std::size_t kFrame = 3 + 13 * 2 + 5;
    if (size < kFrame + 1)
        return 0;
    const bool swap = data[0] & 1;
    const bool rightDates = !(data[0] & 2);
    const double span = 1 + data[1] % 64;
    const int records = 1 + data[2] % 4;

    // Series one after the other, as in real files; the librations take up
    // what a record needs to hold the first header block. Byte 0 bit 2 then
    // lets one fuzzed entry break the table.
    std::int32_t pointers[39];
    int next = 3;
    for (int row = 0; row < 13; ++row) {
        int count = data[3 + 2 * row] % 20, split = data[4 + 2 * row] % 10;
        const int components = row == 11 ? 2 : 3;
        if (row == 12 && next - 1 + count * split * components < 357) {
            split = 1;
            count = std::max(count, (357 - (next - 1) + 2) / 3);
        }
        pointers[3 * row] = next;
        pointers[3 * row + 1] = count;
        pointers[3 * row + 2] = split;
        next += count * split * components;
    }
    const int ncoeff = next - 1;
    if (data[0] & 4)
        pointers[data[29] % 39] = static_cast<std::int16_t>(data[30] | data[31] << 8);
    const double fractions[2] = {data[32] / 255.0, data[33] / 255.0};
    const double start = 2451536.5, end = start + records * span;

    Writer w(swap);
    w.bytes.resize(2652, ' ');
    w.Put(start);
    w.Put(end);
    w.Put(span);
    w.Put<std::int32_t>(156);
    w.Put(149597870.691);
    w.Put(81.30056);
    for (int i = 0; i < 36; ++i)
        w.Put(pointers[i]);
    w.Put<std::int32_t>(405);
    for (int i = 36; i < 39; ++i)
        w.Put(pointers[i]);
    w.bytes.resize(2 * 8 * static_cast<std::size_t>(ncoeff), 0);
    std::size_t at = kFrame;
    for (int k = 0; k < records; ++k) {
        w.Put(rightDates ? start + k * span : start + k * span + data[kFrame]);
        w.Put(start + (k + 1) * span);
        for (int i = 2; i < ncoeff; ++i) {
            w.Put(static_cast<double>(static_cast<std::int8_t>(data[at])) * 1e6);
            at = at + 1 < size ? at + 1 : kFrame;
        }
    }
    std::ofstream(FilePath(), std::ios::binary).write(reinterpret_cast<const char *>(w.bytes.data()), w.bytes.size());

    if (LoadDEFile(FilePath())) {
        const double dates[] = {start, end, start + fractions[0] * (end - start), start + fractions[1] * span};
        for (double jd : dates)
            for (int target = 0; target <= 15; ++target)
                for (int centre = 0; centre <= 15; ++centre) {
                    Vec4 v{};
                    CalcDEBodyPosition(target, centre, v, jd, static_cast<std::uint8_t>(target & 1));
                }
        FreeDEFile();
    }
    return 0;
}
