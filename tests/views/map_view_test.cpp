// The map view drawn offscreen and probed pixel by pixel: the night side,
// ground tracks at the +-180 edge, satellites, places and the Moon's phase.
#include "views/map_view.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>

#include <QDir>
#include <QTemporaryDir>

#include "engine/astronomy/constants.h"
#include "views/moon_phase.h"
#include "set_up_data.h"
#include "view_test_support.h"

namespace {

constexpr QRgb Red = 0xFFFF0000u;

bool IsRed(QRgb pixel) { return qRed(pixel) > 200 && qGreen(pixel) < 60 && qBlue(pixel) < 60; }
bool IsYellow(QRgb pixel) { return qRed(pixel) > 200 && qGreen(pixel) > 200 && qBlue(pixel) < 60; }

class MapViewTest : public ViewScene {
protected:
    // Every probed pixel of the map is dark exactly where the Sun is below
    // the horizon, away from the terminator and the two discs.
    void ExpectNightWhereTheSunIsDown(double sunLatitude, double sunLongitude)
    {
        SetBodies(sunLatitude, sunLongitude);
        Draw(ViewModeMap);
        const QImage &picture = ViewBitmap();
        const Angles3 sun = BodyStates[1].SubPoint;
        const Pixel sunPixel = ProjectMap(sun, MainView);
        const Pixel moonPixel = ProjectMap(BodyStates[0].SubPoint, MainView);
        const double margin = 2.5 / MainView.MapScaleY;
        int dark = 0, light = 0;
        for (int y = 0; y < MainView.ImageHeight; y += 3) {
            for (int x = 0; x < MainView.ImageWidth; x += 3) {
                if (PixelDistance(Pixel{x, y}, sunPixel) < 20 || PixelDistance(Pixel{x, y}, moonPixel) < 20)
                    continue;
                const double lat = HalfPi - (y + 0.5) / MainView.MapScaleY;
                const double lon = (x + 0.5) / MainView.MapScaleX - Pi;
                const double altitude =
                    std::asin(std::sin(lat) * std::sin(sun.first) +
                              std::cos(lat) * std::cos(sun.first) * std::cos(lon - sun.second));
                if (std::fabs(altitude) < margin)
                    continue;
                const int brightness = Brightness(picture.pixel(x, y));
                if (altitude < 0.0) {
                    ++dark;
                    ASSERT_LT(brightness, 150) << "lit at night: " << x << "," << y << " sun " << sunLatitude
                                               << "," << sunLongitude;
                } else {
                    ++light;
                    ASSERT_GT(brightness, 240) << "dark by day: " << x << "," << y << " sun " << sunLatitude
                                               << "," << sunLongitude;
                }
            }
        }
        EXPECT_GT(dark, 1000);
        EXPECT_GT(light, 1000);
    }

    void DrawTrackAcrossTheEdge()
    {
        TrackPoints.clear();
        for (int i = 0; i < 40; ++i) {
            const double lon = std::remainder(DegToRad(160.0 + i), TwoPi);
            TrackPoints.push_back(Angles3{DegToRad(10.0 - i), lon, 400.0});
        }
        MapImage.fill(qRgb(0, 0, 0));
        Options.ShadowAlpha = 0;
        Options.TrackColor = Red;
        MainViewSwitches.GroundTrack = true;
        Draw(ViewModeMap);
    }
};

} // namespace

TEST_F(MapViewTest, NightSideAtAndAroundTheEquinox)
{
    for (double longitude : {0.0, 1.0, -2.5, Pi})
        for (double latitude : {0.0, 1e-5, -1e-5, 1e-3, -1e-3})
            ExpectNightWhereTheSunIsDown(latitude, longitude);
}

TEST_F(MapViewTest, NightSideAtTheSolstices)
{
    for (double longitude : {0.3, -2.0})
        for (double latitude : {DegToRad(23.44), DegToRad(-23.44)})
            ExpectNightWhereTheSunIsDown(latitude, longitude);
    // No shade at all with a shadow alpha of 0.
    Options.ShadowAlpha = 0;
    SetBodies(0.4, 0.0);
    Draw(ViewModeMap);
    EXPECT_EQ(ViewBitmap().pixel(Width / 2, Height - 5), qRgb(255, 255, 255));
}

