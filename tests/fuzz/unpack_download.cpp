// Downloads of any content unpacked as text, gzip or zlib, or ZIP (the first
// byte picks the kind): no crash, and never more text than the limit.
#include "engine/downloads/unpack.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    constexpr std::size_t Limit = 1 << 20;
    std::string text, reason;
    const bool ok = UnpackBytes(std::string_view(reinterpret_cast<const char *>(data) + 1, size - 1), data[0] % 3,
                                Limit, text, reason);
    if (ok ? (text.size() > Limit || !reason.empty()) : (!text.empty() || reason.empty()))
        std::abort();
    return 0;
}
