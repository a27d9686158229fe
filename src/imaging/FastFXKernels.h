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

} // namespace quillmark::fxkernels
