// The three views: switching between them, the toolbar, captions and menus of
// each, the display switches and the sky commands.
#include "ui/main_window/main_window.h"

#include "engine/satellites/catalogue_conversion.h"
#include "engine/files/element_files.h"
#include "engine/astronomy/geodesy.h"
#include "engine/runtime/program_state.h"
#include "engine/files/settings.h"
#include "engine/runtime/ui_hooks.h"
#include "ui/main_window/time_step.h"
#include "ui/window_glue.h"
#include "views/sky_view.h"
#include "views/view_setup.h"
#include "views/view_state.h"

#include <QAction>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QToolBar>
#include <algorithm>
#include <mutex>

namespace {

constexpr ThreadTag MapTaskTag = 501;
constexpr ThreadTag SkyTaskTag = 502;
constexpr ThreadTag GlobeTaskTag = 503;

std::vector<TargetState> BodyEntries(std::initializer_list<std::int32_t> bodies, std::int32_t mode)
{
    std::vector<TargetState> states;
    for (std::int32_t body : bodies) {
        TargetState state;
        state.BodyId = body;
        state.Mode = mode;
        states.push_back(state);
    }
    return states;
}

bool SkyListEmpty()
{
    std::lock_guard lock(SkyListMutex);
    return SkyList.empty();
}

} // namespace

Angles3 TfrMainWnd::ObserverPlace()
{
    return {Observer.Latitude, Observer.Longitude, Observer.Height};
}

void TfrMainWnd::menu_mapClick() { SwitchView(ViewModeMap); }
void TfrMainWnd::menu_skyClick() { SwitchView(ViewModeSky); }
void TfrMainWnd::menu_globeClick() { SwitchView(ViewModeGlobe); }

void TfrMainWnd::SwitchView(std::int32_t mode)
{
    // The flag stays set until the view's first full redraw on this thread.
    if (ViewBusy.exchange(true)) {
        // The menu has toggled the chosen item; the view in use stays checked.
        ShowCheckedView();
        return;
    }
    // Until then the bodies and the view state are the old view's: ticks
    // only advance the instant.
    RedrawEnabled = false;
    if (mode != ViewModeSky)
        ClearStarStreams();
    Options.ViewMode = mode;
    ConfigureViewControls();
    // A preparation that fails still ends with the view drawn from what it
    // has, so that the view commands work again.
    switch (mode) {
    case ViewModeMap:
        StartTask(MapTaskTag, [this] { OnUiThread([this] { FinishMapView(); }); }, nullptr,
                  [this] { FinishMapView(); });
        break;
    case ViewModeGlobe:
        StartTask(GlobeTaskTag, [this] { OnUiThread([this] { FinishGlobeView(); }); }, nullptr,
                  [this] { FinishGlobeView(); });
        break;
    default: {
        const bool wantSkySet = SkyListEmpty() && menu_showskysat->isChecked();
        StartTask(SkyTaskTag, [this, wantSkySet] { PrepareSkyViewThread(wantSkySet); }, nullptr,
                  [this] { FinishSkyView(false, false, {}, {}); });
        break;
    }
    }
}

void TfrMainWnd::FinishMapView()
{
    if (!closed_) {
        BodyCount = 1;
        BodyStates = BodyEntries({BodyMoon, BodySun}, ModeSubPoint);
        SetDisplayListStyles();
        RefreshDisplay();
    }
    ViewBusy = false;
}

void TfrMainWnd::FinishGlobeView()
{
    if (!closed_) {
        BodyCount = 1;
        BodyStates = BodyEntries({BodyMoon, BodySun}, ModeRaDecSubPoint);
        // The globe opens centred on the observer.
        MainView.GlobeCentre = ObserverPlace();
        SetDisplayListStyles();
        RefreshDisplay();
    }
    ViewBusy = false;
}

