#include "imaging/OpenedPicture.h"

#include "base/Errors.h"
#include "document/DigitizeSession.h"
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

TEST(OpenedPicture, TheDocumentsWorkingCopyIsASeparateCopyOfThePicture)
{
    Bitmap bitmap;
    bitmap.Allocate(PixelFormat::Bits24, 3, 2);
    bitmap.Row(1)[3] = 200;
    BitmapGraphic picture(std::move(bitmap));
    DigitizeSession session;
    session.OpenPicture(OpenedPicture(picture));
    EXPECT_EQ(session.Work(), nullptr);
    session.Adjust({});
    ASSERT_NE(session.Source(), session.Work());
    EXPECT_EQ(session.Source()->Width(), 3);
    EXPECT_EQ(session.Work()->Height(), 2);
    EXPECT_EQ(session.Work()->RowTable()[1][3], 200);
}

TEST(OpenedPicture, AnIconRefusesToBecomeBuffers)
{
    UnassignablePicture icon(kIconPictureName, 16, 16);
    EXPECT_THROW(
        {
            try {
                (void)OpenedPicture(icon);
            } catch (const InvalidGraphicError& e) {
                EXPECT_STREQ(e.what(), "Cannot assign a IconPicture to a Bitmap");
                throw;
            }
        },
        InvalidGraphicError);
}
