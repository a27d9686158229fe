#include "formats/UnassignablePicture.h"

// Only the headers are read. An icon directory: reserved 0, type 1 (icon) or
// 2 (cursor), a count, then 16-byte entries whose first two bytes are width
// and height (0 meaning 256). An enhanced metafile starts with record type 1
// and carries " EMF" at offset 40, its bounds (inclusive, in device pixels)
// at offset 8. A placeable metafile starts with the key 9AC6CDD7h, then a
// handle, a bounding box of four signed 16-bit values and units per inch.

#include "base/ByteReader.h"
#include "base/Errors.h"

#include <cstdlib>

namespace quillmark {

namespace {

constexpr const char* kInvalidIcon = "Icon image is not valid";
constexpr const char* kInvalidMetafile = "Metafile is not valid";
constexpr std::uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::int64_t kScreenPixelsPerInch = 96;

std::int32_t Side(std::int64_t side)
{
    return static_cast<std::int32_t>(side);
}

std::int64_t Signed32(std::uint32_t v)
{
    return static_cast<std::int32_t>(v);
}

std::int64_t Signed16(std::uint16_t v)
{
    return static_cast<std::int16_t>(v);
}

} // namespace

UnassignablePicture::UnassignablePicture(std::string className, std::int32_t width, std::int32_t height)
    : m_className(std::move(className)), m_width(width), m_height(height)
{
    CheckPictureSize(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height));
}

Bitmap UnassignablePicture::TakeBitmap()
{
    throw InvalidGraphicError(FormatMessage("Cannot assign a %s to a %s", {m_className, kBitmapTargetName}));
}

std::unique_ptr<Graphic> UnassignablePicture::ReadIcon(std::span<const std::uint8_t> file)
{
    ByteReader reader(file, kInvalidIcon);
    const std::uint16_t reserved = reader.U16LE();
    const std::uint16_t type = reader.U16LE();
    const std::uint16_t count = reader.U16LE();
    if (reserved != 0 || (type != 1 && type != 2) || count == 0)
        throw InvalidGraphicError(kInvalidIcon);
    const std::uint8_t width = reader.U8();
    const std::uint8_t height = reader.U8();
    return std::make_unique<UnassignablePicture>(kIconPictureName, width == 0 ? 256 : width,
                                                 height == 0 ? 256 : height);
}

std::unique_ptr<Graphic> UnassignablePicture::ReadMetafile(std::span<const std::uint8_t> file)
{
    ByteReader reader(file, kInvalidMetafile);
    const std::uint32_t first = reader.U32LE();
    std::int64_t width = 0;
    std::int64_t height = 0;
    if (first == kPlaceableKey) {
        reader.Skip(2);
        const std::int64_t left = Signed16(reader.U16LE());
        const std::int64_t top = Signed16(reader.U16LE());
        const std::int64_t right = Signed16(reader.U16LE());
        const std::int64_t bottom = Signed16(reader.U16LE());
        const std::uint16_t unitsPerInch = reader.U16LE();
        if (unitsPerInch == 0)
            throw InvalidGraphicError(kInvalidMetafile);
        width = std::llabs(right - left) * kScreenPixelsPerInch / unitsPerInch;
        height = std::llabs(bottom - top) * kScreenPixelsPerInch / unitsPerInch;
    } else if (first == 1) {
        reader.Skip(4);
        const std::int64_t left = Signed32(reader.U32LE());
        const std::int64_t top = Signed32(reader.U32LE());
        const std::int64_t right = Signed32(reader.U32LE());
        const std::int64_t bottom = Signed32(reader.U32LE());
        reader.Seek(40);
        if (reader.U32LE() != kEmfSignature)
            throw InvalidGraphicError(kInvalidMetafile);
        width = std::llabs(right - left) + 1;
        height = std::llabs(bottom - top) + 1;
    } else {
        throw InvalidGraphicError(kInvalidMetafile);
    }
    // Bounds of 32-bit corners stay within 2^33; the size guard rejects them
    // before they could be narrowed.
    CheckPictureSize(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height));
    return std::make_unique<UnassignablePicture>(kMetafilePictureName, Side(width), Side(height));
}

const PictureClass& IconPictureClass()
{
    static const PictureClass iconClass{kIconPictureName, {}, &UnassignablePicture::ReadIcon};
    return iconClass;
}

const PictureClass& MetafilePictureClass()
{
    static const PictureClass metafileClass{kMetafilePictureName, {}, &UnassignablePicture::ReadMetafile};
    return metafileClass;
}

} // namespace quillmark
