#include "formats/GIFLZWDecoder.h"

#include "base/Errors.h"

#include <algorithm>

// GIF89a LZW. With an initial code size s the roots are 0..2^s - 1, 2^s is
// the clear code and 2^s + 1 the end code. The width grows when the next free
// code reaches 2^width, and stays at 12 once the table is full (a "deferred
// clear": codes go on referring to the full table until a clear arrives).

namespace quillmark {

TGIFLZWDecoder::TGIFLZWDecoder(unsigned initialCodeSize)
    : m_initialSize(initialCodeSize), m_clearCode(1u << std::min(initialCodeSize, 11u))
{
    if (initialCodeSize < 1 || initialCodeSize > 11)
        throw CompressionError("LZW decompression error.");
    StartUnpack();
}

void TGIFLZWDecoder::StartUnpack()
{
    m_bits = 0;
    m_bitCount = 0;
    m_stringLength = 0;
    m_stringPos = 0;
    m_finished = false;
    Clear();
}

void TGIFLZWDecoder::Clear()
{
    // Codes at 2^s and above that are no table entry yet: clear and end.
    m_table.Reset(std::min(m_clearCode, 256u), m_clearCode + 2);
    m_codeWidth = m_initialSize + 1;
    m_oldCode = -1;
}

void TGIFLZWDecoder::Unpack(std::span<const std::uint8_t> source, std::size_t& sourcePos,
                            std::span<std::uint8_t> target, std::size_t& targetPos, std::size_t unpackedCount,
    std::size_t packedCount)
{
    source = source.first(sourcePos + UnpackLimit(source.size(), sourcePos, packedCount));
    target = target.first(targetPos + UnpackLimit(target.size(), targetPos, unpackedCount));
    while (targetPos < target.size()) {
        if (m_stringPos < m_stringLength) {
            const std::size_t n = std::min(m_stringLength - m_stringPos, target.size() - targetPos);
            std::copy_n(m_string.begin() + static_cast<std::ptrdiff_t>(m_stringPos), n,
                        target.begin() + static_cast<std::ptrdiff_t>(targetPos));
            m_stringPos += n;
            targetPos += n;
            continue;
        }
        if (m_finished) {
            sourcePos = source.size();
            return;
        }
        while (m_bitCount < m_codeWidth) {
            if (sourcePos >= source.size())
                return;
            m_bits |= std::uint32_t{source[sourcePos++]} << m_bitCount;
            m_bitCount += 8;
        }
        const unsigned code = m_bits & ((1u << m_codeWidth) - 1);
        m_bits >>= m_codeWidth;
        m_bitCount -= m_codeWidth;

        if (code == m_clearCode) {
            Clear();
            continue;
        }
        if (code == m_clearCode + 1) {
            m_finished = true;
            continue;
        }
        if (m_oldCode < 0) {
            if (!m_table.IsRoot(code))
                throw CompressionError("LZW decompression error.");
        } else {
            const auto old = static_cast<unsigned>(m_oldCode);
            const bool wasFull = m_table.Full();
            if (code < m_table.NextFree() && (m_table.IsRoot(code) || code > m_clearCode + 1))
                m_table.Add(old, m_table.First(code));
            else if (code == m_table.NextFree() && !wasFull)
                m_table.Add(old, m_table.First(old));
            else
                throw CompressionError("LZW decompression error.");
            if (m_table.NextFree() >= (1u << m_codeWidth) && m_codeWidth < 12)
                ++m_codeWidth;
        }
        m_table.Spell(code, m_string);
        m_stringLength = m_table.Length(code);
        m_stringPos = 0;
        m_oldCode = static_cast<int>(code);
    }
}

} // namespace quillmark
