// Switching between the map, sky and globe views, the display switches and
// the sky commands of the main window.
#include "main_window_fixture.h"

#include "engine/satellites/catalogue_conversion.h"
#include "engine/text/text_format.h"
#include "views/sky_view.h"
#include "views/view_setup.h"
#include "views/view_state.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>
#include <map>
#include <stdexcept>
#include <thread>

namespace {

std::vector<int> BodyIds()
{
    std::vector<int> ids;
    for (const TargetState &state : BodyStates)
        ids.push_back(state.BodyId);
    return ids;
}

// Whether the picture holds anything but black.
bool Drawn(const QImage &picture)
{
    for (int y = 0; y < picture.height(); y += 7)
        for (int x = 0; x < picture.width(); x += 7)
            if ((picture.pixel(x, y) & 0xFFFFFFu) != 0)
                return true;
    return false;
}

} // namespace

TEST_F(MainWindowTest, EachViewShowsItsToolbarCaptionsMenusAndBodies)
{
    for (const char *file : {"data/Stars.bin", "data/starname.bin", "data/Constellations.bin", "map/default.jpg"})
        LinkSetUpFile(file);
    TfrMainWnd &w = Start();
    ASSERT_TRUE(w.Ready);
    const std::vector<QAction *> mapButtons = {w.tb_satvis, w.tb_locvis, w.tb_track, w.tb_grids};
    const std::vector<QAction *> skyButtons = {w.tb_const, w.tb_starname, w.tb_constname, w.tb_plus,
                                               w.tb_minus};
    const auto expectView = [&](std::int32_t mode, const char *const captions[4]) {
        SCOPED_TRACE(mode);
        const bool sky = mode == ViewModeSky;
        EXPECT_EQ(Options.ViewMode, mode);
        for (QAction *button : mapButtons)
            EXPECT_EQ(button->isVisible(), !sky);
        for (QAction *button : skyButtons)
            EXPECT_EQ(button->isVisible(), sky);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(w.Panel(4 + 2 * i), captions[i]);
        EXPECT_EQ(w.menu_mapmenu->menuAction()->isVisible(), mode == ViewModeMap);
        EXPECT_EQ(w.menu_sky->menuAction()->isVisible(), sky);
        EXPECT_EQ(w.menu_globe->menuAction()->isVisible(), mode == ViewModeGlobe);
        for (QAction *item : {w.menu_grids, w.menu_loc_vis, w.menu_sat_vis, w.menu_tracks})
            EXPECT_EQ(item->isEnabled(), !sky);
        EXPECT_EQ(w.menu_map->isChecked(), mode == ViewModeMap);
        EXPECT_EQ(w.menu_skymode->isChecked(), sky);
        EXPECT_EQ(w.menu_globemode->isChecked(), mode == ViewModeGlobe);
        EXPECT_FALSE(w.ClockTimer->isActive());
        EXPECT_TRUE(Drawn(w.MainImage->Picture()));
    };

    const char *const mapCaptions[4] = {"LAT", "LON", "VEL", "TLE"};
    expectView(ViewModeMap, mapCaptions);
    EXPECT_EQ(BodyIds(), (std::vector<int>{BodyMoon, BodySun}));
    EXPECT_EQ(BodyCount, 1);
    EXPECT_TRUE(StarStreams.Stars.empty());

    w.menu_forwardClick();
    SwitchView(&TfrMainWnd::menu_skyClick);
    const char *const skyCaptions[4] = {"RA", "DEC", "ALT", "AZ"};
    expectView(ViewModeSky, skyCaptions);
    EXPECT_EQ(BodyIds(), (std::vector<int>{BodyMercury, BodyVenus, BodyMars, BodyJupiter, BodySaturn,
                                           BodyUranus, BodyNeptune, BodyPluto, BodyMoon, BodySun}));
    EXPECT_EQ(BodyCount, 9);
    EXPECT_FALSE(StarStreams.Stars.empty());
    EXPECT_FALSE(StarStreams.Lines.empty());
    EXPECT_TRUE(Messages().empty());

    SwitchView(&TfrMainWnd::menu_globeClick);
    const char *const globeCaptions[4] = {" LAT", "LON", "VEL", "TLE"};
    expectView(ViewModeGlobe, globeCaptions);
    EXPECT_EQ(BodyIds(), (std::vector<int>{BodyMoon, BodySun}));
    EXPECT_TRUE(StarStreams.Stars.empty());
    EXPECT_DOUBLE_EQ(MainView.GlobeCentre.first, Observer.Latitude);
    EXPECT_DOUBLE_EQ(MainView.GlobeCentre.second, Observer.Longitude);
}

