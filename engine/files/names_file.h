// The names-and-magnitudes file "qvnames.dat" in the data folder: entry lines
// of 48 fixed columns keyed by catalogue number, one line holding the link of
// its update archive, and other lines that are carried along unchanged.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

constexpr std::size_t NamesEntryLength = 48;
// The magnitude of a satellite the file does not know.
constexpr double UnknownStdMagnitude = 8.0;

// Reads DataDir + "qvnames.dat" as text lines. False with a message when the
// file is missing or cannot be read (lines then empty).
bool LoadNamesFile(std::vector<std::string> &lines, std::string *error = nullptr);

// The link the shipped file holds: a host that never resolves, so an
// "Update" needs a link of the user's own in the file.
constexpr const char *DefaultNamesUpdateLink = "http://names.invalid/qvnamesupdate.zip";

// Whether line holds the update link ("http://" or "https://").
bool IsNamesLinkLine(std::string_view line);

// Whether line is an entry: exactly 48 characters and not the link line.
bool IsNamesEntry(std::string_view line);

// Columns of an entry line: the catalogue number (1-5) and the name (7-21),
// trimmed, and the standard magnitude (37-41), UnknownStdMagnitude when it is
// not a number.
std::string NamesEntryNumber(std::string_view line);
std::string NamesEntryName(std::string_view line);
double NamesEntryMagnitude(std::string_view line);

// The last entry whose catalogue number is number (compared as a whole
// number, never as part of another); index -1 and false when none is.
bool FindNamesEntry(const std::vector<std::string> &lines, std::string_view number, int &index);

// The standard magnitude the file gives for number, UnknownStdMagnitude when
// it has no entry for it.
double FindStdMagnitude(const std::vector<std::string> &lines, std::string_view number);

// The last link line, trimmed; empty when there is none.
std::string NamesUpdateLink(const std::vector<std::string> &lines);

// One entry line from its texts (each trimmed except the number); a text
// longer than its column is not cut, so the line is then longer than 48.
std::string FormatNamesEntry(std::string_view number, std::string_view name, std::string_view width,
                             std::string_view length, std::string_view depth, std::string_view magnitude,
                             std::string_view crossSection);
