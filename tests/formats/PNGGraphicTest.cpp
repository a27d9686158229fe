#include "formats/PNGGraphic.h"

#include "PictureCompare.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

using namespace quillmark;
using namespace quillmark::test;

namespace {

using Bytes = std::vector<std::uint8_t>;

void PutU32(Bytes& out, std::uint32_t v)
{
    out.insert(out.end(), {static_cast<std::uint8_t>(v >> 24), static_cast<std::uint8_t>(v >> 16),
                           static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)});
}

// Samples of a picture: Width x Height pixels of Samples values each.
struct Samples {
    std::uint32_t Width = 0;
    std::uint32_t Height = 0;
    unsigned Depth = 8;
    unsigned SamplesPerPixel = 1;
    std::vector<std::uint16_t> Values;

    std::uint16_t At(std::uint32_t x, std::uint32_t y, unsigned s) const
    {
        return Values[(std::size_t{y} * Width + x) * SamplesPerPixel + s];
    }
};

Samples Pattern(std::uint32_t width, std::uint32_t height, unsigned depth, unsigned samples,
                std::uint32_t seed = 1)
{
    Samples p{width, height, depth, samples, {}};
    const std::uint32_t max = (1u << depth) - 1;
    std::uint32_t state = seed;
    for (std::size_t i = 0; i < std::size_t{width} * height * samples; ++i) {
        state = state * 1103515245u + 12345u;
        p.Values.push_back(static_cast<std::uint16_t>((state >> 8) & max));
    }
    return p;
}

// Packs the given pixels of row y, most significant bit first, 16-bit values
// big-endian, behind a filter byte.
Bytes PackRow(const Samples& p, std::uint32_t y, std::uint32_t firstX, std::uint32_t stepX, std::uint8_t filter)
{
    Bytes row{filter};
    unsigned bitPos = 0;
    for (std::uint32_t x = firstX; x < p.Width; x += stepX) {
        for (unsigned s = 0; s < p.SamplesPerPixel; ++s) {
            const std::uint16_t v = p.At(x, y, s);
            if (p.Depth == 16) {
                row.push_back(static_cast<std::uint8_t>(v >> 8));
                row.push_back(static_cast<std::uint8_t>(v));
            } else if (p.Depth == 8) {
                row.push_back(static_cast<std::uint8_t>(v));
            } else {
                if (bitPos % 8 == 0)
                    row.push_back(0);
                row.back() = static_cast<std::uint8_t>(row.back() | (v << (8 - p.Depth - bitPos % 8)));
                bitPos += p.Depth;
            }
        }
    }
    return row;
}

Bytes RawImage(const Samples& p, bool interlaced, std::uint8_t filter = 0)
{
    Bytes raw;
    if (!interlaced) {
        for (std::uint32_t y = 0; y < p.Height; ++y) {
            const Bytes row = PackRow(p, y, 0, 1, filter);
            raw.insert(raw.end(), row.begin(), row.end());
        }
        return raw;
    }
    const std::array<std::array<std::uint32_t, 4>, 7> passes{{
        {0, 0, 8, 8}, {0, 4, 8, 8}, {4, 0, 8, 4}, {0, 2, 4, 4}, {2, 0, 4, 2}, {0, 1, 2, 2}, {1, 0, 2, 1}}};
    for (const auto& [startRow, startColumn, rowStep, columnStep] : passes) {
        if (startColumn >= p.Width)
            continue;
        for (std::uint32_t y = startRow; y < p.Height; y += rowStep) {
            const Bytes row = PackRow(p, y, startColumn, columnStep, filter);
            raw.insert(raw.end(), row.begin(), row.end());
        }
    }
    return raw;
}

Bytes Deflate(const Bytes& raw)
{
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    Bytes out(size);
    EXPECT_EQ(compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 9), Z_OK);
    out.resize(size);
    return out;
}

// Builds PNG files chunk by chunk with correct lengths and CRCs, so that each
// bad file reaches the check it is made for.
class PngBuilder {
public:
    PngBuilder() : m_bytes{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A} {}

