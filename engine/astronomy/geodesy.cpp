#include "engine/astronomy/geodesy.h"

#include <algorithm>
#include <cmath>

#include "engine/astronomy/astro_time.h"
#include "engine/astronomy/constants.h"
#include "engine/astronomy/vectors.h"

namespace {

// Observers this close to a pole have no usable azimuth reference.
constexpr double PoleCosine = 1e-5;

// asin and acos of a sine or cosine that rounding may have carried just
// past +-1.
double SafeAsin(double s) { return std::asin(std::clamp(s, -1.0, 1.0)); }
double SafeAcos(double c) { return std::acos(std::clamp(c, -1.0, 1.0)); }

// Angle whose cosine is k, with quotients past +-1 taken as 0 or pi.
double AcosOrLimit(double k)
{
    if (k >= 1.0)
        return 0.0;
    if (k <= -1.0)
        return Pi;
    return std::acos(k);
}

// Declination from a sine that is a quotient over a length; a point at the
// origin has none and gets 0.
double DeclinationOf(double z, double length) { return length > 0.0 ? SafeAsin(z / length) : 0.0; }

double Square(double x) { return x * x; }

} // namespace

double CalcEllipsoidDistance(const Angles3 &point1, const Angles3 &point2)
{
    const double f = (point1.first + point2.first) / 2.0;
    const double g = (point1.first - point2.first) / 2.0;
    const double l = (point1.second - point2.second) / 2.0;
    const double sinF2 = Square(std::sin(f)), cosF2 = Square(std::cos(f));
    const double sinG2 = Square(std::sin(g)), cosG2 = Square(std::cos(g));
    const double sinL2 = Square(std::sin(l)), cosL2 = Square(std::cos(l));
    const double s = sinG2 * cosL2 + cosF2 * sinL2;
    const double c = cosG2 * cosL2 + sinF2 * sinL2;
    const double w = std::atan2(std::sqrt(s), std::sqrt(c));
    if (w == 0.0)
        return 0.0; // identical points
    const double r = std::sqrt(s * c) / w;
    const double d = 2.0 * w * EarthRadiusKm;
    // C vanishes only for antipodes and S only for coincident points; there
    // the factor beside each quotient vanishes too, so the term is dropped.
    const double term1 = c > 0.0 ? (3.0 * r - 1.0) / (2.0 * c) * sinF2 * cosG2 : 0.0;
    const double term2 = s > 0.0 ? (3.0 * r + 1.0) / (2.0 * s) * cosF2 * sinG2 : 0.0;
    return d * (1.0 + EarthFlattening * term1 - EarthFlattening * term2);
}

double CalcInitialBearing(const Angles3 &start, const Angles3 &end)
{
    const double lat1 = start.first, lon1 = start.second;
    const double lat2 = end.first, lon2 = end.second;
    if (lat1 == lat2 && lon1 == lon2)
        return 0.0;
    if (lon1 == lon2)
        return lat1 > lat2 ? Pi : 0.0;
    const double dLon = lon2 - lon1;
    const double g = SafeAcos(std::sin(lat2) * std::sin(lat1) +
                              std::cos(lat2) * std::cos(lat1) * std::cos(dLon));
    // Antipodal points lie in every direction; north (0) is as good as any.
    const double sinG = std::sin(g);
    const double m = sinG != 0.0 ? SafeAsin(std::cos(lat2) * std::sin(dLon) / sinG) : 0.0;
    if (lat2 > lat1 && lon2 > lon1)
        return m;
    if (lat2 < lat1)
        return Pi - m;
    if (lat2 > lat1)
        return m + TwoPi;
    return m;
}

void CalcDestinationPoint(const Angles3 &start, Angles3 &destination, double bearing,
                          double distance, double radius)
{
    const double c1 = HalfPi - start.first;
    // On a sphere without radius there is nowhere to go.
    const double d = radius > 0.0 ? distance / radius : 0.0;
    const double c2 = SafeAcos(std::cos(bearing) * std::sin(d) * std::sin(c1) + std::cos(d) * std::cos(c1));
    // A destination on a pole has no longitude of its own: keep the start's.
    const double sinC2 = std::sin(c2);
    const double dLon = sinC2 != 0.0 ? SafeAsin(std::sin(d) * std::sin(bearing) / sinC2) : 0.0;
    destination = Angles3{HalfPi - c2, start.second + dLon, 1.0};
}

