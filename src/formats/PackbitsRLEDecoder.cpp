#include "formats/PackbitsRLEDecoder.h"

#include <algorithm>

// PackBits: a control byte n of 0..127 is followed by n + 1 literal bytes;
// n of -127..-1 by one byte written 1 - n times; -128 is a no-op.

namespace quillmark {

void TPackbitsRLEDecoder::StartUnpack()
{
    m_state = State::Control;
    m_count = 0;
}

void TPackbitsRLEDecoder::Unpack(std::span<const std::uint8_t> source, std::size_t& sourcePos,
                                 std::span<std::uint8_t> target, std::size_t& targetPos, std::size_t unpackedCount,
    std::size_t packedCount)
{
    source = source.first(sourcePos + UnpackLimit(source.size(), sourcePos, packedCount));
    target = target.first(targetPos + UnpackLimit(target.size(), targetPos, unpackedCount));
    while (targetPos < target.size()) {
        switch (m_state) {
        case State::Control: {
            if (sourcePos >= source.size())
                return;
            const auto n = static_cast<std::int8_t>(source[sourcePos++]);
            if (n >= 0) {
                m_count = static_cast<unsigned>(n) + 1;
                m_state = State::Literal;
            } else if (n != -128) {
                m_count = static_cast<unsigned>(1 - n);
                m_state = State::RepeatValue;
            }
            break;
        }
        case State::Literal: {
            // As many of the literal bytes at once as both spans allow.
            const std::size_t n = std::min<std::size_t>(
                {m_count, source.size() - sourcePos, target.size() - targetPos});
            if (n == 0)
                return;
            std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(sourcePos), n,
                        target.begin() + static_cast<std::ptrdiff_t>(targetPos));
            sourcePos += n;
            targetPos += n;
            m_count -= static_cast<unsigned>(n);
            if (m_count == 0)
                m_state = State::Control;
            break;
        }
        case State::RepeatValue:
            if (sourcePos >= source.size())
                return;
            m_value = source[sourcePos++];
            m_state = State::Repeat;
            break;
        case State::Repeat: {
            const std::size_t n = std::min<std::size_t>(m_count, target.size() - targetPos);
            std::fill_n(target.begin() + static_cast<std::ptrdiff_t>(targetPos), n, m_value);
            targetPos += n;
            m_count -= static_cast<unsigned>(n);
            if (m_count == 0)
                m_state = State::Control;
            break;
        }
        }
    }
}

} // namespace quillmark
