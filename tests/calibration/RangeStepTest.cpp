#include "calibration/RangeStep.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace quillmark;

namespace {

struct StepCase {
    const char* name;
    long double min;
    long double max;
    RangeStepKind kind;
    bool aboutZero;
    long double expectedMin;
    long double expectedMax;
};

class CtrlArrowRange : public ::testing::TestWithParam<StepCase> {};

// Applies the shifts the way the window does: Min first, then Max.
TEST_P(CtrlArrowRange, MovesBoundsByTheirShareOfOneFourHundredth)
{
    const StepCase& c = GetParam();
    const RangeShift shift = CtrlArrowRangeShift(c.min, c.max, c.kind, c.aboutZero);
    EXPECT_NEAR(static_cast<double>(c.min + shift.MinShift), static_cast<double>(c.expectedMin), 1e-15);
    EXPECT_NEAR(static_cast<double>(c.max + shift.MaxShift), static_cast<double>(c.expectedMax), 1e-15);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CtrlArrowRange,
    ::testing::Values(
        StepCase{"WidenAboutMiddle", 0, 10, RangeStepKind::Widen, false, -0.025L, 10.025L},
        StepCase{"WidenAboutZeroKeepsZeroBound", 0, 10, RangeStepKind::Widen, true, 0, 10.025L},
        StepCase{"NarrowAboutZeroKeepsRatio", -2, 10, RangeStepKind::Narrow, true, -1.994L, 9.97L},
        StepCase{"NarrowAboutMiddle", -2, 10, RangeStepKind::Narrow, false, -1.97L, 9.97L},
        StepCase{"MinFartherFromZeroMovesFully", -10, 2, RangeStepKind::Widen, true, -10.03L, 2.006L},
        StepCase{"EqualMagnitudesMoveAlike", -4, 4, RangeStepKind::Widen, true, -4.02L, 4.02L},
        StepCase{"BothPositiveAboutZero", 5, 10, RangeStepKind::Narrow, true, 5.00625L, 9.9875L},
        StepCase{"BothZeroAboutZeroLeftAsIs", 0, 0, RangeStepKind::Widen, true, 0, 0},
        StepCase{"BothZeroAboutMiddleLeftAsIs", 0, 0, RangeStepKind::Narrow, false, 0, 0}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(CtrlArrowRange, BothZeroAboutZeroGivesNoNotANumber)
{
    const RangeShift shift = CtrlArrowRangeShift(0, 0, RangeStepKind::Widen, true);
    EXPECT_FALSE(std::isnan(shift.MinShift));
    EXPECT_FALSE(std::isnan(shift.MaxShift));
}

TEST(CtrlArrowRange, WidenThenNarrowReturnsAboutMiddle)
{
    const RangeShift widen = CtrlArrowRangeShift(1, 3, RangeStepKind::Widen, false);
    const long double min = 1 + widen.MinShift;
    const long double max = 3 + widen.MaxShift;
    const RangeShift narrow = CtrlArrowRangeShift(min, max, RangeStepKind::Narrow, false);
    // The second step is 1/400 of the wider range, so the round trip narrows slightly past the start.
    EXPECT_GT(min + narrow.MinShift, 1.0L);
    EXPECT_LT(max + narrow.MaxShift, 3.0L);
}

} // namespace
