// Painting primitives shared by the map and globe views (and the sky view):
// colours from the settings' ARGB values, lines, discs and labels.
#pragma once

#include <QColor>
#include <QPainter>

#include <cstdint>
#include <string_view>

#include "views/view_state.h"

inline constexpr std::uint32_t OpaqueBlack = 0xFF000000u;
inline constexpr std::uint32_t OpaqueYellow = 0xFFFFFF00u;
inline constexpr std::uint32_t OpaqueGrey = 0xFF808080u;

// The colour with its alpha, for lines and polygons.
QColor ArgbColor(std::uint32_t argb);
// The colour without its alpha: text is always drawn opaque.
QColor OpaqueColor(std::uint32_t argb);

// A painter on image with the view font, lines drawn pixel-exact (no
// antialiasing) and blended with their colour's alpha.
void BeginViewPainter(QPainter &painter, QImage &image);

// Replaces the painter's whole picture by source (same size): a plain copy,
// no blending.
void CopyPicture(QPainter &painter, const QImage &source);

// A one-pixel line from a to b including both ends, clipped to the image.
void DrawSolidLine(QPainter &painter, Pixel a, Pixel b, std::uint32_t argb);
// A disc filling the square (x - r, y - r) .. (x + r, y + r), right and bottom
// edges exclusive.
void DrawDisc(QPainter &painter, Pixel centre, int radius, std::uint32_t fill, std::uint32_t outline);
// A plus-shaped marker of +-2 pixels.
void DrawCross(QPainter &painter, Pixel at, std::uint32_t argb);
// Text (UTF-8) with its top-left corner at (x, y) in the opaque colour.
void DrawLabel(QPainter &painter, int x, int y, std::string_view text, std::uint32_t argb);
