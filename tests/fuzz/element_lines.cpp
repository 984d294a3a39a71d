// Arbitrary bytes as a pair of element lines (split at the first newline):
// the checksum and the parser must stay inside their result codes and leave
// the record alone on a format error, and whatever they accept must
// propagate to a finite state or fail with a result code.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "satellite.h"

namespace {

void check_propagation(int result, const Vec4& position, const Vec4& velocity) {
    if (result != 0 && result != -1 && result != -2 && result != -4 && result != -5) std::abort();
    if ((result == 0 || result == -4) && (!std::isfinite(position.w) || !std::isfinite(velocity.w))) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t newline = input.find('\n');
    const std::string line1 = input.substr(0, newline);  // std::string keeps a NUL after each
    const std::string line2 = newline == std::string::npos ? std::string() : input.substr(newline + 1);

    for (const std::string* line : {&line1, &line2}) {
        const int check = tle_checksum(line->c_str());
        if (check < -3 || check > 9) std::abort();
    }

    element_set elements, before;
    std::memset(&elements, 0x5A, sizeof elements);
    before = elements;
    const int result = parse_elements(line1.c_str(), line2.c_str(), &elements);
    if (result < 0) {
        const bool known = result == -104 || (result >= -103 && result <= -101) || (result >= -3 && result <= -1);
        if (!known || std::memcmp(&elements, &before, sizeof elements) != 0) std::abort();
        return 0;
    }
    if (result > 3) std::abort();

    // The program propagates to instants of its own choosing, so a broken
    // epoch reaches the models as a time of any size.
    const double from_epoch = (2460400.5 - elements.epoch) * 1440.0;
    const int choice = select_ephemeris(&elements);
    if (choice < -1 || choice > 1) std::abort();
    Vec4 position, velocity;
    if (choice == 1) {
        sdp4_params params;
        SDP4_init(&params, &elements);
        for (double t : {0.0, 1440.0, -100.0, from_epoch}) check_propagation(SDP4(t, &elements, &params, &position, &velocity), position, velocity);
    } else {
        sgp4_params params;
        SGP4_init(&params, &elements);
        for (double t : {0.0, 1440.0, from_epoch}) check_propagation(SGP4(t, &elements, &params, &position, &velocity), position, velocity);
    }
    return 0;
}
