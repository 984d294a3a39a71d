#include "ui/main_window/time_step.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Rung {
    int32_t step;
    const char *caption;
};

const std::vector<Rung> Ladder = {
    {25, "0.025 Sec"},   {50, "0.05 Sec"},    {125, "0.125 Sec"},  {250, "0.25 Sec"},
    {500, "0.5 Sec"},    {1000, "1 Sec"},     {2000, "2 Sec"},     {5000, "5 Sec"},
    {10000, "10 Sec"},   {15000, "15 Sec"},   {30000, "30 Sec"},   {60000, "1 Min"},
    {120000, "2 Min"},   {300000, "5 Min"},   {600000, "10 Min"},  {900000, "15 Min"},
    {1800000, "30 Min"}, {3600000, "1 Hr"},   {7200000, "2 Hr"},
};

} // namespace

TEST(TimeStepLadder, FasterWalksEveryRungUpAndStopsAtTheTop)
{
    int32_t step = Ladder.front().step;
    for (std::size_t i = 0; i < Ladder.size(); ++i) {
        EXPECT_EQ(step, Ladder[i].step);
        EXPECT_EQ(TimeStepCaption(step), Ladder[i].caption);
        step = NextTimeStep(step, StepFaster);
    }
    EXPECT_EQ(step, 7200000);
    EXPECT_EQ(NextTimeStep(7200000, StepFaster), 7200000);
}

TEST(TimeStepLadder, SlowerWalksEveryRungDownAndStopsAtTheBottom)
{
    int32_t step = Ladder.back().step;
    for (std::size_t i = Ladder.size(); i-- > 0;) {
        EXPECT_EQ(step, Ladder[i].step);
        step = NextTimeStep(step, StepSlower);
    }
    EXPECT_EQ(step, 25);
    EXPECT_EQ(NextTimeStep(25, StepSlower), 25);
}

TEST(TimeStepLadder, BackwardStepsKeepTheirSignAndReadNegative)
{
    EXPECT_EQ(NextTimeStep(-10000, StepFaster), -15000);
    EXPECT_EQ(NextTimeStep(-125, StepSlower), -50);
    EXPECT_EQ(NextTimeStep(-7200000, StepFaster), -7200000);
    EXPECT_EQ(TimeStepCaption(-10000), "-10 Sec");
    EXPECT_EQ(TimeStepCaption(-1800000), "-30 Min");
    EXPECT_EQ(TimeStepCaption(-3600000), "-1 Hr");
    EXPECT_EQ(TimeStepCaption(-25), "-0.025 Sec");
}

TEST(TimeStepLadder, DirectionCommandsFlipOnlyAWrongSign)
{
    EXPECT_EQ(NextTimeStep(10000, StepRunBackward), -10000);
    EXPECT_EQ(NextTimeStep(-10000, StepRunForward), 10000);
    EXPECT_EQ(NextTimeStep(10000, StepRunForward), 10000);
    EXPECT_EQ(NextTimeStep(-10000, StepRunBackward), -10000);
    EXPECT_EQ(NextTimeStep(-10000, StepStop), -10000);
}

TEST(TimeStepLadder, OffLadderValuesAreClampedIntoRange)
{
    EXPECT_EQ(NextTimeStep(3, StepRunForward), 25);
    EXPECT_EQ(NextTimeStep(2000000000, StepFaster), 7200000);
    EXPECT_EQ(NextTimeStep(-2000000000, StepRunBackward), -7200000);
}
