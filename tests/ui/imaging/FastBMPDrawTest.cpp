#include "ui/imaging/FastBMPDraw.h"

#include "imaging/ImagingTestUtil.h"

#include <gtest/gtest.h>

using namespace quillmark;
using quillmark::testing::RandomBuffer;

TEST(FastBMPDraw, ViewSharesThePixelRows)
{
    const auto buffer = RandomBuffer(5, 3, 8);
    const QImage view = FastBMPImage(*buffer);
    ASSERT_EQ(view.size(), QSize(5, 3));
    EXPECT_EQ(view.constBits(), buffer->PixelData());
    EXPECT_EQ(view.bytesPerLine(), buffer->RowStride());
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            const std::uint8_t* p = buffer->RowTable()[y] + 3 * x;
            EXPECT_EQ(view.pixel(x, y), qRgb(p[2], p[1], p[0])) << x << "," << y;
        }
    EXPECT_TRUE(FastBMPImage(TFastBMP(0, 0)).isNull());
}

TEST(FastBMPDraw, DrawReplacesEveryPixel)
{
    const auto buffer = RandomBuffer(7, 4, 9);
    QImage target(7, 4, QImage::Format_ARGB32);
    target.fill(qRgba(1, 2, 3, 4));
    Draw(*buffer, target, 0, 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 7; ++x) {
            const std::uint8_t* p = buffer->RowTable()[y] + 3 * x;
            EXPECT_EQ(target.pixel(x, y), qRgb(p[2], p[1], p[0])) << x << "," << y;
        }
}
