#include "formats/PCXRLEDecoder.h"

// PCX run-length: a byte with both top bits set carries a count in its low
// six bits and repeats the following byte that many times; any other byte
// stands for itself. A count of 0 writes nothing.

namespace quillmark {

void TPCXRLEDecoder::StartUnpack()
{
    m_needValue = false;
    m_count = 0;
}

void TPCXRLEDecoder::Unpack(std::span<const std::uint8_t> source, std::size_t& sourcePos,
                            std::span<std::uint8_t> target, std::size_t& targetPos, std::size_t unpackedCount,
    std::size_t packedCount)
{
    source = source.first(sourcePos + UnpackLimit(source.size(), sourcePos, packedCount));
    target = target.first(targetPos + UnpackLimit(target.size(), targetPos, unpackedCount));
    while (targetPos < target.size()) {
        if (m_count > 0 && !m_needValue) {
            target[targetPos++] = m_value;
            --m_count;
            continue;
        }
        if (sourcePos >= source.size())
            return;
        const std::uint8_t b = source[sourcePos++];
        if (m_needValue) {
            m_value = b;
            m_needValue = false;
        } else if (b >= 0xC0) {
            m_count = b & 0x3Fu;
            m_needValue = true;
        } else {
            target[targetPos++] = b;
        }
    }
}

} // namespace quillmark
