#include "engine/searches/analysis_listings.h"

#include "engine/astronomy/bodies.h"
#include "engine/astronomy/body_events.h"
#include "engine/astronomy/constants.h"
#include "engine/astronomy/geodesy.h"
#include "engine/astronomy/vectors.h"
#include "engine/files/names_file.h"
#include "engine/reports/report_output.h"
#include "engine/text/text_fields.h"
#include "engine/text/text_format.h"
#include "engine/reports/transit_report.h"
#include "engine/satellites/satellite_driver.h"

namespace {

constexpr std::size_t NameTextLength = 24;
// The decay listing's bounds on mean motion (revs a day): every satellite the
// estimate can be made for, then only those low enough to decay soon.
constexpr double DecayLoadLower = 1.0;
constexpr double DecayLoadUpper = 20.0;
constexpr double DecayMeanMotion = 16.0;

const ElementList &ElementsOf(const AnalysisInputs &inputs)
{
    static const ElementList none;
    return inputs.Elements ? *inputs.Elements : none;
}

double StdMagnitudeOf(const AnalysisInputs &inputs, const std::string &number)
{
    return inputs.Names ? FindStdMagnitude(*inputs.Names, number) : UnknownStdMagnitude;
}

std::string Cut(std::string text, std::size_t length)
{
    if (text.size() > length)
        text.resize(length);
    return text;
}

std::string Trim(const std::string &text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool Inside(double value, double low, double high) { return value >= low && value <= high; }

// Ends a listing of an element file that gave no row after its first `head`
// lines with `nothing`, so it does not stop at its header as if cut short.
// Without element sets the window says so itself.
void EndEmptyListing(const AnalysisInputs &inputs, std::vector<std::string> &lines, std::size_t head,
                     const char *nothing)
{
    if (lines.size() == head && !ElementsOf(inputs).empty())
        lines.emplace_back(nothing);
}

} // namespace

std::vector<std::string> ListVisibleSatellites(const AnalysisInputs &inputs)
{
    std::vector<std::string> lines;
    ObserverRecord observer = inputs.Observer;
    const double t = inputs.Instant;
    WriteReportHeader(inputs.UtcMode, lines, inputs.InstantShown, inputs.InstantShown, observer);

    const double gmst = UpdateSiderealObserver(t, observer);
    TargetState sun;
    sun.BodyId = BodySun;
    sun.Mode = ModeAll;
    // The satellites are in the frame of date: sunlight and phase take the
    // Sun there too. Without an ephemeris the Sun stays at the centre and
    // every satellite reads as in shadow.
    Vec4 sunOfDate{};
    if (UpdateBody(sun, gmst, t, observer))
        PrecessVectorFromJ2000(sun.Position, sunOfDate, t + JulianDateOfDayZero);
    lines.push_back(FormatReport("  Sun: %0:5.1f degrees ", {RadToDeg(sun.Elevation)}));
    lines.emplace_back("  ");
    lines.emplace_back(
        "  Name                               Az    Alt    Mag     Range   Height  Sunlite");
    const std::size_t head = lines.size();

    for (const ElementRecord &element : ElementsOf(inputs)) {
        TleRecord record;
        if (!LoadSatFromElementRecord(record, element, false, inputs.MinRevs, inputs.MaxRevs))
            continue;
        TargetState state;
        state.Mode = ModeAll;
        // A set the library cannot propagate has no position to list, decayed
        // or not.
        if (!PropagateSatellite(record, state, gmst, t, observer))
            continue;
        const double azimuth = RadToDeg(state.Azimuth);
        const double elevation = RadToDeg(state.Elevation);
        if (!Inside(azimuth, inputs.MinAzimuth, inputs.MaxAzimuth) ||
            !Inside(elevation, inputs.MinElevation, inputs.MaxElevation))
            continue;
        const double range = state.RaDec.third;
        const std::optional<double> magnitude = CalcSunlitMagnitude(
            StdMagnitudeOf(inputs, record.Number.str()), range, observer.Eci, state.Position, sunOfDate);
        const std::string name = Cut(record.Number.str() + " - " + record.Name.str(), NameTextLength);
        lines.push_back(FormatReport(
            "  %0:-30s  %1:5.1f   %2:4.1f   %3:4s   %4:7.1f   %5:6.0f   %6:-5s",
            {name, azimuth, elevation, FormatMagnitude(magnitude), range * inputs.DistanceFactor,
             state.SubPoint.third * inputs.DistanceFactor, magnitude ? "Y" : "N"}));
    }
    EndEmptyListing(inputs, lines, head, "  No satellites visible inside the limits.");
    return lines;
}

std::vector<std::string> SearchAnalysisTransits(const AnalysisInputs &inputs)
{
    std::vector<std::string> lines;
    ObserverRecord observer = inputs.Observer;
    TargetState target = inputs.Target;
    const double t = inputs.Instant;
    lines.push_back("  " + inputs.TargetName + " Transit");
    if (target.BodyId > BodySun) {
        lines.push_back("  Epoch Date: " + FormatInstant("dd MMM yyyy HH:nn:ss", t));
        lines.push_back("  RA: " + FormatAngleHMS(true, 0, target.RaDec.first) +
                        "   DEC: " + FormatAngleDMS(true, 0, target.RaDec.second));
    }
    const long long spanMs = static_cast<long long>(inputs.SpanMinutes) * 60'000;
    const double end = MillisecondsToInstant(InstantToMilliseconds(t) + spanMs);
    const double stopShown = MillisecondsToInstant(InstantToMilliseconds(inputs.InstantShown) + spanMs);
    WriteReportHeader(inputs.UtcMode, lines, inputs.InstantShown, stopShown, observer);

    const double radius = inputs.RadiusArcMinutes / 60.0;
    const double minAltitude = DegToRad(inputs.MinTargetAltitude);
    std::vector<WindowItem> windows;
    BuildBodyWindows(target, true, inputs.DayOrNight, t, end, minAltitude, windows, observer);
    const std::size_t head = lines.size();

    for (const ElementRecord &element : ElementsOf(inputs)) {
        TleRecord record;
        if (!LoadSatFromElementRecord(record, element, true, inputs.MinRevs, inputs.MaxRevs))
            continue;
        WriteTransitTable(record, target, windows, minAltitude, radius, inputs.DayOrNight,
                          inputs.UtcMode, inputs.DistanceFactor, lines, observer);
    }
    EndEmptyListing(inputs, lines, head, NoTransitsLine);
    return lines;
}

std::vector<std::string> ListDecayedSatellites(const AnalysisInputs &inputs)
{
    std::vector<std::string> lines;
    const double julianDate = inputs.Instant + JulianDateOfDayZero;
    const double offset = inputs.UtcMode ? 0.0 : inputs.Observer.UtcOffset;
    WriteReportHeader(inputs.UtcMode, lines, inputs.InstantShown, inputs.InstantShown,
                      inputs.Observer);
    lines.emplace_back(
        "  Name                             Apogee  Perige   Epoch Date            Date of Decay");
    const std::size_t head = lines.size();

    for (const ElementRecord &element : ElementsOf(inputs)) {
        TleRecord record;
        if (!LoadSatFromElementRecord(record, element, true, DecayLoadLower, DecayLoadUpper))
            continue;
        const double epoch = record.Elements.epoch;
        if (record.MeanMotion <= DecayMeanMotion || julianDate <= epoch)
            continue;
        const double days = EstimateDecayDays(record.Elements.ndot2, record.MeanMotion);
        if (days <= 0.0)
            continue;
        const double decay = epoch + days;
        if (julianDate > decay)
            continue;
        // Dates are shown from day counts, as every instant of the program.
        const double epochInstant = epoch - JulianDateOfDayZero;
        const double decayInstant = decay - JulianDateOfDayZero;
        const std::string name =
            Trim(Cut(record.Number.str() + "-" + record.Name.str(), NameTextLength));
        lines.push_back(FormatReport(
            "  %0:-30s    %1:5.0f   %2:5.0f   %3:16s   %4:16s",
            {name, record.ApogeeHeight * inputs.DistanceFactor,
             record.PerigeeHeight * inputs.DistanceFactor,
             FormatInstant("dd/mm/yyyy HH:nn:ss", epochInstant + offset),
             FormatInstant("dd/mm/yyyy HH:nn:ss", decayInstant + offset)}));
    }
    EndEmptyListing(inputs, lines, head, "  No decaying satellites found.");
    return lines;
}
