#include "views/globe_view.h"

#include <algorithm>
#include <cmath>
#include <thread>
#include <vector>

#include "engine/astronomy/astro_time.h"
#include "engine/astronomy/constants.h"
#include "engine/astronomy/geodesy.h"
#include "engine/runtime/program_state.h"
#include "engine/files/settings.h"
#include "engine/astronomy/vectors.h"
#include "views/ground_track.h"
#include "views/moon_phase.h"
#include "views/view_painting.h"
#include "views/view_setup.h"

namespace {

constexpr int SatelliteRadius = 4;
constexpr int NightSideSegments = 60;
// Below this radius the night side would be a few pixels of noise.
constexpr double SmallestShadedGlobe = 20.0;
// The globe texture is filled in at most this many bands of rows at once,
// each of at least this many rows.
constexpr int TextureBands = 4;
constexpr int TextureRowsPerBand = 64;

// A pixel written over opaque black with its own alpha.
QRgb OverBlack(QRgb pixel)
{
    const int a = qAlpha(pixel);
    if (a == 255)
        return pixel;
    return qRgb(qRed(pixel) * a / 255, qGreen(pixel) * a / 255, qBlue(pixel) * a / 255);
}

// Clipped solid lines between consecutive visible samples of one line on
// the globe; the first sample is its own predecessor.
class GlobePolyline {
public:
    GlobePolyline(QPainter &painter, std::uint32_t argb) : painter_(painter), argb_(argb) {}

    void Add(const Angles3 &point)
    {
        Pixel pixel;
        ProjectGlobe(point, MainView, pixel, 0.0);
        if (first_)
            previous_ = pixel;
        first_ = false;
        if (pixel.visible() && previous_.visible())
            DrawSolidLine(painter_, previous_, pixel, argb_);
        previous_ = pixel;
    }

private:
    QPainter &painter_;
    std::uint32_t argb_;
    bool first_ = true;
    Pixel previous_;
};

} // namespace

void RenderGlobeTexture()
{
    Background.fill(OpaqueBlack);
    if (MapImage.isNull())
        return;
    const ViewState &view = MainView;
    const int imageWidth = MapImage.width();
    const int imageHeight = MapImage.height();
    const int width = Background.width();
    const int height = Background.height();
    const double kx = imageWidth / TwoPi;
    const double ky = imageHeight / Pi;
    const int r = static_cast<int>(view.GlobeZoom);
    if (r <= 0)
        return;

    int firstRow = view.CentreY - r;
    if (firstRow < 1)
        firstRow = 2;
    int lastRow = view.CentreY + r;
    if (lastRow > height - 1)
        lastRow = height - 2;

    const GlobeFrame frame(view);
    const QImage source = MapImage.format() == QImage::Format_ARGB32 ? MapImage
                                                                   : MapImage.convertToFormat(QImage::Format_ARGB32);
    const uchar *sourceBits = source.constBits();
    const qsizetype sourceLine = source.bytesPerLine();
    const int lastU = std::max(0, imageWidth - 2);
    const int lastV = std::max(0, imageHeight - 2);
    uchar *targetBits = Background.bits();
    const qsizetype targetLine = Background.bytesPerLine();

    auto renderRows = [&](int from, int to) {
        for (int y = from; y <= to; ++y) {
            const double across = std::clamp(double(view.CentreY - y) / r, -1.0, 1.0);
            const int h = static_cast<int>(r * std::sin(std::acos(across)));
            // A row wider than the picture stays black rather than be cut.
            if (!(view.CentreX - h > 2 && view.CentreX + h < width - 2))
                continue;
            auto *row = reinterpret_cast<QRgb *>(targetBits + y * targetLine);
            for (int x = view.CentreX - h; x <= view.CentreX + h; ++x) {
                double latitude = 0.0, longitude = 0.0;
                if (!frame.Unproject(x, y, latitude, longitude))
                    continue;
                const int u = ClampToIndex((Pi + longitude) * kx, lastU);
                const int v = ClampToIndex((HalfPi - latitude) * ky, lastV);
                row[x] = OverBlack(reinterpret_cast<const QRgb *>(sourceBits + v * sourceLine)[u]);
            }
        }
    };

    // The rows are independent and a full-screen globe has a few hundred
    // thousand pixels: bands of rows are filled side by side, each writing
    // only its own rows, and all are done before the picture is used.
    const int rows = lastRow - firstRow + 1;
    const int bands = std::clamp(rows / TextureRowsPerBand, 1, TextureBands);
    std::vector<std::thread> helpers;
    for (int band = 1; band < bands; ++band)
        helpers.emplace_back(renderRows, firstRow + band * rows / bands, firstRow + (band + 1) * rows / bands - 1);
    renderRows(firstRow, firstRow + rows / bands - 1);
    for (std::thread &helper : helpers)
        helper.join();
}

