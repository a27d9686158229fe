#include "imaging/OpenedPicture.h"

#include "base/Errors.h"
#include "formats/UnassignablePicture.h"

#include <gtest/gtest.h>

using namespace quillmark;

TEST(OpenedPicture, TitleIsTheNameCutBeforeItsFirstDot)
{
    const struct {
        const char* file;
        const char* title;
    } cases[] = {{"run.2.png", "run"},       {"/data/a.b.tif", "a"},     {"plain", "plain"},
                 {"/x.y/chart.png", "chart"}, {".hidden.png", ""},       {"dir.v2/noext", "noext"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(PictureTitle(c.file), c.title);
    }
}

TEST(OpenedPicture, BuffersAreSeparateCopiesOfThePicture)
{
    Bitmap bitmap;
    bitmap.Allocate(PixelFormat::Bits24, 3, 2);
    bitmap.Row(1)[3] = 200;
    BitmapGraphic picture(std::move(bitmap));
    const PictureBuffers buffers = MakePictureBuffers(picture);
    ASSERT_NE(buffers.Source.get(), buffers.Work.get());
    EXPECT_EQ(buffers.Source->Width(), 3);
    EXPECT_EQ(buffers.Work->Height(), 2);
    EXPECT_EQ(buffers.Work->RowTable()[1][3], 200);
}

TEST(OpenedPicture, AnIconRefusesToBecomeBuffers)
{
    UnassignablePicture icon(kIconPictureName, 16, 16);
    EXPECT_THROW(
        {
            try {
                MakePictureBuffers(icon);
            } catch (const InvalidGraphicError& e) {
                EXPECT_STREQ(e.what(), "Cannot assign a IconPicture to a Bitmap");
                throw;
            }
        },
        InvalidGraphicError);
}
