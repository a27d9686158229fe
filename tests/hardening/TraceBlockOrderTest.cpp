// The sampling pass walks rows once for a block of neighbouring samples; its
// rows must be exactly those of examining each column on its own, for every
// step (duplicate columns below 1, gaps above), both methods and regions that
// cut the rows.
#include "digitize/Trace.h"
#include "imaging/FastBMP.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace quillmark {
namespace {

// Noise with few levels, so that ties (bands of equal value) are common.
std::unique_ptr<TFastBMP> NoisyPicture(int width, int height, unsigned seed)
{
    auto picture = std::make_unique<TFastBMP>(width, height);
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> level(0, 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < 3 * width; ++x)
            picture->RowTable()[y][x] = static_cast<std::uint8_t>(level(random) * 85);
    return picture;
}

std::vector<std::int32_t> ColumnByColumn(const TFastRGB& picture, const TraceInput& input)
{
    const ScanLimits limits = TraceScanLimits(input, picture.Width(), picture.Height());
    const long double step = TraceStepPixels(input, picture.Width());
    std::vector<std::int32_t> rows;
    for (long double p = static_cast<long double>(limits.X0); std::nearbyint(p) < limits.X1; p += step)
        rows.push_back(ExamineColumn(picture, static_cast<std::int64_t>(std::nearbyint(p)), limits.Y0, limits.Y1, input));
    FillTraceGaps(rows);
    return rows;
}

TEST(TraceBlockOrder, SameRowsAsColumnByColumn)
{
    const auto picture = NoisyPicture(301, 97, 7);
    for (const TraceMethod method : {TraceMethod::MaxBrightness, TraceMethod::ByColour}) {
        for (const double step : {0.3, 1.0, 1.5, 2.0, 7.25, 140.0}) {
            for (const bool region : {false, true}) {
                SCOPED_TRACE(testing::Message() << "method " << static_cast<int>(method) << " step " << step
                                                << " region " << region);
                TraceInput input;
                input.Plot = PlotFilledByPicture(picture->Width(), picture->Height());
                input.Method = method;
                input.Step = step;
                input.LineSens = 60;
                input.ColorSens = 400;
                input.LineColour = Color{170, 85, 255};
                if (region)
                    input.Region = SurfaceRect{13, 20, 250, 70};
                std::size_t reports = 0;
                const TraceResult result =
                    TraceCurve(*picture, input, [&](TracePass pass, std::size_t done, std::size_t total) {
                        if (pass == TracePass::Sampling) {
                            ++reports;
                            EXPECT_EQ(done, reports);
                            EXPECT_LE(done, total);
                        }
                    });
                const auto expected = ColumnByColumn(*picture, input);
                ASSERT_EQ(result.TraceBuffer.size(), expected.size());
                EXPECT_EQ(reports, expected.size());
                EXPECT_EQ(result.TraceBuffer, expected);
            }
        }
    }
}

} // namespace
} // namespace quillmark
