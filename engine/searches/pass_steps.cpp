#include "engine/searches/pass_steps.h"

#include <algorithm>
#include <cmath>

#include "engine/astronomy/bodies.h"
#include "engine/astronomy/constants.h"
#include "engine/astronomy/geodesy.h"
#include "engine/astronomy/vectors.h"
#include "engine/text/text_format.h"
#include "engine/satellites/satellite_driver.h"
#include "engine/searches/pass_search.h"

namespace {

constexpr long long Second = 1000; // ms

// Elevation samples a period when looking for the highest stretch of a pass:
// between two of them the elevation rises and falls at most once.
constexpr double CulminationSamples = 40.0;
constexpr double CulminationPrecision = 10.0; // ms
constexpr double GoldenRatio = 0.6180339887498949;

constexpr double EarthGravity = 398600.8;       // km^3/s^2, the orbit model's
constexpr double EarthRotation = 7.29211585e-5; // rad/s
// The model's periodic terms, drag and the Moon and Sun keep a satellite
// within these margins of its mean orbit over a prediction span.
constexpr double SpeedMargin = 1.02;
constexpr double RadiusMargin = 1.003;
constexpr double RadiusSlackKm = 20.0;
constexpr double RadialSpeedSlack = 0.05; // km/s

// Bounds on how fast a satellite can come into view or leave it, from its
// orbit.
struct ReachBounds {
    double speed = 0.0;       // km/s relative to the observer, at most
    double centralRate = 0.0; // rad/s: of the angle at the Earth's centre between it and the observer
    double radialSpeed = 0.0; // km/s: of its distance from the Earth's centre
    double highest = 0.0;     // km from the Earth's centre, at most
    double lowest = 0.0;      // km from the Earth's centre, at least
    double lean = 0.0;        // rad: the geodetic vertical's lean from the geocentric one
};

// The bounds from `start` to `end`, from the element epoch's mean orbit and
// the orbit as it stands at `end` (and at `start` when that is before the
// epoch): drag lowers a decaying satellite by far more than the margins
// within days, and never raises it, so the ends cover the time between. The
// record is left propagated.
ReachBounds BoundsOf(TleRecord &record, const ObserverRecord &observer, double start, double end)
{
    const double n = record.Elements.mean_motion / 60.0; // rad/s
    double e = std::clamp(record.Elements.eccentricity, 0.0, 0.999);
    const double a = std::cbrt(EarthGravity / (n * n));
    double perigee = a * (1.0 - e), apogee = a * (1.0 + e);
    // The osculating orbit from position and velocity at an instant; one
    // that cannot be computed there (decayed before) may have come down to
    // the ground.
    auto include = [&](double instant) {
        TargetState at;
        if (!PropagateSatellite(record, at, 0.0, instant, observer)) {
            perigee = EarthRadiusKm;
            return;
        }
        const Vec4 &r = at.Position, &v = at.Velocity;
        const double axis = 1.0 / (2.0 / r.w - v.w * v.w / EarthGravity);
        const double hx = r.y * v.z - r.z * v.y, hy = r.z * v.x - r.x * v.z, hz = r.x * v.y - r.y * v.x;
        const double eccentricity =
            std::sqrt(std::max(0.0, 1.0 - (hx * hx + hy * hy + hz * hz) / (EarthGravity * axis)));
        if (axis > 0.0 && eccentricity < 1.0) {
            e = std::max(e, eccentricity);
            perigee = std::min(perigee, axis * (1.0 - eccentricity));
            apogee = std::max(apogee, axis * (1.0 + eccentricity));
        }
    };
    include(end);
    if (start + JulianDateOfDayZero < record.Elements.epoch)
        include(start);
    const double lowest = perigee / RadiusMargin - RadiusSlackKm;
    const double highest = apogee * RadiusMargin + RadiusSlackKm;
    // The speed at the lowest point of an orbit reaching up to the highest.
    const double perigeeSpeed = std::sqrt(2.0 * EarthGravity * highest / (lowest * (lowest + highest))) * SpeedMargin;
    const double geocentricLatitude = std::atan2(observer.RhoSinPhi, observer.RhoCosPhi);
    const double observerRadius = EarthRadiusKm * std::hypot(observer.RhoSinPhi, observer.RhoCosPhi);
    return ReachBounds{perigeeSpeed + EarthRotation * observerRadius,
                       perigeeSpeed / lowest + EarthRotation,
                       e * perigeeSpeed + RadialSpeedSlack,
                       highest,
                       lowest,
                       std::fabs(observer.Latitude - geocentricLatitude) + 1e-4};
}

// Seconds during which the elevation cannot change by `change` (rad): the
// line of sight turns at most at speed / range, with the range shrinking at
// most at that speed, and the horizon turns with the Earth.
double SecondsToChange(double change, double range, const ReachBounds &bounds)
{
    const double half = change / 2.0;
    const double bySight = range / bounds.speed * -std::expm1(-half);
    const double byHorizon = half / EarthRotation;
    return std::min(bySight, byHorizon);
}

// The angle at the Earth's centre between the observer and a point at
// `radius` seen `elevation` above the observer's geocentric horizon;
// negative when no such point exists.
double ReachAngle(double elevation, double radius, double observerRadius)
{
    return std::acos(std::min(1.0, observerRadius * std::cos(elevation) / radius)) - elevation;
}

// Seconds before the satellite can stand `threshold` above the horizon: it
// must first come within the reach angle of that elevation at the highest
// radius it can have meanwhile (the lean of the vertical allowed for).
double SecondsToRise(const TargetState &state, const ObserverRecord &observer, double threshold,
                     const ReachBounds &bounds)
{
    const double angle = CalcVectorAngle(state.Position, observer.Eci);
    const double elevation = threshold - bounds.lean;
    const double hopeful = (angle - ReachAngle(elevation, state.Position.w, observer.Eci.w)) / bounds.centralRate;
    if (!(hopeful > 0.0))
        return 0.0;
    // Within `hopeful` seconds the radius grows at most to this.
    const double radius = std::min(bounds.highest, state.Position.w + bounds.radialSpeed * hopeful);
    return (angle - ReachAngle(elevation, radius, observer.Eci.w)) / bounds.centralRate;
}

// Seconds before the satellite can sink to `threshold`, as SecondsToRise
// from the other side: it must first leave the reach angle at the lowest
// radius it can have meanwhile.
double SecondsToSet(const TargetState &state, const ObserverRecord &observer, double threshold,
                    const ReachBounds &bounds)
{
    const double angle = CalcVectorAngle(state.Position, observer.Eci);
    const double elevation = threshold + bounds.lean;
    const double hopeful = (ReachAngle(elevation, state.Position.w, observer.Eci.w) - angle) / bounds.centralRate;
    if (!(hopeful > 0.0))
        return 0.0;
    const double radius = std::max(bounds.lowest, state.Position.w - bounds.radialSpeed * hopeful);
    return (ReachAngle(elevation, radius, observer.Eci.w) - angle) / bounds.centralRate;
}

// Seconds during which a satellite at `position` cannot cross the edge of
// the Earth's shadow (IsSunlit's cylinder): the angle between it and the Sun
// turns at most as fast as its direction, and the edge's angle moves with its
// distance from the Earth's centre.
double SecondsToShadowEdge(const Vec4 &position, const Vec4 &sun, const ReachBounds &bounds)
{
    const double lowest = std::max(bounds.lowest, EarthRadiusKm + 1.0);
    const double edgeRate =
        EarthRadiusKm * bounds.radialSpeed / (lowest * std::sqrt(lowest * lowest - EarthRadiusKm * EarthRadiusKm));
    const double radius = std::max(position.w, EarthRadiusKm);
    const double edge = std::acos(EarthRadiusKm / radius) + HalfPi;
    return std::fabs(edge - CalcVectorAngle(position, sun)) / (bounds.centralRate + edgeRate);
}

long long WholeSeconds(double seconds)
{
    return seconds >= 2.0 ? static_cast<long long>(std::min(seconds, 1e7)) * Second : Second;
}

// The whole second after the instant.
double SecondAfter(double instant) { return MillisecondsToInstant(InstantToMilliseconds(instant) + Second); }

double ResultInstant(long long t, long long startMs, double start)
{
    // Not moved: the caller's own instant, not its millisecond rounding, so
    // "already up" reads as rise == start.
    return t == startMs ? start : MillisecondsToInstant(t);
}

} // namespace

