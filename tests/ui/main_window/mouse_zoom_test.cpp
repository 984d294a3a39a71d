// The mouse on the main window's view image: read-outs, zoom frames,
// re-centring, the compass box, picking satellites and moving home on the
// map, with a fixed image size, observer and instant.
#include "main_window_fixture.h"

#include "engine/astronomy/astro_time.h"
#include "engine/astronomy/constants.h"
#include "engine/astronomy/geodesy.h"
#include "engine/satellite_test_support.h"
#include "ui/window_glue.h"
#include "views/view_setup.h"
#include "views/view_state.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStatusBar>
#include <cmath>

namespace {

// 2020-03-20 15:00 UTC.
constexpr double TestInstant = 43910.625;
constexpr double BerlinLatitude = 52.5, BerlinLongitude = 13.4, BerlinHeight = 34.0;
// PyEphem 4.1.4 (tools/sun_altaz_reference.py): the Sun's geometric altitude
// and azimuth from Berlin at the test instant, degrees.
constexpr double SunAltitude = 19.7453, SunAzimuth = 242.4683;

// The image of 901 x 601 pixels gives a view of 900 x 600, centre (450, 300).
constexpr int ImageWidth = 901, ImageHeight = 601;
const QPoint Centre(450, 300);

// The point due north of from at distance km on the ellipsoid.
Angles3 PointNorthOf(const Angles3 &from, double km)
{
    double low = 0.0, high = 0.2;
    for (int i = 0; i < 60; ++i) {
        const double mid = (low + high) / 2;
        (CalcEllipsoidDistance(from, Angles3{from.first + mid, from.second, 0.0}) < km ? low : high) = mid;
    }
    return Angles3{from.first + low, from.second, 0.0};
}

double PanelDegrees(const QString &text)
{
    return text.section(' ', 0, 0, QString::SectionSkipEmpty).toDouble();
}

} // namespace

class MouseTest : public MainWindowTest {
protected:
    // Starts with a Berlin observer and the main set, on the fixed image size
    // and the test instant, clock stopped.
    TfrMainWnd &StartFixed(const tlearray &set = {})
    {
        SetProgramFolders(ProgramFolder());
        Observer = MakeObserver(DegToRad(BerlinLatitude), DegToRad(BerlinLongitude), BerlinHeight);
        Observer.Name.assign("Berlin");
        EXPECT_TRUE(SaveObserver());
        if (!set.empty())
            WriteSatFile(DataFile("MainSat.bin"), set);
        TfrMainWnd &w = Start();
        w.resize(w.width() + ImageWidth - w.MainImage->width(),
                 w.height() + ImageHeight - w.MainImage->height());
        EXPECT_TRUE(QTest::qWaitFor([&] { return w.MainImage->size() == QSize(ImageWidth, ImageHeight); }));
        EXPECT_EQ(MainView.CentreY, 300);
        SetInstant(TestInstant);
        return w;
    }

