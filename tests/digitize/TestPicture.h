#pragma once
// A small 24-bit picture built in a test: padded BGR rows and a row table, the
// layout the tracer reads.
#include "digitize/Trace.h"

#include <cstdint>
#include <vector>

namespace quillmark::test {

class TestPicture {
public:
    TestPicture(int width, int height, RgbColour background)
        : m_width(width), m_height(height), m_stride(3 * width + width % 4),
          m_bytes(static_cast<std::size_t>(m_stride) * static_cast<std::size_t>(height), 0xEE)
    {
        for (int y = 0; y < height; ++y) {
            m_rows.push_back(m_bytes.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(m_stride));
            for (int x = 0; x < width; ++x)
                Set(x, y, background);
        }
    }

    void Set(int x, int y, RgbColour c)
    {
        std::uint8_t* p = m_bytes.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(m_stride)
            + static_cast<std::size_t>(x) * 3;
        p[0] = c.Blue;
        p[1] = c.Green;
        p[2] = c.Red;
    }

    // Rows y .. y + thickness - 1 of column x.
    void Mark(int x, int y, int thickness, RgbColour c)
    {
        for (int k = 0; k < thickness; ++k)
            Set(x, y + k, c);
    }

    PixelView View() const { return PixelView{m_width, m_height, m_rows.data()}; }

private:
    int m_width;
    int m_height;
    int m_stride;
    std::vector<std::uint8_t> m_bytes;
    std::vector<const std::uint8_t*> m_rows;
};

inline constexpr RgbColour kBlack{0, 0, 0};
inline constexpr RgbColour kWhite{255, 255, 255};
inline constexpr RgbColour kRed{255, 0, 0};
inline constexpr RgbColour kBlue{0, 0, 255};

} // namespace quillmark::test
