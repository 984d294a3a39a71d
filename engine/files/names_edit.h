// Editing the names-and-magnitudes file: its entries split into their
// columns, ordered by catalogue number, and an edition downloaded from its
// update link merged into the lines being edited.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Downloaded entries from this number on are the publisher's own working
// numbers: the merge ends at the first of them.
constexpr long FirstUnofficialNumber = 90000;

// False unless line is an entry; otherwise appends its eight columns,
// untrimmed: 1-5, 7-21, 22-26, 27-31, 32-36, 37-41, 42-43, 44-48.
bool SplitMagnitudeLine(std::string_view line, std::vector<std::string> &pieces);

// Columns 1-5 as a whole number; 0 when they are not one.
long NamesLineNumber(std::string_view line);

// By catalogue number (as a number, so "00694" and "  694" are one), lines
// of one number in case-insensitive text order.
void SortNamesLines(std::vector<std::string> &lines);

// Keeps one entry of each run of entries with one number: the first.
void RemoveDuplicateNumbers(std::vector<std::string> &lines);

// The current lines with the downloaded edition's entries merged in: each
// downloaded entry (in file order, up to the first numbered
// FirstUnofficialNumber or more) replaces every current entry of its number
// or is inserted in number order; every other current line stays. Both lists
// are taken in number order. False, and merged untouched, when the download
// holds no entry to take.
bool MergeNamesUpdate(const std::vector<std::string> &current, const std::vector<std::string> &downloaded,
                      std::vector<std::string> &merged);

// The magnitude at 1000 km and half lit of a satellite seen at magnitude at
// rangeKm.
double StandardMagnitude(double magnitude, double rangeKm);

// A size or cross-section for its five-character column: one decimal, or
// none when the decimal would not fit.
std::string SizeColumnText(double value);