void TfrMainWnd::PrepareSkyViewThread(bool wantSkySet)
{
    // Files are read here; the shared state changes on the user-interface thread.
    StarCatalogue catalogue;
    std::string error;
    // The sky is drawn without what could not be read; the user is told why.
    if (!LoadStarFile(catalogue.Stars, &error) | !LoadStarNameFile(catalogue.Names, &error)
        | !LoadConstellationFile(catalogue.Lines, &error))
        ShowUserMessage(error, "KYT", MessageKind::Error);
    tlearray skySet;
    const bool skySetRead = wantSkySet && LoadSatFile(skySet, DataDir + "SkySat.bin");
    OnUiThread([this, wantSkySet, skySetRead, skySet = std::move(skySet),
                catalogue = std::move(catalogue)]() mutable {
        FinishSkyView(wantSkySet, skySetRead, std::move(skySet), std::move(catalogue));
    });
}

void TfrMainWnd::FinishSkyView(bool wantSkySet, bool skySetRead, tlearray skySet,
                               StarCatalogue catalogue)
{
    if (closed_) {
        ViewBusy = false;
        return;
    }
    StarStreams = std::move(catalogue);
    if (wantSkySet) {
        if (skySetRead)
            ReplaceSkyList(std::move(skySet));
        else
            menu_showskysat->setChecked(false);
    }
    BodyCount = 9;
    BodyStates = BodyEntries({BodyMercury, BodyVenus, BodyMars, BodyJupiter, BodySaturn, BodyUranus,
                              BodyNeptune, BodyPluto, BodyMoon, BodySun},
                             ModeRaDec);
    HorizontalToEqu(ObserverPlace(), MainView.CentreAlt, MainView.CentreAz, MainView.Centre,
                    CurrentTime, SiderealTime);
    SetDisplayListStyles();
    RefreshDisplay();
    ViewBusy = false;
}

void TfrMainWnd::ClearStarStreams()
{
    StarStreams = StarCatalogue{};
}

bool TfrMainWnd::LoadSkySet()
{
    tlearray set;
    if (!LoadSatFile(set, DataDir + "SkySat.bin"))
        return false;
    ReplaceSkyList(std::move(set));
    return true;
}

void TfrMainWnd::ShowCheckedView()
{
    menu_map->setChecked(Options.ViewMode == ViewModeMap);
    menu_skymode->setChecked(Options.ViewMode == ViewModeSky);
    menu_globemode->setChecked(Options.ViewMode == ViewModeGlobe);
}

void TfrMainWnd::ConfigureViewControls()
{
    bn_stopClick();
    txt_info1->clear();
    const std::int32_t mode = Options.ViewMode;
    if (mode != ViewModeMap && mode != ViewModeSky && mode != ViewModeGlobe)
        return;
    const bool sky = mode == ViewModeSky;
    for (QAction *button : {tb_satvis, tb_locvis, tb_track, tb_grids})
        button->setVisible(!sky);
    for (QAction *button : {tb_const, tb_starname, tb_constname, tb_plus, tb_minus})
        button->setVisible(sky);
    const char *captions[3][4] = {
        {"LAT", "LON", "VEL", "TLE"},
        {"RA", "DEC", "ALT", "AZ"},
        {" LAT", "LON", "VEL", "TLE"},
    };
    for (int i = 0; i < 4; ++i)
        SetPanel(4 + 2 * i, captions[mode - 1][i]);
    menu_mapmenu->menuAction()->setVisible(mode == ViewModeMap);
    menu_sky->menuAction()->setVisible(sky);
    menu_globe->menuAction()->setVisible(mode == ViewModeGlobe);
    for (QAction *item : {menu_grids, menu_loc_vis, menu_sat_vis, menu_tracks})
        item->setEnabled(!sky);
    ShowCheckedView();
    for (int panel : {5, 7, 9, 11})
        SetPanel(panel, QString());
}

