#include "formats/GIFLZWDecoder.h"

#include "base/Errors.h"

// GIF89a LZW. With an initial code size s the roots are 0..2^s - 1, 2^s is
// the clear code and 2^s + 1 the end code. Codes are packed from the low end
// of each byte upwards. The width grows when the next free code reaches
// 2^width, and stays at 12 once the table is full (a "deferred clear": codes
// go on referring to the full table until a clear arrives).

namespace quillmark {

namespace {

unsigned CheckedCodeSize(unsigned initialCodeSize)
{
    if (initialCodeSize < 1 || initialCodeSize > 11)
        throw CompressionError("LZW decompression error.");
    return initialCodeSize;
}

bool ReadCodeLowBitsFirst(LzwBitBuffer& buffer, std::span<const std::uint8_t> source, std::size_t& sourcePos,
                          unsigned width, unsigned& code)
{
    for (; buffer.Count < width; buffer.Count += 8) {
        if (sourcePos >= source.size())
            return false;
        buffer.Bits |= std::uint32_t{source[sourcePos++]} << buffer.Count;
    }
    code = buffer.Bits & ((1u << width) - 1);
    buffer.Bits >>= width;
    buffer.Count -= width;
    return true;
}

} // namespace

TGIFLZWDecoder::TGIFLZWDecoder(unsigned initialCodeSize) : m_stream(CheckedCodeSize(initialCodeSize), false) {}

void TGIFLZWDecoder::Unpack(std::span<const std::uint8_t> source, std::size_t& sourcePos,
                            std::span<std::uint8_t> target, std::size_t& targetPos, std::size_t unpackedCount,
                            std::size_t packedCount)
{
    m_stream.Unpack<ReadCodeLowBitsFirst>(source, sourcePos, target, targetPos, unpackedCount, packedCount);
}

} // namespace quillmark
