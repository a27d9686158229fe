#pragma once
// Bounded reader over file bytes: a span and a position. Every read checks the
// bytes remaining and throws InvalidGraphicError with the truncation message
// the reader was made with. No other code does pointer arithmetic on file data.
#include "base/Errors.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace quillmark {

class ByteReader {
public:
    ByteReader(std::span<const std::uint8_t> data, std::string truncatedMessage)
        : m_data(data), m_truncated(std::move(truncatedMessage)) {}

    std::size_t Position() const { return m_pos; }
    std::size_t Size() const { return m_data.size(); }
    std::size_t Remaining() const { return m_data.size() - m_pos; }
    bool AtEnd() const { return m_pos >= m_data.size(); }

    void Seek(std::size_t pos)
    {
        if (pos > m_data.size())
            Fail();
        m_pos = pos;
    }
    void Skip(std::size_t n)
    {
        Require(n);
        m_pos += n;
    }

    std::uint8_t U8()
    {
        Require(1);
        return m_data[m_pos++];
    }
    std::uint16_t U16LE()
    {
        Require(2);
        const auto v = static_cast<std::uint16_t>(m_data[m_pos] | (m_data[m_pos + 1] << 8));
        m_pos += 2;
        return v;
    }
    std::uint16_t U16BE()
    {
        Require(2);
        const auto v = static_cast<std::uint16_t>((m_data[m_pos] << 8) | m_data[m_pos + 1]);
        m_pos += 2;
        return v;
    }
    std::uint32_t U32LE()
    {
        Require(4);
        const std::uint32_t v = std::uint32_t{m_data[m_pos]} | (std::uint32_t{m_data[m_pos + 1]} << 8) |
                                (std::uint32_t{m_data[m_pos + 2]} << 16) | (std::uint32_t{m_data[m_pos + 3]} << 24);
        m_pos += 4;
        return v;
    }
    std::uint32_t U32BE()
    {
        Require(4);
        const std::uint32_t v = (std::uint32_t{m_data[m_pos]} << 24) | (std::uint32_t{m_data[m_pos + 1]} << 16) |
                                (std::uint32_t{m_data[m_pos + 2]} << 8) | std::uint32_t{m_data[m_pos + 3]};
        m_pos += 4;
        return v;
    }
    // A view of the next n bytes; the reader moves past them.
    std::span<const std::uint8_t> Bytes(std::size_t n)
    {
        Require(n);
        auto s = m_data.subspan(m_pos, n);
        m_pos += n;
        return s;
    }
    // A view of n bytes at an absolute offset; the position is unchanged.
    std::span<const std::uint8_t> At(std::size_t offset, std::size_t n) const
    {
        if (offset > m_data.size() || n > m_data.size() - offset)
            Fail();
        return m_data.subspan(offset, n);
    }

    [[noreturn]] void Fail() const { throw InvalidGraphicError(m_truncated); }

private:
    void Require(std::size_t n) const
    {
        if (n > m_data.size() - m_pos)
            Fail();
    }

    std::span<const std::uint8_t> m_data;
    std::size_t m_pos = 0;
    std::string m_truncated;
};

} // namespace quillmark
