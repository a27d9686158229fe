// Fuzz entry for the bitmap header check the registry runs before the toolkit
// reads a .bmp file. Only input errors are caught; anything else ends the run.
#include "base/Errors.h"
#include "formats/Bitmap.h"
#include "formats/BmpHeader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const quillmark::DeclaredSize declared = quillmark::CheckBmpHeader(std::span<const std::uint8_t>(data, size));
        // What passes must be a size the guard lets through.
        if (declared.Width == 0 || declared.Height == 0 || declared.Width > quillmark::kMaxSide ||
            declared.Height > quillmark::kMaxSide || declared.Width * declared.Height > quillmark::kMaxPixels)
            std::abort();
    } catch (const quillmark::QuillmarkError&) {
    }
    return 0;
}
