// The toolbar image list shared by the main, prediction and analysis windows,
// read from "Glyphary.dll" beside the program.
//
// File layout (little-endian): the 8 bytes "KYTGLYPH", a uint32 format version
// (1), a uint32 image count, then per image a uint32 byte length followed by
// that many bytes of PNG data. Images are addressed by their position.
#pragma once

#include <QIcon>
#include <QList>
#include <QString>

constexpr int GlypharyMinImages = 35;

// Reads the whole file; on failure returns false with a reason for the user
// and leaves images empty.
bool LoadGlyphary(const QString &path, QList<QIcon> &images, QString &error);

// The program-wide image list (empty until the main window loads it).
QList<QIcon> &ToolbarImages();
