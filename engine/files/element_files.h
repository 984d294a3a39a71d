// Element text files (two-line element sets with or without a name line
// before each), satellite set files (headerless arrays of TleRecord images)
// and the conversion of a two-line file into a three-line one.
#pragma once

#include "engine/files/data_files.h"
#include "engine/satellites/satellite_record.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One element set as read from text.
struct ElementRecord {
    ShortString<20> Name;
    ShortString<5> Number;      // catalogue number: columns 3-7 of line 1
    ShortString<70> Line1;
    ShortString<70> Line2;
    std::uint8_t Padding0[7] = {};
    double StdMagnitude = 8.0;
    double MeanMotion = 1.0;    // revolutions a day, columns 53-63 of line 2
    std::uint8_t Selected = 0;  // the satellite selector's mark on its copies
    std::uint8_t Padding1[7] = {};
};
static_assert(sizeof(ElementRecord) == 200);
static_assert(offsetof(ElementRecord, Name) == 0);
static_assert(offsetof(ElementRecord, Number) == 21);
static_assert(offsetof(ElementRecord, Line1) == 27);
static_assert(offsetof(ElementRecord, Line2) == 98);
static_assert(offsetof(ElementRecord, StdMagnitude) == 176);
static_assert(offsetof(ElementRecord, MeanMotion) == 184);
static_assert(offsetof(ElementRecord, Selected) == 192);

using ElementList = std::vector<ElementRecord>;

// The most records a set file holds.
constexpr std::size_t MaxSatFileRecords = 65536;

// Appends one record per element set of text, in text order. A set is a
// line 1 directly followed by a line 2 of the same catalogue number (both
// well formed; a wrong checksum digit is accepted); the line before line 1
// names it. Other lines are passed over.
void ParseTleText(std::string_view text, ElementList &list);

// Replaces list by the element sets of the text file path. True when it
// holds at least one; false (with a message when the file cannot be read)
// otherwise.
bool LoadTleTextFile(ElementList &list, const std::string &path, std::string *error = nullptr);

// The records of a set file image: as many whole 1016-byte records as it
// holds (at most MaxSatFileRecords), each with its propagator set up again
// from its stored elements.
tlearray SatRecordsFromBytes(std::string_view bytes);

// Replaces array by the records of the set file path. True when at least
// one was read; array is left as it was when the file cannot be read.
bool LoadSatFile(tlearray &array, const std::string &path, std::string *error = nullptr);

// Writes array to path, replacing the file (an empty array gives an empty
// file). Refuses arrays of more than MaxSatFileRecords.
bool SaveSatFile(const tlearray &array, const std::string &path, std::string *error = nullptr);

// Writes the three-line form of the element file path, sorted by catalogue
// number and named from "qvnames.dat", beside it as "3le_" + its file name,
// then deletes path. The source stays when the names file is missing, when
// it holds no element set or when the new file could not be written whole.
bool ConvertTleTo3Line(const std::string &path, std::string *error = nullptr);

// Sort comparisons of element records: case-insensitive, ascending.
int CompareTleItemsByName(const ElementRecord &a, const ElementRecord &b);
int CompareTleItemsByNumber(const ElementRecord &a, const ElementRecord &b);
