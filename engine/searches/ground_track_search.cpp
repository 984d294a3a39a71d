#include "engine/searches/ground_track_search.h"

#include <algorithm>
#include <cmath>
#include <optional>
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
// The approach samples the pass every 10 s, every 5 s once the point is
// nearer than 250 (in the display unit); the seconds between samples are
// looked at only where the point may have come within the width.
constexpr double FarAway = 1000.0;
constexpr double NearDistance = 250.0;
constexpr long long CoarseStep = 10 * Second;
constexpr long long NearStep = 5 * Second;

const char *const ColumnFormat = "%0:-19s%1:-9s%2:-9s%3:6s%4:5s%5:6s%6:6s%7:4s%8:5s";
const char *const RowFormat = "%0:16s%1:10.4f%2:11.4f%3:6.1f%4:5.0f%5:6.1f%6:6.0f%7:4.0f%8:4s";

// The satellite, the object and the ground point where one stands in front
// of the other, moved together from second to second.
struct TrackGeometry {
    TleRecord &record;
    TargetState &target;
    ObserverRecord &observer;
    const PredictionInputs &inputs;
    TargetState satellite{};
    Angles3 point{};
    bool pointFound = false;
    double sightLine = 0.0;
    double distance = FarAway; // from the observer to the point, display unit

    // The ground point at t and its distance from the observer; a point that
    // cannot be found counts as far away.
    void MoveTo(long long t, bool withDetails)
    {
        pointFound = CalcTransitGroundPoint(satellite, target, record, MillisecondsToInstant(t), point,
                                            withDetails, sightLine, observer);
        const Angles3 site{observer.Latitude, observer.Longitude, 0.0};
        distance = pointFound ? CalcEllipsoidDistance(site, point) * inputs.DistanceFactor : FarAway;
    }

    // Whether the point, as MoveTo left it at t, is inside the width while
    // the satellite stands above the minimum elevation and the object above
    // the observer's horizon (a sky point or star keeps its J2000 direction).
    bool Inside(long long t) const
    {
        if (!(distance < inputs.TrackWidth) || !(CalcTargetElevation(satellite, observer) > inputs.MinElevation))
            return false;
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

// The first second from `first` to `last` (ms, whole seconds) at which the
// point is inside, or none.
std::optional<long long> FirstSecondInside(TrackGeometry &track, long long first, long long last)
{
    for (long long t = first; t <= last; t += Second) {
        track.MoveTo(t, false);
        if (track.Inside(t))
            return t;
    }
    return std::nullopt;
}

// The first whole second from `from` to `last` (ms) at which the point is
// inside: samples a few seconds apart find where it comes inside, or where
// it passes nearest without a sample inside; the seconds before such a
// sample are then looked at one by one. A stretch of a single second, or
// one that ends with the pass, is found as well as a long one.
std::optional<long long> FindTrackStart(TrackGeometry &track, long long from, long long last)
{
    struct Sample {
        long long t;
        double distance;
        Angles3 point;
        bool found;
    };
    std::optional<Sample> previous, earlier;
    // How far the point moved from one sample to the next (display unit);
    // a sample without a point bounds nothing.
    const auto moved = [&](const Sample &a, const Sample &b) {
        return a.found && b.found ? CalcEllipsoidDistance(a.point, b.point) * track.inputs.DistanceFactor
                                  : FarAway;
    };
    for (long long t = from;;) {
        track.MoveTo(t, false);
        if (track.Inside(t))
            return previous ? FirstSecondInside(track, previous->t + Second, t) : t;
        const Sample sample{t, track.distance, track.point, track.pointFound};
        if (previous) {
            // The nearest point lies between the earlier sample and this one
            // once the distance grows again (or the pass ends); no point of
            // it is nearer than the nearest sample less the way moved.
            const bool passed = sample.distance > previous->distance;
            if (passed || t == last) {
                const Sample &nearest = passed ? *previous : sample;
                const Sample &before = passed && earlier ? *earlier : *previous;
                double reach = moved(before, *previous);
                if (passed)
                    reach += moved(*previous, sample);
                if (nearest.distance - reach < track.inputs.TrackWidth)
                    if (const auto inside = FirstSecondInside(track, before.t + Second, t - Second))
                        return inside;
            }
        }
        if (t >= last)
            return std::nullopt;
        earlier = previous;
        previous = sample;
        t = std::min(t + (sample.distance < NearDistance ? NearStep : CoarseStep), last);
    }
}

std::string Row(const TrackGeometry &track, const Angles3 &previousPoint, long long t)
{
    const PredictionInputs &inputs = track.inputs;
    const Angles3 site{track.observer.Latitude, track.observer.Longitude, 0.0};
    const double width = CalcTransitPathWidth(track.target, track.point, previousPoint, track.sightLine);
    return FormatReport(RowFormat, {FormatInstant("mm/dd HH:nn:ss", MillisecondsToInstant(t) + inputs.DisplayOffset),
                                    RadToDeg(track.point.first), RadToDeg(track.point.second),
                                    width * inputs.DistanceFactor, RadToDeg(CalcInitialBearing(site, track.point)),
                                    track.distance, track.satellite.RaDec.third * inputs.DistanceFactor,
                                    RadToDeg(track.satellite.Elevation), track.satellite.Lit ? "Y" : "N"});
}

// From the first second inside at t, one row a second while the point stays
// inside; t is left at the first second that is not.
void WriteTrack(TrackGeometry &track, long long &t, PredictionResult &result)
{
    // The track's direction at every row comes from the point a second
    // before it; where the line of sight missed the Earth then (the object
    // at the satellite's horizon), from the point a second after, which
    // gives the same line.
    track.MoveTo(t - Second, false);
    if (!track.pointFound)
        track.MoveTo(t + Second, false);
    Angles3 previousPoint = track.point;
    track.MoveTo(t, true);
    if (!result.Found)
        WriteSatelliteHeader(track.record, result.Lines, track.observer, track.inputs.DistanceFactor);
    result.Found = true;
    result.Lines.emplace_back("  ");
    result.Lines.push_back(
        FormatReport(ColumnFormat, {"  MM/DD Time", "Lat", "Lon", "Path", "Az", "Dist", "Rng", "Alt", "Slt"}));
    do {
        result.Lines.push_back(Row(track, previousPoint, t));
        t += Second;
        previousPoint = track.point;
        track.MoveTo(t, true);
    } while (track.Inside(t));
    result.Lines.emplace_back("  End of track");
}

} // namespace

PredictionResult SearchSatelliteGroundTracks(TleRecord &record, ObserverRecord &observer,
                                             const PredictionInputs &inputs, const std::vector<WindowItem> &windows,
                                             const SearchControl &control)
{
    PredictionResult result;
    TargetState target = inputs.Target;
    TrackGeometry track{record, target, observer, inputs};
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
            // The rows fall on the clock's whole seconds within the pass.
            const long long first = (riseMs + Second - 1) / Second * Second, last = setMs / Second * Second;
            // The Sun is seen by day: only other objects need a dark sky.
            const bool dark = inputs.DayOrNight || sunTarget || SunIsDown(rise, observer);
            // A pass of hours may bring the point near more than once: each
            // approach starts where the last track ended.
            for (long long t = first; dark && t <= last;) {
                const std::optional<long long> start = FindTrackStart(track, t, last);
                if (!start)
                    break;
                t = *start;
                WriteTrack(track, t, result);
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
