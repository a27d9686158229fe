#include "digitize/Trace.h"

#include "calibration/AxisMapping.h"
#include "digitize/TracePrecise.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

namespace quillmark {

namespace {

void Report(const TraceProgress& progress, TracePass pass, std::size_t done, std::size_t total)
{
    if (progress)
        progress(pass, done, total);
}

std::int64_t RoundToInt64(long double v)
{
    return static_cast<std::int64_t>(std::nearbyint(v));
}

// The sampling positions: p runs from X0 in steps of S, and the column is p
// rounded half to even. Counting walks the very same sequence as the sampling
// pass, so the count is exact.
std::size_t CountSamples(const ScanLimits& limits, long double step)
{
    if (limits.X0 >= limits.X1)
        return 0;
    const long double span = static_cast<long double>(limits.X1 - limits.X0);
    if (span / step > static_cast<long double>(kMaxTraceSamples))
        throw TraceError("Шаг оцифровки слишком мал.");
    std::size_t count = 0;
    for (long double p = static_cast<long double>(limits.X0); RoundToInt64(p) < limits.X1; p += step) {
        if (++count > kMaxTraceSamples)
            throw TraceError("Шаг оцифровки слишком мал.");
    }
    return count;
}

} // namespace

namespace {

// The trace's axes in space (see AxisMapping): the values themselves on
// linear forward axes.
AxisLimits TraceSpace(const TraceInput& input)
{
    return SpaceLimits(AxisLimits(input.XMin, input.XMax, input.YMin, input.YMax, input.XKind, input.YKind));
}

} // namespace

long double XUnitsPerPixel(const TraceInput& input)
{
    const AxisLimits s = TraceSpace(input);
    return (s.XMax - s.XMin) / input.Plot.Width;
}

long double YUnitsPerPixel(const TraceInput& input)
{
    const AxisLimits s = TraceSpace(input);
    return (s.YMax - s.YMin) / input.Plot.Height;
}

long double TraceStepPixels(const TraceInput& input, int pictureWidth)
{
    long double step = input.Step;
    if (input.Unit == StepUnit::AxisUnits) {
        // On a log axis the step is in decades.
        const AxisLimits space = TraceSpace(input);
        const long double range = space.XMax - space.XMin;
        const int pixels = input.Stretched ? pictureWidth : input.Plot.Width;
        step = step * pixels / range;
    }
    // Also catches NaN, and the infinite step of an axis range of zero width.
    if (!(step > 0.0L) || !std::isfinite(step))
        throw TraceError("Шаг оцифровки должен быть больше нуля.");
    return step;
}

PictureOffset ActualSizeOffset(const PlotRect& plot, int pictureWidth, int pictureHeight)
{
    return PictureOffset{(plot.Width - pictureWidth) / 2, (plot.Height - pictureHeight) / 2};
}

ScanLimits TraceScanLimits(const TraceInput& input, int pictureWidth, int pictureHeight)
{
    const std::int64_t w = pictureWidth;
    const std::int64_t h = pictureHeight;
    ScanLimits limits{0, w - 1, 0, h - 1};   // the rightmost column is never sampled
    if (input.Region) {
        // Corners in either order (limits typed max below min) mean the same rectangle.
        SurfaceRect r = *input.Region;
        if (r.Left > r.Right)
            std::swap(r.Left, r.Right);
        if (r.Top > r.Bottom)
            std::swap(r.Top, r.Bottom);
        const PlotRect& plot = input.Plot;
        const std::int64_t left = std::int64_t{r.Left} - plot.Left;
        const std::int64_t top = std::int64_t{r.Top} - plot.Top;
        const std::int64_t right = std::int64_t{r.Right} - plot.Left;
        const std::int64_t bottom = std::int64_t{r.Bottom} - plot.Top;
        if (input.Stretched) {
            // Integer products, real divisions.
            const auto scaleX = [&](std::int64_t v) {
                return RoundToInt64(static_cast<long double>(v * w) / plot.Width);
            };
            const auto scaleY = [&](std::int64_t v) {
                return RoundToInt64(static_cast<long double>(v * h) / plot.Height);
            };
            limits = ScanLimits{scaleX(left), scaleX(right) + 1, scaleY(top), scaleY(bottom)};
        } else {
            const PictureOffset offset = ActualSizeOffset(plot, pictureWidth, pictureHeight);
            limits = ScanLimits{left - offset.X, right - offset.X + 1, top - offset.Y, bottom - offset.Y};
        }
        // The limits are kept in 64 bits rather than 16, so that pictures wider
        // or taller than 32767 pixels and regions far outside the picture clamp
        // instead of wrapping around.
        if (limits.X0 < 0)
            limits.X0 = 0;
        if (limits.Y0 < 0)
            limits.Y0 = 0;
        // A region reaching the last column, or past it, samples that column.
        if (limits.X1 > w)
            limits.X1 = w;
        if (limits.Y1 > h - 1)
            limits.Y1 = h - 1;
    }
    return limits;
}

int ColourDistance(const Color& target, const std::uint8_t* pixel)
{
    return std::abs(target.Red - pixel[2]) + std::abs(target.Green - pixel[1]) + std::abs(target.Blue - pixel[0]);
}

int PixelBrightness(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    // The brightness is 0.229 red + 0.5876 green + 0.114 blue summed in
    // extended precision and rounded half to even. That sum is within 1e-15 of
    // the exact one, ten-thousandths of which are counted here in integers, so
    // it rounds the same way except at an exact half, where its last bit (just
    // above or just below the half) decides. Only those rare colours pay for
    // the extended arithmetic.
    const unsigned tenThousandths = 2290u * red + 5876u * green + 1140u * blue;
    const unsigned rounded = (tenThousandths + 5000u) / 10000u;
    if (rounded * 10000u != tenThousandths + 5000u)
        return static_cast<int>(rounded);
    return static_cast<int>(std::nearbyint(0.229L * red + 0.5876L * green + 0.114L * blue));
}

namespace {

// The band search of one column, fed one row at a time from the top. The top
// row is the first row holding the best value, the bottom row the last one;
// a column where no pixel beats the start value finds no line.
struct BandSearch {
    int Best = 0;
    bool Found = false;
    std::int64_t Top = 0;
    std::int64_t Bottom = 0;

