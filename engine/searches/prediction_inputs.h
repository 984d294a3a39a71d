// What the prediction window's searches work on and what they give back.
// A search takes one snapshot of the window's inputs when it starts and never
// looks at the window again, so nothing the user changes meanwhile reaches it.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/files/data_files.h"
#include "engine/files/settings.h"
#include "engine/satellites/satellite_record.h"

// One predicted pass or flare, as the pass chart and the flare KML export read
// it. It refers to the whole satellite record, deep-space flag included, so a
// reader propagates (a copy of) it with the right model; the passes of one
// satellite share one record, which nothing changes once it is shared.
struct PassRecord {
    ShortString<30> Title;            // Name + " - " + Number
    // line: at the culmination; tabular: brightest sunlit row; flare:
    // observer's. None for a satellite in the Earth's shadow.
    std::optional<double> Magnitude;
    double Elevation = 0.0;           // degrees; line: culmination; tabular: highest row; flare: at the flare
    double StartTime = 0.0;           // UTC day count
    double EndTime = 0.0;             // UTC day count
    std::shared_ptr<const TleRecord> Satellite;
};

using PassList = std::vector<PassRecord>;

// The window's inputs, read once when a search starts.
struct PredictionInputs {
    double Start = 0.0;          // UTC day count
    double End = 0.0;            // UTC day count
    double StartShown = 0.0;     // the pickers' instants as shown (report header)
    double EndShown = 0.0;
    double Produced = 0.0;       // UTC instant the report says it was produced
    bool UtcMode = true;
    double DisplayOffset = 0.0;  // days added to UTC instants in the report
    double MinElevation = 0.0;   // rad ("Sat >")
    double SunAltitude = 0.0;    // rad ("Sun <")
    int MinRevs = 13;            // "Revs >": lower mean-motion limit, revs a day
    int StepSeconds = 60;        // "Steps(Sec)": tabular row step
    int FaintestFlare = 0;       // "Irid Mag >"
    bool SunlitOnly = true;      // "In Sun Light"
    bool DayOrNight = false;     // "Day or Night"
    bool DayFlares = false;      // "Day Flares"
    double TransitRadius = 30.0; // "Radius", arc minutes
    double TrackWidth = 25.0;    // "Track", in the display unit
    double DistanceFactor = 1.0; // 1.0 km, 0.621371 miles
    ObserverRecord Observer{};
    TargetState Target{};        // transit object (BodyId, and RA/Dec for codes 12, 13)
    std::string TargetName;
    tlearray Satellites;         // copies: the qualifying working set, or the Iridium set
};

// What a search hands back to the window: the report lines in one piece and
// the passes in the order found.
struct PredictionResult {
    std::vector<std::string> Lines;
    PassList Passes;
    bool Found = false; // a pass, flare or track row was reported
};
