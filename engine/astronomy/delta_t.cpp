#include "engine/astronomy/delta_t.h"

#include "engine/astronomy/constants.h"

#include <array>
#include <cstdint>

namespace {

// Observed Delta T in 0.01 s, one value every two years from 1620 to 2016.
constexpr std::array<std::int32_t, 199> kDeltaTTable = {
    12400, 11500, 10600, 9800, 9100, 8500, 7900, 7400, 7000, 6500,  // 1620
    6200, 5800, 5500, 5300, 5000, 4800, 4600, 4400, 4200, 4000,     // 1640
    3700, 3500, 3300, 3100, 2800, 2600, 2400, 2200, 2000, 1800,     // 1660
    1600, 1400, 1300, 1200, 1100, 1000, 900, 900, 900, 900,         // 1680
    900, 900, 900, 900, 1000, 1000, 1000, 1000, 1000, 1100,         // 1700
    1100, 1100, 1100, 1100, 1100, 1100, 1100, 1200, 1200, 1200,     // 1720
    1200, 1200, 1300, 1300, 1300, 1300, 1400, 1400, 1400, 1500,     // 1740
    1500, 1500, 1500, 1600, 1600, 1600, 1600, 1600, 1700, 1700,     // 1760
    1700, 1700, 1700, 1700, 1700, 1700, 1600, 1600, 1500, 1400,     // 1780
    1370, 1310, 1270, 1250, 1250, 1250, 1250, 1250, 1250, 1230,     // 1800
    1200, 1140, 1060, 960, 860, 750, 660, 600, 570, 560,            // 1820
    570, 590, 620, 650, 680, 710, 730, 750, 770, 780,               // 1840
    790, 750, 640, 540, 290, 160, -100, -270, -360, -470,           // 1860
    -540, -520, -550, -560, -580, -590, -620, -640, -610, -470,     // 1880
    -270, 0, 260, 540, 770, 1050, 1340, 1600, 1820, 2020,           // 1900
    2120, 2240, 2350, 2390, 2430, 2400, 2390, 2390, 2370, 2400,     // 1920
    2430, 2530, 2620, 2730, 2820, 2910, 3000, 3070, 3140, 3220,     // 1940
    3310, 3400, 3500, 3650, 3830, 4020, 4220, 4450, 4650, 4850,     // 1960
    5050, 5220, 5380, 5490, 5580, 5686, 5831, 5998, 6163, 6297,     // 1980
    6383, 6430, 6457, 6485, 6546, 6607, 6660, 6727, 6840,          // 2000
};

// The last interval interpolated is 2012-2014; later dates continue its
// slope, so the 2016 value only closes the table.
constexpr int kLastInterval = 196;

} // namespace

double CalcDeltaT(double jd)
{
    const double year = (jd - J2000) / DaysPerYear + 2000.0;
    const double c = (year - 2000.0) * 0.01;
    if (year < 948.0)
        return 2715.6 + 573.36 * c + 46.5 * c * c;
    if (year < 1620.0)
        return 50.6 + 67.5 * c + 22.5 * c * c;

    const double d = (year - 1620.0) * 0.5;
    // Capped before the conversion so that far dates (and NaN) stay defined.
    const int k = d < kLastInterval ? static_cast<int>(d) : kLastInterval;
    const double l = d - k;
    double deltaT = (kDeltaTTable[k] + l * (kDeltaTTable[k + 1] - kDeltaTTable[k])) * 0.01;
    if (l > 1.0) {
        const double u = (l - 1.0) * 0.02;  // centuries after 2014
        deltaT += 32.5 * u * u;
    }
    return deltaT;
}
