#include "ui/main_window/time_step.h"

#include <charconv>
#include <cstdlib>

namespace {

constexpr int32_t MinStep = 25;
constexpr int32_t MaxStep = 7200000;

// The ladder is mostly doubling and halving; these rungs break the pattern so
// that the common round values (0.125 s, 5 s, 15 s, 5 min, 15 min) are hit.
int32_t Slower(int32_t v)
{
    switch (v) {
    case 125: return 50;
    case 5000: return 2000;
    case 15000: return 10000;
    case 300000: return 120000;
    case 900000: return 600000;
    default: return v / 2;
    }
}

int32_t Faster(int32_t v)
{
    switch (v) {
    case 50: return 125;
    case 2000: return 5000;
    case 10000: return 15000;
    case 120000: return 300000;
    case 600000: return 900000;
    default: return v > MaxStep / 2 ? MaxStep : v * 2;
    }
}

} // namespace

int32_t NextTimeStep(int32_t step, int32_t code)
{
    if (code == StepStop)
        return step;
    if ((code == StepRunForward && step < 0) || (code == StepRunBackward && step > 0))
        step = -step;
    int32_t v = std::abs(step);
    if (code == StepSlower)
        v = Slower(v);
    else if (code == StepFaster)
        v = Faster(v);
    if (v < MinStep)
        v = MinStep;
    if (v > MaxStep)
        v = MaxStep;
    return step < 0 ? -v : v;
}

std::string ShortestNumberText(double value)
{
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string TimeStepCaption(int32_t step)
{
    const int32_t v = std::abs(step);
    // Steps between 30 min and 1 h never occur on the ladder; they read in
    // minutes like the rungs below them.
    if (v < 60000)
        return ShortestNumberText(step / 1000.0) + " Sec";
    if (v < 3600000)
        return ShortestNumberText(step / 60000.0) + " Min";
    return ShortestNumberText(step / 3600000.0) + " Hr";
}
