#pragma once
// PCX run-length decompressor. A run may be split across calls and across
// rows: the remainder of a run is kept and written by the next call.
// Each Unpack stops at the end of the source or of the target.
#include "formats/Decoder.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace quillmark {

class TPCXRLEDecoder : public TDecoder {
public:
    void StartUnpack() override;
    void Unpack(std::span<const std::uint8_t> source, std::size_t& sourcePos, std::span<std::uint8_t> target,
                std::size_t& targetPos, std::size_t unpackedCount, std::size_t packedCount) override;

private:
    bool m_needValue = false;  // a count byte was read, its value byte not yet
    unsigned m_count = 0;      // bytes of the current run still to write, 0..63
    std::uint8_t m_value = 0;
};

} // namespace quillmark