TEST_F(MapViewTest, TrackNeverDrawsALineAcrossTheEdge)
{
    for (QSize control : {QSize(721, 361), QSize(201, 401)}) {
        InitGraphics(control.width(), control.height());
        ApplyViewOptions();
        DrawTrackAcrossTheEdge();
        const QImage &picture = ViewBitmap();
        const int width = MainView.ImageWidth;
        int redNearEdges = 0;
        for (int y = 0; y < MainView.ImageHeight; ++y) {
            for (int x = 0; x < width; ++x) {
                if (!IsRed(picture.pixel(x, y)))
                    continue;
                ASSERT_TRUE(x < width / 8 || x > width - width / 8) << x << "," << y << " in " << width;
                ++redNearEdges;
            }
        }
        EXPECT_GT(redNearEdges, 10);
    }
}

TEST_F(MapViewTest, DecayedSatelliteIsNotDrawnAtItsLastPosition)
{
    MapImage.fill(qRgb(0, 0, 0));
    Options.ShadowAlpha = 0;
    MainList.assign(3, TleRecord{});
    for (TleRecord &record : MainList)
        record.Selected = 1;
    MainList[1].Selected = 0; // not shown: takes no SatStates entry
    MainList[2].Decayed = 1;
    SatStates.assign(2, TargetState{});
    SatStates[0].SubPoint = Angles3{0.5, -1.0, 400.0};
    SatStates[1].SubPoint = Angles3{-0.5, 1.0, 400.0};
    for (TargetState &state : SatStates) {
        state.Lit = 1;
        state.Position = Vec4{6778.0, 0.0, 0.0, 6778.0};
    }
    SelectedMain = 2;
    SelectedPos = 1;
    MainViewSwitches.SatelliteCircle = true;
    MainViewSwitches.LocationCircle = true;
    Options.SatColor = Red;
    Options.HomeColor = Red;
    Draw(ViewModeMap);
    const QImage &picture = ViewBitmap();
    const Pixel shown = ProjectMap(SatStates[0].SubPoint, MainView);
    const Pixel decayed = ProjectMap(SatStates[1].SubPoint, MainView);
    EXPECT_TRUE(IsYellow(picture.pixel(shown.x, shown.y)));
    EXPECT_EQ(picture.pixel(decayed.x, decayed.y), qRgb(0, 0, 0));
    // Nor are circles drawn for a decayed selection.
    for (int y = 0; y < MainView.ImageHeight; ++y)
        for (int x = 0; x < MainView.ImageWidth; ++x)
            ASSERT_FALSE(IsRed(picture.pixel(x, y))) << x << "," << y;

    // The live one gets its circle, unless it flies below 25 km.
    SelectedMain = 0;
    SelectedPos = 0;
    Draw(ViewModeMap);
    const Pixel onCircle = ProjectMap(CalcSmallCircle(SatStates[0].SubPoint, 6778.0, 90)[0], MainView);
    bool red = false;
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            red = red || IsRed(ViewBitmap().pixel(onCircle.x + dx, onCircle.y + dy));
    EXPECT_TRUE(red);
    SatStates[0].SubPoint.third = 20.0;
    Draw(ViewModeMap);
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            EXPECT_FALSE(IsRed(ViewBitmap().pixel(onCircle.x + dx, onCircle.y + dy)));
}

TEST_F(MapViewTest, PlacesFileColumnsAndCrosses)
{
    const std::vector<MapPlace> places =
        ParseMapPlaces("  51.500  -0.120 London               xx\r\n\nabcdefgh 139.700 Tokyo\n");
    ASSERT_EQ(places.size(), 2u);
    EXPECT_DOUBLE_EQ(places[0].latitude, 51.5);
    EXPECT_DOUBLE_EQ(places[0].longitude, -0.12);
    EXPECT_EQ(places[0].name, "London");
    EXPECT_DOUBLE_EQ(places[1].latitude, 0.0);
    EXPECT_DOUBLE_EQ(places[1].longitude, 139.7);
    EXPECT_EQ(places[1].name, "Tokyo");

    // A folder of this run's own, removed when the test ends.
    const QTemporaryDir temporary(QDir::temp().filePath("kyt-views-places-XXXXXX"));
    ASSERT_TRUE(temporary.isValid());
    const std::filesystem::path folder = temporary.path().toStdString();
    std::filesystem::create_directory(folder / "data");
    // Numbers far off the map (an edited file) are not drawn, nor do they
    // overflow a pixel.
    std::ofstream(folder / "data" / "maplocations.dat")
        << "  51.500  -0.120 London\n   1e300  10.000 Far north\n  10.000 -9.9e307 Far west\n";
    SetProgramFolders(folder.string());
    MapImage.fill(qRgb(0, 0, 0));
    Options.ShadowAlpha = 0;
    Options.CityColor = Red;
    MainViewSwitches.DisplayCities = true;
    SetBodies(-1.0, 2.0);
    Draw(ViewModeMap);
    const int x = static_cast<int>(DegToRad(179.88) * MainView.MapScaleX);
    const int y = static_cast<int>(DegToRad(38.5) * MainView.MapScaleY);
    for (Pixel arm : {Pixel{x - 2, y}, Pixel{x + 2, y}, Pixel{x, y - 2}, Pixel{x, y + 2}})
        EXPECT_TRUE(IsRed(ViewBitmap().pixel(arm.x, arm.y))) << arm.x << "," << arm.y;
    EXPECT_FALSE(IsRed(ViewBitmap().pixel(x - 3, y - 3)));
}

