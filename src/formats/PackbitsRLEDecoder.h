#pragma once
// PackBits run-length decompressor (TIFF compression 32773). Keeps its place
// inside a run between calls, so the packed data may arrive in any pieces.
// Each Unpack stops at the end of the source or of the target.
#include "formats/Decoder.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace quillmark {

class TPackbitsRLEDecoder : public TDecoder {
public:
    void StartUnpack() override;
    void Unpack(std::span<const std::uint8_t> source, std::size_t& sourcePos, std::span<std::uint8_t> target,
                std::size_t& targetPos, std::size_t unpackedCount, std::size_t packedCount) override;

private:
    enum class State { Control, Literal, RepeatValue, Repeat };
    State m_state = State::Control;
    unsigned m_count = 0;      // bytes left in the current literal or repeat run, 0..128
    std::uint8_t m_value = 0;  // the byte a repeat run writes
};

} // namespace quillmark
