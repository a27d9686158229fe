// Fuzz entry for the JPEG reader (libjpeg behind our error handling). Only
// input errors are caught; anything else ends the run.
#include "FuzzPicture.h"

#include "base/Errors.h"
#include "formats/JpegPicture.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const quillmark::Bitmap picture = quillmark::DecodeJpeg(std::span<const std::uint8_t>(data, size));
        quillmark::fuzz::CheckPicture(picture);
    } catch (const quillmark::QuillmarkError&) {
    }
    return 0;
}
