#pragma once
// GIF LZW decompressor: codes least significant bit first, starting at the
// file's initial code size + 1 bits and growing to 12. State survives between
// calls, so the joined sub-block data may come in any pieces. A code beyond
// the table raises a CompressionError.
#include "formats/Decoder.h"
#include "formats/LzwStream.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace quillmark {

class TGIFLZWDecoder : public TDecoder {
public:
    // initialCodeSize is the byte in front of the image data, 1..11; larger
    // sizes leave no room for a code wider than 12 bits and are refused.
    explicit TGIFLZWDecoder(unsigned initialCodeSize);
    void StartUnpack() override { m_stream.Start(); }
    void Unpack(std::span<const std::uint8_t> source, std::size_t& sourcePos, std::span<std::uint8_t> target,
                std::size_t& targetPos, std::size_t unpackedCount, std::size_t packedCount) override;
    bool Finished() const { return m_stream.Finished(); }

private:
    LzwStream m_stream;
};

} // namespace quillmark
