#include "calibration/AxisScale.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>


using namespace quillmark;

namespace {

TEST(DecimalExponent, MantissaIsReadFromFifteenDigitsRoundedHalfUp)
{
    struct Case {
        long double value;
        long double mantissa; // exact
        int exponent;
    };
    const Case cases[] = {
        // An exact tie at the sixteenth digit goes up, never to even.
        {1000000000000005.0L, 100000000000001.0L / 1e14L, 15},
        {1000000000000015.0L, 100000000000002.0L / 1e14L, 15},
        // A four followed by nines stays down.
        {1.0L + 4.999e-15L, 1.0L, 0},
        {9.9999999999999999L, 1.0L, 1},
        {-9.9999999999999996L, -1.0L, 1},
        {1e-300L, 1.0L, -300},
        {std::numeric_limits<double>::max(), 179769313486232.0L / 1e14L, 308},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<double>(c.value));
        const auto parts = DecimalExponent(c.value);
        ASSERT_TRUE(parts.has_value());
        EXPECT_EQ(parts->Mantissa, c.mantissa);
        EXPECT_EQ(parts->Exponent, c.exponent);
    }
}

TEST(DecimalExponent, SplitsIntoMantissaAndExponent)
{
    struct Case {
        long double value;
        long double mantissa;
        int exponent;
    };
    const Case cases[] = {
        {0.0L, 0.0L, 0},          {10.0L, 1.0L, 1},        {-3.0L, -3.0L, 0},
        {0.5L, 5.0L, -1},         {0.0001L, 1.0L, -4},     {6.0L, 6.0L, 0},
        {1234.5L, 1.2345L, 3},    {9.9999999999999999L, 1.0L, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<double>(c.value));
        const auto parts = DecimalExponent(c.value);
        ASSERT_TRUE(parts.has_value());
        EXPECT_NEAR(static_cast<double>(parts->Mantissa), static_cast<double>(c.mantissa), 1e-15);
        EXPECT_EQ(parts->Exponent, c.exponent);
    }
    EXPECT_FALSE(DecimalExponent(std::numeric_limits<long double>::quiet_NaN()));
    EXPECT_FALSE(DecimalExponent(-std::numeric_limits<long double>::infinity()));
}

TEST(IntPower10, ExactPowersAndReciprocals)
{
    EXPECT_EQ(IntPower10(0), 1.0L);
    EXPECT_EQ(IntPower10(1), 10.0L);
    EXPECT_EQ(IntPower10(3), 1000.0L);
    EXPECT_EQ(IntPower10(27), 1e27L); // 5^27 < 2^64: exact in long double
    EXPECT_EQ(IntPower10(-1), 1.0L / 10.0L);
    EXPECT_EQ(IntPower10(-2), 1.0L / 100.0L);
    EXPECT_TRUE(std::isinf(IntPower10(5000)));
    EXPECT_EQ(IntPower10(INT_MIN), 0.0L);
}

struct NiceCase {
    long double min, max, current, expected;
};

class NiceIncrementTable : public ::testing::TestWithParam<NiceCase> {};

TEST_P(NiceIncrementTable, PicksPowerOfTenOrKeepsCurrent)
{
    const NiceCase& c = GetParam();
    EXPECT_EQ(NiceIncrement(c.min, c.max, c.current), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, NiceIncrementTable,
    ::testing::Values(
        NiceCase{0, 10, 0, 1},            // 10 intervals
        NiceCase{-3, 3, 0, 1},            // 6 intervals
        NiceCase{0, 3, 0, 0.1L},          // 30 intervals
        NiceCase{0, 4, 0, 1},             // 4 intervals
        NiceCase{0, 10, 2, 2},            // 5 intervals: kept
        NiceCase{0, 10, 0.6L, 0.6L},      // 16.7 intervals: kept
        NiceCase{0, 10, 5, 1},            // 2 intervals: replaced
        NiceCase{0, 10, 0.5L, 1},         // exactly 20: replaced
        NiceCase{0, 10, 2.5L, 1},         // exactly 4: replaced
        NiceCase{0, 10, -1, 1},           // negative: replaced
        NiceCase{-5, 15, 0, 1},           // 20, leading digit 2
        NiceCase{0, 1000, 0, 100},
        NiceCase{0, 0.003L, 0, IntPower10(-4)},
        NiceCase{0, 0.004L, 0, IntPower10(-3)},
        NiceCase{2.5L, 7.5L, 0, 1},       // 5: leading digit above 3
        NiceCase{0, 1e300L, 0, IntPower10(299)},
        NiceCase{5, 5, 0, 0.1L}));        // empty range: zero mantissa

TEST(AxisLabelFormat, MasksForTypicalRanges)
{
    struct Case {
        long double min, max;
        std::string_view mask;
    };
    const Case cases[] = {
        {0, 10, kPlainAxisMask},         {-3, 3, kPlainAxisMask},
        {0, 1000, kPlainAxisMask},       {-1000, 999, kPlainAxisMask},
        {0.001L, 0.01L, kPlainAxisMask}, {0, 10000, kScientificAxisMask},
        {-12345, 0, kScientificAxisMask}, {0.0001L, 0.001L, kScientificAxisMask},
        {1e-10L, 1.0L, kScientificAxisMask},
        // Rounds to 1E+4 at fifteen digits.
        {0, 9999.9999999999999L, kScientificAxisMask},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<double>(c.min));
        SCOPED_TRACE(static_cast<double>(c.max));
        EXPECT_EQ(AxisLabelFormat(c.min, c.max), c.mask);
    }
    EXPECT_EQ(kScientificAxisMask, "#.0## \"x10\" E+0##");
}

TEST(PlanAxisRange, RefusesRangesThatAreNotIncreasing)
{
    EXPECT_FALSE(PlanAxisRange(20, 10, 1));
    EXPECT_FALSE(PlanAxisRange(5, 5, 1));
    EXPECT_FALSE(PlanAxisRange(std::nanl(""), 5, 1));
    const auto plan = PlanAxisRange(0, 10000, 0);
    ASSERT_TRUE(plan.has_value());
    EXPECT_EQ(plan->Increment, 1000.0L);
    EXPECT_EQ(plan->Mask, kScientificAxisMask);
    // An increment typed by the user survives a range it suits.
    EXPECT_EQ(PlanAxisRange(0, 12, 2)->Increment, 2.0L);
}

TEST(SameAtSinglePrecision, DifferencesBeyondSinglePrecisionDoNotReapply)
{
    EXPECT_TRUE(SameAtSinglePrecision(10.0, 10.0000001));
    EXPECT_TRUE(SameAtSinglePrecision(-3.0, -3.0));
    EXPECT_FALSE(SameAtSinglePrecision(10.0, 10.00001));
    EXPECT_FALSE(SameAtSinglePrecision(0.0, 1e-30));
}

TEST(ShiftAxisRange, MovesBothBoundsByOneFourHundredthOfTheOldRange)
{
    const AxisRange up = ShiftAxisRange({0, 10}, ShiftDirection::Increase);
    EXPECT_NEAR(static_cast<double>(up.Min), 0.025, 1e-15);
    EXPECT_NEAR(static_cast<double>(up.Max), 10.025, 1e-15);
    const AxisRange down = ShiftAxisRange({-3, 3}, ShiftDirection::Decrease);
    EXPECT_NEAR(static_cast<double>(down.Min), -3.015, 1e-15);
    EXPECT_NEAR(static_cast<double>(down.Max), 2.985, 1e-15);
}

} // namespace