    PngBuilder& Chunk(const std::string& type, const Bytes& data)
    {
        PutU32(m_bytes, static_cast<std::uint32_t>(data.size()));
        Bytes typed(type.begin(), type.end());
        typed.insert(typed.end(), data.begin(), data.end());
        m_bytes.insert(m_bytes.end(), typed.begin(), typed.end());
        PutU32(m_bytes, static_cast<std::uint32_t>(crc32(0, typed.data(), static_cast<uInt>(typed.size()))));
        return *this;
    }
    PngBuilder& Ihdr(std::uint32_t width, std::uint32_t height, unsigned depth, unsigned colorType,
                     bool interlaced = false, std::uint8_t compression = 0)
    {
        Bytes data;
        PutU32(data, width);
        PutU32(data, height);
        data.insert(data.end(), {static_cast<std::uint8_t>(depth), static_cast<std::uint8_t>(colorType),
                                 compression, 0, static_cast<std::uint8_t>(interlaced ? 1 : 0)});
        return Chunk("IHDR", data);
    }
    // The zlib stream split into IDAT chunks of at most pieceSize bytes.
    PngBuilder& Idat(const Bytes& zlibStream, std::size_t pieceSize = 1 << 20)
    {
        for (std::size_t at = 0; at < zlibStream.size(); at += pieceSize) {
            const auto end = std::min(zlibStream.size(), at + pieceSize);
            Chunk("IDAT", Bytes(zlibStream.begin() + static_cast<std::ptrdiff_t>(at),
                                zlibStream.begin() + static_cast<std::ptrdiff_t>(end)));
        }
        return *this;
    }
    Bytes End() { return Chunk("IEND", {}).m_bytes; }

private:
    Bytes m_bytes;
};

unsigned ColorTypeSamples(unsigned colorType)
{
    switch (colorType) {
    case 2: return 3;
    case 4: return 2;
    case 6: return 4;
    default: return 1;
    }
}

Bytes GreyPalette(unsigned depth)
{
    Bytes plte;
    const unsigned entries = 1u << depth;
    for (unsigned i = 0; i < entries; ++i)
        plte.insert(plte.end(), {static_cast<std::uint8_t>(i * 7), static_cast<std::uint8_t>(255 - i),
                                 static_cast<std::uint8_t>(i * 3)});
    return plte;
}

Bytes Png(const Samples& p, unsigned colorType, bool interlaced, std::size_t pieceSize = 1 << 20)
{
    PngBuilder b;
    b.Ihdr(p.Width, p.Height, p.Depth, colorType, interlaced);
    if (colorType == 3)
        b.Chunk("PLTE", GreyPalette(p.Depth));
    return b.Idat(Deflate(RawImage(p, interlaced)), pieceSize).End();
}

template <typename F>
std::string ErrorOf(F&& f)
{
    try {
        f();
    } catch (const QuillmarkError& e) {
        return e.what();
    }
    return "no error";
}

std::string LoadError(const Bytes& file)
{
    TPNGGraphic g;
    return ErrorOf([&] { g.ReadPicture(file); });
}

RgbImage Decode(const Bytes& file)
{
    TPNGGraphic g;
    g.ReadPicture(file);
    return ToRgb(g);
}

const std::string kInvalid = "Cannot load image. Invalid or unexpected PNG image format.";
const std::string kCrc = "Cannot load image. CRC error found in PNG file.";
const std::string kPalette = "Cannot load image. Palette in PNG file is invalid.";
const std::string kCritical = "Cannot load PNG image. Unexpected but critical chunk detected.";
const std::string kCompression = "Cannot load image. Compression error found in PNG file.";
const std::string kExtra = "Cannot load image. Extra compressed data found in PNG file.";
const std::string kColorFormat = "Invalid color format in PNG file.";

} // namespace

TEST(Png, ZeroWidthOrHeightIsInvalidFormat)
{
    const Bytes zlib = Deflate(Bytes{0, 0, 0, 0});
    EXPECT_EQ(LoadError(PngBuilder().Ihdr(0, 1, 8, 2).Idat(zlib).End()), kInvalid);
    EXPECT_EQ(LoadError(PngBuilder().Ihdr(1, 0, 8, 2).Idat(zlib).End()), kInvalid);
    EXPECT_EQ(LoadError(PngBuilder().Ihdr(1, 1, 8, 2).Idat(zlib).End()), "no error");
}