    // The cursor over a pixel without a button held.
    void Hover(QPoint at)
    {
        QMouseEvent move(QEvent::MouseMove, at, window_->MainImage->mapToGlobal(at), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(window_->MainImage, &move);
    }

    void Drag(Qt::MouseButton button, QPoint from, QPoint to, Qt::KeyboardModifiers keys = {})
    {
        Hover(from);
        QTest::mousePress(window_->MainImage, button, keys, from);
        QTest::mouseMove(window_->MainImage, to);
        QTest::mouseRelease(window_->MainImage, button, keys, to);
    }

    void Click(Qt::MouseButton button, QPoint at, Qt::KeyboardModifiers keys = {})
    {
        Drag(button, at, at, keys);
    }
};

TEST_F(MouseTest, SkyFramesZoomByTheirHeightWithinTheLimits)
{
    TfrMainWnd &w = StartFixed();
    SwitchView(&TfrMainWnd::menu_skyClick);
    const double start = MainView.SkyScale;
    ASSERT_GT(start, MainView.SkyScaleMin);

    // A frame 100 pixels high from its centre, drawn white over the picture.
    Hover(Centre);
    QTest::mousePress(w.MainImage, Qt::LeftButton, {}, Centre);
    QTest::mouseMove(w.MainImage, Centre + QPoint(0, 100));
    EXPECT_EQ(w.DragSize, 100);
    EXPECT_EQ(w.MainImage->Picture().pixel(Centre.x(), Centre.y() - 100), qRgb(255, 255, 255));
    EXPECT_EQ(w.txt_info1->text(), QString("Size: %1 Deg").arg(600 / (3 * start), 4, 'f', 1));
    QTest::mouseRelease(w.MainImage, Qt::LeftButton, {}, Centre + QPoint(0, 100));
    EXPECT_NEAR(MainView.SkyScale, 3 * start, 1e-9);

    Drag(Qt::RightButton, Centre, Centre + QPoint(0, 100));
    EXPECT_NEAR(MainView.SkyScale, start, 1e-9);
    Drag(Qt::RightButton, Centre, Centre + QPoint(0, 100));
    EXPECT_DOUBLE_EQ(MainView.SkyScale, MainView.SkyScaleMin);

    // 15 pixels only re-centre, on the point where the drag began.
    Drag(Qt::LeftButton, Centre, Centre + QPoint(0, 100));
    const double zoomed = MainView.SkyScale;
    const QPoint off(600, 200);
    Hover(off);
    const Angles3 clicked = w.CursorRaDec;
    Drag(Qt::LeftButton, off, off + QPoint(0, 15));
    EXPECT_DOUBLE_EQ(MainView.SkyScale, zoomed);
    EXPECT_NEAR(MainView.Centre.first, clicked.first, 1e-9);
    EXPECT_NEAR(MainView.Centre.second, clicked.second, 1e-9);

    // A frame higher than the image shows none and zooms out on a left drag.
    Hover(QPoint(450, 100));
    QTest::mousePress(w.MainImage, Qt::LeftButton, {}, QPoint(450, 100));
    QTest::mouseMove(w.MainImage, QPoint(450, 500));
    EXPECT_EQ(w.MainImage->Picture(), ViewBitmap());
    QTest::mouseRelease(w.MainImage, Qt::LeftButton, {}, QPoint(450, 500));
    EXPECT_NEAR(MainView.SkyScale, zoomed * 300 / 400, 1e-9);

    // The compass box switches the sky mode; one pixel beside it re-centres.
    const bool raDec = w.menu_skyviewradec->isChecked();
    Click(Qt::LeftButton, QPoint(74, 84));
    EXPECT_EQ(w.menu_skyviewradec->isChecked(), !raDec);
    EXPECT_EQ(w.menu_skyviewaltaz->isChecked(), raDec);
    Hover(QPoint(75, 84));
    const Angles3 beside = w.CursorRaDec;
    Click(Qt::LeftButton, QPoint(75, 84));
    EXPECT_EQ(w.menu_skyviewradec->isChecked(), !raDec);
    EXPECT_NEAR(MainView.Centre.first, beside.first, 1e-9);
    EXPECT_NEAR(MainView.Centre.second, beside.second, 1e-9);

    // Zooming out of the whole-sky picture leaves it as it is.
    w.menu_zenithClick();
    const double whole = MainView.SkyScale;
    const double wholeAlt = MainView.CentreAlt, wholeAz = MainView.CentreAz;
    Drag(Qt::RightButton, QPoint(550, 300), QPoint(550, 400));
    EXPECT_DOUBLE_EQ(MainView.SkyScale, whole);
    EXPECT_DOUBLE_EQ(MainView.CentreAlt, wholeAlt);
    EXPECT_DOUBLE_EQ(MainView.CentreAz, wholeAz);
    EXPECT_EQ(w.txt_info1->text(), "Size: 180.0 Deg");
}

TEST_F(MouseTest, GlobeTurnsToTheClickAndZoomsNoSmallerThanFifteenPixels)
{
    TfrMainWnd &w = StartFixed();
    SwitchView(&TfrMainWnd::menu_globeClick);
    const double start = MainView.GlobeZoom;
    const QPoint near(Centre + QPoint(40, -30));
    Hover(near);
    const Angles3 clicked = w.CursorGround;
    Drag(Qt::LeftButton, near, near + QPoint(0, 100));
    EXPECT_NEAR(MainView.GlobeZoom, std::min(3 * start, MainView.GlobeZoomMax), 1e-9);
    EXPECT_DOUBLE_EQ(MainView.GlobeCentre.first, clicked.first);
    EXPECT_DOUBLE_EQ(MainView.GlobeCentre.second, clicked.second);
    EXPECT_DOUBLE_EQ(Options.GlobeScale, 600 / MainView.GlobeZoom);
    for (int i = 0; i < 6; ++i)
        Drag(Qt::RightButton, Centre, Centre + QPoint(0, 20));
    EXPECT_DOUBLE_EQ(MainView.GlobeZoom, 15.0);
}

TEST_F(MouseTest, SkyPixelsWithoutPositionKeepTheCentre)
{
    TfrMainWnd &w = StartFixed();
    SwitchView(&TfrMainWnd::menu_skyClick);
    const Angles3 centre = MainView.Centre;
    const double alt = MainView.CentreAlt, az = MainView.CentreAz;
    Click(Qt::LeftButton, Centre);
    EXPECT_NEAR(MainView.Centre.first, centre.first, 1e-9);
    EXPECT_NEAR(MainView.Centre.second, centre.second, 1e-9);
    EXPECT_NEAR(MainView.CentreAlt, alt, 1e-9);
    EXPECT_NEAR(MainView.CentreAz, az, 1e-9);
    EXPECT_FALSE(w.Panel(9).isEmpty());

    // The all-sky picture: the corner lies beyond its disc.
    w.menu_zenithClick();
    const Angles3 zenith = MainView.Centre;
    const double zenithAz = MainView.CentreAz;
    const QPoint corner(3, 597);
    Hover(corner);
    for (int panel : {5, 7, 9, 11})
        EXPECT_TRUE(w.Panel(panel).isEmpty()) << panel;
    Click(Qt::LeftButton, corner);
    EXPECT_NEAR(MainView.Centre.first, zenith.first, 1e-9);
    EXPECT_NEAR(MainView.Centre.second, zenith.second, 1e-9);
    EXPECT_NEAR(MainView.CentreAz, zenithAz, 1e-9);
}

TEST_F(MouseTest, TheSunsReadOutMatchesItsAltitudeAndAzimuthInEveryOrientation)
{
    TfrMainWnd &w = StartFixed();
    SwitchView(&TfrMainWnd::menu_skyClick);
    for (QAction *mode : {w.menu_skyviewradec, w.menu_skyviewaltaz}) {
        mode->trigger();
        for (QAction *orientation :
             {w.menu_sky_tools_orientation_normal, w.menu_sky_tools_orientation_inverted,
              w.menu_sky_tools_orientation_mirror_ew, w.menu_sky_tools_orientation_mirror_ns}) {
            SCOPED_TRACE((mode->text() + " " + orientation->text()).toStdString());
            orientation->trigger();
            // The Sun away from the centre, where the projection is exercised.
            w.CenterSkyOnBody(9);
            w.CenterSkyOnAzimuth(MainView.CentreAz + DegToRad(12));
            Pixel sun;
            ASSERT_TRUE(ProjectSky(BodyStates[9].RaDec, MainView, sun));
            ASSERT_GT(PixelDistance(sun, Pixel{Centre.x(), Centre.y()}), 40);
            Hover(QPoint(sun.x, sun.y));
            const double pixel = 1.0 / MainView.SkyScale;
            EXPECT_NEAR(PanelDegrees(w.Panel(9)), SunAltitude, pixel + 0.02);
            EXPECT_NEAR(PanelDegrees(w.Panel(11)), SunAzimuth,
                        (pixel + 0.02) / std::cos(DegToRad(SunAltitude)));
        }
    }
}

TEST_F(MouseTest, AReleaseWhileASkyIsPreparedDrawsNothingUntilItIsReady)
{
    TfrMainWnd &w = StartFixed();
    const qint64 before = w.MainImage->Picture().cacheKey();
    // No event is handled until the wait below, so the preparation's hand
    // over to this thread cannot run before the release.
    w.menu_skyClick();
    ASSERT_TRUE(w.ViewBusy);
    QTest::mousePress(w.MainImage, Qt::LeftButton, {}, QPoint(300, 200));
    QTest::mouseRelease(w.MainImage, Qt::LeftButton, {}, QPoint(300, 200));
    EXPECT_EQ(w.MainImage->Picture().cacheKey(), before);
    EXPECT_FALSE(w.RedrawEnabled);
    EXPECT_FALSE(w.Dragging);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.ViewBusy; }, 30000));
    EXPECT_TRUE(w.RedrawEnabled);
    EXPECT_NE(w.MainImage->Picture().cacheKey(), before);
}

