#include "formats/GIFGraphic.h"

#include "CorpusSupport.h"
#include "LzwTestEncoder.h"

#include <gtest/gtest.h>

using namespace quillmark;
using Bytes = std::vector<std::uint8_t>;

namespace {

void Put16(Bytes& out, unsigned v)
{
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

// A GIF with a 4-entry global table and one image of the given indices.
Bytes BuildGif(unsigned width, unsigned height, const Bytes& indices, bool interlaced = false,
               const std::string& signature = "GIF89a")
{
    Bytes out(signature.begin(), signature.end());
    Put16(out, width);
    Put16(out, height);
    out.insert(out.end(), {0x81, 0, 0});  // global table of 4 entries
    out.insert(out.end(), {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255});
    out.insert(out.end(), {'!', 0xFE, 3, 'a', 'b', 'c', 0});  // a comment
    out.push_back(',');
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, width);
    Put16(out, height);
    out.push_back(interlaced ? 0x40 : 0x00);
    out.push_back(2);
    const Bytes packed = test::LzwEncode(indices, false, 2);
    // Sub-blocks of 5 bytes, so that joining them is exercised.
    for (std::size_t i = 0; i < packed.size(); i += 5) {
        const std::size_t n = std::min<std::size_t>(5, packed.size() - i);
        out.push_back(static_cast<std::uint8_t>(n));
        out.insert(out.end(), packed.begin() + static_cast<std::ptrdiff_t>(i),
                   packed.begin() + static_cast<std::ptrdiff_t>(i + n));
    }
    out.push_back(0);
    out.push_back(';');
    return out;
}

std::string MessageOf(const std::string& kind)
{
    if (kind == "invalid-format")
        return "Cannot load image. Invalid or unexpected GIF image format.";
    return "";
}

} // namespace

TEST(Gif, CorpusMatchesReferencePixels)
{
    test::RunCorpus<TGIFGraphic>("gif", MessageOf);
}

TEST(Gif, InterlacedRowsArePutBackInOrder)
{
    const unsigned height = 11;
    Bytes rows;
    // Stored order of an interlaced 11-row image: 0 8 | 4 | 2 6 10 | 1 3 5 7 9.
    for (const unsigned y : {0u, 8u, 4u, 2u, 6u, 10u, 1u, 3u, 5u, 7u, 9u})
        rows.insert(rows.end(), {static_cast<std::uint8_t>(y % 4), 0});
    TGIFGraphic gif;
    gif.ReadPicture(BuildGif(2, height, rows, true));
    ASSERT_EQ(gif.Height(), 11);
    for (int y = 0; y < 11; ++y)
        EXPECT_EQ(gif.Row(y)[0], y % 4) << "row " << y;
}

TEST(Gif, SignatureLetterCaseIsIgnoredAndTheVersionMustBeANumber)
{
    const Bytes pixels = {1, 2, 3, 0};
    TGIFGraphic gif;
    EXPECT_NO_THROW(gif.ReadPicture(BuildGif(2, 2, pixels, false, "gif87a")));
    EXPECT_EQ(gif.Palette[1], (Color{255, 0, 0}));
    try {
        gif.ReadPicture(BuildGif(2, 2, pixels, false, "GIFx9a"));
        FAIL();
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'x9' is not a valid integer value");
    }
    EXPECT_THROW(gif.ReadPicture(BuildGif(2, 2, pixels, false, "GIT89a")), InvalidGraphicError);
}

TEST(Gif, FileWithoutImageDescriptorIsRefused)
{
    Bytes file = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, '!', 0xFE, 1, 'x', 0, ';'};
    TGIFGraphic gif;
    try {
        gif.ReadPicture(file);
        FAIL();
    } catch (const InvalidGraphicError& e) {
        EXPECT_STREQ(e.what(), "Cannot load image. Invalid or unexpected GIF image format.");
    }
    file.pop_back();  // no trailer either
    EXPECT_THROW(gif.ReadPicture(file), InvalidGraphicError);
}

TEST(Gif, TruncatedFilesAndHugeClaimsFailCleanly)
{
    const Bytes file = BuildGif(4, 4, Bytes(16, 1));
    TGIFGraphic gif;
    for (std::size_t n = 0; n < file.size(); ++n) {
        SCOPED_TRACE(n);
        try {
            gif.ReadPicture(std::span(file).first(n));
        } catch (const QuillmarkError&) {
        }
    }
    // 60000 x 60000 from a few bytes of data.
    Bytes bomb = BuildGif(4, 4, Bytes(16, 1));
    bomb[6] = bomb[7] = bomb[8] = bomb[9] = 0x60;
    const std::size_t descriptor = 13 + 12 + 7 + 1;
    bomb[descriptor + 4] = bomb[descriptor + 5] = bomb[descriptor + 6] = bomb[descriptor + 7] = 0x60;
    EXPECT_THROW(gif.ReadPicture(bomb), InvalidGraphicError);
}

TEST(Gif, FailedLoadKeepsThePreviousPicture)
{
    TGIFGraphic gif;
    gif.ReadPicture(BuildGif(3, 1, {1, 2, 3}));
    EXPECT_THROW(gif.ReadPicture(Bytes{'G', 'I', 'F'}), InvalidGraphicError);
    EXPECT_EQ(gif.Width(), 3);
}