void BuildGlobeBackground()
{
    RenderGlobeTexture();
    QPainter painter;
    BeginViewPainter(painter, Background);
    if (MainViewSwitches.DisplayHomeLocation) {
        Pixel home;
        ProjectGlobe(Angles3{Observer.Latitude, Observer.Longitude, 0.0}, MainView, home, 0.0);
        if (home.visible()) {
            painter.fillRect(QRect(home.x - 2, home.y - 2, 4, 4), ArgbColor(Options.HomeColor));
            DrawLabel(painter, home.x - 15, home.y - 20, Observer.Name.str(), Options.HomeColor);
        }
    }
    if (MainViewSwitches.MapGrids)
        DrawGlobeGrid(painter);
    if (!MainList.empty() && MainViewSwitches.GroundTrack) {
        GlobePolyline track(painter, Options.TrackColor);
        for (const Angles3 &point : TrackPoints)
            track.Add(point);
    }
    painter.end();
    MainView.RebuildBackground = 0;
}

void DrawGlobeGrid(QPainter &painter)
{
    for (int longitude = -180; longitude <= 180; longitude += 30) {
        GlobePolyline meridian(painter, Options.GridsColor);
        for (int latitude = -75; latitude <= 75; latitude += 5)
            meridian.Add(Angles3{DegToRad(latitude), DegToRad(longitude), 0.0});
    }
    for (int latitude = -75; latitude <= 75; latitude += 15) {
        GlobePolyline parallel(painter, Options.GridsColor);
        for (int longitude = -180; longitude <= 180; longitude += 5)
            parallel.Add(Angles3{DegToRad(latitude), DegToRad(longitude), 0.0});
    }
}

void DrawGlobeNightSide(QPainter &painter, const TargetState &sun, int segments)
{
    const ViewState &view = MainView;
    // The globe seen from far out above its centre shows the Earth's phase.
    const Angles3 ground{view.GlobeCentre.first, view.GlobeCentre.second, 0.0};
    double rhoSinPhi = 0.0, rhoCosPhi = 0.0;
    CalcObserverRho(ground, rhoSinPhi, rhoCosPhi);
    Vec4 v;
    CalcObserverECI(v, rhoCosPhi, rhoSinPhi, ground.second, SiderealTime);
    Vec4 viewer;
    NormalizeVector(v, viewer);
    ScaleVector(viewer, viewer, AstronomicalUnitKm);
    Angles3 viewDirection;
    CalcTopoRaDec(viewer, v, viewDirection);

    // The ground point is of date; the Sun's ephemeris position is J2000.
    Vec4 sunOfDate;
    PrecessVectorFromJ2000(sun.Position, sunOfDate, CurrentTime + JulianDateOfDayZero);
    Angles3 sunRaDec;
    CalcGeoRaDec(sunOfDate, sunRaDec);

    const double elongation = CalcVectorAngle(v, sunOfDate);
    const double darkFraction = (1.0 - std::cos(elongation)) / 2.0;
    // Seen from outside, east is right of north: the dark side lies a
    // quarter turn on from the Sun's position angle.
    const double g = NormalizeAnglePi(sunRaDec.first - viewDirection.first) > 0.0 ? Pi : 0.0;
    double q = CalcParallacticAngle(sunRaDec, viewDirection) - HalfPi;
    if (q < 0.0)
        q += TwoPi;
    // The globe is never mirrored, whatever the sky's orientation says.
    DrawPhaseShape(painter, segments, std::trunc(view.GlobeZoom), Pixel{view.CentreX, view.CentreY}, q + g,
                   darkFraction, 1, 1);
}

void DrawGlobe()
{
    QImage &bitmap = ViewBitmap();
    QPainter painter;
    BeginViewPainter(painter, bitmap);
    CopyPicture(painter, Background);
    if (MainView.GlobeZoom > SmallestShadedGlobe && BodyStates.size() >= 2)
        DrawGlobeNightSide(painter, BodyStates[1], NightSideSegments);

    const double r0 = MainView.GlobeZoom;
    const Pixel centre{MainView.CentreX, MainView.CentreY};
    ForEachShownSatellite([&](std::size_t j, const TleRecord &) {
        const TargetState &state = SatStates[j];
        // The sub-point on a sphere as much larger than the globe as the
        // satellite is farther from the geocentre: a high satellite behind
        // the Earth can stand out beside the disc.
        ViewState lifted = MainView;
        lifted.GlobeZoom = state.Position.w / EarthRadiusKm * r0;
        Pixel at;
        const double cosC = ProjectGlobe(state.SubPoint, lifted, at, -1.0);
        if (!at.visible())
            return;
        const bool inFront = cosC > 0.0;
        const bool besideDisc = cosC < 0.0 && PixelDistance(at, centre) > r0;
        if (!inFront && !besideDisc)
            return;
        DrawDisc(painter, at, SatelliteRadius, state.Lit ? OpaqueYellow : OpaqueGrey, OpaqueGrey);
        if (MainViewSwitches.ShowSatelliteLabel && j < SatelliteLabels.size())
            DrawLabel(painter, at.x + 7, at.y + 7, SatelliteLabels[j], Options.SatColor);
    });

    if (const TargetState *selected = SelectedShownState()) {
        DrawSelectedCircles(painter, *selected);
    }
    painter.end();
}
