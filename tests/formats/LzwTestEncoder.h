#pragma once
// Test-side LZW encoders that write TIFF (MSB first, early change) and GIF
// (LSB first) code streams, so decoder tests can start from known pixels.
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

namespace quillmark::test {

class BitWriter {
public:
    explicit BitWriter(bool msbFirst) : m_msbFirst(msbFirst) {}
    void Put(unsigned code, unsigned width)
    {
        if (m_msbFirst) {
            for (unsigned i = width; i-- > 0;)
                PutBit((code >> i) & 1u);
        } else {
            for (unsigned i = 0; i < width; ++i)
                PutBit((code >> i) & 1u);
        }
    }
    std::vector<std::uint8_t> Finish()
    {
        if (m_count > 0)
            m_out.push_back(m_msbFirst ? static_cast<std::uint8_t>(m_acc << (8 - m_count)) : m_acc);
        m_count = 0;
        return m_out;
    }

private:
    void PutBit(unsigned bit)
    {
        if (m_msbFirst)
            m_acc = static_cast<std::uint8_t>((m_acc << 1) | bit);
        else
            m_acc = static_cast<std::uint8_t>(m_acc | (bit << m_count));
        if (++m_count == 8) {
            m_out.push_back(m_acc);
            m_acc = 0;
            m_count = 0;
        }
    }
    bool m_msbFirst;
    std::uint8_t m_acc = 0;
    unsigned m_count = 0;
    std::vector<std::uint8_t> m_out;
};

// tiff: codes MSB first, 256/257 clear/end, width grows one code early.
// gif: codes LSB first with the given minimum code size.
inline std::vector<std::uint8_t> LzwEncode(const std::vector<std::uint8_t>& data, bool tiff, unsigned minSize = 8)
{
    const unsigned clear = tiff ? 256u : (1u << minSize);
    const unsigned end = clear + 1;
    const unsigned early = tiff ? 1u : 0u;
    BitWriter w(tiff);
    std::map<std::pair<unsigned, std::uint8_t>, unsigned> table;
    unsigned next = clear + 2;
    unsigned width = tiff ? 9u : minSize + 1;
    w.Put(clear, width);
    auto resetTable = [&] {
        table.clear();
        next = clear + 2;
        width = tiff ? 9u : minSize + 1;
    };
    if (data.empty()) {
        w.Put(end, width);
        return w.Finish();
    }
    unsigned current = data[0];
    for (std::size_t i = 1; i < data.size(); ++i) {
        const auto key = std::make_pair(current, data[i]);
        const auto found = table.find(key);
        if (found != table.end()) {
            current = found->second;
            continue;
        }
        w.Put(current, width);
        table[key] = next++;
        if (next + early > (1u << width) && width < 12)
            ++width;
        if (next >= 4094) {
            w.Put(clear, width);
            resetTable();
        }
        current = data[i];
    }
    w.Put(current, width);
    // The decoder adds an entry for this code too; keep the widths in step.
    ++next;
    if (next + early > (1u << width) && width < 12)
        ++width;
    w.Put(end, width);
    return w.Finish();
}

} // namespace quillmark::test
