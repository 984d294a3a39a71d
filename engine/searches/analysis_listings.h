// The analysis window's three listings over the satellites of an element
// file: those visible at one instant inside an azimuth and elevation box, their
// transits across a body, a sky point or a star during a span, and those whose
// decay is expected around the instant.
//
// A listing works on one snapshot of the window's inputs taken when it
// starts, so it may run on a worker while the user goes on changing the
// window; it returns its report lines in one piece.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/files/element_files.h"
#include "engine/files/settings.h"
#include "engine/satellites/satellite_record.h"

struct AnalysisInputs {
    double Instant = 0.0;        // UTC day count
    double InstantShown = 0.0;   // the time picker's value (report header)
    bool UtcMode = true;
    double DistanceFactor = 1.0; // 1.0 km, 0.621371 miles
    int MinRevs = 14;            // mean-motion limits, revs a day, both exclusive
    int MaxRevs = 18;
    double MinAzimuth = 0.0;     // degrees, the box's limits included
    double MaxAzimuth = 360.0;
    double MinElevation = 10.0;  // degrees
    double MaxElevation = 90.0;
    int SpanMinutes = 60;        // transit search span
    int RadiusArcMinutes = 30;   // transit radius
    int MinTargetAltitude = 10;  // degrees
    bool DayOrNight = false;
    ObserverRecord Observer{};
    TargetState Target{};        // BodyId, and RA/Dec for a sky point or star
    std::string TargetName;
    // Shared, never changed once handed to a listing: a new file load makes a
    // new list.
    std::shared_ptr<const ElementList> Elements;
    std::shared_ptr<const std::vector<std::string>> Names; // "qvnames.dat" lines
};

// The report header, the Sun's elevation and one line per satellite with a
// mean motion inside the limits that propagates to the instant and stands
// inside the box: azimuth, elevation, magnitude, range, height and sunlight.
std::vector<std::string> ListVisibleSatellites(const AnalysisInputs &inputs);

// The target's title (with its epoch and position for a sky point or star),
// the report header and each satellite's transit table over the span, inside
// the windows in which the target stands above its lowest altitude (the whole
// span with "Day / Night").
std::vector<std::string> SearchAnalysisTransits(const AnalysisInputs &inputs);

// The report header and each fast satellite (over 16 revs a day) whose rough
// decay estimate puts the instant between its element epoch and its decay.
std::vector<std::string> ListDecayedSatellites(const AnalysisInputs &inputs);