TEST(PhaseShape, StaysInsideTheDiscForEveryPointCount)
{
    std::mt19937 random(23);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int n = 2; n <= 64; ++n) {
        for (double f : {0.0, 0.1, 0.3, 0.5, 0.7, 0.9, 1.0, 1.5, -0.5}) {
            const double angle = unit(random) * TwoPi;
            const int sign = unit(random) < 0.5 ? -1 : 1;
            for (const ShapeVertex &v : PhaseShapeVertices(n, 17.0, 40.0, 30.0, angle, f, sign, -sign))
                ASSERT_LE(std::hypot(v.x - 40.0, v.y - 30.0), 17.0 * (1.0 + 1e-12)) << n << " " << f;
        }
    }
}

TEST(PhaseShape, DarkFractionGivesTheDarkArea)
{
    auto area = [](double f) {
        const std::vector<ShapeVertex> v = PhaseShapeVertices(720, 1.0, 0.0, 0.0, 0.4, f, 1, 1);
        double twice = 0.0;
        for (std::size_t i = 0; i + 1 < v.size(); ++i)
            twice += v[i].x * v[i + 1].y - v[i + 1].x * v[i].y;
        return std::fabs(twice) / 2.0;
    };
    EXPECT_NEAR(area(0.0), 0.0, 1e-9);
    EXPECT_NEAR(area(0.5), Pi / 2, 1e-3);
    EXPECT_NEAR(area(1.0), Pi, 1e-3);
    EXPECT_NEAR(area(0.25), Pi / 4, 1e-3); // the lit area grows linearly across the disc
}

TEST_F(MapViewTest, PhaseShapeWithAnOddCountDarkensNothingOutsideTheDisc)
{
    QImage image(80, 80, QImage::Format_ARGB32_Premultiplied);
    for (int n : {5, 7, 9, 21}) {
        image.fill(qRgb(255, 255, 255));
        QPainter painter(&image);
        DrawPhaseShape(painter, n, 20.0, Pixel{40, 40}, 0.7, 0.8, 1, 1);
        painter.end();
        for (int y = 0; y < 80; ++y) {
            for (int x = 0; x < 80; ++x) {
                if (std::hypot(x + 0.5 - 40.0, y + 0.5 - 40.0) > 21.5) {
                    ASSERT_EQ(image.pixel(x, y), qRgb(255, 255, 255)) << n << ": " << x << "," << y;
                }
            }
        }
    }
}

// The world image and places the set-up makes: the image loads as a whole
// world (twice as wide as high) and every place lies on the globe.
TEST_F(MapViewTest, DefaultWorldImageAndPlacesFromTheSetUp)
{
    KYT_SETUP_FOLDER_OR_SKIP(folder, "data/MapLocations.dat");
    const std::string places = folder + "/data/MapLocations.dat";
    SetProgramFolders(folder);
    Options.MapFile.assign("default.jpg");
    InitGraphics(Width + 1, Height + 1);
    ASSERT_FALSE(MapImage.isNull());
    EXPECT_EQ(MapImage.width(), 2 * MapImage.height());

    std::string text;
    ASSERT_EQ(ReadWholeFile(places, text, nullptr, SmallFileLimit), ReadStatus::Ok);
    const std::vector<MapPlace> parsed = ParseMapPlaces(text);
    EXPECT_GT(parsed.size(), 50u);
    for (const MapPlace &place : parsed) {
        EXPECT_LE(std::fabs(place.latitude), 90.0) << place.name;
        EXPECT_LE(std::fabs(place.longitude), 180.0) << place.name;
        EXPECT_FALSE(place.name.empty());
    }
}
