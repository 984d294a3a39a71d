#include "engine/searches/line_pass_search.h"

#include <algorithm>
#include <cstdlib>

#include "engine/astronomy/constants.h"
#include "engine/astronomy/vectors.h"
#include "engine/text/text_fields.h"
#include "engine/text/text_format.h"
#include "engine/reports/transit_report.h"
#include "engine/satellites/satellite_driver.h"
#include "engine/searches/pass_steps.h"

namespace {

constexpr long long Second = 1000; // ms
constexpr long long Day = 86400 * Second;
double Instant(long long ms) { return MillisecondsToInstant(ms); }

struct LinePassSearch : PassWalk {
    using PassWalk::PassWalk;

    long long previousRise = 0; // ms; 0 before the satellite's first pass
    SunAlong sun;

    void WriteHeader()
    {
        WriteSatelliteHeader(record, out.Lines, observer, inputs.DistanceFactor);
        out.Lines.emplace_back("  ");
        if (inputs.SunlitOnly)
            out.Lines.push_back(TrimRight(FormatReport(
                "%0:-16s %1:7s %2:-9s %1:7s %3:5s %4:-9s %1:7s %5:9s ",
                {"  MM/DD AOS", "Alt Az", " Max", "Mag", " LOS", "TT(Sec)"})));
        else
            out.Lines.push_back(TrimRight(FormatReport(
                "%0:-16s %1:7s %2:-9s %1:7s %3:5s %4:-9s %1:7s %5:9s %6:14s",
                {"  MM/DD AOS", "Alt Az", " Max", "Mag", " LOS", "TT(Sec)", "Enter Shd/Slt"})));
        headerWritten = true;
    }

    std::string TimeOfDay(long long t) const
    {
        return FormatInstant("HH:nn:ss", Instant(t) + inputs.DisplayOffset);
    }

    int DayOfMonth(long long t) const { return SplitInstant(Instant(t) + inputs.DisplayOffset).day; }

    // The pass from aos to los (ms) as one line and one record, its "Max" at
    // the culmination.
    void Report(long long aos, long long los, const std::string &sunlight)
    {
        state.Mode = ModeRaDecHorizon;
        MoveSatellite(record, state, observer, Instant(aos));
        const double aosElevation = RadToDeg(state.Elevation), aosAzimuth = RadToDeg(state.Azimuth);
        MoveSatellite(record, state, observer, Instant(los));
        const double losElevation = RadToDeg(std::max(state.Elevation, inputs.MinElevation));
        const double losAzimuth = RadToDeg(state.Azimuth);
        state.Mode = ModeNothing;
        const long long max = FindCulmination(record, state, observer, aos, los);
        state.Mode = ModeRaDecHorizon;
        MoveSatellite(record, state, observer, Instant(max));
        const double maxElevation = RadToDeg(state.Elevation), maxAzimuth = RadToDeg(state.Azimuth);
        const std::optional<double> magnitude = PassMagnitude(record, state, observer, sun.At(max));

        if (!headerWritten)
            WriteHeader();
        PassRecord pass = satellite.MakePassRecord(record);
        pass.Magnitude = magnitude;
        pass.Elevation = maxElevation;
        pass.StartTime = Instant(aos);
        pass.EndTime = Instant(los);
        out.Passes.push_back(std::move(pass));
        out.Found = true;

        // A pass of a day or more gives its later times with their dates.
        const long long duration = std::llabs(los - aos);
        auto later = [&](long long t) {
            return duration >= Day ? FormatInstant("mm/dd HH:nn:ss", Instant(t) + inputs.DisplayOffset)
                                   : TimeOfDay(t);
        };
        if (previousRise != 0 && DayOfMonth(aos) != DayOfMonth(previousRise))
            out.Lines.emplace_back(" ");
        out.Lines.push_back(TrimRight(FormatReport(
            "%0:16s %1:3.0f %2:3.0f %3:9s %4:3.0f %5:3.0f %6:5s %7:9s %8:3.0f %9:3.0f %10:9s %11:14s",
            {FormatInstant("mm/dd HH:nn:ss", Instant(aos) + inputs.DisplayOffset), aosElevation,
             aosAzimuth, later(max), maxElevation, maxAzimuth, FormatMagnitude(magnitude), later(los),
             losElevation, losAzimuth, FormatSecondsHMS(0, static_cast<double>(duration) / Second),
             sunlight})));
        state.Mode = ModeNothing;
        previousRise = aos;
    }

    // The passes of one window; false when the search was cancelled.
    bool SearchWindow(const WindowItem &window)
    {
        const double windowEnd = window.EndTime;
        double from = window.StartTime;
        while (from < windowEnd) {
            if (control.Cancelled())
                return false;
            const double rise = FindRiseSecond(record, state, inputs.MinElevation, from, windowEnd, observer);
            if (rise >= windowEnd)
                break;
            const double set = FindSetSecond(record, state, inputs.MinElevation, rise, windowEnd, observer);
            const long long riseMs = InstantToMilliseconds(rise), setMs = InstantToMilliseconds(set);

            const std::vector<SunlightStretch> stretches =
                FindSunlightStretches(record, state, observer, sun, riseMs, setMs);
            std::string changes;
            for (std::size_t i = 0; i < stretches.size(); ++i) {
                const SunlightStretch &stretch = stretches[i];
                if (inputs.SunlitOnly) {
                    if (stretch.lit && stretch.last - stretch.first > Second)
                        Report(stretch.first, stretch.last, {});
                } else if (i + 1 < stretches.size()) {
                    // A change is shown at the last sunlit second before the
                    // shadow, the first one after it.
                    changes += (changes.empty() ? "" : " ")
                               + (stretch.lit ? "Shd " + TimeOfDay(stretch.last)
                                              : "Slt " + TimeOfDay(stretches[i + 1].first));
                }
            }
            if (!inputs.SunlitOnly && setMs - riseMs > Second)
                Report(riseMs, setMs, changes.empty() ? (stretches.front().lit ? "SunLite" : "Shadow") : changes);
            // On from the set, which no rise can precede: a pass of any
            // length is neither found again nor stepped over.
            from = Instant(std::max(setMs, riseMs + Second));
        }
        return true;
    }
};

} // namespace

PredictionResult SearchLinePasses(const PredictionInputs &inputs, const SearchControl &control)
{
    return SearchPassesInSunWindows<LinePassSearch>(inputs, control);
}
