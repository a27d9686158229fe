#pragma once
// A small picture built in a test: a pixel buffer filled with a background
// colour, on which single pixels and short vertical marks are set.
#include "digitize/Trace.h"
#include "formats/Bitmap.h"
#include "imaging/FastBMP.h"

namespace quillmark::test {

class TestPicture {
public:
    TestPicture(int width, int height, Color background) : m_buffer(width, height)
    {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x)
                Set(x, y, background);
        }
    }

    void Set(int x, int y, Color c)
    {
        std::uint8_t* p = m_buffer.RowTable()[y] + 3 * x;
        p[0] = c.Blue;
        p[1] = c.Green;
        p[2] = c.Red;
    }

    // Rows y .. y + thickness - 1 of column x.
    void Mark(int x, int y, int thickness, Color c)
    {
        for (int k = 0; k < thickness; ++k)
            Set(x, y + k, c);
    }

    const TFastRGB& View() const { return m_buffer; }

private:
    TFastBMP m_buffer;
};

// The picture fills the plot and the axes run 0 .. W and 0 .. H, so that a
// stretched trace gives X = column and Y = H - row exactly.
inline TraceInput WholePicture(const TFastRGB& view)
{
    TraceInput input;
    input.Plot = PlotFilledByPicture(view.Width(), view.Height());
    input.XMin = 0.0;
    input.XMax = view.Width();
    input.YMin = 0.0;
    input.YMax = view.Height();
    return input;
}

inline constexpr Color kBlack{0, 0, 0};
inline constexpr Color kWhite{255, 255, 255};
inline constexpr Color kRed{255, 0, 0};
inline constexpr Color kBlue{0, 0, 255};

} // namespace quillmark::test
