#include "imaging/FastBMP.h"

#include "ImagingTestUtil.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace quillmark;
using quillmark::testing::Bgr;
using quillmark::testing::PixelAt;

TEST(FastBMP, RowsArePaddedToFourBytes)
{
    struct Case { int width; int padding; int stride; };
    for (const Case c : {Case{1, 1, 4}, Case{2, 2, 8}, Case{3, 3, 12}, Case{4, 0, 12}, Case{5, 1, 16}}) {
        SCOPED_TRACE(c.width);
        const TFastBMP buffer(c.width, 3);
        EXPECT_EQ(buffer.Width(), c.width);
        EXPECT_EQ(buffer.Height(), 3);
        EXPECT_EQ(buffer.RowPadding(), c.padding);
        EXPECT_EQ(buffer.RowStride(), c.stride);
        EXPECT_EQ(buffer.DataSize(), 3 * c.stride);
        for (int y = 0; y < 3; ++y)
            EXPECT_EQ(buffer.RowTable()[y], buffer.PixelData() + y * c.stride);
    }
}

TEST(FastBMP, EmptyBufferHoldsNoPixels)
{
    Bitmap none;
    const auto buffer = TFastBMP::CreateFromBitmap(none);
    EXPECT_TRUE(buffer->Empty());
    EXPECT_EQ(buffer->DataSize(), 0);
    EXPECT_TRUE(buffer->Pixels().empty());
    const auto copy = TFastBMP::CreateCopy(*buffer);
    EXPECT_EQ(copy->Width(), 0);
    EXPECT_EQ(copy->Height(), 0);
}

TEST(FastBMP, SizeGuardApplies)
{
    EXPECT_THROW(TFastBMP(65536, 1), InvalidGraphicError);
    EXPECT_THROW(TFastBMP(-1, 1), InternalError);
}

TEST(FastBMP, CopyIsIndependent)
{
    const auto source = quillmark::testing::RandomBuffer(7, 5, 1);
    const auto copy = TFastBMP::CreateCopy(*source);
    ASSERT_EQ(copy->Width(), 7);
    ASSERT_EQ(copy->Height(), 5);
    ASSERT_EQ(quillmark::testing::FirstDifference(*source, *copy), -1);
    EXPECT_NE(copy->PixelData(), source->PixelData());
    const Bgr before = PixelAt(*source, 3, 2);
    copy->RowTable()[2][9] ^= 0xff;
    EXPECT_EQ(PixelAt(*source, 3, 2), before);
    EXPECT_NE(PixelAt(*copy, 3, 2), before);
}

namespace {

Bitmap IndexedBitmap(PixelFormat format, int width, std::initializer_list<std::uint8_t> row)
{
    Bitmap b;
    b.Allocate(format, width, 1);
    std::copy(row.begin(), row.end(), b.Row(0).begin());
    b.Palette = {{10, 20, 30}, {200, 100, 50}, {1, 2, 3}, {4, 5, 6}};
    b.Palette.resize(16);
    b.Palette[15] = {255, 0, 128};
    return b;
}

} // namespace

