#include "calibration/Calibration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "calibration/RegionMaths.h"

using namespace quillmark;

namespace {

constexpr double kAxisTolerance = 1e-12;

double D(long double v)
{
    return static_cast<double>(v);
}

void ExpectEdges(const SurfaceRect& r, int left, int top, int right, int bottom)
{
    EXPECT_EQ(r.Left, left);
    EXPECT_EQ(r.Top, top);
    EXPECT_EQ(r.Right, right);
    EXPECT_EQ(r.Bottom, bottom);
}

AxisPointSlots TwoPointSlots(SurfacePoint lowerLeft, SurfacePoint upperRight)
{
    return {lowerLeft, upperRight, upperRight, lowerLeft};
}

TEST(PixelToAxis, CornersOfThePlotRectangleAreTheLimits)
{
    const PlotRect rect{40, 12, 400, 300};
    const AxisLimits limits{0, 10, -3, 3};
    const AxisPoint topLeft = PixelToAxis({40, 12}, rect, limits);
    EXPECT_EQ(topLeft.X, 0.0L);
    EXPECT_EQ(topLeft.Y, 3.0L);
    const AxisPoint bottomRight = PixelToAxis({440, 312}, rect, limits);
    EXPECT_EQ(bottomRight.X, 10.0L);
    EXPECT_EQ(bottomRight.Y, -3.0L);
    const AxisPoint middle = PixelToAxis({240, 162}, rect, limits);
    EXPECT_EQ(middle.X, 5.0L);
    EXPECT_EQ(middle.Y, 0.0L);
}

TEST(PixelToAxis, RoundTripThroughAxisValuesGivesThePixelBack)
{
    const PlotRect rects[] = {{0, 0, 400, 400}, {37, 21, 613, 287}, {5, 3, 1, 1}};
    const AxisLimits limits[] = {{0, 10, -3, 3}, {-1e6, 2.5e6, 1e-9, 3e-9}, {-0.125, 7.75, -400, -399}};
    for (const PlotRect& rect : rects) {
        for (const AxisLimits& lim : limits) {
            for (std::int32_t px = rect.Left - 50; px <= rect.Left + rect.Width + 50; px += 7) {
                const std::int32_t py = rect.Top + (px * 3) % (rect.Height + 1);
                const AxisPoint a = PixelToAxis({px, py}, rect, lim);
                SCOPED_TRACE(px);
                EXPECT_NEAR(D(AxisToPixelX(a.X, rect, lim)), px, 1e-6);
                EXPECT_NEAR(D(AxisToPixelY(a.Y, rect, lim)), py, 1e-6);
            }
        }
    }
}

TEST(SolveCalibration, TwoPointsWithDefaultDialogValues)
{
    const PlotRect rect{30, 20, 400, 400};
    const AxisPointSlots slots = TwoPointSlots({130, 320}, {330, 120});
    const AxisLimits lim = SolveCalibrationLimits(slots, {0, 10, 0, 10}, rect);
    EXPECT_NEAR(D(lim.XMin), -5, kAxisTolerance);
    EXPECT_NEAR(D(lim.XMax), 15, kAxisTolerance);
    EXPECT_NEAR(D(lim.YMin), -5, kAxisTolerance);
    EXPECT_NEAR(D(lim.YMax), 15, kAxisTolerance);
}

TEST(SolveCalibration, ReferencePixelsLandOnTheTypedValues)
{
    struct Case {
        AxisPointSlots slots;
        ReferenceValues values;
        PlotRect rect;
    };
    const Case cases[] = {
        // Two points.
        {TwoPointSlots({100, 380}, {520, 41}), {0, 10, 0, 10}, {12, 8, 600, 420}},
        // Three points: one origin click, then X max, then Y max off-axis.
        {{SurfacePoint{80, 300}, {400, 310}, {90, 25}, {80, 300}}, {-2.5, 7.5, 100, 900}, {50, 10, 500, 320}},
        // Four points anywhere, values far from zero and negative.
        {{SurfacePoint{61, 200}, {190, 180}, {150, 33}, {140, 277}}, {-1e-7, 3e-7, -4.25e5, -1.5e5}, {40, 20, 200, 300}},
        // References outside the plot rectangle.
        {TwoPointSlots({-20, 700}, {900, -40}), {1, 2, 3, 4}, {0, 0, 640, 480}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(D(c.values.XMin));
        const AxisLimits lim = SolveCalibrationLimits(c.slots, c.values, c.rect);
        const long double xScale = std::fabs(c.values.XMax - c.values.XMin);
        const long double yScale = std::fabs(c.values.YMax - c.values.YMin);
        EXPECT_NEAR(D(PixelToAxis(c.slots[0], c.rect, lim).X), D(c.values.XMin), D(xScale) * 1e-14);
        EXPECT_NEAR(D(PixelToAxis(c.slots[1], c.rect, lim).X), D(c.values.XMax), D(xScale) * 1e-14);
        EXPECT_NEAR(D(PixelToAxis(c.slots[2], c.rect, lim).Y), D(c.values.YMax), D(yScale) * 1e-14);
        EXPECT_NEAR(D(PixelToAxis(c.slots[3], c.rect, lim).Y), D(c.values.YMin), D(yScale) * 1e-14);
    }
}

TEST(SolveCalibration, InvertedValuesGiveAnInvertedRangeForTheRangeCheck)
{
    const AxisLimits lim =
        SolveCalibrationLimits(TwoPointSlots({100, 300}, {300, 100}), {10, 0, 5, 5}, {0, 0, 400, 400});
    EXPECT_GT(lim.XMin, lim.XMax);
    EXPECT_EQ(lim.YMin, lim.YMax); // equal typed values: an empty range, not an error
}

TEST(SolveCalibration, CoincidentReferencesAreRefusedNamingTheAxis)
{
    const PlotRect rect{0, 0, 400, 400};
    struct Case {
        AxisPointSlots slots;
        ReferenceValues values;
        std::string_view message;
    };
    const Case cases[] = {
        {TwoPointSlots({100, 300}, {100, 100}), {0, 10, 0, 10}, kXReferencesCoincide},
        {TwoPointSlots({100, 300}, {100, 100}), {5, 5, 0, 10}, kXReferencesCoincide},
        {TwoPointSlots({100, 300}, {300, 300}), {0, 10, 0, 10}, kYReferencesCoincide},
        {TwoPointSlots({100, 300}, {300, 300}), {0, 10, 7, 7}, kYReferencesCoincide},
        // Four points: only the slots that carry a scale matter.
        {{SurfacePoint{10, 50}, {10, 90}, {200, 30}, {250, 300}}, {0, 1, 0, 1}, kXReferencesCoincide},
        {{SurfacePoint{10, 50}, {90, 50}, {200, 30}, {250, 30}}, {0, 1, 0, 1}, kYReferencesCoincide},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        try {
            SolveCalibrationLimits(c.slots, c.values, rect);
            ADD_FAILURE() << "no error";
        } catch (const CalibrationError& e) {
            EXPECT_EQ(e.what(), std::string(c.message));
        }
    }
    // The X axis alone is still defined when only Y is degenerate.
    const AxisRange x = SolveXAxis(TwoPointSlots({100, 300}, {300, 300}), {0, 10, 0, 10}, rect);
    EXPECT_NEAR(D(x.Min), -5, kAxisTolerance);
    EXPECT_THROW(SolveYAxis(TwoPointSlots({100, 300}, {300, 300}), {0, 10, 0, 10}, rect), CalibrationError);
}

TEST(ReferenceClickStep, SlotsHintsAndSolvePerMethod)
{
    using M = CalibrationMethod;
    struct Case {
        M method;
        std::int32_t count;
        std::uint8_t slots;
        std::string_view hint;
        bool solve;
    };
    const Case cases[] = {
        {M::TwoPoints, 0, 0b1001, "Задайте точку Xmax и Ymax", false},
        {M::TwoPoints, 1, 0b0110, "", true},
        {M::ThreePoints, 0, 0b1001, "Задайте точку Xmax", false},
        {M::ThreePoints, 1, 0b0010, "Задайте точку Ymax", false},
        {M::ThreePoints, 2, 0b0100, "", true},
        {M::FourPoints, 0, 0b0001, "Задайте точку Xmax", false},
        {M::FourPoints, 1, 0b0010, "Задайте точку Ymin", false},
        {M::FourPoints, 2, 0b1000, "Задайте точку Ymax", false},
        {M::FourPoints, 3, 0b0100, "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.method) * 10 + c.count);
        const auto step = ReferenceClickStep(c.method, c.count);
        ASSERT_TRUE(step.has_value());
        EXPECT_EQ(step->Slots, c.slots);
        EXPECT_EQ(step->NextHint, c.hint);
        EXPECT_EQ(step->Solve, c.solve);
    }
    EXPECT_FALSE(ReferenceClickStep(M::TwoPoints, 2));
    EXPECT_FALSE(ReferenceClickStep(M::FourPoints, 4));
    EXPECT_FALSE(ReferenceClickStep(M::ThreePoints, -1));
    EXPECT_EQ(CalibrationEntryHint(M::TwoPoints), "Задайте точку Xmin и Ymin");
    EXPECT_EQ(CalibrationEntryHint(M::ThreePoints), "Задайте точку Xmin и Ymin");
    EXPECT_EQ(CalibrationEntryHint(M::FourPoints), "Задайте точку Xmin");
    EXPECT_EQ(CalibrationButtonHint(M::ThreePoints), "Привязка координат по 3 точкам");
    EXPECT_FALSE(StraighteningApplies(M::TwoPoints, true));
    EXPECT_TRUE(StraighteningApplies(M::ThreePoints, true));
    EXPECT_FALSE(StraighteningApplies(M::FourPoints, false));
}

TEST(Straightening, TiltOfFiveInFiveHundred)
{
    // X max 5 pixels lower than X min, 500 apart; Y max 5 pixels right of Y min.
    const AxisPointSlots slots{SurfacePoint{100, 600}, {600, 605}, {105, 100}, {100, 600}};
    const long double theta = StraighteningAngle(slots);
    EXPECT_NEAR(D(theta), std::atan2(5.0, 500.0), 1e-15);
    EXPECT_NEAR(D(theta), 0.0099996667, 1e-9);
    EXPECT_NEAR(D(theta * kDegreesPerRadian), 0.572939, 1e-6);
    EXPECT_EQ(StraighteningAngle(TwoPointSlots({10, 300}, {300, 10})), 0.0L);
}

TEST(RotateAboutCentre, QuarterTurnsInBothPictureModes)
{
    const long double quarter = std::numbers::pi_v<long double> / 2;
    // Actual size: about the plot rectangle's centre (200, 200) + offset.
    const PlotRect rect{10, 20, 400, 400};
    EXPECT_EQ(RotateAboutCentre({310, 220}, quarter, rect, {100, 100}, false), (SurfacePoint{210, 120}));
    // Counter-clockwise on the screen: right of centre goes up.
    EXPECT_EQ(RotateAboutCentre({210, 120}, quarter, rect, {100, 100}, false), (SurfacePoint{110, 220}));
    // Fitted: picture 200 x 100 stretched over 400 x 400; u = 150, v = 50
    // about (100, 50) turns to (100, 0).
    EXPECT_EQ(RotateAboutCentre({310, 220}, quarter, rect, {200, 100}, true), (SurfacePoint{210, 20}));
}

TEST(RotateAboutCentre, TurningBackReturnsWithinOnePixel)
{
    const PlotRect rect{25, 15, 640, 480};
    for (const bool fitted : {false, true}) {
        for (const long double theta : {0.01L, -0.2L, 1.0L}) {
            for (std::int32_t x = 25; x < 665; x += 61) {
                const SurfacePoint p{x, 15 + (x * 7) % 480};
                const SurfacePosition there = RotateAboutCentre(p, theta, rect, {1024, 768}, fitted);
                const SurfacePosition back = RotateAboutCentre(there, -theta, rect, {1024, 768}, fitted);
                SCOPED_TRACE(x);
                EXPECT_LE(std::fabs(back.X - p.X), 1);
                EXPECT_LE(std::fabs(back.Y - p.Y), 1);
            }
        }
    }
}

TEST(RotateAboutCentre, ZeroAngleAndDegenerateSizesLeaveThePoints)
{
    const AxisPointSlots slots{SurfacePoint{1, 2}, {3, 4}, {5, 6}, {7, 8}};
    EXPECT_EQ(RotateSlotsAboutCentre(slots, 0.0L, {0, 0, 300, 300}, {77, 33}, true), slots);
    EXPECT_EQ(RotateAboutCentre({5, 6}, 0.3L, {0, 0, 0, 300}, {77, 33}, false), (SurfacePoint{5, 6}));
    EXPECT_EQ(RotateAboutCentre({5, 6}, 0.3L, {0, 0, 300, 300}, {0, 33}, true), (SurfacePoint{5, 6}));
    EXPECT_EQ(RotateAboutCentre({5, 6}, std::nanl(""), {0, 0, 300, 300}, {7, 3}, true), (SurfacePoint{5, 6}));
    const AxisPointSlots turned = RotateSlotsAboutCentre(slots, 0.5L, {0, 0, 300, 300}, {77, 33}, false);
    EXPECT_NE(turned[0], slots[0]);
}

TEST(RegionMaths, DragOnA400PixelPlot)
{
    const PlotRect rect{17, 9, 400, 400};
    const AxisLimits limits{0, 10, 0, 10};
    const RegionLimits r = RegionFromDrag({17 + 10, 9 + 10}, {17 + 110, 9 + 60}, rect, limits);
    EXPECT_NEAR(D(r.XMin), 0.25, kAxisTolerance);
    EXPECT_NEAR(D(r.XMax), 2.75, kAxisTolerance);
    EXPECT_NEAR(D(r.YMax), 9.75, kAxisTolerance);
    EXPECT_NEAR(D(r.YMin), 8.5, kAxisTolerance);
    ExpectEdges(RegionToPixels(r, rect, limits), 27, 19, 127, 69);
}

TEST(RegionMaths, DragInAnyDirectionGivesTheSameRectangle)
{
    const PlotRect rect{0, 0, 400, 300};
    const AxisLimits limits{-3, 3, 100, 200};
    for (const auto& [start, end] : {std::pair<SurfacePoint, SurfacePoint>{{300, 250}, {50, 20}},
                                     {{50, 250}, {300, 20}}, {{300, 20}, {50, 250}}, {{50, 20}, {300, 250}}}) {
        const RegionLimits r = RegionFromDrag(start, end, rect, limits);
        EXPECT_LT(r.XMin, r.XMax);
        EXPECT_LT(r.YMin, r.YMax);
        ExpectEdges(RegionToPixels(r, rect, limits), 50, 20, 300, 250);
    }
    // A release without movement: a region of zero size at the press point.
    const RegionLimits dot = RegionFromDrag({120, 80}, {120, 80}, rect, limits);
    ExpectEdges(RegionToPixels(dot, rect, limits), 120, 80, 120, 80);
}

TEST(RegionMaths, EdgesFarOutsideAreHeldInRange)
{
    const RegionLimits far{-1e30L, 1e30L, std::nanl(""), 1e30L};
    const SurfaceRect e = RegionToPixels(far, {0, 0, 400, 400}, {0, 1, 0, 1});
    EXPECT_EQ(e.Left, INT32_MIN);
    EXPECT_EQ(e.Right, INT32_MAX);
    EXPECT_EQ(e.Top, INT32_MIN);
    EXPECT_EQ(e.Bottom, 0);
}

} // namespace
