#include "calibration/AxisMapping.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace quillmark;

TEST(AxisMapping, LinearForwardIsTheWrittenRuleToTheLastBit)
{
    const AxisMapping axis{-3.3L, 7.1L};
    for (int px = 0; px <= 400; px += 7) {
        const long double offset = px;
        EXPECT_EQ(ValueAlong(axis, offset, 400), axis.Low + (axis.High - axis.Low) * offset / 400);
        EXPECT_EQ(OffsetAlong(axis, axis.Low + 1.5L, 400), (1.5L) * 400 / (axis.High - axis.Low));
    }
}

TEST(AxisMapping, EveryKindRoundTripsAndRunsItsWay)
{
    for (const bool log : {false, true}) {
        for (const bool reversed : {false, true}) {
            SCOPED_TRACE(testing::Message() << "log " << log << " reversed " << reversed);
            const AxisMapping axis{log ? 0.01L : -5.0L, log ? 1000.0L : 20.0L, log, reversed};
            for (int px = 0; px <= 500; px += 25) {
                const long double v = ValueAlong(axis, px, 500);
                EXPECT_NEAR(static_cast<double>(OffsetAlong(axis, v, 500)), px, 1e-9);
            }
            const long double start = ValueAlong(axis, 0, 500);
            const long double end = ValueAlong(axis, 500, 500);
            EXPECT_NEAR(static_cast<double>(reversed ? end : start), static_cast<double>(axis.Low), 1e-12);
            EXPECT_NEAR(static_cast<double>(reversed ? start : end), static_cast<double>(axis.High), 1e-9);
            if (log) { // the middle of a log axis is the geometric mean
                EXPECT_NEAR(static_cast<double>(ValueAlong(axis, 250, 500)), std::sqrt(0.01 * 1000.0), 1e-12);
            }
        }
    }
}

TEST(AxisMapping, ThreeHundredDecadesAndOnlyPositiveValuesOnALogAxis)
{
    const AxisMapping axis{1e-150L, 1e150L, true};
    EXPECT_NEAR(static_cast<double>(std::log10(ValueAlong(axis, 1, 3))), -50.0, 1e-12);
    EXPECT_NEAR(static_cast<double>(OffsetAlong(axis, 1e100L, 300)), 250.0, 1e-9);
    EXPECT_FALSE(axis.Admits(0));
    EXPECT_FALSE(axis.Admits(-1));
    EXPECT_TRUE(axis.Admits(1e-300L));
    EXPECT_TRUE((AxisMapping{-1, 1}).Admits(-1));
}