TEST_F(MouseTest, AMapClickSelectsTheLastDrawnSatelliteWithin150Km)
{
    tlearray set;
    for (const char *name : {"NEAR", "FAR", "FURTHER"}) {
        set.push_back(MakeSatellite(IssLine1, IssLine2));
        set.back().Name.assign(name);
        set.back().Selected = 1;
    }
    TfrMainWnd &w = StartFixed(set);
    ASSERT_EQ(w.cb_sat1->count(), 3);
    const QPoint at(300, 200);
    Hover(at);
    const Angles3 ground = w.CursorGround;
    const auto place = [&](double km0, double km1, double km2) {
        SatStates[0].SubPoint = PointNorthOf(ground, km0);
        SatStates[1].SubPoint = PointNorthOf(ground, km1);
        SatStates[2].SubPoint = PointNorthOf(ground, km2);
    };
    place(100, 1000, 140);
    Click(Qt::LeftButton, at);
    EXPECT_EQ(w.cb_sat1->currentIndex(), 2);
    EXPECT_EQ(SelectedPos, 2);

    w.cb_sat1->setCurrentIndex(1);
    w.cb_sat1Change();
    place(151, 1000, 151);
    Click(Qt::LeftButton, at);
    EXPECT_EQ(SelectedPos, 1);

    // A decayed satellite is not drawn and cannot be picked.
    MainList[ComboToMain[0]].Decayed = 1;
    place(100, 1000, 151);
    Click(Qt::LeftButton, at);
    EXPECT_EQ(SelectedPos, 1);
}

