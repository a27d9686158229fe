#pragma once
// TIFF LZW decompressor: codes most significant bit first, 9 to 12 bits, 256
// clears the table and 257 ends the data. The bit buffer and a partly written
// string survive between calls, so the input may come in any pieces. A code
// beyond the table raises a CompressionError.
#include "formats/Decoder.h"
#include "formats/LzwCodeTable.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace quillmark {

class TTIFFLZWDecoder : public TDecoder {
public:
    TTIFFLZWDecoder() { StartUnpack(); }
    void StartUnpack() override;
    void Unpack(std::span<const std::uint8_t> source, std::size_t& sourcePos, std::span<std::uint8_t> target,
                std::size_t& targetPos, std::size_t unpackedCount, std::size_t packedCount) override;
    // The end code was read; further input is ignored.
    bool Finished() const { return m_finished; }

private:
    void Clear();

    LzwCodeTable m_table;
    std::array<std::uint8_t, LzwCodeTable::kMaxCodes> m_string{};
    std::size_t m_stringLength = 0;  // bytes of m_string to write, 0..4096
    std::size_t m_stringPos = 0;     // bytes of m_string written so far
    std::uint32_t m_bits = 0;
    unsigned m_bitCount = 0;         // valid low bits of m_bits, 0..19
    unsigned m_codeWidth = 9;        // 9..12
    int m_oldCode = -1;              // previous code, -1 right after a clear
    bool m_finished = false;
};

} // namespace quillmark
