// A drawing scene for the view tests: one QGuiApplication on the offscreen
// platform, the program's view globals reset to a known picture size, a
// synthetic world image and the Sun and Moon placed by hand.
#pragma once

#include <QGuiApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "engine/astronomy/constants.h"
#include "engine/files/data_files.h"
#include "engine/runtime/program_state.h"
#include "engine/files/settings.h"
#include "views/ground_track.h"
#include "views/view_setup.h"

inline QGuiApplication &TestGuiApplication()
{
    static QGuiApplication *app = [] {
        if (!std::getenv("QT_QPA_PLATFORM"))
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "views_tests";
        static char *argv[] = {name, nullptr};
        return new QGuiApplication(argc, argv);
    }();
    return *app;
}

// A world image whose every pixel has its own colour, so a picture pixel
// tells which image pixel it came from.
inline QImage CodedWorldImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    for (int v = 0; v < height; ++v)
        for (int u = 0; u < width; ++u)
            image.setPixel(u, v, qRgb(u % 256, v % 256, 16 * (u / 256) + v / 256));
    return image;
}

// The Sun's state for a sub-point (latitude, longitude) at CurrentTime with
// SiderealTime: geocentric position one astronomical unit out (J2000, which
// differs from the date's frame by the small precession since 2000).
inline TargetState SunOver(double latitude, double longitude)
{
    TargetState sun;
    sun.BodyId = BodySun;
    sun.Mode = ModeRaDecSubPoint;
    const double ra = longitude + SiderealTime;
    sun.Position = Vec4{AstronomicalUnitKm * std::cos(latitude) * std::cos(ra),
                        AstronomicalUnitKm * std::cos(latitude) * std::sin(ra),
                        AstronomicalUnitKm * std::sin(latitude), AstronomicalUnitKm};
    sun.RaDec = Angles3{std::fmod(ra + TwoPi, TwoPi), latitude, AstronomicalUnitKm};
    sun.SubPoint = Angles3{latitude, longitude, AstronomicalUnitKm - EarthRadiusKm};
    return sun;
}

class ViewScene : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestGuiApplication();
        SetProgramFolders(KYT_TEST_PROGRAM_DIR);
        Options = DefaultOptions();
        Options.ShadowAlpha = 200;
        Observer = DefaultObserver(Vec4{});
        MainViewSwitches = ViewSwitches{};
        MainViewSwitches.DisplayCities = false;
        MainViewSwitches.DisplayHomeLocation = false;
        MainViewSwitches.SatelliteCircle = false;
        MainViewSwitches.GroundTrack = false;
        MainList.clear();
        SatStates.clear();
        SatelliteLabels.clear();
        TrackPoints.clear();
        TrackStart = TrackEnd = 0.0;
        SelectedPos = SelectedMain = 0;
        Step = 1000;
        // 2024 March 20 03:06 UTC, the equinox: the Sun is on the equator.
        CurrentTime = 45371.129;
        SiderealTime = 1.0;
        MainView = ViewState{};
        InitGraphics(Width + 1, Height + 1);
        MapImage = QImage(720, 360, QImage::Format_ARGB32);
        MapImage.fill(qRgb(255, 255, 255));
        ApplyViewOptions();
        SetBodies(0.0, 0.0);
    }

    // The Sun over (sunLatitude, sunLongitude); the Moon opposite it.
    static void SetBodies(double sunLatitude, double sunLongitude)
    {
        TargetState moon = SunOver(-sunLatitude, sunLongitude + Pi);
        moon.BodyId = BodyMoon;
        BodyStates = {moon, SunOver(sunLatitude, sunLongitude)};
        BodyCount = 1;
    }

    static void Draw(int mode)
    {
        Options.ViewMode = mode;
        MainView.RebuildBackground = 1;
        DrawView();
    }

    static constexpr int Width = 720;
    static constexpr int Height = 360;
};

// Brightness of a picture pixel, 0..255.
inline int Brightness(QRgb pixel) { return (qRed(pixel) + qGreen(pixel) + qBlue(pixel)) / 3; }
