// The last stage of both models: periodics, Kepler's equation and the
// conversion of the osculating elements into position and velocity.
#include <cmath>

#include "model_constants.h"
#include "model_setup.h"
#include "sin_cos.h"

namespace satellite {

namespace {

void write_length(Vec4* v) { v->w = std::sqrt(v->x * v->x + v->y * v->y + v->z * v->z); }

void zero(Vec4* v) { v->x = v->y = v->z = v->w = 0.0; }

}  // namespace

int propagation_failure(int code, Vec4* position, Vec4* velocity) {
    zero(position);
    if (velocity) zero(velocity);
    return code;
}

int position_velocity(const MeanState& s, Vec4* position, Vec4* velocity) {
    const double a = s.a;
    const double e = s.e;
    const double cosi = s.cosi;
    const double sini = s.sini;
    const double theta2 = cosi * cosi;
    const double x3thm1 = 3.0 * theta2 - 1.0;
    const double x1mth2 = 1.0 - theta2;
    const double x7thm1 = 7.0 * theta2 - 1.0;

    // Long-period periodics.
    const double aycof = 0.001172534860005764 * sini;
    const double xlcof = 0.000586267430002882 * sini * (3.0 + 5.0 * cosi) / (1.0 + cosi);
    const double temp = 1.0 / (a * (1.0 - e * e));
    const double axn = e * std::cos(s.omega);
    const double ayn = e * std::sin(s.omega) + temp * aycof;
    const double xlt = s.xl + temp * xlcof * axn;

    // Written as negated tests so that a NaN anywhere fails instead of
    // passing as an orbit.
    const double elsq = axn * axn + ayn * ayn;
    if (!(elsq <= 0.999999)) return propagation_failure(-1, position, velocity);
    if (!(a >= 0.0)) return propagation_failure(-2, position, velocity);
    int result = 0;
    if ((1.0 - e) * a < 1.0 || (1.0 + e) * a < 1.0) result = -4;

    // Kepler's equation for E + omega.
    const double capu = std::fmod(xlt - s.xnode, kTwoPi);
    const double step_limit = 1.25 * std::fabs(e);
    double epw = capu;
    SinCos sc = sin_cos(capu);
    double ecose = 0.0, esine = 0.0;
    for (int pass = 1;; ++pass) {
        ecose = axn * sc.c + ayn * sc.s;
        esine = axn * sc.s - ayn * sc.c;
        const double f = capu - epw + esine;
        if (std::fabs(f) < 1e-12 || pass == 10) break;
        // First-order step f/D, limited in the first pass; otherwise the
        // second-order step f/(D + esine*(f/D)/2), written with one division.
        // D is positive because the L-eccentricity is below 1.
        const double d = 1.0 - ecose;
        double step;
        if (pass == 1 && f > step_limit * d) {
            step = step_limit;
        } else if (pass == 1 && f < -step_limit * d) {
            step = -step_limit;
        } else {
            step = f * d / (d * d + 0.5 * esine * f);
        }
        epw += step;
        sc = rotate(sc, step);
    }
    const double sinepw = sc.s, cosepw = sc.c;

    // Short-period preliminaries.
    const double omelsq = 1.0 - elsq;
    const double pl = a * omelsq;
    const double r = a * (1.0 - ecose);
    const double invr = 1.0 / r;
    const double rdot = kXke * std::sqrt(a) * esine * invr;
    const double rfdot = kXke * std::sqrt(pl) * invr;
    const double ar = a * invr;
    const double betal = std::sqrt(omelsq);
    const double t3 = 1.0 / (1.0 + betal);
    const double cosu = ar * (cosepw - axn + ayn * esine * t3);
    const double sinu = ar * (sinepw - ayn - axn * esine * t3);
    // The argument of latitude u itself is only needed through its sine and
    // cosine, so (sinu, cosu) is normalised instead of taking atan2.
    const double inv_norm = 1.0 / std::sqrt(sinu * sinu + cosu * cosu);
    const double sin2u = 2.0 * sinu * cosu;
    const double cos2u = 2.0 * cosu * cosu - 1.0;
    const double invpl = 1.0 / pl;
    const double temp1 = kCk2 * invpl;
    const double temp2 = temp1 * invpl;

    // Short-period periodics.
    const double rk = r * (1.0 - 1.5 * temp2 * betal * x3thm1) + 0.5 * temp1 * x1mth2 * cos2u;
    const SinCos uk = rotate({sinu * inv_norm, cosu * inv_norm}, -0.25 * temp2 * x7thm1 * sin2u);
    const double xnodek = s.xnode + 1.5 * temp2 * cosi * sin2u;
    const SinCos ik = rotate({sini, cosi}, 1.5 * temp2 * cosi * sini * cos2u);

    // Orientation vectors.
    const double sinuk = uk.s, cosuk = uk.c;
    const double sinik = ik.s, cosik = ik.c;
    const double sinnok = std::sin(xnodek), cosnok = std::cos(xnodek);
    const double xmx = -sinnok * cosik;
    const double xmy = cosnok * cosik;
    const double ux = xmx * sinuk + cosnok * cosuk;
    const double uy = xmy * sinuk + sinnok * cosuk;
    const double uz = sinik * sinuk;

    Vec4 p{rk * ux * kXkmper, rk * uy * kXkmper, rk * uz * kXkmper, 0.0};
    write_length(&p);
    Vec4 v{0.0, 0.0, 0.0, 0.0};
    if (velocity) {
        const double xn = kXke / (a * std::sqrt(a));
        const double rdotk = rdot - xn * temp1 * x1mth2 * sin2u;
        const double rfdotk = rfdot + xn * temp1 * (x1mth2 * cos2u + 1.5 * x3thm1);
        const double vx = xmx * cosuk - cosnok * sinuk;
        const double vy = xmy * cosuk - sinnok * sinuk;
        const double vz = sinik * cosuk;
        const double scale = kXkmper * 0.016666666667;  // Earth radii per minute to km/s
        v = Vec4{(rdotk * ux + rfdotk * vx) * scale, (rdotk * uy + rfdotk * vy) * scale,
                 (rdotk * uz + rfdotk * vz) * scale, 0.0};
        write_length(&v);
    }
    // A state that overflowed or lost its meaning is no orbit.
    if (!std::isfinite(p.w) || (velocity && !std::isfinite(v.w))) return propagation_failure(-2, position, velocity);
    *position = p;
    if (velocity) *velocity = v;
    return result;
}

}  // namespace satellite
