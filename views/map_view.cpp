#include "views/map_view.h"

#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <string>

#include "engine/astronomy/constants.h"
#include "engine/files/data_files.h"
#include "engine/runtime/program_state.h"
#include "engine/files/settings.h"
#include "views/ground_track.h"
#include "views/view_painting.h"
#include "views/view_setup.h"

namespace {

constexpr int SunRadius = 16;
constexpr int SatelliteRadius = 5;
constexpr int MoonPhasePoints = 20;
constexpr int MoonPhaseRadius = 17;
// Satellites lower than this have no meaningful visibility circle.
constexpr double LowestCircleHeightKm = 25.0;
constexpr int NightSideColumnStep = 2;

// The world image scaled to the map's size, kept between rebuilds: scaling
// a large image smoothly is the slowest part of a rebuild, and the size and
// image change far less often than the overlays.
QImage ScaledMap;
qint64 ScaledMapSource = 0;

const QImage &ScaledMapImage(int width, int height)
{
    if (ScaledMap.width() != width || ScaledMap.height() != height || ScaledMapSource != MapImage.cacheKey()) {
        ScaledMap = MapImage.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        ScaledMapSource = MapImage.cacheKey();
    }
    return ScaledMap;
}

double FieldNumber(std::string_view line, std::size_t start, std::size_t length)
{
    double value = 0.0;
    if (line.size() <= start || !ParseDecimal(line.substr(start, length), value))
        return 0.0;
    return value;
}

} // namespace

std::vector<MapPlace> ParseMapPlaces(std::string_view text)
{
    std::vector<MapPlace> places;
    for (const std::string &line : SplitTextLines(text)) {
        if (TrimText(line).empty())
            continue;
        MapPlace place;
        place.latitude = FieldNumber(line, 0, 8);
        place.longitude = FieldNumber(line, 8, 8);
        if (line.size() > 17)
            place.name = std::string(TrimText(std::string_view(line).substr(17, 20)));
        places.push_back(std::move(place));
    }
    return places;
}

bool CrossesMapEdge(const Angles3 &previous, const Angles3 &point)
{
    return (previous.second > HalfPi && point.second < -HalfPi) ||
           (previous.second < -HalfPi && point.second > HalfPi);
}

std::vector<ShapeVertex> NightSideVertices(const Angles3 &sunSubPoint, const ViewState &view)
{
    // A point is dark when sin(lat) sin(sunLat) + cos(lat) cos(sunLat) cos(dLon)
    // < 0. In each column that holds south of the terminator latitude when the
    // Sun is north (and north of it when the Sun is south); with the Sun on
    // the equator the terminator latitude goes to -90 or +90, emptying or
    // filling the column, so the outline stays right through the equinox.
    const double sinSun = std::sin(sunSubPoint.first);
    const double cosSun = std::cos(sunSubPoint.first);
    const bool darkSouth = sunSubPoint.first >= 0.0;
    const int width = view.ImageWidth;
    const int height = view.ImageHeight;

    std::vector<ShapeVertex> vertices;
    vertices.reserve(width / NightSideColumnStep + 4);
    for (int x = 0;; x = std::min(x + NightSideColumnStep, width)) {
        const double longitude = x / view.MapScaleX - Pi;
        const double c = cosSun * std::cos(longitude - sunSubPoint.second);
        const double latitude = darkSouth ? std::atan2(-c, sinSun) : std::atan2(c, -sinSun);
        vertices.push_back(ShapeVertex{double(x), (HalfPi - latitude) * view.MapScaleY});
        if (x == width)
            break;
    }
    const double poleY = darkSouth ? height : 0.0;
    vertices.push_back(ShapeVertex{double(width), poleY});
    vertices.push_back(ShapeVertex{0.0, poleY});
    return vertices;
}

void BuildMapBackground()
{
    ViewState &view = MainView;
    Background.fill(OpaqueBlack);
    QPainter painter;
    BeginViewPainter(painter, Background);
    if (!MapImage.isNull())
        CopyPicture(painter, ScaledMapImage(view.ImageWidth, view.ImageHeight));
    view.MapScaleX = view.ImageWidth / TwoPi;
    view.MapScaleY = view.ImageHeight / Pi;

    if (MainViewSwitches.DisplayCities)
        DrawCities(painter);
    if (MainViewSwitches.DisplayHomeLocation)
        DrawHome(painter);
    if (MainViewSwitches.MapGrids)
        DrawMapGrid(painter);
    if (MainViewSwitches.GroundTrack && !TrackPoints.empty()) {
        const Angles3 *previous = &TrackPoints.front();
        Pixel previousPixel = ProjectMap(*previous, view);
        for (const Angles3 &point : TrackPoints) {
            const Pixel pixel = ProjectMap(point, view);
            // The width, not the height, of the picture tells a wrap from a
            // step; testing longitudes works for every window shape.
            if (!CrossesMapEdge(*previous, point))
                DrawSolidLine(painter, previousPixel, pixel, Options.TrackColor);
            previous = &point;
            previousPixel = pixel;
        }
    }
    painter.end();
    view.RebuildBackground = 0;
}

