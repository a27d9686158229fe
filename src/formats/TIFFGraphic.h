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

// How many cores the decoding of a large stripped picture may share out its
// strips to; 0 (the default) means all the processor has. The picture and
// every error are the same for any number.
void SetTiffDecodeCores(unsigned cores);

} // namespace quillmark