    void Start(bool byColour, std::int64_t y1)
    {
        Best = byColour ? 1000 : 0;
        Found = false;
        Top = 0;
        Bottom = y1 - 1;
    }

    void Feed(int value, bool better, std::int64_t y)
    {
        if (better) {
            Best = value;
            Top = y;
            Bottom = y;
            Found = true;
        } else if (Found && value == Best) {
            Bottom = y;
        }
    }

    std::int32_t Result(bool byColour, const TraceInput& input) const
    {
        // A column where nothing beat the start value (all black, by
        // brightness) holds no line.
        if (!Found)
            return -1;
        if (Bottom - Top > input.LineSens)
            return -1;
        if (byColour && Best > input.ColorSens)
            return -1;
        return static_cast<std::int32_t>((Top + Bottom) / 2);
    }
};

void CheckColumn(const TFastRGB& picture, std::int64_t u, std::int64_t y0, std::int64_t y1)
{
    if (u < 0 || u >= picture.Width() || y0 < 0 || y1 >= picture.Height())
        throw InternalError("ExamineColumn: scan limits outside the picture");
}

// Columns are far apart in memory (a row's length), so a column-by-column walk
// reads each cache line once per column it holds. The sampling pass instead
// walks the rows once for a block of neighbouring samples: every column still
// sees its rows top to bottom, so the results are those of ExamineColumn.
constexpr std::size_t kBlockSamples = 64;
constexpr std::int64_t kBlockColumns = 128;
constexpr std::int64_t kPrefetchRows = 8;

template <bool ByColour>
void ExamineBlock(const TFastRGB& picture, std::span<const std::int64_t> columns, std::int64_t y0,
                  std::int64_t y1, const TraceInput& input, std::span<std::int32_t> rowsOut,
                  std::span<TraceBand> bandsOut)
{
    std::array<BandSearch, kBlockSamples> search;
    std::array<std::size_t, kBlockSamples> offsets{};
    const std::size_t count = columns.size();
    for (std::size_t k = 0; k < count; ++k) {
        search[k].Start(ByColour, y1);
        offsets[k] = static_cast<std::size_t>(columns[k]) * 3;
    }
    const std::uint8_t* const* rows = picture.RowTable();
    const Color target = input.LineColour;
    // Rows lie a whole row apart, too far for the processor to guess; the
    // block's bytes a few rows ahead are asked for while this row is worked.
    const std::size_t lastByte = offsets[count - 1] + 2;
    for (std::int64_t y = y0; y <= y1; ++y) {
        const std::uint8_t* row = rows[y];
        if (y + kPrefetchRows <= y1) {
            const std::uint8_t* ahead = rows[y + kPrefetchRows];
            for (std::size_t b = offsets[0]; b <= lastByte; b += 64)
                __builtin_prefetch(ahead + b);
            __builtin_prefetch(ahead + lastByte);
        }
        for (std::size_t k = 0; k < count; ++k) {
            const std::uint8_t* pixel = row + offsets[k];
            BandSearch& s = search[k];
            if constexpr (ByColour) {
                const int value = ColourDistance(target, pixel);
                s.Feed(value, value < s.Best, y);
            } else {
                const int value = PixelBrightness(pixel[2], pixel[1], pixel[0]);
                s.Feed(value, value > s.Best, y);
            }
        }
    }
    for (std::size_t k = 0; k < count; ++k) {
        rowsOut[k] = search[k].Result(ByColour, input);
        if (!bandsOut.empty())
            bandsOut[k] = TraceBand{search[k].Top, search[k].Bottom, search[k].Best};
    }
}

} // namespace

std::int32_t ExamineColumn(const TFastRGB& picture, std::int64_t u, std::int64_t y0, std::int64_t y1,
                           const TraceInput& input)
{
    // A column of which no row lies inside the limits holds no line.
    if (y1 < y0)
        return -1;
    CheckColumn(picture, u, y0, y1);
    const bool byColour = input.Method == TraceMethod::ByColour;
    BandSearch search;
    search.Start(byColour, y1);
    const std::size_t offset = static_cast<std::size_t>(u) * 3;
    const std::uint8_t* const* rows = picture.RowTable();
    for (std::int64_t y = y0; y <= y1; ++y) {
        const std::uint8_t* pixel = rows[y] + offset;
        if (byColour) {
            const int value = ColourDistance(input.LineColour, pixel);
            search.Feed(value, value < search.Best, y);
        } else {
            const int value = PixelBrightness(pixel[2], pixel[1], pixel[0]);
            search.Feed(value, value > search.Best, y);
        }
    }
    return search.Result(byColour, input);
}

bool FillTraceGaps(std::span<std::int32_t> buffer, const TraceProgress& progress)
{
    const std::size_t n = buffer.size();
    const auto firstFound = std::find_if(buffer.begin(), buffer.end(), [](std::int32_t v) { return v != -1; });
    if (firstFound == buffer.end())
        return false;

    // b, the next entry holding a found row, is the same for every entry of
    // one gap; it is looked up once per gap so that a long gap stays linear.
    std::size_t b = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (buffer[i] == -1) {
            if (i == 0) {
                buffer[0] = *firstFound;
            } else {
                if (b <= i) {
                    b = i + 1;
                    while (b < n && buffer[b] == -1)
                        ++b;
                }
                const std::size_t a = i - 1;
                const long double valueA = buffer[a];
                const long double valueB = b < n ? buffer[b] : valueA;   // held flat to the end
                const long double slope = (valueB - valueA) / static_cast<long double>(b - a);
                const long double offset = valueB - slope * static_cast<long double>(b);
                buffer[i] = static_cast<std::int32_t>(std::nearbyint(static_cast<long double>(i) * slope + offset));
            }
        }
        Report(progress, TracePass::GapFilling, i + 1, n);
    }
    return true;
}

