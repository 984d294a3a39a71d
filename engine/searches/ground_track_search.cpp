#include "engine/searches/ground_track_search.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "engine/astronomy/bodies.h"
#include "engine/astronomy/constants.h"
#include "engine/astronomy/geodesy.h"
#include "engine/text/text_format.h"
#include "engine/reports/transit_report.h"
#include "engine/satellites/satellite_driver.h"
#include "engine/searches/pass_search.h"
#include "engine/searches/pass_steps.h"
#include "engine/searches/transit_search.h"

namespace {

constexpr long long Second = 1000; // ms

// With the Sun this high (rad) at the rise the pass is not searched, unless
// the Sun is the object.
constexpr double DarkLimit = -0.104;
// The approach: 10 s steps, 5 s once the point is nearer than 250, 1 s once
// it is 120 or nearer (in the display unit); a point moving away inside 500
// is given up.
constexpr double FarAway = 1000.0;
constexpr double GiveUpDistance = 500.0;
constexpr double NearDistance = 250.0;
constexpr double CloseDistance = 120.0;
constexpr long long CoarseStep = 10 * Second;
constexpr long long NearStep = 5 * Second;
// The approach starts this long after the rise, on a whole second.
constexpr long long FirstLook = 5 * Second;

const char *const ColumnFormat = "%0:-19s%1:-9s%2:-9s%3:6s%4:5s%5:6s%6:6s%7:4s%8:5s";
const char *const RowFormat = "%0:16s%1:10.4f%2:11.4f%3:6.1f%4:5.0f%5:6.1f%6:6.0f%7:4.0f%8:4s";

// The satellite, the object and the ground point where one stands in front
// of the other, moved together from second to second.
struct TrackGeometry {
    TleRecord &record;
    TargetState &target;
    ObserverRecord &observer;
    double distanceFactor;
    TargetState satellite{};
    Angles3 point{};
    double sightLine = 0.0;

    // The ground point at t and its distance from the observer in the
    // display unit; a point that cannot be found counts as far away.
    double MoveTo(long long t, bool withDetails)
    {
        if (!CalcTransitGroundPoint(satellite, target, record, MillisecondsToInstant(t), point, withDetails,
                                    sightLine, observer))
            return FarAway;
        const Angles3 site{observer.Latitude, observer.Longitude, 0.0};
        return CalcEllipsoidDistance(site, point) * distanceFactor;
    }

