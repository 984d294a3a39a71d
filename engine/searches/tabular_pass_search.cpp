#include "engine/searches/tabular_pass_search.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "engine/astronomy/constants.h"
#include "engine/astronomy/vectors.h"
#include "engine/text/text_fields.h"
#include "engine/text/text_format.h"
#include "engine/reports/transit_report.h"
#include "engine/satellites/satellite_driver.h"
#include "engine/searches/pass_steps.h"

namespace {

constexpr long long Second = 1000; // ms
// What the highest row of a pass starts from.
constexpr double LowestElevation = -HalfPi;

double Instant(long long ms) { return MillisecondsToInstant(ms); }

struct TabularPassSearch : PassWalk {
    using PassWalk::PassWalk;

    long long windowEnd = 0; // ms
    SunAlong sun;
    // The pass being written.
    PassRecord current;
    std::optional<double> brightest;  // of the sunlit rows
    double highest = LowestElevation; // degrees once a row is written

    long long Step() const { return static_cast<long long>(inputs.StepSeconds) * Second; }

    void WriteHeaderOnce()
    {
        if (!headerWritten)
            WriteSatelliteHeader(record, out.Lines, observer, inputs.DistanceFactor);
        headerWritten = true;
    }

    // Moves the satellite to t; its elevation, or the minimum when it cannot
    // be propagated there (which ends a pass).
    double ElevationAt(long long t)
    {
        return MoveSatellite(record, state, observer, Instant(t)) ? CalcTargetElevation(state, observer)
                                                                  : inputs.MinElevation;
    }

    bool SunlitNow(long long t) { return IsSunlit(state.Position, sun.At(t)); }

    void WritePassBlockHeader(long long t)
    {
        const double epoch = record.Elements.epoch - JulianDateOfDayZero;
        const double revolution = std::trunc((Instant(t) - epoch) * record.MeanMotion + record.Elements.rev_num);
        out.Lines.emplace_back("  ");
        out.Lines.push_back(FormatReport("  Rev# : %0:.0f        ", {revolution}));
        out.Lines.push_back(TrimRight(FormatReport("%0:-16s %1:8s %2:5s %3:6s",
                                                   {"  MM/DD Time", "Alt  Az", "Mag",
                                                    inputs.SunlitOnly ? " " : "Slt"})));
    }

    void WriteTabularRow(long long t, bool sunlit)
    {
        state.Mode = ModeRaDecHorizon;
        MoveSatellite(record, state, observer, Instant(t));
        const double elevation = RadToDeg(std::max(state.Elevation, inputs.MinElevation));
        const std::optional<double> magnitude = PassMagnitude(record, state, observer, sun.At(t));
        state.Lit = magnitude ? 1 : 0;
        if (magnitude && (!brightest || *magnitude < *brightest))
            brightest = magnitude;
        highest = std::max(highest, elevation);
        const char *sunlitText = inputs.SunlitOnly ? "" : sunlit ? "Y" : "N";
        out.Lines.push_back(TrimRight(FormatReport(
            "%0:16s %1:3.0f %2:4.0f %3:5s %4:5s",
            {FormatInstant("mm/dd HH:nn:ss", Instant(t) + inputs.DisplayOffset), elevation,
             RadToDeg(state.Azimuth), FormatMagnitude(magnitude), sunlitText})));
        state.Mode = ModeNothing;
    }

    // A pass (or a sunlit stretch of one) begins: its record, no row yet.
    void BeginPass()
    {
        brightest.reset();
        highest = LowestElevation;
        current = satellite.MakePassRecord(record);
    }

    // The last row of a pass at `last`, the pass stored; the instant after it.
    long long EndPass(long long passStart, long long last, bool sunlit)
    {
        headerWritten = true;
        WriteTabularRow(last, sunlit);
        current.StartTime = Instant(passStart);
        current.EndTime = Instant(last);
        current.Magnitude = brightest;
        current.Elevation = highest;
        out.Passes.push_back(std::move(current));
        out.Found = true;
        return last + Second;
    }

    // A whole pass from its rise at t, the satellite propagated there; the
    // instant after its last row.
    long long WritePassRows(long long t)
    {
        state.Mode = ModeNothing;
        WriteHeaderOnce();
        MoveSatellite(record, state, observer, Instant(t));
        bool sunlit = SunlitNow(t);
        WritePassBlockHeader(t);
        const long long passStart = t;
        for (;;) {
            WriteTabularRow(t, sunlit);
            t += Step();
            const double elevation = ElevationAt(t);
            if (elevation > inputs.MinElevation)
                sunlit = SunlitNow(t);
            if (elevation <= inputs.MinElevation || t >= windowEnd) {
                // Back to the last second still at or above the minimum.
                do {
                    t -= Second;
                } while (ElevationAt(t) < inputs.MinElevation && t > passStart);
                return EndPass(passStart, t, SunlitNow(t));
            }
        }
    }

    // Every sunlit stretch of the pass from its rise to its set (ms), as the
    // line report lists them, as a block of its own: rows every step from
    // its first sunlit second, the last row at its last one (the last second
    // up, at the set). Nothing for a pass never sunlit.
    void WriteSunlitPassRows(long long rise, long long set)
    {
        for (const SunlightStretch &stretch : FindSunlightStretches(record, state, observer, sun, rise, set)) {
            if (!stretch.lit || stretch.last - stretch.first <= Second)
                continue;
            BeginPass();
            WriteHeaderOnce();
            WritePassBlockHeader(stretch.first);
            long long last = stretch.last;
            while (last > stretch.first && ElevationAt(last) < inputs.MinElevation)
                last -= Second;
            for (long long t = stretch.first; t < last; t += Step())
                WriteTabularRow(t, true);
            EndPass(stretch.first, last, true);
        }
    }

    // The passes of one window; false when the search was cancelled.
    bool SearchWindow(const WindowItem &window)
    {
        windowEnd = InstantToMilliseconds(window.EndTime);
        double t = window.StartTime;
        while (t < window.EndTime) {
            if (control.Cancelled())
                return false;
            t = FindRiseSecond(record, state, inputs.MinElevation, t, window.EndTime, observer);
            if (record.Decayed || t >= window.EndTime)
                break;
            const long long rise = InstantToMilliseconds(t);
            // On from the pass's set, which no rise can precede: a pass of
            // any length is neither found again nor stepped over.
            if (inputs.SunlitOnly) {
                const long long set = InstantToMilliseconds(
                    FindSetSecond(record, state, inputs.MinElevation, t, window.EndTime, observer));
                WriteSunlitPassRows(rise, set);
                t = Instant(std::max(set, rise + Second));
            } else {
                BeginPass();
                const long long stopped = WritePassRows(rise);
                t = FindSetSecond(record, state, inputs.MinElevation, Instant(std::max(stopped, rise + Second)),
                                  window.EndTime, observer);
            }
        }
        return true;
    }
};

} // namespace

PredictionResult SearchTabularPasses(const PredictionInputs &inputs, const SearchControl &control)
{
    return SearchPassesInSunWindows<TabularPassSearch>(inputs, control);
}
