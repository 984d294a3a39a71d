#include "engine/searches/pass_search.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "engine/astronomy/astro_time.h"
#include "engine/astronomy/bodies.h"
#include "engine/astronomy/constants.h"
#include "engine/astronomy/geodesy.h"
#include "engine/satellites/satellite_driver.h"
#include "engine/text/text_format.h"
#include "engine/astronomy/vectors.h"

namespace {

constexpr long long Second = 1000; // ms

// Elevation margins (rad) below which the searches take their longer steps.
constexpr double CoarseMargin = 0.25;
constexpr double FineMargin = 0.1;

// Beyond this angle between the sight line and the vertical the line from the
// body through the satellite no longer meets the ground near the satellite.
constexpr double GroundPointLimit = 1.55;

constexpr double SunRadiusKm = 696265.0;
constexpr double MoonRadiusKm = 1737.53;
constexpr double PlanetPathWidthKm = 0.1;

// Rise (direction +1) and set (-1) share one search: `across` is how far the
// elevation lies past the threshold on the side being searched for, negative
// while the crossing is still ahead.
double FindElevationCrossing(TleRecord &record, TargetState &state, double threshold, double start,
                             double end, ObserverRecord &observer, int direction)
{
    auto propagate = [&](long long t) {
        const double instant = MillisecondsToInstant(t);
        const double gmst = UpdateSiderealObserver(instant, observer);
        return PropagateSatellite(record, state, gmst, instant, observer);
    };
    auto across = [&]() { return (CalcTargetElevation(state, observer) - threshold) * direction; };

    const long long endMs = InstantToMilliseconds(end);
    const long long startMs = InstantToMilliseconds(start);
    long long t = startMs;
    // Without a position at the start there is no pass to speak of: the end
    // says "none", where the start would announce a pass over the whole window.
    if (!propagate(t))
        return end;
    double x = across();

    long long coarse = x > -CoarseMargin ? 25 * Second : 100 * Second;
    while (x < 0.0) {
        t += coarse;
        // A failed propagation counts as a crossing, found again with fine steps.
        x = propagate(t) ? across() : 0.01;
        if (endMs + coarse <= t || x > 0.0) {
            t -= coarse;
            propagate(t);
            x = across();
            break;
        }
        if (x > -CoarseMargin && coarse == 100 * Second)
            coarse = 25 * Second;
    }

    if (x < 0.0) {
        long long fine = x > -FineMargin ? Second : 5 * Second;
        while (t < endMs && x < 0.0) {
            t += fine;
            x = propagate(t) ? across() : 0.0;
            if (x > -FineMargin && fine == 5 * Second)
                fine = Second;
        }
    }
    if (t >= endMs || record.Decayed)
        return end;
    // Not moved: the caller's own instant, not its millisecond rounding, so
    // "already up" reads as rise == start.
    return t == startMs ? start : MillisecondsToInstant(t);
}

} // namespace

double FindRiseTime(TleRecord &record, TargetState &state, double threshold, double start,
                    double end, ObserverRecord &observer)
{
    return FindElevationCrossing(record, state, threshold, start, end, observer, +1);
}

double FindSetTime(TleRecord &record, TargetState &state, double threshold, double start,
                   double end, ObserverRecord &observer)
{
    return FindElevationCrossing(record, state, threshold, start, end, observer, -1);
}

bool CalcTransitGroundPoint(TargetState &satellite, TargetState &body, TleRecord &record,
                            double instant, Angles3 &groundPoint, bool withDetails,
                            double &distance, ObserverRecord &observer)
{
    satellite.Mode = ModeNothing;
    const double gmst = UpdateSiderealObserver(instant, observer);
    const double julianDate = instant + JulianDateOfDayZero;
    if (!PropagateSatellite(record, satellite, gmst, instant, observer))
        return false;
    if (body.BodyId >= BodyMercury && body.BodyId <= BodySun && !UpdateBody(body, gmst, instant, observer))
        return false;

    // The satellite is of date, the body J2000.
    Vec4 bodyOfDate, sightLine;
    PrecessVectorFromJ2000(body.Position, bodyOfDate, julianDate);
    SubtractVector(bodyOfDate, satellite.Position, sightLine);
    const double c = CalcVectorAngle(sightLine, satellite.Position);
    // Beyond the limit, or when the line passes beside the sphere, no point
    // of the ground sees the satellite in front of the body.
    if (c > GroundPointLimit || satellite.Position.w * std::sin(c) >= observer.Eci.w)
        return false;

    Vec4 towardBody = sightLine;
    NormalizeVector(sightLine, towardBody);
    distance = CalcRaySphereDistance(c, satellite.Position.w, observer.Eci.w);
    Vec4 offset, point;
    ScaleVector(towardBody, offset, distance);
    SubtractVector(satellite.Position, offset, point);
    CalcSubPoint(point, groundPoint, gmst);

    if (!withDetails)
        return true;
    satellite.Mode = ModeAll;
    DeriveStateCoordinates(satellite, satellite.Position, gmst, julianDate, observer);
    satellite.Mode = ModeNothing;

    // From the ground point the satellite and the body lie on one line, the
    // direction towards the body.
    Angles3 lineOfSight;
    CalcGeoRaDec(towardBody, lineOfSight);
    EquToHorizontal(groundPoint, lineOfSight, body.Elevation, body.Azimuth, std::nullopt, gmst);

    satellite.Lit = 1;
    Vec4 sunOfDate;
    if (body.BodyId != BodySun && CalcBodyOfDate(BodySun, instant, sunOfDate))
        satellite.Lit = IsSunlit(satellite.Position, sunOfDate) ? 1 : 0;
    return true;
}

bool IsAboveApparentHorizon(const Vec4 &ofDate, const ObserverRecord &observer)
{
    TargetState body;
    body.Position = ofDate;
    return CalcTargetElevation(body, observer) >= CalcHorizonAltitude(observer.Height);
}

double CalcTransitPathWidth(const TargetState &body, const Angles3 &current, const Angles3 &previous,
                            double distance)
{
    if (!(body.Elevation > 0.0))
        return 0.0;
    if (body.BodyId != BodyMoon && body.BodyId != BodySun)
        return PlanetPathWidthKm;

    const double radius = body.BodyId == BodySun ? SunRadiusKm : MoonRadiusKm;
    // Around each ground point the places that see the satellite on the
    // disc form an ellipse: the disc's angular radius carried to the
    // satellite's distance across the body's azimuth, stretched by the slant
    // along it. Swept along the track it leaves a strip whose half-width is
    // the ellipse's extent across the track, set by the angle between the
    // track and the body's azimuth.
    const double across = distance * std::sin(std::atan2(radius, body.Position.w));
    const double along = across / std::sin(body.Elevation);
    const double angle = CalcInitialBearing(previous, current) - body.Azimuth;
    return std::hypot(across * std::cos(angle), along * std::sin(angle));
}