TEST(Png, HeaderRulesReportTheirOwnMessage)
{
    const Bytes zlib = Deflate(Bytes{0, 0, 0, 0});
    EXPECT_EQ(LoadError(PngBuilder().Ihdr(1, 1, 8, 2, false, 1).Idat(zlib).End()),
              "Cannot load image. The compression scheme is not supported for PNG files.");
    struct Case { unsigned depth; unsigned colorType; };
    for (const Case c : {Case{16, 3}, Case{4, 2}, Case{3, 0}, Case{1, 4}, Case{2, 6}, Case{8, 5}, Case{8, 1}}) {
        SCOPED_TRACE(std::to_string(c.depth) + " bits, colour type " + std::to_string(c.colorType));
        EXPECT_EQ(LoadError(PngBuilder().Ihdr(1, 1, c.depth, c.colorType).Idat(zlib).End()), kColorFormat);
    }
    EXPECT_EQ(LoadError(PngBuilder().Ihdr(65536, 1, 8, 0).Idat(zlib).End()),
              "Cannot load image. Picture of 65536x1 pixels is too large.");
}

TEST(Png, UnknownAncillaryChunkLoadsButUnknownCriticalChunkFails)
{
    const Samples p = Pattern(3, 2, 8, 3);
    const Bytes zlib = Deflate(RawImage(p, false));
    const Bytes ancillary = PngBuilder().Ihdr(3, 2, 8, 2).Chunk("quIK", {1, 2, 3}).Idat(zlib).End();
    EXPECT_EQ(LoadError(ancillary), "no error");
    EXPECT_EQ(LoadError(PngBuilder().Ihdr(3, 2, 8, 2).Chunk("QuIK", {1, 2, 3}).Idat(zlib).End()), kCritical);
    EXPECT_EQ(LoadError(PngBuilder().Ihdr(3, 2, 8, 2).Idat(zlib).Chunk("QuIK", {}).End()), kCritical);
    // The chunk right after the image data is only skipped, never interpreted.
    EXPECT_EQ(LoadError(PngBuilder().Ihdr(3, 2, 8, 2).Idat(zlib).Chunk("PLTE", {1, 2, 3}).End()), kCritical);
}

TEST(Png, CorruptedByteInAnyChunkFailsCrc)
{
    const Samples p = Pattern(3, 3, 8, 3);
    const Bytes good = PngBuilder()
                           .Ihdr(3, 3, 8, 2)
                           .Chunk("gAMA", {0, 0, 0xB1, 0x8F})
                           .Chunk("tEXt", {'a', 0, 'b'})
                           .Chunk("bKGD", {0, 1, 0, 2, 0, 3})
                           .Idat(Deflate(RawImage(p, false)), 20)
                           .End();
    ASSERT_EQ(LoadError(good), "no error");
    // Every byte of every chunk but the length fields; of IHDR the type too,
    // because the header check (not the CRC) is the one that sees it.
    std::size_t at = 8;
    while (at < good.size()) {
        const std::size_t length = std::size_t{good[at]} << 24 | std::size_t{good[at + 1]} << 16 |
                                   std::size_t{good[at + 2]} << 8 | good[at + 3];
        const std::size_t first = at == 8 ? at + 8 : at + 4;
        for (std::size_t i = first; i < at + 12 + length; ++i) {
            Bytes bad = good;
            bad[i] ^= 0x40;
            SCOPED_TRACE("byte " + std::to_string(i));
            EXPECT_EQ(LoadError(bad), kCrc);
        }
        at += 12 + length;
    }
}

TEST(Png, PaletteMustHoldWholeTriples)
{
    const Bytes zlib = Deflate(Bytes{0, 0});
    EXPECT_EQ(LoadError(PngBuilder().Ihdr(1, 1, 8, 3).Chunk("PLTE", Bytes(20, 9)).Idat(zlib).End()), kPalette);
    EXPECT_EQ(LoadError(PngBuilder().Ihdr(1, 1, 8, 3).Chunk("PLTE", Bytes(21, 9)).Idat(zlib).End()), "no error");
    // An indexed picture without any palette cannot be shown.
    EXPECT_EQ(LoadError(PngBuilder().Ihdr(1, 1, 8, 3).Idat(zlib).End()), kPalette);
}

TEST(Png, ShortPaletteIsPaddedSoEveryIndexHasAColour)
{
    const Samples p{2, 1, 8, 1, {0, 200}};
    TPNGGraphic g;
    g.ReadPicture(PngBuilder().Ihdr(2, 1, 8, 3).Chunk("PLTE", {10, 20, 30}).Idat(Deflate(RawImage(p, false))).End());
    ASSERT_EQ(g.Palette.size(), 256u);
    const RgbImage rgb = ToRgb(g);
    EXPECT_EQ(rgb.Pixels, (Bytes{10, 20, 30, 0, 0, 0}));
}

