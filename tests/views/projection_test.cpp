// Projections between angles and pixels, and the sizes and scales the view
// set-up derives from the window.
#include "views/view_state.h"

#include <gtest/gtest.h>

#include <QBuffer>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>
#include <unistd.h>

#include "engine/astronomy/constants.h"
#include "engine/files/settings.h"
#include "view_test_support.h"

namespace {

// An angular distance on the sphere (rad).
double Separation(double ra1, double dec1, double ra2, double dec2)
{
    const double c = std::sin(dec1) * std::sin(dec2) + std::cos(dec1) * std::cos(dec2) * std::cos(ra1 - ra2);
    return std::acos(std::clamp(c, -1.0, 1.0));
}

ViewState SkyView(std::mt19937 &random)
{
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    ViewState view;
    view.ImageWidth = 1200;
    view.ImageHeight = 800;
    view.CentreX = 600;
    view.CentreY = 400;
    view.Centre = Angles3{unit(random) * TwoPi, (unit(random) - 0.5) * 0.98 * Pi, 0.0};
    view.Rotation = unit(random) * TwoPi;
    view.SignX = unit(random) < 0.5 ? -1 : 1;
    view.SignY = unit(random) < 0.5 ? -1 : 1;
    view.SkyScale = 2.0 + unit(random) * 40.0;
    view.SkyScaleMin = 1.0;
    view.CullCos = NoCulling;
    return view;
}

} // namespace

TEST(SkyProjection, ProjectAndUnprojectReturnToTheSamePixel)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    int checked = 0;
    for (int trial = 0; trial < 4000; ++trial) {
        const ViewState view = SkyView(random);
        // A point within 100 degrees of the centre (or of the picture's width).
        const double reach = std::min(DegToRad(100.0), DegToRad(600.0 / view.SkyScale));
        const double distance = unit(random) * reach;
        const double bearing = unit(random) * TwoPi;
        const double dec0 = view.Centre.second;
        const double dec = std::asin(std::sin(dec0) * std::cos(distance) +
                                     std::cos(dec0) * std::sin(distance) * std::cos(bearing));
        const double ra = std::fmod(view.Centre.first + TwoPi +
                                        std::atan2(std::sin(bearing) * std::sin(distance) * std::cos(dec0),
                                                   std::cos(distance) - std::sin(dec0) * std::sin(dec)),
                                    TwoPi);
        Pixel pixel;
        ASSERT_TRUE(ProjectSky(Angles3{ra, dec, 0.0}, view, pixel));
        double backRa = 0.0, backDec = 0.0;
        UnprojectSky(pixel, backRa, backDec, view);
        if (pixel == Pixel{view.CentreX, view.CentreY})
            continue; // the centre pixel itself has no inverse
        ASSERT_NE(backRa, NoPosition);
        Pixel again;
        ASSERT_TRUE(ProjectSky(Angles3{backRa, backDec, 0.0}, view, again));
        EXPECT_LE(std::abs(again.x - pixel.x), 1) << "trial " << trial;
        EXPECT_LE(std::abs(again.y - pixel.y), 1) << "trial " << trial;
        // One and a half pixels of angle, stretched at most by the projection's
        // scale at 100 degrees from the centre.
        EXPECT_LT(RadToDeg(Separation(ra, dec, backRa, backDec)), 2.2 / view.SkyScale) << "trial " << trial;
        ++checked;
    }
    EXPECT_GT(checked, 3900);
}

TEST(SkyProjection, CentreEastAndMirrorsPlaceThePicture)
{
    std::mt19937 random(11);
    ViewState view = SkyView(random);
    view.Rotation = 0.0;
    view.SignX = view.SignY = 1;
    Pixel pixel;
    ASSERT_TRUE(ProjectSky(view.Centre, view, pixel));
    EXPECT_EQ(pixel, (Pixel{view.CentreX, view.CentreY}));

    // East lies left, north up in the plain picture; the signs mirror them.
    const Angles3 east{view.Centre.first + 0.05, view.Centre.second, 0.0};
    const Angles3 north{view.Centre.first, view.Centre.second + 0.05, 0.0};
    ASSERT_TRUE(ProjectSky(east, view, pixel));
    EXPECT_LT(pixel.x, view.CentreX);
    ASSERT_TRUE(ProjectSky(north, view, pixel));
    EXPECT_LT(pixel.y, view.CentreY);
    view.SignX = view.SignY = -1;
    ASSERT_TRUE(ProjectSky(east, view, pixel));
    EXPECT_GT(pixel.x, view.CentreX);
    ASSERT_TRUE(ProjectSky(north, view, pixel));
    EXPECT_GT(pixel.y, view.CentreY);
}

