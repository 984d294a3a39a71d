// Reader for JPL DE binary planetary ephemerides (the format JPL publishes
// with its DE series), in either byte order.
//
// The loaded file is immutable and shared by every thread; each thread
// evaluates with its own Chebyshev cache, so the clock tick and worker
// searches may ask for positions at the same time without a lock.
#pragma once

#include <cstdint>
#include <string>

#include "satellite.h"

// Body codes of the reader (JPL's numbering). Codes 1-11 coincide with BodyId.
enum DEBodyCode : int {
    kDEMercury = 1,
    kDEVenus = 2,
    kDEEarth = 3,
    kDEMars = 4,
    kDEJupiter = 5,
    kDESaturn = 6,
    kDEUranus = 7,
    kDENeptune = 8,
    kDEPluto = 9,
    kDEMoon = 10,
    kDESun = 11,
    kDESolarSystemBarycentre = 12,
    kDEEarthMoonBarycentre = 13,
};

// Units flag of CalcDEBodyPosition.
inline constexpr std::uint8_t kDEUnitsKm = 0;
inline constexpr std::uint8_t kDEUnitsAU = 1;

// Loads the whole file at `path` into memory and makes it the ephemeris in
// use. False when the file is missing, unreadable, truncated, inconsistent or
// not a DE file (Earth-Moon mass ratio outside 81.30055..81.3008); nothing
// is loaded afterwards and every position request fails. Every failure but a
// missing file sets *error to say what is wrong with the file: it cannot be
// read, is larger than EphemerisLimit, or is damaged.
bool LoadDEFile(const std::string &path, std::string *error = nullptr);

// Releases the loaded ephemeris. Calls already running finish on their copy.
void FreeDEFile();

// Position of `target` relative to `centre` (codes 1-13) at Julian date `jd`
// (terrestrial time), in the ephemeris' equatorial J2000 frame, in km
// (units kDEUnitsKm) or astronomical units (kDEUnitsAU), with one light-time
// iteration for every target but the Sun and the barycentres. `out.w` is the
// vector's length. False when nothing is loaded, the date lies outside the
// file, a needed body is missing from the file or cannot be evaluated (out is
// then untouched), or the result is implausibly short (100000 km or less in
// km, 0.001 AU or less in AU), which includes a target equal to its centre.
bool CalcDEBodyPosition(int target, int centre, Vec4 &out, double jd, std::uint8_t units);
