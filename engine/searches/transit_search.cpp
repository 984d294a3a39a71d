#include "engine/searches/transit_search.h"

#include "engine/astronomy/constants.h"
#include "engine/text/text_fields.h"
#include "engine/text/text_format.h"
#include "engine/reports/transit_report.h"

void WriteTransitTitle(const PredictionInputs &inputs, const char *epochPattern,
                       std::vector<std::string> &lines)
{
    lines.push_back("  " + inputs.TargetName + " Transit");
    if (inputs.Target.BodyId == BodySkyPoint || inputs.Target.BodyId == BodyStar) {
        lines.push_back("  Epoch Date: " + FormatInstant(epochPattern, inputs.Start));
        lines.push_back("  RA: " + FormatAngleHMS(true, 0, inputs.Target.RaDec.first) +
                        "   DEC: " + FormatAngleDMS(true, 0, inputs.Target.RaDec.second));
    }
}

std::vector<WindowItem> TransitWindows(const PredictionInputs &inputs)
{
    TargetState target = inputs.Target;
    ObserverRecord observer = inputs.Observer;
    std::vector<WindowItem> windows;
    BuildBodyWindows(target, true, inputs.DayOrNight, inputs.Start, inputs.End, inputs.MinElevation, windows,
                     observer);
    return windows;
}

PredictionResult SearchSatelliteTransits(TleRecord &record, ObserverRecord &observer, const PredictionInputs &inputs,
                                         const std::vector<WindowItem> &windows)
{
    PredictionResult result;
    TargetState target = inputs.Target;
    WriteTransitTable(record, target, windows, inputs.MinElevation, inputs.TransitRadius / 60.0,
                      inputs.DayOrNight, inputs.UtcMode, inputs.DistanceFactor, result.Lines, observer);
    result.Found = !result.Lines.empty();
    return result;
}

PredictionResult SearchInTransitWindows(const PredictionInputs &inputs, const SearchControl &control,
                                        const char *epochPattern, const TransitSatelliteSearch &search)
{
    PredictionResult result;
    WriteTransitTitle(inputs, epochPattern, result.Lines);
    WritePredictionHeader(inputs, result.Lines);
    const std::vector<WindowItem> windows = TransitWindows(inputs);
    AppendResult(result, SearchSatellites(inputs, control, [&](TleRecord &record, ObserverRecord &observer) {
                     return search(record, observer, windows);
                 }));
    return result;
}

PredictionResult SearchObjectTransits(const PredictionInputs &inputs, const SearchControl &control)
{
    return SearchInTransitWindows(
        inputs, control, "MMM dd yyyy HH:nn:ss",
        [&](TleRecord &record, ObserverRecord &observer, const std::vector<WindowItem> &windows) {
            return SearchSatelliteTransits(record, observer, inputs, windows);
        });
}