TEST_F(MainWindowTest, AViewCommandWhileAPreparationRunsIsIgnored)
{
    TfrMainWnd &w = Start();
    w.menu_skyClick();
    w.menu_map->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w.ViewBusy; }, 30000));
    EXPECT_EQ(Options.ViewMode, ViewModeSky);
    EXPECT_TRUE(w.menu_skymode->isChecked());
    EXPECT_FALSE(w.menu_map->isChecked());
    EXPECT_EQ(BodyStates.size(), 10u);
}

TEST_F(MainWindowTest, SwitchesAndTheViewSurviveASaveAndLoad)
{
    TfrMainWnd &w = Start();
    w.menu_grids->trigger();
    w.menu_tracks->trigger();
    w.menu_showLabel->trigger();
    w.menu_displayhomelocation->trigger();
    EXPECT_FALSE(w.menu_globelocation->isChecked()) << "both home items follow one another";
    SwitchView(&TfrMainWnd::menu_skyClick);
    w.menu_starames->trigger();
    w.menu_startohorizon->trigger();
    w.menu_sky_tools_orientation_mirror_ns->trigger();
    w.menu_skyviewaltaz->trigger();
    w.menu_skyviewfixsatellite->trigger();
    EXPECT_EQ(MainView.SignX, 1);
    EXPECT_EQ(MainView.SignY, -1);
    EXPECT_EQ(MainView.StarNames, 1);
    EXPECT_EQ(MainView.StarToHorizon, 1);
    SwitchView(&TfrMainWnd::menu_globeClick);
    Close();

    TfrMainWnd &again = Start();
    EXPECT_EQ(Options.ViewMode, ViewModeGlobe);
    EXPECT_TRUE(again.menu_globemode->isChecked());
    EXPECT_TRUE(again.menu_grids->isChecked());
    EXPECT_FALSE(again.menu_tracks->isChecked());
    EXPECT_FALSE(again.menu_showLabel->isChecked());
    EXPECT_TRUE(again.menu_starames->isChecked());
    EXPECT_TRUE(again.menu_startohorizon->isChecked());
    EXPECT_TRUE(again.menu_skyviewaltaz->isChecked());
    EXPECT_FALSE(again.menu_skyviewradec->isChecked());
    EXPECT_TRUE(again.menu_skyviewfixsatellite->isChecked());
    EXPECT_FALSE(again.menu_skyviewfixradec->isChecked());
    EXPECT_TRUE(again.menu_sky_tools_orientation_mirror_ns->isChecked());
    EXPECT_FALSE(again.menu_sky_tools_orientation_normal->isChecked());
    // The checked orientation is the one drawn, also after a restart.
    EXPECT_EQ(MainView.SignX, 1);
    EXPECT_EQ(MainView.SignY, -1);
    EXPECT_EQ(MainView.StarNames, 1);
    EXPECT_TRUE(MainViewSwitches.MapGrids);
    EXPECT_FALSE(MainViewSwitches.GroundTrack);
    // The home items are not among the stored switches.
    EXPECT_TRUE(again.menu_displayhomelocation->isChecked());
}