TEST(FastBMP, PaletteIsExpandedMostSignificantBitsFirst)
{
    const Bgr c0{30, 20, 10};
    const Bgr c1{50, 100, 200};
    const Bgr c15{128, 0, 255};
    {
        SCOPED_TRACE("1 bit");
        // 1011 0000, 1 : pixels 0..8 = 1 0 1 1 0 0 0 0 1
        const auto buffer = TFastBMP::CreateFromBitmap(IndexedBitmap(PixelFormat::Bits1, 9, {0xb0, 0x80}));
        const Bgr expected[] = {c1, c0, c1, c1, c0, c0, c0, c0, c1};
        for (int x = 0; x < 9; ++x)
            EXPECT_EQ(PixelAt(*buffer, x, 0), expected[x]) << "x " << x;
    }
    {
        SCOPED_TRACE("4 bit");
        const auto buffer = TFastBMP::CreateFromBitmap(IndexedBitmap(PixelFormat::Bits4, 3, {0x1f, 0x00}));
        EXPECT_EQ(PixelAt(*buffer, 0, 0), c1);
        EXPECT_EQ(PixelAt(*buffer, 1, 0), c15);
        EXPECT_EQ(PixelAt(*buffer, 2, 0), c0);
    }
    {
        SCOPED_TRACE("8 bit, index past the palette reads black");
        const auto buffer = TFastBMP::CreateFromBitmap(IndexedBitmap(PixelFormat::Bits8, 4, {15, 1, 0, 200}));
        EXPECT_EQ(PixelAt(*buffer, 0, 0), c15);
        EXPECT_EQ(PixelAt(*buffer, 1, 0), c1);
        EXPECT_EQ(PixelAt(*buffer, 2, 0), c0);
        EXPECT_EQ(PixelAt(*buffer, 3, 0), (Bgr{0, 0, 0}));
    }
}

TEST(FastBMP, SixteenBitPixelsAreScaledToFullRange)
{
    struct Case { PixelFormat format; std::uint16_t value; Bgr expected; };
    const Case cases[] = {
        {PixelFormat::Bits15, 0x7fff, {255, 255, 255}},
        {PixelFormat::Bits15, 0x7c00, {0, 0, 255}},
        {PixelFormat::Bits15, 0x03e0, {0, 255, 0}},
        {PixelFormat::Bits15, 0x001f, {255, 0, 0}},
        {PixelFormat::Bits15, 0x8000, {0, 0, 0}},          // the unused top bit is ignored
        {PixelFormat::Bits15, (16 << 10) | (1 << 5) | 3, {25, 8, 132}},
        {PixelFormat::Bits16, 0xffff, {255, 255, 255}},
        {PixelFormat::Bits16, 0xf800, {0, 0, 255}},
        {PixelFormat::Bits16, 0x07e0, {0, 255, 0}},
        {PixelFormat::Bits16, 0x001f, {255, 0, 0}},
        {PixelFormat::Bits16, (32 << 5) | 16, {132, 130, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << BitsPerPixel(c.format) << " bits, 0x" << std::hex << c.value);
        Bitmap b;
        b.Allocate(c.format, 2, 1);
        b.Row(0)[2] = static_cast<std::uint8_t>(c.value & 0xff);
        b.Row(0)[3] = static_cast<std::uint8_t>(c.value >> 8);
        const auto buffer = TFastBMP::CreateFromBitmap(b);
        EXPECT_EQ(PixelAt(*buffer, 0, 0), (Bgr{0, 0, 0}));
        EXPECT_EQ(PixelAt(*buffer, 1, 0), c.expected);
    }
}

TEST(FastBMP, TrueColourRowsKeepTheirBytes)
{
    Bitmap b24;
    b24.Allocate(PixelFormat::Bits24, 5, 3);
    Bitmap b32;
    b32.Allocate(PixelFormat::Bits32, 5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            const Bgr c{static_cast<std::uint8_t>(x * 50), static_cast<std::uint8_t>(y * 70 + 1), static_cast<std::uint8_t>(x + y)};
            std::memcpy(b24.Row(y).data() + 3 * x, &c, 3);
            std::memcpy(b32.Row(y).data() + 4 * x, &c, 3);
            b32.Row(y)[static_cast<std::size_t>(4 * x + 3)] = 0x5a; // alpha is dropped
        }
    const auto from24 = TFastBMP::CreateFromBitmap(b24);
    const auto from32 = TFastBMP::CreateFromBitmap(b32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            const Bgr c{static_cast<std::uint8_t>(x * 50), static_cast<std::uint8_t>(y * 70 + 1), static_cast<std::uint8_t>(x + y)};
            EXPECT_EQ(PixelAt(*from24, x, y), c) << x << "," << y;
            EXPECT_EQ(PixelAt(*from32, x, y), c) << x << "," << y;
        }
}
