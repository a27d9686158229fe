#pragma once
// A small picture built in a test: a pixel buffer filled with a background
// colour, on which single pixels and short vertical marks are set.
#include "digitize/RgbColour.h"
#include "imaging/FastBMP.h"

namespace quillmark::test {

class TestPicture {
public:
    TestPicture(int width, int height, RgbColour background) : m_buffer(width, height)
    {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x)
                Set(x, y, background);
        }
    }

    void Set(int x, int y, RgbColour c)
    {
        std::uint8_t* p = m_buffer.RowTable()[y] + 3 * x;
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

    const TFastRGB& View() const { return m_buffer; }

private:
    TFastBMP m_buffer;
};

inline constexpr RgbColour kBlack{0, 0, 0};
inline constexpr RgbColour kWhite{255, 255, 255};
inline constexpr RgbColour kRed{255, 0, 0};
inline constexpr RgbColour kBlue{0, 0, 255};

} // namespace quillmark::test
