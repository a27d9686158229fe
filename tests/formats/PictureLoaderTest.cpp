#include "formats/PictureLoader.h"
#include "formats/StartupFormats.h"
#include "formats/UnassignablePicture.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

using namespace quillmark;
namespace fs = std::filesystem;

namespace {

class PictureLoader : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const
    {
        return m_folder.Write(name, bytes);
    }

    const test::ScratchFolder m_folder{"quillmark-loader-"};
    const fs::path& m_dir = m_folder.Path();
};

template <class F>
std::string ErrorOf(F&& f)
{
    try {
        f();
    } catch (const QuillmarkError& e) {
        return e.what();
    }
    return "(no error)";
}

void PutU16(std::vector<std::uint8_t>& out, unsigned v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

std::vector<std::uint8_t> IconHeader(std::uint8_t width, std::uint8_t height)
{
    std::vector<std::uint8_t> ico;
    PutU16(ico, 0);
    PutU16(ico, 1);
    PutU16(ico, 1);
    ico.push_back(width);
    ico.push_back(height);
    ico.resize(22, 0);
    return ico;
}

std::vector<std::uint8_t> EmfHeader(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom)
{
    std::vector<std::uint8_t> emf;
    PutU32(emf, 1);
    PutU32(emf, 88);
    for (const std::int32_t v : {left, top, right, bottom})
        PutU32(emf, static_cast<std::uint32_t>(v));
    emf.resize(40, 0);
    PutU32(emf, 0x464D4520);
    emf.resize(88, 0);
    return emf;
}

std::vector<std::uint8_t> PlaceableWmfHeader(std::int16_t right, std::int16_t bottom, std::uint16_t inch)
{
    std::vector<std::uint8_t> wmf;
    PutU32(wmf, 0x9AC6CDD7);
    PutU16(wmf, 0);
    for (const std::int16_t v : {std::int16_t{0}, std::int16_t{0}, right, bottom})
        PutU16(wmf, static_cast<std::uint16_t>(v));
    PutU16(wmf, inch);
    wmf.resize(22, 0);
    return wmf;
}

} // namespace

TEST_F(PictureLoader, ReadsTheWholeFileUpToTheLimit)
{
    const std::string file = Write("four.bin", {1, 2, 3, 4});
    EXPECT_EQ(ReadPictureFile(file, 4), (std::vector<std::uint8_t>{1, 2, 3, 4}));
    EXPECT_EQ(ErrorOf([&] { ReadPictureFile(file, 3); }),
              "Cannot open file " + file + ". The file is too large (4 bytes).");
    EXPECT_TRUE(ReadPictureFile(Write("empty.bin", {}), 4).empty());
}

TEST_F(PictureLoader, FilesThatCannotBeReadAreFileErrors)
{
    const std::string missing = (m_dir / "missing.png").string();
    for (const std::string& name : {missing, m_dir.string(), std::string("/dev/zero")}) {
        SCOPED_TRACE(name);
        EXPECT_THROW(ReadPictureFile(name), FileError);
        EXPECT_EQ(ErrorOf([&] { ReadPictureFile(name); }), "Cannot open file " + name);
    }
}

TEST_F(PictureLoader, ClassReaderGetsTheFileBytes)
{
    std::vector<std::uint8_t> seen;
    const PictureClass recorder{"Recorder", {}, [&seen](std::span<const std::uint8_t> file) -> std::unique_ptr<Graphic> {
                                    seen.assign(file.begin(), file.end());
                                    Bitmap b;
                                    b.Allocate(PixelFormat::Bits8, 2, 3);
                                    return std::make_unique<BitmapGraphic>(std::move(b));
                                }};
    PictureFormatList formats;
    formats.Add("rec", "Recordings", recorder);
    const auto graphic = LoadPicture(formats, Write("a.REC", {9, 8, 7}));
    EXPECT_EQ(seen, (std::vector<std::uint8_t>{9, 8, 7}));
    EXPECT_EQ(graphic->Width(), 2);
    EXPECT_EQ(graphic->TakeBitmap().Height(), 3);
    // The extension is looked up before the file is opened.
    EXPECT_EQ(ErrorOf([&] { LoadPicture(formats, (m_dir / "missing.rec").string()); }),
              "Cannot open file " + (m_dir / "missing.rec").string());
    EXPECT_EQ(ErrorOf([&] { LoadPicture(formats, (m_dir / "missing.xyz").string()); }),
              "Unknown picture file extension (.xyz)");
}

