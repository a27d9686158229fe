#pragma once
// Showing a pixel buffer through Qt. The buffer's 4-byte-padded
// blue-green-red rows are exactly a QImage of Format_BGR888 with
// bytesPerLine = RowStride, so the view shares the pixel memory.
#include "imaging/FastBMP.h"

#include <QImage>

namespace quillmark {

// A read-only view of the buffer's pixels, valid while the buffer lives and
// is not written. A 0 x 0 buffer gives a null image.
QImage FastBMPImage(const TFastBMP& buffer);

// Copies the whole buffer onto target with its top-left corner at (x, y),
// replacing what was there; parts outside target are dropped.
void Draw(const TFastBMP& buffer, QImage& target, int x, int y);

} // namespace quillmark
