// The star catalogues of the sky view and the pass chart, in the data folder:
// "Stars.bin" (positions and magnitudes), "starname.bin" (names of bright
// stars) and "Constellations.bin" (constellation figures as pairs of end
// points). Headerless files of fixed-size little-endian records; right
// ascension and declination in radians, J2000.
#pragma once

#include "engine/files/data_files.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

inline constexpr const char *StarFileName = "Stars.bin";
inline constexpr const char *StarNameFileName = "starname.bin";
inline constexpr const char *ConstellationFileName = "Constellations.bin";

struct StarRecord {
    double RightAscension;
    double Declination;
    double Magnitude; // visual
};
static_assert(sizeof(StarRecord) == 24);
static_assert(offsetof(StarRecord, Declination) == 8);
static_assert(offsetof(StarRecord, Magnitude) == 16);

// A named point: a star of "starname.bin" or one end of a constellation line.
struct StarNameRecord {
    double RightAscension;
    double Declination;
    double Unused; // not read by the program
    ShortString<23> Name;
};
static_assert(sizeof(StarNameRecord) == 48);
static_assert(offsetof(StarNameRecord, Declination) == 8);
static_assert(offsetof(StarNameRecord, Unused) == 16);
static_assert(offsetof(StarNameRecord, Name) == 24);

// Two consecutive records of "Constellations.bin": one line of a figure. The
// name of From is the label written at that end.
struct ConstellationLine {
    StarNameRecord From;
    StarNameRecord To;
};
static_assert(sizeof(ConstellationLine) == 2 * sizeof(StarNameRecord));

// The magnitudes a star of the catalogue may have.
inline constexpr double BrightestStarMagnitude = -2.0;
inline constexpr double FaintestStarMagnitude = 20.0;

// Record images from a file's bytes. A partial record (or, for the
// constellations, an unpaired last record) at the end is ignored. A record
// the sky view cannot draw (a position or magnitude that is not a finite
// number, a declination beyond the poles, a star magnitude outside
// BrightestStarMagnitude..FaintestStarMagnitude, a name whose length byte
// exceeds its 23 characters) is skipped, and for the constellations the line
// it ends, so the pairs keep their ends; right ascension is taken into
// 0..2 pi. The rest are kept in file order; false, with the number of
// records skipped in *error, when any was.
bool ParseStarRecords(std::string_view bytes, std::vector<StarRecord> &stars, std::string *error = nullptr);
bool ParseStarNameRecords(std::string_view bytes, std::vector<StarNameRecord> &names, std::string *error = nullptr);
bool ParseConstellationLines(std::string_view bytes, std::vector<ConstellationLine> &lines,
                             std::string *error = nullptr);

// Read DataDir + the file's name whole. False with a message when the file is
// missing or cannot be read (the records are then empty), or when records
// were skipped (the records hold the others).
bool LoadStarFile(std::vector<StarRecord> &stars, std::string *error = nullptr);
bool LoadStarNameFile(std::vector<StarNameRecord> &names, std::string *error = nullptr);
bool LoadConstellationFile(std::vector<ConstellationLine> &lines, std::string *error = nullptr);
