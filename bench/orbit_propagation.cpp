// Cost of one propagation call over mixes of real element sets. Each
// satellite is stepped forward one minute per call, as the clock and the
// pass searches do; the "Scattered" variants jump 97 minutes instead, so the
// deep-space periodics are re-evaluated on every call.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "satellite.h"
#include "tests/satellite/reference_element_sets.h"

namespace {

using namespace reference_sets;

struct Satellite {
    element_set elements;
    sgp4_params sgp4;
    sdp4_params sdp4;
};

std::vector<Satellite> load(std::initializer_list<ElementLines> sets, bool deep) {
    std::vector<Satellite> satellites;
    for (const ElementLines& lines : sets) {
        Satellite s{};
        if (parse_elements(lines.line1, lines.line2, &s.elements) < 0) std::abort();
        if (deep) {
            SDP4_init(&s.sdp4, &s.elements);
        } else {
            SGP4_init(&s.sgp4, &s.elements);
        }
        satellites.push_back(s);
    }
    return satellites;
}

// Spans within which every set of the mix still yields an orbit.
constexpr int kNearSpan = 720;
constexpr int kDeepSpan = 2880;

void run(benchmark::State& state, std::vector<Satellite>& satellites, bool deep, int stride, int span) {
    const size_t count = satellites.size();
    size_t index = 0;
    long minute = 0;
    Vec4 position, velocity;
    for (auto _ : state) {
        Satellite& s = satellites[index];
        const double t = static_cast<double>((minute * stride) % span);
        const int result = deep ? SDP4(t, &s.elements, &s.sdp4, &position, &velocity)
                                : SGP4(t, &s.elements, &s.sgp4, &position, &velocity);
        benchmark::DoNotOptimize(result);
        benchmark::DoNotOptimize(position);
        benchmark::DoNotOptimize(velocity);
        if (++index == count) {
            index = 0;
            ++minute;
        }
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_SGP4_NearEarthMix(benchmark::State& state) {
    auto satellites = load({k00005, k06251, k28057, k29238, k28350, k88888, k22312, k29141}, false);
    run(state, satellites, false, 1, kNearSpan);
}

void BM_SDP4_NonResonant(benchmark::State& state) {
    auto satellites = load({k11801, k16925, k23177, k28623, k28129, k20413}, true);
    run(state, satellites, true, 1, kDeepSpan);
}

void BM_SDP4_Resonant(benchmark::State& state) {
    auto satellites = load({k26975, k08195, k09880, k21897, k22674, k28626, k25954, k26900, k24208, k09998, k14128}, true);
    run(state, satellites, true, 1, kDeepSpan);
}

void BM_SDP4_NonResonantScattered(benchmark::State& state) {
    auto satellites = load({k11801, k16925, k23177, k28623, k28129, k20413}, true);
    run(state, satellites, true, 97, kDeepSpan);
}

void BM_SDP4_ResonantScattered(benchmark::State& state) {
    auto satellites = load({k26975, k08195, k09880, k21897, k22674, k28626, k25954, k26900, k24208, k09998, k14128}, true);
    run(state, satellites, true, 97, kDeepSpan);
}

}  // namespace

BENCHMARK(BM_SGP4_NearEarthMix);
BENCHMARK(BM_SDP4_NonResonant);
BENCHMARK(BM_SDP4_Resonant);
BENCHMARK(BM_SDP4_NonResonantScattered);
BENCHMARK(BM_SDP4_ResonantScattered);
