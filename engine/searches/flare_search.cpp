#include "engine/searches/flare_search.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "engine/astronomy/bodies.h"
#include "engine/astronomy/constants.h"
#include "engine/astronomy/geodesy.h"
#include "engine/astronomy/vectors.h"
#include "engine/files/string_lists.h"
#include "engine/text/text_format.h"
#include "engine/reports/transit_report.h"
#include "engine/satellites/satellite_driver.h"
#include "engine/searches/pass_steps.h"

namespace {

constexpr long long Second = 1000; // ms

// Only a minimum of the angle below this (degrees) is a flare.
constexpr double FlareAngleLimit = 3.0;
// Below this angle (degrees) only the panel closest to the observer is followed.
constexpr double SinglePanelAngle = 60.0;
// The angle is sampled every 30 s while it is this large (degrees), then
// every 500 ms per degree, never more often than every 150 ms.
constexpr double CoarseAngle = 30.0;
constexpr long long CoarseStep = 30 * Second;
constexpr double StepPerDegree = 500.0;
constexpr long long ShortestStep = 150;
// A flare is kept in the pass list from 10 s before to 10 s after it.
constexpr long long FlareHalfSpan = 10 * Second;

// The line's ID: the name without its "IRIDIUM " prefix.
std::string FlareId(const TleRecord &record)
{
    const std::string name = record.Name.str();
    std::string id = name.size() > 8 ? name.substr(8) : std::string();
    const auto first = id.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return id.substr(first, id.find_last_not_of(' ') - first + 1);
}

// The ID column is as wide as the longest ID of the set searched (at least
// its 4 characters), so that "7 [+]" and "105 [+]" end in the same column and
// every column after them lines up.
std::string IdColumn(std::string id, const tlearray &satellites)
{
    std::size_t width = 4;
    for (const TleRecord &record : satellites)
        width = std::max(width, FlareId(record).size());
    return std::string(width - std::min(width, id.size()), ' ') + id;
}

std::string FlareLine(const TleRecord &record, const FlareGeometry &flare, double instant,
                      const PredictionInputs &inputs)
{
    return FormatReport(
        "  %0:-16s%1:4s%2:5.0f%3:5.0f%4:7.0f%5:6.1f%6:8.3f%7:10.3f%8:7.0f%9:7.1f%10:6.1f",
        {FormatInstant("mm/dd HH:nn:ss", instant + inputs.DisplayOffset),
         IdColumn(FlareId(record), inputs.Satellites),
         RadToDeg(flare.Elevation), RadToDeg(flare.Azimuth), flare.Distance, flare.Magnitude,
         RadToDeg(flare.CentrePoint.first), RadToDeg(flare.CentrePoint.second), RadToDeg(flare.Bearing),
         flare.CentreDistance * inputs.DistanceFactor, flare.CentreMagnitude});
}

// Follows the reflection angle through one pass from its rise at t, with the
// step shrinking as the angle closes, until the angle passes a minimum below
// 3 degrees while the satellite is sunlit (the flare, evaluated at the
// sample before the angle grew again), the satellite sets, or the window
// ends. t is left where the search stopped. A failed propagation gives no
// flare from the pass.
std::optional<FlareGeometry> FollowReflection(TleRecord &record, long long &t, long long windowEnd,
                                              double minElevation, ObserverRecord &observer)
{
    TargetState satellite;
    // The Sun barely moves in a pass; it is taken once at the rise.
    Vec4 sun;
    if (!CalcBodyOfDate(BodySun, MillisecondsToInstant(t), sun))
        return std::nullopt;

    double elevation = 0.0;
    auto sample = [&](long long at) {
        const double instant = MillisecondsToInstant(at);
        const double gmst = UpdateSiderealObserver(instant, observer);
        if (!PropagateSatellite(record, satellite, gmst, instant, observer))
            return false;
        elevation = CalcTargetElevation(satellite, observer);
        return true;
    };
    if (!sample(t))
        return std::nullopt;

    double angle = NoFlareAngle, previous = NoFlareAngle;
    std::int32_t selector = 0, best = 1;
    long long step = CoarseStep;
    Vec4 ray{};
    // The last sample at or above the minimum elevation, for a pass that
    // sets while the angle is still closing.
    long long lastHigh = t;
    double lastHighAngle = NoFlareAngle;

    while (elevation >= minElevation) {
        if (!sample(t))
            return std::nullopt;
        iridiumcalc(&observer.Eci, &satellite.Position, &satellite.Velocity, &sun, &ray, &angle, &best,
                    selector);
        if (angle > previous && angle < FlareAngleLimit) {
            // The minimum lies behind: the sample before it is the flare,
            // unless the satellite is in the Earth's shadow there.
            t -= step;
            std::optional<FlareGeometry> flare = EvaluateFlare(record, MillisecondsToInstant(t), observer);
            if (!flare)
                return std::nullopt;
            if (flare->Sunlit)
                return flare;
            angle = NoFlareAngle;
        }
        if (angle > previous)
            angle = NoFlareAngle; // a growing angle is no candidate
        if (elevation >= minElevation) {
            lastHigh = t;
            lastHighAngle = angle;
        }
        previous = angle;
        selector = angle < SinglePanelAngle ? best : 0;
        step = angle >= CoarseAngle ? CoarseStep
                                    : std::max(ShortestStep, static_cast<long long>(angle * StepPerDegree));
        t += step;
        if (t >= windowEnd)
            return std::nullopt;
    }

    // The satellite set while the angle was still closing: the flare is seen
    // at the last sample that stood high enough, if it is close enough and
    // the satellite is sunlit there.
    if (lastHighAngle < FlareAngleLimit) {
        std::optional<FlareGeometry> flare = EvaluateFlare(record, MillisecondsToInstant(lastHigh), observer);
        if (flare && flare->Sunlit && flare->Angle < FlareAngleLimit) {
            t = lastHigh;
            return flare;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<FlareGeometry> EvaluateFlare(TleRecord &record, double instant, ObserverRecord &observer)
{
    const double gmst = UpdateSiderealObserver(instant, observer);
    TargetState satellite;
    satellite.Mode = ModeRaDecHorizon;
    Vec4 sun;
    if (!PropagateSatellite(record, satellite, gmst, instant, observer) ||
        !CalcBodyOfDate(BodySun, instant, sun))
        return std::nullopt;

    FlareGeometry flare;
    Vec4 ray{};
    std::int32_t panel = 1;
    iridiumcalc(&observer.Eci, &satellite.Position, &satellite.Velocity, &sun, &ray, &flare.Angle, &panel, 0);
    if (!(flare.Angle < NoFlareAngle))
        return std::nullopt;
    // With all panels evaluated the ray is that of the last lit one: ask
    // again for the closest panel's own.
    flare.Panel = panel;
    iridiumcalc(&observer.Eci, &satellite.Position, &satellite.Velocity, &sun, &ray, &flare.Angle, &panel,
                panel);
    if (!iridtrkvect(&ray, &satellite.Position, &flare.Centre, observer.Eci.w, &flare.Distance))
        return std::nullopt;

    flare.Theta = CalcSeparationAngle(satellite.Position, flare.Centre, sun);
    flare.CentreMagnitude =
        2.5 * std::log10(std::pow(flare.Distance / 1000.0, 2) / (1.62 * std::cos(flare.Theta / 2.0))) - 7.5;
    flare.Elevation = satellite.Elevation;
    flare.Azimuth = satellite.Azimuth;
    flare.Magnitude = std::max(flare.CentreMagnitude, std::log10(2.2 / flare.Angle) * flare.CentreMagnitude +
                                                          1.25 * std::cos(flare.Elevation));
    CalcSubPoint(flare.Centre, flare.CentrePoint, gmst);
    const Angles3 site{observer.Latitude, observer.Longitude, 0.0};
    flare.CentreDistance = CalcEllipsoidDistance(site, flare.CentrePoint);
    flare.Bearing = CalcInitialBearing(site, flare.CentrePoint);
    flare.Sunlit = IsSunlit(satellite.Position, sun);
    return flare;
}

PredictionResult SearchSatelliteFlares(TleRecord &record, ObserverRecord &observer, const PredictionInputs &inputs,
                                       const std::vector<WindowItem> &windows, const SearchControl &control)
{
    PredictionResult result;
    TargetState satellite;
    SharedSatellite shared;
    for (const WindowItem &window : windows) {
        double t = window.StartTime;
        const long long windowEnd = InstantToMilliseconds(window.EndTime);
        while (t < window.EndTime) {
            if (control.Cancelled())
                return result;
            t = FindRiseSecond(record, satellite, inputs.MinElevation, t, window.EndTime, observer);
            if (t >= window.EndTime)
                break;
            const long long rise = InstantToMilliseconds(t);
            long long at = rise;
            const std::optional<FlareGeometry> flare =
                FollowReflection(record, at, windowEnd, inputs.MinElevation, observer);
            if (flare && flare->Magnitude <= inputs.FaintestFlare) {
                const double instant = MillisecondsToInstant(at);
                PassRecord pass = shared.MakePassRecord(record);
                pass.Magnitude = flare->Magnitude;
                pass.Elevation = RadToDeg(flare->Elevation);
                pass.StartTime = MillisecondsToInstant(at - FlareHalfSpan);
                pass.EndTime = MillisecondsToInstant(at + FlareHalfSpan);
                result.Passes.push_back(std::move(pass));
                result.Lines.push_back(FlareLine(record, *flare, instant, inputs));
                result.Found = true;
            }
            // On from the pass's set: at most one flare a pass, and no pass
            // stepped over.
            t = FindSetSecond(record, satellite, inputs.MinElevation,
                              MillisecondsToInstant(std::max(at, rise + Second)), window.EndTime, observer);
        }
    }
    return result;
}

PredictionResult SearchIridiumFlares(const PredictionInputs &inputs, const SearchControl &control)
{
    PredictionResult result;
    result.Lines.emplace_back("  Iridium Flare Passes");
    WritePredictionHeader(inputs, result.Lines);
    result.Lines.emplace_back("  ");
    result.Lines.push_back(FormatReport("%0:-18s%1:4s%2:5s%3:5s%4:7s%5:6s%6:8s%7:10s%8:7s%9:7s%10:6s",
                                        {"  MM/DD Time", IdColumn("ID", inputs.Satellites), "Alt", "Az", "Range",
                                         "Mag", "LatC", "LongC", "BrgC", "DistC", "MagC"}));

    const std::vector<WindowItem> windows = SunWindows(inputs, inputs.DayFlares, !inputs.DayFlares);
    PredictionResult flares =
        SearchSatellites(inputs, control, [&](TleRecord &record, ObserverRecord &observer) {
            return SearchSatelliteFlares(record, observer, inputs, windows, control);
        });
    // Month and day lead the lines, so they sort by date within a year.
    std::stable_sort(flares.Lines.begin(), flares.Lines.end(), [](const std::string &a, const std::string &b) {
        return CompareTextIgnoreCase(a, b) < 0;
    });
    AppendResult(result, std::move(flares));
    EndEmptyReport(inputs, result, NoFlaresLine);
    return result;
}
