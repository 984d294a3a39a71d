// The globe view: the world image mapped onto an orthographic disc about
// MainView.GlobeCentre, with home, graticule and ground track as its
// background, and on every refresh the night side, the satellites at their
// true distance and the visibility circles.
#pragma once

#include <QPainter>

#include "engine/satellites/satellite_record.h"

// Paints the textured disc into Background (black around it).
void RenderGlobeTexture();
// Rebuilds Background: texture, home, graticule and ground track.
void BuildGlobeBackground();
void DrawGlobeGrid(QPainter &painter);
// Draws the globe view into ViewBitmap() over a copy of Background.
void DrawGlobe();
// Shades the globe's night side as a phase shape for the Sun's state.
void DrawGlobeNightSide(QPainter &painter, const TargetState &sun, int segments);
