#pragma once
// Binary PPM output of a decoded picture: "P6\n<w> <h>\n255\n" and then the
// pixels as red-green-blue bytes, rows top-down, no padding, no comments.
// Every pixel format of Bitmap is expanded to 8-bit RGB (palette colours, 5-5-5
// and 5-6-5 channels scaled to 0..255, alpha dropped).
#include "base/FileWrite.h"
#include "formats/Bitmap.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillmark {

std::vector<std::uint8_t> EncodePpm(const Bitmap& bitmap);

// The same for 24-bit blue-green-red rows (row y starts at rows[y] and holds
// width pixels), handed to sink in pieces of about a megabyte, so that writing
// a picture needs no second picture-sized buffer.
void StreamBgrPpm(std::int32_t width, std::int32_t height, const std::uint8_t* const* rows, const ByteSink& sink);

} // namespace quillmark