TEST_F(PictureLoader, IconsAndMetafilesLoadButAreNoBitmaps)
{
    PictureFormatList formats;
    formats.Add("ico", "Icons", IconPictureClass());
    formats.Add("emf", "Enhanced Metafiles", MetafilePictureClass());
    formats.Add("wmf", "Metafiles", MetafilePictureClass());
    struct Case {
        std::string file;
        std::int32_t width, height;
        const char* message;
    };
    const Case cases[] = {
        {Write("a.ico", IconHeader(32, 0)), 32, 256, "Cannot assign a IconPicture to a Bitmap"},
        {Write("a.emf", EmfHeader(10, 20, 109, 69)), 100, 50, "Cannot assign a MetafilePicture to a Bitmap"},
        {Write("a.wmf", PlaceableWmfHeader(2880, 1440, 1440)), 192, 96, "Cannot assign a MetafilePicture to a Bitmap"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const auto graphic = LoadPicture(formats, c.file);
        EXPECT_EQ(graphic->Width(), c.width);
        EXPECT_EQ(graphic->Height(), c.height);
        EXPECT_EQ(ErrorOf([&] { graphic->TakeBitmap(); }), c.message);
        EXPECT_EQ(graphic->Width(), c.width);
    }
}

TEST_F(PictureLoader, BadIconAndMetafileHeadersAreRefused)
{
    std::vector<std::uint8_t> cursorWithNoImages = IconHeader(16, 16);
    cursorWithNoImages[4] = 0;
    std::vector<std::uint8_t> notEmf = EmfHeader(0, 0, 9, 9);
    notEmf[40] = 'X';
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        const PictureClass& pictureClass;
        const char* message;
    };
    const Case cases[] = {
        {"short icon", {0, 0, 1}, IconPictureClass(), "Icon image is not valid"},
        {"no images", cursorWithNoImages, IconPictureClass(), "Icon image is not valid"},
        {"bitmap as icon", {'B', 'M', 0, 0, 0, 0, 0, 0}, IconPictureClass(), "Icon image is not valid"},
        {"empty metafile", {}, MetafilePictureClass(), "Metafile is not valid"},
        {"no signature", notEmf, MetafilePictureClass(), "Metafile is not valid"},
        {"zero inch", PlaceableWmfHeader(100, 100, 0), MetafilePictureClass(), "Metafile is not valid"},
        {"huge bounds", EmfHeader(-2000000000, 0, 2000000000, 10), MetafilePictureClass(),
         "Cannot load image. Picture of 4000000001x11 pixels is too large."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ErrorOf([&] { c.pictureClass.Read(c.bytes); }), c.message);
    }
}

TEST_F(PictureLoader, CapitalExtensionLoadsWithTheRegisteredDecoder)
{
    const fs::path original = fs::path(QUILLMARK_CORPUS) / "public/png/basn2c08.png";
    if (!fs::exists(original))
        GTEST_SKIP() << "no corpus";
    const fs::path copy = m_dir / "PLOT.PNG";
    fs::copy_file(original, copy);
    const PictureClass bitmapStandIn{kBitmapPictureName, {}, nullptr};
    PictureRegistry registry(bitmapStandIn);
    const auto graphic = LoadPicture(registry.Formats(), copy.string());
    const Bitmap picture = graphic->TakeBitmap();
    EXPECT_EQ(picture.Width(), 32);
    EXPECT_EQ(picture.Height(), 32);
}

TEST_F(PictureLoader, PictureUnderAnotherKindsExtensionOpensByItsContent)
{
    const fs::path original = fs::path(QUILLMARK_CORPUS) / "public/png/basn2c08.png";
    if (!fs::exists(original))
        GTEST_SKIP() << "no corpus";
    const PictureClass bitmapStandIn{kBitmapPictureName, {}, nullptr};
    PictureRegistry registry(bitmapStandIn);
    for (const char* name : {"chart.jpg", "chart.gif", "chart.tif", "chart.pcx"}) {
        SCOPED_TRACE(name);
        const fs::path copy = m_dir / name;
        fs::copy_file(original, copy);
        EXPECT_EQ(LoadPicture(registry.Formats(), copy.string())->TakeBitmap().Width(), 32);
    }
    // Content no decoder claims keeps the extension's decoder and its message.
    EXPECT_EQ(ErrorOf([&] { LoadPicture(registry.Formats(), Write("text.gif", {'h', 'e', 'l', 'l', 'o', '!', '!'})); }),
              "Cannot load image. Invalid or unexpected GIF image format.");
    EXPECT_EQ(ExtensionOfContent(std::vector<std::uint8_t>{'I', 'I', '*', 0}), "tif");
    EXPECT_EQ(ExtensionOfContent(std::vector<std::uint8_t>{0xFF, 0xD8, 0xFF, 0xE0}), "jpg");
    EXPECT_EQ(ExtensionOfContent(std::vector<std::uint8_t>{10, 5, 1, 8}), "");
}
