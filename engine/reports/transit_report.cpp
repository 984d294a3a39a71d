#include "engine/reports/transit_report.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "engine/astronomy/bodies.h"
#include "engine/astronomy/constants.h"
#include "engine/astronomy/geodesy.h"
#include "engine/searches/pass_search.h"
#include "engine/searches/pass_steps.h"
#include "engine/runtime/program_state.h"
#include "engine/text/text_fields.h"
#include "engine/satellites/satellite_driver.h"
#include "engine/text/text_format.h"
#include "engine/runtime/ui_hooks.h"
#include "engine/astronomy/vectors.h"

namespace {

constexpr long long Second = 1000; // ms
constexpr long long Day = 86400 * Second;
constexpr double UnixEpochInstant = 25569.0; // 1970-01-01

constexpr const char *DateTimePattern = "MMM dd yyyy HH:nn:ss";
constexpr double MaxPredictionDays = 15.0;

// The approach search: 10 s steps, 3 s within 10 degrees, then 250 ms steps
// (75 ms within half a degree) once the closest approach is bracketed.
constexpr long long CoarseStep = 10 * Second;
constexpr long long NearStep = 3 * Second;
constexpr long long FineStep = 250;
constexpr long long FinestStep = 75;
constexpr double NearDegrees = 10.0;
constexpr double ApproachDegrees = 5.0;
constexpr double FinestDegrees = 0.5;
// With the Sun above this altitude (rad) a transit is not observable at night.
constexpr double TwilightLimit = -0.017;

const char *TimeTag(bool utc) { return utc ? "(Z)" : "(L)"; }

bool HasEphemeris(const TargetState &body)
{
    return body.BodyId >= BodyMercury && body.BodyId <= BodySun;
}

// The satellite, the target and the observer moved together, so every
// separation compares positions of one instant in the frame of date.
struct ApproachGeometry {
    TleRecord &record;
    TargetState &target;
    ObserverRecord &observer;
    TargetState satellite{};
    Vec4 targetOfDate{};
    double gmst = 0.0;
    double instant = 0.0;

    // False when the satellite cannot be propagated to t.
    bool MoveTo(long long t)
    {
        instant = MillisecondsToInstant(t);
        gmst = UpdateSiderealObserver(instant, observer);
        if (!PropagateSatellite(record, satellite, gmst, instant, observer))
            return false;
        if (HasEphemeris(target))
            UpdateBody(target, gmst, instant, observer);
        PrecessVectorFromJ2000(target.Position, targetOfDate, instant + JulianDateOfDayZero);
        return true;
    }

    double SeparationDegrees() const
    {
        return RadToDeg(CalcSeparationAngle(observer.Eci, satellite.Position, targetOfDate));
    }

    // The Sun of date at the current instant (a zero vector when the
    // ephemeris cannot give it; the user has been told then).
    Vec4 SunOfDate() const
    {
        Vec4 ofDate{};
        CalcBodyOfDate(BodySun, instant, ofDate);
        return ofDate;
    }
};

// From a rise at t, the instant of the closest approach before the set at
// `endMs` and its separation in degrees, t left there. The coarse steps only
// bracket the approach: the fine search starts one coarse step before the
// last approaching sample, so an approach that fell between two coarse
// samples is still found; one still closing at the set is closest at the
// last fine step a second or more before it. False when the satellite
// could not be propagated or the pass ran past its set.
bool FindClosestApproach(ApproachGeometry &geometry, long long &t, long long endMs, double &smallest)
{
    double separation = geometry.SeparationDegrees();
    double previous = separation;
    long long coarse = CoarseStep;
    long long previousSample = t, earlierSample = t;
    do {
        previous = separation;
        if (t > endMs)
            return false;
        if (separation < NearDegrees && coarse == CoarseStep)
            coarse = NearStep;
        earlierSample = previousSample;
        previousSample = t;
        t += coarse;
        if (!geometry.MoveTo(t))
            return false;
        separation = geometry.SeparationDegrees();
    } while (separation >= ApproachDegrees && separation <= previous);

    t = earlierSample;
    if (!geometry.MoveTo(t))
        return false;
    previous = geometry.SeparationDegrees();
    long long step = FineStep;
    for (;;) {
        if (previous < FinestDegrees && step == FineStep)
            step = FinestStep;
        // The last second before the set is the pass's last known above
        // the threshold.
        if (t + step > endMs - Second)
            break;
        t += step;
        if (!geometry.MoveTo(t))
            return false;
        separation = geometry.SeparationDegrees();
        if (separation > previous) {
            t -= step;
            break;
        }
        previous = separation;
    }
    smallest = previous;
    return true;
}

// From a closest approach at t, on past the stretch in which the separation
// grows, to the first coarse step at which it shrinks again (or past
// `endMs`). False when the satellite could not be propagated.
bool PassReceding(ApproachGeometry &geometry, long long &t, long long endMs)
{
    double previous = geometry.SeparationDegrees();
    while (t <= endMs) {
        t += CoarseStep;
        if (!geometry.MoveTo(t))
            return false;
        const double separation = geometry.SeparationDegrees();
        if (separation < previous)
            return true;
        previous = separation;
    }
    return true;
}

void WriteTransitHeader(const TleRecord &record, std::vector<std::string> &lines,
                        const ObserverRecord &observer, double distanceFactor)
{
    WriteSatelliteHeader(record, lines, observer, distanceFactor);
    lines.emplace_back("  ");
    lines.push_back(FormatReport("  %0:-5s %1:-11s %2:-5s %3:-5s %4:-6s  %5:-8s %6:-8s %7:-7s %8:-3s",
                                 {"MM/DD", "Time", "Alt", "Az", "Mag", "Satlit", "Sep(m)", "Range",
                                  "Illum(%)"}));
}

// The digits (and sign) of a formatted angle, as the pickers' masks take them.
std::string MaskDigits(const std::string &text)
{
    std::string digits;
    for (const char c : text)
        if ((c >= '0' && c <= '9') || c == '+' || c == '-')
            digits += c;
    return digits;
}

void SetFixedTarget(TargetState &target, double rightAscension, double declination)
{
    target.RaDec = Angles3{rightAscension, declination, AstronomicalUnitKm};
    SphericalToCartesian(target.RaDec, target.Position);
}

} // namespace

