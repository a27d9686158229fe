#include "calibration/AxisMapping.h"

#include "calibration/Calibration.h"
#include "calibration/ImageFit.h"

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

TEST(AxisMapping, PixelsAndValuesOfEveryKindOfPlotRoundTripAndFitKeepsFeatures)
{
    const PlotRect rect{10, 20, 400, 300};
    for (const AxisKind x : {AxisKind{}, AxisKind{true, false}, AxisKind{false, true}, AxisKind{true, true}}) {
        for (const AxisKind y : {AxisKind{}, AxisKind{true, true}}) {
            const AxisLimits limits(x.Log ? 1 : -4, x.Log ? 1e6L : 4, 0.001L, 10, x, y);
            for (int px = 10; px <= 410; px += 40) {
                const AxisPoint v = PixelToAxis({px, 20 + (px - 10) * 3 / 4}, rect, limits);
                EXPECT_NEAR(static_cast<double>(AxisToPixelX(v.X, rect, limits)), px, 1e-9);
                EXPECT_NEAR(static_cast<double>(AxisToPixelY(v.Y, rect, limits)), 20 + (px - 10) * 3 / 4, 1e-9);
            }
            // The left edge shows Min, or Max when reversed; the bottom likewise.
            EXPECT_NEAR(static_cast<double>(PixelToAxis({10, 320}, rect, limits).X),
                        static_cast<double>(x.Reversed ? limits.XMax : limits.XMin), 1e-9);
            EXPECT_NEAR(static_cast<double>(PixelToAxis({10, 320}, rect, limits).Y), y.Reversed ? 10.0 : 0.001, 1e-12);
            // Fit and back keep the values under the picture's pixels.
            const AxisLimits fitted = LimitsForFit(limits, rect, PictureSize{200, 100});
            const AxisLimits back = LimitsForActualSize(fitted, rect, PictureSize{200, 100});
            EXPECT_NEAR(static_cast<double>(back.XMin / limits.XMin), 1.0, 1e-12);
            EXPECT_NEAR(static_cast<double>(back.YMax / limits.YMax), 1.0, 1e-12);
            EXPECT_EQ(back.XKind, x);
        }
    }
}

TEST(AxisMapping, CalibrationOnLogAndReversedAxesGivesTheTypedValuesAtTheClicks)
{
    const PlotRect rect{0, 0, 600, 400};
    // 2, 3 and 4 points give the same slots here: X refs at (60, *) and
    // (540, *), Y refs at (*, 360) and (*, 40).
    AxisPointSlots slots{};
    slots[0] = {60, 380};
    slots[1] = {540, 380};
    slots[2] = {20, 40};
    slots[3] = {20, 360};
    // Log-log over 27 and 300 decades, and a reversed linear X (4000 to 400).
    const struct {
        ReferenceValues Values;
        bool XLog, YLog, XReversed, YReversed;
    } cases[] = {{{1, 1000, 0.01L, 10}, true, true, false, false},
                 {{1e-150L, 1e150L, 1e-13L, 1e14L}, true, true, false, false},
                 {{4000, 400, 0, 1}, false, false, true, false},
                 {{1, 100, 10, 0.1L}, true, true, false, true}};
    for (const auto& c : cases) {
        const AxisLimits limits = SolveCalibrationKinds(slots, c.Values, rect, c.XLog, c.YLog);
        EXPECT_EQ(limits.XKind, (AxisKind{c.XLog, c.XReversed}));
        EXPECT_EQ(limits.YKind, (AxisKind{c.YLog, c.YReversed}));
        EXPECT_LT(limits.XMin, limits.XMax);
        EXPECT_LT(limits.YMin, limits.YMax);
        const auto near = [](long double got, long double want) {
            EXPECT_NEAR(static_cast<double>(got / want), 1.0, 1e-12) << static_cast<double>(got);
        };
        near(PixelToAxis(slots[0], rect, limits).X, c.Values.XMin);
        near(PixelToAxis(slots[1], rect, limits).X, c.Values.XMax);
        near(PixelToAxis(slots[2], rect, limits).Y, c.Values.YMax);
        if (c.Values.YMin != 0)
            near(PixelToAxis(slots[3], rect, limits).Y, c.Values.YMin);
    }
    EXPECT_THROW(SolveCalibrationKinds(slots, {0, 10, 1, 2}, rect, true, false), CalibrationError);
    try {
        SolveCalibrationKinds(slots, {1, 10, -1, 2}, rect, false, true);
        FAIL();
    } catch (const CalibrationError& e) {
        EXPECT_EQ(std::string(e.what()), kLogYNeedsPositive);
    }
}
