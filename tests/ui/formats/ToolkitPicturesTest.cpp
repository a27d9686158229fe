#include "ui/formats/ToolkitPictures.h"

#include "formats/BmpTestFiles.h"

#include <gtest/gtest.h>

#include <string>

using namespace quillmark;
using quillmark::testing::BmpLayout;
using quillmark::testing::BuildBmp;

namespace {

std::string ErrorOf(const std::vector<std::uint8_t>& file)
{
    try {
        DecodeToolkitBitmap(file);
    } catch (const QuillmarkError& e) {
        return e.what();
    }
    return "(no error)";
}

std::vector<std::uint8_t> RowBytes(const Bitmap& b, int y, std::size_t count)
{
    const auto row = b.Row(y);
    return std::vector<std::uint8_t>(row.begin(), row.begin() + static_cast<std::ptrdiff_t>(count));
}

} // namespace

TEST(ToolkitBitmap, TrueColourFileBecomesTopDownBgr)
{
    const Bitmap b = DecodeToolkitBitmap(quillmark::testing::SmallTrueColourBmp());
    ASSERT_EQ(b.Format(), PixelFormat::Bits24);
    ASSERT_EQ(b.Width(), 3);
    ASSERT_EQ(b.Height(), 2);
    EXPECT_EQ(RowBytes(b, 0, 9), (std::vector<std::uint8_t>{0, 0, 255, 0, 255, 0, 255, 0, 0}));
    EXPECT_EQ(RowBytes(b, 1, 9), (std::vector<std::uint8_t>{0, 0, 0, 255, 255, 255, 30, 20, 10}));
}

TEST(ToolkitBitmap, IndexedFilesKeepTheirPalette)
{
    const std::vector<std::uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    // Two rows of 4 pixels, top-down; 8 bits plain and the same as RLE8.
    const BmpLayout plain{.Width = 4, .Height = -2, .BitsPerPixel = 8, .Palette = palette,
                        .Pixels = {0, 1, 2, 3, 3, 3, 1, 1}};
    const BmpLayout rle{.Width = 4, .Height = 2, .BitsPerPixel = 8, .Compression = 1, .Palette = palette,
                      .Pixels = {2, 3, 2, 1, 0, 0,          // bottom row: 3 3 1 1
                                 0, 4, 0, 1, 2, 3, 0, 1}};  // top row, literal; end of bitmap
    for (const BmpLayout& layout : {plain, rle}) {
        SCOPED_TRACE(layout.Compression);
        const Bitmap b = DecodeToolkitBitmap(BuildBmp(layout));
        ASSERT_EQ(b.Format(), PixelFormat::Bits8);
        ASSERT_GE(b.Palette.size(), 4u);
        EXPECT_EQ(b.Palette[1], (Color{255, 0, 0}));
        EXPECT_EQ(b.Palette[3], (Color{0, 0, 255}));
        EXPECT_EQ(RowBytes(b, 0, 4), (std::vector<std::uint8_t>{0, 1, 2, 3}));
        EXPECT_EQ(RowBytes(b, 1, 4), (std::vector<std::uint8_t>{3, 3, 1, 1}));
    }
}

TEST(ToolkitBitmap, HeaderIsCheckedBeforeDecoding)
{
    struct Case {
        const char* name;
        std::vector<std::uint8_t> file;
        const char* message;
    };
    const std::vector<std::uint8_t> good = quillmark::testing::SmallTrueColourBmp();
    const Case cases[] = {
        {"zero width", BuildBmp({.Width = 0, .Height = 2}), "Cannot load image. Invalid or unexpected BMP image format."},
        {"zero height", BuildBmp({.Width = 2, .Height = 0}), "Cannot load image. Invalid or unexpected BMP image format."},
        {"not a bitmap", {'P', 'K', 3, 4, 0, 0, 0, 0}, "Cannot load image. Invalid or unexpected BMP image format."},
        {"header only", std::vector<std::uint8_t>(good.begin(), good.begin() + 20),
         "Cannot load image. Invalid or unexpected BMP image format."},
        {"too wide", BuildBmp({.Width = 70000, .Height = 1}), "Cannot load image. Picture of 70000x1 pixels is too large."},
        {"too large", BuildBmp({.Width = 20000, .Height = -20000}),
         "Cannot load image. Picture of 20000x20000 pixels is too large."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ErrorOf(c.file), c.message);
    }
}

TEST(ToolkitBitmap, ShortPixelDataIsNoCrash)
{
    std::vector<std::uint8_t> file = BuildBmp({.Width = 64, .Height = 64, .Pixels = std::vector<std::uint8_t>(64 * 64 * 3, 7)});
    file.resize(file.size() / 2);
    try {
        const Bitmap b = DecodeToolkitBitmap(file);
        EXPECT_EQ(b.Width(), 64);
    } catch (const QuillmarkError&) {
    }
}

TEST(ToolkitBitmap, FilterBecomesQtNameFilters)
{
    const QStringList filters = OpenDialogNameFilters("All (*.png;*.gif)|*.png;*.gif|Portable network graphic images "
                                                      "(*.png)|*.png|CompuServe images|*.gif");
    ASSERT_EQ(filters.size(), 3);
    EXPECT_EQ(filters[0], QStringLiteral("All (*.png *.gif)"));
    EXPECT_EQ(filters[1], QStringLiteral("Portable network graphic images (*.png)"));
    EXPECT_EQ(filters[2], QStringLiteral("CompuServe images (*.gif)"));
}