TEST(Png, InterlacedPictureEqualsItsPlainTwin)
{
    struct Case { unsigned depth; unsigned colorType; std::uint32_t width; std::uint32_t height; };
    const Case cases[] = {
        {8, 2, 13, 11}, {16, 2, 9, 9}, {1, 0, 17, 10}, {2, 0, 11, 5}, {4, 3, 7, 13}, {2, 3, 9, 3},
        {8, 6, 5, 9},   {16, 4, 10, 3}, {8, 0, 1, 1},  {8, 2, 3, 1},  {1, 3, 1, 9},
    };
    for (const Case& c : cases) {
        const std::string name = std::to_string(c.depth) + " bits, colour type " + std::to_string(c.colorType) +
                                 ", " + std::to_string(c.width) + "x" + std::to_string(c.height);
        SCOPED_TRACE(name);
        const Samples p = Pattern(c.width, c.height, c.depth, ColorTypeSamples(c.colorType), c.width * 31 + c.depth);
        const RgbImage plain = Decode(Png(p, c.colorType, false));
        const RgbImage interlaced = Decode(Png(p, c.colorType, true));
        EXPECT_EQ(FirstDifference(interlaced, plain, name), "");
        EXPECT_EQ(plain.Width, static_cast<int>(c.width));
    }
}

TEST(Png, ImageDataSplitIntoOneByteChunksDecodesTheSame)
{
    const Samples p = Pattern(19, 7, 8, 3, 5);
    for (const bool interlaced : {false, true}) {
        SCOPED_TRACE(interlaced ? "interlaced" : "plain");
        const RgbImage whole = Decode(Png(p, 2, interlaced));
        for (const std::size_t piece : {1, 2, 7}) {
            const std::string name = std::to_string(piece) + "-byte IDATs";
            EXPECT_EQ(FirstDifference(Decode(Png(p, 2, interlaced, piece)), whole, name), "");
        }
    }
}

TEST(Png, WellPackedPicturesDecodeAsStoredThroughEveryFilter)
{
    // Blocks of colour pack far better than eight to one, so the whole image
    // data is inflated at once: every filter (applied here to 8-bit RGB rows),
    // in one chunk and in small ones, and an interlaced twin.
    Samples p{96, 40, 8, 3, {}};
    for (std::uint32_t y = 0; y < p.Height; ++y)
        for (std::uint32_t x = 0; x < p.Width; ++x)
            for (unsigned s = 0; s < 3; ++s)
                p.Values.push_back(static_cast<std::uint16_t>(((x / 16 + y / 8) % 3) * 90 + s * 20));
    const Bytes expected(p.Values.begin(), p.Values.end());
    const std::size_t rowBytes = std::size_t{p.Width} * 3;
    const auto paeth = [](int a, int b, int c) {
        const int q = a + b - c;
        return std::abs(q - a) <= std::abs(q - b) && std::abs(q - a) <= std::abs(q - c) ? a
               : std::abs(q - b) <= std::abs(q - c)                                     ? b
                                                                                       : c;
    };
    for (int filter = 0; filter <= 4; ++filter) {
        Bytes raw;
        for (std::size_t y = 0; y < p.Height; ++y) {
            raw.push_back(static_cast<std::uint8_t>(filter));
            for (std::size_t i = 0; i < rowBytes; ++i) {
                const auto at = [&](std::size_t row, std::size_t k) { return int{expected[row * rowBytes + k]}; };
                const int a = i >= 3 ? at(y, i - 3) : 0;
                const int b = y > 0 ? at(y - 1, i) : 0;
                const int c = i >= 3 && y > 0 ? at(y - 1, i - 3) : 0;
                const int predicted = filter == 1 ? a : filter == 2 ? b : filter == 3 ? (a + b) / 2 : filter == 4 ? paeth(a, b, c) : 0;
                raw.push_back(static_cast<std::uint8_t>(at(y, i) - predicted));
            }
        }
        for (const std::size_t piece : {std::size_t{1} << 20, std::size_t{7}}) {
            SCOPED_TRACE(::testing::Message() << "filter " << filter << " piece " << piece);
            EXPECT_EQ(Decode(PngBuilder().Ihdr(p.Width, p.Height, 8, 2).Idat(Deflate(raw), piece).End()).Pixels,
                      expected);
        }
    }
    EXPECT_EQ(Decode(Png(p, 2, true)).Pixels, expected);
}

