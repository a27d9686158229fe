#include "formats/Bitmap.h"

#include <cassert>
#if defined(__x86_64__)
#include <immintrin.h>
#endif
#if defined(__linux__)
#include <sys/mman.h>
#endif
#include <cstring>
#include <new>
#include <string>

namespace quillmark {

namespace {

void SwapRedBlueLoop(const std::uint8_t* from, std::uint8_t* to, std::size_t bytes)
{
    for (std::size_t x = 0; x < bytes; x += 3) {
        const std::uint8_t first = from[x];
        const std::uint8_t second = from[x + 1];
        const std::uint8_t third = from[x + 2];
        to[x] = third;
        to[x + 1] = second;
        to[x + 2] = first;
    }
}

#if defined(__x86_64__)
// Four pixels a step: 16 bytes loaded, the first 12 reordered, 16 stored (the
// last 4 are overwritten by the next step). Stops 16 bytes before the end of
// both rows and leaves the rest to the plain loop.
__attribute__((target("ssse3"))) void SwapRedBlueSsse3(const std::uint8_t* from, std::uint8_t* to, std::size_t bytes)
{
    const __m128i order = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 12, 13, 14, 15);
    std::size_t x = 0;
    for (; x + 16 <= bytes; x += 12) {
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + x));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + x), _mm_shuffle_epi8(pixels, order));
    }
    SwapRedBlueLoop(from + x, to + x, bytes - x);
}
#endif

} // namespace

void SwapRedBlueRow(const std::uint8_t* from, std::uint8_t* to, std::size_t bytes)
{
#if defined(__x86_64__)
    static const bool ssse3 = __builtin_cpu_supports("ssse3");
    if (ssse3) {
        SwapRedBlueSsse3(from, to, bytes);
        return;
    }
#endif
    SwapRedBlueLoop(from, to, bytes);
}

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

PixelMemory::PixelMemory(std::size_t bytes)
    : m_data(static_cast<std::uint8_t*>(std::calloc(bytes + kPixelSpareBytes, 1))), m_size(bytes)
{
    if (!m_data)
        throw std::bad_alloc();
#if defined(__linux__)
    // A picture is written and read whole: on 2 MB pages it costs a few
    // hundred page faults instead of one for every 4 KB, and walks across its
    // rows stay within the page tables' cache. Only a hint, given before the
    // first touch of the fresh pages.
    constexpr std::uintptr_t kHugePageBytes = std::uintptr_t{2} << 20;
    if (bytes >= kHugePageBytes * 2) {
        const auto begin = reinterpret_cast<std::uintptr_t>(m_data.get());
        const std::uintptr_t from = (begin + kHugePageBytes - 1) & ~(kHugePageBytes - 1);
        const std::uintptr_t to = (begin + bytes) & ~(kHugePageBytes - 1);
        if (to > from)
            madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
    }
#endif
}

PixelMemory::PixelMemory(const PixelMemory& other) : PixelMemory(other.m_size)
{
    if (m_size > 0)
        std::memcpy(m_data.get(), other.m_data.get(), m_size);
}

PixelMemory& PixelMemory::operator=(const PixelMemory& other)
{
    if (this != &other)
        *this = PixelMemory(other);
    return *this;
}

PixelMemory Bitmap::TakePixels()
{
    PixelMemory pixels = std::move(m_pixels);
    m_pixels = PixelMemory();
    m_width = m_height = 0;
    m_stride = 0;
    return pixels;
}

void Bitmap::Allocate(PixelFormat format, std::int32_t width, std::int32_t height)
{
    if (width < 0 || height < 0)
        throw InternalError("negative bitmap size");
    CheckPictureSize(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height));
    const auto bits = static_cast<std::uint64_t>(BitsPerPixel(format));
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
    m_pixels = PixelMemory(static_cast<std::size_t>(stride * static_cast<std::uint64_t>(height)));
    m_format = format;
    m_width = width;
    m_height = height;
    m_stride = static_cast<std::size_t>(stride);
}

std::span<std::uint8_t> Bitmap::Row(std::int32_t y)
{
    assert(y >= 0 && y < m_height);
    return Pixels().subspan(static_cast<std::size_t>(y) * m_stride, m_stride);
}

std::span<const std::uint8_t> Bitmap::Row(std::int32_t y) const
{
    assert(y >= 0 && y < m_height);
    return Pixels().subspan(static_cast<std::size_t>(y) * m_stride, m_stride);
}

} // namespace quillmark
