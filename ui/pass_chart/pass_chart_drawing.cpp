// The pass chart's picture: sky disc, constellations, stars, compass,
// bodies, the pass data and the pass track, in screen or print colours.
#include "ui/pass_chart/pass_chart_window.h"

#include <QPainter>
#include <QLabel>
#include <QPixmap>

#include <cmath>

#include "engine/astronomy/bodies.h"
#include "engine/astronomy/constants.h"
#include "engine/astronomy/geodesy.h"
#include "engine/astronomy/planet_places.h"
#include "engine/text/text_fields.h"
#include "engine/text/text_format.h"
#include "engine/satellites/satellite_driver.h"
#include "engine/searches/pass_steps.h"
#include "views/view_painting.h"
#include "views/view_setup.h"

namespace {

constexpr std::uint32_t White = 0xFFFFFFFFu;
constexpr std::uint32_t Black = 0xFF000000u;
constexpr std::uint32_t Yellow = 0xFFFFFF00u;
constexpr std::uint32_t Grey = 0xFF808080u;
constexpr std::uint32_t Purple = 0xFF800080u;
constexpr std::uint32_t Maroon = 0xFF800000u;
constexpr std::uint32_t ConstellationGreen = 0xFF007F00u;
constexpr std::uint32_t TrackLine = 0xFF7F7F7Fu;

constexpr double StarLimit = 4.5;
constexpr long long TrackStep = 15000; // ms
// The chart spans 165 degrees over its height; the widest sky view 90.
constexpr double ChartField = 165.0;
constexpr double WidestField = 90.0;
// Just below the zenith, where the azimuth of the centre still means
// something.
constexpr double ZenithOffset = 0.0001;
// Only the sky above the horizon is drawn.
constexpr double ChartCullCos = -0.5;

Angles3 Place(const ObserverRecord &observer)
{
    return Angles3{observer.Latitude, observer.Longitude, observer.Height};
}

void Ellipse(QPainter &painter, Pixel at, int radius, std::uint32_t pen, std::uint32_t brush)
{
    painter.setPen(ArgbColor(pen));
    painter.setBrush(ArgbColor(brush));
    painter.drawEllipse(QRect(at.x - radius, at.y - radius, 2 * radius, 2 * radius));
}

// The elevation (degrees) at the pass's culmination, found between its
// start and end as the line search finds it: a tabular pass's own elevation
// is that of its highest row, which may lie a minute off the top. Not for a
// flare: its record spans seconds around the flare, whose own elevation the
// report gives.
double CulminationAltitude(const PassRecord &pass, ObserverRecord observer)
{
    if (!pass.Satellite)
        return pass.Elevation;
    TleRecord satellite = *pass.Satellite;
    TargetState state;
    state.Mode = ModeNothing;
    const long long top = FindCulmination(satellite, state, observer, InstantToMilliseconds(pass.StartTime),
                                          InstantToMilliseconds(pass.EndTime));
    state.Mode = ModeRaDecHorizon;
    return MoveSatellite(satellite, state, observer, MillisecondsToInstant(top)) ? RadToDeg(state.Elevation)
                                                                                 : pass.Elevation;
}

} // namespace

struct TfrRadarWnd::Palette {
    std::uint32_t rim, sky, stars, compass, bodies, info, trackFill, trackPen, trackText;
};

void TfrRadarWnd::DrawRadar(double start, double end)
{
    DrawChart(start, end, Palette{White, Black, White, Yellow, Purple, Maroon, Yellow, Grey, Yellow});
}

void TfrRadarWnd::DrawRadarPrintView(double start, double end)
{
    DrawChart(start, end, Palette{Black, White, Black, Grey, Purple, Maroon, Maroon, Grey, Maroon});
}

void TfrRadarWnd::SetRadarView(double start)
{
    ChartSidereal = UpdateSiderealObserver(start, observer_);
    const double height = RadarView.ImageHeight;
    RadarView.SkyScaleMin = height / WidestField;
    RadarView.SkyScale = height / ChartField;
    RadarView.CentreAlt = HalfPi - ZenithOffset;
    RadarView.CentreAz = DegToRad(ChartRotation);
    const SkyClock clock{Place(observer_), start, ChartSidereal};
    HorizontalToEqu(clock.Observer, RadarView.CentreAlt, RadarView.CentreAz, RadarView.Centre, start,
                    ChartSidereal);
    RadarView.Zenith = RadarView.Centre;
    // Below the widest scale SetSkyView shows the whole sky about the centre
    // with the centre's azimuth down: rotation 180 puts north up.
    SetSkyView(RadarView, clock, true, false, false);
    RadarView.CullCos = ChartCullCos;
}

void TfrRadarWnd::DrawChart(double start, double end, const Palette &palette)
{
    Chart.fill(Qt::white);
    {
        QPainter painter;
        BeginViewPainter(painter, Chart);
        QFont font = ViewFontOfSize(Options.FontSize + 2);
        font.setBold(true);
        painter.setFont(font);
        const int h = Chart.height();
        painter.setPen(ArgbColor(palette.rim));
        painter.setBrush(ArgbColor(palette.sky));
        painter.drawEllipse(QRect(1, 1, h - 1, h - 1));

        SetRadarView(start);
        DrawConstellations(painter, RadarView, catalogue_, ConstellationGreen);
        DrawStars(painter, RadarView, StarLimit, catalogue_, StarColours{palette.stars, palette.stars, palette.stars});
        DrawRadarCompass(painter, palette);
        DrawRadarBodies(painter, start, palette);
        DrawPassInfo(painter, palette);
        DrawPassTrack(painter, start, end, palette);
    }
    ImgRadar->setPixmap(QPixmap::fromImage(Chart));
}