TEST_F(MainWindowTest, SkyCommandsActOnlyInTheSkyView)
{
    for (const char *file : {"data/Stars.bin", "data/starname.bin", "data/Constellations.bin"})
        LinkSetUpFile(file);
    TfrMainWnd &w = Start();
    SetInstant(MakeInstant(2024, 3, 20, 22, 0, 0));
    const Angles3 centre = MainView.Centre;
    const bool constellations = w.menu_constellations->isChecked();
    w.menu_constellations->trigger();
    EXPECT_EQ(w.menu_constellations->isChecked(), constellations);
    w.menu_sky_tools_orientation_inverted->trigger();
    EXPECT_FALSE(w.menu_sky_tools_orientation_inverted->isChecked());
    const bool radec = w.menu_skyviewradec->isChecked();
    w.menu_skyviewradec->trigger();
    EXPECT_EQ(w.menu_skyviewradec->isChecked(), radec);
    w.CenterSkyOnBody(0);
    EXPECT_EQ(MainView.Centre.first, centre.first);

    SwitchView(&TfrMainWnd::menu_skyClick);
    // Ctrl+1 turns the view to Mercury.
    w.CenterSkyOnBody(0);
    Pixel mercury;
    ASSERT_TRUE(ProjectSky(BodyStates[0].RaDec, MainView, mercury));
    EXPECT_NEAR(mercury.x, MainView.CentreX, 3);
    EXPECT_NEAR(mercury.y, MainView.CentreY, 3);
    w.CenterSkyOnAzimuth(M_PI / 2);
    EXPECT_NEAR(MainView.CentreAz, M_PI / 2, 1e-4);

    w.menu_sky_tools_orientation_inverted->trigger();
    w.menu_sky_tools_orientation_inverted->trigger(); // chosen again it stays chosen
    EXPECT_TRUE(w.menu_sky_tools_orientation_inverted->isChecked());
    EXPECT_EQ(MainView.SignX, -1);
    EXPECT_EQ(MainView.SignY, -1);
    w.menu_sky_tools_orientation_mirror_ew->trigger();
    EXPECT_EQ(MainView.SignX, -1);
    EXPECT_EQ(MainView.SignY, 1);
    EXPECT_FALSE(w.menu_sky_tools_orientation_inverted->isChecked());
    EXPECT_FALSE(w.menu_sky_tools_orientation_normal->isChecked());
}

TEST_F(MainWindowTest, MagnitudeLimitsStayWithinTheirRanges)
{
    for (const char *file : {"data/Stars.bin", "data/starname.bin", "data/Constellations.bin"})
        LinkSetUpFile(file);
    TfrMainWnd &w = Start();
    SwitchView(&TfrMainWnd::menu_skyClick);
    w.SetMagnitudeLimit("31");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text, " Magnitude not valid, Max (30) - Min (-10) ");
    EXPECT_EQ(Options.MaxMagnitude, 7.0);
    w.SetMagnitudeLimit(" -10 ");
    EXPECT_EQ(Options.MaxMagnitude, -10.0);
    EXPECT_EQ(w.menu_mag->text().toStdString(), "Set Max Magnitude = -10");
    w.SetMagnitudeLimit("bright");
    EXPECT_EQ(Options.MaxMagnitude, 7.0);
    EXPECT_EQ(w.menu_mag->text().toStdString(), "Set Max Magnitude = 7");

    Options.StarMagnitude = 10.5;
    w.tb_plusClick();
    w.tb_plusClick();
    EXPECT_EQ(Options.StarMagnitude, 11.0);
    Options.StarMagnitude = 0.5;
    w.tb_minusClick();
    w.tb_minusClick();
    EXPECT_EQ(Options.StarMagnitude, 0.0);
    Options.StarMagnitude = 6.0;

    // The caption reads the same after a restart as after setting the limit.
    w.SetMagnitudeLimit("9.50");
    EXPECT_EQ(w.menu_mag->text().toStdString(), "Set Max Magnitude = 9.5");
    Close();
    Options.MaxMagnitude = 7.0;
    EXPECT_EQ(Start().menu_mag->text().toStdString(), "Set Max Magnitude = 9.5");
    Options.MaxMagnitude = 7.0;
}

