#pragma once
// The size a Windows bitmap file declares, read from its headers before any
// decoder sees the pixels: "BM", then after the 14-byte file header either a
// 12-byte core header (16-bit width and height) or a longer info header
// (32-bit signed width and height; a negative height means top-down rows).
#include <cstdint>
#include <span>

namespace quillmark {

struct DeclaredSize {
    std::uint64_t Width = 0;
    std::uint64_t Height = 0;
};

// Throws InvalidGraphicError "Cannot load image. Invalid or unexpected BMP
// image format." when the headers are short or malformed, or a side is 0;
// then the picture size guard.
DeclaredSize CheckBmpHeader(std::span<const std::uint8_t> file);

} // namespace quillmark
