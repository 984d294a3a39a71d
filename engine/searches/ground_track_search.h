// The ground track search: for every pass of every satellite of the working
// set, the point on the ground from which the satellite stands exactly in
// front of the transit object, followed second by second while it lies
// within the track width of the observer. The rows are plain text in fixed
// columns, which the KML export reads back.
#pragma once

#include <vector>

#include "engine/astronomy/body_events.h"
#include "engine/searches/prediction_inputs.h"

// One satellite's tracks: its satellite header before its first track, then
// per track "  ", the column header, one row a second and "  End of track".
// Nothing for a satellite whose point never comes within the width.
PredictionResult SearchSatelliteGroundTracks(TleRecord record, const PredictionInputs &inputs,
                                             const std::vector<WindowItem> &windows, ObserverRecord observer);

// The whole report: title, report header and the tracks of every satellite
// of inputs.Satellites in order. Found when a row was written.
PredictionResult SearchGroundTracks(const PredictionInputs &inputs);
