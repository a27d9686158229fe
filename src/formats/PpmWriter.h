#pragma once
// Binary PPM output of a decoded picture: "P6\n<w> <h>\n255\n" and then the
// pixels as red-green-blue bytes, rows top-down, no padding, no comments.
// Every pixel format of Bitmap is expanded to 8-bit RGB (palette colours, 5-5-5
// and 5-6-5 channels scaled to 0..255, alpha dropped).
#include "formats/Bitmap.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillmark {

std::vector<std::uint8_t> EncodePpm(const Bitmap& bitmap);

// Writes the bytes to a temporary file beside the target and renames it over
// the target only when complete. Throws FileError "Cannot create file %s" and
// leaves no temporary file behind.
void WriteFileReplacing(const std::string& fileName, const std::vector<std::uint8_t>& bytes);

} // namespace quillmark
