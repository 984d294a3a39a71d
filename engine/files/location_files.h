// The observer location window's files in the data folder: the place lists
// "Locations.dat" and "UserLocations.dat" (one place per fixed-column line)
// and the time zones "Timezone.dat" (offset, comma, zone name).
//
// Columns of a place line count characters, not bytes, in reading as in
// writing, so a name with letters beyond ASCII keeps every column in place.
#pragma once

#include "engine/files/data_files.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

inline constexpr char LocationsFileName[] = "Locations.dat";
inline constexpr char UserLocationsFileName[] = "UserLocations.dat";
inline constexpr char TimeZonesFileName[] = "Timezone.dat";

// A place name fills columns 1-30; a longer one would shift every column.
inline constexpr std::size_t LocationNameWidth = 30;

// The texts of a place line: name (columns 1-30), latitude (31-40) and
// longitude (41-50) in decimal degrees as typed, zone name (61-110).
struct LocationFields {
    std::string name;
    std::string latitude;
    std::string longitude;
    std::string zone;
};

// The fields of a line, each trimmed of blanks.
LocationFields SplitLocationLine(std::string_view line);
// The name alone (the list box shows it for every line of a long list).
std::string LocationName(std::string_view line);

// The line built from the fields (trimmed): name, latitude, longitude, the
// constant "0.00", zone and the constant "2" in their columns. A name longer
// than the column is the caller's to refuse (the columns would shift).
std::string FormatLocationLine(const LocationFields &fields);

bool LatitudeInRange(double degrees);
bool LongitudeInRange(double degrees);

// The fields of a line and its coordinates in degrees; false when the
// latitude or longitude is not a number or lies outside its range, so the
// place is refused whole.
bool ReadLocationPlace(std::string_view line, LocationFields &fields, double &latitude,
                       double &longitude);

// Case-insensitive order of the whole lines (so by name), the order "Save"
// keeps the lists in.
void SortLocationLines(std::vector<std::string> &lines);

// The lines of a place list, blank lines left out; a missing file is an
// empty list (Missing).
ReadStatus ReadLocationLines(const std::string &path, std::vector<std::string> &lines,
                             std::string *error = nullptr);
// Writes the lines, one per line.
bool SaveLocationLines(const std::string &path, const std::vector<std::string> &lines,
                       std::string *error = nullptr);

// One line of "Timezone.dat": the UTC offset in hours as written, and the
// zone name.
struct TimeZoneEntry {
    std::string offset;
    std::string name;
};

// The zones in file order; lines without an offset and a name are left out.
ReadStatus ReadTimeZones(const std::string &path, std::vector<TimeZoneEntry> &zones,
                         std::string *error = nullptr);
