#pragma once
// The decoded picture that every decoder fills: a pixel format of 1, 4, 8, 15,
// 16, 24 or 32 bits, top-down rows padded to 4 bytes, and a palette for the
// indexed formats. 15/16-bit pixels are little-endian 5-5-5 / 5-6-5, 24-bit
// rows are blue-green-red, 32-bit rows blue-green-red-alpha. Allocation passes
// the picture size guard first, so no file can make it huge.
#include "base/Errors.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <optional>
#include <span>
#include <vector>

namespace quillmark {

enum class PixelFormat { Bits1, Bits4, Bits8, Bits15, Bits16, Bits24, Bits32 };

int BitsPerPixel(PixelFormat format);

struct Color {
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;
    friend bool operator==(const Color&, const Color&) = default;
};

inline constexpr std::uint32_t kMaxSide = 65535;
inline constexpr std::uint64_t kMaxPixels = 268435456;

// Throws "Cannot load image. Picture of %dx%d pixels is too large." when a
// side exceeds kMaxSide or the area exceeds kMaxPixels. Zero sizes pass: each
// decoder refuses them with its own invalid-format message.
void CheckPictureSize(std::uint64_t width, std::uint64_t height);
std::string PictureTooLargeMessage(std::uint64_t width, std::uint64_t height);

// Bytes every pixel block has beyond its end, so that a whole-word read of
// the last pixels stays inside the block.
inline constexpr std::size_t kPixelSpareBytes = 64;

// Zero-filled pixel memory with kPixelSpareBytes to spare. It comes from
// calloc: a picture-sized block is mapped straight from fresh pages, which
// the system hands out zeroed, so its bytes are not written twice.
class PixelMemory {
public:
    PixelMemory() = default;
    explicit PixelMemory(std::size_t bytes); // throws std::bad_alloc
    PixelMemory(PixelMemory&&) noexcept = default;
    PixelMemory& operator=(PixelMemory&&) noexcept = default;
    PixelMemory(const PixelMemory& other);
    PixelMemory& operator=(const PixelMemory& other);

    std::uint8_t* Data() const { return m_data.get(); }
    std::size_t Size() const { return m_size; } // without the spare bytes

private:
    struct Free {
        void operator()(std::uint8_t* p) const { std::free(p); }
    };
    std::unique_ptr<std::uint8_t, Free> m_data;
    std::size_t m_size = 0;
};

// The first and third byte of every 3-byte pixel exchanged (blue-green-red
// to red-green-blue and back) from `from` to `to`, `bytes` bytes of whole
// pixels. The two may be the same row, but may not overlap otherwise.
void SwapRedBlueRow(const std::uint8_t* from, std::uint8_t* to, std::size_t bytes);

class Bitmap {
public:
    Bitmap() = default;

    // Checks the size guard, then allocates zero-filled rows.
    void Allocate(PixelFormat format, std::int32_t width, std::int32_t height);

    PixelFormat Format() const { return m_format; }
    std::int32_t Width() const { return m_width; }
    std::int32_t Height() const { return m_height; }
    bool Empty() const { return m_width == 0 || m_height == 0; }
    std::size_t Stride() const { return m_stride; }

    std::span<std::uint8_t> Row(std::int32_t y);
    std::span<const std::uint8_t> Row(std::int32_t y) const;
    std::span<std::uint8_t> Pixels() { return {m_pixels.Data(), m_pixels.Size()}; }
    std::span<const std::uint8_t> Pixels() const { return {m_pixels.Data(), m_pixels.Size()}; }

    // Moves the pixel memory out, leaving an empty bitmap.
    PixelMemory TakePixels();

    // Palette of the indexed formats (at most 2^bits entries are used).
    std::vector<Color> Palette;
    // The transparent colour some files declare; the program never composites.
    std::optional<Color> Transparent;

private:
    PixelFormat m_format = PixelFormat::Bits24;
    std::int32_t m_width = 0;
    std::int32_t m_height = 0;
    std::size_t m_stride = 0;
    PixelMemory m_pixels;
};

} // namespace quillmark
