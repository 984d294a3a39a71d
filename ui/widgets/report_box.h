// The read-only text box that shows a report, and what the report windows
// do with it: append a finished report in one step, print it and save it.
#pragma once

#include <QPlainTextEdit>

#include <string>
#include <vector>

// A read-only, unwrapped box in a fixed-pitch font, so report columns line up.
QPlainTextEdit *MakeReportBox(QWidget *parent);

std::vector<std::string> ReportBoxLines(const QPlainTextEdit *box);
void AppendReportLines(QPlainTextEdit *box, const std::vector<std::string> &lines);

// Offers the box's lines to the printer.
void PrintReportBox(const QPlainTextEdit *box);
// Asks for a text file and writes the box's lines to it; a failed write is
// told to the user.
void SaveReportBox(const QPlainTextEdit *box);