TEST(Png, PixelsReachTheBitmapAsStored)
{
    // RGB 8-bit, a grey+alpha and an RGBA 16-bit picture with known values.
    const Samples rgb{2, 1, 8, 3, {1, 2, 3, 250, 251, 252}};
    EXPECT_EQ(Decode(Png(rgb, 2, false)).Pixels, (Bytes{1, 2, 3, 250, 251, 252}));
    const Samples greyAlpha{2, 1, 16, 2, {0x1234, 0, 0xFFFF, 0x8000}};
    EXPECT_EQ(Decode(Png(greyAlpha, 4, false)).Pixels, (Bytes{18, 18, 18, 255, 255, 255}));
    const Samples rgba{1, 1, 16, 4, {0x1234, 0xFFFF, 0x0100, 7}};
    TPNGGraphic g;
    g.ReadPicture(Png(rgba, 6, false));
    EXPECT_EQ(g.Format(), PixelFormat::Bits32);
    EXPECT_EQ(ToRgb(g).Pixels, (Bytes{18, 255, 0}));
}

TEST(Png, GreyDepthsChooseTheirBitmapFormat)
{
    struct Case { unsigned depth; PixelFormat format; std::size_t paletteSize; };
    for (const Case c : {Case{1, PixelFormat::Bits1, 2}, Case{2, PixelFormat::Bits4, 16},
                         Case{4, PixelFormat::Bits4, 16}, Case{8, PixelFormat::Bits8, 256},
                         Case{16, PixelFormat::Bits8, 256}}) {
        SCOPED_TRACE(c.depth);
        const Samples p{4, 1, c.depth, 1, {0, 1, static_cast<std::uint16_t>((1u << c.depth) - 2),
                                           static_cast<std::uint16_t>((1u << c.depth) - 1)}};
        TPNGGraphic g;
        g.ReadPicture(Png(p, 0, false));
        EXPECT_EQ(g.Format(), c.format);
        EXPECT_EQ(g.Palette.size(), c.paletteSize);
        const RgbImage rgb = ToRgb(g);
        EXPECT_EQ(rgb.Pixels[0], 0);
        EXPECT_EQ(rgb.Pixels[9], 255);
    }
    // 2-bit levels 0..3 land on grey 0, 85, 170, 255.
    const Samples p{4, 1, 2, 1, {0, 1, 2, 3}};
    EXPECT_EQ(Decode(Png(p, 0, false)).Pixels, (Bytes{0, 0, 0, 85, 85, 85, 170, 170, 170, 255, 255, 255}));
}

TEST(Png, FilterTypeAboveFourLeavesTheRowAsStored)
{
    // Row 0 with filter 1 (Sub), row 1 with filter 5: row 1 keeps its bytes.
    const Bytes raw{1, 10, 20, 30, 5, 11, 12, 13, 4, 1, 1, 1};
    const Bytes file = PngBuilder().Ihdr(1, 3, 8, 2).Idat(Deflate(raw)).End();
    const RgbImage image = Decode(file);
    EXPECT_EQ(image.Pixels, (Bytes{10, 20, 30, 11, 12, 13, 12, 13, 14}));
}

TEST(Png, FiltersUseTheirNeighbours)
{
    // Two pixels of RGB per row; each filter against hand-computed bytes.
    const Bytes first{0, 10, 20, 30, 40, 50, 60};
    struct Case { std::uint8_t filter; Bytes stored; Bytes decoded; };
    const Case cases[] = {
        {1, {1, 2, 3, 4, 5, 6}, {1, 2, 3, 5, 7, 9}},
        {2, {1, 2, 3, 4, 5, 6}, {11, 22, 33, 44, 55, 66}},
        // Average: (a + b) div 2; a is 0 for the first pixel.
        {3, {1, 2, 3, 4, 5, 6}, {6, 12, 18, 27, 36, 45}},
        // Paeth: first pixel takes b; then p = a + b - c picks the nearest.
        {4, {1, 2, 3, 4, 5, 6}, {11, 22, 33, 44, 55, 66}},
        {4, {255, 0, 0, 0, 0, 0}, {9, 20, 30, 40, 50, 60}},
        {4, {190, 0, 0, 0, 0, 0}, {200, 20, 30, 200, 50, 60}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int{c.filter});
        Bytes raw = first;
        raw.push_back(c.filter);
        raw.insert(raw.end(), c.stored.begin(), c.stored.end());
        const RgbImage image = Decode(PngBuilder().Ihdr(2, 2, 8, 2).Idat(Deflate(raw)).End());
        EXPECT_EQ(Bytes(image.Pixels.begin() + 6, image.Pixels.end()), c.decoded);
    }
}

