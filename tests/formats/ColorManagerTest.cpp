#include "formats/ColorManager.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

using namespace quillmark;

namespace {

struct Setup {
    ColorScheme source;
    unsigned sourceBits;
    unsigned sourceSamples;
    ColorScheme target;
    unsigned targetBits;
    unsigned targetSamples;
};

void Configure(TColorManager& m, const Setup& s)
{
    m.SetSourceColorScheme(s.source);
    m.SetSourceBitsPerSample(s.sourceBits);
    m.SetSourceSamplesPerPixel(s.sourceSamples);
    m.SetTargetColorScheme(s.target);
    m.SetTargetBitsPerSample(s.targetBits);
    m.SetTargetSamplesPerPixel(s.targetSamples);
}

template <typename F>
std::string ColorErrorOf(F&& f)
{
    try {
        f();
    } catch (const ColorConversionError& e) {
        return e.what();
    }
    return "no error";
}

std::vector<std::uint8_t> Convert(TColorManager& m, const std::vector<std::uint8_t>& source, std::size_t count,
                                  std::size_t targetBytes, std::uint8_t mask = 0xFF, std::uint8_t fill = 0)
{
    std::vector<std::uint8_t> target(targetBytes, fill);
    m.ConvertRow(source, target, count, mask);
    return target;
}

} // namespace

TEST(ColorManager, SettersRefuseOutOfRangeValuesAndKeepTheOldOne)
{
    TColorManager m;
    const std::string depth = "Color depth is invalid. Bits per sample must be 1, 2, 4, 8 or 16.";
    const std::string samples = "Sample count per pixel does not correspond to the given color scheme.";
    EXPECT_EQ(ColorErrorOf([&] { m.SetSourceBitsPerSample(0); }), depth);
    EXPECT_EQ(ColorErrorOf([&] { m.SetTargetBitsPerSample(17); }), depth);
    EXPECT_EQ(ColorErrorOf([&] { m.SetSourceSamplesPerPixel(0); }), samples);
    EXPECT_EQ(ColorErrorOf([&] { m.SetTargetSamplesPerPixel(5); }), samples);
    EXPECT_EQ(m.SourceBitsPerSample(), 8u);
    EXPECT_EQ(m.TargetBitsPerSample(), 8u);
    EXPECT_EQ(m.SourceSamplesPerPixel(), 3u);
    EXPECT_EQ(m.TargetSamplesPerPixel(), 3u);
    EXPECT_EQ(ColorErrorOf([&] { m.SetYCbCrParameters({}, 3, 1); }),
              "Subsampling value is invalid. Allowed are 1, 2 and 4.");
    EXPECT_EQ(ColorErrorOf([&] { m.SetYCbCrParameters({}, 2, 4); }),
              "Vertical subsampling value must be <= horizontal subsampling value.");
    EXPECT_EQ(ColorErrorOf([&] { m.SetYCbCrParameters({}, 4, 2); }), "no error");
}

TEST(ColorManager, PixelFormatFollowsSampleLayout)
{
    struct Case { unsigned bits; unsigned samples; std::optional<PixelFormat> format; };
    const Case cases[] = {
        {1, 1, PixelFormat::Bits1},  {2, 1, PixelFormat::Bits4},  {4, 1, PixelFormat::Bits4},
        {8, 1, PixelFormat::Bits8},  {16, 1, PixelFormat::Bits8}, {5, 1, std::nullopt},
        {5, 3, PixelFormat::Bits15}, {8, 3, PixelFormat::Bits24}, {16, 3, PixelFormat::Bits24},
        {8, 4, PixelFormat::Bits32}, {4, 4, std::nullopt},        {8, 2, std::nullopt},
    };
    TColorManager m;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.bits) + " bits x " + std::to_string(c.samples));
        m.SetTargetBitsPerSample(c.bits);
        m.SetTargetSamplesPerPixel(c.samples);
        EXPECT_EQ(m.TargetPixelFormat(), c.format);
    }
}

TEST(ColorManager, TwoBitGreyWidensToFourBitLevels)
{
    TColorManager m;
    Configure(m, {ColorScheme::Grey, 2, 1, ColorScheme::Grey, 4, 1});
    // Samples 0, 1, 2, 3 packed in one byte become 4-bit 0, 5, 10, 15.
    EXPECT_EQ(Convert(m, {0b00011011}, 4, 2), (std::vector<std::uint8_t>{0x05, 0xAF}));
}

TEST(ColorManager, IndexedValuesKeepTheirPaletteIndexWhenWidened)
{
    TColorManager m;
    Configure(m, {ColorScheme::Indexed, 2, 1, ColorScheme::Indexed, 4, 1});
    EXPECT_EQ(Convert(m, {0b00011011}, 4, 2), (std::vector<std::uint8_t>{0x01, 0x23}));
}

