// SDP4: the deep-space model (period 225 minutes or more) with lunar-solar
// perturbations and the one-day and half-day geopotential resonances, and
// the choice between the two models.
//
// SDP4 keeps its integrator state and a cache of the lunar-solar periodics
// in the caller's array, so propagating forward in small steps costs one
// short integration step per call and the periodics are evaluated at most
// once per 30 minutes of model time.
#include <cmath>

#include "model_constants.h"
#include "model_setup.h"
#include "sin_cos.h"

using namespace satellite;

namespace {

// Lunar-solar constants.
constexpr double kZns = 1.19459e-5;
constexpr double kZes = 0.01675;
constexpr double kZnl = 1.5835218e-4;
constexpr double kZel = 0.05490;
constexpr double kC1ss = 2.9864797e-6;
constexpr double kC1l = 4.7968065e-7;
constexpr double kZsinis = 0.39785416;
constexpr double kZcosis = 0.91744867;
constexpr double kZcosgs = 0.1945905;
constexpr double kZsings = -0.98088458;
constexpr double kThdt = 0.0043752690880113;  // Earth rotation, rad/min

// Geopotential resonance constants.
constexpr double kQ22 = 1.7891679e-6;
constexpr double kQ31 = 2.1460748e-6;
constexpr double kQ33 = 2.2123015e-7;
constexpr double kRoot22 = 1.7891679e-6;
constexpr double kRoot32 = 3.7393792e-7;
constexpr double kRoot44 = 7.3636953e-9;
constexpr double kRoot52 = 1.1428639e-7;
constexpr double kRoot54 = 2.1765803e-9;

constexpr double kThreeDegrees = 0.05235987755982988;
constexpr double kStep = 720.0;  // resonance integration step, minutes
// No element set is propagated across more than two centuries (epochs and
// instants lie between 1957 and 2056); a time beyond that comes from a broken
// epoch, and integrating to it in 720-minute steps would never end.
constexpr double kLongestIntegration = 1e8;  // minutes

double reduce_two_pi(double angle) {
    double r = std::fmod(angle, kTwoPi);
    if (r < 0.0) r += kTwoPi;
    return r;
}

// Greenwich mean sidereal angle (IAU 1982) at a Julian date.
double sidereal_angle(double jd) {
    const double f = (jd + 0.5) - std::floor(jd + 0.5);  // UT fraction of the day
    const double t = (jd - f - 2451545.0) / 36525.0;
    double day = (24110.54841 + t * (8640184.812866 + t * (0.093104 - t * 6.2e-6))) / 86400.0 +
                 1.00273790934 * f;
    day = std::fmod(day, 1.0);
    if (day < 0.0) day += 1.0;
    return day * kTwoPi;
}

// The fixed phase angles of the resonance terms.
constexpr SinCos kFasx2{0.130932065016401, 0.9913913426848859};
constexpr SinCos kFasx4x2{-0.49213943048915526, 0.8705163875297294};
constexpr SinCos kFasx6x3{0.9015949901666642, 0.43258117585763334};
constexpr SinCos kG22{-0.49213943048915526, 0.8705163875297294};
constexpr SinCos kG32{0.8148144061638924, 0.5797219018700115};
constexpr SinCos kG44{0.9735057780180799, -0.22866241528815548};
constexpr SinCos kG52{0.8678374012812773, 0.496848311798842};
constexpr SinCos kG54{-0.9548923776153, -0.29695209575316894};

// One perturbing body (Sun or Moon) as seen in the satellite's epoch orbit.
struct Perturber {
    double zcosg, zsing, zcosi, zsini, zcosh, zsinh;
    double cc, zn, ze;
};

// The epoch orbit as the lunar-solar terms need it.
struct EpochOrbit {
    double eq, eqsq, siniq, cosiq, rteqsq, bsq, sinomo, cosomo, xnoi;
};

// Secular rates and periodic coefficients due to one body.
struct BodyTerms {
    double se, si, sl, sgh, sh;
    double e2, e3, i2, i3, l2, l3, l4, gh2, gh3, gh4, h2, h3;
};

BodyTerms body_terms(const Perturber& b, const EpochOrbit& o) {
    const double a1 = b.zcosg * b.zcosh + b.zsing * b.zcosi * b.zsinh;
    const double a3 = -b.zsing * b.zcosh + b.zcosg * b.zcosi * b.zsinh;
    const double a7 = -b.zcosg * b.zsinh + b.zsing * b.zcosi * b.zcosh;
    const double a8 = b.zsing * b.zsini;
    const double a9 = b.zsing * b.zsinh + b.zcosg * b.zcosi * b.zcosh;
    const double a10 = b.zcosg * b.zsini;
    const double a2 = o.cosiq * a7 + o.siniq * a8;
    const double a4 = o.cosiq * a9 + o.siniq * a10;
    const double a5 = -o.siniq * a7 + o.cosiq * a8;
    const double a6 = -o.siniq * a9 + o.cosiq * a10;

    const double x1 = a1 * o.cosomo + a2 * o.sinomo;
    const double x2 = a3 * o.cosomo + a4 * o.sinomo;
    const double x3 = -a1 * o.sinomo + a2 * o.cosomo;
    const double x4 = -a3 * o.sinomo + a4 * o.cosomo;
    const double x5 = a5 * o.sinomo;
    const double x6 = a6 * o.sinomo;
    const double x7 = a5 * o.cosomo;
    const double x8 = a6 * o.cosomo;

    const double eqsq = o.eqsq;
    const double z31 = 12.0 * x1 * x1 - 3.0 * x3 * x3;
    const double z32 = 24.0 * x1 * x2 - 6.0 * x3 * x4;
    const double z33 = 12.0 * x2 * x2 - 3.0 * x4 * x4;
    double z1 = 3.0 * (a1 * a1 + a2 * a2) + z31 * eqsq;
    double z2 = 6.0 * (a1 * a3 + a2 * a4) + z32 * eqsq;
    double z3 = 3.0 * (a3 * a3 + a4 * a4) + z33 * eqsq;
    const double z11 = -6.0 * a1 * a5 + eqsq * (-24.0 * x1 * x7 - 6.0 * x3 * x5);
    const double z12 = -6.0 * (a1 * a6 + a3 * a5) + eqsq * (-24.0 * (x2 * x7 + x1 * x8) - 6.0 * (x3 * x6 + x4 * x5));
    const double z13 = -6.0 * a3 * a6 + eqsq * (-24.0 * x2 * x8 - 6.0 * x4 * x6);
    const double z21 = 6.0 * a2 * a5 + eqsq * (24.0 * x1 * x5 - 6.0 * x3 * x7);
    const double z22 = 6.0 * (a4 * a5 + a2 * a6) + eqsq * (24.0 * (x2 * x5 + x1 * x6) - 6.0 * (x4 * x7 + x3 * x8));
    const double z23 = 6.0 * a4 * a6 + eqsq * (24.0 * x2 * x6 - 6.0 * x4 * x8);
    z1 = z1 + z1 + o.bsq * z31;
    z2 = z2 + z2 + o.bsq * z32;
    z3 = z3 + z3 + o.bsq * z33;

    const double s3 = b.cc * o.xnoi;
    const double s2 = -0.5 * s3 / o.rteqsq;
    const double s4 = s3 * o.rteqsq;
    const double s1 = -15.0 * o.eq * s4;
    const double s5 = x1 * x3 + x2 * x4;
    const double s6 = x2 * x3 + x1 * x4;
    const double s7 = x2 * x4 - x1 * x3;

    BodyTerms t;
    t.se = s1 * b.zn * s5;
    t.si = s2 * b.zn * (z11 + z13);
    t.sl = -b.zn * s3 * (z1 + z3 - 14.0 - 6.0 * eqsq);
    t.sgh = s4 * b.zn * (z31 + z33 - 6.0);
    t.sh = -b.zn * s2 * (z21 + z23);
    t.e2 = 2.0 * s1 * s6;
    t.e3 = 2.0 * s1 * s7;
    t.i2 = 2.0 * s2 * z12;
    t.i3 = 2.0 * s2 * (z13 - z11);
    t.l2 = -2.0 * s3 * z2;
    t.l3 = -2.0 * s3 * (z3 - z1);
    t.l4 = -2.0 * s3 * (-21.0 - 9.0 * eqsq) * b.ze;
    t.gh2 = 2.0 * s4 * z32;
    t.gh3 = 2.0 * s4 * (z33 - z31);
    t.gh4 = -18.0 * s4 * b.ze;
    t.h2 = -2.0 * s2 * z22;
    t.h3 = -2.0 * s2 * (z23 - z21);
    return t;
}

void init_lunar_solar(sdp4_params& p, const element_set& el) {
    const double sinq = std::sin(el.raan);
    const double cosq = std::cos(el.raan);

    // Lunar orbit at epoch; day counts from 1900 January 0.5.
    const double day = el.epoch - 2415020.0;
    const double xnodce = 4.523602 - 9.2422029e-4 * day;
    const double stem = std::sin(xnodce);
    const double ctem = std::cos(xnodce);
    const double zcosil = 0.91375164 - 0.03568096 * ctem;
    const double zsinil = std::sqrt(1.0 - zcosil * zcosil);
    const double zsinhl = 0.089683511 * stem / zsinil;
    const double zcoshl = std::sqrt(1.0 - zsinhl * zsinhl);
    const double gam = 5.8351514 + 0.0019443680 * day;
    const double zx = std::atan2(0.39785416 * stem / zsinil, zcoshl * ctem + 0.91744867 * zsinhl * stem) +
                      gam - xnodce;
    p.zmol = reduce_two_pi(0.228027132 * day - 1.1151842);
    p.zmos = reduce_two_pi(0.017201977 * day + 6.2565837);

    const EpochOrbit orbit{el.eccentricity, p.eosq, p.sinio, p.cosio, p.betao, p.betao2,
                           p.sinomo, p.cosomo, 1.0 / p.xnodp};
    BodyTerms sun = body_terms(
        Perturber{kZcosgs, kZsings, kZcosis, kZsinis, cosq, sinq, kC1ss, kZns, kZes}, orbit);
    BodyTerms moon = body_terms(
        Perturber{std::cos(zx), std::sin(zx), zcosil, zsinil, zcoshl * cosq + zsinhl * sinq,
                  sinq * zcoshl - cosq * zsinhl, kC1l, kZnl, kZel},
        orbit);

    // The node terms lose their meaning for nearly equatorial orbits.
    if (el.inclination < kThreeDegrees) {
        sun.sh = 0.0;
        moon.sh = 0.0;
    }
    const double sun_node = p.sinio != 0.0 ? sun.sh / p.sinio : sun.sh;
    const double moon_node = p.sinio != 0.0 ? moon.sh / p.sinio : moon.sh;
    p.sse = sun.se + moon.se;
    p.ssi = sun.si + moon.si;
    p.ssl = sun.sl + moon.sl;
    p.ssh = sun_node + moon_node;
    p.ssg = sun.sgh - p.cosio * sun_node + moon.sgh - p.cosio * moon_node;

    p.se2 = sun.e2;   p.se3 = sun.e3;
    p.si2 = sun.i2;   p.si3 = sun.i3;
    p.sl2 = sun.l2;   p.sl3 = sun.l3;   p.sl4 = sun.l4;
    p.sgh2 = sun.gh2; p.sgh3 = sun.gh3; p.sgh4 = sun.gh4;
    p.sh2 = sun.h2;   p.sh3 = sun.h3;
    p.ee2 = moon.e2;  p.e3 = moon.e3;
    p.xi2 = moon.i2;  p.xi3 = moon.i3;
    p.xl2 = moon.l2;  p.xl3 = moon.l3;  p.xl4 = moon.l4;
    p.xgh2 = moon.gh2; p.xgh3 = moon.gh3; p.xgh4 = moon.gh4;
    p.xh2 = moon.h2;  p.xh3 = moon.h3;
}

void init_synchronous(sdp4_params& p, const element_set& el) {
    const double eqsq = p.eosq;
    const double cosiq = p.cosio;
    const double siniq = p.sinio;
    const double aqnv = 1.0 / p.aodp;
    const double xnq = p.xnodp;
    const double g200 = 1.0 + eqsq * (-2.5 + 0.8125 * eqsq);
    const double g310 = 1.0 + 2.0 * eqsq;
    const double g300 = 1.0 + eqsq * (-6.0 + 6.60937 * eqsq);
    const double f220 = 0.75 * (1.0 + cosiq) * (1.0 + cosiq);
    const double f311 = 0.9375 * siniq * siniq * (1.0 + 3.0 * cosiq) - 0.75 * (1.0 + cosiq);
    double f330 = 1.0 + cosiq;
    f330 = 1.875 * f330 * f330 * f330;
    const double del1 = 3.0 * xnq * xnq * aqnv * aqnv;
    p.del2 = 2.0 * del1 * f220 * g200 * kQ22;
    p.del3 = 3.0 * del1 * f330 * g300 * kQ33 * aqnv;
    p.del1 = del1 * f311 * g310 * kQ31 * aqnv;
    p.xlamo = el.mean_anomaly + el.raan + el.arg_perigee - p.thgr;
    const double bfact = p.xmdot + p.omgdot + p.xnodot - kThdt + p.ssl + p.ssg + p.ssh;
    p.xfact = bfact - xnq;
}

void init_half_day(sdp4_params& p, const element_set& el) {
    const double eq = el.eccentricity;
    const double eqsq = p.eosq;
    const double eoc = eq * eqsq;
    const double siniq = p.sinio;
    const double cosiq = p.cosio;
    const double cosq2 = p.theta2;
    const double aqnv = 1.0 / p.aodp;
    const double xnq = p.xnodp;

    const double g201 = -0.306 - (eq - 0.64) * 0.440;
    double g211, g310, g322, g410, g422, g520;
    if (eq <= 0.65) {
        g211 = 3.616 - 13.247 * eq + 16.290 * eqsq;
        g310 = -19.302 + 117.390 * eq - 228.419 * eqsq + 156.591 * eoc;
        g322 = -18.9068 + 109.7927 * eq - 214.6334 * eqsq + 146.5816 * eoc;
        g410 = -41.122 + 242.694 * eq - 471.094 * eqsq + 313.953 * eoc;
        g422 = -146.407 + 841.880 * eq - 1629.014 * eqsq + 1083.435 * eoc;
        g520 = -532.114 + 3017.977 * eq - 5740.0 * eqsq + 3708.276 * eoc;
    } else {
        g211 = -72.099 + 331.819 * eq - 508.738 * eqsq + 266.724 * eoc;
        g310 = -346.844 + 1582.851 * eq - 2415.925 * eqsq + 1246.113 * eoc;
        g322 = -342.585 + 1554.908 * eq - 2366.899 * eqsq + 1215.972 * eoc;
        g410 = -1052.797 + 4758.686 * eq - 7193.992 * eqsq + 3651.957 * eoc;
        g422 = -3581.69 + 16178.11 * eq - 24462.77 * eqsq + 12422.52 * eoc;
        if (eq <= 0.715) {
            g520 = 1464.74 - 4664.75 * eq + 3763.64 * eqsq;
        } else {
            g520 = -5149.66 + 29936.92 * eq - 54087.36 * eqsq + 31324.56 * eoc;
        }
    }
    double g533, g521, g532;
    if (eq < 0.7) {
        g533 = -919.2277 + 4988.61 * eq - 9064.77 * eqsq + 5542.21 * eoc;
        g521 = -822.71072 + 4568.6173 * eq - 8491.4146 * eqsq + 5337.524 * eoc;
        g532 = -853.666 + 4690.25 * eq - 8624.77 * eqsq + 5341.4 * eoc;
    } else {
        g533 = -37995.78 + 161616.52 * eq - 229838.2 * eqsq + 109377.94 * eoc;
        g521 = -51752.104 + 218913.95 * eq - 309468.16 * eqsq + 146349.42 * eoc;
        g532 = -40023.88 + 170470.89 * eq - 242699.48 * eqsq + 115605.82 * eoc;
    }

    const double sini2 = siniq * siniq;
    const double f220 = 0.75 * (1.0 + 2.0 * cosiq + cosq2);
    const double f221 = 1.5 * sini2;
    const double f321 = 1.875 * siniq * (1.0 - 2.0 * cosiq - 3.0 * cosq2);
    const double f322 = -1.875 * siniq * (1.0 + 2.0 * cosiq - 3.0 * cosq2);
    const double f441 = 35.0 * sini2 * f220;
    const double f442 = 39.3750 * sini2 * sini2;
    const double f522 = 9.84375 * siniq *
                        (sini2 * (1.0 - 2.0 * cosiq - 5.0 * cosq2) + 0.33333333 * (-2.0 + 4.0 * cosiq + 6.0 * cosq2));
    const double f523 = siniq * (4.92187512 * sini2 * (-2.0 - 4.0 * cosiq + 10.0 * cosq2) +
                                 6.56250012 * (1.0 + 2.0 * cosiq - 3.0 * cosq2));
    const double f542 = 29.53125 * siniq * (2.0 - 8.0 * cosiq + cosq2 * (-12.0 + 8.0 * cosiq + 10.0 * cosq2));
    const double f543 = 29.53125 * siniq * (-2.0 - 8.0 * cosiq + cosq2 * (12.0 + 8.0 * cosiq - 10.0 * cosq2));

    double temp1 = 3.0 * xnq * xnq * aqnv * aqnv;
    double temp = temp1 * kRoot22;
    p.d2201 = temp * f220 * g201;
    p.d2211 = temp * f221 * g211;
    temp1 *= aqnv;
    temp = temp1 * kRoot32;
    p.d3210 = temp * f321 * g310;
    p.d3222 = temp * f322 * g322;
    temp1 *= aqnv;
    temp = 2.0 * temp1 * kRoot44;
    p.d4410 = temp * f441 * g410;
    p.d4422 = temp * f442 * g422;
    temp1 *= aqnv;
    temp = temp1 * kRoot52;
    p.d5220 = temp * f522 * g520;
    p.d5232 = temp * f523 * g532;
    temp = 2.0 * temp1 * kRoot54;
    p.d5421 = temp * f542 * g521;
    p.d5433 = temp * f543 * g533;

    p.xlamo = el.mean_anomaly + el.raan + el.raan - p.thgr - p.thgr;
    const double bfact = p.xmdot + p.xnodot + p.xnodot - kThdt - kThdt + p.ssl + p.ssh + p.ssh;
    p.xfact = bfact - xnq;
}

void init_resonance(sdp4_params& p, const element_set& el) {
    const double xnq = p.xnodp;
    p.iresfl = 0;
    p.isynfl = 0;
    if (xnq > 0.003490658503988659 && xnq < 0.005235987755982988) {
        p.iresfl = 1;
        p.isynfl = 1;
        init_synchronous(p, el);
    } else if (xnq >= 0.00826 && xnq <= 0.00924 && el.eccentricity >= 0.5) {
        p.iresfl = 1;
        init_half_day(p, el);
    } else {
        return;
    }
    p.xnq = xnq;
    p.xli = p.xlamo;
    p.xni = xnq;
    p.atime = 0.0;
}

// Rates of the mean motion (xndot) and of its rate (xnddt) at the
// integrator's current state.
struct ResonanceRates {
    double xldot, xndot, xnddt;
};

ResonanceRates resonance_rates(const sdp4_params& p) {
    ResonanceRates r;
    const SinCos li = sin_cos(p.xli);
    const SinCos li2 = twice(li);
    if (p.isynfl) {
        const SinCos a1 = li - kFasx2;
        const SinCos a2 = li2 - kFasx4x2;
        const SinCos a3 = (li2 + li) - kFasx6x3;
        r.xndot = p.del1 * a1.s + p.del2 * a2.s + p.del3 * a3.s;
        r.xnddt = p.del1 * a1.c + 2.0 * p.del2 * a2.c + 3.0 * p.del3 * a3.c;
    } else {
        const SinCos omi = sin_cos(p.omegaq + p.omgdot * p.atime);
        const SinCos omi2 = twice(omi);
        const SinCos a2201 = (omi2 + li) - kG22;
        const SinCos a2211 = li - kG22;
        const SinCos a3210 = (omi + li) - kG32;
        const SinCos a3222 = (li - omi) - kG32;
        const SinCos a4410 = (omi2 + li2) - kG44;
        const SinCos a4422 = li2 - kG44;
        const SinCos a5220 = (omi + li) - kG52;
        const SinCos a5232 = (li - omi) - kG52;
        const SinCos a5421 = (omi + li2) - kG54;
        const SinCos a5433 = (li2 - omi) - kG54;
        r.xndot = p.d2201 * a2201.s + p.d2211 * a2211.s + p.d3210 * a3210.s + p.d3222 * a3222.s +
                  p.d4410 * a4410.s + p.d4422 * a4422.s + p.d5220 * a5220.s + p.d5232 * a5232.s +
                  p.d5421 * a5421.s + p.d5433 * a5433.s;
        r.xnddt = p.d2201 * a2201.c + p.d2211 * a2211.c + p.d3210 * a3210.c + p.d3222 * a3222.c +
                  p.d5220 * a5220.c + p.d5232 * a5232.c +
                  2.0 * (p.d4410 * a4410.c + p.d4422 * a4422.c + p.d5421 * a5421.c + p.d5433 * a5433.c);
    }
    r.xldot = p.xni + p.xfact;
    r.xnddt *= r.xldot;
    return r;
}

// Integrates the resonance from the saved state to t in steps of at most
// 720 minutes, saving the state after every step.
void integrate_resonance(sdp4_params& p, double t) {
    // Going on from the saved state only pays when it lies nearer to t than
    // the epoch does; a state that is not a number is never gone on from.
    if (!(std::fabs(t - p.atime) <= std::fabs(t))) {
        p.atime = 0.0;
        p.xli = p.xlamo;
        p.xni = p.xnq;
    }
    for (;;) {
        double step = t - p.atime;
        bool last = true;
        if (step > kStep) {
            step = kStep;
            last = false;
        } else if (step < -kStep) {
            step = -kStep;
            last = false;
        }
        const ResonanceRates r = resonance_rates(p);
        const double half_step_sq = 0.5 * step * step;
        p.xli += r.xldot * step + r.xndot * half_step_sq;
        p.xni += r.xndot * step + r.xnddt * half_step_sq;
        p.atime += step;
        if (last) break;
    }
}

struct Phase {
    double f2, f3, sinzf;
};

// Position of the Sun or Moon in its own orbit t minutes after epoch.
Phase body_phase(double zm_epoch, double zn, double two_ze, double t) {
    const double zm = zm_epoch + zn * t;
    const double zf = zm + two_ze * std::sin(zm);
    const double sinzf = std::sin(zf);
    return {0.5 * sinzf * sinzf - 0.25, -0.5 * sinzf * std::cos(zf), sinzf};
}

void evaluate_periodics(sdp4_params& p, double t) {
    const Phase s = body_phase(p.zmos, kZns, 0.0335, t);
    const Phase l = body_phase(p.zmol, kZnl, 0.1098, t);
    p.pe = p.se2 * s.f2 + p.se3 * s.f3 + p.ee2 * l.f2 + p.e3 * l.f3;
    p.pinc = p.si2 * s.f2 + p.si3 * s.f3 + p.xi2 * l.f2 + p.xi3 * l.f3;
    p.pl = p.sl2 * s.f2 + p.sl3 * s.f3 + p.sl4 * s.sinzf + p.xl2 * l.f2 + p.xl3 * l.f3 + p.xl4 * l.sinzf;
    p.pgh = p.sgh2 * s.f2 + p.sgh3 * s.f3 + p.sgh4 * s.sinzf + p.xgh2 * l.f2 + p.xgh3 * l.f3 + p.xgh4 * l.sinzf;
    p.ph = p.sh2 * s.f2 + p.sh3 * s.f3 + p.xh2 * l.f2 + p.xh3 * l.f3;
    p.savtsn = t;
}

}  // namespace

