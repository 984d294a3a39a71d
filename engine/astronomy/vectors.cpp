#include "engine/astronomy/vectors.h"

#include <algorithm>
#include <cmath>

#include "engine/astronomy/constants.h"

namespace {

double Dot(const Vec4 &a, const Vec4 &b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// Cosine of the angle between two directions given their dot product and
// lengths. Rounding can carry the quotient just past +-1, where acos fails;
// a zero length leaves no direction, so the cosine is taken as 0.
double CosineOf(double dot, double length1, double length2)
{
    const double denominator = length1 * length2;
    if (denominator == 0.0)
        return 0.0;
    return std::clamp(dot / denominator, -1.0, 1.0);
}

double FractionalPart(double x) { return x - std::trunc(x); }

} // namespace

double VectorMagnitude(const Vec4 &v) { return std::sqrt(Dot(v, v)); }

Vec4 MakeVector(double x, double y, double z)
{
    Vec4 v{x, y, z, 0.0};
    v.w = VectorMagnitude(v);
    return v;
}

void SubtractVector(const Vec4 &a, const Vec4 &b, Vec4 &c)
{
    c = MakeVector(a.x - b.x, a.y - b.y, a.z - b.z);
}

void ScaleVector(const Vec4 &v, Vec4 &w, double k) { w = MakeVector(k * v.x, k * v.y, k * v.z); }

void NormalizeVector(const Vec4 &v, Vec4 &w)
{
    if (v.w > 0.0)
        w = MakeVector(v.x / v.w, v.y / v.w, v.z / v.w);
}

double CalcVectorDistance(const Vec4 &a, const Vec4 &b)
{
    const double dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

double CalcVectorAngle(const Vec4 &a, const Vec4 &b) { return std::acos(CosineOf(Dot(a, b), a.w, b.w)); }

double CalcSeparationAngle(const Vec4 &p, const Vec4 &a, const Vec4 &b)
{
    Vec4 toA, toB;
    SubtractVector(a, p, toA);
    SubtractVector(b, p, toB);
    return std::acos(CosineOf(Dot(toB, toA), toB.w, toA.w));
}

double CalcRaySphereDistance(double c, double b, double a)
{
    // A sphere without radius is missed by every ray that does not aim at
    // its centre: take the tangent case.
    double s = a > 0.0 ? b * std::sin(c) / a : 1.0;
    s = std::clamp(s, -1.0, 1.0);
    const double e = std::asin(s);
    return b * std::cos(c) - a * std::cos(e);
}

double NormalizeAnglePi(double x)
{
    if (x >= -Pi && x <= Pi)
        return x;
    x = FractionalPart(x / TwoPi) * TwoPi;
    if (x > Pi)
        x -= TwoPi;
    else if (x < -Pi)
        x += TwoPi;
    return x;
}

double NormalizeAngle2Pi(double x)
{
    if (x >= 0.0 && x <= TwoPi)
        return x;
    x = FractionalPart(x / TwoPi) * TwoPi;
    if (x < 0.0)
        x += TwoPi;
    return x;
}

bool IsSunlit(const Vec4 &satellite, const Vec4 &sun)
{
    // Inside the Earth (a decayed satellite) the shadow limit has no value.
    if (!(satellite.w > EarthRadiusKm))
        return false;
    const double psi = std::acos(CosineOf(Dot(satellite, sun), satellite.w, sun.w));
    const double limit = std::acos(EarthRadiusKm / satellite.w) + HalfPi;
    return limit > psi;
}

double CalcSatMagnitude(double standardMagnitude, double range, double fraction)
{
    // An unlit target would be infinitely faint; a tiny fraction keeps the
    // logarithm finite and the result very faint.
    if (fraction <= 0.0)
        fraction = 1e-7;
    return standardMagnitude - 15.75 + 2.5 * std::log10(range * range / fraction);
}

double CalcIlluminatedFraction(const Vec4 &observer, const Vec4 &target, const Vec4 &sun)
{
    const Vec4 d = MakeVector(observer.x - target.x, observer.y - target.y, observer.z - target.z);
    const double cosPsi = CosineOf(Dot(d, sun), d.w, sun.w);
    return (1.0 + cosPsi) / 2.0;
}

std::optional<double> CalcSunlitMagnitude(double standardMagnitude, double range, const Vec4 &observer,
                                          const Vec4 &satellite, const Vec4 &sun)
{
    if (!IsSunlit(satellite, sun))
        return std::nullopt;
    return CalcSatMagnitude(standardMagnitude, range, CalcIlluminatedFraction(observer, satellite, sun));
}
