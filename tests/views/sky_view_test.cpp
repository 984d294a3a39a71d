// The sky view rendered offscreen and probed pixel by pixel.
#include "views/sky_view.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <thread>

#include <QDir>
#include <QTemporaryDir>

#include "engine/satellites/catalogue_conversion.h"
#include "engine/astronomy/constants.h"
#include "engine/astronomy/geodesy.h"
#include "engine/satellites/satellite_driver.h"
#include "view_test_support.h"

namespace {

constexpr QRgb Ground = 0xFF7F0000u;
constexpr QRgb Black = 0xFF000000u;
constexpr QRgb ConstellationGreen = 0xFF007F00u;

const std::string IssLine1 = "1 25544U 98067A   08264.51782528 -.00002182  00000-0 -11606-4 0  2927";
const std::string IssLine2 = "2 25544  51.6416 247.4627 0006703 130.5360 325.0288 15.72125391563537";
constexpr double IssEpoch = 2454730.01782528 - JulianDateOfDayZero;

class SkyScene : public ViewScene {
protected:
    void SetUp() override
    {
        ViewScene::SetUp();
        Options.ViewMode = ViewModeSky;
        Options.StarMagnitude = 6.0;
        BodyStates.clear();
        StarStreams = StarCatalogue{};
        MainViewSwitches.FixedAltAz = true;
        MainViewSwitches.AltAzOrientation = false;
        MainView.HorizonAltitude = -0.01;
        MainView.Constellations = 0;
        LookAt(0.8, Pi);
        SetField(75.0);
    }
    void TearDown() override
    {
        StarStreams = StarCatalogue{};
        ReplaceSkyList({});
    }

    static void LookAt(double altitude, double azimuth)
    {
        MainView.CentreAlt = altitude;
        MainView.CentreAz = azimuth;
    }
    // Vertical field of view in degrees.
    static void SetField(double degrees)
    {
        MainView.SkyScale = MainView.ImageHeight / degrees;
        ShowViewSize();
    }
    static Angles3 PointAt(double altitude, double azimuth)
    {
        Angles3 raDec;
        const SkyClock clock = MainSkyClock();
        HorizontalToEqu(clock.Observer, altitude, azimuth, raDec, clock.Instant, clock.Gmst);
        return raDec;
    }
    static void AddStar(const Angles3 &at, double magnitude)
    {
        StarStreams.Stars.push_back(StarRecord{at.first, at.second, magnitude});
    }
    static const QImage &Render()
    {
        ViewBitmap().fill(Black);
        DrawSky();
        return ViewBitmap();
    }
    static Pixel Centre() { return Pixel{MainView.CentreX, MainView.CentreY}; }
    static QRgb At(const QImage &image, int x, int y) { return image.pixel(x, y) | 0xFF000000u; }
    static int Count(const QImage &image, QRgb colour)
    {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += At(image, x, y) == colour;
        return count;
    }
    // Length of the run of bright pixels through (x, y) along its row.
    static int BrightRun(const QImage &image, int x, int y)
    {
        int left = x, right = x;
        while (left > 0 && Brightness(image.pixel(left - 1, y)) > 100)
            --left;
        while (right + 1 < image.width() && Brightness(image.pixel(right + 1, y)) > 100)
            ++right;
        return Brightness(image.pixel(x, y)) > 100 ? right - left + 1 : 0;
    }
};

} // namespace

TEST(SkyLimitTest, LimitingMagnitudeFollowsTheField)
{
    EXPECT_DOUBLE_EQ(LimitingMagnitude(750, 10.0, 6.0), 6.0);  // 75 deg: 6.228
    EXPECT_DOUBLE_EQ(LimitingMagnitude(100, 10.0, 6.0), 7.5);  // 10 deg: 7.7125
    EXPECT_DOUBLE_EQ(LimitingMagnitude(100, 100.0, 6.0), 11.0); // 1 deg: capped
    EXPECT_DOUBLE_EQ(LimitingMagnitude(3425, 100.0, 6.0), 6.0); // exactly 6.5 drops to 6
    EXPECT_DOUBLE_EQ(LimitingMagnitude(2000, 100.0, 6.0), 6.5); // 6.856
}

