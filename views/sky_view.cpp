#include "views/sky_view.h"

#include <QFontMetrics>
#include <QPolygon>

#include <algorithm>
#include <cmath>
#include <optional>

#include "engine/astronomy/constants.h"
#include "engine/astronomy/geodesy.h"
#include "engine/runtime/program_state.h"
#include "engine/files/settings.h"
#include "engine/text/text_format.h"
#include "engine/astronomy/vectors.h"
#include "views/view_painting.h"
#include "views/view_setup.h"

namespace {

constexpr std::uint32_t GroundColour = 0xFF7F0000u;
constexpr std::uint32_t SkyColour = 0xFF000000u;
constexpr std::uint32_t White = 0xFFFFFFFFu;
constexpr std::uint32_t Olive = 0xFF808000u;
constexpr double BrightestLimit = 11.0;
// The compass letters are drawn in 18-point type whatever the view font
// (points of a 96 dpi screen, as the view font's size).
constexpr int HorizonLetterPixels = 24;

// Below this field of view the horizon is a rectangle of sky rather than the
// whole horizon circle, whose far side would project to the edge of the
// Lambert disc.
constexpr double WholeHorizonMinFieldDegrees = 15.0;
// Centre altitudes within this of zero put the far side of the horizon
// circle close to the point opposite the centre; those vertices are lifted
// or lowered off it.
constexpr double NearHorizonCentre = 0.18;
constexpr double FarSideAzimuth = 2.5;
constexpr double FarSideOffset = 0.08;

// Turns horizontal directions into the view's projection and back.
Angles3 EquatorialOf(const SkyClock &clock, double altitude, double azimuth)
{
    Angles3 raDec;
    HorizontalToEqu(clock.Observer, altitude, azimuth, raDec, clock.Instant, clock.Gmst);
    return raDec;
}

// Zenith up: the rotation that turns the point straight below the centre
// to the bottom of the picture; nothing when it cannot be computed. The
// angle is taken from both pixel offsets of that point: its sine alone (the
// offset across over the distance it should have) lost up to 8 degrees
// where the vertical runs across the unturned picture, since the distance
// in whole pixels differs from the one assumed.
std::optional<double> ZenithUpRotation(const ViewState &view, const SkyClock &clock)
{
    const double below = DegToRad(view.CentreY / 2.0 / view.SkyScale);
    ViewState upright = view;
    upright.CullCos = NoCulling;
    upright.SignX = 1;
    upright.SignY = 1;
    upright.Rotation = 0.0;
    Pixel q;
    if (!ProjectSky(EquatorialOf(clock, view.CentreAlt - below, view.CentreAz), upright, q))
        return std::nullopt;
    const double rotation = std::atan2(q.x - view.CentreX, q.y - view.CentreY);
    if (!std::isfinite(rotation) || (q.x == view.CentreX && q.y == view.CentreY))
        return std::nullopt;
    return rotation;
}

} // namespace

SkyClock MainSkyClock()
{
    return SkyClock{Angles3{Observer.Latitude, Observer.Longitude, Observer.Height}, CurrentTime, SiderealTime};
}

double LimitingMagnitude(int imageHeight, double skyScale, double starMagnitude)
{
    const double field = imageHeight / skyScale;
    double m = 17.125 / field + starMagnitude;
    const double whole = std::trunc(m);
    m = m - whole > 0.5 ? whole + 0.5 : whole;
    return std::min(m, BrightestLimit);
}

void SetSkyView(ViewState &view, const SkyClock &clock, bool fixedAltAz, bool altAzOrientation,
                bool fixedSatellite)
{
    if (view.SkyScale < view.SkyScaleMin) {
        view.Centre = EquatorialOf(clock, view.CentreAlt, view.CentreAz);
        view.Rotation = view.CentreAz - Pi;
        return;
    }
    // With no satellite shown, or one whose state never held a position (its
    // elements no longer propagate, or it decayed before the first tick:
    // the range is still 0), there is nothing to follow: the centre keeps
    // its right ascension and declination rather than jump to 0h, 0 deg.
    if (fixedSatellite && SelectedPos >= 0 && static_cast<std::size_t>(SelectedPos) < SatStates.size() &&
        SatStates[SelectedPos].RaDec.third > 0.0)
        view.Centre = SatStates[SelectedPos].RaDec;
    if (fixedAltAz)
        view.Centre = EquatorialOf(clock, view.CentreAlt, view.CentreAz);
    else
        EquToHorizontal(clock.Observer, view.Centre, view.CentreAlt, view.CentreAz, clock.Instant, clock.Gmst);

    if (!altAzOrientation) {
        view.Rotation = 0.0;
        return;
    }
    if (const auto rotation = ZenithUpRotation(view, clock))
        view.Rotation = *rotation;
}

