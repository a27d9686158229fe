#pragma once
// The toolkit's bitmap picture class: BMP, RLE and DIB files read by Qt's BMP
// reader and handed to the core as a Bitmap (8-bit with its palette for
// indexed files, 24-bit BGR otherwise). The header is checked by our own
// reader, against the picture size guard, before Qt decodes anything.
#include "formats/Bitmap.h"
#include "formats/PictureClass.h"

#include <QImage>

#include <cstdint>
#include <span>

namespace quillmark {

Bitmap DecodeToolkitBitmap(std::span<const std::uint8_t> file);

// Copies a QImage into a Bitmap: indexed images keep their palette, all
// others become 24-bit BGR.
Bitmap BitmapFromImage(const QImage& image);

const PictureClass& BitmapPictureClass();

} // namespace quillmark
