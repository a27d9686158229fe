#pragma once
// PCX (and screen capture) picture: indexed 1-, 4- or 8-bit bitmaps with the
// file's or a standard palette, or three 8-bit colour planes as 24-bit BGR.
#include "formats/RasterGraphic.h"

namespace quillmark {

class TPCXGraphic : public TRasterGraphic {
public:
    void ReadPicture(std::span<const std::uint8_t> file) override;
    bool ProbeImage(std::span<const std::uint8_t> file, unsigned imageIndex) override;
};

} // namespace quillmark
