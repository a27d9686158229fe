#pragma once
// Effect routines on a 24-bit pixel buffer. Each works in place on every
// pixel byte (blue, green and red alike) and leaves row padding alone; results
// are clamped into 0..255. Point effects and the blur use vector code where
// the processor has it; the routines in `reference` are the plain loops that
// define the results, and the vector paths must match them byte for byte.
#include "imaging/FastBMP.h"

#include <array>
#include <cstdint>

namespace quillmark {

// amount -255..255: positive spreads bytes away from the middle, negative
// pulls them toward it.
void Contrast(TFastBMP& buffer, int amount);
// amount -255..255: positive moves bytes toward 255, negative toward 0.
void Lightness(TFastBMP& buffer, int amount);
// amount 0..510: 0 gives grey, 256 keeps the colours, more strengthens them.
void Saturation(TFastBMP& buffer, int amount);
void Invert(TFastBMP& buffer);
// Every byte not above threshold becomes 0, each byte tested on its own.
void CuttingOff(TFastBMP& buffer, int threshold);
// One pass averaging the four pixels diagonally `distance` away (clamped at
// the borders), in place from the top-left: neighbours above and to the left
// are read with the values this pass already wrote.
void BlurPass(TFastBMP& buffer, int distance);
// BlurPass with distances passes, passes - 1, ..., 1.
void GaussianBlur(TFastBMP& buffer, int passes);
// Writes every destination pixel with the nearest source pixel rotated about
// (centreX, centreY) by angle degrees, stepping in 16.16 fixed point.
// Positions outside the source wrap around to the opposite edge. Source and
// destination must be different buffers; their sizes may differ.
void RotateInto(const TFastBMP& source, TFastBMP& destination, int centreX, int centreY, double angle);

std::array<std::uint8_t, 256> ContrastTable(int amount);
std::array<std::uint8_t, 256> LightnessTable(int amount);

namespace reference {

void Contrast(TFastBMP& buffer, int amount);
void Lightness(TFastBMP& buffer, int amount);
void Saturation(TFastBMP& buffer, int amount);
void Invert(TFastBMP& buffer);
void CuttingOff(TFastBMP& buffer, int threshold);
void BlurPass(TFastBMP& buffer, int distance);

} // namespace reference

} // namespace quillmark
