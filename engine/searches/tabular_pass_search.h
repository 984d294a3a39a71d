// The prediction window's tabular search: the passes the line search finds,
// each written as a block of rows every "Steps(Sec)" seconds from its rise
// (or its first sunlit second) to its set (or its last sunlit second), with
// its revolution number, and each stored as a PassRecord with its brightest
// row's magnitude and its highest row's elevation.
#pragma once

#include "engine/searches/prediction_inputs.h"
#include "engine/searches/search_frame.h"

// Searches inputs.Satellites in order and returns the report, header
// included, and the passes in the order found.
PredictionResult SearchTabularPasses(const PredictionInputs &inputs, const SearchControl &control = {});
