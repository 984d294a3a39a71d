// The prediction window's line search: one report line and one PassRecord
// for every pass of every satellite inside the dark windows of the span
// (the whole span with "Day or Night"), or with "In Sun Light" for every
// sunlit stretch of a pass, with its rise, culmination and set, its sunlight
// and its magnitude at the culmination.
#pragma once

#include "engine/searches/prediction_inputs.h"
#include "engine/searches/search_frame.h"

// Searches inputs.Satellites (the qualifying records of the working set, in
// order) and returns the report, header included, and the passes in the
// order found. With "In Sun Light" each sunlit stretch of a pass, from its
// first to its last sunlit second, is reported as a pass of its own;
// otherwise a pass is reported whole, with every instant it enters or leaves
// the Earth's shadow.
PredictionResult SearchLinePasses(const PredictionInputs &inputs, const SearchControl &control = {});