TEST(Png, GammaChunkIsAppliedThroughTheTable)
{
    const Samples p{2, 1, 8, 3, {128, 64, 0, 255, 255, 255}};
    const Bytes zlib = Deflate(RawImage(p, false));
    // gAMA 1.0: exponent 1 / 2.2.
    const Bytes file = PngBuilder().Ihdr(2, 1, 8, 2).Chunk("gAMA", {0, 1, 0x86, 0xA0}).Idat(zlib).End();
    EXPECT_EQ(Decode(file).Pixels, (Bytes{186, 136, 0, 255, 255, 255}));
    TPNGGraphic g;
    ASSERT_TRUE(g.ProbeImage(file, 0));
    EXPECT_EQ(g.Properties().FileGamma, 1.0L);
    EXPECT_TRUE(HasOption(g.Properties().Options, ImageOptions::GammaGiven));
}

TEST(Png, ProbeReadsTheHeaderOnly)
{
    const Samples p = Pattern(6, 4, 16, 4);
    const Bytes file = Png(p, 6, true);
    TPNGGraphic g;
    ASSERT_TRUE(g.ProbeImage(file, 0));
    EXPECT_EQ(g.Properties().Width, 6u);
    EXPECT_EQ(g.Properties().Height, 4u);
    EXPECT_EQ(g.Properties().Scheme, ColorScheme::RGBA);
    EXPECT_EQ(g.Properties().BitsPerPixel, 64);
    EXPECT_TRUE(g.Properties().Interlaced);
    EXPECT_TRUE(g.Empty());
    EXPECT_FALSE(g.ProbeImage(file, 1));
    EXPECT_FALSE(g.ProbeImage(Bytes(file.begin(), file.begin() + 20), 0));
    Bytes badSignature = file;
    badSignature[1] = 'p';
    EXPECT_FALSE(g.ProbeImage(badSignature, 0));
}

TEST(Png, FailedLoadKeepsThePreviousPicture)
{
    const Samples p = Pattern(4, 4, 8, 3);
    const Bytes good = Png(p, 2, false);
    TPNGGraphic g;
    g.ReadPicture(good);
    const RgbImage before = ToRgb(g);
    Bytes bad = good;
    bad[bad.size() - 20] ^= 1;
    EXPECT_THROW(g.ReadPicture(bad), QuillmarkError);
    EXPECT_EQ(FirstDifference(ToRgb(g), before, "after a failed load"), "");
}

TEST(Png, TruncatedFileAtAnyLengthGivesAnError)
{
    const Samples p = Pattern(9, 9, 8, 3);
    const Bytes good = PngBuilder()
                           .Ihdr(9, 9, 8, 2, true)
                           .Chunk("gAMA", {0, 0, 0xB1, 0x8F})
                           .Idat(Deflate(RawImage(p, true)), 50)
                           .End();
    for (std::size_t size = 0; size < good.size(); ++size) {
        SCOPED_TRACE(size);
        EXPECT_NE(LoadError(Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size))), "no error");
    }
}

TEST(Png, ChunkLengthBeyondTheFileIsRefused)
{
    Bytes file = Png(Pattern(2, 2, 8, 3), 2, false);
    // The first IDAT's length is at offset 33.
    file[33] = 0x10;
    EXPECT_EQ(LoadError(file), kInvalid);
    file[33] = 0xFF;
    EXPECT_EQ(LoadError(file), kInvalid);
}