TEST(ColorManager, BigEndianSixteenBitGreyReducesByTruncation)
{
    TColorManager m;
    Configure(m, {ColorScheme::Grey, 16, 1, ColorScheme::Grey, 8, 1});
    m.SetSourceOptions(ConvertOptions::ByteSwap);
    EXPECT_EQ(Convert(m, {0x12, 0x34, 0xFF, 0xFF, 0x00, 0x80}, 3, 3), (std::vector<std::uint8_t>{18, 255, 0}));
    m.SetSourceOptions(ConvertOptions::None);
    EXPECT_EQ(Convert(m, {0x12, 0x34}, 1, 1), (std::vector<std::uint8_t>{51}));
}

TEST(ColorManager, GreyWithAlphaDropsTheAlphaSample)
{
    TColorManager m;
    Configure(m, {ColorScheme::GreyAlpha, 8, 2, ColorScheme::Grey, 8, 1});
    EXPECT_EQ(Convert(m, {10, 200, 20, 0, 30, 255}, 3, 3), (std::vector<std::uint8_t>{10, 20, 30}));
}

TEST(ColorManager, MaskSelectsTargetPixelsAndConsumesOnlyWrittenOnes)
{
    TColorManager m;
    Configure(m, {ColorScheme::Grey, 8, 1, ColorScheme::Grey, 8, 1});
    // 0x55 writes pixels 1, 3, 5, 7 of every eight: 12 pixels take 6 samples.
    const auto row = Convert(m, {1, 2, 3, 4, 5, 6}, 12, 12, 0x55, 0xEE);
    EXPECT_EQ(row, (std::vector<std::uint8_t>{0xEE, 1, 0xEE, 2, 0xEE, 3, 0xEE, 4, 0xEE, 5, 0xEE, 6}));

    Configure(m, {ColorScheme::Indexed, 1, 1, ColorScheme::Indexed, 1, 1});
    // One-bit pixels merged into the target, the unselected bits untouched.
    EXPECT_EQ(Convert(m, {0b11110000}, 8, 1, 0x55, 0x00), (std::vector<std::uint8_t>{0b01010101}));
    EXPECT_EQ(Convert(m, {0b00000000}, 8, 1, 0x55, 0xFF), (std::vector<std::uint8_t>{0b10101010}));
}

TEST(ColorManager, RgbBecomesBgrWithSixteenBitReductionAndAlphaRules)
{
    TColorManager m;
    Configure(m, {ColorScheme::RGB, 8, 3, ColorScheme::BGR, 8, 3});
    EXPECT_EQ(Convert(m, {1, 2, 3, 4, 5, 6}, 2, 6), (std::vector<std::uint8_t>{3, 2, 1, 6, 5, 4}));

    Configure(m, {ColorScheme::RGB, 16, 3, ColorScheme::BGR, 8, 3});
    m.SetSourceOptions(ConvertOptions::ByteSwap);
    EXPECT_EQ(Convert(m, {0x12, 0x34, 0xFF, 0xFF, 0x00, 0x01}, 1, 3), (std::vector<std::uint8_t>{0, 255, 18}));

    Configure(m, {ColorScheme::RGBA, 8, 4, ColorScheme::BGRA, 8, 4});
    EXPECT_EQ(Convert(m, {1, 2, 3, 99}, 1, 4), (std::vector<std::uint8_t>{3, 2, 1, 99}));
    Configure(m, {ColorScheme::RGBA, 8, 4, ColorScheme::BGR, 8, 3});
    EXPECT_EQ(Convert(m, {1, 2, 3, 99, 4, 5, 6, 98}, 2, 6), (std::vector<std::uint8_t>{3, 2, 1, 6, 5, 4}));
}

TEST(ColorManager, ChosenConverterIsReplacedWhenASettingChanges)
{
    TColorManager m;
    Configure(m, {ColorScheme::RGB, 8, 3, ColorScheme::BGR, 8, 3});
    EXPECT_EQ(Convert(m, {1, 2, 3}, 1, 3), (std::vector<std::uint8_t>{3, 2, 1}));
    m.SetTargetColorScheme(ColorScheme::RGB);
    EXPECT_EQ(Convert(m, {1, 2, 3}, 1, 3), (std::vector<std::uint8_t>{1, 2, 3}));
    m.SetSourceColorScheme(ColorScheme::CMY);
    EXPECT_EQ(ColorErrorOf([&] { Convert(m, {1, 2, 3}, 1, 3); }),
              "Color conversion failed. Could not find a proper method.");
}

TEST(ColorManager, IndexedToColourIsRefused)
{
    TColorManager m;
    Configure(m, {ColorScheme::Indexed, 8, 1, ColorScheme::BGR, 8, 3});
    EXPECT_EQ(ColorErrorOf([&] { Convert(m, {1}, 1, 3); }),
              "Conversion between indexed and non-indexed pixel formats is not supported.");
    Configure(m, {ColorScheme::RGB, 8, 3, ColorScheme::Grey, 8, 1});
    EXPECT_EQ(ColorErrorOf([&] { Convert(m, {1, 2, 3}, 1, 1); }),
              "Conversion between indexed and non-indexed pixel formats is not supported.");
}

