#include "engine/astronomy/astro_time.h"

#include <algorithm>
#include <cmath>

#include "engine/astronomy/constants.h"
#include "engine/astronomy/vectors.h"

double CalcGMST(double julianDate)
{
    const double d = julianDate - J2000;
    const double t = d / DaysPerCentury;
    // Whole days and the fraction are scaled apart so the large day count
    // does not swamp the fraction's digits. The whole days stay a double:
    // a date outside the integer range must not make the conversion undefined.
    const double wholeDays = std::floor(d);
    const double fraction = d - wholeDays;
    const double degrees = fraction * 360.98564736629 + 280.46061837 + wholeDays * 0.98564736629 +
                           t * t * (0.000387933 - t / 38710000.0);
    return NormalizeAngle2Pi(DegToRad(degrees));
}

void CalcObserverRho(const Angles3 &observer, double &rhoSinPhi, double &rhoCosPhi)
{
    const double latitude = observer.first;
    const double h = observer.third / EarthRadiusMetres;
    const double u = std::atan2(EarthAxisRatio * std::tan(latitude), 1.0);
    rhoSinPhi = EarthAxisRatio * std::sin(u) + h * std::sin(latitude);
    rhoCosPhi = std::cos(u) + h * std::cos(latitude);
}

double CalcRefraction(double altitudeDegrees, double pressureMbar, double temperatureCelsius)
{
    // The fit grows as the altitude falls only down to about -1.7 degrees;
    // below that it turns back towards zero and meets a pole at -4.4 degrees
    // (a zero divisor), past which its sign flips. Lower altitudes, reached
    // as the dip of observers above about 2.8 km, keep the largest value.
    constexpr double lowestAltitude = -1.7;
    const double h = std::max(altitudeDegrees, lowestAltitude);
    const double arcminutes = (1.0 / std::tan(DegToRad(h + 7.31 / (h + 4.4))) + 2.527) *
                              (pressureMbar / 1010.0) * (283.0 / (273.0 + temperatureCelsius));
    return -DegToRad(arcminutes / 60.0);
}

double CalcHorizonAltitude(double heightMetres)
{
    // At or below the ellipsoid there is no dip: the quotient would pass 1
    // (or divide by zero at the centre of the Earth).
    double dipDegrees = 0.0;
    if (heightMetres > 0.0)
        dipDegrees = RadToDeg(std::acos(EarthRadiusMetres / (EarthRadiusMetres + heightMetres)));
    return CalcRefraction(-dipDegrees, 1013.0, 20.0);
}

double CalcParallacticAngle(const Angles3 &first, const Angles3 &second)
{
    const double h = first.first - second.first;
    double q = std::atan2(std::sin(h), std::tan(first.second) * std::cos(second.second) -
                                           std::sin(second.second) * std::cos(h));
    if (q < 0.0)
        q += Pi;
    return q;
}

namespace {

// Annual precession in right ascension and declination (rad a year) at the
// given coordinates, with the century terms taken at mid-epoch.
void AnnualPrecession(const Angles3 &at, double t, double &dRa, double &dDec)
{
    constexpr double secondsOfTime = 1.0 / 240.0; // degrees
    const double m = DegToRad(3.07496 + 0.00186 * t / 2.0) * secondsOfTime;
    const double n = DegToRad(1.33621 - 0.00057 * t / 2.0) * secondsOfTime;
    dRa = m + n * std::sin(at.first) * std::tan(at.second);
    dDec = n * std::cos(at.first);
}

// Carries source by `sign` times the precession since J2000 (+1 to the
// date, -1 back to J2000).
void Precess(const Angles3 &source, Angles3 &target, double julianDate, double sign)
{
    const double t = (julianDate - J2000) / DaysPerCentury;
    double dRa = 0.0, dDec = 0.0;
    AnnualPrecession(source, t, dRa, dDec);
    const double years = sign * 100.0 * t;
    target = Angles3{source.first + years * dRa, source.second + years * dDec, source.third};
}

} // namespace

void PrecessFromJ2000(const Angles3 &source, Angles3 &target, double julianDate)
{
    Precess(source, target, julianDate, 1.0);
}

void PrecessToJ2000(const Angles3 &source, Angles3 &target, double julianDate)
{
    Precess(source, target, julianDate, -1.0);
}
