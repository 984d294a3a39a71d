#include "engine/reports/sun_moon_tables.h"

#include <cmath>

#include "engine/astronomy/bodies.h"
#include "engine/astronomy/body_events.h"
#include "engine/astronomy/constants.h"
#include "engine/astronomy/geodesy.h"
#include "engine/astronomy/planet_places.h"
#include "engine/astronomy/vectors.h"
#include "engine/text/text_fields.h"
#include "engine/text/text_format.h"
#include "engine/satellites/satellite_driver.h"

namespace {

constexpr long long DayMs = 86'400'000;

double AddDays(double instant, int days)
{
    return MillisecondsToInstant(InstantToMilliseconds(instant) + days * DayMs);
}

// The Moon's lit percentage seen by the observer at the instant, both bodies
// and the observer taken in the frame of date.
double MoonLitPercent(double instant, ObserverRecord &observer)
{
    Vec4 moon, sun, moonOfDate, sunOfDate;
    if (!CalcBodyGeocentric(BodyMoon, moon, instant) || !CalcBodyGeocentric(BodySun, sun, instant))
        return 0.0;
    const double julianDate = instant + JulianDateOfDayZero;
    PrecessVectorFromJ2000(moon, moonOfDate, julianDate);
    PrecessVectorFromJ2000(sun, sunOfDate, julianDate);
    UpdateSiderealObserver(instant, observer);
    return CalcIlluminatedFraction(observer.Eci, moonOfDate, sunOfDate) * 100.0;
}

const char *BodyName(int body)
{
    static const char *const names[] = {"",        "Mercury", "Venus",   "Earth",
                                        "Mars",    "Jupiter", "Saturn",  "Uranus",
                                        "Neptune", "Pluto",   "Luna",    "Sun"};
    return names[body];
}

} // namespace

std::vector<std::string> BuildRiseSetTable(const RiseSetTableInputs &inputs)
{
    std::vector<std::string> lines;
    ObserverRecord observer = inputs.Observer;
    const bool moon = inputs.Body == BodyMoon;
    const double offset = inputs.UtcMode ? 0.0 : observer.UtcOffset;
    const double h = inputs.Threshold;

    lines.emplace_back("  ");
    lines.push_back(inputs.Title + std::to_string(inputs.Days) + " days");
    lines.push_back("  Location: " + observer.Name.str() + "     Utc Offset: " +
                    FormatReport("%0:3.1f", {observer.UtcOffset * 24.0}));
    lines.push_back(FormatReport("  Lat: %0:.4f    Lon: %1:.4f",
                                 {RadToDeg(observer.Latitude), RadToDeg(observer.Longitude)}));
    lines.emplace_back("  ");
    lines.emplace_back(moon ? "  MM/DD/Year  Rise       Mid        Set        SL%"
                            : "  MM/DD/Year  Rise       Mid        Set");

    const double date = std::floor(inputs.Date);
    // Day 0 begins at the chosen date's midnight in the shown time scale.
    const double first = date - offset;
    TargetState body;
    body.BodyId = inputs.Body;
    for (int i = 0; i < inputs.Days; ++i) {
        const double t = AddDays(first, i);
        const double e = AddDays(first, i + 1);
        body.Mode = ModeRaDecHorizon;
        UpdateBody(body, UpdateSiderealObserver(t, observer), t, observer);
        double rise, set;
        if (body.Elevation >= h) {
            set = FindBodyAltitudeCrossing(body, BodySetting, h, t, e, observer);
            rise = FindBodyAltitudeCrossing(body, BodyRising, h, set, e, observer);
        } else {
            rise = FindBodyAltitudeCrossing(body, BodyRising, h, t, e, observer);
            set = FindBodyAltitudeCrossing(body, BodySetting, h, rise, e, observer);
        }
        double mid = FindBodyTransit(body, t, e, observer);
        body.Mode = ModeNothing;

        const std::string litPercent = moon ? FormatReport("%0:.1f", {MoonLitPercent(mid, observer)}) : "";
        const std::string riseText = FormatClockTime(rise, e, inputs.WithSeconds, offset);
        const std::string midText = FormatClockTime(mid, e, inputs.WithSeconds, offset);
        const std::string setText = FormatClockTime(set, e, inputs.WithSeconds, offset);
        const std::string dateText = FormatInstant("mm/dd/yyyy", AddDays(date, i));
        if (moon)
            lines.push_back(FormatReport("  %0:-10s  %1:-8s   %2:-8s   %3:-8s   %4:-8s",
                                         {dateText, riseText, midText, setText, litPercent}));
        else
            lines.push_back(FormatReport("  %0:-10s  %1:-8s   %2:-8s   %3:-8s",
                                         {dateText, riseText, midText, setText}));
    }
    return lines;
}

std::vector<std::string> BuildPlanetTable(double instant, double instantShown,
                                          const std::string &timeCaption, ObserverRecord observer)
{
    std::vector<std::string> lines = {" ", "  Planets and Moon - J2000 Position ", " "};
    lines.push_back(FormatReport("  Date:  %:0s %1:s",
                                 {FormatInstant("MMM dd yyyy HH:nn:ss ", instantShown), timeCaption}));
    lines.emplace_back("   ");
    lines.emplace_back("  Name      Ra             Dec             Alt     Az");

    for (const BodyPlace &place : PlanetPlaces(instant, observer)) {
        const TargetState &body = place.State;
        lines.push_back(FormatReport(
            "  %0:-9s %1:12s  %2:12s %3:7s %4:7s",
            {BodyName(place.Code), FormatAngleHMS(true, 1, body.RaDec.first),
             FormatAngleDMS(true, 1, body.RaDec.second),
             FormatReport("%0:.2f", {RadToDeg(body.Elevation)}),
             FormatReport("%0:.2f", {RadToDeg(body.Azimuth)})}));
    }
    lines.emplace_back("");
    return lines;
}