TEST(SkyProjection, CullingHorizonAndTheOppositePoint)
{
    std::mt19937 random(3);
    ViewState view = SkyView(random);
    view.Centre = Angles3{1.0, 0.2, 0.0};
    view.Zenith = Angles3{1.0, 1.2, 0.0};
    view.HorizonAltitude = -0.01;
    view.StarToHorizon = 1;
    const Angles3 belowHorizon{1.0, 1.2 - HalfPi - 0.2, 0.0};
    Pixel pixel;
    // Without culling the horizon is not tested either.
    EXPECT_TRUE(ProjectSky(belowHorizon, view, pixel));
    view.CullCos = std::cos(DegToRad(80.0));
    EXPECT_FALSE(ProjectSky(belowHorizon, view, pixel));
    EXPECT_FALSE(ProjectSky(Angles3{1.0 + Pi, -0.2, 0.0}, view, pixel)); // culled
    view.CullCos = NoCulling;
    // Exactly opposite the centre there is no finite position.
    EXPECT_FALSE(ProjectSky(Angles3{1.0 + Pi, -0.2, 0.0}, view, pixel));
    double ra = 0.0, dec = 0.0;
    UnprojectSky(Pixel{NotVisible, 5}, ra, dec, view);
    EXPECT_EQ(ra, NoPosition);
    EXPECT_EQ(dec, NoPosition);
}

TEST(GlobeProjection, ProjectAndUnprojectReturnToTheSamePixel)
{
    std::mt19937 random(5);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int trial = 0; trial < 4000; ++trial) {
        ViewState view;
        view.CentreX = 500;
        view.CentreY = 400;
        view.GlobeZoom = 20.0 + unit(random) * 400.0;
        view.GlobeCentre = Angles3{(unit(random) - 0.5) * Pi, (unit(random) - 0.5) * TwoPi, 0.0};
        const Angles3 point{std::asin(2.0 * unit(random) - 1.0), (unit(random) - 0.5) * TwoPi, 0.0};
        Pixel pixel;
        const double cosC = ProjectGlobe(point, view, pixel, 0.0);
        if (cosC <= 0.0) {
            EXPECT_FALSE(pixel.visible());
            continue;
        }
        ASSERT_TRUE(pixel.visible());
        Angles3 back;
        UnprojectGlobe(pixel.x, pixel.y, back, view);
        ASSERT_NE(back.first, NoPosition) << "trial " << trial;
        EXPECT_EQ(back.third, EarthRadiusKm);
        Pixel again;
        ProjectGlobe(back, view, again, -1.0);
        EXPECT_LE(std::abs(again.x - pixel.x), 1) << "trial " << trial;
        EXPECT_LE(std::abs(again.y - pixel.y), 1) << "trial " << trial;
    }
}

TEST(GlobeProjection, CentreEdgeAndOrientation)
{
    ViewState view;
    view.CentreX = 300;
    view.CentreY = 200;
    view.GlobeZoom = 100.0;
    view.GlobeCentre = Angles3{0.6, -2.0, 0.0};
    Angles3 position;
    UnprojectGlobe(300, 200, position, view);
    EXPECT_NEAR(position.first, 0.6, 1e-7);
    EXPECT_NEAR(position.second, -2.0, 1e-7);
    UnprojectGlobe(300 + 101, 200, position, view);
    EXPECT_EQ(position.first, NoPosition);
    EXPECT_EQ(position.second, NoPosition);
    EXPECT_EQ(position.third, EarthRadiusKm);

    // East is right and north up, seen from outside.
    Pixel pixel;
    ProjectGlobe(Angles3{0.6, -1.9, 0.0}, view, pixel, 0.0);
    EXPECT_GT(pixel.x, 300);
    ProjectGlobe(Angles3{0.7, -2.0, 0.0}, view, pixel, 0.0);
    EXPECT_LT(pixel.y, 200);
    // A point on the far side: hidden with threshold 0, placed with -1.
    EXPECT_LT(ProjectGlobe(Angles3{-0.6, 1.1, 0.0}, view, pixel, 0.0), 0.0);
    EXPECT_FALSE(pixel.visible());
    ProjectGlobe(Angles3{-0.6, 1.1, 0.0}, view, pixel, -1.0);
    EXPECT_TRUE(pixel.visible());
}

TEST(MapProjection, EdgesAreLimitedAndNonNumbersAreNotVisible)
{
    ViewState view;
    view.ImageWidth = 800;
    view.ImageHeight = 400;
    view.MapScaleX = 800 / TwoPi;
    view.MapScaleY = 400 / Pi;
    EXPECT_EQ(ProjectMap(Angles3{-HalfPi, Pi, 0.0}, view), (Pixel{800, 400}));
    EXPECT_EQ(ProjectMap(Angles3{-HalfPi - 0.3, Pi + 0.3, 0.0}, view), (Pixel{800, 400}));
    EXPECT_EQ(ProjectMap(Angles3{HalfPi, -Pi, 0.0}, view), (Pixel{0, 0}));
    EXPECT_EQ(ProjectMap(Angles3{0.0, 0.0, 0.0}, view), (Pixel{400, 200}));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(ProjectMap(Angles3{nan, 0.0, 0.0}, view).visible());
    EXPECT_FALSE(ProjectMap(Angles3{0.0, -inf, 0.0}, view).visible());
    Pixel pixel;
    view.GlobeZoom = 100.0;
    ProjectGlobe(Angles3{nan, 0.0, 0.0}, view, pixel, -1.0);
    EXPECT_FALSE(pixel.visible());

    Angles3 position{0.0, 0.0, 42.0};
    UnprojectMap(Pixel{400, 100}, position, view);
    EXPECT_NEAR(position.first, Pi / 4, 1e-12);
    EXPECT_NEAR(position.second, 0.0, 1e-12);
    EXPECT_EQ(position.third, 42.0);
}

