// An angle carried as its sine and cosine, combined by the angle-sum
// identities where that is cheaper than evaluating new sines and cosines.
#pragma once

#include <cmath>

namespace satellite {

struct SinCos {
    double s, c;
    SinCos operator+(SinCos o) const { return {s * o.c + c * o.s, c * o.c - s * o.s}; }
    SinCos operator-(SinCos o) const { return {s * o.c - c * o.s, c * o.c + s * o.s}; }
};

inline SinCos sin_cos(double x) { return {std::sin(x), std::cos(x)}; }

inline SinCos twice(SinCos a) { return {2.0 * a.s * a.c, a.c * a.c - a.s * a.s}; }

// The angle x + d from x. Kepler's iteration steps, the short-period
// corrections and the deep-space inclination changes are mostly far below
// 0.1 rad, where a few series terms are exact to the last bit and much
// cheaper than a new evaluation.
inline SinCos rotate(SinCos x, double d) {
    if (std::fabs(d) < 0.015625) {
        const double d2 = d * d;
        const double sd = d * (1.0 - d2 * (1.0 / 6.0) * (1.0 - d2 * (1.0 / 20.0) * (1.0 - d2 * (1.0 / 42.0))));
        const double cd =
            1.0 - d2 * 0.5 * (1.0 - d2 * (1.0 / 12.0) * (1.0 - d2 * (1.0 / 30.0) * (1.0 - d2 * (1.0 / 56.0))));
        return x + SinCos{sd, cd};
    }
    return x + sin_cos(d);
}

}  // namespace satellite