TEST_F(MainWindowTest, ShowingSkySatellitesWithoutASkySetTellsTheUser)
{
    {
        std::lock_guard lock(SkyListMutex);
        SkyList.clear();
    }
    for (const char *file : {"data/Stars.bin", "data/starname.bin", "data/Constellations.bin"})
        LinkSetUpFile(file);
    TfrMainWnd &w = Start();
    SwitchView(&TfrMainWnd::menu_skyClick);
    if (w.menu_showskysat->isChecked())
        w.menu_showskysat->trigger();
    w.menu_showskysat->trigger();
    EXPECT_TRUE(w.menu_showskysat->isChecked());
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text,
              "Satellite File missing!, Select \"Satellite File =\" under \"Tools\" in Main Menu.");
}

TEST_F(MainWindowTest, TheSkyViewOpensWithoutItsStarFilesAndSaysWhy)
{
    TfrMainWnd &w = Start();
    SwitchView(&TfrMainWnd::menu_skyClick);
    EXPECT_EQ(Options.ViewMode, ViewModeSky);
    EXPECT_EQ(BodyStates.size(), 10u);
    EXPECT_TRUE(StarStreams.Stars.empty());
    EXPECT_EQ(Messages().size(), 1u);
    // The view can be left again.
    SwitchView(&TfrMainWnd::menu_mapClick);
    EXPECT_EQ(Options.ViewMode, ViewModeMap);
    EXPECT_TRUE(w.menu_map->isChecked());

    // A preparation that fails on its way (here telling why the star files
    // are missing) still ends with the sky drawn, and the commands work.
    const std::thread::id uiThread = std::this_thread::get_id();
    const auto record = Hooks().showMessage;
    Hooks().showMessage = [&](const std::string &text, const std::string &caption, MessageKind kind) {
        if (std::this_thread::get_id() != uiThread)
            throw std::runtime_error("no message box from here");
        return record(text, caption, kind);
    };
    SwitchView(&TfrMainWnd::menu_skyClick);
    Hooks().showMessage = record;
    EXPECT_FALSE(w.ViewBusy);
    EXPECT_EQ(Options.ViewMode, ViewModeSky);
    EXPECT_EQ(BodyStates.size(), 10u);
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[1].text, "Task 502 could not finish (no message box from here); its work was abandoned.");
    SwitchView(&TfrMainWnd::menu_mapClick);
    EXPECT_EQ(Options.ViewMode, ViewModeMap);
}

TEST_F(MainWindowTest, KeyboardShortcutsAreUniqueAndReachTheirCommands)
{
    for (const char *file : {"data/Stars.bin", "data/starname.bin", "data/Constellations.bin"})
        LinkSetUpFile(file);
    TfrMainWnd &w = Start();
    // Qt drops a key that two actions share without a word.
    std::map<QString, QString> owners;
    for (QAction *action : w.findChildren<QAction *>()) {
        const QString key = action->shortcut().toString();
        if (key.isEmpty())
            continue;
        const auto [it, added] = owners.emplace(key, action->text());
        EXPECT_TRUE(added) << key.toStdString() << ": " << it->second.toStdString() << " and "
                           << action->text().toStdString();
    }
    EXPECT_GE(owners.size(), 45u);

    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w.ViewBusy; }, 30000));
    EXPECT_EQ(Options.ViewMode, ViewModeSky);
    QTest::keyClick(&w, Qt::Key_E, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_NEAR(MainView.CentreAz, M_PI / 2, 1e-3);
    QTest::keyClick(&w, Qt::Key_M, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w.ViewBusy; }, 30000));
    EXPECT_EQ(Options.ViewMode, ViewModeMap);
    // The sky's "East" does nothing on the map.
    MainView.CentreAz = 1.0;
    QTest::keyClick(&w, Qt::Key_E, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(MainView.CentreAz, 1.0);
}
