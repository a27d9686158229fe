#pragma once
// The string table shared by the TIFF and GIF LZW decompressors: at most 4096
// codes, each a prefix code plus one byte. Strings are spelled into a caller
// buffer back to front, so no entry needs more than a fixed slot.
#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <span>

namespace quillmark {

class LzwCodeTable {
public:
    static constexpr unsigned kMaxCodes = 4096;

    // Roots 0..rootCount-1 are the single bytes; the first free code is firstFree.
    void Reset(unsigned rootCount, unsigned firstFree)
    {
        assert(rootCount <= 256 && firstFree <= kMaxCodes);
        for (unsigned i = 0; i < rootCount; ++i) {
            m_prefix[i] = 0;
            m_suffix[i] = static_cast<std::uint8_t>(i);
            m_first[i] = static_cast<std::uint8_t>(i);
            m_length[i] = 1;
        }
        m_rootCount = rootCount;
        m_next = firstFree;
    }

    unsigned NextFree() const { return m_next; }
    bool IsRoot(unsigned code) const { return code < m_rootCount; }
    bool Full() const { return m_next >= kMaxCodes; }
    std::uint8_t First(unsigned code) const { return m_first[code]; }
    unsigned Length(unsigned code) const { return m_length[code]; }

    // Adds prefix + byte as the next code; a full table ignores it.
    void Add(unsigned prefix, std::uint8_t byte)
    {
        if (Full())
            return;
        m_prefix[m_next] = static_cast<std::uint16_t>(prefix);
        m_suffix[m_next] = byte;
        m_first[m_next] = m_first[prefix];
        m_length[m_next] = static_cast<std::uint16_t>(m_length[prefix] + 1);
        ++m_next;
    }

    // Spells code into out[0 .. Length(code)); out must hold that many bytes.
    void Spell(unsigned code, std::span<std::uint8_t> out) const
    {
        std::size_t i = m_length[code];
        assert(i <= out.size());
        while (i > 0) {
            out[--i] = m_suffix[code];
            code = m_prefix[code];
        }
    }

private:
    std::array<std::uint16_t, kMaxCodes> m_prefix{};
    std::array<std::uint8_t, kMaxCodes> m_suffix{};
    std::array<std::uint8_t, kMaxCodes> m_first{};
    std::array<std::uint16_t, kMaxCodes> m_length{};  // 1..4096
    unsigned m_rootCount = 0;                          // 2..256
    unsigned m_next = 0;                               // first free code, up to 4096
};

} // namespace quillmark