TEST_F(SkyScene, StarAtTheCentreHasTheSizeOfItsMagnitude)
{
    const Pixel c = Centre();
    const Angles3 centre = PointAt(0.8, Pi);

    AddStar(centre, 6.0); // at the limit: three pixels
    const QImage &limit = Render();
    EXPECT_EQ(At(limit, c.x, c.y), 0xFFFFFFFFu);
    EXPECT_EQ(At(limit, c.x + 1, c.y), 0xFFFFFFFFu);
    EXPECT_EQ(At(limit, c.x, c.y - 1), 0xFFFFFFFFu);
    EXPECT_EQ(At(limit, c.x - 1, c.y), Black);
    EXPECT_EQ(At(limit, c.x, c.y + 1), Black);
    EXPECT_EQ(At(limit, c.x + 1, c.y - 1), Black);

    // One, two and five magnitudes brighter: radius 2, 4 and 6.
    int previous = 1;
    for (double magnitude : {5.0, 4.0, 1.0}) {
        StarStreams.Stars.clear();
        AddStar(centre, magnitude);
        const QImage &image = Render();
        const int radius = magnitude == 5.0 ? 2 : magnitude == 4.0 ? 4 : 6;
        const int run = BrightRun(image, c.x, c.y);
        EXPECT_GT(run, previous) << magnitude;
        EXPECT_LE(run, 2 * radius) << magnitude;
        EXPECT_GE(run, 2 * radius - 3) << magnitude;
        EXPECT_EQ(At(image, c.x - radius - 1, c.y), Black) << magnitude;
        EXPECT_EQ(At(image, c.x + radius, c.y), Black) << magnitude;
        previous = run;
    }
}

TEST_F(SkyScene, StarsOfAnyMagnitudeOrPositionDrawAsFaintDotsDiscsOrNothing)
{
    // What a damaged catalogue could hold, had it been loaded: the brightest
    // possible magnitude still gives the largest disc, the rest nothing.
    const Pixel c = Centre();
    const Angles3 centre = PointAt(0.8, Pi);
    AddStar(centre, -1e300);
    AddStar(centre, -INFINITY);
    AddStar(centre, NAN);
    AddStar(Angles3{NAN, NAN, 0.0}, 1.0);
    AddStar(Angles3{INFINITY, 1e300, 0.0}, 1.0);
    const QImage &image = Render();
    EXPECT_GE(BrightRun(image, c.x, c.y), 9);
    EXPECT_LE(BrightRun(image, c.x, c.y), 12);
}

TEST_F(SkyScene, StarsFainterThanTheFieldsLimitAreLeftOut)
{
    struct Case {
        double field, drawn, left;
    };
    for (const Case &test : {Case{75.0, 6.0, 6.1}, Case{10.0, 7.5, 7.6}, Case{1.0, 11.0, 11.1}}) {
        SetField(test.field);
        const Pixel c = Centre();
        StarStreams.Stars.clear();
        AddStar(PointAt(0.8, Pi), test.left);
        EXPECT_EQ(At(Render(), c.x + 1, c.y), Black) << test.field;
        StarStreams.Stars.clear();
        AddStar(PointAt(0.8, Pi), test.drawn);
        EXPECT_EQ(At(Render(), c.x + 1, c.y), 0xFFFFFFFFu) << test.field;
    }
}

TEST_F(SkyScene, ConstellationLinesOnlyInFieldsWiderThanSixDegrees)
{
    MainView.Constellations = 1;
    auto end = [](double altitude, const char *name) {
        StarNameRecord record{};
        const Angles3 at = PointAt(altitude, Pi);
        record.RightAscension = at.first;
        record.Declination = at.second;
        record.Name.assign(name);
        return record;
    };
    // A pair whose first end is behind the observer, then a vertical line
    // through the centre, 2 degrees long.
    StarStreams.Lines.push_back({end(-0.8, "Hidden"), end(0.8, "Centre")});
    StarStreams.Lines.push_back({end(0.8 - DegToRad(1.0), "Lower"), end(0.8 + DegToRad(1.0), "Upper")});

    SetField(6.5);
    EXPECT_GT(Count(Render(), ConstellationGreen), 80); // 2 degrees at 55 pixels a degree
    SetField(5.9);
    EXPECT_EQ(Count(Render(), ConstellationGreen), 0);

    // The hidden first end draws nothing, though the second is on view.
    StarStreams.Lines.pop_back();
    SetField(30.0);
    EXPECT_EQ(Count(Render(), ConstellationGreen), 0);
}

