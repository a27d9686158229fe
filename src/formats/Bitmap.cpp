#include "formats/Bitmap.h"

#include <cassert>
#include <string>

namespace quillmark {

int BitsPerPixel(PixelFormat format)
{
    switch (format) {
    case PixelFormat::Bits1: return 1;
    case PixelFormat::Bits4: return 4;
    case PixelFormat::Bits8: return 8;
    case PixelFormat::Bits15: return 16;
    case PixelFormat::Bits16: return 16;
    case PixelFormat::Bits24: return 24;
    case PixelFormat::Bits32: return 32;
    }
    return 24;
}

std::string PictureTooLargeMessage(std::uint64_t width, std::uint64_t height)
{
    return FormatMessage("Cannot load image. Picture of %dx%d pixels is too large.",
                         {std::to_string(width), std::to_string(height)});
}

void CheckPictureSize(std::uint64_t width, std::uint64_t height)
{
    if (width > kMaxSide || height > kMaxSide || width * height > kMaxPixels)
        throw InvalidGraphicError(PictureTooLargeMessage(width, height));
}

void Bitmap::Allocate(PixelFormat format, std::int32_t width, std::int32_t height)
{
    if (width < 0 || height < 0)
        throw InternalError("negative bitmap size");
    CheckPictureSize(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height));
    const auto bits = static_cast<std::uint64_t>(BitsPerPixel(format));
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
    m_pixels.assign(static_cast<std::size_t>(stride * static_cast<std::uint64_t>(height)), 0);
    m_format = format;
    m_width = width;
    m_height = height;
    m_stride = static_cast<std::size_t>(stride);
}

std::span<std::uint8_t> Bitmap::Row(std::int32_t y)
{
    assert(y >= 0 && y < m_height);
    return std::span<std::uint8_t>(m_pixels).subspan(static_cast<std::size_t>(y) * m_stride, m_stride);
}

std::span<const std::uint8_t> Bitmap::Row(std::int32_t y) const
{
    assert(y >= 0 && y < m_height);
    return std::span<const std::uint8_t>(m_pixels).subspan(static_cast<std::size_t>(y) * m_stride, m_stride);
}

} // namespace quillmark
