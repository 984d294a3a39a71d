#include "ui/satellite_info/satellite_info_lines.h"

#include "engine/astronomy/constants.h"
#include "engine/files/data_files.h"
#include "engine/text/text_format.h"
#include "ui/widgets/number_text.h"

#include <numbers>

namespace {

double Degrees(double radians) { return radians * 180.0 / std::numbers::pi; }

} // namespace

std::vector<std::string> SatelliteInfoLines(const TleRecord *record, double utcOffset, bool metric,
                                            double distanceFactor)
{
    if (!record)
        return {"  Name:    None"};
    const element_set &e = record->Elements;
    const double epoch = e.epoch - JulianDateOfDayZero;
    const std::string unit = metric ? "km" : "mi.";
    const auto epochText = [](double instant) { return FormatInstant("MMM DD yyyy HH:nn:ss", instant); };
    return {
        "  Name:    " + std::string(TrimText(record->Name.str())),
        "  Number:  " + record->Number.str(),
        " ",
        "  Epoch Date:     \t" + epochText(epoch) + "(Z)",
        "  Epoch Date:     \t" + epochText(epoch + utcOffset) + "(L)",
        "  Rev Time:        \t" + FixedDigits(record->Period, 4, 2) + "  Min",
        "  Revs per day:    \t" + FixedDigits(record->MeanMotion, 4, 2) + "  Rev",
        "  Revs at Epoch:   \t" + FixedDigits(e.rev_num, 6, 0) + "  Revs",
        "  Inclination:     \t" + FixedDigits(Degrees(e.inclination), 6, 5) + "  Degrees",
        "  Eccentricity:    \t" + FixedDigits(e.eccentricity, 6, 7),
        "  Arg of Perige:   \t" + FixedDigits(Degrees(e.arg_perigee), 6, 3) + "  Degrees",
        "  Mean Anomaly:    \t" + FixedDigits(Degrees(e.mean_anomaly), 6, 3) + "  Degrees",
        "  RA of Asc Node:  \t" + FixedDigits(Degrees(e.raan), 6, 3) + "  Degrees",
        "  Apoge:           \t" + FixedDigits(record->ApogeeHeight * distanceFactor, 5, 1) + " " + unit,
        "  Perige:          \t" + FixedDigits(record->PerigeeHeight * distanceFactor, 5, 1) + " " + unit,
    };
}
