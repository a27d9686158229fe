#include "formats/TIFFLZWDecoder.h"

#include "base/Errors.h"

#include <algorithm>

// TIFF 6.0 LZW. The code width grows one code early, when the next free code
// reaches 511, 1023 and 2047, as TIFF writers do. The table stops growing at
// 4096 entries; a writer is expected to send a clear code before that.

namespace quillmark {

namespace {
constexpr unsigned kClearCode = 256;
constexpr unsigned kEndCode = 257;
} // namespace

void TTIFFLZWDecoder::StartUnpack()
{
    m_bits = 0;
    m_bitCount = 0;
    m_stringLength = 0;
    m_stringPos = 0;
    m_finished = false;
    Clear();
}

void TTIFFLZWDecoder::Clear()
{
    m_table.Reset(256, 258);
    m_codeWidth = 9;
    m_oldCode = -1;
}

void TTIFFLZWDecoder::Unpack(std::span<const std::uint8_t> source, std::size_t& sourcePos,
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
            m_bits = (m_bits << 8) | source[sourcePos++];
            m_bitCount += 8;
        }
        m_bitCount -= m_codeWidth;
        const unsigned code = (m_bits >> m_bitCount) & ((1u << m_codeWidth) - 1);
        m_bits &= (1u << m_bitCount) - 1;

        if (code == kClearCode) {
            Clear();
            continue;
        }
        if (code == kEndCode) {
            m_finished = true;
            continue;
        }
        if (m_oldCode < 0) {
            if (!m_table.IsRoot(code))
                throw CompressionError("LZW decompression error.");
        } else {
            const auto old = static_cast<unsigned>(m_oldCode);
            if (code < m_table.NextFree())
                m_table.Add(old, m_table.First(code));
            else if (code == m_table.NextFree() && !m_table.Full())
                m_table.Add(old, m_table.First(old));
            else
                throw CompressionError("LZW decompression error.");
            if (m_table.NextFree() + 1 >= (1u << m_codeWidth) && m_codeWidth < 12)
                ++m_codeWidth;
        }
        m_table.Spell(code, m_string);
        m_stringLength = m_table.Length(code);
        m_stringPos = 0;
        m_oldCode = static_cast<int>(code);
    }
}

} // namespace quillmark