void TfrMainWnd::DisplaySwitchChanged(QAction *item)
{
    // The menu has already toggled the item's checked state.
    const bool on = item->isChecked();
    const bool sky = Options.ViewMode == ViewModeSky;
    if (item == menu_displaynumber) {
        FillMainSatelliteCombos();
    } else if (item == menu_displayhomelocation) {
        menu_globelocation->setChecked(on);
    } else if (item == menu_globelocation) {
        menu_displayhomelocation->setChecked(on);
    } else if (item == menu_constellations || item == menu_constellationNames
               || item == menu_starames) {
        if (!sky) {
            // These switch only in the sky view.
            item->setChecked(!on);
            return;
        }
        CopySkySwitchesToView();
    } else if (item == menu_startohorizon) {
        CopySkySwitchesToView();
    } else if (item == menu_showskysat && on && SkyListEmpty()) {
        if (!LoadSkySet())
            ShowUserMessage("Satellite File missing!, Select \"Satellite File =\" under "
                            "\"Tools\" in Main Menu.",
                            "KYT", MessageKind::Information);
    }
    RefreshDisplay();
}

void TfrMainWnd::SkyModeChosen(QAction *item)
{
    if (Options.ViewMode != ViewModeSky) {
        // Outside the sky view the menu's own toggle is undone.
        item->setChecked(!item->isChecked());
        return;
    }
    const std::vector<QAction *> group1 = {menu_skyviewradec, menu_skyviewaltaz};
    const std::vector<QAction *> group2 = {menu_skyviewfixradec, menu_skyviewfixaltaz,
                                           menu_skyviewfixsatellite};
    const auto &group = std::find(group1.begin(), group1.end(), item) != group1.end() ? group1 : group2;
    // Choosing the checked mode again keeps it checked.
    for (QAction *other : group)
        other->setChecked(other == item);
    RefreshDisplay();
}

void TfrMainWnd::OrientationChosen(QAction *item)
{
    if (Options.ViewMode != ViewModeSky) {
        item->setChecked(!item->isChecked());
        return;
    }
    for (QAction *other : {menu_sky_tools_orientation_normal, menu_sky_tools_orientation_inverted,
                           menu_sky_tools_orientation_mirror_ew, menu_sky_tools_orientation_mirror_ns})
        other->setChecked(other == item);
    ApplyOrientation();
    RefreshDisplay();
}

void TfrMainWnd::ApplyOrientation()
{
    // The checked orientation decides the mirror signs, also after a restart.
    MainView.SignX = menu_sky_tools_orientation_inverted->isChecked()
            || menu_sky_tools_orientation_mirror_ew->isChecked()
        ? -1
        : 1;
    MainView.SignY = menu_sky_tools_orientation_inverted->isChecked()
            || menu_sky_tools_orientation_mirror_ns->isChecked()
        ? -1
        : 1;
}

void TfrMainWnd::menu_magClick()
{
    if (Options.ViewMode != ViewModeSky)
        return;
    bool accepted = false;
    const QString answer = QInputDialog::getText(
        this, "Magnitude", "Enter Magnitude Limit", QLineEdit::Normal,
        QString::fromStdString(ShortestNumberText(Options.MaxMagnitude)), &accepted);
    if (!accepted)
        return;
    SetMagnitudeLimit(answer.toStdString());
}

void TfrMainWnd::SetMagnitudeLimit(const std::string &answer)
{
    double value = 7.0;
    const bool number = ParseDecimal(answer, value);
    if (!number)
        value = 7.0;
    if (value < -10.0 || value > 30.0) {
        ShowUserMessage(" Magnitude not valid, Max (30) - Min (-10) ", "KYT", MessageKind::Information);
        return;
    }
    Options.MaxMagnitude = value;
    RefreshDisplay();
    ShowMagnitudeLimit();
}

void TfrMainWnd::ShowMagnitudeLimit()
{
    menu_mag->setText("Set Max Magnitude = " + QString::fromStdString(ShortestNumberText(Options.MaxMagnitude)));
}

void TfrMainWnd::tb_plusClick()
{
    Options.StarMagnitude = std::min(11.0, Options.StarMagnitude + 0.5);
    RefreshDisplay();
}

void TfrMainWnd::tb_minusClick()
{
    Options.StarMagnitude = std::max(0.0, Options.StarMagnitude - 0.5);
    RefreshDisplay();
}

