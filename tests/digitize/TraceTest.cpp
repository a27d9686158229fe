#include "digitize/Trace.h"

#include "TestPicture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace quillmark;
using quillmark::test::kBlack;
using quillmark::test::kBlue;
using quillmark::test::kRed;
using quillmark::test::kWhite;
using quillmark::test::TestPicture;
using quillmark::test::WholePicture;

namespace {

std::vector<double> Xs(const TraceResult& result)
{
    std::vector<double> xs;
    for (const DataPoint& p : result.Points)
        xs.push_back(p.X);
    return xs;
}

} // namespace

TEST(Trace, MaxBrightnessFollowsABrightLine)
{
    TestPicture picture(40, 30, kBlack);
    for (int x = 0; x < 40; ++x)
        picture.Set(x, 5 + x / 3, kWhite);
    const TraceResult result = TraceCurve(picture.View(), WholePicture(picture.View()));

    ASSERT_EQ(result.Status, TraceStatus::Traced);
    ASSERT_EQ(result.Points.size(), 39u);   // the rightmost column is not sampled
    ASSERT_EQ(result.TraceBuffer.size(), 39u);
    for (int i = 0; i < 39; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(result.TraceBuffer[static_cast<std::size_t>(i)], 5 + i / 3);
        EXPECT_EQ(result.Points[static_cast<std::size_t>(i)].X, i);
        EXPECT_EQ(result.Points[static_cast<std::size_t>(i)].Y, 30 - (5 + i / 3));
        EXPECT_TRUE(result.Points[static_cast<std::size_t>(i)].Label.empty());
        EXPECT_FALSE(result.Points[static_cast<std::size_t>(i)].Colour.has_value());
    }
}

TEST(Trace, StretchedValuesFollowTheAxisLimits)
{
    TestPicture picture(8, 4, kBlack);
    for (int x = 0; x < 8; ++x)
        picture.Set(x, 1, kWhite);
    TraceInput input = WholePicture(picture.View());
    input.Plot = PlotRect{30, 40, 400, 300};   // stretched: the plot size does not enter
    input.XMin = -1.0;
    input.XMax = 3.0;
    input.YMin = 10.0;
    input.YMax = 18.0;
    const TraceResult result = TraceCurve(picture.View(), input);
    ASSERT_EQ(result.Points.size(), 7u);
    EXPECT_DOUBLE_EQ(result.Points[3].X, -1.0 + 4.0 * 3 / 8);
    EXPECT_DOUBLE_EQ(result.Points[3].Y, 10.0 + 8.0 * (4 - 1) / 4);
}

// A dark line on a light background: every column's brightest pixels are the
// background, so the band is as tall as the scan and no column qualifies
// once the scan is taller than the line sensitivity plus one.
TEST(Trace, MaxBrightnessBandAsTallAsTheScanIsAcceptedOnlyUpToTheSensitivity)
{
    for (const int height : {51, 52}) {
        SCOPED_TRACE(height);
        TestPicture picture(10, height, kWhite);
        for (int x = 0; x < 10; ++x)
            picture.Set(x, 20, kBlack);
        const TraceResult result = TraceCurve(picture.View(), WholePicture(picture.View()));
        if (height == 51) {
            ASSERT_EQ(result.Status, TraceStatus::Traced);
            EXPECT_EQ(result.TraceBuffer, std::vector<std::int32_t>(9, 25));   // rows 0 and 50, halved
        } else {
            EXPECT_EQ(result.Status, TraceStatus::NoLineFound);
            EXPECT_TRUE(result.Points.empty());
            EXPECT_EQ(result.TraceBuffer, std::vector<std::int32_t>(9, -1));
        }
    }
}

