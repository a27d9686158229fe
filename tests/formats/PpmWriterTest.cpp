#include "formats/PpmWriter.h"

#include <gtest/gtest.h>

#include <string>

using namespace quillmark;

namespace {

std::vector<std::uint8_t> Bytes(std::string_view header, std::initializer_list<int> pixels)
{
    std::vector<std::uint8_t> out(header.begin(), header.end());
    for (const int v : pixels)
        out.push_back(static_cast<std::uint8_t>(v));
    return out;
}


} // namespace

TEST(Ppm, TrueColourRowsLoseTheirPaddingAndTurnToRgb)
{
    Bitmap b;
    b.Allocate(PixelFormat::Bits24, 2, 2); // rows of 8 bytes: 2 of padding
    const std::uint8_t bgr[2][6] = {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}};
    for (int y = 0; y < 2; ++y)
        std::copy(std::begin(bgr[y]), std::end(bgr[y]), b.Row(y).begin());
    EXPECT_EQ(EncodePpm(b), Bytes("P6\n2 2\n255\n", {3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10}));

    Bitmap wide;
    wide.Allocate(PixelFormat::Bits32, 1, 1);
    const std::uint8_t bgra[] = {10, 20, 30, 40};
    std::copy(std::begin(bgra), std::end(bgra), wide.Row(0).begin());
    EXPECT_EQ(EncodePpm(wide), Bytes("P6\n1 1\n255\n", {30, 20, 10}));
}

TEST(Ppm, PaletteAndPackedPixelsAreExpanded)
{
    const std::vector<Color> palette = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {1, 2, 3}};
    struct Case {
        PixelFormat format;
        std::vector<std::uint8_t> row;
        std::vector<std::uint8_t> expected;
    };
    const Case cases[] = {
        // 1 bit: most significant bit first.
        {PixelFormat::Bits1, {0b0100'0000}, Bytes("P6\n3 1\n255\n", {0, 0, 0, 255, 0, 0, 0, 0, 0})},
        // 4 bits: high nibble first; an index beyond the palette is black.
        {PixelFormat::Bits4, {0x23, 0xF0}, Bytes("P6\n3 1\n255\n", {0, 255, 0, 1, 2, 3, 0, 0, 0})},
        {PixelFormat::Bits8, {3, 1, 200}, Bytes("P6\n3 1\n255\n", {1, 2, 3, 255, 0, 0, 0, 0, 0})},
        // 5-5-5 and 5-6-5, little-endian: full red, full green, full blue.
        {PixelFormat::Bits15, {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00}, Bytes("P6\n3 1\n255\n", {255, 0, 0, 0, 255, 0, 0, 0, 255})},
        {PixelFormat::Bits16, {0x00, 0xF8, 0xE0, 0x07, 0x10, 0x00}, Bytes("P6\n3 1\n255\n", {255, 0, 0, 0, 255, 0, 0, 0, 132})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(BitsPerPixel(c.format));
        Bitmap b;
        b.Allocate(c.format, 3, 1);
        b.Palette = palette;
        std::copy(c.row.begin(), c.row.end(), b.Row(0).begin());
        EXPECT_EQ(EncodePpm(b), c.expected);
    }
}

TEST(Ppm, EmptyPictureHasOnlyTheHeader)
{
    EXPECT_EQ(EncodePpm(Bitmap()), Bytes("P6\n0 0\n255\n", {}));
}

TEST(Ppm, BgrRowsStreamInPiecesAndSwapInPlace)
{
    // 1001 x 400 pixels make more than one megabyte piece and rows whose
    // length is no multiple of the 12-byte steps of the vector swap.
    constexpr int width = 1001, height = 400;
    const std::size_t bytes = std::size_t{3} * width;
    std::vector<std::uint8_t> pixels(bytes * height + quillmark::kPixelSpareBytes);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<std::uint8_t>(i * 7 + i / 3);
    std::vector<const std::uint8_t*> rows;
    for (int y = 0; y < height; ++y)
        rows.push_back(pixels.data() + bytes * static_cast<std::size_t>(y));

    std::vector<std::uint8_t> streamed;
    int pieces = 0;
    quillmark::StreamBgrPpm(width, height, rows.data(), [&](std::span<const std::uint8_t> piece) {
        streamed.insert(streamed.end(), piece.begin(), piece.end());
        ++pieces;
    });
    const std::string header = "P6\n1001 400\n255\n";
    ASSERT_EQ(streamed.size(), header.size() + bytes * height);
    EXPECT_GT(pieces, 2);
    for (std::size_t i = 0; i < bytes * height; ++i)
        ASSERT_EQ(streamed[header.size() + i], pixels[i - i % 3 + 2 - i % 3]) << i;

    std::vector<std::uint8_t> row(pixels.begin(), pixels.begin() + static_cast<std::ptrdiff_t>(bytes));
    quillmark::SwapRedBlueRow(row.data(), row.data(), bytes);
    for (std::size_t i = 0; i < bytes; ++i)
        ASSERT_EQ(row[i], pixels[i - i % 3 + 2 - i % 3]) << i;
}