TEST(ColorManager, CmykUsesIntegerFormula)
{
    TColorManager m;
    Configure(m, {ColorScheme::CMYK, 8, 4, ColorScheme::BGR, 8, 3});
    const std::vector<std::uint8_t> source{
        0,   0,  0,  0,   // white
        10,  200, 30, 255, // K = 255 is black whatever C, M, Y are
        100, 50, 20, 30,
        255, 255, 255, 0,
    };
    EXPECT_EQ(Convert(m, source, 4, 12),
              (std::vector<std::uint8_t>{255, 255, 255, 0, 0, 0, 207, 180, 136, 0, 0, 0}));
}

TEST(ColorManager, YCbCrUsesRoundedTables)
{
    TColorManager m;
    Configure(m, {ColorScheme::YCbCr, 8, 3, ColorScheme::BGR, 8, 3});
    EXPECT_EQ(Convert(m, {100, 128, 128, 128, 150, 100, 128, 255, 0}, 3, 9),
              (std::vector<std::uint8_t>{100, 100, 100, 167, 140, 89, 255, 175, 0}));
    // New coefficients rebuild the tables: with kr = 0 red is Y + 2 e(Cr).
    m.SetYCbCrParameters({0.0L, 0.886L, 0.114L}, 1, 1);
    EXPECT_EQ(Convert(m, {100, 128, 110}, 1, 3)[2], 64);
}

TEST(ColorManager, CieLabGoesThroughXyz)
{
    TColorManager m;
    Configure(m, {ColorScheme::CIELab, 8, 3, ColorScheme::BGR, 8, 3});
    const auto s = [](int v) { return static_cast<std::uint8_t>(v); };
    EXPECT_EQ(Convert(m, {100, 0, 0, 50, 20, s(-30), 5, 10, 10, 0, 0, 0}, 4, 12),
              (std::vector<std::uint8_t>{255, 255, 255, 101, 40, 53, 0, 1, 4, 0, 0, 0}));
    m.SetSourceOptions(ConvertOptions::LabByteRange);
    EXPECT_EQ(Convert(m, {60, 0, 0}, 1, 3), (std::vector<std::uint8_t>{10, 10, 10}));
}

TEST(ColorManager, GammaTableAndItsFallbacks)
{
    TColorManager m;
    m.SetGamma(2.2L, 1.0L);
    EXPECT_EQ(m.GammaTable(0), 0);
    EXPECT_EQ(m.GammaTable(64), 136);
    EXPECT_EQ(m.GammaTable(128), 186);
    EXPECT_EQ(m.GammaTable(255), 255);
    m.SetGamma(0, -1);
    EXPECT_EQ(m.DisplayGamma(), 2.2L);
    EXPECT_EQ(m.MainGamma(), 1.0L);
    m.SetGamma(2.2L, 0.45455L);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(m.GammaTable(static_cast<std::uint8_t>(i)), i);

    m.SetGamma(2.2L, 1.0L);
    Configure(m, {ColorScheme::RGB, 8, 3, ColorScheme::BGR, 8, 3});
    m.SetTargetOptions(ConvertOptions::ApplyGamma);
    EXPECT_EQ(Convert(m, {128, 64, 0}, 1, 3), (std::vector<std::uint8_t>{0, 136, 186}));
}

TEST(ColorManager, GreyPaletteHasEvenLevelsAndCanBeReversed)
{
    TColorManager m;
    m.SetTargetSamplesPerPixel(1);
    m.SetTargetBitsPerSample(4);
    auto palette = m.CreateGrayscalePalette(false);
    ASSERT_EQ(palette.size(), 16u);
    EXPECT_EQ(palette[1], (Color{17, 17, 17}));
    EXPECT_EQ(palette[15], (Color{255, 255, 255}));
    m.SetTargetBitsPerSample(1);
    palette = m.CreateGrayscalePalette(true);
    ASSERT_EQ(palette.size(), 2u);
    EXPECT_EQ(palette[0], (Color{255, 255, 255}));
    EXPECT_EQ(palette[1], (Color{0, 0, 0}));
    m.SetTargetBitsPerSample(16);
    m.SetTargetOptions(ConvertOptions::ApplyGamma);
    palette = m.CreateGrayscalePalette(false);
    ASSERT_EQ(palette.size(), 256u);
    EXPECT_EQ(palette[128], (Color{186, 186, 186}));
}

TEST(ColorManager, ColourPaletteFromTriplesOrPlanes)
{
    TColorManager m;
    const std::vector<std::uint8_t> triples{1, 2, 3, 4, 5, 6, 7, 8, 9};
    auto palette = m.CreateColorPalette(triples, 8, 2);
    ASSERT_EQ(palette.size(), 2u);
    EXPECT_EQ(palette[1], (Color{4, 5, 6}));

    m.SetSourceOptions(ConvertOptions::ByteSwap);
    const std::vector<std::uint8_t> red{0x12, 0x34}, green{0xFF, 0xFF}, blue{0x00, 0xFF};
    const std::array<std::span<const std::uint8_t>, 3> planes{red, green, blue};
    palette = m.CreateColorPalette(planes, 16, 1);
    EXPECT_EQ(palette[0], (Color{18, 255, 0}));

    const std::vector<std::uint8_t> big(3 * 300, 7);
    EXPECT_EQ(m.CreateColorPalette(big, 8, 300).size(), 256u);
}