// Nothing in an all-black column is brighter than the start value: no line,
// however short the column (it used to be taken as a band of rows 0 .. Y1 - 1).
TEST(Trace, MaxBrightnessFindsNoLineInAnAllBlackColumn)
{
    TestPicture picture(6, 5, kBlack);
    for (int x = 0; x < 3; ++x)
        picture.Set(x, 2, kWhite);
    const TraceResult result = TraceCurve(picture.View(), WholePicture(picture.View()));
    ASSERT_EQ(result.Status, TraceStatus::Traced);
    // The columns without a line are held at the last one found (they used to find rows 0..3, halved: 1).
    EXPECT_EQ(result.TraceBuffer, (std::vector<std::int32_t>{2, 2, 2, 2, 2}));
    const TraceResult black = TraceCurve(TestPicture(6, 5, kBlack).View(), WholePicture(picture.View()));
    EXPECT_EQ(black.Status, TraceStatus::NoLineFound);
}

TEST(Trace, ByColourTakesTheMiddleRowOfAThickLine)
{
    TestPicture picture(10, 20, kWhite);
    for (int x = 0; x < 10; ++x) {
        picture.Mark(x, 7, 3, kRed);
        picture.Set(x, 15, kBlue);
    }
    TraceInput input = WholePicture(picture.View());
    input.Method = TraceMethod::ByColour;
    input.LineColour = kRed;
    const TraceResult result = TraceCurve(picture.View(), input);
    ASSERT_EQ(result.Status, TraceStatus::Traced);
    EXPECT_EQ(result.TraceBuffer, std::vector<std::int32_t>(9, 8));
}

struct ColourCase {
    int colorSens;
    bool found;
};

class TraceColourSensitivity : public testing::TestWithParam<ColourCase> {};