bool ReadMapPlaces(std::vector<MapPlace> &places, std::string *error)
{
    places.clear();
    std::string text;
    const ReadStatus status = ReadWholeFile(DataDir + "MapLocations.dat", text, error, SmallFileLimit);
    if (status == ReadStatus::Ok)
        places = ParseMapPlaces(text);
    return status != ReadStatus::Failed;
}

void DrawCities(QPainter &painter)
{
    // A places file that is missing or cannot be read shows no places; the
    // start-up has told why.
    std::vector<MapPlace> places;
    ReadMapPlaces(places);
    for (const MapPlace &place : places) {
        const Pixel at{TruncToPixel(DegToRad(place.longitude + 180.0) * MainView.MapScaleX),
                       TruncToPixel(DegToRad(90.0 - place.latitude) * MainView.MapScaleY)};
        if (!at.visible())
            continue;
        DrawCross(painter, at, Options.CityColor);
        DrawLabel(painter, at.x, at.y, place.name, Options.CityColor);
    }
}

void DrawHome(QPainter &painter)
{
    const Pixel at = ProjectMap(Angles3{Observer.Latitude, Observer.Longitude, 0.0}, MainView);
    DrawCross(painter, at, Options.HomeColor);
    // In the lower half the name stands above the marker.
    const int labelY = at.y > MainView.CentreY ? at.y - 14 : at.y;
    DrawLabel(painter, at.x, labelY, Observer.Name.str(), Options.HomeColor);
}

void DrawMapGrid(QPainter &painter)
{
    const double kx = MainView.ImageWidth / 360.0;
    const double ky = MainView.ImageHeight / 180.0;
    for (int i = 1; i <= 11; ++i) {
        const int x = static_cast<int>(30 * i * kx);
        DrawSolidLine(painter, Pixel{x, 0}, Pixel{x, MainView.ImageHeight}, Options.GridsColor);
        DrawLabel(painter, x, 0, std::to_string(30 * i - 180), Options.GridsColor);
    }
    for (int i = 1; i <= 11; ++i) {
        const int y = static_cast<int>(15 * i * ky);
        DrawSolidLine(painter, Pixel{0, y}, Pixel{MainView.ImageWidth, y}, Options.GridsColor);
        DrawLabel(painter, 0, y, std::to_string(90 - 15 * i), Options.GridsColor);
    }
}

void DrawNightSide(QPainter &painter)
{
    if (BodyStates.size() < 2)
        return;
    QPolygonF polygon;
    for (const ShapeVertex &v : NightSideVertices(BodyStates[1].SubPoint, MainView))
        polygon << QPointF(v.x, v.y);
    QColor shade(Qt::black);
    shade.setAlpha(std::clamp(Options.ShadowAlpha, 0, 255));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(shade);
    painter.drawPolygon(polygon);
    painter.restore();
}

void DrawMap()
{
    QImage &bitmap = ViewBitmap();
    QPainter painter;
    BeginViewPainter(painter, bitmap);
    CopyPicture(painter, Background);
    DrawNightSide(painter);

    if (BodyStates.size() >= 2) {
        const Pixel sun = ProjectMap(BodyStates[1].SubPoint, MainView);
        if (sun.visible())
            DrawDisc(painter, sun, SunRadius, OpaqueYellow, OpaqueYellow);
        const Pixel moon = ProjectMap(BodyStates[0].SubPoint, MainView);
        if (moon.visible()) {
            DrawDisc(painter, moon, SunRadius, OpaqueGrey, OpaqueGrey);
            DrawMoonPhase(painter, MoonPhasePoints, MoonPhaseRadius, moon);
        }
    }

    if (!MainList.empty() && !SatStates.empty()) {
        ForEachShownSatellite([&](std::size_t j, const TleRecord &) {
            const TargetState &state = SatStates[j];
            const Pixel at = ProjectMap(state.SubPoint, MainView);
            if (!at.visible())
                return;
            DrawDisc(painter, at, SatelliteRadius, state.Lit ? OpaqueYellow : OpaqueGrey, OpaqueGrey);
            if (MainViewSwitches.ShowSatelliteLabel && j < SatelliteLabels.size())
                DrawLabel(painter, at.x + 6, at.y + 6, SatelliteLabels[j], Options.SatColor);
        });
    }

    if (const TargetState *selected = SelectedShownState();
        selected && selected->SubPoint.third > LowestCircleHeightKm) {
        DrawSelectedCircles(painter, *selected);
    }
    painter.end();
}
