#pragma once
// Vector kernels behind the effect routines, for the processors that have
// them. Each kernel handles a leading part of a row and returns how much it
// did (bytes, or pixels for saturation); the caller finishes the row with the
// plain loop. Nothing here reads or writes outside the bytes it reports,
// except where a kernel says so.
#include <cstddef>
#include <cstdint>

namespace quillmark::fxkernels {

bool HaveAvx2();

// amount within -255..255.
std::size_t ContrastAvx2(std::uint8_t* bytes, std::size_t count, int amount);
std::size_t LightnessAvx2(std::uint8_t* bytes, std::size_t count, int amount);
std::size_t InvertAvx2(std::uint8_t* bytes, std::size_t count);
// threshold within 0..255.
std::size_t CuttingOffAvx2(std::uint8_t* bytes, std::size_t count, int threshold);
// pixels of blue-green-red; amount within 0..4096.
std::size_t SaturationAvx2(std::uint8_t* pixels, std::size_t count, int amount);
// out[j] = (a[j] + b[j] + c[j] + d[j]) div 4; out must not overlap the inputs.
std::size_t Average4Avx2(std::uint8_t* out, const std::uint8_t* a, const std::uint8_t* b, const std::uint8_t* c,
                         const std::uint8_t* d, std::size_t count);

// Nearest-pixel copy of count destination pixels of a rotated row whose
// 16.16 source positions (x, y), stepping by (dx, dy), all lie inside the
// source; for 0 < dx <= 65536 and |dy| < 8192 only, so that eight pixels in a
// row read at most eight consecutive columns of at most two adjacent rows.
// Does whole groups of eight and advances x and y past them. Reads up to 16
// bytes from a source pixel on, which the buffer's spare bytes allow.
std::size_t RotateShallowAvx2(std::uint8_t* out, std::size_t count, const std::uint8_t* source,
                              std::int64_t stride, std::int64_t& x, std::int64_t& y, std::int64_t dx,
                              std::int64_t dy);

// The same copy for any direction (|dx|, |dy| <= 65536), pixel by pixel
// through gathered loads: eight pixels' source offsets are worked out
// relative to the first one's, so any picture size fits 32-bit lanes. Reads
// 4 bytes from a source pixel on.
std::size_t RotateGatherAvx2(std::uint8_t* out, std::size_t count, const std::uint8_t* source,
                             std::int64_t stride, std::int64_t& x, std::int64_t& y, std::int64_t dx,
                             std::int64_t dy);

} // namespace quillmark::fxkernels
