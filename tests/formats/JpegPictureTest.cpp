#include "formats/JpegPicture.h"

#include "JpegTestFiles.h"

#include <gtest/gtest.h>

#include <jerror.h>

#include <cstdlib>
#include <set>
#include <string>

using namespace quillmark;
using quillmark::testing::EncodeJpeg;
using quillmark::testing::JpegRecipe;

namespace {

// Four flat quadrants: red, green, blue, white (RGB order).
std::uint8_t Quadrants(int x, int y, int c)
{
    static const std::uint8_t colours[4][3] = {{230, 20, 20}, {20, 200, 40}, {30, 40, 220}, {255, 255, 255}};
    return colours[(y >= 16 ? 2 : 0) + (x >= 16 ? 1 : 0)][c];
}

std::string ErrorOf(const std::vector<std::uint8_t>& file)
{
    try {
        DecodeJpeg(file);
    } catch (const QuillmarkError& e) {
        return e.what();
    }
    return "(no error)";
}

std::string JpegError(int code)
{
    return "JPEG error #" + std::to_string(code);
}

} // namespace

TEST(Jpeg, ColourFileDecodesToBgrRows)
{
    const Bitmap b = DecodeJpeg(EncodeJpeg({.Sample = Quadrants}));
    ASSERT_EQ(b.Format(), PixelFormat::Bits24);
    ASSERT_EQ(b.Width(), 32);
    ASSERT_EQ(b.Height(), 32);
    // Quadrant centres, away from the edges that chroma smoothing blurs.
    for (const auto& [x, y] : {std::pair{8, 8}, std::pair{24, 8}, std::pair{8, 24}, std::pair{24, 24}}) {
        SCOPED_TRACE(::testing::Message() << x << "," << y);
        const auto row = b.Row(y);
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(row[static_cast<std::size_t>(3 * x + 2 - c)], Quadrants(x, y, c), 6);
    }
}

TEST(Jpeg, ProgressiveFileEqualsItsBaselineTwin)
{
    for (const bool fullChroma : {false, true}) {
        SCOPED_TRACE(fullChroma);
        JpegRecipe recipe{.Width = 45, .Height = 19, .FullChroma = fullChroma,
                      .Sample = [](int x, int y, int c) { return static_cast<std::uint8_t>((x * 5 + y * 11 + c * 70) % 256); }};
        const Bitmap baseline = DecodeJpeg(EncodeJpeg(recipe));
        recipe.Progressive = true;
        const std::vector<std::uint8_t> progressiveFile = EncodeJpeg(recipe);
        ASSERT_NE(quillmark::testing::FindMarker(progressiveFile, 0xC2), 0u);
        const Bitmap progressive = DecodeJpeg(progressiveFile);
        ASSERT_EQ(progressive.Width(), 45);
        EXPECT_TRUE(std::equal(baseline.Pixels().begin(), baseline.Pixels().end(), progressive.Pixels().begin(),
                               progressive.Pixels().end()));
    }
}

TEST(Jpeg, GreyFileKeepsEveryGreyLevel)
{
    const Bitmap b = DecodeJpeg(EncodeJpeg(
        {.Width = 256, .Height = 8, .Components = 1, .Quality = 100, .Sample = [](int x, int, int) {
             return static_cast<std::uint8_t>(x);
         }}));
    ASSERT_EQ(b.Format(), PixelFormat::Bits8);
    ASSERT_EQ(b.Palette.size(), 256u);
    for (int i = 0; i < 256; ++i) {
        const auto level = static_cast<std::uint8_t>(i);
        ASSERT_EQ(b.Palette[static_cast<std::size_t>(i)], (Color{level, level, level}));
    }
    std::set<int> levels;
    int worst = 0;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            const int v = b.Row(y)[static_cast<std::size_t>(x)];
            levels.insert(v);
            worst = std::max(worst, std::abs(v - x));
        }
    // A palette of at most 236 colours with dithering could not do this.
    EXPECT_GT(levels.size(), 236u);
    EXPECT_LE(worst, 2);
}

TEST(Jpeg, CmykFileIsConvertedToColour)
{
    // Adobe CMYK, as libjpeg writes it, stores 255 for no ink: this is magenta.
    const Bitmap b = DecodeJpeg(EncodeJpeg({.Width = 16, .Height = 16, .Components = 4, .Sample = [](int, int, int c) {
                                                return static_cast<std::uint8_t>(c == 1 ? 0 : 255);
                                            }}));
    ASSERT_EQ(b.Format(), PixelFormat::Bits24);
    const auto row = b.Row(8);
    EXPECT_NEAR(row[24], 255, 4);
    EXPECT_NEAR(row[25], 0, 4);
    EXPECT_NEAR(row[26], 255, 4);
}

TEST(Jpeg, UnknownColourSpaceIsRefused)
{
    const std::vector<std::uint8_t> file =
        EncodeJpeg({.Width = 8, .Height = 8, .Components = 2, .Sample = [](int, int, int) { return std::uint8_t{1}; }});
    EXPECT_EQ(ErrorOf(file), "Cannot load image. The colour space is not supported for JPEG files.");
}

