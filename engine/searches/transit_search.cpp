#include "engine/searches/transit_search.h"

#include "engine/astronomy/constants.h"
#include "engine/reports/report_output.h"
#include "engine/reports/text_format.h"
#include "engine/reports/transit_report.h"
#include "engine/searches/search_results.h"

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

std::vector<WindowItem> TransitWindows(const PredictionInputs &inputs, ObserverRecord observer)
{
    TargetState target = inputs.Target;
    std::vector<WindowItem> windows;
    BuildBodyWindows(target, true, inputs.DayOrNight, inputs.Start, inputs.End, inputs.MinElevation, windows,
                     observer);
    return windows;
}

PredictionResult SearchSatelliteTransits(TleRecord record, const PredictionInputs &inputs,
                                         const std::vector<WindowItem> &windows, ObserverRecord observer)
{
    PredictionResult result;
    TargetState target = inputs.Target;
    WriteTransitTable(record, target, windows, inputs.MinElevation, inputs.TransitRadius / 60.0,
                      inputs.DayOrNight, inputs.UtcMode, result.Lines, observer);
    result.Found = !result.Lines.empty();
    return result;
}

PredictionResult SearchObjectTransits(const PredictionInputs &inputs)
{
    PredictionResult result;
    WriteTransitTitle(inputs, "MMM dd yyyy HH:nn:ss", result.Lines);
    WriteReportHeader(inputs.UtcMode, result.Lines, inputs.StartShown, inputs.EndShown, inputs.Observer);
    const std::vector<WindowItem> windows = TransitWindows(inputs, inputs.Observer);
    for (const TleRecord &record : inputs.Satellites)
        AppendResult(result, SearchSatelliteTransits(record, inputs, windows, inputs.Observer));
    return result;
}
