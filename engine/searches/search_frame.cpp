#include "engine/searches/search_frame.h"

#include <algorithm>
#include <exception>
#include <mutex>
#include <thread>

#include "engine/astronomy/bodies.h"
#include "engine/reports/transit_report.h"

namespace {

constexpr double MaxSearchRevs = 20.0;

// Where a satellite's output goes: its slot in the working-set order.
struct SatelliteSlots {
    std::vector<PredictionResult> outputs;
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    std::mutex failureMutex;
    std::size_t failedAt = 0;
    std::exception_ptr failure;

    void Fail(std::size_t index, std::exception_ptr error)
    {
        std::lock_guard lock(failureMutex);
        // The first satellite in list order that failed is the one reported,
        // whatever thread got there first.
        if (!failure || index < failedAt) {
            failure = std::move(error);
            failedAt = index;
        }
        failed = true;
    }
};

void SearchFromSlots(const PredictionInputs &inputs, const SearchControl &control,
                     const SatelliteSearch &search, SatelliteSlots &slots)
{
    // Each thread starts its Delta T cache at the span's start, so the Sun a
    // search sees does not depend on which satellites this thread searched
    // before: the output is the same on one thread as on many.
    Vec4 unused;
    CalcBodyGeocentric(BodySun, unused, inputs.Start);
    ObserverRecord observer = inputs.Observer;
    for (;;) {
        if (control.Cancelled() || slots.failed)
            return;
        const std::size_t index = slots.next.fetch_add(1);
        if (index >= inputs.Satellites.size())
            return;
        TleRecord record = inputs.Satellites[index];
        try {
            slots.outputs[index] = search(record, observer);
        } catch (...) {
            slots.Fail(index, std::current_exception());
            return;
        }
    }
}

} // namespace

bool IsPassSearchCandidate(const TleRecord &record, int minRevs)
{
    return record.Selected == 1 && record.MeanMotion > minRevs && record.MeanMotion < MaxSearchRevs;
}

std::string NothingSearchedLine(const tlearray &records, int minRevs)
{
    std::size_t checked = 0, slow = 0;
    for (const TleRecord &record : records) {
        if (IsPassSearchCandidate(record, minRevs))
            return {};
        if (record.Selected == 1) {
            ++checked;
            if (record.MeanMotion <= minRevs)
                ++slow;
        }
    }
    std::string why;
    if (checked == 0)
        why = "none is checked";
    if (slow > 0)
        why = std::to_string(slow) + " left out by \"Revs >\" " + std::to_string(minRevs);
    if (checked > slow)
        why += (why.empty() ? "" : ", ") + std::to_string(checked - slow) + (slow > 0 ? "" : " left out") +
               " at " + std::to_string(static_cast<int>(MaxSearchRevs)) + " revs a day or more";
    return "  No satellite searched: " + why + ".";
}

PredictionResult SearchSatellites(const PredictionInputs &inputs, const SearchControl &control,
                                  const SatelliteSearch &search)
{
    SatelliteSlots slots;
    slots.outputs.resize(inputs.Satellites.size());
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t wanted = control.Threads == 0 ? cores : control.Threads;
    const std::size_t count = std::max<std::size_t>(1, std::min(wanted, inputs.Satellites.size()));

    // Even one thread is a fresh one: it starts with the same caches as each
    // of many would.
    std::vector<std::thread> threads;
    threads.reserve(count);
    try {
        for (std::size_t i = 0; i < count; ++i)
            threads.emplace_back([&] { SearchFromSlots(inputs, control, search, slots); });
    } catch (const std::system_error &) {
        // Fewer threads than wanted: those running take every satellite.
        if (threads.empty())
            throw;
    }
    for (std::thread &thread : threads)
        thread.join();
    if (slots.failure)
        std::rethrow_exception(slots.failure);

    PredictionResult merged;
    for (PredictionResult &output : slots.outputs)
        AppendResult(merged, std::move(output));
    return merged;
}

void AppendResult(PredictionResult &whole, PredictionResult &&part)
{
    whole.Lines.insert(whole.Lines.end(), std::make_move_iterator(part.Lines.begin()),
                       std::make_move_iterator(part.Lines.end()));
    whole.Passes.insert(whole.Passes.end(), std::make_move_iterator(part.Passes.begin()),
                        std::make_move_iterator(part.Passes.end()));
    whole.Found = whole.Found || part.Found;
}

void EndEmptyReport(const PredictionInputs &inputs, PredictionResult &result, const char *nothing)
{
    if (!result.Found && !inputs.Satellites.empty())
        result.Lines.emplace_back(nothing);
}

void WritePredictionHeader(const PredictionInputs &inputs, std::vector<std::string> &lines)
{
    WriteReportHeader(inputs.UtcMode, lines, inputs.StartShown, inputs.EndShown, inputs.Observer,
                      inputs.Produced);
}

std::vector<WindowItem> SunWindows(const PredictionInputs &inputs, bool above, bool below)
{
    std::vector<WindowItem> windows;
    TargetState sun;
    sun.BodyId = BodySun;
    ObserverRecord observer = inputs.Observer;
    BuildBodyWindows(sun, above, below, inputs.Start, inputs.End, inputs.SunAltitude, windows, observer);
    return windows;
}

PassRecord MakePassRecord(std::shared_ptr<const TleRecord> satellite)
{
    PassRecord pass;
    pass.Title.assignCut(satellite->Name.str() + " - " + satellite->Number.str());
    pass.Satellite = std::move(satellite);
    return pass;
}
