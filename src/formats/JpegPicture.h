#pragma once
// JPEG pictures (jpg, jpeg, jpe, jfif), decoded by libjpeg at full size with
// the accurate integer transform and smooth upsampling. Colour files become
// 24-bit BGR bitmaps, greyscale files 8-bit bitmaps with a 256-level grey
// palette, CMYK files 24-bit after conversion. libjpeg's errors surface as
// InvalidGraphicError "JPEG error #%d" with libjpeg's message number.
#include "formats/Bitmap.h"
#include "formats/PictureClass.h"

#include <cstdint>
#include <span>

namespace quillmark {

// More scans than any real progressive file has; a file with more is refused
// rather than decoded for minutes.
inline constexpr int kMaxJpegScans = 1000;

Bitmap DecodeJpeg(std::span<const std::uint8_t> file);

// The registry's JPEG picture class ("JpegPicture").
const PictureClass& JpegPictureClass();

} // namespace quillmark
