#pragma once
// TFastBMP owns the pixel memory and row table of a TFastRGB. It is made
// from a decoded Bitmap of any pixel format (expanded to blue-green-red; a
// 24-bit bitmap hands over its memory, whose rows are laid out alike) or as
// an independent copy of another buffer; a 0 x 0 buffer is valid and holds
// no pixels. The memory has a few spare bytes past DataSize() so that vector
// code may read a little beyond the last row.
#include "formats/Bitmap.h"
#include "imaging/FastRGB.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace quillmark {

class TFastBMP : public TFastRGB {
public:
    // Zero-filled buffer; the size passes the picture size guard.
    TFastBMP(std::int32_t width, std::int32_t height);
    ~TFastBMP() = default;

    static std::unique_ptr<TFastBMP> CreateFromBitmap(const Bitmap& bitmap);
    // Leaves the bitmap empty.
    static std::unique_ptr<TFastBMP> CreateFromBitmap(Bitmap&& bitmap);
    static std::unique_ptr<TFastBMP> CreateCopy(const TFastBMP& source);

    static constexpr std::size_t kSpareBytes = kPixelSpareBytes;

private:
    TFastBMP(PixelMemory memory, std::int32_t width, std::int32_t height);

    PixelMemory m_memory;
    std::vector<std::uint8_t*> m_rows;
};

} // namespace quillmark
