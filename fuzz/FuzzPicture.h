#pragma once
// Shared by the picture fuzz entries: a decoded picture must be consistent
// with itself (rows inside the buffer, palette indexes naming a colour);
// anything else ends the run so the fuzzer reports it.
#include "base/Errors.h"
#include "formats/Bitmap.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

namespace quillmark::fuzz {

inline void CheckPicture(const Bitmap& picture)
{
    if (picture.Empty())
        return;
    if (picture.Width() < 0 || picture.Height() < 0)
        std::abort();
    const int bits = BitsPerPixel(picture.Format());
    const std::size_t rowBytes = (static_cast<std::size_t>(picture.Width()) * static_cast<std::size_t>(bits) + 7) / 8;
    if (picture.Stride() < rowBytes || picture.Stride() % 4 != 0 ||
        picture.Pixels().size() < picture.Stride() * static_cast<std::size_t>(picture.Height()))
        std::abort();
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

// The body of a decoder's fuzz entry: probe the first two images, decode,
// and check what came out. Only input errors are caught.
template <class Graphic>
int FuzzDecoder(std::span<const std::uint8_t> file)
{
    Graphic graphic;
    graphic.ProbeImage(file, 0);
    graphic.ProbeImage(file, 1);
    try {
        graphic.ReadPicture(file);
    } catch (const QuillmarkError&) {
        return 0;
    }
    CheckPicture(graphic);
    return 0;
}

} // namespace quillmark::fuzz
