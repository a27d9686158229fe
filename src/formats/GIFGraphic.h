#pragma once
// GIF picture: the first image of the file as an 8-bit indexed bitmap with
// its colour table as palette. Extensions, transparency and animation are
// ignored; interlaced rows are put back in order.
#include "formats/RasterGraphic.h"

namespace quillmark {

class TGIFGraphic : public TRasterGraphic {
public:
    void ReadPicture(std::span<const std::uint8_t> file) override;
    bool ProbeImage(std::span<const std::uint8_t> file, unsigned imageIndex) override;
};

} // namespace quillmark