TEST_F(SkyScene, GroundBelowTheHorizonOnly)
{
    MainViewSwitches.AltAzOrientation = true;
    const Pixel c = Centre();
    for (double field : {75.0, 10.0}) { // the whole horizon, then the sky rectangle
        SetField(field);
        LookAt(0.0, Pi / 3);
        const QImage &image = Render();
        const int off = static_cast<int>(MainView.SkyScale * field / 4);
        EXPECT_EQ(At(image, c.x, c.y + off), Ground) << field;
        EXPECT_EQ(At(image, c.x + off, c.y + off), Ground) << field;
        EXPECT_EQ(At(image, c.x, c.y - off), Black) << field;
        EXPECT_EQ(At(image, c.x - off, c.y - off), Black) << field;
    }
    // Centre below the horizon: ground at the centre, sky at the top.
    SetField(75.0);
    LookAt(-0.3, Pi / 3);
    const QImage &low = Render();
    EXPECT_EQ(At(low, c.x, c.y), Ground);
    EXPECT_EQ(At(low, c.x, 5), Black);
}

TEST_F(SkyScene, HorizonBeyondTheCornersLeavesAllSky)
{
    // Centre 30 degrees up, corners 20 degrees from it.
    const Pixel c = Centre();
    MainView.SkyScale = std::sqrt(double(c.x) * c.x + double(c.y) * c.y) / 20.0;
    ShowViewSize();
    LookAt(DegToRad(30.0), 0.0);
    const QImage &image = Render();
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 70; x < image.width(); x += 3) // right of the compass box
            ASSERT_EQ(At(image, x, y), Black) << x << "," << y;
}

TEST_F(SkyScene, WholeSkyHasTheCompassLettersInsideItsRim)
{
    ResetSkyZoom();
    ASSERT_LT(MainView.SkyScale, MainView.SkyScaleMin);
    const QImage &image = Render();
    ViewState unculled = MainView;
    unculled.CullCos = NoCulling;
    for (int i = 0; i < 4; ++i) {
        Pixel rim;
        ASSERT_TRUE(ProjectSky(PointAt(MainView.HorizonAltitude, i * HalfPi), unculled, rim));
        // The 24-pixel letter stands within about its size inside the rim.
        const double dx = rim.x - MainView.CentreX, dy = rim.y - MainView.CentreY;
        const double scale = 16.0 / std::hypot(dx, dy);
        const int cx = static_cast<int>(rim.x - dx * scale), cy = static_cast<int>(rim.y - dy * scale);
        int white = 0;
        for (int y = std::max(0, cy - 14); y <= std::min(image.height() - 1, cy + 14); ++y)
            for (int x = cx - 14; x <= cx + 14; ++x)
                white += At(image, x, y) == 0xFFFFFFFFu;
        EXPECT_GT(white, 8) << "letter " << i;
    }
}

