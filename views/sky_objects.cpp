// What moves across the main sky view: the Sun, the Moon and the planets,
// the satellites shown in the main window and the bright satellites of the
// sky set.
#include "views/sky_view.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <string>

#include "engine/satellites/catalogue_conversion.h"
#include "engine/astronomy/constants.h"
#include "engine/astronomy/geodesy.h"
#include "engine/runtime/program_state.h"
#include "engine/satellites/satellite_driver.h"
#include "engine/files/settings.h"
#include "engine/text/text_format.h"
#include "engine/astronomy/vectors.h"
#include "views/moon_phase.h"
#include "views/view_painting.h"
#include "views/view_setup.h"

namespace {

struct BodyLook {
    std::int32_t body;
    const char *name;
    double diameterKm;
    std::uint32_t colour;
};

constexpr BodyLook BodyLooks[] = {
    {BodyMercury, "Mercury", 4880.0, 0xFFC0C0C0u}, {BodyVenus, "Venus", 12103.6, 0xFF808080u},
    {BodyMars, "Mars", 6779.8, 0xFFFF0000u},       {BodyJupiter, "Jupiter", 142984.0, 0xFF008080u},
    {BodySaturn, "Saturn", 120536.0, 0xFFFFFBF0u}, {BodyUranus, "Uranus", 51118.0, 0xFF008000u},
    {BodyNeptune, "Neptune", 49552.0, 0xFF0000FFu}, {BodyPluto, "Pluto", 2274.0, 0xFFC0C0C0u},
    {BodyMoon, "Moon", 3475.06, 0xFFFFFBF0u},      {BodySun, "Sun", 1392530.0, 0xFFFFFF00u},
};

constexpr std::uint32_t LabelColour = 0xFF00FFFFu; // aqua
constexpr std::uint32_t OutlineBlack = 0xFF000000u;
constexpr int SatelliteRadius = 5;
// The fraction that stands for a satellite in the Earth's shadow: dim, but
// still given a magnitude.
constexpr double ShadowFraction = 0.00025;

const BodyLook *LookOf(std::int32_t body)
{
    for (const BodyLook &look : BodyLooks) {
        if (look.body == body)
            return &look;
    }
    return nullptr;
}

// The Sun's position carried to the date, to compare with satellites and
// the observer; zero when the Sun is not among the bodies.
Vec4 SunOfDate()
{
    for (const TargetState &state : BodyStates) {
        if (state.BodyId == BodySun) {
            Vec4 ofDate{};
            PrecessVectorFromJ2000(state.Position, ofDate, CurrentTime + JulianDateOfDayZero);
            return ofDate;
        }
    }
    return Vec4{};
}

// Fill colour by sunlight, and the fraction the magnitude is computed with.
std::pair<std::uint32_t, double> SatelliteLook(bool lit, const Vec4 &position, const Vec4 &sun)
{
    if (!lit)
        return {OpaqueGrey, ShadowFraction};
    const double fraction =
        MainViewSwitches.ShowSatelliteMagnitude ? CalcIlluminatedFraction(Observer.Eci, position, sun) : 0.0;
    return {OpaqueYellow, fraction};
}

// The label with the magnitude appended when it is shown: "ISS(-1.25)".
std::string WithMagnitude(const std::string &label, double standardMagnitude, double range, double fraction)
{
    if (!MainViewSwitches.ShowSatelliteMagnitude)
        return label;
    return FormatReport("%0s(%1:4.2f)", {label, CalcSatMagnitude(standardMagnitude, range, fraction)});
}

} // namespace

void DrawBodies(QPainter &painter)
{
    const ViewState &view = MainView;
    for (const TargetState &state : BodyStates) {
        const BodyLook *look = LookOf(state.BodyId);
        Pixel at;
        if (!look || !(state.RaDec.third > 0.0) || !ProjectSky(state.RaDec, view, at))
            continue;
        const double angularRadius = RadToDeg(std::atan(look->diameterKm / state.RaDec.third / 2.0));
        const int r = std::max(5, ClampToIndex(angularRadius * view.SkyScale, LargestDiscRadius));
        DrawDisc(painter, at, r, look->colour, look->colour);
        const bool moon = look->body == BodyMoon;
        if ((moon || look->body == BodySun) && r < 8) {
            // Too small to find at a glance: a ring marks it.
            painter.save();
            painter.setPen(QPen(ArgbColor(look->colour), 0));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(QRect(at.x - 15, at.y - 15, 29, 29));
            painter.restore();
        }
        if (moon && r >= 8)
            DrawMoonPhase(painter, std::clamp(r, 30, 60), r + 1, at);
        DrawLabel(painter, at.x + r + 2, at.y, look->name, look->colour);
    }
}

void DrawSkySatellites(QPainter &painter)
{
    const Vec4 sun = SunOfDate();
    ForEachShownSatellite([&](std::size_t j, const TleRecord &record) {
        const TargetState &state = SatStates[j];
        Pixel at;
        if (!ProjectSky(state.RaDec, MainView, at))
            return;
        const auto [fill, fraction] = SatelliteLook(state.Lit, state.Position, sun);
        DrawDisc(painter, at, SatelliteRadius, fill, OutlineBlack);
        const std::string name =
            MainViewSwitches.ShowSatelliteLabel && j < SatelliteLabels.size() ? SatelliteLabels[j] : std::string();
        DrawLabel(painter, at.x + 6, at.y - 6, WithMagnitude(name, record.StdMagnitude, state.RaDec.third, fraction),
                  LabelColour);
    });
}

void DrawSkyCatalogue(QPainter &painter)
{
    const Vec4 sun = SunOfDate();
    const double faintest = Options.MaxMagnitude;
    // The set is propagated in place; a rebuild waits until the walk is done.
    std::lock_guard lock(SkyListMutex);
    for (TleRecord &record : SkyList) {
        if (record.StdMagnitude >= faintest)
            continue;
        TargetState state;
        state.Mode = ModeRaDec;
        if (!PropagateSatellite(record, state, SiderealTime, CurrentTime, Observer))
            continue;
        if (CalcSatMagnitude(record.StdMagnitude, state.RaDec.third, 0.5) >= faintest)
            continue;
        Pixel at;
        if (!ProjectSky(state.RaDec, MainView, at))
            continue;
        const auto [fill, fraction] = SatelliteLook(IsSunlit(state.Position, sun), state.Position, sun);
        DrawDisc(painter, at, SatelliteRadius, fill, OutlineBlack);
        std::string label;
        if (MainViewSwitches.ShowSatelliteLabel)
            label = MainViewSwitches.SatelliteNumber ? record.Number.str() : record.Name.str();
        DrawLabel(painter, at.x + 6, at.y - 6, WithMagnitude(label, record.StdMagnitude, state.RaDec.third, fraction),
                  LabelColour);
    }
}
