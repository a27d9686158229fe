#include "imaging/AdjustmentPipeline.h"

#include "ImagingTestUtil.h"
#include "imaging/FastFX.h"

#include <gtest/gtest.h>

using namespace quillmark;
using quillmark::testing::Bgr;
using quillmark::testing::FirstDifference;
using quillmark::testing::PixelAt;
using quillmark::testing::RandomBuffer;
using quillmark::testing::SetPixel;

TEST(AdjustmentPipeline, StartValuesCopyTheSource)
{
    const auto source = RandomBuffer(9, 4, 1);
    SetPixel(*source, 0, 0, {0, 0, 255}); // a saturation of 255 would change this pixel
    auto work = RandomBuffer(9, 4, 2);
    RunAdjustmentPipeline(*source, *work, {});
    EXPECT_EQ(FirstDifference(*source, *work), -1);
}

TEST(AdjustmentPipeline, NegativeComesBeforeCutOff)
{
    TFastBMP source(1, 1);
    SetPixel(source, 0, 0, {10, 100, 200});
    TFastBMP work(1, 1);
    AdjustmentValues values;
    values.Invert = true;
    values.CuttingOff = 100;
    RunAdjustmentPipeline(source, work, values);
    EXPECT_EQ(PixelAt(work, 0, 0), (Bgr{245, 155, 0}));
    EXPECT_EQ(PixelAt(source, 0, 0), (Bgr{10, 100, 200}));
}

TEST(AdjustmentPipeline, StepsRunInOrderWithTheirAmounts)
{
    const auto source = RandomBuffer(31, 17, 3);
    AdjustmentValues values;
    values.Rotate = 12.5;
    values.Invert = true;
    values.Contrast = 400;
    values.Lightness = 100;
    values.Saturation = 300;
    values.CuttingOff = 60;
    values.GaussianBlur = 3;
    auto work = TFastBMP::CreateCopy(*source);
    RunAdjustmentPipeline(*source, *work, values);

    auto expected = TFastBMP::CreateCopy(*source);
    RotateInto(*source, *expected, 16, 8, -12.5);
    reference::Invert(*expected);
    reference::Contrast(*expected, 145);
    reference::Lightness(*expected, -155);
    reference::Saturation(*expected, 300);
    reference::CuttingOff(*expected, 60);
    for (int d = 3; d >= 1; --d)
        reference::BlurPass(*expected, d);
    EXPECT_EQ(FirstDifference(*work, *expected), -1);
}

TEST(AdjustmentPipeline, RunsStartFromTheSourceEveryTime)
{
    const auto source = RandomBuffer(8, 8, 4);
    auto work = TFastBMP::CreateCopy(*source);
    AdjustmentValues values;
    values.Lightness = 50;
    RunAdjustmentPipeline(*source, *work, values);
    auto once = TFastBMP::CreateCopy(*work);
    RunAdjustmentPipeline(*source, *work, values);
    EXPECT_EQ(FirstDifference(*work, *once), -1);
}

// The centre is Width / 2 and Height / 2 rounded half to even: 2 for 5, 4 for
// 7. A half turn about it mirrors the picture through that pixel.
TEST(AdjustmentPipeline, HalfTurnUsesEvenRoundedCentre)
{
    for (const int size : {5, 7}) {
        SCOPED_TRACE(size);
        TFastBMP source(size, size);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                SetPixel(source, x, y, {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 0});
        TFastBMP work(size, size);
        AdjustmentValues values;
        values.Rotate = 180;
        RunAdjustmentPipeline(source, work, values);
        const int twice = size == 5 ? 4 : 8;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                ASSERT_EQ(PixelAt(work, x, y), PixelAt(source, (twice - x) % size, (twice - y) % size)) << x << "," << y;
    }
}

TEST(AdjustmentPipeline, RefusesMismatchedWorkBuffer)
{
    TFastBMP source(4, 3);
    TFastBMP work(3, 4);
    EXPECT_THROW(RunAdjustmentPipeline(source, work, {}), InternalError);
    EXPECT_THROW(RunAdjustmentPipeline(source, source, {}), InternalError);
    TFastBMP empty(0, 0);
    TFastBMP emptyWork(0, 0);
    AdjustmentValues values;
    values.Rotate = 30;
    values.GaussianBlur = 5;
    values.Saturation = 0;
    EXPECT_NO_THROW(RunAdjustmentPipeline(empty, emptyWork, values));
}
