#include "digitize/TracePrecise.h"

#include "TestPicture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace quillmark;
using quillmark::test::kBlack;
using quillmark::test::kWhite;
using quillmark::test::TestPicture;

namespace {

constexpr Color kLine{200, 30, 40};

// Column x covered by the line from row a to row b (real, edges): each
// pixel blends the line over white by the part of it the line covers.
void Band(TestPicture& picture, int x, double a, double b, int height)
{
    for (int y = 0; y < height; ++y) {
        const double cover = std::clamp(std::min(b, y + 1.0) - std::max(a, double(y)), 0.0, 1.0);
        const auto mix = [cover](int line, int back) {
            return static_cast<std::uint8_t>(std::lround(back + (line - back) * cover));
        };
        picture.Set(x, y, Color{mix(kLine.Red, 255), mix(kLine.Green, 255), mix(kLine.Blue, 255)});
    }
}

TraceInput ByColour(const TFastRGB& view)
{
    TraceInput input = quillmark::test::WholePicture(view);
    input.Method = TraceMethod::ByColour;
    input.LineColour = kLine;
    input.ColorSens = 300;
    return input;
}

} // namespace

TEST(TracePrecise, SubPixelCentresOfAntiAliasedBandsWithinFiveHundredthsOfAPixel)
{
    // Bands 1 to 6 pixels wide, starting at every quarter of a pixel.
    constexpr int kHeight = 40;
    TestPicture picture(97, kHeight, kWhite);
    std::vector<double> centres;
    for (int x = 0; x < 96; ++x) {
        const double width = 1 + (x % 6);
        const double top = 10 + 0.25 * (x / 6) + 0.1 * (x % 3);
        Band(picture, x, top, top + width, kHeight);
        centres.push_back(top + width / 2);
    }
    TraceInput input = ByColour(picture.View());
    input.Precise.SubPixel = true;
    const TraceResult result = TraceCurve(picture.View(), input);
    ASSERT_EQ(result.Points.size(), 96u);
    EXPECT_EQ(result.Found, 96u);
    for (std::size_t i = 0; i < 96; ++i) {
        SCOPED_TRACE(i);
        // Values at pixel centres: X = column + 0.5, Y = height - centre.
        EXPECT_EQ(result.Points[i].X, i + 0.5);
        EXPECT_NEAR(result.Points[i].Y, kHeight - centres[i], 0.05);
    }
    // The same by brightness, on the negative.
    TestPicture dark(2, kHeight, kBlack);
    for (int y = 0; y < kHeight; ++y) {
        const double cover = std::clamp(std::min(23.6, y + 1.0) - std::max(20.3, double(y)), 0.0, 1.0);
        const auto v = static_cast<std::uint8_t>(std::lround(255 * cover));
        dark.Set(0, y, Color{v, v, v});
    }
    TraceInput bright = ByColour(dark.View());
    bright.Method = TraceMethod::MaxBrightness;
    bright.Precise.SubPixel = true;
    EXPECT_NEAR(TraceCurve(dark.View(), bright).Points.at(0).Y, kHeight - 21.95, 0.05);
}

TEST(TracePrecise, FoundAndFilledPointsAreCountedAndGapsCanStayOpen)
{
    TestPicture picture(21, 30, kWhite);
    for (int x = 0; x < 20; ++x)
        if (x < 5 || x >= 12)
            picture.Mark(x, 10, 2, kLine);
    TraceInput input = ByColour(picture.View());
    const TraceResult filled = TraceCurve(picture.View(), input);
    EXPECT_EQ(filled.Samples, 20u);
    EXPECT_EQ(filled.Found, 13u);
    ASSERT_EQ(filled.Points.size(), 20u);
    EXPECT_EQ(std::count_if(filled.Points.begin(), filled.Points.end(), [](const DataPoint& p) { return p.Filled; }),
              7);
    EXPECT_TRUE(filled.Points[7].Filled);
    EXPECT_FALSE(filled.Points[4].Filled);

    input.Precise.NoFill = true;
    const TraceResult open = TraceCurve(picture.View(), input);
    EXPECT_EQ(open.Found, 13u);
    ASSERT_EQ(open.Points.size(), 13u);
    EXPECT_EQ(open.Points[4].X, 4);
    EXPECT_EQ(open.Points[5].X, 12);
    EXPECT_TRUE(std::none_of(open.Points.begin(), open.Points.end(), [](const DataPoint& p) { return p.Filled; }));
}

TEST(TracePrecise, FollowingTheLinePastALegendSampleAndASecondCurve)
{
    // A rising line; a legend sample of the same colour across columns
    // 20 .. 34 at row 5, and a second curve at rows 50 .. 51 in 40 .. 59.
    TestPicture picture(61, 60, kWhite);
    for (int x = 0; x < 60; ++x)
        picture.Mark(x, 40 - x / 2, 2, kLine);
    for (int x = 20; x < 35; ++x)
        picture.Mark(x, 5, 2, kLine);
    for (int x = 40; x < 60; ++x)
        picture.Mark(x, 50 + (x % 2), 2, kLine);
    TraceInput input = ByColour(picture.View());
    input.ColorSens = 40;
    input.LineSens = 5;
    const TraceResult plain = TraceCurve(picture.View(), input);
    EXPECT_EQ(plain.Found, 25u);   // every column with two bands is refused
    input.Precise.Follow = true;
    const TraceResult followed = TraceCurve(picture.View(), input);
    EXPECT_EQ(followed.Found, 60u);
    for (std::size_t x = 0; x < 60; ++x)
        EXPECT_EQ(followed.TraceBuffer[x], 40 - int(x) / 2) << x;
}

TEST(TracePrecise, AutoSensitivityFitsAFaintLine)
{
    // A faint line, 60 off the colour asked for, over a white background
    // 420 off: the default sensitivity 50 finds nothing.
    TestPicture picture(41, 30, kWhite);
    for (int x = 0; x < 40; ++x)
        picture.Mark(x, 12, 2, Color{230, 60, 70});
    TraceInput input = ByColour(picture.View());
    input.ColorSens = 50;
    EXPECT_EQ(TraceCurve(picture.View(), input).Status, TraceStatus::NoLineFound);
    input.Precise.AutoSens = true;
    const TraceResult result = TraceCurve(picture.View(), input);
    EXPECT_EQ(result.Found, 40u);
    EXPECT_GE(result.ColourSensitivity, 60);
    EXPECT_LT(result.ColourSensitivity, 420);
}