TEST(Jpeg, LibraryErrorsCarryTheMessageNumberAndDecodingGoesOn)
{
    const std::vector<std::uint8_t> good = EncodeJpeg({.Sample = Quadrants});
    std::vector<std::uint8_t> badPrecision = good;
    badPrecision[quillmark::testing::FindMarker(good, 0xC0) + 4] = 7;
    struct Case {
        const char* name;
        std::vector<std::uint8_t> file;
        int code;
    };
    const Case cases[] = {
        {"empty", {}, JERR_INPUT_EMPTY},
        {"not a JPEG", {'G', 'I', 'F', '8', '9', 'a', 0, 0}, JERR_NO_SOI},
        {"only SOI", {0xFF, 0xD8}, JERR_NO_IMAGE},
        {"bad precision", badPrecision, JERR_BAD_PRECISION},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ErrorOf(c.file), JpegError(c.code));
        EXPECT_EQ(DecodeJpeg(good).Width(), 32);
    }
}

TEST(Jpeg, TruncatedFileDecodesWhatItHas)
{
    std::vector<std::uint8_t> file = EncodeJpeg({.Width = 64, .Height = 64, .Sample = Quadrants});
    const std::size_t scan = quillmark::testing::FindMarker(file, 0xDA);
    ASSERT_NE(scan, 0u);
    file.resize(scan + (file.size() - scan) / 2);
    const Bitmap b = DecodeJpeg(file);
    EXPECT_EQ(b.Width(), 64);
    EXPECT_EQ(b.Height(), 64);
}

TEST(Jpeg, FrameSizeIsCheckedBeforeDecoding)
{
    const std::vector<std::uint8_t> good = EncodeJpeg({.Sample = Quadrants});
    struct Case {
        std::uint16_t width, height;
        const char* message;
    };
    const Case cases[] = {
        {32, 0, "Cannot load image. Invalid or unexpected JPEG image format."},
        {0, 32, "Cannot load image. Invalid or unexpected JPEG image format."},
        {20000, 20000, "Cannot load image. Picture of 20000x20000 pixels is too large."},
        {65500, 4100, "Cannot load image. Picture of 65500x4100 pixels is too large."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.width << "x" << c.height);
        std::vector<std::uint8_t> file = good;
        quillmark::testing::SetFrameSize(file, c.width, c.height);
        EXPECT_EQ(ErrorOf(file), c.message);
    }
}

TEST(Jpeg, FewBytesForAHugeFrameAreRefusedAndLibraryMemoryIsCapped)
{
    const auto flat = [](int, int, int) { return std::uint8_t{200}; };
    struct Case {
        quillmark::testing::JpegRecipe recipe;
        std::uint16_t width, height;
        std::size_t padTo;
        const char* message;
    };
    const Case cases[] = {
        {{.Progressive = true, .Sample = flat}, 16000, 16000, 0, "Cannot load image. Invalid or unexpected JPEG image format."},
        {{.Arithmetic = true, .Sample = flat}, 16000, 16000, 0, "Cannot load image. Invalid or unexpected JPEG image format."},
        // Enough bytes to pass the bound, but every coefficient of 192 megapixels
        // in three full-resolution components would take 1.15 GB.
        {{.Progressive = true, .FullChroma = true, .Sample = flat}, 16000, 12000, 48000,
         "Cannot load image. Picture of 16000x12000 pixels is too large."},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> file = EncodeJpeg(c.recipe);
        quillmark::testing::SetFrameSize(file, c.width, c.height);
        if (file.size() < c.padTo)
            file.resize(c.padTo, 0);
        EXPECT_EQ(ErrorOf(file), c.message);
    }
    // An arithmetic-coded blank page is tiny, yet it decodes.
    const std::vector<std::uint8_t> blank = EncodeJpeg({.Width = 800, .Height = 600, .Arithmetic = true, .Sample = flat});
    EXPECT_EQ(DecodeJpeg(blank).Width(), 800);
}

TEST(Jpeg, EndlessScansAreRefused)
{
    // Repeating a scan makes a bogus progression, which libjpeg only warns
    // about; without a limit such a file decodes for as long as it is long.
    const std::vector<std::uint8_t> file =
        EncodeJpeg({.Width = 8, .Height = 8, .Progressive = true, .Sample = [](int, int, int) { return std::uint8_t{90}; }});
    const std::size_t lastScan = [&] {
        std::size_t at = 0;
        for (std::size_t p = quillmark::testing::FindMarker(file, 0xDA); p != 0;
             p = quillmark::testing::FindMarker(file, 0xDA, p + 2))
            at = p;
        return at;
    }();
    ASSERT_NE(lastScan, 0u);
    const std::vector<std::uint8_t> scan(file.begin() + static_cast<std::ptrdiff_t>(lastScan), file.end() - 2);
    std::vector<std::uint8_t> endless(file.begin(), file.end() - 2);
    for (int i = 0; i < kMaxJpegScans + 10; ++i)
        endless.insert(endless.end(), scan.begin(), scan.end());
    endless.push_back(0xFF);
    endless.push_back(0xD9);
    EXPECT_EQ(ErrorOf(endless), "Cannot load image. Invalid or unexpected JPEG image format.");
}