void TfrRadarWnd::DrawRadarBodies(QPainter &painter, double start, const Palette &palette)
{
    static const char *const labels[] = {"Mercury", "Venus", "", "Mars", "Jupiter", "Saturn",
                                         "Uranus", "Neptune", "Pluto", "Luna", "Sun"};
    for (const BodyPlace &place : PlanetPlaces(start, observer_)) {
        if (!place.Found)
            continue;
        const int code = place.Code;
        const TargetState &body = place.State;
        // The Sun's and the Moon's heights are shown also when they are down.
        const std::string altitude = FormatReport("%0:.1f", {RadToDeg(body.Elevation)}) + "°";
        if (code == BodySun)
            SunAltText = altitude;
        else if (code == BodyMoon)
            MoonAltText = altitude;
        Pixel at;
        if (!ProjectSky(body.RaDec, RadarView, at))
            continue;
        Ellipse(painter, at, 4, palette.bodies, palette.bodies);
        DrawLabel(painter, at.x - 10, at.y - 18, labels[code - 1], palette.bodies);
    }
}

std::vector<TfrRadarWnd::TrackPoint> TfrRadarWnd::PassTrackPoints(double start, double end)
{
    std::vector<TrackPoint> points;
    if (ChartPasses.empty() || !ChartPasses.front().Satellite)
        return points;
    TleRecord satellite = *ChartPasses.front().Satellite;
    TargetState state;
    state.Mode = ModeRaDecHorizon;
    // Each point with the observer where the Earth has carried it by then,
    // so it is the satellite's own J2000 direction at that instant, placed
    // among the stars of the pass start. Whether it is up is a matter of its
    // own instant's horizon: a pass of hours (a GPS satellite) leaves the
    // start's sky, and its late points fall beyond the disc or the picture.
    ViewState trackView = RadarView;
    trackView.StarToHorizon = 0;
    trackView.CullCos = NoCulling;
    const auto point = [&](long long milliseconds) {
        TrackPoint track{MillisecondsToInstant(milliseconds), Pixel{}};
        const double gmst = UpdateSiderealObserver(track.Instant, observer_);
        Pixel at;
        if (PropagateSatellite(satellite, state, gmst, track.Instant, observer_) &&
            std::sin(state.Elevation) >= RadarView.HorizonAltitude && ProjectSky(state.RaDec, trackView, at))
            track.At = at;
        points.push_back(track);
    };
    const long long last = InstantToMilliseconds(end);
    for (long long t = InstantToMilliseconds(start); t < last; t += TrackStep)
        point(t);
    point(last);
    return points;
}

void TfrRadarWnd::DrawPassTrack(QPainter &painter, double start, double end, const Palette &palette)
{
    const std::vector<TrackPoint> points = PassTrackPoints(start, end);
    bool drawn = false;
    Pixel previous;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const Pixel at = points[i].At;
        if (!at.visible())
            continue;
        const bool los = i + 1 == points.size();
        if (!drawn && !los)
            DrawLabel(painter, at.x, at.y - 8, " AOS", palette.trackText);
        if (drawn)
            DrawSolidLine(painter, previous, at, TrackLine);
        Ellipse(painter, at, 3, palette.trackPen, palette.trackFill);
        if (los)
            DrawLabel(painter, at.x, at.y - 8, " LOS", palette.trackText);
        previous = at;
        drawn = true;
    }
}

std::vector<std::string> TfrRadarWnd::PassInfoLines() const
{
    const PassRecord *pass = SelectedPass();
    if (!pass)
        return {};
    const auto time = [this](double instant) {
        return FormatInstant("mm/dd   HH:nn:ss", instant + ChartTimeOffset);
    };
    return {
        QString::fromStdString("OBJ : " + pass->Title.str()).left(36).toStdString(),
        "AOS : " + time(pass->StartTime),
        "LOS : " + time(pass->EndTime),
        "MAG : " + FormatMagnitude(pass->Magnitude),
        "ALT : " + FormatReport("%0:.1f", {flares_ ? pass->Elevation : CulminationAltitude(*pass, observer_)}) + "°",
        "SUN : " + SunAltText,
        "MOON: " + MoonAltText,
    };
}

void TfrRadarWnd::DrawPassInfo(QPainter &painter, const Palette &palette)
{
    int y = 30;
    for (const std::string &line : PassInfoLines()) {
        DrawLabel(painter, Chart.height(), y, line, palette.info);
        y += 15;
    }
}

QPoint TfrRadarWnd::CalcCompassLetterPos(int radius, QPoint centre, double angle, int size)
{
    return QPoint(centre.x() - static_cast<int>(std::trunc(std::cos(angle) * radius)) - size / 2,
                  centre.y() - static_cast<int>(std::trunc(radius * std::sin(angle))) - size / 2);
}

void TfrRadarWnd::DrawRadarCompass(QPainter &painter, const Palette &palette)
{
    const QFont chartFont = painter.font();
    const int size = Options.FontSize + 8;
    QFont font = ViewFontOfSize(size);
    font.setBold(true);
    painter.setFont(font);
    const int radius = RadarView.CentreX - 12;
    const QPoint centre(RadarView.CentreX, RadarView.CentreY);
    const double a = DegToRad(ChartRotation - 0.5);
    const std::pair<const char *, double> letters[] = {{"W", a}, {"S", a + HalfPi}, {"E", a + Pi}, {"N", a - HalfPi}};
    for (const auto &[letter, angle] : letters) {
        const QPoint at = CalcCompassLetterPos(radius, centre, angle, size);
        DrawLabel(painter, at.x(), at.y(), letter, palette.compass);
    }
    painter.setFont(chartFont);
}
