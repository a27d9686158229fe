#pragma once
// Small builders shared by the imaging tests.
#include "imaging/FastBMP.h"

#include <cstdint>
#include <memory>
#include <random>

namespace quillmark::testing {

struct Bgr {
    std::uint8_t b, g, r;
    friend bool operator==(const Bgr&, const Bgr&) = default;
};

inline Bgr PixelAt(const TFastBMP& buffer, int x, int y)
{
    const std::uint8_t* p = buffer.RowTable()[y] + 3 * x;
    return {p[0], p[1], p[2]};
}

inline void SetPixel(TFastBMP& buffer, int x, int y, Bgr c)
{
    std::uint8_t* p = buffer.RowTable()[y] + 3 * x;
    p[0] = c.b;
    p[1] = c.g;
    p[2] = c.r;
}

// Random bytes everywhere, padding included, so that a routine which writes
// padding or leaves pixels alone shows up in a byte comparison.
inline std::unique_ptr<TFastBMP> RandomBuffer(int width, int height, std::uint32_t seed)
{
    auto buffer = std::make_unique<TFastBMP>(width, height);
    std::mt19937 random(seed);
    for (std::uint8_t& byte : buffer->Pixels())
        byte = static_cast<std::uint8_t>(random());
    return buffer;
}

// Index of the first differing byte of two buffers of one geometry, or -1.
inline long FirstDifference(const TFastBMP& a, const TFastBMP& b)
{
    const auto pa = a.Pixels();
    const auto pb = b.Pixels();
    for (std::size_t i = 0; i < pa.size(); ++i)
        if (pa[i] != pb[i])
            return static_cast<long>(i);
    return -1;
}

} // namespace quillmark::testing

inline std::ostream& operator<<(std::ostream& os, const quillmark::testing::Bgr& c)
{
    return os << "(b " << int{c.b} << ", g " << int{c.g} << ", r " << int{c.r} << ")";
}
