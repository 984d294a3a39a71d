// The report text the prediction and analysis windows share: the report and
// satellite headers and the table of close approaches of a satellite to a
// body, a star or a fixed sky point; the choice of a star or sky point as
// transit target; and the check of a prediction period.
//
// Reports are lists of lines that the caller shows, prints or saves. Times
// are UTC, or local (UTC + the observer's UtcOffset) when the caller's UTC
// flag is clear; headers tag each time "(Z)" or "(L)".
#pragma once

#include <string>
#include <vector>

#include "engine/astronomy/body_events.h"
#include "engine/satellites/satellite_record.h"
#include "engine/files/settings.h"

// The computer's clock as a UTC day count.
double PresentInstant();

// The report's opening lines: when it was produced (`presentUtc`, shown in
// the report's time), the observer, the span from `start` to `stop` (shown
// as given) and whether times are UTC or local.
void WriteReportHeader(bool utc, std::vector<std::string> &lines, double start, double stop,
                       const ObserverRecord &observer, double presentUtc = PresentInstant());

// A rule, then the satellite's name and number, its element epoch in UTC and
// local time, and its apogee and perigee heights in km or miles
// (DistanceFactor, which follows Options' Metric setting).
void WriteSatelliteHeader(const TleRecord &record, std::vector<std::string> &lines,
                          const ObserverRecord &observer);
// The same with the heights in the unit of `distanceFactor` (1.0 km, else
// miles), for a worker that took the factor when it started.
void WriteSatelliteHeader(const TleRecord &record, std::vector<std::string> &lines,
                          const ObserverRecord &observer, double distanceFactor);

// The unit text of a distance factor: "km" for 1.0, "mi." otherwise.
const char *DistanceUnit(double distanceFactor);

// For every pass of the satellite above `threshold` (rad) inside the windows,
// the closest approach to the target as seen by the observer; an approach
// closer than `separationLimit` degrees (and than 5 degrees) gives one table
// row, and with `dayOrNight` clear only while the Sun is more than 1 degree
// down (unless the target is the Sun itself). The satellite header and the
// column header come before the first row, and nothing is written without
// one; heights and ranges are in the unit of `distanceFactor`. Ephemeris
// targets (BodyId 1-11) are moved with the satellite; a sky point or star
// (12, 13) keeps its fixed J2000 position. The observer is moved to the
// instants tried.
void WriteTransitTable(TleRecord &record, TargetState &target, const std::vector<WindowItem> &windows,
                       double threshold, double separationLimit, bool dayOrNight, bool utc,
                       double distanceFactor, std::vector<std::string> &lines, ObserverRecord &observer);

// The last line of a report whose search looked at satellites and found
// nothing: a transit report in which no satellite came close enough, a line
// or tabular report without a pass, a flare report without a flare. Without
// it the report would end at its header, as if cut short.
inline constexpr const char *NoTransitsLine = "  No transits found.";
inline constexpr const char *NoPassesLine = "  No passes found.";
inline constexpr const char *NoFlaresLine = "  No flares found.";

// For a sky point (BodyId 12) asks the sky-point picker, pre-filled with the
// target's right ascension and declination, and names the target "Ra/Dec";
// for a star (13) asks the star picker, handing it `first` and `second`, and
// takes the star's common name. The target is set 1 AU away in the chosen
// J2000 direction. False, with target and name unchanged, when the picker
// chose nothing (a field that does not read, no star list): the caller then
// starts no search. Other targets, and a program without pickers, are left
// alone (true).
bool SelectTransitTarget(TargetState &target, std::string &name, int first, int second);

// What a transit search refused for want of its sky point (BodyId 12) or star
// (13) tells the user: which point to choose, and where.
std::string MissingTransitTargetText(int bodyId);

// True when `end` is not before `start` and at most 15 days after it;
// otherwise tells the user why and returns false.
bool CheckPredictionPeriod(double start, double end);
