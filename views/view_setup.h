// The drawing surfaces of the main window's view and the dispatch of every
// redraw to the map, sky or globe view.
//
// Threads: everything here paints into QImages and runs on the user-interface
// thread only. What a worker may prepare is plain computation without Qt
// (ComputeGroundTrack, CalcSmallCircle, PhaseShapeVertices); the painting
// of its results stays here.
//
// How the main window drives the views:
//   start-up:  fill MainViewSwitches and SatelliteLabels, InitGraphics(w, h)
//              with the size of its image control, then ApplyViewOptions()
//              and show the returned text in txt_info1;
//   resize:    SizeBackground(w, h), ApplyViewOptions();
//   switches:  copy the checked menu items into MainViewSwitches (and the
//              four sky items into MainView as before) before each refresh;
//   satellite box: whenever cb_sat1 is filled, SatelliteLabels := its item
//              texts (entry j belongs to SatStates entry j);
//   options:   LoadMapImage() after the options window, then a refresh;
//   redraw:    DrawView(), then show ViewBitmap().
#pragma once

#include <QFont>
#include <QImage>

#include <string>
#include <vector>

#include "engine/runtime/program_state.h"
#include "views/view_state.h"

// The checked states of the main window's menu items that the views read.
// The main window keeps them in step with its menus.
struct ViewSwitches {
    bool DisplayCities = true;        // "Display Cities" (map menu)
    bool DisplayHomeLocation = true;  // "Display Home Location" (map and globe menus, kept equal)
    bool MapGrids = false;            // "Map Grids"
    bool GroundTrack = true;          // "Satellite Ground track"
    bool ShowSatelliteLabel = true;   // "Show Satellite Label"
    bool SatelliteCircle = true;      // "Satellite Visibility Circle"
    bool LocationCircle = false;      // "Location Visibility Circle"
    // Sky view.
    bool StarToHorizon = false;       // "Star to Horizon"
    bool Constellations = true;       // "Constellations"
    bool ConstellationNames = false;  // "Constellation Names"
    bool StarNames = false;           // "Star Names"
    bool FixedAltAz = false;          // "Fixed Alt/Az"
    bool AltAzOrientation = false;    // "Alt/Az"
    bool FixedSatellite = false;      // "Fixed Satellite"
    bool MirrorEW = false;            // "Mirror(E_W)"
    bool MirrorNS = false;            // "Mirror(N_S)"
    bool ShowSatelliteMagnitude = false; // "Show Satellite Magnitude"
    bool ShowSkySatellites = false;   // "Show Satellites"
    bool SatelliteNumber = false;     // "Satellite Number"
};
extern ViewSwitches MainViewSwitches;

// The item texts of the main window's satellite box cb_sat1 (names or
// catalogue numbers): the labels of the drawn satellites.
extern std::vector<std::string> SatelliteLabels;

// The world image as loaded (equirectangular, longitude -180 at the left,
// latitude +90 at the top) and the map or globe picture with its rarely
// changing overlays.
extern QImage MapImage;
extern QImage Background;
// The picture the main window shows: the size of Background.
QImage &ViewBitmap();
// The view font from Options.FontName and FontSize; a name this machine
// lacks falls back to a monospaced face that it has.
const QFont &ViewFont();
// The settings' font face (or the fall-back) at another size in points.
QFont ViewFontOfSize(int points);

// Creates the bitmaps, loads the world image, sizes them for an image control
// of controlWidth x controlHeight, resets the mirror signs and copies the four
// sky switches of MainViewSwitches into MainView. Returns LoadMapImage's
// message and what keeps the map places from being read.
std::string InitGraphics(int controlWidth, int controlHeight);
// Loads program folder + "map/" + Options.MapFile into MapImage (an empty
// name becomes "default.jpg"). A file that does not load (missing, not an
// image, or damaged: a JPEG cut short included) leaves the name in
// Options and shows "default.jpg" instead; when neither loads, MapImage is a
// plain dark-blue ocean. The result tells what was shown instead, naming the
// files tried; empty when the chosen image loaded.
std::string LoadMapImage();
// Background one pixel narrower and lower than the image control; MainView's
// sizes, centre and default scales.
void SizeBackground(int controlWidth, int controlHeight);
// Sizes the visible bitmap, takes the font and zoom settings and asks for a
// background rebuild. Returns the sky field-of-view text for txt_info1.
std::string ApplyViewOptions();
// Redraws the current view (Options.ViewMode) into ViewBitmap(): recomputes
// the ground track when the instant left it, rebuilds the background when
// MainView.RebuildBackground is set.
void DrawView();

// The state of the selected satellite when there is one to draw circles
// for: MainList and SatStates not empty, the selected record not decayed.
const TargetState *SelectedShownState();

// Calls visit(j, record) for every selected, not decayed MainList record, j
// being its SatStates index (counted over every selected entry, decayed or
// not). A decayed satellite has no current position: its state holds the
// last one.
template <class Visit>
void ForEachShownSatellite(Visit &&visit)
{
    std::size_t j = 0;
    for (const auto &record : MainList) {
        if (!record.Selected)
            continue;
        if (j >= SatStates.size())
            return;
        if (!record.Decayed)
            visit(j, record);
        ++j;
    }
}
