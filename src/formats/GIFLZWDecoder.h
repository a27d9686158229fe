#pragma once
// GIF LZW decompressor: codes least significant bit first, starting at the
// file's initial code size + 1 bits and growing to 12. State survives between
// calls, so the joined sub-block data may come in any pieces. A code beyond
// the table raises a CompressionError.
#include "formats/Decoder.h"
#include "formats/LzwCodeTable.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace quillmark {

class TGIFLZWDecoder : public TDecoder {
public:
    // initialCodeSize is the byte in front of the image data, 1..11; larger
    // sizes leave no room for a code wider than 12 bits and are refused.
    explicit TGIFLZWDecoder(unsigned initialCodeSize);
    void StartUnpack() override;
    void Unpack(std::span<const std::uint8_t> source, std::size_t& sourcePos, std::span<std::uint8_t> target,
                std::size_t& targetPos, std::size_t unpackedCount, std::size_t packedCount) override;
    bool Finished() const { return m_finished; }

private:
    void Clear();

    LzwCodeTable m_table;
    std::array<std::uint8_t, LzwCodeTable::kMaxCodes> m_string{};
    std::size_t m_stringLength = 0;  // 0..4096
    std::size_t m_stringPos = 0;
    std::uint32_t m_bits = 0;
    unsigned m_bitCount = 0;         // 0..19
    unsigned m_initialSize;          // 1..11
    unsigned m_clearCode;            // 2^initialSize
    unsigned m_codeWidth = 0;        // initialSize + 1 .. 12
    int m_oldCode = -1;
    bool m_finished = false;
};

} // namespace quillmark