bool MoveSatellite(TleRecord &record, TargetState &state, ObserverRecord &observer, double instant)
{
    const double gmst = UpdateSiderealObserver(instant, observer);
    return PropagateSatellite(record, state, gmst, instant, observer);
}

Vec4 SunAlong::At(long long t)
{
    constexpr long long Hour = 3600 * Second;
    auto sunAt = [](long long at) {
        Vec4 sun{};
        CalcBodyOfDate(BodySun, MillisecondsToInstant(at), sun);
        return sun;
    };
    if (t < from_ || t > to_) {
        const long long from = t - t % Hour;
        first_ = from == to_ ? last_ : sunAt(from);
        from_ = from;
        to_ = from + Hour;
        last_ = sunAt(to_);
    }
    const double f = static_cast<double>(t - from_) / Hour;
    return MakeVector(first_.x + (last_.x - first_.x) * f, first_.y + (last_.y - first_.y) * f,
                      first_.z + (last_.z - first_.z) * f);
}

std::optional<double> PassMagnitude(const TleRecord &record, const TargetState &state,
                                    const ObserverRecord &observer, const Vec4 &sunOfDate)
{
    return CalcSunlitMagnitude(record.StdMagnitude, state.RaDec.third, observer.Eci, state.Position, sunOfDate);
}