TEST(Png, ZlibStreamProblemsHaveTheirMessages)
{
    const Samples p = Pattern(4, 4, 8, 3);
    const Bytes raw = RawImage(p, false);
    // A complete stream that holds only three of the four rows.
    const Bytes shortStream = Deflate(Bytes(raw.begin(), raw.begin() + 3 * 13));
    EXPECT_EQ(LoadError(PngBuilder().Ihdr(4, 4, 8, 2).Idat(shortStream).End()), kExtra);
    // Bytes after the end of the stream inside the IDAT.
    Bytes trailing = Deflate(raw);
    trailing.insert(trailing.end(), {1, 2, 3});
    EXPECT_EQ(LoadError(PngBuilder().Ihdr(4, 4, 8, 2).Idat(trailing).End()), kExtra);
    // Garbage that is no deflate data at all.
    EXPECT_EQ(LoadError(PngBuilder().Ihdr(4, 4, 8, 2).Idat(Bytes{0x78, 0x9C, 0xFF, 0xFF, 0xFF, 0xFF}).End()),
              kCompression);
    // Data that stops early without ending the stream is damaged, not a picture missing its last rows.
    Bytes cut = Deflate(raw);
    cut.resize(cut.size() / 2);
    EXPECT_EQ(LoadError(PngBuilder().Ihdr(4, 4, 8, 2).Idat(cut).End()), kCompression);
    // A wrong checksum is found when it shares a chunk with image data; alone
    // in a chunk after the last row it is never read, and the picture loads.
    Bytes badSum = Deflate(raw);
    badSum.back() ^= 1;
    EXPECT_EQ(LoadError(PngBuilder().Ihdr(4, 4, 8, 2).Idat(badSum).End()), kCompression);
    const Bytes head(badSum.begin(), badSum.end() - 4);
    const Bytes tail(badSum.end() - 4, badSum.end());
    EXPECT_EQ(LoadError(PngBuilder().Ihdr(4, 4, 8, 2).Idat(head).Idat(tail).End()), "no error");
}

TEST(Png, TinyFileDeclaringAHugePictureFailsQuickly)
{
    const auto start = std::chrono::steady_clock::now();
    const Bytes zlib = Deflate(Bytes(100, 0));
    EXPECT_EQ(LoadError(PngBuilder().Ihdr(16384, 16384, 8, 6).Idat(zlib).End()), kCompression);
    EXPECT_EQ(LoadError(PngBuilder().Ihdr(65535, 4096, 16, 6, true).Idat(zlib).End()), kCompression);
    EXPECT_EQ(LoadError(PngBuilder().Ihdr(100000, 100000, 8, 0).Idat(zlib).End()),
              "Cannot load image. Picture of 100000x100000 pixels is too large.");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(Png, FileWithoutImageDataIsInvalid)
{
    EXPECT_EQ(LoadError(PngBuilder().Ihdr(2, 2, 8, 2).End()), kInvalid);
}

TEST(Png, CorpusDecodesToTheReferencePixels)
{
    if (!CorpusPresent())
        GTEST_SKIP() << "corpus not found";
    int decoded = 0;
    for (const CorpusRow& row : CorpusRows("png")) {
        if (row.Expected != "decode")
            continue;
        SCOPED_TRACE(row.File);
        TPNGGraphic g;
        const std::string error = ErrorOf([&] { g.ReadPicture(ReadBytes(CorpusPath() / row.File)); });
        if (error != "no error") {
            ADD_FAILURE() << row.File << ": " << error;
            continue;
        }
        EXPECT_EQ(FirstDifference(ToRgb(g), ReadPpm(CorpusPath() / (row.File + ".ppm")), row.File), "");
        ++decoded;
    }
    EXPECT_GT(decoded, 100);
}

TEST(Png, CorpusInterlacedFilesEqualTheirPlainTwins)
{
    if (!CorpusPresent())
        GTEST_SKIP() << "corpus not found";
    for (const char* name : {"basi0g01", "basi0g02", "basi0g04", "basi0g08", "basi0g16", "basi2c08", "basi2c16",
                             "basi3p01", "basi3p02", "basi3p04", "basi3p08", "basi4a08", "basi4a16", "basi6a08",
                             "basi6a16"}) {
        std::string plain = name;
        plain[3] = 'n';
        SCOPED_TRACE(name);
        const auto path = CorpusPath() / "public" / "png";
        EXPECT_EQ(FirstDifference(Decode(ReadBytes(path / (std::string(name) + ".png"))),
                                  Decode(ReadBytes(path / (plain + ".png"))), name),
                  "");
    }
}

TEST(Png, CorpusDamagedFilesFailWithTheirMessage)
{
    if (!CorpusPresent())
        GTEST_SKIP() << "corpus not found";
    const std::map<std::string, std::vector<std::string>> messages{
        {"invalid-format", {kInvalid}}, {"color-format", {kColorFormat}}, {"crc", {kCrc}},
        {"palette", {kPalette}},        {"critical-chunk", {kCritical}},  {"compression-error", {kCompression, kExtra}},
        {"color-depth", {"Color depth is invalid. Bits per sample must be 1, 2, 4, 8 or 16."}},
    };
    for (const CorpusRow& row : CorpusRows("png")) {
        const auto bytes = ReadBytes(CorpusPath() / row.File);
        SCOPED_TRACE(row.File);
        if (row.Expected.rfind("must-fail:", 0) == 0) {
            const std::string kind = row.Expected.substr(10);
            const std::string error = LoadError(bytes);
            const auto known = messages.find(kind);
            if (known == messages.end()) {
                EXPECT_NE(error, "no error");
            } else {
                EXPECT_NE(std::find(known->second.begin(), known->second.end(), error), known->second.end())
                    << row.File << " (" << kind << "): " << error;
            }
        } else if (row.Expected == "no-crash") {
            LoadError(bytes);
        }
    }
}

TEST(Png, CrashersRaiseAnInputError)
{
    const std::filesystem::path folder = std::filesystem::path(QUILLMARK_TEST_DATA) / "crashers";
    if (!std::filesystem::exists(folder))
        GTEST_SKIP() << "no crashers folder";
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".png")
            continue;
        SCOPED_TRACE(entry.path().filename().string());
        EXPECT_NE(LoadError(ReadBytes(entry.path())), "no error");
    }
}