namespace {

// The plain band search of every sample, a block at a time: a block is a run
// of samples no more than kBlockColumns columns wide; the progress is
// reported for each of its samples once the block is done. bandsOut, when not
// empty, receives each sample's band.
void ExamineSamples(const TFastRGB& picture, std::span<const std::int64_t> columns, const ScanLimits& limits,
                    const TraceInput& input, std::span<std::int32_t> rowsOut, std::span<TraceBand> bandsOut,
                    const TraceProgress& progress)
{
    const std::size_t n = columns.size();
    const bool byColour = input.Method == TraceMethod::ByColour;
    for (std::size_t first = 0; first < n;) {
        std::size_t end = first + 1;
        while (end < n && end - first < kBlockSamples && columns[end] >= columns[first] &&
               columns[end] - columns[first] < kBlockColumns)
            ++end;
        const auto block = columns.subspan(first, end - first);
        const auto out = rowsOut.subspan(first, end - first);
        const auto bandsBlock = bandsOut.empty() ? bandsOut : bandsOut.subspan(first, end - first);
        if (limits.Y1 >= limits.Y0) {
            for (const std::int64_t u : block)
                CheckColumn(picture, u, limits.Y0, limits.Y1);
            if (byColour)
                ExamineBlock<true>(picture, block, limits.Y0, limits.Y1, input, out, bandsBlock);
            else
                ExamineBlock<false>(picture, block, limits.Y0, limits.Y1, input, out, bandsBlock);
        }
        for (std::size_t i = first; i < end; ++i)
            Report(progress, TracePass::Sampling, i + 1, n);
        first = end;
    }
}

} // namespace

