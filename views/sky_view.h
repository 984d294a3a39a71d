// The sky view: the sky as the observer sees it in the Lambert equal-area
// projection of ProjectSky, with the ground below the horizon, the compass
// letters, stars, constellation figures, the Sun, Moon and planets, the
// satellites shown in the main window and the bright satellites of the sky
// set. Nothing is cached: every draw redraws the whole picture.
//
// SetSkyView, DrawStars and DrawConstellations serve the pass chart too: they
// take the view, the painter of its bitmap, the catalogue and the colours
// as arguments. The other routines draw the main window's view (MainView on
// ViewBitmap(), with MainViewSwitches).
#pragma once

#include <QPainter>

#include <cstdint>
#include <vector>

#include "engine/files/star_catalog.h"
#include "views/view_state.h"

// The star catalogues in memory. The main window fills StarStreams when the
// sky view is entered and empties it when the view is left.
struct StarCatalogue {
    std::vector<StarRecord> Stars;
    std::vector<StarNameRecord> Names;
    std::vector<ConstellationLine> Lines;
};
extern StarCatalogue StarStreams;

// Colours the caller draws stars with (ARGB): disc fill and outline, and the
// text of star names.
struct StarColours {
    std::uint32_t Fill = 0xFFFFFFFFu;
    std::uint32_t Outline = 0xFF000000u;
    std::uint32_t Text = 0xFFFFFFFFu;
};

// The observer (latitude, longitude, height) and the instant (with its
// Greenwich mean sidereal time) that horizontal directions are turned into
// J2000 right ascension and declination for.
struct SkyClock {
    Angles3 Observer;
    double Instant = 0.0;
    double Gmst = 0.0;
};
// The global observer at CurrentTime and SiderealTime.
SkyClock MainSkyClock();

// The faintest star magnitude drawn for a view of imageHeight pixels at
// skyScale pixels a degree: 17.125 / field of view + starMagnitude, cut to a
// whole or half magnitude (a fraction of 0.5 or less is dropped), at most 11.
double LimitingMagnitude(int imageHeight, double skyScale, double starMagnitude);

// Sets the view's centre and rotation for this instant. fixedAltAz keeps the
// centre's altitude and azimuth (the sky turns under it), otherwise its
// right ascension and declination; fixedSatellite centres on the selected
// satellite (nothing changes when none is shown or it has no position);
// altAzOrientation turns
// the picture so that the zenith is up. A view wider than its widest scale
// shows the whole sky about its centre with the centre's azimuth down.
void SetSkyView(ViewState &view, const SkyClock &clock, bool fixedAltAz, bool altAzOrientation,
                bool fixedSatellite);

// Stars of the catalogue down to limitingMagnitude near the view's
// declination band, with their names when view.StarNames is set: a star at
// the limit as three pixels, brighter ones as discs of radius 2, 4 or 6.
void DrawStars(QPainter &painter, const ViewState &view, double limitingMagnitude,
               const StarCatalogue &catalogue, const StarColours &colours);

// The constellation figures: a line for each pair whose first end is drawn
// and whose second end is too, and with view.ConstellationNames the names
// longer than two characters at their first end in nameColour.
void DrawConstellations(QPainter &painter, const ViewState &view, const StarCatalogue &catalogue,
                        std::uint32_t nameColour);

// The main window's sky picture on ViewBitmap() (cleared to black before).
void DrawSky();

// The parts of DrawSky, on MainView with the painter of ViewBitmap().
void DrawSkyGround(QPainter &painter);
void DrawHorizonLabels(QPainter &painter);
void DrawBodies(QPainter &painter);
void DrawSkySatellites(QPainter &painter);
void DrawSkyCatalogue(QPainter &painter);
void DrawCompassBox(QPainter &painter, double limitingMagnitude);
