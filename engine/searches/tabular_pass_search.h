// The prediction window's tabular search: the passes the line search finds,
// each written as a block of rows every "Steps(Sec)" seconds from its rise to
// its set, or with "In Sun Light" each sunlit stretch of a pass, as the line
// report lists them, from its first to its last sunlit second; every block
// with its revolution number, and stored as a PassRecord with its brightest
// row's magnitude and its highest row's elevation.
#pragma once

#include "engine/searches/prediction_inputs.h"
#include "engine/searches/search_frame.h"

// Searches inputs.Satellites in order and returns the report, header
// included, and the passes in the order found.
PredictionResult SearchTabularPasses(const PredictionInputs &inputs, const SearchControl &control = {});