TraceResult TraceCurve(const TFastRGB& picture, const TraceInput& given, const TraceProgress& progress)
{
    if (!(given.Step > 0.0) || !std::isfinite(given.Step))
        throw TraceError("Шаг оцифровки должен быть больше нуля.");
    TraceResult result;
    const int w = picture.Width();
    const int h = picture.Height();
    if (w <= 0 || h <= 0)
        return result;
    if (picture.RowTable() == nullptr)
        throw InternalError("TraceCurve: picture without rows");
    if (given.Plot.Width <= 0 || given.Plot.Height <= 0)
        throw TraceError("Область графика имеет нулевой размер.");

    TraceInput input = given;   // AutoSens may choose the colour sensitivity
    const PreciseTrace& precise = given.Precise;
    const long double step = TraceStepPixels(input, w);
    const PictureOffset offset = ActualSizeOffset(input.Plot, w, h);
    const ScanLimits limits = TraceScanLimits(input, w, h);
    const std::size_t n = CountSamples(limits, step);

    // Values are worked out in each axis's space and brought back.
    const AxisLimits space = TraceSpace(input);
    const AxisMapping xAxis{input.XMin, input.XMax, input.XKind.Log, input.XKind.Reversed};
    const AxisMapping yAxis{input.YMin, input.YMax, input.YKind.Log, input.YKind.Reversed};
    const long double xMin = space.XMin;
    const long double xRange = space.XMax - xMin;
    const long double yMin = space.YMin;
    const long double yRange = space.YMax - yMin;
    const long double xUnits = XUnitsPerPixel(input);
    const long double yUnits = YUnitsPerPixel(input);
    // Sub-pixel: every value at the centre of its pixel.
    const long double centre = precise.SubPixel ? 0.5L : 0.0L;

    result.TraceBuffer.assign(n, -1);
    result.Points.reserve(n);
    result.Samples = n;
    std::vector<std::int64_t> columns;
    columns.reserve(n);
    long double p = static_cast<long double>(limits.X0);
    for (std::size_t i = 0; i < n; ++i, p += step) {
        const std::int64_t u = RoundToInt64(p);
        columns.push_back(u);
        const long double column = static_cast<long double>(u) + centre;
        const long double x = input.Stretched ? xMin + xRange * column / w : xMin + xUnits * (column + offset.X);
        result.Points.push_back(DataPoint{static_cast<double>(xAxis.FromSpace(x)), 0.0, {}, {}});
    }

    const bool byColour = input.Method == TraceMethod::ByColour;
    const bool scan = limits.Y1 >= limits.Y0;
    if (precise.AutoSens && byColour && scan) {
        // The plain rule's nearest colour in each column, whatever its distance.
        TraceInput any = input;
        any.ColorSens = 765;
        std::vector<std::int32_t> rows(n);
        std::vector<TraceBand> nearest(n);
        ExamineSamples(picture, columns, limits, any, rows, nearest, {});
        input.ColorSens = ChooseColourSensitivity(nearest, input.LineSens, input.ColorSens);
        result.ColourSensitivity = input.ColorSens;
    }

    std::vector<TraceBand> bands(precise.SubPixel && !precise.Follow ? n : 0);
    if (!precise.Follow)
        ExamineSamples(picture, columns, limits, input, result.TraceBuffer, bands, progress);
    else
        for (std::size_t i = 0; i < n; ++i)
            Report(progress, TracePass::Sampling, i + 1, n);
    if (precise.Follow && scan) {
        const std::vector<std::vector<TraceBand>> all = CollectBands(picture, columns, limits.Y0, limits.Y1, input);
        result.TraceBuffer = FollowBands(all, byColour);
        if (precise.SubPixel) {
            bands.assign(n, TraceBand{});
            for (std::size_t i = 0; i < n; ++i)
                for (const TraceBand& b : all[i])
                    if ((b.Top + b.Bottom) / 2 == result.TraceBuffer[i])
                        bands[i] = b;
        }
    }

    // The rows found, before any filling: sub-pixel centres where asked.
    std::vector<long double> rows(n);
    std::vector<bool> found(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::int32_t row = result.TraceBuffer[i];
        found[i] = row != -1;
        result.Found += found[i] ? 1U : 0U;
        rows[i] = static_cast<long double>(row) + centre;
        if (found[i] && precise.SubPixel)
            rows[i] = BandCentroid(picture, columns[i], bands[i].Top, bands[i].Bottom, limits.Y0, limits.Y1, input);
    }

    if (precise.NoFill) {
        if (result.Found == 0) {
            result.Points.clear();
            return result;
        }
    } else if (!FillTraceGaps(result.TraceBuffer, progress)) {
        result.Points.clear();
        return result;
    }

    std::vector<DataPoint> kept;
    kept.reserve(precise.NoFill ? result.Found : 0);
    for (std::size_t i = 0; i < n; ++i) {
        const long double row = found[i] ? rows[i] : static_cast<long double>(result.TraceBuffer[i]) + centre;
        if (!precise.NoFill || found[i]) {
            const long double y = input.Stretched ? yMin + yRange * (h - row) / h : yMin + yUnits * (h + offset.Y - row);
            result.Points[i].Y = static_cast<double>(yAxis.FromSpace(y));
            result.Points[i].Filled = !found[i];
            if (precise.NoFill)
                kept.push_back(result.Points[i]);
        }
        Report(progress, TracePass::Values, i + 1, n);
    }
    if (precise.NoFill)
        result.Points = std::move(kept);
    result.Status = TraceStatus::Traced;
    return result;
}

} // namespace quillmark