TEST_P(TraceColourSensitivity, ClosestColourMustLieWithinTheSensitivity)
{
    TestPicture picture(6, 12, kWhite);
    for (int x = 0; x < 6; ++x)
        picture.Set(x, 4, Color{200, 10, 0});   // distance 55 + 10 = 65 from red
    TraceInput input = WholePicture(picture.View());
    input.Method = TraceMethod::ByColour;
    input.LineColour = kRed;
    input.ColorSens = GetParam().colorSens;
    const TraceResult result = TraceCurve(picture.View(), input);
    if (GetParam().found) {
        ASSERT_EQ(result.Status, TraceStatus::Traced);
        EXPECT_EQ(result.TraceBuffer, std::vector<std::int32_t>(5, 4));
    } else {
        EXPECT_EQ(result.Status, TraceStatus::NoLineFound);
        EXPECT_TRUE(result.Points.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Trace, TraceColourSensitivity,
                         testing::Values(ColourCase{64, false}, ColourCase{65, true}, ColourCase{500, true}));

// A grid line of the line's colour crossing some columns makes their band
// thicker than the sensitivity; those columns are interpolated.
TEST(Trace, ColumnsCrossedByAGridLineAreInterpolated)
{
    TestPicture picture(13, 40, kWhite);
    for (int x = 0; x < 13; ++x)
        picture.Set(x, 10 + x, kRed);
    for (int x = 4; x <= 6; ++x)
        picture.Set(x, 35, kRed);
    TraceInput input = WholePicture(picture.View());
    input.Method = TraceMethod::ByColour;
    input.LineColour = kRed;
    input.LineSens = 5;
    const TraceResult result = TraceCurve(picture.View(), input);
    ASSERT_EQ(result.Status, TraceStatus::Traced);
    for (std::size_t i = 0; i < result.TraceBuffer.size(); ++i)
        EXPECT_EQ(result.TraceBuffer[i], 10 + static_cast<int>(i)) << "sample " << i;
}

TEST(Trace, BrightnessWeighsRedBy0229)
{
    EXPECT_EQ(PixelBrightness(255, 0, 0), 58);    // 58.395
    EXPECT_EQ(PixelBrightness(0, 255, 0), 150);   // 149.838
    EXPECT_EQ(PixelBrightness(0, 0, 255), 29);    // 29.07
    EXPECT_EQ(PixelBrightness(255, 255, 255), 237);

    // Red 200 weighs 46 against grey 52's 48; with a red weight of 0.299 the
    // red mark would be the brighter one.
    TestPicture picture(3, 10, kBlack);
    for (int x = 0; x < 3; ++x) {
        picture.Set(x, 2, Color{200, 0, 0});
        picture.Set(x, 7, Color{52, 52, 52});
    }
    const TraceResult result = TraceCurve(picture.View(), WholePicture(picture.View()));
    EXPECT_EQ(result.TraceBuffer, std::vector<std::int32_t>(2, 7));
}

// The integer shortcut must agree with the extended-precision sum, above all
// at the exact halves, where the sum's last bit decides (28.5 for blue 250).
TEST(Trace, BrightnessAgreesWithTheExtendedSum)
{
    int halves = 0;
    for (int r = 0; r < 256; ++r) {
        for (int g = 0; g < 256; ++g) {
            for (int b = 0; b < 256; ++b) {
                const bool half = (2290 * r + 5876 * g + 1140 * b) % 10000 == 5000;
                if (!half && (r + g + b) % 61 != 0)
                    continue;
                halves += half ? 1 : 0;
                const long double sum = 0.229L * r + 0.5876L * g + 0.114L * b;
                ASSERT_EQ(PixelBrightness(static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                                          static_cast<std::uint8_t>(b)),
                          static_cast<int>(std::nearbyint(sum)))
                    << r << "," << g << "," << b;
            }
        }
    }
    EXPECT_GT(halves, 3000);
}

struct GapCase {
    std::vector<std::int32_t> raw;
    std::vector<std::int32_t> filled;
};

class TraceGapFilling : public testing::TestWithParam<GapCase> {};

TEST_P(TraceGapFilling, FillsStepByStep)
{
    std::vector<std::int32_t> buffer = GetParam().raw;
    ASSERT_TRUE(FillTraceGaps(buffer));
    EXPECT_EQ(buffer, GetParam().filled);
}

INSTANTIATE_TEST_SUITE_P(
    Trace, TraceGapFilling,
    testing::Values(
        // A leading gap takes the first row found, a trailing one repeats the last.
        GapCase{{-1, -1, 5, -1, -1, -1, 9, -1}, {5, 5, 5, 6, 7, 8, 9, 9}},
        // Each filled entry is rounded before it is the left end of the next:
        // the second entry is round(0.5) = 0, where a straight line gives 1.
        GapCase{{0, -1, -1, 1}, {0, 0, 0, 1}},
        // Halves go to the even row.
        GapCase{{10, -1, 11}, {10, 10, 11}},
        GapCase{{11, -1, 12}, {11, 12, 12}},
        GapCase{{20, -1, -1, -1, 12}, {20, 18, 16, 14, 12}},
        GapCase{{-1, -1, -1, 3}, {3, 3, 3, 3}},
        GapCase{{7}, {7}}));

TEST(Trace, GapFillingWithoutAnyRowLeavesTheBuffer)
{
    std::vector<std::int32_t> buffer(4, -1);
    EXPECT_FALSE(FillTraceGaps(buffer));
    EXPECT_EQ(buffer, std::vector<std::int32_t>(4, -1));
    std::vector<std::int32_t> empty;
    EXPECT_FALSE(FillTraceGaps(empty));
}

struct SamplingCase {
    int width;
    double step;
    std::vector<double> columns;
};

class TraceSampling : public testing::TestWithParam<SamplingCase> {};

TEST_P(TraceSampling, SamplesRoundedPositionsBeforeTheLastColumn)
{
    const SamplingCase& c = GetParam();
    TestPicture picture(c.width, 4, kBlack);
    for (int x = 0; x < c.width; ++x)
        picture.Set(x, 1, kWhite);
    TraceInput input = WholePicture(picture.View());
    input.Step = c.step;
    const TraceResult result = TraceCurve(picture.View(), input);
    EXPECT_EQ(Xs(result), c.columns);
    EXPECT_EQ(result.TraceBuffer.size(), c.columns.size());
}

std::vector<double> EveryOther(int count)
{
    std::vector<double> v;
    for (int i = 0; i < count; ++i)
        v.push_back(2.0 * i);
    return v;
}

INSTANTIATE_TEST_SUITE_P(Trace, TraceSampling,
                         testing::Values(SamplingCase{101, 2.0, EveryOther(50)},   // 0, 2, .., 98
                                         SamplingCase{12, 1.5, {0, 2, 3, 4, 6, 8, 9, 10}},
                                         // Below one pixel: more samples than columns, one entry each.
                                         SamplingCase{5, 0.5, {0, 0, 1, 2, 2, 2, 3}},
                                         SamplingCase{5, 7.0, {0}},
                                         SamplingCase{1, 1.0, {}}));

TEST(Trace, StepInAxisUnitsScalesByPictureOrPlotWidth)
{
    TraceInput input;
    input.Unit = StepUnit::AxisUnits;
    input.XMin = 2.0;
    input.XMax = 12.0;
    input.Step = 0.5;
    input.Plot = PlotRect{0, 0, 400, 300};
    input.Stretched = true;
    EXPECT_EQ(TraceStepPixels(input, 640), 32.0L);
    input.Stretched = false;
    EXPECT_EQ(TraceStepPixels(input, 640), 20.0L);
    input.Unit = StepUnit::Pixels;
    input.Step = 1.5;
    EXPECT_EQ(TraceStepPixels(input, 640), 1.5L);
}

TEST(Trace, AxisUnitStepSamplesEveryNthColumn)
{
    TestPicture picture(64, 8, kBlack);
    for (int x = 0; x < 64; ++x)
        picture.Set(x, 3, kWhite);
    TraceInput input = WholePicture(picture.View());
    input.XMax = 10.0;   // 6.4 pixels per unit
    input.Unit = StepUnit::AxisUnits;
    input.Step = 2.5;    // 16 pixels
    const TraceResult result = TraceCurve(picture.View(), input);
    ASSERT_EQ(result.Points.size(), 4u);
    EXPECT_DOUBLE_EQ(result.Points[1].X, 2.5);
    EXPECT_DOUBLE_EQ(result.Points[3].X, 7.5);
}

TEST(Trace, StepThatIsNotPositiveIsRefusedBeforeTracing)
{
    TestPicture picture(20, 10, kBlack);
    const TraceInput base = WholePicture(picture.View());
    std::vector<TraceInput> inputs;
    for (const double step : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN(),
                              std::numeric_limits<double>::infinity()}) {
        TraceInput input = base;
        input.Step = step;
        inputs.push_back(input);
    }
    for (const double xMax : {0.0, -5.0}) {   // XMax == XMin, XMax < XMin
        TraceInput input = base;
        input.Unit = StepUnit::AxisUnits;
        input.XMax = xMax;
        inputs.push_back(input);
    }
    for (std::size_t k = 0; k < inputs.size(); ++k) {
        SCOPED_TRACE(k);
        int calls = 0;
        EXPECT_THROW(TraceCurve(picture.View(), inputs[k], [&](TracePass, std::size_t, std::size_t) { ++calls; }),
                     TraceError);
        EXPECT_EQ(calls, 0);
    }
}

TEST(Trace, StepTooSmallForTheSampleLimitIsRefused)
{
    TestPicture picture(100, 4, kBlack);
    TraceInput input = WholePicture(picture.View());
    input.Step = 1e-6;
    EXPECT_THROW(TraceCurve(picture.View(), input), TraceError);
    input.Step = 1e-300;   // p + S == p: must not hang either
    EXPECT_THROW(TraceCurve(picture.View(), input), TraceError);
}

struct LimitsCase {
    const char* name;
    bool stretched;
    SurfaceRect region;
    ScanLimits expected;
};

class TraceRegionLimits : public testing::TestWithParam<LimitsCase> {};

// Picture 100 x 50 in a plot area at (10, 20) of 200 x 100 pixels: stretched
// by 1/2 on both axes; at actual size centred with offsets 50 and 25.
TEST_P(TraceRegionLimits, MapsTheRegionOntoPicturePixels)
{
    const LimitsCase& c = GetParam();
    TraceInput input;
    input.Plot = PlotRect{10, 20, 200, 100};
    input.Stretched = c.stretched;
    input.Region = c.region;
    const ScanLimits got = TraceScanLimits(input, 100, 50);
    EXPECT_EQ(got.X0, c.expected.X0);
    EXPECT_EQ(got.X1, c.expected.X1);
    EXPECT_EQ(got.Y0, c.expected.Y0);
    EXPECT_EQ(got.Y1, c.expected.Y1);
}

INSTANTIATE_TEST_SUITE_P(
    Trace, TraceRegionLimits,
    testing::Values(
        LimitsCase{"StretchedInside", true, {30, 40, 110, 70}, {10, 51, 10, 25}},
        // 2.5 and 3.5 rounded to even: 2 and 4; 4.5 -> 4, + 1.
        LimitsCase{"StretchedHalves", true, {15, 27, 19, 29}, {2, 5, 4, 4}},
        LimitsCase{"StretchedBeyondEveryEdge", true, {0, 0, 400, 300}, {0, 100, 0, 49}},
        // Right edge on the last column: X1 = W, the last column is sampled.
        LimitsCase{"StretchedToLastColumn", true, {10, 20, 208, 118}, {0, 100, 0, 49}},
        LimitsCase{"ActualInside", false, {70, 50, 150, 70}, {10, 91, 5, 25}},
        LimitsCase{"ActualBottomBelowPicture", false, {70, 50, 150, 100}, {10, 91, 5, 49}},
        LimitsCase{"ActualBeyondEveryEdge", false, {0, 0, 300, 300}, {0, 100, 0, 49}},
        // Far off the surface: kept wide, then clamped (no 16-bit wrap-around).
        LimitsCase{"FarOutside", false, {-70000, -70000, 70000, 70000}, {0, 100, 0, 49}}),
    [](const testing::TestParamInfo<LimitsCase>& c) { return std::string(c.param.name); });

TEST(Trace, RegionCornersInEitherOrderScanTheSameColumns)
{
    TraceInput input;
    input.Plot = PlotRect{10, 20, 200, 100};
    input.Region = SurfaceRect{30, 40, 110, 70};
    const ScanLimits normal = TraceScanLimits(input, 100, 50);
    input.Region = SurfaceRect{110, 70, 30, 40};
    const ScanLimits swapped = TraceScanLimits(input, 100, 50);
    EXPECT_EQ(swapped.X0, normal.X0);
    EXPECT_EQ(swapped.X1, normal.X1);
    EXPECT_EQ(swapped.Y0, normal.Y0);
    EXPECT_EQ(swapped.Y1, normal.Y1);
}

TEST(Trace, WithoutRegionTheScanSkipsTheRightmostColumn)
{
    const ScanLimits got = TraceScanLimits(TraceInput{}, 100, 50);
    EXPECT_EQ(got.X0, 0);
    EXPECT_EQ(got.X1, 99);
    EXPECT_EQ(got.Y0, 0);
    EXPECT_EQ(got.Y1, 49);
}

// Two bright marks per column make a band too thick for the whole picture; a
// region that holds only one of them finds it.
TEST(Trace, RegionLimitsTheRowsAndColumnsScanned)
{
    TestPicture picture(12, 48, kBlack);
    for (int x = 0; x < 12; ++x) {
        picture.Set(x, 5, kWhite);
        picture.Set(x, 40, kWhite);
    }
    TraceInput input = WholePicture(picture.View());
    input.LineSens = 10;
    EXPECT_EQ(TraceCurve(picture.View(), input).Status, TraceStatus::NoLineFound);

    input.Region = SurfaceRect{2, 0, 8, 20};
    const TraceResult result = TraceCurve(picture.View(), input);
    ASSERT_EQ(result.Status, TraceStatus::Traced);
    EXPECT_EQ(Xs(result), (std::vector<double>{2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(result.TraceBuffer, std::vector<std::int32_t>(7, 5));
}

TEST(Trace, ActualSizeOffsetsHalveTowardZero)
{
    EXPECT_EQ(ActualSizeOffset(PlotRect{0, 0, 201, 101}, 100, 50).X, 50);
    EXPECT_EQ(ActualSizeOffset(PlotRect{0, 0, 201, 101}, 100, 50).Y, 25);
    EXPECT_EQ(ActualSizeOffset(PlotRect{0, 0, 201, 101}, 300, 200).X, -49);
    EXPECT_EQ(ActualSizeOffset(PlotRect{0, 0, 201, 101}, 300, 200).Y, -49);
}

TEST(Trace, ActualSizeValuesIncludeTheOffsets)
{
    TestPicture picture(20, 10, kBlack);
    for (int x = 0; x < 20; ++x)
        picture.Set(x, 4, kWhite);
    TraceInput input;
    input.Plot = PlotRect{5, 7, 60, 30};   // offsets 20 and 10
    input.Stretched = false;
    input.XMin = 0.0;
    input.XMax = 120.0;   // 2 units per pixel
    input.YMin = -30.0;
    input.YMax = 30.0;    // 2 units per pixel
    TraceResult result = TraceCurve(picture.View(), input);
    ASSERT_EQ(result.Points.size(), 19u);
    EXPECT_DOUBLE_EQ(result.Points[0].X, 2.0 * (0 + 20));
    EXPECT_DOUBLE_EQ(result.Points[18].X, 2.0 * (18 + 20));
    EXPECT_DOUBLE_EQ(result.Points[5].Y, -30.0 + 2.0 * (10 + 10 - 4));

    // A region drawn over picture columns 3 .. 6 and rows 2 .. 8.
    input.Region = SurfaceRect{5 + 20 + 3, 7 + 10 + 2, 5 + 20 + 6, 7 + 10 + 8};
    result = TraceCurve(picture.View(), input);
    ASSERT_EQ(result.Points.size(), 4u);
    EXPECT_DOUBLE_EQ(result.Points[0].X, 2.0 * (3 + 20));
    EXPECT_EQ(result.TraceBuffer, std::vector<std::int32_t>(4, 4));
}

TEST(Trace, NothingToScanYieldsNoPoints)
{
    TestPicture picture(20, 10, kBlack);
    for (int x = 0; x < 20; ++x)
        picture.Set(x, 4, kWhite);
    TraceInput input = WholePicture(picture.View());

    // A region dragged right to left or bottom to top is the same rectangle.
    for (const SurfaceRect region : {SurfaceRect{15, 0, 5, 9}, SurfaceRect{5, 9, 15, 0}}) {
        input.Region = region;
        const TraceResult reversed = TraceCurve(picture.View(), input);
        EXPECT_EQ(reversed.Status, TraceStatus::Traced);
        EXPECT_EQ(reversed.TraceBuffer, std::vector<std::int32_t>(11, 4));
    }
    TraceResult result;

    SCOPED_TRACE("empty picture, even with an axis-unit step");
    TestPicture empty(0, 0, kBlack);
    input = WholePicture(empty.View());
    input.Unit = StepUnit::AxisUnits;
    result = TraceCurve(empty.View(), input);
    EXPECT_EQ(result.Status, TraceStatus::NoLineFound);
    EXPECT_TRUE(result.TraceBuffer.empty());
}

TEST(Trace, EmptyPlotAreaIsRefused)
{
    TestPicture picture(20, 10, kBlack);
    TraceInput input = WholePicture(picture.View());
    input.Plot.Height = 0;
    EXPECT_THROW(TraceCurve(picture.View(), input), TraceError);
}

TEST(Trace, ReportsEverySampleOfEachPass)
{
    TestPicture picture(9, 6, kBlack);
    for (int x = 0; x < 9; ++x)
        picture.Set(x, 2, kWhite);
    std::vector<TracePass> passes;
    std::size_t lastTotal = 0;
    TraceCurve(picture.View(), WholePicture(picture.View()), [&](TracePass pass, std::size_t done, std::size_t total) {
        passes.push_back(pass);
        EXPECT_LE(done, total);
        lastTotal = total;
    });
    std::vector<TracePass> expected(8, TracePass::Sampling);
    expected.insert(expected.end(), 8, TracePass::GapFilling);
    expected.insert(expected.end(), 8, TracePass::Values);
    EXPECT_EQ(passes, expected);
    EXPECT_EQ(lastTotal, 8u);
}

// Under the address sanitizer this also shows that a region reaching far past
// every edge reads only the picture's own rows and columns.
TEST(Trace, RegionBeyondThePictureIsClampedToIt)
{
    TestPicture picture(7, 9, kBlack);
    for (int x = 0; x < 7; ++x)
        picture.Set(x, 8 - x, kWhite);
    for (const bool stretched : {true, false}) {
        SCOPED_TRACE(stretched);
        TraceInput input = WholePicture(picture.View());
        input.Plot = PlotRect{3, 4, 20, 30};
        input.Stretched = stretched;
        input.Region = SurfaceRect{-5000, -5000, 5000, 5000};
        const TraceResult result = TraceCurve(picture.View(), input);
        ASSERT_EQ(result.Status, TraceStatus::Traced);
        EXPECT_EQ(result.TraceBuffer, (std::vector<std::int32_t>{8, 7, 6, 5, 4, 3, 2}));
    }
}

// A straight line on a log-log chart from (1, 10) to (1000, 0.01), one pixel
// thick: every traced point lies on it in decades, within half a pixel.
TEST(Trace, LogLogChartGivesPointsOnTheLineInDecades)
{
    constexpr int kSize = 301;
    TestPicture picture(kSize, kSize, kWhite);
    for (int x = 0; x < kSize; ++x)
        picture.Set(x, x, kBlack);
    TraceInput input;
    input.Plot = PlotFilledByPicture(kSize, kSize);
    input.XMin = 1;
    input.XMax = 1000;
    input.YMin = 0.01;
    input.YMax = 10;
    input.XKind.Log = true;
    input.YKind.Log = true;
    input.Method = TraceMethod::ByColour;
    const TraceResult result = TraceCurve(picture.View(), input);
    ASSERT_EQ(result.Status, TraceStatus::Traced);
    ASSERT_EQ(result.Points.size(), static_cast<std::size_t>(kSize - 1));
    const double halfPixel = 0.5 * 3.0 / kSize; // decades
    for (const DataPoint& p : result.Points) {
        // On the line log10(y) = 1 - log10(x), offset by the row's top edge rule.
        EXPECT_NEAR(std::log10(p.Y), 1 - std::log10(p.X), halfPixel + 3.0 / kSize) << p.X;
    }
    // Reversed X: the same pixels read from the right.
    input.XKind.Reversed = true;
    const TraceResult reversed = TraceCurve(picture.View(), input);
    EXPECT_NEAR(reversed.Points.front().X, 1000, 1e-9);
    EXPECT_NEAR(reversed.Points.back().X, std::pow(10.0, 3.0 - 3.0 * (kSize - 2) / kSize), 1e-9);
}