void CalcSubPoint(const Vec4 &position, Angles3 &subPoint, double gmst)
{
    const double longitude = std::atan2(position.y, position.x);
    const double geocentric = std::atan2(position.z, std::hypot(position.x, position.y));
    // atan2(tan p, (b/a)^2) and 1 / (cos(lat) sqrt(tan^2(lat) / b^2 + 1 / a^2))
    // written without the tangents, which have no value on the polar axis.
    const double latitude = std::atan2(std::sin(geocentric), std::cos(geocentric) * Square(EarthAxisRatio));
    const double surface = 1.0 / std::sqrt(Square(std::sin(latitude) / PolarRadiusKm) +
                                           Square(std::cos(latitude) / EarthRadiusKm));
    subPoint = Angles3{latitude, NormalizeAnglePi(longitude - gmst), position.w - surface};
}

void CalcObserverECI(Vec4 &eci, double rhoCosPhi, double rhoSinPhi, double longitude, double gmst)
{
    const double theta = longitude + gmst;
    eci = MakeVector(EarthRadiusKm * rhoCosPhi * std::cos(theta), EarthRadiusKm * rhoCosPhi * std::sin(theta),
                     EarthRadiusKm * rhoSinPhi);
}

void CalcTopoRaDec(const Vec4 &target, const Vec4 &observer, Angles3 &raDec)
{
    Vec4 d;
    SubtractVector(target, observer, d);
    raDec = Angles3{NormalizeAngle2Pi(std::atan2(d.y, d.x)), DeclinationOf(d.z, d.w), d.w};
}

void EquToHorizontal(const Angles3 &observer, const Angles3 &raDec, double &altitude, double &azimuth,
                     std::optional<double> instant, double gmst)
{
    Angles3 ofDate = raDec;
    if (instant)
        PrecessFromJ2000(raDec, ofDate, *instant + JulianDateOfDayZero);
    const double lat = observer.first;
    const double dec = ofDate.second;
    const double h = (observer.second + gmst) - ofDate.first;
    const double cosLat = std::cos(lat);
    altitude = SafeAsin(std::sin(lat) * std::sin(dec) + std::cos(h) * cosLat * std::cos(dec));
    double az = h;
    if (cosLat >= PoleCosine) {
        const double k = (std::sin(dec) - std::sin(lat) * std::sin(altitude)) / (cosLat * std::cos(altitude));
        az = AcosOrLimit(k);
        if (std::sin(h) > 0.0)
            az = -az;
    }
    azimuth = NormalizeAngle2Pi(az);
}

void HorizontalToEqu(const Angles3 &observer, double altitude, double azimuth, Angles3 &raDec,
                     std::optional<double> instant, double gmst)
{
    const double lat = observer.first;
    const double cosLat = std::cos(lat);
    const double dec =
        SafeAsin(std::cos(azimuth) * cosLat * std::cos(altitude) + std::sin(lat) * std::sin(altitude));
    double f = azimuth + Pi;
    if (cosLat >= PoleCosine) {
        const double k = -(std::sin(altitude) - std::sin(lat) * std::sin(dec)) / (cosLat * std::cos(dec));
        const double h = AcosOrLimit(k);
        f = std::sin(azimuth) > 0.0 ? Pi - h : h + Pi;
    }
    raDec = Angles3{NormalizeAngle2Pi(gmst + f + observer.second), dec, 100.0 * AstronomicalUnitKm};
    if (instant)
        PrecessToJ2000(raDec, raDec, *instant + JulianDateOfDayZero);
}

void CalcGeoRaDec(const Vec4 &v, Angles3 &raDec)
{
    raDec = Angles3{NormalizeAngle2Pi(std::atan2(v.y, v.x)), DeclinationOf(v.z, v.w), v.w};
}

void SphericalToCartesian(const Angles3 &raDec, Vec4 &v)
{
    const double ra = raDec.first, dec = raDec.second, distance = raDec.third;
    v = Vec4{std::cos(ra) * distance * std::cos(dec), std::sin(ra) * distance * std::cos(dec),
             std::sin(dec) * distance, distance};
}

namespace {

using PrecessAngles = void (*)(const Angles3 &, Angles3 &, double);

void PrecessVector(const Vec4 &source, Vec4 &target, double julianDate, PrecessAngles precess)
{
    Angles3 raDec, precessed;
    CalcGeoRaDec(source, raDec);
    precess(raDec, precessed, julianDate);
    SphericalToCartesian(precessed, target);
}

} // namespace

void PrecessVectorFromJ2000(const Vec4 &j2000, Vec4 &ofDate, double julianDate)
{
    PrecessVector(j2000, ofDate, julianDate, PrecessFromJ2000);
}

void PrecessVectorToJ2000(const Vec4 &ofDate, Vec4 &j2000, double julianDate)
{
    PrecessVector(ofDate, j2000, julianDate, PrecessToJ2000);
}