long long FindCulmination(TleRecord &record, TargetState &state, ObserverRecord &observer, long long first,
                          long long last)
{
    // An instant without a position is no culmination.
    auto elevationAt = [&](long long t) {
        return MoveSatellite(record, state, observer, MillisecondsToInstant(t)) ? CalcTargetElevation(state, observer)
                                                                                  : -Pi;
    };
    const long long sample =
        std::max(Second, static_cast<long long>(record.Period * 60.0 / CulminationSamples) * Second);
    long long best = first;
    double highest = elevationAt(first);
    for (long long t = first; t < last;) {
        t = std::min(t + sample, last);
        const double elevation = elevationAt(t);
        if (elevation > highest) {
            highest = elevation;
            best = t;
        }
    }
    // Within a sample either side of the highest one the elevation rises to
    // one top and falls: a golden-section search pins the top to within
    // CulminationPrecision, fine enough near the zenith, where the elevation
    // turns by a few tenths of a degree within a second.
    double low = static_cast<double>(std::max(first, best - sample));
    double high = static_cast<double>(std::min(last, best + sample));
    double lower = high - GoldenRatio * (high - low), upper = low + GoldenRatio * (high - low);
    double atLower = elevationAt(std::llround(lower)), atUpper = elevationAt(std::llround(upper));
    while (high - low > CulminationPrecision) {
        if (atLower > atUpper) {
            high = upper;
            upper = lower;
            atUpper = atLower;
            lower = high - GoldenRatio * (high - low);
            atLower = elevationAt(std::llround(lower));
        } else {
            low = lower;
            lower = upper;
            atLower = atUpper;
            upper = low + GoldenRatio * (high - low);
            atUpper = elevationAt(std::llround(upper));
        }
    }
    // A top at an end of the part (a pass cut by the window or by sunlight)
    // is that end itself.
    if (low == static_cast<double>(first) || high == static_cast<double>(last))
        return low == static_cast<double>(first) ? first : last;
    return std::llround((low + high) / 2.0);
}

SunlightEdge FindSunlightEdge(TleRecord &record, TargetState &state, const ObserverRecord &observer,
                              SunAlong &sun, long long first, long long last, bool litAtFirst)
{
    const ReachBounds bounds = BoundsOf(record, observer, MillisecondsToInstant(first), MillisecondsToInstant(last));
    // Only the position matters, so sidereal time is not needed.
    auto moveTo = [&](long long t) { return PropagateSatellite(record, state, 0.0, MillisecondsToInstant(t), observer); };
    auto changedAt = [&](long long t) { return moveTo(t) && IsSunlit(state.Position, sun.At(t)) != litAtFirst; };
    // The last second of the scan: the first at or after `last`.
    const long long end = first + std::max(1LL, (last - first + Second - 1) / Second) * Second;
    long long unchanged = first;
    bool moved = moveTo(first);
    for (;;) {
        const long long step =
            moved ? WholeSeconds(SecondsToShadowEdge(state.Position, sun.At(unchanged), bounds)) : Second;
        const long long probe = std::min(unchanged + step, end);
        moved = moveTo(probe);
        if (moved && IsSunlit(state.Position, sun.At(probe)) != litAtFirst) {
            // The one change lies in (unchanged, probe]: halve to the second.
            long long changed = probe;
            while (changed - unchanged > Second) {
                const long long middle = unchanged + (changed - unchanged) / Second / 2 * Second;
                if (changedAt(middle))
                    changed = middle;
                else
                    unchanged = middle;
            }
            return {changed, true};
        }
        if (probe == end)
            return {end, false};
        unchanged = probe;
    }
}

std::vector<SunlightStretch> FindSunlightStretches(TleRecord &record, TargetState &state,
                                                   ObserverRecord &observer, SunAlong &sun, long long rise,
                                                   long long set)
{
    state.Mode = ModeNothing;
    MoveSatellite(record, state, observer, MillisecondsToInstant(rise));
    bool lit = IsSunlit(state.Position, sun.At(rise));
    std::vector<SunlightStretch> stretches;
    for (long long first = rise;;) {
        const SunlightEdge edge = FindSunlightEdge(record, state, observer, sun, first, set, lit);
        const long long shown = lit ? edge.at - Second : edge.at;
        const bool changesInPass = edge.changed && shown < set;
        stretches.push_back({first, changesInPass ? edge.at - Second : set, lit});
        if (!changesInPass)
            return stretches;
        first = edge.at;
        lit = !lit;
    }
}

