// The ground lines of Iridium flares as KML lines.
#include "engine/reports/kml_export.h"

#include "engine/astronomy/bodies.h"
#include "engine/astronomy/geodesy.h"
#include "engine/reports/kml_document.h"
#include "engine/text/text_format.h"
#include "engine/satellites/satellite_driver.h"

namespace {

// Instants 0..10, 2 s apart from the record's start (10 s before the flare):
// the first that propagates (instant 0) picks the panel, 1..10 are drawn.
constexpr int LastInstant = 10;
constexpr long long InstantStep = 2000; // ms
// An instant whose panel faces away from the Sun.
constexpr double NoReflection = 180.0;
// A reflected ray that hits the sphere ends on it; one that misses ends at
// its closest approach, farther out.
constexpr double HitTolerance = 1e-3; // km

// The centre line's points: where the reflected ray of the panel chosen at
// instant 0 meets the sphere through the observer, at instants 1..10 whose
// panel is lit and whose ray reaches the sphere.
std::vector<std::string> FlareCentreLine(const PassRecord &pass, ObserverRecord &observer)
{
    std::vector<std::string> points;
    if (!pass.Satellite)
        return points;
    TleRecord satellite = *pass.Satellite;
    const long long start = InstantToMilliseconds(pass.StartTime);
    // The Sun barely moves in 20 s: it is taken once, in the satellites'
    // frame of date.
    Vec4 sun;
    if (!CalcBodyOfDate(BodySun, pass.StartTime, sun))
        return points;
    std::int32_t panel = 0;
    for (int k = 0; k <= LastInstant; ++k) {
        const double instant = MillisecondsToInstant(start + k * InstantStep);
        const double gmst = UpdateSiderealObserver(instant, observer);
        TargetState state;
        if (!PropagateSatellite(satellite, state, gmst, instant, observer))
            continue;
        // The ray and the point it reaches are kept apart, so an instant
        // that writes no ray cannot leave a ground point as the next
        // direction.
        Vec4 ray{}, hit{};
        double angle = NoReflection, distance = 0.0;
        const bool choosing = panel == 0;
        iridiumcalc(&observer.Eci, &state.Position, &state.Velocity, &sun, &ray, &angle, &panel, panel);
        if (choosing || !(angle < NoReflection))
            continue;
        if (!iridtrkvect(&ray, &state.Position, &hit, observer.Eci.w, &distance) ||
            hit.w > observer.Eci.w + HitTolerance)
            continue;
        Angles3 ground;
        CalcSubPoint(hit, ground, gmst);
        points.push_back(KmlCoordinates(ground.first, ground.second));
    }
    return points;
}

} // namespace

KmlWrite WriteFlareKml(const PassList &passes, ObserverRecord observer, double displayOffset, std::string *error)
{
    if (passes.empty())
        return KmlWrite::NothingToWrite;
    KmlDocument document(observer);
    for (const PassRecord &pass : passes) {
        const std::vector<std::string> points = FlareCentreLine(pass, observer);
        const std::string title = pass.Title.str();
        document.AddLine("Right Limit", KmlStyle::Limit, title, points);
        if (!points.empty())
            document.AddStartPoint(title, FormatInstant("yyyy-mm-dd HH:nn:ss", pass.StartTime + displayOffset),
                                   points.front());
    }
    return document.Save(error);
}
