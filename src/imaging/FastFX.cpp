#include "imaging/FastFX.h"

#include "base/Cores.h"
#include "base/Errors.h"
#include "imaging/FastFXKernels.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>
#include <numbers>

namespace quillmark {

namespace {

std::size_t RowBytes(const TFastBMP& buffer)
{
    return 3 * static_cast<std::size_t>(buffer.Width());
}

void ApplyTable(TFastBMP& buffer, const std::array<std::uint8_t, 256>& table)
{
    const std::size_t bytes = RowBytes(buffer);
    for (std::int32_t y = 0; y < buffer.Height(); ++y) {
        std::uint8_t* row = buffer.RowTable()[y];
        for (std::size_t i = 0; i < bytes; ++i)
            row[i] = table[row[i]];
    }
}

// Runs a vector kernel over each row, then the table over what it left.
template <typename Kernel>
void ApplyPointEffect(TFastBMP& buffer, const std::array<std::uint8_t, 256>& table, Kernel kernel)
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
void BlurPixel(const TFastBMP& buffer, std::uint8_t* out, const std::uint8_t* r1, const std::uint8_t* r2, int x, int distance)
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

void Contrast(TFastBMP& buffer, int amount)
{
    ApplyTable(buffer, ContrastTable(amount));
}

void Lightness(TFastBMP& buffer, int amount)
{
    ApplyTable(buffer, LightnessTable(amount));
}

void Saturation(TFastBMP& buffer, int amount)
{
    const SaturationTables tables = MakeSaturationTables(amount);
    for (std::int32_t y = 0; y < buffer.Height(); ++y)
        SaturatePixels(buffer.RowTable()[y], static_cast<std::size_t>(buffer.Width()), tables);
}

void Invert(TFastBMP& buffer)
{
    ApplyTable(buffer, InvertTable());
}

void CuttingOff(TFastBMP& buffer, int threshold)
{
    ApplyTable(buffer, CuttingOffTable(threshold));
}

void BlurPass(TFastBMP& buffer, int distance)
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
void Contrast(TFastBMP& buffer, int amount)
{
    if (!SimdOk() || amount < -255 || amount > 255)
        return reference::Contrast(buffer, amount);
    ApplyPointEffect(buffer, ContrastTable(amount),
                     [amount](std::uint8_t* row, std::size_t n) { return fxkernels::ContrastAvx2(row, n, amount); });
}

void Lightness(TFastBMP& buffer, int amount)
{
    if (!SimdOk() || amount < -255 || amount > 255)
        return reference::Lightness(buffer, amount);
    ApplyPointEffect(buffer, LightnessTable(amount),
                     [amount](std::uint8_t* row, std::size_t n) { return fxkernels::LightnessAvx2(row, n, amount); });
}

void Invert(TFastBMP& buffer)
{
    if (!SimdOk())
        return reference::Invert(buffer);
    ApplyPointEffect(buffer, InvertTable(), [](std::uint8_t* row, std::size_t n) { return fxkernels::InvertAvx2(row, n); });
}

void CuttingOff(TFastBMP& buffer, int threshold)
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

void Saturation(TFastBMP& buffer, int amount)
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
void BlurPass(TFastBMP& buffer, int distance)
{
    if (distance == 0 || buffer.Empty())
        return;
    const int width = buffer.Width();
    const int height = buffer.Height();
    // The four samples are the same set for -d and d, and once d reaches a
    // side every clamped neighbour is that side's edge.
    const long long far = distance < 0 ? -static_cast<long long>(distance) : distance;
    distance = static_cast<int>(std::min<long long>(far, std::max(width, height)));
    if (!SimdOk())
        return reference::BlurPass(buffer, distance);
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

void GaussianBlur(TFastBMP& buffer, int passes)
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

// How many positions p, p + step, p + 2 step, ... lie in 0 .. limit - 1,
// counting from p, which must lie there itself.
inline std::int64_t StepsInside(std::int64_t p, std::int64_t step, std::int64_t limit, std::int64_t most)
{
    if (step > 0)
        return std::min(most, (limit - 1 - p) / step + 1);
    if (step < 0)
        return std::min(most, p / -step + 1);
    return most;
}

struct RotationWalk {
    const std::uint8_t* pixels;  // source row 0
    std::int64_t stride;
    std::int64_t width;
    std::int64_t height;
    std::int64_t dx;
    std::int64_t dy;
    bool shallow;                // the vector walk for small angles applies
    bool gather;                 // else the gathering vector walk applies
};

// A stretch of the walk along one axis over which the wrapped index is the
// plain index of a shifted position: index(p) == (p + shift) >> 16 for the
// next `steps` positions, with p + shift inside 0 .. limit - 1.
//   p >= 0: the index is (p >> 16) mod size, so shift = -k x limit for the
//           k-th copy of the picture that p lies in.
//   p < 0:  the index is size - 1 - ((-p) >> 16) mod size. Since
//           (-p) >> 16 == -((p + 65535) >> 16), within one copy this is
//           ((p + 65535) >> 16) plus a constant, up to where p reaches 0.
struct AxisStretch {
    std::int64_t shift;
    std::int64_t steps;
};

AxisStretch Stretch(std::int64_t p, std::int64_t step, std::int64_t size, std::int64_t most)
{
    const std::int64_t limit = size << 16;
    if (p >= 0) {
        const std::int64_t shift = -((p >> 16) / size) * limit;
        return {shift, StepsInside(p + shift, step, limit, most)};
    }
    const std::int64_t index = WrapIndex(p, size);
    const std::int64_t shift = 65535 + (index - ((p + 65535) >> 16)) * 65536;
    std::int64_t steps = StepsInside(p + shift, step, limit, most);
    if (step > 0)
        steps = std::min(steps, (-p + step - 1) / step); // positions still below 0
    return {shift, steps};
}

// count destination pixels from the 16.16 source position (sx, sy) on, in
// stretches over which neither axis wraps anew, so each stretch is a plain
// walk inside the source with no tests. Each pixel but the last of the walk
// is moved as 4 bytes, whose extra byte the next pixel overwrites.
void RotateRun(std::uint8_t* out, std::int64_t count, std::int64_t sx, std::int64_t sy, const RotationWalk& w)
{
    while (count > 0) {
        const AxisStretch alongX = Stretch(sx, w.dx, w.width, count);
        const AxisStretch alongY = Stretch(sy, w.dy, w.height, alongX.steps);
        const std::int64_t run = alongY.steps;
        std::int64_t vx = sx + alongX.shift;
        std::int64_t vy = sy + alongY.shift;
        sx += run * w.dx;
        sy += run * w.dy;
        const std::int64_t wide = run == count ? run - 1 : run;
        count -= run;
        std::int64_t i = 0;
        if (w.shallow) {
            i = static_cast<std::int64_t>(
                fxkernels::RotateShallowAvx2(out, static_cast<std::size_t>(wide), w.pixels, w.stride, vx, vy, w.dx, w.dy));
            out += 3 * i;
        } else if (w.gather) {
            i = static_cast<std::int64_t>(
                fxkernels::RotateGatherAvx2(out, static_cast<std::size_t>(wide), w.pixels, w.stride, vx, vy, w.dx, w.dy));
            out += 3 * i;
        }
        // Fresh copies: the kernel took vx and vy by address, and the byte
        // stores below could then alias them, which would keep them in memory.
        std::int64_t x = vx;
        std::int64_t y = vy;
        for (; i < wide; ++i, out += 3, x += w.dx, y += w.dy)
            std::memcpy(out, w.pixels + (y >> 16) * w.stride + 3 * (x >> 16), 4);
        if (wide < run) {
            std::memcpy(out, w.pixels + (y >> 16) * w.stride + 3 * (x >> 16), 3);
            out += 3;
        }
    }
}

} // namespace

// Positions are 64-bit: the 16.16 position of a picture side up to 65535
// does not fit 32 bits. The destination is walked in tiles of kBandRows
// rows by tileColumns columns, so that steep angles, which read the source
// across its rows, stay within the cache and the page tables' reach; each
// pixel's position is still its row's start plus x whole steps, exactly what
// a plain walk along the row gives. Reads past the last source pixel (4
// bytes, or 16 in the vector walk) land in the buffer's spare bytes.
void RotateInto(const TFastBMP& source, TFastBMP& destination, int centreX, int centreY, double angle)
{
    if (&source == &destination)
        throw InternalError("RotateInto needs distinct buffers");
    if (source.Empty() || destination.Empty())
        return;
    // An angle beyond single precision (or NaN) has no direction: it leaves
    // the picture as it is instead of feeding NaN into the integer steps.
    const long double radians = -static_cast<long double>(angle) * std::numbers::pi_v<long double> / 180.0L;
    const bool finite = std::fabs(radians) <= std::numeric_limits<float>::max();
    const float theta = finite ? static_cast<float>(radians) : 0.0f;
    const float s = std::sin(theta);
    const float c = std::cos(theta);
    RotationWalk walk{source.PixelData(), source.RowStride(), source.Width(), source.Height(),
                      static_cast<std::int64_t>(std::nearbyint(c * 65536.0f)),
                      static_cast<std::int64_t>(std::nearbyint(s * 65536.0f)), false, false};
    walk.shallow = SimdOk() && walk.dx > 0 && walk.dx <= 65536 && walk.dy > -8192 && walk.dy < 8192;
    walk.gather = SimdOk() && !walk.shallow;
    const long double cx = centreX;
    const long double cy = centreY;
    const long double ls = s;
    const long double lc = c;

    constexpr int kBandRows = 16;
    // Narrow tiles keep steep walks in the cache. From about 3.5 degrees on,
    // whole rows measured clearly faster as long as a row crosses at most
    // about 1400 source rows: the lines the row reads are then still cached
    // when the next row reads them again, a little to one side.
    constexpr std::int64_t kRowsInReach = 1400;
    const std::int64_t slope = walk.dy < 0 ? -walk.dy : walk.dy;
    const bool wholeRows = slope >= 4000 && ((destination.Width() * slope) >> 16) <= kRowsInReach;
    const int tileColumns = wholeRows ? destination.Width() : 256;
    const int width = destination.Width();
    // Bands of rows [from, to): each row depends on nothing but its own
    // number, so the cores may take a share of the bands each.
    const auto rotateBands = [&](int from, int to) {
        std::array<std::int64_t, kBandRows> rowX{};
        std::array<std::int64_t, kBandRows> rowY{};
        for (int band = from; band < to; band += kBandRows) {
            const int rows = std::min(kBandRows, to - band);
            for (int r = 0; r < rows; ++r) {
                const long double ry = static_cast<long double>(band + r) - cy;
                rowX[static_cast<std::size_t>(r)] = static_cast<std::int64_t>(std::nearbyint((-cx * lc + cx - ry * ls) * 65536.0L));
                rowY[static_cast<std::size_t>(r)] = static_cast<std::int64_t>(std::nearbyint((-cx * ls + cy + ry * lc) * 65536.0L));
            }
            for (int x0 = 0; x0 < width; x0 += tileColumns) {
                const int x1 = std::min(width, x0 + tileColumns);
                for (int r = 0; r < rows; ++r)
                    RotateRun(destination.RowTable()[band + r] + 3 * x0, x1 - x0,
                              rowX[static_cast<std::size_t>(r)] + x0 * walk.dx,
                              rowY[static_cast<std::size_t>(r)] + x0 * walk.dy, walk);
            }
        }
    };
    constexpr std::int64_t kPixelsWorthSharing = std::int64_t{1} << 20;
    const int height = destination.Height();
    const int bands = (height + kBandRows - 1) / kBandRows;
    const int runs = std::int64_t{width} * height < kPixelsWorthSharing
                         ? 1
                         : std::min(static_cast<int>(SharedCores()), bands);
    // Shares end on band boundaries, so every row is rotated exactly as in a
    // single pass.
    const auto shareStart = [&](int run) { return std::min(height, bands * run / runs * kBandRows); };
    RunShared(static_cast<std::size_t>(runs), [&](std::size_t run) {
        rotateBands(shareStart(static_cast<int>(run)), shareStart(static_cast<int>(run) + 1));
    });
}

} // namespace quillmark