namespace {

// A zlib stream flushed after raw but never finished, as a file cut short
// in its image data would hold.
Bytes DeflateUnfinished(const Bytes& raw)
{
    z_stream z{};
    EXPECT_EQ(deflateInit(&z, 6), Z_OK);
    Bytes out(raw.size() + 64);
    Bytes input = raw;
    z.next_in = input.data();
    z.avail_in = static_cast<uInt>(input.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&z, Z_SYNC_FLUSH), Z_OK);
    out.resize(out.size() - z.avail_out);
    deflateEnd(&z);
    return out;
}

} // namespace

TEST(Png, ImageDataEndingBeforeTheLastRowFailsEvenWithABackground)
{
    const Bytes rgb = PngBuilder()
                          .Ihdr(2, 2, 8, 2)
                          .Chunk("bKGD", {0, 10, 0, 20, 0, 30})
                          .Idat(DeflateUnfinished({0, 1, 2, 3, 4, 5, 6}))
                          .End();
    EXPECT_EQ(LoadError(rgb), kCompression);
    const Bytes indexed = PngBuilder()
                              .Ihdr(2, 2, 8, 3)
                              .Chunk("PLTE", {1, 1, 1, 9, 8, 7})
                              .Chunk("bKGD", {1})
                              .Idat(DeflateUnfinished({0, 0, 0}))
                              .End();
    EXPECT_EQ(LoadError(indexed), kCompression);
}

TEST(Png, TransparentColourIsRecordedButNotApplied)
{
    const Samples grey{2, 1, 16, 1, {0x1234, 0xFFFF}};
    TPNGGraphic g;
    g.ReadPicture(
        PngBuilder().Ihdr(2, 1, 16, 0).Chunk("tRNS", {0x12, 0x34}).Idat(Deflate(RawImage(grey, false))).End());
    EXPECT_EQ(g.Transparent, (Color{18, 18, 18}));
    EXPECT_EQ(ToRgb(g).Pixels, (Bytes{18, 18, 18, 255, 255, 255}));
    const Samples rgb{1, 1, 8, 3, {5, 6, 7}};
    g.ReadPicture(
        PngBuilder().Ihdr(1, 1, 8, 2).Chunk("tRNS", {0, 5, 0, 6, 0, 7}).Idat(Deflate(RawImage(rgb, false))).End());
    EXPECT_EQ(g.Transparent, (Color{5, 6, 7}));
    EXPECT_EQ(ToRgb(g).Pixels, (Bytes{5, 6, 7}));
    // Palette pictures keep tRNS to themselves.
    const Samples indexed{1, 1, 8, 1, {0}};
    g.ReadPicture(PngBuilder()
                      .Ihdr(1, 1, 8, 3)
                      .Chunk("PLTE", {5, 6, 7})
                      .Chunk("tRNS", {0})
                      .Idat(Deflate(RawImage(indexed, false)))
                      .End());
    EXPECT_FALSE(g.Transparent.has_value());
}