extern "C" {

void SDP4_init(sdp4_params* p, const element_set* elements) {
    const ModelBasics b = init_model_basics(*elements);
    store_model_basics(*p, b);
    p->eosq = b.mm.eosq;
    p->betao = b.mm.betao;
    p->theta2 = b.mm.theta2;
    p->betao2 = b.mm.betao2;
    p->sinomo = std::sin(elements->arg_perigee);
    p->cosomo = std::cos(elements->arg_perigee);

    p->thgr = sidereal_angle(elements->epoch);
    p->xqncl = elements->inclination;
    p->eqo = elements->eccentricity;
    p->omegaq = elements->arg_perigee;
    init_lunar_solar(*p, *elements);
    init_resonance(*p, *elements);
    p->savtsn = 1e20;  // the first call evaluates the periodics
}

int SDP4(double t, const element_set* elements, sdp4_params* p, Vec4* position, Vec4* velocity) {
    // Secular gravity, then the lunar-solar secular rates.
    const double tsq = t * t;
    double xmam = elements->mean_anomaly + (p->xmdot + p->ssl) * t;
    double omgadf = elements->arg_perigee + (p->omgdot + p->ssg) * t;
    double xnode = elements->raan + (p->xnodot + p->ssh) * t + p->xnodcf * tsq;
    double em = p->eqo + p->sse * t;
    double xinc = p->xqncl + p->ssi * t;
    double xn = p->xnodp;

    if (p->iresfl) {
        if (!(std::fabs(t) <= kLongestIntegration)) return propagation_failure(-2, position, velocity);
        integrate_resonance(*p, t);
        xn = p->xni;
        const double theta = p->thgr - xnode + kThdt * t;
        xmam = p->xli + theta + (p->isynfl ? -omgadf : theta);
    }
    if (xn < 0.0) return -5;

    const double tempa = 1.0 - p->c1 * t;
    const double root = std::cbrt(kXke / xn);
    double a = root * root * tempa * tempa;
    // Once drag has run its course the orbit is gone, as in SGP4.
    if (tempa < 0.0) a = -a;
    em -= elements->bstar * p->c4 * t;
    xmam += p->xnodp * p->t2cof * tsq;

    // Lunar-solar periodics, re-evaluated after 30 minutes of model time (a
    // cache time that is not a number forces the evaluation too).
    if (!(std::fabs(t - p->savtsn) < 30.0)) evaluate_periodics(*p, t);
    xinc += p->pinc;
    em += p->pe;
    const SinCos inclination = rotate({p->sinio, p->cosio}, xinc - p->xqncl);
    const double sinis = inclination.s;
    const double cosis = inclination.c;
    if (p->xqncl >= 0.2) {
        const double ph = p->ph / sinis;
        xnode += ph;
        omgadf += p->pgh - cosis * ph;
    } else {
        // Lyddane's form, which stays finite for small inclinations. The
        // node enters the argument of perigee below as a number, not only as
        // a direction, so it is first brought into 0..2 pi: a node counted as
        // 359.5 or as -0.5 degrees must give one and the same position.
        xnode = std::fmod(xnode, kTwoPi);
        if (xnode < 0.0) xnode += kTwoPi;
        const double sinok = std::sin(xnode);
        const double cosok = std::cos(xnode);
        const double f = sinis + p->pinc * cosis;
        const double alfdp = f * sinok + p->ph * cosok;
        const double betdp = f * cosok - p->ph * sinok;
        double dnode = std::atan2(alfdp, betdp) - xnode;
        if (dnode > kPi) {
            dnode -= kTwoPi;
        } else if (dnode < -kPi) {
            dnode += kTwoPi;
        }
        omgadf += p->pgh - cosis * dnode - p->pinc * xnode * sinis;
        xnode += dnode;
    }
    xmam += p->pl;

    p->xn = xn;
    p->em = em;
    p->xinc = xinc;
    p->omgadf = omgadf;
    p->xnode = xnode;
    p->xmam = xmam;

    MeanState s;
    s.a = a;
    s.e = em;
    s.cosi = cosis;
    s.sini = sinis;
    s.omega = omgadf;
    s.xl = xmam + omgadf + xnode;
    s.xnode = xnode;
    return position_velocity(s, position, velocity);
}

int select_ephemeris(const element_set* elements) {
    if (!(elements->mean_motion > 0.0) || !(elements->eccentricity >= 0.0 && elements->eccentricity <= 1.0)) {
        return -1;
    }
    const double xnodp = recover_mean_motion(*elements).xnodp;
    return 2.0 * kPi / (xnodp * kMinutesPerDay) >= 0.15625 ? 1 : 0;
}

}  // extern "C"