double PresentInstant()
{
    const auto sinceEpoch = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::system_clock::now().time_since_epoch());
    return MillisecondsToInstant(InstantToMilliseconds(UnixEpochInstant) + sinceEpoch.count());
}

void WriteReportHeader(bool utc, std::vector<std::string> &lines, double start, double stop,
                       const ObserverRecord &observer, double presentUtc)
{
    const char *tag = TimeTag(utc);
    const double produced = utc ? presentUtc : presentUtc + observer.UtcOffset;
    lines.emplace_back("   ");
    lines.push_back(FormatReport("  Produced:  %s ", {FormatInstant(DateTimePattern, produced) + tag}));
    lines.push_back(FormatReport("  Location: %0s Lat: %1:6.4f  Lon: %2:6.4f",
                                 {observer.Name.str(), RadToDeg(observer.Latitude),
                                  RadToDeg(observer.Longitude)}));
    lines.push_back(FormatReport("  Start: %0s  Stop: %1s",
                                 {FormatInstant(DateTimePattern, start) + tag,
                                  FormatInstant(DateTimePattern, stop) + tag}));
    lines.emplace_back("  ");
    lines.emplace_back(utc ? "  All Times are \"UTC\"" : "  All Times are \"Local\"");
    lines.emplace_back("  ");
}

void WriteSatelliteHeader(const TleRecord &record, std::vector<std::string> &lines,
                          const ObserverRecord &observer)
{
    WriteSatelliteHeader(record, lines, observer, DistanceFactor);
}

const char *DistanceUnit(double distanceFactor)
{
    return distanceFactor == 1.0 ? "km" : "mi.";
}

void WriteSatelliteHeader(const TleRecord &record, std::vector<std::string> &lines,
                          const ObserverRecord &observer, double distanceFactor)
{
    const double epoch = record.Elements.epoch - JulianDateOfDayZero;
    lines.push_back("  " + std::string(70, '-'));
    lines.push_back(FormatReport("  Satellite: %0s  -  %1s", {record.Name.str(), record.Number.str()}));
    lines.push_back(FormatReport("  TLE Date: %0:s(Z) - %1:s(L)",
                                 {FormatInstant(DateTimePattern, epoch),
                                  FormatInstant(DateTimePattern, epoch + observer.UtcOffset)}));
    lines.push_back(FormatReport("  Apoge: %1:6.1f %0:s  Perige: %2:6.1f %0:s",
                                 {DistanceUnit(distanceFactor), record.ApogeeHeight * distanceFactor,
                                  record.PerigeeHeight * distanceFactor}));
}