void TfrMainWnd::CopySkySwitchesToView()
{
    MainView.StarToHorizon = menu_startohorizon->isChecked();
    MainView.Constellations = menu_constellations->isChecked();
    MainView.ConstellationNames = menu_constellationNames->isChecked();
    MainView.StarNames = menu_starames->isChecked();
}

void TfrMainWnd::CopySwitchesToViews()
{
    ViewSwitches &s = MainViewSwitches;
    s.DisplayCities = menu_displaycities->isChecked();
    s.DisplayHomeLocation = menu_displayhomelocation->isChecked();
    s.MapGrids = menu_grids->isChecked();
    s.GroundTrack = menu_tracks->isChecked();
    s.ShowSatelliteLabel = menu_showLabel->isChecked();
    s.SatelliteCircle = menu_sat_vis->isChecked();
    s.LocationCircle = menu_loc_vis->isChecked();
    s.StarToHorizon = menu_startohorizon->isChecked();
    s.Constellations = menu_constellations->isChecked();
    s.ConstellationNames = menu_constellationNames->isChecked();
    s.StarNames = menu_starames->isChecked();
    s.FixedAltAz = menu_skyviewfixaltaz->isChecked();
    s.AltAzOrientation = menu_skyviewaltaz->isChecked();
    s.FixedSatellite = menu_skyviewfixsatellite->isChecked();
    s.MirrorEW = menu_sky_tools_orientation_mirror_ew->isChecked();
    s.MirrorNS = menu_sky_tools_orientation_mirror_ns->isChecked();
    s.ShowSatelliteMagnitude = menu_showsatellitemag->isChecked();
    s.ShowSkySatellites = menu_showskysat->isChecked();
    s.SatelliteNumber = menu_displaynumber->isChecked();
}

void TfrMainWnd::DrawMainView()
{
    CopySwitchesToViews();
    DrawView();
    MainImage->SetPicture(ViewBitmap());
}

void TfrMainWnd::KeepSkyWithinWidestView()
{
    if (MainView.SkyScale < MainView.SkyScaleMin) {
        MainView.SkyScale = MainView.SkyScaleMin;
        txt_info1->setText(QString::fromStdString(ShowViewSize()));
    }
}

void TfrMainWnd::TurnViewToSelected()
{
    const TargetState *s = SelectedState();
    if (!s)
        return;
    if (Options.ViewMode == ViewModeSky) {
        KeepSkyWithinWidestView();
        MainView.Centre = s->RaDec;
        MainView.CentreAlt = s->Elevation;
        MainView.CentreAz = s->Azimuth;
    } else if (Options.ViewMode == ViewModeGlobe) {
        MainView.GlobeCentre = s->SubPoint;
    }
}

void TfrMainWnd::CenterSkyOnBody(int index)
{
    if (Options.ViewMode != ViewModeSky || index < 0 || static_cast<std::size_t>(index) >= BodyStates.size())
        return;
    KeepSkyWithinWidestView();
    MainView.Centre = BodyStates[index].RaDec;
    EquToHorizontal(ObserverPlace(), MainView.Centre, MainView.CentreAlt, MainView.CentreAz,
                    CurrentTime, SiderealTime);
    RefreshDisplay();
}

void TfrMainWnd::CenterSkyOnAzimuth(double azimuth)
{
    if (Options.ViewMode != ViewModeSky)
        return;
    // Turned to that point of the horizon: keeping the altitude, from the
    // whole-sky picture (centred on the zenith) the command only spun the disc.
    KeepSkyWithinWidestView();
    MainView.CentreAlt = MainView.HorizonAltitude;
    MainView.CentreAz = azimuth;
    HorizontalToEqu(ObserverPlace(), MainView.CentreAlt, MainView.CentreAz, MainView.Centre,
                    CurrentTime, SiderealTime);
    RefreshDisplay();
}

void TfrMainWnd::menu_zenithClick()
{
    if (Options.ViewMode != ViewModeSky)
        return;
    txt_info1->setText(QString::fromStdString(ResetSkyZoom()));
    RefreshDisplay();
}