    // Whether the object, as MoveTo left it at t, stands above the
    // observer's horizon (a sky point or star keeps its J2000 direction).
    bool TargetAboveHorizon(long long t) const
    {
        Vec4 ofDate;
        PrecessVectorFromJ2000(target.Position, ofDate, MillisecondsToInstant(t) + JulianDateOfDayZero);
        return IsAboveApparentHorizon(ofDate, observer);
    }
};

bool SunIsDown(double instant, ObserverRecord &observer)
{
    UpdateSiderealObserver(instant, observer);
    TargetState sun;
    if (!CalcBodyOfDate(BodySun, instant, sun.Position))
        return true;
    return CalcTargetElevation(sun, observer) < DarkLimit;
}

// From a rise at t, steps towards the moment the ground point comes within
// the width: the distance last found, t moved on past it.
double Approach(TrackGeometry &track, long long &t, long long windowEnd, const PredictionInputs &inputs)
{
    double distance = FarAway, previous = FarAway, limit = CloseDistance;
    long long step = CoarseStep;
    t = t - t % Second + FirstLook;
    while (t <= windowEnd && distance >= limit) {
        const double found = track.MoveTo(t, false);
        if (CalcTargetElevation(track.satellite, track.observer) < inputs.MinElevation)
            break;
        distance = found;
        if (distance > previous && distance < GiveUpDistance)
            break; // moving away
        previous = distance;
        if (distance < NearDistance && step == CoarseStep)
            step = NearStep;
        if (distance <= CloseDistance) {
            step = Second;
            limit = inputs.TrackWidth;
        }
        t += step;
    }
    return distance;
}

std::string Row(const TrackGeometry &track, const Angles3 &previousPoint, long long t, double distance,
                const PredictionInputs &inputs)
{
    const Angles3 site{track.observer.Latitude, track.observer.Longitude, 0.0};
    const double width = CalcTransitPathWidth(track.target, track.point, previousPoint, track.sightLine);
    return FormatReport(RowFormat, {FormatInstant("mm/dd HH:nn:ss", MillisecondsToInstant(t) + inputs.DisplayOffset),
                                    RadToDeg(track.point.first), RadToDeg(track.point.second),
                                    width * inputs.DistanceFactor, RadToDeg(CalcInitialBearing(site, track.point)),
                                    distance, track.satellite.RaDec.third * inputs.DistanceFactor,
                                    RadToDeg(track.satellite.Elevation), track.satellite.Lit ? "Y" : "N"});
}

// From the approach's last step at t, one row a second while the point
// stays inside the width, the satellite above the minimum elevation and the
// object above the observer's horizon; t is left at the first second that
// fails.
void WriteTrack(TrackGeometry &track, long long &t, const PredictionInputs &inputs, PredictionResult &result)
{
    // Each row stands for its own point: the first is taken a second after
    // the approach's last step.
    Angles3 previousPoint = track.point;
    t += Second;
    double distance = track.MoveTo(t, true);
    const auto inside = [&] {
        return distance < inputs.TrackWidth && track.satellite.Elevation > inputs.MinElevation &&
               track.TargetAboveHorizon(t);
    };
    if (!inside())
        return;
    if (!result.Found)
        WriteSatelliteHeader(track.record, result.Lines, track.observer, inputs.DistanceFactor);
    result.Found = true;
    result.Lines.emplace_back("  ");
    result.Lines.push_back(
        FormatReport(ColumnFormat, {"  MM/DD Time", "Lat", "Lon", "Path", "Az", "Dist", "Rng", "Alt", "Slt"}));
    do {
        result.Lines.push_back(Row(track, previousPoint, t, distance, inputs));
        t += Second;
        previousPoint = track.point;
        distance = track.MoveTo(t, true);
    } while (inside());
    result.Lines.emplace_back("  End of track");
}

} // namespace

PredictionResult SearchSatelliteGroundTracks(TleRecord &record, ObserverRecord &observer,
                                             const PredictionInputs &inputs, const std::vector<WindowItem> &windows,
                                             const SearchControl &control)
{
    PredictionResult result;
    TargetState target = inputs.Target;
    TrackGeometry track{record, target, observer, inputs.DistanceFactor};
    const bool sunTarget = target.BodyId == BodySun;

    for (const WindowItem &window : windows) {
        double rise = window.StartTime;
        while (rise < window.EndTime) {
            if (control.Cancelled())
                return result;
            rise = FindRiseSecond(record, track.satellite, inputs.MinElevation, rise, window.EndTime, observer);
            if (rise >= window.EndTime || record.Decayed)
                break;
            const double set = FindSetSecond(record, track.satellite, inputs.MinElevation, rise, window.EndTime,
                                             observer);
            const long long riseMs = InstantToMilliseconds(rise), setMs = InstantToMilliseconds(set);
            // The Sun is seen by day: only other objects need a dark sky.
            const bool dark = inputs.DayOrNight || sunTarget || SunIsDown(rise, observer);
            // A pass of hours may bring the point near more than once: each
            // approach starts where the last one stopped.
            for (long long t = riseMs; dark && t < setMs;) {
                if (Approach(track, t, setMs, inputs) <= inputs.TrackWidth && t <= setMs)
                    WriteTrack(track, t, inputs, result);
            }
            // On from the set, which no rise can precede.
            rise = MillisecondsToInstant(std::max(setMs, riseMs + Second));
        }
    }
    return result;
}

PredictionResult SearchGroundTracks(const PredictionInputs &inputs, const SearchControl &control)
{
    return SearchInTransitWindows(
        inputs, control, "MMM dd yy HH:nn:ss",
        [&](TleRecord &record, ObserverRecord &observer, const std::vector<WindowItem> &windows) {
            return SearchSatelliteGroundTracks(record, observer, inputs, windows, control);
        });
}
