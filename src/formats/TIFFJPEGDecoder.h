#pragma once
// JPEG-compressed TIFF strips and tiles (compression 7) through libjpeg. The
// shared tables of the JPEG tables field are loaded once; each Unpack then
// decodes one complete strip or tile stream into rows of 8-bit samples:
// blue-green-red for three components, grey for one. libjpeg's fatal errors
// come back as CompressionError, never as a process exit.
#include "formats/Decoder.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace quillmark {

class TTIFFJPEGDecoder : public TDecoder {
public:
    struct Settings {
        std::vector<std::uint8_t> Tables;  // the JPEG tables field, empty if absent
        unsigned Components = 3;           // samples in each strip or tile
        unsigned BitsPerSample = 8;
        unsigned Photometric = 6;          // 2 RGB, 6 YCbCr, else as the JPEG says
        unsigned SubsamplingH = 2;
        unsigned SubsamplingV = 2;
    };

    explicit TTIFFJPEGDecoder(Settings settings);
    ~TTIFFJPEGDecoder() override;
    TTIFFJPEGDecoder(const TTIFFJPEGDecoder&) = delete;
    TTIFFJPEGDecoder& operator=(const TTIFFJPEGDecoder&) = delete;

    // The width and row count of the next strip or tile, and the rows a
    // full strip or tile has (its stream may be no taller than that).
    void SetBlockSize(std::uint32_t width, std::uint32_t rows, std::uint32_t maxRows = 0);

    void Unpack(std::span<const std::uint8_t> source, std::size_t& sourcePos, std::span<std::uint8_t> target,
                std::size_t& targetPos, std::size_t unpackedCount, std::size_t packedCount) override;

    struct Library;

private:
    Settings m_settings;
    std::unique_ptr<Library> m_library;
    std::uint32_t m_width = 0;
    std::uint32_t m_rows = 0;
    std::uint32_t m_maxRows = 0;
};

} // namespace quillmark
