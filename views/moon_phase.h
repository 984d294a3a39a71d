// The phase shape: a translucent black polygon over the unlit part of a disc,
// for the Moon in every view and for the night side of the globe.
#pragma once

#include <QPainter>

#include <vector>

#include "views/view_state.h"

struct ShapeVertex {
    double x = 0.0;
    double y = 0.0;
};

// n + 1 vertices of the dark part of a disc of radius r about (centreX,
// centreY). Unturned, the dark part reaches from the right limb to the
// terminator; angle turns it (screen coordinates, y down) and the signs then
// mirror it. darkFraction 0 is an empty shape, 1 the whole disc; every vertex
// lies on or inside the disc for any n, odd or even.
std::vector<ShapeVertex> PhaseShapeVertices(int n, double r, double centreX, double centreY, double angle,
                                            double darkFraction, int signX, int signY);

// Fills the phase shape in black with alpha Options.ShadowAlpha and outlines
// it in black with alpha 20.
void DrawPhaseShape(QPainter &painter, int n, double r, Pixel centre, double angle, double darkFraction,
                    int signX, int signY);

// Darkens the unlit part of the Moon's disc of radius r at centre, from the
// Moon's and the Sun's entries of BodyStates. On the map the lit side faces
// the Sun's sub-point; in the sky it follows the sky picture's rotation and
// mirror signs.
void DrawMoonPhase(QPainter &painter, int n, double r, Pixel centre);
