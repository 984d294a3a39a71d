// The frame every search of the prediction window runs in: one snapshot of
// inputs (PredictionInputs), satellites searched in parallel, results merged
// in the order of the working set.
//
// A search is a plain function
//     PredictionResult Search(const PredictionInputs &inputs, const SearchControl &control);
// that writes its report header, then hands its per-satellite work to
// SearchSatellites and appends what comes back. The per-satellite work sees
// only its own copy of the record, its thread's copy of the observer and the
// read-only snapshot, so the satellites can run on all cores and the merged
// output is the same on one thread as on many.
//
// Example (a search that lists the passes of each satellite):
//     PredictionResult SearchSomething(const PredictionInputs &inputs, const SearchControl &control)
//     {
//         PredictionResult result;
//         WritePredictionHeader(inputs, result.Lines);
//         const std::vector<WindowItem> windows = SunWindows(inputs, inputs.DayOrNight, true);
//         AppendResult(result, SearchSatellites(inputs, control,
//             [&](TleRecord &record, ObserverRecord &observer) {
//                 PredictionResult own;
//                 ... search record over windows; test control.Cancelled() between passes ...
//                 return own;
//             }));
//         return result;
//     }
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/astronomy/body_events.h"
#include "engine/reports/transit_report.h"
#include "engine/searches/prediction_inputs.h"

// How a search runs: the flag that stops it and the threads it may use.
struct SearchControl {
    // When set (by another thread), the search stops at the next satellite or
    // pass and returns what it has; the caller then drops that result.
    const std::atomic<bool> *Cancel = nullptr;
    // Threads for the satellites: 0 for one per core.
    unsigned Threads = 0;

    bool Cancelled() const { return Cancel && Cancel->load(std::memory_order_relaxed); }
};

// Whether a record of the working set is searched by the pass, transit and
// ground-track searches: selected, and more than `minRevs` but fewer than 20
// revolutions a day (both bounds exclusive).
bool IsPassSearchCandidate(const TleRecord &record, int minRevs);

// Why a search over `records` would search no satellite, as the last line of
// its report: none is checked, or how many checked ones the mean-motion
// bounds leave out. Empty when one of them is searched.
std::string NothingSearchedLine(const tlearray &records, int minRevs);

// The search of one satellite: `record` is this satellite's own copy (its
// propagator work area changes as it is propagated), `observer` the calling
// thread's own copy of the snapshot's observer (its inertial position moves
// with every instant tried). Runs on any of the frame's threads; it may read
// the snapshot and anything else the caller keeps unchanged meanwhile.
using SatelliteSearch = std::function<PredictionResult(TleRecord &record, ObserverRecord &observer)>;

// Runs `search` once for every record of inputs.Satellites, on
// control.Threads threads (each takes the next satellite not yet taken), and
// returns the outputs concatenated in the order of inputs.Satellites: lines,
// then passes, Found when any satellite found something. The result does not
// depend on the number of threads. An exception thrown by a search stops the
// others at their next satellite and is thrown again here once every thread
// has ended. When control is cancelled the result is incomplete.
PredictionResult SearchSatellites(const PredictionInputs &inputs, const SearchControl &control,
                                  const SatelliteSearch &search);

// Appends `part`'s lines and passes to `whole`.
void AppendResult(PredictionResult &whole, PredictionResult &&part);

// Ends the report of a search that looked at satellites and found nothing
// with the line `nothing` (NoPassesLine, NoFlaresLine of transit_report.h).
// A search that had no satellite to look at is left alone: its caller says
// why.
void EndEmptyReport(const PredictionInputs &inputs, PredictionResult &result, const char *nothing);

// The report's opening lines: when it was produced, the observer, the span
// as shown in the window, and whether times are UTC or local.
void WritePredictionHeader(const PredictionInputs &inputs, std::vector<std::string> &lines);

// The windows of the span in which the Sun stands above the "Sun <" altitude
// (with `above`) or below it (with `below`); with both, the whole span as one
// window.
std::vector<WindowItem> SunWindows(const PredictionInputs &inputs, bool above, bool below);

// The pass record of a result of `satellite`, titled with its name and
// number; the caller fills the rest.
PassRecord MakePassRecord(std::shared_ptr<const TleRecord> satellite);

// The record a satellite's passes refer to: a copy of the search's record,
// taken at its first pass and shared by the rest.
class SharedSatellite {
public:
    PassRecord MakePassRecord(const TleRecord &record)
    {
        if (!shared_)
            shared_ = std::make_shared<const TleRecord>(record);
        return ::MakePassRecord(shared_);
    }

private:
    std::shared_ptr<const TleRecord> shared_;
};

// What a per-satellite pass walk works on: the snapshot, the cancel flag,
// this satellite's own record and observer copies, what it has found, and
// the satellite's state as it is moved.
struct PassWalk {
    PassWalk(const PredictionInputs &inputs, const SearchControl &control, TleRecord &record,
             ObserverRecord &observer)
        : inputs(inputs), control(control), record(record), observer(observer)
    {
    }

    const PredictionInputs &inputs;
    const SearchControl &control;
    TleRecord &record;
    ObserverRecord &observer;
    PredictionResult out;
    TargetState state;
    bool headerWritten = false;
    SharedSatellite satellite;
};

// A pass search over the span's windows with the Sun below the "Sun <"
// altitude (the whole span with "Day or Night"): the report header, then per
// satellite a `Walk` (a PassWalk) that searches each window in turn (its
// SearchWindow returns false once the search is cancelled) and hands back
// its `out`; "No passes found." when none of them found one.
template <class Walk>
PredictionResult SearchPassesInSunWindows(const PredictionInputs &inputs, const SearchControl &control)
{
    PredictionResult result;
    WritePredictionHeader(inputs, result.Lines);
    const std::vector<WindowItem> windows = SunWindows(inputs, inputs.DayOrNight, true);
    AppendResult(result, SearchSatellites(inputs, control, [&](TleRecord &record, ObserverRecord &observer) {
        Walk search(inputs, control, record, observer);
        for (const WindowItem &window : windows)
            if (!search.SearchWindow(window))
                break;
        return std::move(search.out);
    }));
    EndEmptyReport(inputs, result, NoPassesLine);
    return result;
}
