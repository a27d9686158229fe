#pragma once
// TIFF picture: the first image file directory of the file, in either byte
// order, strips or tiles, chunky or planar samples, through the compressions
// the program knows and the colour manager. Later pages are never read.
#include "formats/RasterGraphic.h"

namespace quillmark {

class TTIFFGraphic : public TRasterGraphic {
public:
    void ReadPicture(std::span<const std::uint8_t> file) override;
    bool ProbeImage(std::span<const std::uint8_t> file, unsigned imageIndex) override;
};

} // namespace quillmark
