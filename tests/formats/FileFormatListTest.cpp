#include "formats/FileFormatList.h"
#include "formats/JpegPicture.h"
#include "formats/PictureLoader.h"
#include "formats/StartupFormats.h"
#include "formats/UnassignablePicture.h"

#include <gtest/gtest.h>

#include <string>

using namespace quillmark;

namespace {

// Stands in for the toolkit's bitmap class, which needs Qt.
const PictureClass& FakeBitmapClass()
{
    static const PictureClass c{kBitmapPictureName, {}, [](std::span<const std::uint8_t>) -> std::unique_ptr<Graphic> {
                                    Bitmap b;
                                    b.Allocate(PixelFormat::Bits24, 1, 1);
                                    return std::make_unique<BitmapGraphic>(std::move(b));
                                }};
    return c;
}

PictureClass MakeClass(std::string name, std::vector<std::string> ancestors = {})
{
    return PictureClass{std::move(name), std::move(ancestors), [](std::span<const std::uint8_t>) -> std::unique_ptr<Graphic> {
                            return nullptr;
                        }};
}

std::string LoadError(const PictureFormatList& formats, const std::string& fileName)
{
    try {
        LoadPicture(formats, fileName);
    } catch (const QuillmarkError& e) {
        return e.what();
    }
    return "(no error)";
}

const char* const kOpenDialogFilter =
    "All (*.png;*.gif;*.scr;*.pcc;*.pcx;*.fax;*.tif;*.tiff;*.dib;*.rle;*.jpeg;*.jpe;*.jpg;*.jfif;*.emf;*.wmf;*.ico;"
    "*.bmp;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)|*.png;*.gif;*.scr;*.pcc;*.pcx;*.fax;*.tif;*.tiff;*.dib;*.rle;*.jpeg;"
    "*.jpe;*.jpg;*.jfif;*.emf;*.wmf;*.ico;*.bmp;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf|Portable network graphic images "
    "(*.png)|*.png|CompuServe images (*.gif)|*.gif|Word 5.x screen capture images (*.scr)|*.scr|ZSoft Paintbrush "
    "images (*.pcc)|*.pcc|ZSoft Paintbrush images (*.pcx)|*.pcx|GFI fax images (*.fax)|*.fax|PC TIF images "
    "(*.tif)|*.tif|Macintosh TIFF images (*.tiff)|*.tiff|Device independant Windows bitmaps (*.dib)|*.dib|Run length "
    "encoded Windows bitmaps (*.rle)|*.rle|JPEG images (*.jpeg)|*.jpeg|JPE images (*.jpe)|*.jpe|JPG images "
    "(*.jpg)|*.jpg|JFIF images (*.jfif)|*.jfif|Windows enhanced meta files (*.emf)|*.emf|Windows metafiles "
    "(*.wmf)|*.wmf|Windows icons (*.ico)|*.ico|Windows bitmaps (*.bmp)|*.bmp|JPEG Image File (*.jpg)|*.jpg|JPEG "
    "Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|Enhanced Metafiles (*.emf)|*.emf|Metafiles "
    "(*.wmf)|*.wmf";

} // namespace

TEST(FormatRegistry, StartUpRegistrationsGiveTheOpenDialogFilter)
{
    PictureRegistry registry(FakeBitmapClass());
    EXPECT_EQ(registry.Formats().Entries().size(), 24u);
    EXPECT_EQ(registry.Formats().BuildFilter(), kOpenDialogFilter);
}

TEST(FormatRegistry, FilterSplitsIntoChoicesAllFirst)
{
    PictureRegistry registry(FakeBitmapClass());
    const std::vector<FilterItem> items = SplitFilter(registry.Formats().BuildFilter());
    ASSERT_EQ(items.size(), 25u);
    EXPECT_EQ(items[0].Description.substr(0, 12), "All (*.png;*");
    EXPECT_EQ(items[0].Patterns.substr(0, 12), "*.png;*.gif;");
    EXPECT_EQ(items[4], (FilterItem{"ZSoft Paintbrush images (*.pcc)", "*.pcc"}));
    EXPECT_EQ(items[24], (FilterItem{"Metafiles (*.wmf)", "*.wmf"}));
}

