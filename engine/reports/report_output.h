// Small services shared by the reports and windows: printing report lines,
// a file check with its message and a rough decay estimate.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

// True when the file exists (a regular file; names match without regard to
// case, as everywhere in the data folders). When it does not and `raise` is
// set, throws std::runtime_error("File: " + name + " not found").
bool CheckFileExists(const std::string &fileName, bool raise);

// A printed report page: the print dialog's page numbers and the sheets the
// printer produces both count this many lines, so a chosen page range is
// exactly the sheets that come out.
inline constexpr int ReportLinesPerPage = 55;
// Pages of a report of `lineCount` lines (0 for none).
int ReportPageCount(std::size_t lineCount);
// The lines of pages `fromPage`..`toPage` (1-based, inclusive), clipped to the
// report; empty when the range holds no line.
std::span<const std::string> ReportPageLines(std::span<const std::string> lines, int fromPage,
                                             int toPage);
// Offers the report to the printer through the program's print hook (dialog,
// page range, copies); the job is titled "Print Sidrela". Does nothing when
// no program is attached. Call on the user-interface thread.
void PrintReport(const std::vector<std::string> &lines);

// Rough days until decay from the first derivative of mean motion as the
// parsed elements store it (ndot/2, rad/min^2) and the mean motion in
// revolutions a day: 0 when the derivative is not positive or the estimate is
// negative or not a finite number.
double EstimateDecayDays(double ndot2, double meanMotion);
