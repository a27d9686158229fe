#include "formats/PCXGraphic.h"

#include "CorpusSupport.h"

#include <gtest/gtest.h>

using namespace quillmark;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes PcxHeader(unsigned bits, unsigned planes, unsigned width, unsigned height, unsigned bytesPerLine,
                unsigned version = 5)
{
    Bytes h(128, 0);
    h[0] = 10;
    h[1] = static_cast<std::uint8_t>(version);
    h[2] = 1;
    h[3] = static_cast<std::uint8_t>(bits);
    h[8] = static_cast<std::uint8_t>(width - 1);
    h[10] = static_cast<std::uint8_t>(height - 1);
    for (std::uint8_t i = 0; i < 16; ++i) {
        h[16 + 3 * i] = static_cast<std::uint8_t>(i * 16);
        h[17 + 3 * i] = i;
        h[18 + 3 * i] = 7;
    }
    h[65] = static_cast<std::uint8_t>(planes);
    h[66] = static_cast<std::uint8_t>(bytesPerLine);
    h[68] = 1;
    return h;
}

std::string MessageOf(const std::string& kind)
{
    if (kind == "invalid-format")
        return "Cannot load image. Invalid or unexpected PCX or SCR image format.";
    if (kind == "color-format")
        return "Invalid color format in PCX file.";
    return "";
}

} // namespace

TEST(Pcx, CorpusMatchesReferencePixels)
{
    test::RunCorpus<TPCXGraphic>("pcx", MessageOf);
}

TEST(Pcx, ThreePlanesBecomeBgrWithRunsCrossingPlanes)
{
    // 2x1, bytes per line 2: red plane 10 20, green 30 30, blue 40 40.
    Bytes file = PcxHeader(8, 3, 2, 1, 2);
    file.insert(file.end(), {10, 20, 0xC2, 30, 40, 40});
    TPCXGraphic pcx;
    pcx.ReadPicture(file);
    ASSERT_EQ(pcx.Format(), PixelFormat::Bits24);
    const auto row = pcx.Row(0);
    EXPECT_EQ((Bytes(row.begin(), row.begin() + 6)), (Bytes{40, 30, 10, 40, 30, 20}));
}

TEST(Pcx, FourBitLayouts)
{
    // Four 1-bit planes: pixel 0 has planes 0 and 2 set (5), pixel 1 plane 3 (8).
    Bytes file = PcxHeader(1, 4, 2, 1, 1);
    file.insert(file.end(), {0x80, 0x00, 0x80, 0x40});
    TPCXGraphic pcx;
    pcx.ReadPicture(file);
    ASSERT_EQ(pcx.Format(), PixelFormat::Bits4);
    EXPECT_EQ(pcx.Row(0)[0], 0x58);
    EXPECT_EQ(pcx.Palette[5], (Color{80, 5, 7}));

    // 2-bit pixels widen to 4 bits; version 3 has no palette of its own.
    file = PcxHeader(2, 1, 4, 1, 1, 3);
    file.push_back(0x1B);  // 0 1 2 3
    pcx.ReadPicture(file);
    EXPECT_EQ(pcx.Row(0)[0], 0x01);
    EXPECT_EQ(pcx.Row(0)[1], 0x23);
    EXPECT_EQ(pcx.Palette[9], (Color{255, 0, 0}));

    // Planes of 1 or 2 bits combine, the first plane giving the lowest bits:
    // two 2-bit planes (3 | 1 << 2 = 7, 0 | 2 << 2 = 8), three 1-bit planes (1 + 4, 2).
    file = PcxHeader(2, 2, 2, 1, 1);
    file.insert(file.end(), {0xC1, 0xC0, 0x60});  // 0xC0 as a run of one
    pcx.ReadPicture(file);
    ASSERT_EQ(pcx.Format(), PixelFormat::Bits4);
    EXPECT_EQ(pcx.Row(0)[0], 0x78);
    file = PcxHeader(1, 3, 2, 1, 1);
    file.insert(file.end(), {0x80, 0x40, 0x80});
    pcx.ReadPicture(file);
    EXPECT_EQ(pcx.Row(0)[0], 0x52);
    // Eight 1-bit planes make an 8-bit index.
    file = PcxHeader(1, 8, 1, 1, 1);
    file.insert(file.end(), {0x80, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00, 0x80});
    pcx.ReadPicture(file);
    ASSERT_EQ(pcx.Format(), PixelFormat::Bits8);
    EXPECT_EQ(pcx.Row(0)[0], 0x85);

    for (const auto& [bits, planes] : {std::pair{4u, 1u}, std::pair{4u, 2u}}) {
        SCOPED_TRACE(testing::Message() << bits << "x" << planes);
        try {
            pcx.ReadPicture(PcxHeader(bits, planes, 2, 1, 1));
            ADD_FAILURE();
        } catch (const InvalidGraphicError& e) {
            EXPECT_STREQ(e.what(), "Invalid color format in PCX file.");
        }
    }
}

TEST(Pcx, EightBitPaletteBehindTheMarkerOrGrey)
{
    Bytes file = PcxHeader(8, 1, 1, 1, 2);
    file.insert(file.end(), {0xC2, 0x03});
    file.push_back(12);
    for (unsigned i = 0; i < 256; ++i)
        file.insert(file.end(), {static_cast<std::uint8_t>(i), 1, 2});
    TPCXGraphic pcx;
    pcx.ReadPicture(file);
    EXPECT_EQ(pcx.Row(0)[0], 3);
    EXPECT_EQ(pcx.Palette[3], (Color{3, 1, 2}));
    file[68] = 2;  // the header says grey
    pcx.ReadPicture(file);
    EXPECT_EQ(pcx.Palette[3], (Color{3, 3, 3}));
    // A colour file of version 5 cut in its palette has lost the marker.
    file[68] = 1;
    file.pop_back();
    EXPECT_THROW(pcx.ReadPicture(file), InvalidGraphicError);
}

TEST(Pcx, BadHeadersAreRefused)
{
    const std::string invalid = "Cannot load image. Invalid or unexpected PCX or SCR image format.";
    struct Case { const char* what; Bytes file; };
    Bytes badMaker = PcxHeader(8, 1, 2, 2, 2);
    badMaker[0] = 11;
    Bytes zeroWidth = PcxHeader(8, 1, 2, 2, 2);
    zeroWidth[4] = 5;  // left beyond right
    Bytes shortLine = PcxHeader(8, 1, 4, 1, 3);
    shortLine.insert(shortLine.end(), {1, 2, 3, 4});
    Bytes bomb = PcxHeader(8, 1, 1, 1, 255);
    bomb[8] = bomb[9] = bomb[10] = bomb[11] = 0x10;  // 4113 x 4113
    bomb.insert(bomb.end(), {0xFF, 0x00, 0xFF, 0x00});
    for (const Case& c : {Case{"maker", badMaker}, Case{"zero width", zeroWidth}, Case{"short line", shortLine},
                          Case{"bomb", bomb}, Case{"header cut", Bytes(badMaker.begin() + 0, badMaker.begin() + 40)}}) {
        SCOPED_TRACE(c.what);
        Bytes file = c.file;
        if (std::string(c.what) == "header cut")
            file[0] = 10;
        TPCXGraphic pcx;
        try {
            pcx.ReadPicture(file);
            ADD_FAILURE();
        } catch (const InvalidGraphicError& e) {
            EXPECT_EQ(e.what(), invalid);
        }
    }
}
