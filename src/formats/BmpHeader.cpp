#include "formats/BmpHeader.h"

#include "base/ByteReader.h"
#include "base/Errors.h"
#include "formats/Bitmap.h"

#include <string>

namespace quillmark {

namespace {

constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kSmallestInfoHeaderSize = 16;

std::string InvalidBmpMessage()
{
    return FormatMessage("Cannot load image. Invalid or unexpected %s image format.", {"BMP"});
}

} // namespace

DeclaredSize CheckBmpHeader(std::span<const std::uint8_t> file)
{
    ByteReader reader(file, InvalidBmpMessage());
    if (reader.U8() != 'B' || reader.U8() != 'M')
        throw InvalidGraphicError(InvalidBmpMessage());
    reader.Seek(14);
    const std::uint32_t headerSize = reader.U32LE();
    DeclaredSize size;
    if (headerSize == kCoreHeaderSize) {
        size.Width = reader.U16LE();
        size.Height = reader.U16LE();
    } else if (headerSize >= kSmallestInfoHeaderSize) {
        const auto width = static_cast<std::int32_t>(reader.U32LE());
        const auto height = static_cast<std::int64_t>(static_cast<std::int32_t>(reader.U32LE()));
        if (width < 0)
            throw InvalidGraphicError(InvalidBmpMessage());
        size.Width = static_cast<std::uint64_t>(width);
        size.Height = static_cast<std::uint64_t>(height < 0 ? -height : height);
    } else {
        throw InvalidGraphicError(InvalidBmpMessage());
    }
    if (size.Width == 0 || size.Height == 0)
        throw InvalidGraphicError(InvalidBmpMessage());
    CheckPictureSize(size.Width, size.Height);
    return size;
}

} // namespace quillmark
