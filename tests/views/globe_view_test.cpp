// The globe view drawn offscreen and probed pixel by pixel: the texture
// under the centre, the night side, and satellites behind and beside the disc.
#include "views/globe_view.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/astronomy/constants.h"
#include "view_test_support.h"

namespace {

bool IsYellow(QRgb pixel) { return qRed(pixel) > 200 && qGreen(pixel) > 200 && qBlue(pixel) < 60; }

class GlobeViewTest : public ViewScene {
protected:
    void SetUp() override
    {
        ViewScene::SetUp();
        Options.ViewMode = ViewModeGlobe;
        MainView.GlobeZoom = 150.0;
    }

    // Every probed pixel of the disc is dark exactly where the Sun is below
    // the horizon, away from the terminator and the limb.
    void ExpectNightWhereTheSunIsDown(const Angles3 &globeCentre, double sunLatitude, double sunLongitude)
    {
        MainView.GlobeCentre = globeCentre;
        SetBodies(sunLatitude, sunLongitude);
        Draw(ViewModeGlobe);
        const QImage &picture = ViewBitmap();
        const Angles3 sun = BodyStates[1].SubPoint;
        // Half a degree for the precession since 2000 that the test's Sun
        // leaves out, and two pixels for the edge's smoothing where the
        // projection squeezes angles most (at 0.9 of the radius).
        const double margin = DegToRad(0.5) + 2.0 / (0.4 * MainView.GlobeZoom);
        int dark = 0, light = 0;
        for (int y = 0; y < MainView.ImageHeight; y += 2) {
            for (int x = 0; x < MainView.ImageWidth; x += 2) {
                const double radius = std::hypot(x - MainView.CentreX, y - MainView.CentreY);
                if (radius > 0.9 * MainView.GlobeZoom)
                    continue;
                Angles3 ground;
                UnprojectGlobe(x, y, ground, MainView);
                const double altitude =
                    std::asin(std::sin(ground.first) * std::sin(sun.first) +
                              std::cos(ground.first) * std::cos(sun.first) * std::cos(ground.second - sun.second));
                if (std::fabs(altitude) < margin)
                    continue;
                const int brightness = Brightness(picture.pixel(x, y));
                if (altitude < 0.0) {
                    ++dark;
                    ASSERT_LT(brightness, 150) << "lit at night: " << x << "," << y;
                } else {
                    ++light;
                    ASSERT_GT(brightness, 240) << "dark by day: " << x << "," << y;
                }
            }
        }
        EXPECT_GT(dark + light, 5000);
    }
};

} // namespace

TEST_F(GlobeViewTest, NightSideFollowsTheSun)
{
    for (const Angles3 &centre : {Angles3{0.0, 0.0, 0.0}, Angles3{0.9, 2.0, 0.0}, Angles3{-0.5, -2.8, 0.0}})
        for (double sunLatitude : {0.0, DegToRad(23.44), DegToRad(-23.44)})
            for (double sunLongitude : {0.2, 1.9, -2.6})
                ExpectNightWhereTheSunIsDown(centre, sunLatitude, sunLongitude);
}

TEST_F(GlobeViewTest, NightSideIsNotMirroredWithTheSky)
{
    MainView.SignX = -1;
    MainView.SignY = 1;
    ExpectNightWhereTheSunIsDown(Angles3{0.3, 0.5, 0.0}, DegToRad(10.0), 1.2);
}

TEST_F(GlobeViewTest, CentrePixelTakesTheWorldImagePixelUnderIt)
{
    MapImage = CodedWorldImage(1024, 512);
    for (const Angles3 &centre : {Angles3{0.0, 0.0, 0.0}, Angles3{0.7, -2.1, 0.0}, Angles3{-1.2, 3.0, 0.0}}) {
        MainView.GlobeCentre = centre;
        // The Sun straight above the centre: no shade anywhere near it.
        SetBodies(centre.first, centre.second);
        Draw(ViewModeGlobe);
        const int u = static_cast<int>((Pi + centre.second) * 1024 / TwoPi);
        const int v = static_cast<int>((HalfPi - centre.first) * 512 / Pi);
        EXPECT_EQ(ViewBitmap().pixel(MainView.CentreX, MainView.CentreY), MapImage.pixel(u, v));
        EXPECT_EQ(Background.pixel(MainView.CentreX, MainView.CentreY), MapImage.pixel(u, v));
    }
    // A globe wider than the picture leaves its rows black rather than cut.
    MainView.GlobeZoom = Width;
    Draw(ViewModeGlobe);
    EXPECT_EQ(ViewBitmap().pixel(MainView.CentreX, MainView.CentreY), qRgb(0, 0, 0));
}

TEST_F(GlobeViewTest, SatellitesBehindTheDiscAreHiddenAndBesideItShown)
{
    MapImage.fill(qRgb(0, 0, 0));
    Options.ShadowAlpha = 0;
    MainView.GlobeZoom = 40.0;
    MainView.GlobeCentre = Angles3{0.0, 0.5, 0.0};
    auto satellite = [](double longitudeFromCentre, double distance, double latitude = 0.0) {
        TargetState state;
        state.SubPoint = Angles3{latitude, 0.5 + longitudeFromCentre, distance - EarthRadiusKm};
        state.Position = Vec4{distance, 0.0, 0.0, distance};
        state.Lit = 1;
        return state;
    };
    const double geostationary = 42164.0;
    MainList.assign(4, TleRecord{});
    for (TleRecord &record : MainList)
        record.Selected = 1;
    SatStates = {satellite(DegToRad(100.0), geostationary),  // behind, but beside the disc
                 satellite(DegToRad(175.0), geostationary),  // behind the disc
                 satellite(DegToRad(30.0), 6778.0, 0.6),      // in front
                 satellite(DegToRad(120.0), 6778.0)};         // behind
    Draw(ViewModeGlobe);
    const QImage &picture = ViewBitmap();
    const double lifted = geostationary / EarthRadiusKm * 40.0;
    const double low = 6778.0 / EarthRadiusKm * 40.0;
    auto pixelAt = [](double offset) { return Pixel{MainView.CentreX + static_cast<int>(offset), MainView.CentreY}; };
    const Pixel beside = pixelAt(lifted * std::sin(DegToRad(100.0)));
    const Pixel behind = pixelAt(lifted * std::sin(DegToRad(175.0)));
    const Pixel front{MainView.CentreX + static_cast<int>(low * std::cos(0.6) * std::sin(DegToRad(30.0))),
                      MainView.CentreY - static_cast<int>(low * std::sin(0.6))};
    const Pixel hidden = pixelAt(low * std::sin(DegToRad(120.0)));
    ASSERT_GT(PixelDistance(beside, Pixel{MainView.CentreX, MainView.CentreY}), 40);
    ASSERT_LT(beside.x, Width);
    EXPECT_TRUE(IsYellow(picture.pixel(beside.x, beside.y)));
    EXPECT_TRUE(IsYellow(picture.pixel(front.x, front.y)));
    EXPECT_FALSE(IsYellow(picture.pixel(behind.x, behind.y)));
    EXPECT_FALSE(IsYellow(picture.pixel(hidden.x, hidden.y)));
    EXPECT_EQ(MainView.GlobeZoom, 40.0);

    // Decayed ones are not drawn at all.
    MainList[0].Decayed = 1;
    Draw(ViewModeGlobe);
    EXPECT_FALSE(IsYellow(ViewBitmap().pixel(beside.x, beside.y)));
}
