// Switching between the map, sky and globe views, the display switches and
// the sky commands of the main window.
#include "main_window_fixture.h"

#include "views/sky_view.h"
#include "views/view_setup.h"
#include "views/view_state.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>

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

    SwitchView(&TfrMainWnd::menu_globeClick);
    const char *const globeCaptions[4] = {" LAT", "LON", "VEL", "TLE"};
    expectView(ViewModeGlobe, globeCaptions);
    EXPECT_EQ(BodyIds(), (std::vector<int>{BodyMoon, BodySun}));
    EXPECT_TRUE(StarStreams.Stars.empty());
    EXPECT_DOUBLE_EQ(MainView.GlobeCentre.first, Observer.Latitude);
    EXPECT_DOUBLE_EQ(MainView.GlobeCentre.second, Observer.Longitude);
}