namespace {

// The walk both searches share: `rising` looks for the elevation at or above
// the threshold, otherwise for it at or below.
double FindCrossingSecond(TleRecord &record, TargetState &state, double threshold, double start,
                          double end, ObserverRecord &observer, bool rising)
{
    const ReachBounds bounds = BoundsOf(record, observer, start, end);
    const long long startMs = InstantToMilliseconds(start);
    const long long endMs = InstantToMilliseconds(end);
    long long t = startMs;
    for (;;) {
        const double instant = ResultInstant(t, startMs, start);
        if (!MoveSatellite(record, state, observer, instant))
            return rising ? FindRiseTime(record, state, threshold, instant, end, observer)
                          : FindSetTime(record, state, threshold, instant, end, observer);
        const double elevation = CalcTargetElevation(state, observer);
        // How far the satellite still is from the threshold, on the side it starts.
        const double gap = rising ? threshold - elevation : elevation - threshold;
        if (gap <= 0)
            return t < endMs ? instant : end;
        if (t >= endMs)
            return end;
        const double range = CalcVectorDistance(state.Position, observer.Eci);
        t += WholeSeconds(std::max(SecondsToChange(gap, range, bounds),
                                   rising ? SecondsToRise(state, observer, threshold, bounds)
                                          : SecondsToSet(state, observer, threshold, bounds)));
    }
}

} // namespace

double FindRiseSecond(TleRecord &record, TargetState &state, double threshold, double start,
                      double end, ObserverRecord &observer)
{
    return FindCrossingSecond(record, state, threshold, start, end, observer, true);
}

double FindSetSecond(TleRecord &record, TargetState &state, double threshold, double start,
                     double end, ObserverRecord &observer)
{
    return FindCrossingSecond(record, state, threshold, start, end, observer, false);
}

namespace {

// The rise of the pass in progress at `now` (a whole second at which the
// satellite is up), found forward from a second below the threshold: back
// a day, then ever further to `earliest`, which comes back when the
// satellite was up all along. Each step back searches only the stretch
// before the one already found to be up throughout.
//
// A set is searched from the second after its rise: the deep-space model
// carries its integrator from call to call, so the rise second read again
// after another search may fall just below the threshold, and a set found
// there would give a pass no length (and this walk no progress).
double RiseOfPassInProgress(TleRecord &record, TargetState &state, double threshold, long long nowMs,
                            long long earliestMs, ObserverRecord &observer)
{
    constexpr long long Day = 86400 * Second;
    long long upFromMs = nowMs;
    for (long long back = Day;; back *= 2) {
        const long long fromMs = std::max(nowMs - back, earliestMs);
        const double upFrom = MillisecondsToInstant(upFromMs);
        double below = FindSetSecond(record, state, threshold, MillisecondsToInstant(fromMs), upFrom, observer);
        // From a second below, over any earlier passes to the last rise.
        while (below < upFrom) {
            const double rise = FindRiseSecond(record, state, threshold, below, upFrom, observer);
            below = FindSetSecond(record, state, threshold, SecondAfter(rise), upFrom, observer);
            if (below >= upFrom)
                return rise;
        }
        if (fromMs == earliestMs)
            return MillisecondsToInstant(earliestMs);
        upFromMs = fromMs;
    }
}

} // namespace

PassTimes FindPassAt(TleRecord &record, TargetState &state, double threshold, double now, double days,
                     ObserverRecord &observer)
{
    const long long nowMs = InstantToMilliseconds(now) / Second * Second;
    const long long spanMs = std::llround(days * 86400.0) * Second;
    const double from = MillisecondsToInstant(nowMs), end = MillisecondsToInstant(nowMs + spanMs);
    PassTimes pass;
    pass.Rise = FindRiseSecond(record, state, threshold, from, end, observer);
    if (pass.Rise >= end) {
        pass.Set = end;
        return pass;
    }
    const bool up = pass.Rise == from;
    if (up) {
        const long long earliestMs = nowMs - spanMs;
        pass.Rise = RiseOfPassInProgress(record, state, threshold, nowMs, earliestMs, observer);
        pass.RiseFound = pass.Rise > MillisecondsToInstant(earliestMs);
    } else {
        pass.RiseFound = true;
    }
    // From the second after the one found up, as in RiseOfPassInProgress.
    pass.Set = FindSetSecond(record, state, threshold, SecondAfter(up ? from : pass.Rise), end, observer);
    pass.SetFound = pass.Set < end;
    return pass;
}
