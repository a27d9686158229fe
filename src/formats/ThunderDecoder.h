#pragma once
// ThunderScan 4-bit decompressor (TIFF compression 32809). Rows are
// (width + 1) / 2 bytes, two pixels per byte, the first in the high half.
// Each row starts from value 0; codes beyond the row's width are dropped.
#include "formats/Decoder.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace quillmark {

class TThunderDecoder : public TDecoder {
public:
    explicit TThunderDecoder(std::uint32_t width) : m_width(width), m_rowBytes((std::size_t{width} + 1) / 2) {}
    void StartUnpack() override;
    void Unpack(std::span<const std::uint8_t> source, std::size_t& sourcePos, std::span<std::uint8_t> target,
                std::size_t& targetPos, std::size_t unpackedCount, std::size_t packedCount) override;

private:
    // Writes one pixel of the current row; the row moves on when it is full.
    void Put(std::span<std::uint8_t> target, std::size_t& targetPos, unsigned value);

    std::uint32_t m_width;
    std::size_t m_rowBytes;
    std::uint32_t m_x = 0;  // pixels of the current row written, 0..width-1
    unsigned m_last = 0;    // last value written, 0..15
};

} // namespace quillmark
