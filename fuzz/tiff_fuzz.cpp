// Fuzz entry for the TIFF decoder. Only input errors are caught: a logic error
// or an inconsistent picture ends the run, so the fuzzer reports it.
#include "base/Errors.h"
#include "formats/TIFFGraphic.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

namespace {

// Every palette index a pixel holds must have a colour.
void CheckPicture(const quillmark::Bitmap& picture)
{
    const int bits = quillmark::BitsPerPixel(picture.Format());
    if (bits > 8)
        return;
    for (std::int32_t y = 0; y < picture.Height(); ++y) {
        const auto row = picture.Row(y);
        for (std::size_t x = 0; x < static_cast<std::size_t>(picture.Width()); ++x) {
            unsigned index = row[x * static_cast<unsigned>(bits) / 8];
            if (bits == 1)
                index = (index >> (7 - x % 8)) & 1u;
            else if (bits == 4)
                index = (index >> (x % 2 == 0 ? 4 : 0)) & 15u;
            if (index >= picture.Palette.size())
                std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> file(data, size);
    quillmark::TTIFFGraphic graphic;
    graphic.ProbeImage(file, 0);
    try {
        graphic.ReadPicture(file);
    } catch (const quillmark::QuillmarkError&) {
        return 0;
    }
    if (graphic.Empty())
        std::abort();  // a load that succeeds always yields a picture
    CheckPicture(graphic);
    return 0;
}