class ViewSizes : public ViewScene {};

TEST_F(ViewSizes, SizesAndScalesFollowTheWindow)
{
    SizeBackground(801, 401);
    EXPECT_EQ(MainView.ImageWidth, 800);
    EXPECT_EQ(MainView.ImageHeight, 400);
    EXPECT_EQ(MainView.CentreX, 400);
    EXPECT_EQ(MainView.CentreY, 200);
    EXPECT_DOUBLE_EQ(MainView.MapScaleX, 800 / TwoPi);
    EXPECT_DOUBLE_EQ(MainView.SkyScale, 5.0);
    EXPECT_NEAR(MainView.GlobeZoomMax, 181.8, 0.05);
    EXPECT_EQ(Background.width(), 800);
    EXPECT_EQ(Background.height(), 400);

    Options.SkyZoom = 75.0;
    EXPECT_EQ(ApplyViewOptions(), "Size: 75.0 Deg");
    EXPECT_NEAR(MainView.SkyScaleMin, 800 / 170.0, 1e-12);
    EXPECT_EQ(ViewBitmap().size(), QSize(800, 400));
    EXPECT_EQ(MainView.RebuildBackground, 1);
    EXPECT_NEAR(MainView.GlobeZoom, 400 / Pi, 1e-9);

    // A saved zoom wider than 170 degrees across is raised to the minimum
    // scale; the settings keep the zoom as the user chose it.
    Options.SkyZoom = 170.0;
    ApplyViewOptions();
    EXPECT_DOUBLE_EQ(MainView.SkyScale, MainView.SkyScaleMin);
    EXPECT_EQ(Options.SkyZoom, 170.0);

    // A window squeezed to nothing still gives finite scales.
    SizeBackground(1, 1);
    ApplyViewOptions();
    EXPECT_TRUE(std::isfinite(MainView.SkyScale) && MainView.SkyScale > 0.0);
    EXPECT_TRUE(std::isfinite(MainView.CullCos));
}

TEST_F(ViewSizes, FieldOfViewText)
{
    SizeBackground(801, 401);
    MainView.SkyScale = 400 / 0.5;
    EXPECT_EQ(ShowViewSize(), "Size: 30.0 Min");
    EXPECT_GT(MainView.CullCos, 0.99);
    MainView.SkyScale = 400 / 120.0;
    EXPECT_EQ(ShowViewSize(), "Size: 180.0 Deg");
    EXPECT_EQ(MainView.CullCos, 0.0);
    EXPECT_NEAR(Options.SkyZoom, 120.0, 1e-9);

    EXPECT_EQ(ResetSkyZoom(), "Size: 180.0 Deg");
    EXPECT_DOUBLE_EQ(MainView.SkyScale, 400 / 165.0);
    EXPECT_LT(MainView.SkyScale, 800 / 170.0); // the all-sky picture in a wide window

    // Saved and applied again at the next start, it stays the all-sky picture.
    ApplyViewOptions();
    EXPECT_DOUBLE_EQ(MainView.SkyScale, 400 / 165.0);
    EXPECT_NEAR(MainView.CentreAlt, HalfPi, 1e-3);
}

TEST_F(ViewSizes, MissingWorldImageIsToldAndTheChoiceKept)
{
    Options.MapFile.assign("no_such_world.jpg");
    EXPECT_NE(LoadMapImage().find("map/no_such_world.jpg\""), std::string::npos);
    EXPECT_FALSE(MapImage.isNull());
    EXPECT_EQ(Options.MapFile.str(), "no_such_world.jpg");

    // A JPEG cut short decodes with its missing part grey: it is told as well.
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("kyt_map_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder / "map");
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(CodedWorldImage(720, 360).save(&buffer, "JPG"));
    for (const auto &[name, size] : {std::pair{"whole.jpg", bytes.size()}, std::pair{"cut.jpg", bytes.size() / 2}})
        std::ofstream((folder / "map" / name).string(), std::ios::binary).write(bytes.constData(), size);
    SetProgramFolders(folder.string() + "/");
    Options.MapFile.assign("whole.jpg");
    EXPECT_EQ(LoadMapImage(), "");
    Options.MapFile.assign("cut.jpg");
    EXPECT_NE(LoadMapImage().find("map/cut.jpg\""), std::string::npos);
    std::filesystem::remove_all(folder);
}
