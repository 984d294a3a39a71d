#include "engine/astronomy/body_events.h"

#include <algorithm>
#include <cmath>

#include "engine/astronomy/bodies.h"
#include "engine/astronomy/constants.h"
#include "engine/astronomy/geodesy.h"
#include "engine/satellites/satellite_driver.h"
#include "engine/text/text_format.h"
#include "engine/astronomy/vectors.h"

namespace {

constexpr long long Second = 1000;       // ms
constexpr long long Minute = 60 * Second;
constexpr long long Day = 1440 * Minute;

// Distances to the threshold (rad) below which the crossing search shortens
// its step from 60 to 15 and from 15 to 5 minutes: about what the Sun's
// altitude changes in one longer step at mid-latitudes.
constexpr double QuarterHourMargin = 0.263;
constexpr double FiveMinuteMargin = 0.06575;
constexpr double AltitudeTolerance = 0.000025; // rad, about 5 arcseconds
constexpr int SecantRounds = 3;
constexpr int ForwardSeconds = 4;

constexpr long long TransitSlopeSpan = 15 * Minute;
constexpr double TransitTolerance = 0.00005; // of the 15-minute hour-angle change
constexpr int TransitRounds = 3;

// Moves the body and the observer to the instant; the Greenwich sidereal time.
double MoveBody(TargetState &body, long long t, ObserverRecord &observer)
{
    const double instant = MillisecondsToInstant(t);
    const double gmst = UpdateSiderealObserver(instant, observer);
    UpdateBody(body, gmst, instant, observer);
    return gmst;
}

// The body's topocentric hour angle in [-pi, pi] at the instant, from its
// right ascension of date.
double HourAngle(TargetState &body, long long t, ObserverRecord &observer)
{
    const double gmst = MoveBody(body, t, observer);
    Vec4 ofDate, topocentric;
    PrecessVectorFromJ2000(body.Position, ofDate, MillisecondsToInstant(t) + JulianDateOfDayZero);
    SubtractVector(ofDate, observer.Eci, topocentric);
    const double rightAscension = std::atan2(topocentric.y, topocentric.x);
    return NormalizeAnglePi(gmst + observer.Longitude - rightAscension);
}

} // namespace

double FindBodyAltitudeCrossing(TargetState &body, int direction, double threshold, double start,
                                double end, ObserverRecord &observer)
{
    if (start >= end)
        return end;
    const long long startMs = InstantToMilliseconds(start);
    const long long endMs = InstantToMilliseconds(end);
    // Positive while the altitude still lies on the side the search leaves.
    auto ahead = [&] { return (threshold - body.Elevation) * -direction; };

    body.Mode = ModeRaDecHorizon;
    long long t = startMs;
    MoveBody(body, t, observer);
    if (!(ahead() > 0.0))
        return start;

    long long step = 60 * Minute;
    long long stop = endMs + step;
    double previous = body.Elevation;
    while (ahead() > 0.0) {
        if (ahead() < QuarterHourMargin && step == 60 * Minute) {
            step = 15 * Minute;
            stop = endMs + step;
        }
        if (ahead() < FiveMinuteMargin && step == 15 * Minute) {
            step = 5 * Minute;
            stop = endMs + step;
        }
        previous = body.Elevation;
        t += step;
        MoveBody(body, t, observer);
        if (t >= stop)
            return end;
    }

    // Secant steps along the chord of the last step; the altitude's progress
    // over that step is positive, as it went from ahead to across.
    const double progress = (previous - body.Elevation) * direction;
    double fraction = ((threshold - body.Elevation) * direction) / progress;
    for (int round = 0; round < SecantRounds; ++round) {
        t = std::max(startMs, t - std::llround(static_cast<double>(step) * fraction));
        MoveBody(body, t, observer);
        const double remaining = (threshold - body.Elevation) * direction;
        fraction = remaining / progress;
        if (std::fabs(remaining) <= AltitudeTolerance)
            break;
    }

    if (t >= endMs)
        return end;
    for (int i = 0; i < ForwardSeconds && ahead() > 0.0; ++i) {
        t += Second;
        MoveBody(body, t, observer);
    }
    // The last seconds may step past an end that fell just short of the
    // crossing.
    return t >= endMs ? end : MillisecondsToInstant(t);
}

double FindBodyTransit(TargetState &body, double start, double end, ObserverRecord &observer)
{
    body.Mode = ModeRaDecHorizon;
    long long t = InstantToMilliseconds(start);
    // First estimate: the hour angle still to go at one turn a day.
    double f = NormalizeAngle2Pi(-HourAngle(body, t, observer));
    t += std::llround(f / TwoPi * static_cast<double>(Day));

    const double later = HourAngle(body, t, observer);
    const double slope = NormalizeAnglePi(later - HourAngle(body, t - TransitSlopeSpan, observer));
    for (int round = 0; round < TransitRounds && std::fabs(f) > TransitTolerance; ++round) {
        f = -HourAngle(body, t, observer) / slope;
        t += std::llround(f * static_cast<double>(TransitSlopeSpan));
    }
    return t >= InstantToMilliseconds(end) ? end : MillisecondsToInstant(t);
}

void BuildBodyWindows(TargetState &body, bool above, bool below, double start, double end,
                      double threshold, std::vector<WindowItem> &windows,
                      ObserverRecord &observer)
{
    if (!above && !below)
        return;
    if (above && below) {
        windows.push_back(WindowItem{end, start});
        return;
    }

    const int keptMode = body.Mode;
    const int opening = above ? BodyRising : BodySetting;
    double t = start;
    while (t < end) {
        const double from = FindBodyAltitudeCrossing(body, opening, threshold, t, end, observer);
        const double to = FindBodyAltitudeCrossing(body, -opening, threshold, from, end, observer);
        // A body that stays at the threshold, or a crossing that settled a
        // few seconds short, reads as a window without length: it is dropped
        // and the search moves on, so the same spot is never tried again.
        if (to > from || to >= end)
            windows.push_back(WindowItem{to, from});
        t = to > t ? to : MillisecondsToInstant(InstantToMilliseconds(t) + Second);
    }
    body.Mode = keptMode;
}
