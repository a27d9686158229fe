#pragma once
// The toolkit's bitmap picture class: BMP, RLE and DIB files read by Qt's BMP
// reader and handed to the core as a Bitmap (8-bit with its palette for
// indexed files, 24-bit BGR otherwise). The header is checked by our own
// reader, against the picture size guard, before Qt decodes anything.
#include "formats/Bitmap.h"
#include "formats/PictureClass.h"

#include <QImage>
#include <QStringList>

#include <cstdint>
#include <span>
#include <string>

namespace quillmark {

Bitmap DecodeToolkitBitmap(std::span<const std::uint8_t> file);

// Copies a QImage into a Bitmap: indexed images keep their palette, all
// others become 24-bit BGR.
Bitmap BitmapFromImage(const QImage& image);

const PictureClass& BitmapPictureClass();

// A filter of the picture format list as QFileDialog name filters. Qt reads
// the patterns from the parentheses at the end of each text, separated by
// blanks, so "All (*.png;*.gif)" is shown as "All (*.png *.gif)"; a text
// without its patterns in parentheses gets them appended.
QStringList OpenDialogNameFilters(const std::string& filter);

} // namespace quillmark
