// The clock's step ladder: how the signed step (simulated milliseconds per
// tick) moves for the faster, slower and direction commands, and how it reads.
#pragma once

#include <cstdint>
#include <string>

enum TimeStepCode : int32_t {
    StepSlower = -1,
    StepFaster = 1,
    StepStop = 2,
    StepRunForward = 10,
    StepRunBackward = -10,
};

// The step after a command (stop leaves it as it is).
int32_t NextTimeStep(int32_t step, int32_t code);

// "1 Sec", "-0.025 Sec", "30 Min", "2 Hr": the step in the unit that fits.
std::string TimeStepCaption(int32_t step);

// The shortest text that reads back as the same double, with '.' always.
std::string ShortestNumberText(double value);