void DrawSkyGround(QPainter &painter)
{
    ViewState &view = MainView;
    const SkyClock clock = MainSkyClock();
    const double h = view.HorizonAltitude;
    const double alt = view.CentreAlt;
    const double half = DegToRad(std::sqrt(double(view.CentreY) * view.CentreY +
                                           double(view.CentreX) * view.CentreX) / view.SkyScale);
    const double field = view.ImageHeight / view.SkyScale;

    std::uint32_t background = alt >= h ? GroundColour : SkyColour;
    if (alt > half && alt > h)
        background = SkyColour; // the horizon lies beyond the corners

    const double savedCull = view.CullCos;
    view.CullCos = NoCulling;
    QPolygon polygon;
    auto addVertex = [&](double altitude, double azimuth) {
        Pixel pixel;
        if (ProjectSky(EquatorialOf(clock, altitude, azimuth), view, pixel))
            polygon << QPoint(pixel.x, pixel.y);
    };
    if (field >= WholeHorizonMinFieldDegrees) {
        const int mode = (alt > -NearHorizonCentre && alt < NearHorizonCentre) ? (alt > h ? 1 : 2) : 0;
        if (alt < half) {
            for (int i = 0; i < 60; ++i) {
                const double azimuth = DegToRad(6.0 * i);
                double altitude = h;
                if (mode != 0 && std::fabs(NormalizeAnglePi(azimuth - view.CentreAz)) > FarSideAzimuth)
                    altitude = mode == 1 ? FarSideOffset : -FarSideOffset;
                addVertex(altitude, azimuth);
            }
        }
    } else if (alt < half) {
        background = GroundColour;
        const double w = 2.0 * DegToRad(field);
        addVertex(h, NormalizeAngle2Pi(view.CentreAz + w));
        addVertex(h, NormalizeAngle2Pi(view.CentreAz - w));
        addVertex(h + w, NormalizeAngle2Pi(view.CentreAz - w));
        addVertex(h + w, NormalizeAngle2Pi(view.CentreAz + w));
    }
    view.CullCos = savedCull;

    painter.fillRect(0, 0, view.ImageWidth, view.ImageHeight, ArgbColor(background));
    if (polygon.isEmpty())
        return;
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(ArgbColor(background == GroundColour ? SkyColour : GroundColour));
    painter.drawPolygon(polygon);
    painter.restore();
}

void DrawHorizonLabels(QPainter &painter)
{
    const ViewState &view = MainView;
    const SkyClock clock = MainSkyClock();
    // The whole-sky picture culls everything beyond 90 degrees from its
    // centre, the horizon with it, and its lowest horizon point lies on the
    // picture's bottom edge: there the letters are projected without culling
    // and set just inside the rim.
    const bool wholeSky = view.SkyScale < view.SkyScaleMin;
    ViewState projection = view;
    if (wholeSky)
        projection.CullCos = NoCulling;
    QFont font = painter.font();
    font.setPixelSize(HorizonLetterPixels);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const char *letters[] = {"N", "E", "S", "W"};
    for (int i = 0; i < 4; ++i) {
        Pixel pixel;
        if (!ProjectSky(EquatorialOf(clock, view.HorizonAltitude, i * HalfPi), projection, pixel))
            continue;
        if (!wholeSky) {
            DrawLabel(painter, pixel.x - 8, pixel.y, letters[i], White);
            continue;
        }
        // The letter's middle, half its size plus a little in from the rim.
        const double dx = pixel.x - view.CentreX, dy = pixel.y - view.CentreY;
        const double inward = (metrics.height() / 2.0 + 2.0) / std::max(1.0, std::hypot(dx, dy));
        const int x = static_cast<int>(std::lround(pixel.x - dx * inward));
        const int y = static_cast<int>(std::lround(pixel.y - dy * inward));
        DrawLabel(painter, x - metrics.horizontalAdvance(letters[i]) / 2, y - metrics.height() / 2, letters[i], White);
    }
    painter.setFont(ViewFont());
}

void DrawCompassBox(QPainter &painter, double limitingMagnitude)
{
    const ViewState &view = MainView;
    painter.fillRect(0, 0, 69, 90, ArgbColor(White));
    painter.fillRect(1, 1, 67, 88, ArgbColor(SkyColour));
    const double s = view.SignX * std::sin(view.Rotation);
    const double c = view.SignY * std::cos(view.Rotation);
    // A rotation that is no number leaves the compass unturned.
    auto t = [](double v) { return std::isfinite(v) ? static_cast<int>(std::trunc(v)) : 0; };
    const Pixel middle{34, 34};
    DrawSolidLine(painter, middle, Pixel{34 + t(20 * s), 34 - t(20 * c)}, White);
    DrawLabel(painter, 30 + t(30 * s), 28 - t(30 * c), "N", White);
    // A mirrored picture has east on the other side of north.
    const double e = (MainViewSwitches.MirrorEW || MainViewSwitches.MirrorNS) ? 1.0 : -1.0;
    DrawSolidLine(painter, middle, Pixel{34 + t(e * 20 * c), 34 + t(e * 20 * s)}, White);
    DrawLabel(painter, 30 + t(e * 30 * c), 28 + t(e * 30 * s), "E", White);
    DrawLabel(painter, 3, 70, "Mag:" + FormatReport("%0:-4.1f", {limitingMagnitude}), White);
}

void DrawSky()
{
    ViewState &view = MainView;
    const SkyClock clock = MainSkyClock();
    const double limit = LimitingMagnitude(view.ImageHeight, view.SkyScale, Options.StarMagnitude);
    if (view.StarToHorizon)
        view.Zenith = EquatorialOf(clock, HalfPi, view.CentreAz);
    SetSkyView(view, clock, MainViewSwitches.FixedAltAz, MainViewSwitches.AltAzOrientation,
               MainViewSwitches.FixedSatellite);

    QPainter painter;
    BeginViewPainter(painter, ViewBitmap());
    DrawSkyGround(painter);
    DrawHorizonLabels(painter);
    DrawStars(painter, view, limit, StarStreams, StarColours{});
    // Constellation figures only while the field is wider than 6 degrees.
    if (view.ImageHeight / 6.0 > view.SkyScale && view.Constellations)
        DrawConstellations(painter, view, StarStreams, Olive);
    DrawBodies(painter);
    DrawSkySatellites(painter);
    if (MainViewSwitches.ShowSkySatellites)
        DrawSkyCatalogue(painter);
    DrawCompassBox(painter, limit);
    painter.end();
    view.RebuildBackground = 0;
}