TEST_F(SkyScene, NorthLiesWhereTheCompassBoxPointsForEveryOrientation)
{
    const Pixel c = Centre();
    for (bool altAz : {false, true}) {
        for (auto [signX, signY] : {std::pair{1, 1}, {-1, -1}, {-1, 1}, {1, -1}}) {
            MainViewSwitches.AltAzOrientation = altAz;
            MainViewSwitches.MirrorEW = signX != signY && signX < 0;
            MainViewSwitches.MirrorNS = signX != signY && signY < 0;
            MainView.SignX = signX;
            MainView.SignY = signY;
            LookAt(0.5, Pi / 2); // due east, where north is not up in right ascension and declination
            StarStreams.Stars.clear();
            Angles3 centre = PointAt(0.5, Pi / 2);
            Angles3 north = centre, east = centre;
            north.second += DegToRad(10.0);
            east.first += DegToRad(10.0);
            AddStar(north, 0.0);
            AddStar(east, 0.0);
            const QImage &image = Render();
            const std::string label = std::to_string(altAz) + " " + std::to_string(signX) + std::to_string(signY);

            Pixel n, e;
            ASSERT_TRUE(ProjectSky(north, MainView, n));
            ASSERT_TRUE(ProjectSky(east, MainView, e));
            EXPECT_GT(Brightness(image.pixel(n.x, n.y)), 200) << label;
            const double s = signX * std::sin(MainView.Rotation);
            const double k = signY * std::cos(MainView.Rotation);
            // The north star lies along the compass' north line (S, -C).
            const double nx = n.x - c.x, ny = n.y - c.y;
            EXPECT_GT((nx * s - ny * k) / std::hypot(nx, ny), 0.98) << label;
            // East turns with the mirror: the east star is on the compass' east side.
            const double ex = e.x - c.x, ey = e.y - c.y;
            const double side = signX == signY ? -1.0 : 1.0;
            EXPECT_GT((ex * side * k + ey * side * s) / std::hypot(ex, ey), 0.9) << label;
            // The compass box's north line ends 20 pixels out.
            EXPECT_EQ(At(image, 34 + int(std::trunc(20 * s)), 34 - int(std::trunc(20 * k))), 0xFFFFFFFFu) << label;
            if (altAz) {
                // Zenith up (or down when the picture is turned over by the signs).
                Pixel up;
                ASSERT_TRUE(ProjectSky(PointAt(0.6, Pi / 2), MainView, up));
                EXPECT_NEAR(up.x, c.x, 1) << label;
                EXPECT_LT((up.y - c.y) * signY, 0) << label;
            }
        }
    }
}

TEST_F(SkyScene, ZenithUpAllRoundTheSky)
{
    // East and west of the meridian, next to the zenith, and where the
    // vertical runs across the unturned picture (high in the east and west),
    // where whole pixels say little about the angle through its sine alone.
    const SkyClock clock = MainSkyClock();
    int failures = 0;
    for (double altitude : {0.1, 0.3, 0.5, 0.7, 0.9, 1.1, 1.3, 1.45, 1.55}) {
        for (double azimuth = 0.0; azimuth < TwoPi; azimuth += 0.02) {
            LookAt(altitude, azimuth);
            MainView.Rotation = 1.0; // a stale rotation from another orientation
            SetSkyView(MainView, clock, true, true, false);
            Pixel below;
            ASSERT_TRUE(ProjectSky(PointAt(altitude - 0.1, azimuth), MainView, below));
            failures += below.y <= MainView.CentreY || std::abs(below.x - MainView.CentreX) > 2;
        }
    }
    EXPECT_EQ(failures, 0);
}

TEST_F(SkyScene, FixedSatelliteCentreNeedsAShownSatellite)
{
    MainViewSwitches.FixedAltAz = false;
    MainViewSwitches.FixedSatellite = true;
    const Angles3 before = PointAt(0.8, Pi);
    MainView.Centre = before;
    SatStates.clear();
    SelectedPos = 0;
    Render();
    EXPECT_DOUBLE_EQ(MainView.Centre.first, before.first);
    EXPECT_DOUBLE_EQ(MainView.Centre.second, before.second);

    // A satellite whose state never held a position (its elements no longer
    // propagate) is not followed to 0h, 0 deg.
    SatStates = {TargetState{}};
    Render();
    EXPECT_DOUBLE_EQ(MainView.Centre.first, before.first);
    EXPECT_DOUBLE_EQ(MainView.Centre.second, before.second);

    TargetState satellite;
    satellite.RaDec = PointAt(0.4, 1.0);
    SatStates = {satellite};
    Render();
    EXPECT_DOUBLE_EQ(MainView.Centre.first, satellite.RaDec.first);
    EXPECT_NEAR(MainView.CentreAlt, 0.4, 1e-4);
}

