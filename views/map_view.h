// The world map view: the equirectangular world image with places, home,
// grid and ground track as its background, and on every refresh the night
// side, the Sun, the Moon, the satellites and the visibility circles.
#pragma once

#include <QPainter>

#include <string>
#include <string_view>
#include <vector>

#include "views/moon_phase.h"
#include "views/view_state.h"

// One line of "MapLocations.dat": latitude in columns 1-8, longitude in 9-16
// (degrees, north and east positive; a field that is no number reads as 0),
// the name in columns 18-37 without surrounding blanks.
struct MapPlace {
    double latitude = 0.0;  // degrees
    double longitude = 0.0; // degrees
    std::string name;
};
std::vector<MapPlace> ParseMapPlaces(std::string_view text);
// The places of DataDir + "MapLocations.dat"; none when it is missing. False
// with a message when it cannot be read or is too large.
bool ReadMapPlaces(std::vector<MapPlace> &places, std::string *error = nullptr);

// Whether the step from previous to point crosses the map's +-180 edge
// (from east of +90 to west of -90 or back): it is drawn as no line.
bool CrossesMapEdge(const Angles3 &previous, const Angles3 &point);

// The night side on the map for the Sun over sunSubPoint (latitude,
// longitude): a polygon along the terminator, one vertex every other column,
// closed over the dark pole. Near an equinox, when the terminator runs close
// to the poles, it turns into the dark half of the longitudes as it should.
std::vector<ShapeVertex> NightSideVertices(const Angles3 &sunSubPoint, const ViewState &view);

// Rebuilds Background from MapImage and the overlays whose switches are on.
void BuildMapBackground();
void DrawCities(QPainter &painter);
void DrawHome(QPainter &painter);
void DrawMapGrid(QPainter &painter);
// Draws the map view into ViewBitmap() over a copy of Background.
void DrawMap();
void DrawNightSide(QPainter &painter);
