// The object transit search: for every satellite of the working set, its
// close approaches to the transit object (a planet, the Moon, the Sun, a
// fixed sky point or a star) as the observer sees them, in the windows in
// which the object stands above the minimum elevation.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/astronomy/body_events.h"
#include "engine/searches/prediction_inputs.h"
#include "engine/searches/search_frame.h"

// The report's title: the object's name + " Transit", and for a sky point or
// star its epoch (the span's start, UTC, in `epochPattern`) and coordinates.
void WriteTransitTitle(const PredictionInputs &inputs, const char *epochPattern,
                       std::vector<std::string> &lines);

// The windows of the span with the object above the minimum elevation, or
// the whole span with "Day or Night".
std::vector<WindowItem> TransitWindows(const PredictionInputs &inputs);

// The frame of the searches relative to the transit object: the title (an
// epoch in `epochPattern`), the report header, then `search` run for every
// satellite of inputs.Satellites over the TransitWindows (SearchSatellites).
using TransitSatelliteSearch = std::function<PredictionResult(
    TleRecord &record, ObserverRecord &observer, const std::vector<WindowItem> &windows)>;
PredictionResult SearchInTransitWindows(const PredictionInputs &inputs, const SearchControl &control,
                                        const char *epochPattern, const TransitSatelliteSearch &search);

// One satellite's transit table (nothing when it has no approach). `record`
// and `observer` are the caller's own copies, moved as the search goes.
PredictionResult SearchSatelliteTransits(TleRecord &record, ObserverRecord &observer, const PredictionInputs &inputs,
                                         const std::vector<WindowItem> &windows);

// The whole report: title, report header and the tables of every satellite
// of inputs.Satellites in order, searched in parallel (SearchSatellites).
// Stores no pass.
PredictionResult SearchObjectTransits(const PredictionInputs &inputs, const SearchControl &control = {});