TEST(FormatRegistry, FilterOfOneEntryHasNoAllLine)
{
    PictureFormatList list;
    const PictureClass c = MakeClass("C");
    list.Add("", "skipped", c);
    EXPECT_EQ(list.BuildFilter(), "");
    list.Add("PNG", "Pictures", c);
    EXPECT_EQ(list.BuildFilter(), "Pictures (*.png)|*.png");
}

TEST(FormatRegistry, ExtensionChoosesTheClassNewestFirst)
{
    PictureRegistry registry(FakeBitmapClass());
    struct Case {
        const char* file;
        const PictureClass* expected;
    };
    const Case cases[] = {
        {"plot.png", &PNGGraphicClass()},          {"PLOT.PNG", &PNGGraphicClass()},
        {"/data/run.2.Png", &PNGGraphicClass()},   {"scan.pcc", &PCXGraphicClass()},
        {"scan.scr", &PCXGraphicClass()},          {"fax.FAX", &TIFFGraphicClass()},
        {"a.tiff", &TIFFGraphicClass()},           {"a.gif", &GIFGraphicClass()},
        {"photo.jpe", &JpegPictureClass()},        {"photo.JFIF", &JpegPictureClass()},
        {"photo.jpeg", &JpegPictureClass()},       {"old.rle", &FakeBitmapClass()},
        {"old.dib", &FakeBitmapClass()},           {"old.bmp", &FakeBitmapClass()},
        {"icon.ico", &IconPictureClass()},         {"drawing.emf", &MetafilePictureClass()},
        {"folder.png/drawing.wmf", &MetafilePictureClass()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(registry.Formats().FindByExtension(PictureExtension(c.file)), c.expected);
    }
}

TEST(FormatRegistry, UnknownExtensionsNameTheTextAfterTheLastDot)
{
    PictureRegistry registry(FakeBitmapClass());
    struct Case {
        const char* file;
        const char* message;
    };
    const Case cases[] = {
        {"scan.tif.bak", "Unknown picture file extension (.bak)"},
        {"scan", "Unknown picture file extension (.)"},
        {"scan.", "Unknown picture file extension (.)"},
        {"pictures.png/scan", "Unknown picture file extension (.)"},
        {"Scan.TXT", "Unknown picture file extension (.txt)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(LoadError(registry.Formats(), c.file), c.message);
    }
}

TEST(FormatRegistry, NewerEntryHidesOlderUntilItsClassGoes)
{
    PictureFormatList list;
    const PictureClass older = MakeClass("Older");
    const PictureClass newer = MakeClass("Newer");
    list.Add("bmp", "old", older);
    list.Add("BMP", "new", newer);
    EXPECT_EQ(list.FindByExtension("bmp"), &newer);
    list.RemoveClass(newer);
    EXPECT_EQ(list.FindByExtension("Bmp"), &older);
}

TEST(FormatRegistry, SecondRegistrationOfAnExtensionIsRefused)
{
    PictureRegistry registry(FakeBitmapClass());
    const PictureClass other = MakeClass("Other");
    for (const char* extension : {"png", "PNG", "Jpe"}) {
        SCOPED_TRACE(extension);
        try {
            registry.FileFormats().Register(extension, "Again", "", other);
            FAIL() << "registered twice";
        } catch (const InvalidGraphicError& e) {
            EXPECT_EQ(std::string(e.what()), std::string("Attempt to register ") + extension + " twice.");
        }
    }
    EXPECT_EQ(registry.Formats().Entries().size(), 24u);
    EXPECT_EQ(registry.FileFormats().FindClass(other), -1);
    EXPECT_EQ(registry.FileFormats().ExtensionCount(), 18u);
}

TEST(FormatRegistry, RecordsCountExtensionsAndKeepTheLastCommonDescription)
{
    PictureRegistry registry(FakeBitmapClass());
    TFileFormatList& list = registry.FileFormats();
    EXPECT_EQ(list.ClassCount(), 8u);
    const int pcx = list.FindClass(PCXGraphicClass());
    ASSERT_GE(pcx, 0);
    EXPECT_EQ(list.ExtensionsOfClass(pcx), 3u);
    EXPECT_EQ(list.ClassDescription(pcx), "ZSoft Paintbrush images");
    EXPECT_EQ(list.ClassDescription(list.FindClass(JpegPictureClass())), "JPG images");
    EXPECT_EQ(list.ExtensionsOfClass(list.FindClass(FakeBitmapClass())), 3u);
    EXPECT_EQ(list.FindExtension("TIF"), 11);
    EXPECT_EQ(list.FindExtension("bak"), -1);

    list.Register("", "Nothing", "", MakeClass("Unused"));
    EXPECT_EQ(list.ExtensionCount(), 18u);
}

TEST(FormatRegistry, UnregisteringAnExtensionKeepsItsClassWhileOthersRemain)
{
    PictureFormatList toolkit;
    const PictureClass bitmap = MakeClass(kBitmapPictureName);
    {
        TFileFormatList list(toolkit);
        list.Register("bmp", "Windows bitmaps", "", bitmap);
        list.Register("rle", "", "RLE", bitmap);
        list.Unregister("rle", bitmap);
        EXPECT_EQ(list.FindExtension("rle"), -1);
        ASSERT_EQ(list.FindClass(bitmap), 0);
        EXPECT_EQ(list.ExtensionsOfClass(0), 1u);
        // The class is still there, so its toolkit entries are too.
        EXPECT_EQ(toolkit.FindByExtension("rle"), &bitmap);
        list.Unregister("bmp", bitmap);
        EXPECT_EQ(list.FindClass(bitmap), -1);
        EXPECT_TRUE(toolkit.Entries().empty());
    }
}

TEST(FormatRegistry, RemovingAClassRemovesTheClassesDerivedFromIt)
{
    PictureFormatList toolkit;
    const PictureClass bitmap = MakeClass(kBitmapPictureName);
    const PictureClass raster = MakeClass("TPNGGraphic", {kRasterGraphicName, kBitmapPictureName});
    const PictureClass icon = MakeClass(kIconPictureName);
    TFileFormatList list(toolkit);
    list.Register("bmp", "Windows bitmaps", "", bitmap);
    list.Register("png", "PNG", "", raster);
    list.Register("ico", "Icons", "", icon);
    list.Unregister(std::nullopt, bitmap);
    EXPECT_EQ(toolkit.FindByExtension("png"), nullptr);
    EXPECT_EQ(toolkit.FindByExtension("ico"), &icon);
    // Only the toolkit list forgets the derived class; its own records stay.
    EXPECT_EQ(list.FindExtension("png"), 0);
}

TEST(FormatRegistry, ShutdownLeavesOnlyTheToolkitKinds)
{
    PictureRegistry registry(FakeBitmapClass());
    registry.Shutdown();
    const PictureFormatList& formats = registry.Formats();
    for (const char* gone : {"tif", "tiff", "fax", "pcx", "pcc", "scr", "gif", "png"}) {
        SCOPED_TRACE(gone);
        EXPECT_EQ(formats.FindByExtension(gone), nullptr);
    }
    EXPECT_EQ(formats.FindByExtension("bmp"), &FakeBitmapClass());
    EXPECT_EQ(registry.FileFormats().FindExtension("rle"), -1);
    EXPECT_EQ(registry.FileFormats().FindExtension("bmp"), 0);
    EXPECT_EQ(registry.FileFormats().ClassCount(), 4u);
    registry.Shutdown();
    EXPECT_EQ(registry.FileFormats().ClassCount(), 4u);
}

TEST(FormatRegistry, DestroyingTheListTakesItsClassesOutOfTheToolkitList)
{
    PictureFormatList toolkit;
    const PictureClass mine = MakeClass("Mine");
    const PictureClass foreign = MakeClass("Foreign");
    toolkit.Add("jpg", "JPEG Image File", mine);
    toolkit.Add("xyz", "Someone else's", foreign);
    {
        TFileFormatList list(toolkit);
        list.Register("jpe", "JPG images", "", mine);
        EXPECT_EQ(toolkit.Entries().size(), 3u);
    }
    ASSERT_EQ(toolkit.Entries().size(), 1u);
    EXPECT_EQ(toolkit.Entries()[0].Extension, "xyz");
}
