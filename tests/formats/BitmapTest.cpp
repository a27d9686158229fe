#include "formats/Bitmap.h"

#include <gtest/gtest.h>

using namespace quillmark;

TEST(Bitmap, RowsArePaddedToFourBytes)
{
    struct Case { PixelFormat format; int width; std::size_t stride; };
    for (const Case c : {Case{PixelFormat::Bits1, 33, 8}, Case{PixelFormat::Bits4, 9, 8}, Case{PixelFormat::Bits8, 5, 8},
                         Case{PixelFormat::Bits24, 5, 16}, Case{PixelFormat::Bits32, 3, 12}}) {
        SCOPED_TRACE(c.width);
        Bitmap b;
        b.Allocate(c.format, c.width, 2);
        EXPECT_EQ(b.Stride(), c.stride);
        EXPECT_EQ(b.Pixels().size(), c.stride * 2);
    }
}

TEST(Bitmap, SizeGuardRefusesBeforeAllocating)
{
    EXPECT_NO_THROW(CheckPictureSize(65535, 4096));
    EXPECT_NO_THROW(CheckPictureSize(16384, 16384));
    try {
        CheckPictureSize(65536, 1);
        FAIL();
    } catch (const InvalidGraphicError& e) {
        EXPECT_STREQ(e.what(), "Cannot load image. Picture of 65536x1 pixels is too large.");
    }
    EXPECT_THROW(CheckPictureSize(16385, 16384), InvalidGraphicError);
    Bitmap b;
    EXPECT_THROW(b.Allocate(PixelFormat::Bits24, 1, 65536), InvalidGraphicError);
    EXPECT_TRUE(b.Empty());
}
