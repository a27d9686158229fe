#include "formats/TIFFLZWDecoder.h"

// TIFF 6.0 LZW. Codes are packed from the high end of each byte downwards.
// The code width grows one code early, when the next free code reaches 511,
// 1023 and 2047, as TIFF writers do. The table stops growing at 4096 entries;
// a writer is expected to send a clear code before that.

namespace quillmark {

namespace {

bool ReadCodeHighBitsFirst(LzwBitBuffer& buffer, std::span<const std::uint8_t> source, std::size_t& sourcePos,
                           unsigned width, unsigned& code)
{
    for (; buffer.Count < width; buffer.Count += 8) {
        if (sourcePos >= source.size())
            return false;
        buffer.Bits = (buffer.Bits << 8) | source[sourcePos++];
    }
    buffer.Count -= width;
    code = (buffer.Bits >> buffer.Count) & ((1u << width) - 1);
    buffer.Bits &= (1u << buffer.Count) - 1;
    return true;
}

} // namespace

void TTIFFLZWDecoder::Unpack(std::span<const std::uint8_t> source, std::size_t& sourcePos,
                             std::span<std::uint8_t> target, std::size_t& targetPos, std::size_t unpackedCount,
                             std::size_t packedCount)
{
    m_stream.Unpack<ReadCodeHighBitsFirst>(source, sourcePos, target, targetPos, unpackedCount, packedCount);
}

} // namespace quillmark
