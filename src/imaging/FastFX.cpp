#include "imaging/FastFX.h"

#include "base/Errors.h"
#include "imaging/FastFXKernels.h"

#include <cmath>
#include <cstddef>
#include <numbers>

namespace quillmark {

namespace {

std::size_t RowBytes(const TFastRGB& buffer)
{
    return 3 * static_cast<std::size_t>(buffer.Width());
}

void ApplyTable(TFastRGB& buffer, const std::array<std::uint8_t, 256>& table, std::size_t rowFrom)
{
    const std::size_t bytes = RowBytes(buffer);
    for (std::int32_t y = 0; y < buffer.Height(); ++y) {
        std::uint8_t* row = buffer.RowTable()[y];
        for (std::size_t i = rowFrom; i < bytes; ++i)
            row[i] = table[row[i]];
    }
}

// Runs a vector kernel over each row, then the table over what it left.
template <typename Kernel>
void ApplyPointEffect(TFastRGB& buffer, const std::array<std::uint8_t, 256>& table, Kernel kernel)
{
    const std::size_t bytes = RowBytes(buffer);
    for (std::int32_t y = 0; y < buffer.Height(); ++y) {
        std::uint8_t* row = buffer.RowTable()[y];
        for (std::size_t i = kernel(row, bytes); i < bytes; ++i)
            row[i] = table[row[i]];
    }
}

std::array<std::uint8_t, 256> InvertTable()
{
    std::array<std::uint8_t, 256> table{};
    for (int i = 0; i < 256; ++i)
        table[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(255 - i);
    return table;
}

std::array<std::uint8_t, 256> CuttingOffTable(int threshold)
{
    std::array<std::uint8_t, 256> table{};
    for (int i = 0; i < 256; ++i)
        table[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i > threshold ? i : 0);
    return table;
}

struct SaturationTables {
    std::array<int, 256> alpha{};
    std::array<int, 768> grey{};
};

// alpha[i] = (i x s) div 256; grey, indexed by the sum of a pixel's three
// bytes, gives m - alpha[m] for the integer mean m = sum div 3.
SaturationTables MakeSaturationTables(int amount)
{
    SaturationTables t;
    for (int i = 0; i < 256; ++i)
        t.alpha[static_cast<std::size_t>(i)] = (i * amount) / 256;
    for (int j = 0; j < 256; ++j)
        for (int k = 0; k < 3; ++k)
            t.grey[static_cast<std::size_t>(3 * j + k)] = j - t.alpha[static_cast<std::size_t>(j)];
    return t;
}

void SaturatePixels(std::uint8_t* p, std::size_t count, const SaturationTables& t)
{
    for (std::size_t x = 0; x < count; ++x, p += 3) {
        const int g = t.grey[static_cast<std::size_t>(p[0] + p[1] + p[2])];
        p[0] = static_cast<std::uint8_t>(ClampToByte(g + t.alpha[p[0]]));
        p[1] = static_cast<std::uint8_t>(ClampToByte(g + t.alpha[p[1]]));
        p[2] = static_cast<std::uint8_t>(ClampToByte(g + t.alpha[p[2]]));
    }
}

// Pixel x of the output row y, from the rows above and below and the
// columns left and right, each clamped into the picture.
void BlurPixel(TFastRGB& buffer, std::uint8_t* out, const std::uint8_t* r1, const std::uint8_t* r2, int x, int distance)
{
    const auto xa = static_cast<std::size_t>(3 * ClampToRange(x + distance, 0, buffer.Width() - 1));
    const auto xb = static_cast<std::size_t>(3 * ClampToRange(x - distance, 0, buffer.Width() - 1));
    for (std::size_t k = 0; k < 3; ++k)
        out[k] = static_cast<std::uint8_t>((r1[xa + k] + r2[xa + k] + r1[xb + k] + r2[xb + k]) / 4);
}

bool SimdOk()
{
    return fxkernels::HaveAvx2();
}

} // namespace

std::array<std::uint8_t, 256> ContrastTable(int amount)
{
    std::array<std::uint8_t, 256> table{};
    for (int i = 0; i < 256; ++i) {
        const int spread = (std::abs(128 - i) * amount) / 256;
        table[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(ClampToByte(i < 127 ? i - spread : i + spread));
    }
    return table;
}

std::array<std::uint8_t, 256> LightnessTable(int amount)
{
    std::array<std::uint8_t, 256> table{};
    for (int i = 0; i < 256; ++i) {
        const int v = amount > 0 ? i + ((255 - i) * amount) / 256 : i - (i * std::abs(amount)) / 256;
        table[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(ClampToByte(v));
    }
    return table;
}

namespace reference {

void Contrast(TFastRGB& buffer, int amount)
{
    ApplyTable(buffer, ContrastTable(amount), 0);
}

void Lightness(TFastRGB& buffer, int amount)
{
    ApplyTable(buffer, LightnessTable(amount), 0);
}

void Saturation(TFastRGB& buffer, int amount)
{
    const SaturationTables tables = MakeSaturationTables(amount);
    for (std::int32_t y = 0; y < buffer.Height(); ++y)
        SaturatePixels(buffer.RowTable()[y], static_cast<std::size_t>(buffer.Width()), tables);
}

void Invert(TFastRGB& buffer)
{
    ApplyTable(buffer, InvertTable(), 0);
}

void CuttingOff(TFastRGB& buffer, int threshold)
{
    ApplyTable(buffer, CuttingOffTable(threshold), 0);
}

void BlurPass(TFastRGB& buffer, int distance)
{
    for (int y = 0; y < buffer.Height(); ++y) {
        const std::uint8_t* r1 = buffer.RowTable()[ClampToRange(y + distance, 0, buffer.Height() - 1)];
        const std::uint8_t* r2 = buffer.RowTable()[ClampToRange(y - distance, 0, buffer.Height() - 1)];
        std::uint8_t* out = buffer.RowTable()[y];
        for (int x = 0; x < buffer.Width(); ++x)
            BlurPixel(buffer, out + 3 * x, r1, r2, x, distance);
    }
}

} // namespace reference

// The table and the vector formulas agree only for amounts the controls can
// give; anything else takes the table alone.
void Contrast(TFastRGB& buffer, int amount)
{
    if (!SimdOk() || amount < -255 || amount > 255)
        return reference::Contrast(buffer, amount);
    ApplyPointEffect(buffer, ContrastTable(amount),
                     [amount](std::uint8_t* row, std::size_t n) { return fxkernels::ContrastAvx2(row, n, amount); });
}

void Lightness(TFastRGB& buffer, int amount)
{
    if (!SimdOk() || amount < -255 || amount > 255)
        return reference::Lightness(buffer, amount);
    ApplyPointEffect(buffer, LightnessTable(amount),
                     [amount](std::uint8_t* row, std::size_t n) { return fxkernels::LightnessAvx2(row, n, amount); });
}

void Invert(TFastRGB& buffer)
{
    if (!SimdOk())
        return reference::Invert(buffer);
    ApplyPointEffect(buffer, InvertTable(), [](std::uint8_t* row, std::size_t n) { return fxkernels::InvertAvx2(row, n); });
}

void CuttingOff(TFastRGB& buffer, int threshold)
{
    if (threshold < 0)
        return;
    if (threshold > 255)
        threshold = 255;
    if (!SimdOk())
        return reference::CuttingOff(buffer, threshold);
    ApplyPointEffect(buffer, CuttingOffTable(threshold), [threshold](std::uint8_t* row, std::size_t n) {
        return fxkernels::CuttingOffAvx2(row, n, threshold);
    });
}

void Saturation(TFastRGB& buffer, int amount)
{
    if (!SimdOk() || amount < 0 || amount > 4096)
        return reference::Saturation(buffer, amount);
    const SaturationTables tables = MakeSaturationTables(amount);
    const auto width = static_cast<std::size_t>(buffer.Width());
    for (std::int32_t y = 0; y < buffer.Height(); ++y) {
        std::uint8_t* row = buffer.RowTable()[y];
        const std::size_t done = fxkernels::SaturationAvx2(row, width, amount);
        SaturatePixels(row + 3 * done, width - done, tables);
    }
}

// Only the first and the last row can read the row being written (their
// clamped neighbour row is the row itself); they keep the strict pixel order.
// Every other row reads two other rows only, so its interior, where neither
// column is clamped, is one vector average of four shifted byte ranges.
void BlurPass(TFastRGB& buffer, int distance)
{
    if (distance < 0)
        distance = -distance; // the four samples are the same set for -d and d
    if (distance == 0 || buffer.Empty())
        return;
    if (!SimdOk())
        return reference::BlurPass(buffer, distance);
    const int width = buffer.Width();
    const int height = buffer.Height();
    for (int y = 0; y < height; ++y) {
        const int y1 = ClampToRange(y + distance, 0, height - 1);
        const int y2 = ClampToRange(y - distance, 0, height - 1);
        const std::uint8_t* r1 = buffer.RowTable()[y1];
        const std::uint8_t* r2 = buffer.RowTable()[y2];
        std::uint8_t* out = buffer.RowTable()[y];
        if (y1 == y || y2 == y || width <= 2 * distance) {
            for (int x = 0; x < width; ++x)
                BlurPixel(buffer, out + 3 * x, r1, r2, x, distance);
            continue;
        }
        const auto d3 = static_cast<std::size_t>(3 * distance);
        const auto interior = static_cast<std::size_t>(3 * (width - 2 * distance));
        const std::size_t done =
            fxkernels::Average4Avx2(out + d3, r1 + 2 * d3, r2 + 2 * d3, r1, r2, interior);
        for (std::size_t j = done; j < interior; ++j)
            out[d3 + j] = static_cast<std::uint8_t>((r1[2 * d3 + j] + r2[2 * d3 + j] + r1[j] + r2[j]) / 4);
        for (int x = 0; x < distance; ++x)
            BlurPixel(buffer, out + 3 * x, r1, r2, x, distance);
        for (int x = width - distance; x < width; ++x)
            BlurPixel(buffer, out + 3 * x, r1, r2, x, distance);
    }
}

void GaussianBlur(TFastRGB& buffer, int passes)
{
    for (int d = passes; d >= 1; --d)
        BlurPass(buffer, d);
}

namespace {

// Source index along one axis from a 16.16 position, wrapping positions
// outside 0 .. size - 1 around to the far side. A negative position counts
// back from the last index.
inline std::int64_t WrapIndex(std::int64_t position, std::int64_t size)
{
    if (position < 0)
        return (size - 1) - ((-position) >> 16) % size;
    const std::int64_t i = position >> 16;
    return i > size - 1 ? i % size : i;
}

} // namespace

// Positions are 64-bit: 16.16 fixed point of a picture side up to 65535
// would not fit 32 bits.
void RotateInto(const TFastRGB& source, TFastRGB& destination, int centreX, int centreY, double angle)
{
    if (&source == &destination)
        throw InternalError("RotateInto needs distinct buffers");
    if (source.Empty() || destination.Empty())
        return;
    const float theta = static_cast<float>(-static_cast<long double>(angle) * std::numbers::pi_v<long double> / 180.0L);
    const float s = std::sin(theta);
    const float c = std::cos(theta);
    const auto dx = static_cast<std::int64_t>(std::nearbyint(c * 65536.0f));
    const auto dy = static_cast<std::int64_t>(std::nearbyint(s * 65536.0f));
    const std::int64_t srcWidth = source.Width();
    const std::int64_t srcHeight = source.Height();
    const std::int64_t xLimit = srcWidth << 16;
    const std::int64_t yLimit = srcHeight << 16;
    const long double cx = centreX;
    const long double cy = centreY;
    const long double ls = s;
    const long double lc = c;
    const std::uint8_t* const* srcRows = source.RowTable();
    for (int y = 0; y < destination.Height(); ++y) {
        const long double ry = static_cast<long double>(y) - cy;
        auto sx = static_cast<std::int64_t>(std::nearbyint((-cx * lc + cx - ry * ls) * 65536.0L));
        auto sy = static_cast<std::int64_t>(std::nearbyint((-cx * ls + cy + ry * lc) * 65536.0L));
        std::uint8_t* out = destination.RowTable()[y];
        const int width = destination.Width();
        for (int x = 0; x < width; ++x, out += 3, sx += dx, sy += dy) {
            const std::uint8_t* in;
            if (static_cast<std::uint64_t>(sx) < static_cast<std::uint64_t>(xLimit) &&
                static_cast<std::uint64_t>(sy) < static_cast<std::uint64_t>(yLimit))
                in = srcRows[sy >> 16] + 3 * (sx >> 16);
            else
                in = srcRows[WrapIndex(sy, srcHeight)] + 3 * WrapIndex(sx, srcWidth);
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
        }
    }
}

} // namespace quillmark
