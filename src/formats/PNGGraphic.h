#pragma once
// PNG picture: reads the first (only) image of a PNG file into the Bitmap.
// Grey and indexed pictures become 1-, 4- or 8-bit Bitmaps with a palette,
// RGB 24-bit and RGBA 32-bit (alpha kept in the fourth byte, never
// composited). The file's gAMA is applied through the colour manager's table.
#include "formats/RasterGraphic.h"

namespace quillmark {

class TPNGGraphic : public TRasterGraphic {
public:
    void ReadPicture(std::span<const std::uint8_t> file) override;
    bool ProbeImage(std::span<const std::uint8_t> file, unsigned imageIndex) override;
};

} // namespace quillmark