void WriteTransitTable(TleRecord &record, TargetState &target, const std::vector<WindowItem> &windows,
                       double threshold, double separationLimit, bool dayOrNight, bool utc,
                       double distanceFactor, std::vector<std::string> &lines, ObserverRecord &observer)
{
    const double offset = utc ? 0.0 : observer.UtcOffset;
    ApproachGeometry geometry{record, target, observer};
    TargetState &satellite = geometry.satellite;
    bool headerWritten = false;

    // The closest approach at t, written when it is close enough and can be
    // seen: the satellite above the threshold (by the elevation the pass's
    // rise and set were found with, so an approach at the set is kept), the
    // target above the horizon and, unless day or night will do, the sky
    // dark for any target but the Sun. The satellite is left moved to t.
    auto writeApproach = [&](long long t, double smallest) {
        satellite.Mode = ModeRaDecHorizon;
        const bool moved = geometry.MoveTo(t);
        satellite.Mode = ModeNothing;
        if (!moved || !(geometry.SeparationDegrees() < separationLimit) ||
            CalcTargetElevation(satellite, observer) < threshold ||
            !IsAboveApparentHorizon(geometry.targetOfDate, observer))
            return;
        const Vec4 sun = geometry.SunOfDate();
        if (!dayOrNight && target.BodyId > 0 && target.BodyId != BodySun) {
            TargetState sunState;
            sunState.Position = sun;
            if (CalcTargetElevation(sunState, observer) > TwilightLimit)
                return;
        }
        if (!headerWritten) {
            WriteTransitHeader(record, lines, observer, distanceFactor);
            headerWritten = true;
        }
        const double illumination =
            target.BodyId == BodyMoon ? CalcIlluminatedFraction(observer.Eci, geometry.targetOfDate, sun) * 100.0
                                      : 100.0;
        const double range = satellite.RaDec.third;
        const std::optional<double> magnitude =
            CalcSunlitMagnitude(record.StdMagnitude, range, observer.Eci, satellite.Position, sun);
        lines.push_back(TrimRight(FormatReport(
            "  %0:-16s  %1:-5.0f %2:-5.0f %3:-6s  %4:-8s %5:-8.2f %6:-7.0f %7:-3.1f",
            {FormatInstant("mm/dd HH:nn:ss", geometry.instant + offset), RadToDeg(satellite.Elevation),
             RadToDeg(satellite.Azimuth), FormatMagnitude(magnitude), magnitude ? "Yes" : "No", smallest * 60.0,
             range * distanceFactor, illumination})));
    };

    for (const WindowItem &window : windows) {
        double t = window.StartTime;
        const double windowEnd = window.EndTime;
        while (t < windowEnd) {
            t = FindRiseSecond(record, satellite, threshold, t, windowEnd, observer);
            if (t >= windowEnd || record.Decayed)
                break;
            const double set = FindSetSecond(record, satellite, threshold, t, windowEnd, observer);
            const long long rise = InstantToMilliseconds(t), setMs = InstantToMilliseconds(set);
            // A pass of hours may come close to the target more than once:
            // each closest approach of the pass in turn.
            long long at = rise;
            bool moved = geometry.MoveTo(at);
            while (moved && at < setMs) {
                double smallest = 0.0;
                if (!FindClosestApproach(geometry, at, setMs, smallest))
                    break;
                if (smallest < ApproachDegrees && smallest < separationLimit)
                    writeApproach(at, smallest);
                moved = geometry.MoveTo(at) && PassReceding(geometry, at, setMs);
            }
            // On from the set, which no rise can precede.
            t = MillisecondsToInstant(std::max(setMs, rise + Second));
        }
    }
}

bool SelectTransitTarget(TargetState &target, std::string &name, int first, int second)
{
    const UiHooks &hooks = Hooks();
    double rightAscension = 0.0, declination = 0.0;
    if (target.BodyId == BodySkyPoint) {
        if (!hooks.pickSkyPoint)
            return true;
        if (!hooks.pickSkyPoint(MaskDigits(FormatAngleHMS(true, 0, target.RaDec.first)),
                                MaskDigits(FormatAngleDMS(true, 0, target.RaDec.second)),
                                rightAscension, declination))
            return false;
        SetFixedTarget(target, rightAscension, declination);
        name = "Ra/Dec";
    } else if (target.BodyId == BodyStar) {
        if (!hooks.pickStar)
            return true;
        std::string starName;
        if (!hooks.pickStar(first, second, rightAscension, declination, starName))
            return false;
        SetFixedTarget(target, rightAscension, declination);
        name = starName;
    }
    return true;
}

std::string MissingTransitTargetText(int bodyId)
{
    if (bodyId == BodyStar)
        return "No star chosen. Choose \"STAR\" under \"Transit Object\" and pick a star.";
    return "No sky point chosen. Choose \"Ra/Dec\" under \"Transit Object\" and enter its RA and DEC.";
}

bool CheckPredictionPeriod(double start, double end)
{
    const long long span = InstantToMilliseconds(end) - InstantToMilliseconds(start);
    if (span < 0) {
        ShowUserMessage("The End Date is set prior to Start Date", "KYT");
        return false;
    }
    if (span > std::llround(MaxPredictionDays * static_cast<double>(Day))) {
        ShowUserMessage("Prediction period between Start and End Dates exceeds 15 days", "KYT");
        return false;
    }
    return true;
}
