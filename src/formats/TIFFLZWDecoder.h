#pragma once
// TIFF LZW decompressor: codes most significant bit first, 9 to 12 bits, 256
// clears the table and 257 ends the data. The bit buffer and a partly written
// string survive between calls, so the input may come in any pieces. A code
// beyond the table raises a CompressionError.
#include "formats/Decoder.h"
#include "formats/LzwStream.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace quillmark {

class TTIFFLZWDecoder : public TDecoder {
public:
    TTIFFLZWDecoder() : m_stream(8, true) {}
    void StartUnpack() override { m_stream.Start(); }
    void Unpack(std::span<const std::uint8_t> source, std::size_t& sourcePos, std::span<std::uint8_t> target,
                std::size_t& targetPos, std::size_t unpackedCount, std::size_t packedCount) override;
    // The end code was read; further input is ignored.
    bool Finished() const { return m_stream.Finished(); }

private:
    LzwStream m_stream;  // roots of 8 bits: clear 256, end 257
};

} // namespace quillmark
