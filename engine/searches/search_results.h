// Pieces the prediction searches share when they collect their results.
#pragma once

#include <string>
#include <utility>

#include "engine/searches/prediction_inputs.h"

// Appends one satellite's lines and passes to the whole search's result.
inline void AppendResult(PredictionResult &into, PredictionResult &&part)
{
    into.Lines.insert(into.Lines.end(), std::make_move_iterator(part.Lines.begin()),
                      std::make_move_iterator(part.Lines.end()));
    into.Passes.insert(into.Passes.end(), std::make_move_iterator(part.Passes.begin()),
                       std::make_move_iterator(part.Passes.end()));
    into.Found = into.Found || part.Found;
}

// A pass record of the satellite as it stands now, titled with its name and
// number.
inline PassRecord MakePassRecord(const TleRecord &record)
{
    PassRecord pass;
    pass.Title.assignCut(record.Name.str() + " - " + record.Number.str());
    pass.Satellite = record;
    return pass;
}