TEST_F(MouseTest, HomeSetWithTheMouseKeepsItsHeightAndLastsUntilResetDefault)
{
    TfrMainWnd &w = StartFixed();
    const double horizon = MainView.HorizonAltitude;
    // The globe leaves its radius in the cursor's height.
    SwitchView(&TfrMainWnd::menu_globeClick);
    Hover(Centre);
    SwitchView(&TfrMainWnd::menu_mapClick);

    const Pixel target = ProjectMap(Angles3{DegToRad(10), DegToRad(20), 0.0}, MainView);
    Click(Qt::RightButton, QPoint(target.x, target.y), Qt::ShiftModifier);
    EXPECT_EQ(Observer.Name.str(), "Unknown");
    EXPECT_EQ(w.windowTitle(), "Unknown");
    EXPECT_NEAR(Observer.Latitude, DegToRad(10), 1.0 / MainView.MapScaleY);
    EXPECT_NEAR(Observer.Longitude, DegToRad(20), 1.0 / MainView.MapScaleX);
    EXPECT_DOUBLE_EQ(Observer.Height, BerlinHeight);
    double rhoSin = 0, rhoCos = 0;
    CalcObserverRho(Angles3{Observer.Latitude, Observer.Longitude, BerlinHeight}, rhoSin, rhoCos);
    EXPECT_DOUBLE_EQ(Observer.RhoSinPhi, rhoSin);
    EXPECT_DOUBLE_EQ(Observer.RhoCosPhi, rhoCos);
    EXPECT_DOUBLE_EQ(MainView.HorizonAltitude, horizon);
    const Pixel home = ProjectMap(Angles3{Observer.Latitude, Observer.Longitude, 0.0}, MainView);
    EXPECT_EQ(w.MainImage->Picture().pixel(home.x + 2, home.y) & 0xFFFFFFu, Options.HomeColor & 0xFFFFFFu);

    // A site at another height applied without saving, then the saved one back.
    Observer.Height = 2000.0;
    w.ObserverChanged();
    ASSERT_NE(MainView.HorizonAltitude, horizon);
    w.menu_reset->trigger();
    EXPECT_EQ(Observer.Name.str(), "Berlin");
    EXPECT_EQ(w.windowTitle(), "Berlin");
    EXPECT_DOUBLE_EQ(Observer.Latitude, DegToRad(BerlinLatitude));
    EXPECT_DOUBLE_EQ(Observer.Longitude, DegToRad(BerlinLongitude));
    EXPECT_DOUBLE_EQ(Observer.Height, BerlinHeight);
    EXPECT_DOUBLE_EQ(MainView.GlobeCentre.first, Observer.Latitude);
    EXPECT_DOUBLE_EQ(MainView.GlobeCentre.second, Observer.Longitude);
    EXPECT_DOUBLE_EQ(MainView.HorizonAltitude, horizon);
}

TEST_F(MouseTest, ValuePanelsShareTheWidthAndTheSkyKeepsItsFieldOnResize)
{
    TfrMainWnd &w = StartFixed();
    SwitchView(&TfrMainWnd::menu_skyClick);
    Drag(Qt::LeftButton, Centre, Centre + QPoint(0, 100));
    const double field = Options.SkyZoom;
    w.resize(1000, w.height() + 40);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.MainImage->height() == ImageHeight + 40; }));
    EXPECT_EQ(w.width(), 1000);
    const QList<QLabel *> panels = w.statusBar()->findChildren<QLabel *>();
    ASSERT_EQ(panels.size(), 12);
    // Equal shares of what the captions leave, the last one ending inside
    // the window.
    for (int panel = 3; panel < 12; panel += 2)
        EXPECT_NEAR(panels[panel]->width(), panels[1]->width(), 1) << panel;
    EXPECT_GT(panels[1]->width(), 100);
    EXPECT_LE(panels[11]->mapTo(&w, QPoint(panels[11]->width(), 0)).x(), w.width());
    EXPECT_EQ(MainView.ImageHeight, ImageHeight + 40 - 1);
    EXPECT_NEAR(Options.SkyZoom, field, 1e-9);
    EXPECT_NEAR(MainView.SkyScale, MainView.ImageHeight / field, 1e-9);
}