TEST_F(SkyScene, BodiesAsDiscsOfTheirColourAndSmallOnesRinged)
{
    TargetState mars;
    mars.BodyId = BodyMars;
    mars.RaDec = PointAt(0.8, Pi);
    mars.RaDec.third = 1e8;
    TargetState sun;
    sun.BodyId = BodySun;
    sun.RaDec = PointAt(0.8, Pi + 0.5);
    sun.RaDec.third = AstronomicalUnitKm;
    BodyStates = {mars, sun};
    SetField(75.0); // the Sun is 2.5 pixels across: ringed
    const QImage &image = Render();
    const Pixel c = Centre();
    EXPECT_EQ(At(image, c.x, c.y), 0xFFFF0000u);
    Pixel s;
    ASSERT_TRUE(ProjectSky(sun.RaDec, MainView, s));
    EXPECT_EQ(At(image, s.x, s.y), 0xFFFFFF00u);
    int ringPixels = 0;
    for (int dx = -16; dx <= 16; ++dx)
        ringPixels += At(image, s.x + dx, s.y - 15) == 0xFFFFFF00u || At(image, s.x + dx, s.y + 14) == 0xFFFFFF00u;
    EXPECT_GT(ringPixels, 4);
}

TEST_F(SkyScene, SkySetSatelliteDrawnOnlyBrighterThanTheLimit)
{
    TleRecord iss;
    ASSERT_GE(ParseSatElements(IssLine1, IssLine2, iss, false), 0);
    InitSatelliteModel(iss);
    iss.StdMagnitude = 4.0;
    CurrentTime = IssEpoch + 0.01;
    SiderealTime = UpdateSiderealObserver(CurrentTime, Observer);
    TargetState state;
    state.Mode = ModeRaDec;
    TleRecord copy = iss;
    ASSERT_TRUE(PropagateSatellite(copy, state, SiderealTime, CurrentTime, Observer));
    MainViewSwitches.FixedAltAz = false;
    MainViewSwitches.ShowSkySatellites = true;
    MainView.Centre = state.RaDec;
    ReplaceSkyList({iss});
    const Pixel c = Centre();

    Options.MaxMagnitude = 4.0;
    EXPECT_LT(qGreen(Render().pixel(c.x, c.y)), 100);
    Options.MaxMagnitude = 30.0;
    EXPECT_GT(qGreen(Render().pixel(c.x, c.y)), 100); // yellow or grey disc
}

TEST_F(SkyScene, RebuildingTheSkySetWhileItIsDrawn)
{
    // A folder of this run's own, removed when the test ends.
    const QTemporaryDir folder(QDir::temp().filePath("kyt-sky-rebuild-XXXXXX"));
    ASSERT_TRUE(folder.isValid());
    const std::filesystem::path root = folder.path().toStdString();
    std::filesystem::create_directory(root / "data");
    std::string entry(48, ' ');
    entry.replace(0, 9, "25544 ISS");
    entry.replace(36, 3, "3.0");
    std::ofstream(root / "data" / "qvnames.dat") << "http://names.invalid/qvnamesupdate.zip\r\n" << entry << "\r\n";
    std::ofstream(root / "iss.txt") << "ISS\n" << IssLine1 << "\n" << IssLine2 << "\n";
    SetProgramFolders(root.string());
    Options.SkySatFile.assign((root / "iss.txt").string());
    Options.MaxMagnitude = 30.0;
    MainViewSwitches.ShowSkySatellites = true;
    CurrentTime = IssEpoch;
    SiderealTime = UpdateSiderealObserver(CurrentTime, Observer);

    std::atomic<bool> done{false};
    std::thread builder([&] {
        for (int i = 0; i < 40; ++i)
            EXPECT_TRUE(BuildSkyFile());
        done = true;
    });
    while (!done) {
        QPainter painter(&ViewBitmap());
        DrawSkyCatalogue(painter);
    }
    builder.join();
    EXPECT_EQ(SkyList.size(), 1u);
}
