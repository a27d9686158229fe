#pragma once
// Builds Windows bitmap files byte by byte, for the tests: a file header, a
// 40-byte info header, the palette and the pixel data as given.
#include <cstdint>
#include <vector>

namespace quillmark::testing {

struct BmpSpec {
    std::int32_t Width = 0;
    std::int32_t Height = 0; // negative: rows top-down
    std::uint16_t BitsPerPixel = 24;
    std::uint32_t Compression = 0; // 1 = RLE8
    std::vector<std::uint32_t> Palette = {}; // 0x00RRGGBB
    std::vector<std::uint8_t> Pixels = {};   // rows as stored, padded by the caller
};

inline void PutLE(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

inline std::vector<std::uint8_t> BuildBmp(const BmpSpec& spec)
{
    const auto paletteBytes = static_cast<std::uint32_t>(4 * spec.Palette.size());
    const std::uint32_t offset = 14 + 40 + paletteBytes;
    std::vector<std::uint8_t> out = {'B', 'M'};
    PutLE(out, offset + static_cast<std::uint32_t>(spec.Pixels.size()), 4);
    PutLE(out, 0, 4);
    PutLE(out, offset, 4);
    PutLE(out, 40, 4);
    PutLE(out, static_cast<std::uint32_t>(spec.Width), 4);
    PutLE(out, static_cast<std::uint32_t>(spec.Height), 4);
    PutLE(out, 1, 2);
    PutLE(out, spec.BitsPerPixel, 2);
    PutLE(out, spec.Compression, 4);
    PutLE(out, static_cast<std::uint32_t>(spec.Pixels.size()), 4);
    PutLE(out, 2835, 4);
    PutLE(out, 2835, 4);
    PutLE(out, static_cast<std::uint32_t>(spec.Palette.size()), 4);
    PutLE(out, 0, 4);
    for (const std::uint32_t rgb : spec.Palette)
        PutLE(out, rgb, 4);
    out.insert(out.end(), spec.Pixels.begin(), spec.Pixels.end());
    return out;
}

// A 3x2 picture, bottom-up, 24 bits: top row red, green, blue; bottom row
// black, white, grey (10, 20, 30 in RGB).
inline std::vector<std::uint8_t> SmallTrueColourBmp()
{
    return BuildBmp({.Width = 3, .Height = 2, .Pixels = {
                                                  0, 0, 0, 255, 255, 255, 30, 20, 10, 0, 0, 0, // bottom, padded
                                                  0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 0, 0,    // top
                                              }});
}

} // namespace quillmark::testing
