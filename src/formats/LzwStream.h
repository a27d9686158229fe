#pragma once
// The part of an LZW code stream that TIFF and GIF share: the bits read but
// not yet used, the string table, the code width, the previous code and the
// string of the last code as far as it has been written out. With roots of s
// bits, 2^s clears the table, 2^s + 1 ends the data and codes start at s + 1
// bits, growing to 12. What differs by format is handed in: the root size,
// whether the width grows one code early, and the function that takes a code
// from the input in the format's bit order.
#include "base/Errors.h"
#include "formats/Decoder.h"
#include "formats/LzwCodeTable.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace quillmark {

// Input bits taken from the source but not yet part of a code.
struct LzwBitBuffer {
    std::uint32_t Bits = 0;
    unsigned Count = 0;  // valid bits in Bits, 0..19
};

class LzwStream {
public:
    static constexpr unsigned kMaxCodeWidth = 12;

    // rootBits is 1..11; earlyChange widens the codes when the next free code
    // is one short of 2^width instead of reaching it.
    LzwStream(unsigned rootBits, bool earlyChange)
        : m_rootBits(rootBits), m_clearCode(1u << rootBits), m_rootCount(std::min(m_clearCode, 256u)),
          m_firstFree(m_clearCode + 2), m_earlyChange(earlyChange ? 1u : 0u)
    {
        assert(rootBits >= 1 && rootBits < kMaxCodeWidth);
        Start();
    }

    // A fresh stream: nothing left to write, the table cleared.
    void Start()
    {
        m_bits = {};
        m_stringLength = 0;
        m_stringPos = 0;
        m_finished = false;
        Clear();
    }

    // The end code was read; further input is ignored.
    bool Finished() const { return m_finished; }

    // Takes the next code of the given width from the buffer, topping it up
    // from source[sourcePos..], into code; false when source runs out first,
    // with the bits read so far kept in the buffer for the next call.
    using CodeReader = bool (*)(LzwBitBuffer& buffer, std::span<const std::uint8_t> source,
                                std::size_t& sourcePos, unsigned width, unsigned& code);

    // TDecoder::Unpack with the format's code reader, which is a template
    // argument so that it is compiled into the loop.
    template <CodeReader ReadCode>
    void Unpack(std::span<const std::uint8_t> source, std::size_t& sourcePos, std::span<std::uint8_t> target,
                std::size_t& targetPos, std::size_t unpackedCount, std::size_t packedCount)
    {
        source = source.first(sourcePos + UnpackLimit(source.size(), sourcePos, packedCount));
        target = target.first(targetPos + UnpackLimit(target.size(), targetPos, unpackedCount));
        // Positions written by earlier calls may lie in another target.
        if (++m_call == 0) {
            m_placedIn.fill(0);
            m_call = 1;
        }
        m_lastPlaced = false;
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
            unsigned code = 0;
            if (!ReadCode(m_bits, source, sourcePos, m_codeWidth, code))
                return;
            if (code == m_clearCode) {
                Clear();
                continue;
            }
            if (code == m_clearCode + 1) {
                m_finished = true;
                continue;
            }
            // A code that is no entry and not the next free one (the string
            // of the previous code plus its own first byte) is a broken
            // stream; so are, for roots wider than a byte, the codes from 256
            // up to the clear code. Kept in this loop rather than a call of
            // its own, so that it is compiled into each format's loop.
            const unsigned freeBefore = m_table.NextFree();
            if (m_oldCode < 0) {
                if (!m_table.IsRoot(code))
                    throw CompressionError("LZW decompression error.");
            } else {
                const auto old = static_cast<unsigned>(m_oldCode);
                if (code < m_table.NextFree() && (m_table.IsRoot(code) || code >= m_firstFree))
                    m_table.Add(old, m_table.First(code));
                else if (code == m_table.NextFree() && !m_table.Full())
                    m_table.Add(old, m_table.First(old));
                else
                    throw CompressionError("LZW decompression error.");
                // Once the table is full the width stays at 12 and codes go
                // on referring to the full table until a clear code arrives.
                if (m_table.NextFree() + m_earlyChange >= (1u << m_codeWidth) && m_codeWidth < kMaxCodeWidth)
                    ++m_codeWidth;
            }
            // The new entry is the previous string followed by the first byte
            // of this one: where the previous string was written out in this
            // target, the new entry can later be copied from there.
            if (m_table.NextFree() != freeBefore) {
                const unsigned added = m_table.NextFree() - 1;
                m_placedIn[added] = m_lastPlaced ? m_call : 0;
                m_placedAt[added] = m_lastAt;
            }
            m_oldCode = static_cast<int>(code);
            // A string that fits goes straight to the target; one that does
            // not waits in m_string for the room the next calls give.
            const std::size_t length = m_table.Length(code);
            if (length <= target.size() - targetPos) {
                std::uint8_t* out = target.data() + targetPos;
                if (length == 1) {
                    *out = m_table.First(code);
                } else if (m_placedIn[code] == m_call) {
                    // Written earlier in this target: copied from there. Only
                    // the entry made by this very code (the previous string
                    // plus its own first byte) reaches its last byte here, so
                    // that byte is copied after the others.
                    const std::uint8_t* from = target.data() + m_placedAt[code];
                    std::memcpy(out, from, length - 1);
                    out[length - 1] = from[length - 1];
                } else {
                    m_table.Spell(code, target.subspan(targetPos, length));
                }
                m_lastPlaced = true;
                m_lastAt = targetPos;
                targetPos += length;
            } else {
                m_table.Spell(code, m_string);
                m_stringLength = length;
                m_stringPos = 0;
                m_lastPlaced = false;
            }
        }
    }

private:
    void Clear()
    {
        m_table.Reset(m_rootCount, m_firstFree);
        m_codeWidth = m_rootBits + 1;
        m_oldCode = -1;
    }

    LzwBitBuffer m_bits;
    LzwCodeTable m_table;
    std::array<std::uint8_t, LzwCodeTable::kMaxCodes> m_string{};
    std::size_t m_stringLength = 0;  // bytes of m_string to write, 0..4096
    std::size_t m_stringPos = 0;     // bytes of m_string written so far
    unsigned m_rootBits;             // 1..11
    unsigned m_clearCode;            // 2^rootBits
    unsigned m_rootCount;            // single bytes among the roots, 2..256
    unsigned m_firstFree;            // clear code + 2, the first entry after a clear
    unsigned m_earlyChange;          // 0 or 1
    unsigned m_codeWidth = 0;        // rootBits + 1 .. 12
    int m_oldCode = -1;              // previous code, -1 right after a clear
    // Where each entry's string was written out whole, as a position in the
    // target of the call numbered m_placedIn[code] (0: nowhere known).
    std::array<std::uint32_t, LzwCodeTable::kMaxCodes> m_placedIn{};
    std::array<std::size_t, LzwCodeTable::kMaxCodes> m_placedAt{};
    std::uint32_t m_call = 0;        // number of the current Unpack call
    bool m_lastPlaced = false;       // the previous code's string went whole to this call's target
    std::size_t m_lastAt = 0;        // ... at this position
    bool m_finished = false;
};

} // namespace quillmark
