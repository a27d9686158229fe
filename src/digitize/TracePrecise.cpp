#include "digitize/TracePrecise.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <limits>

namespace quillmark {

namespace {

int Brightness(const std::uint8_t* pixel)
{
    return PixelBrightness(pixel[2], pixel[1], pixel[0]);
}

// Walks rows y0 .. y1 once for each block of neighbouring samples, calling
// visit(sample, row, pixel) for every sample and row: the same order in each
// column as a column walk, with the rows read once a block.
template <typename Visit>
void WalkColumns(const TFastRGB& picture, std::span<const std::int64_t> columns, std::int64_t y0, std::int64_t y1,
                 Visit&& visit)
{
    constexpr std::size_t kBlock = 64;
    const std::uint8_t* const* rows = picture.RowTable();
    for (std::size_t first = 0; first < columns.size(); first += kBlock) {
        const std::size_t end = std::min(columns.size(), first + kBlock);
        // The block's bytes a few rows ahead are asked for while a row is
        // worked: rows lie too far apart for the processor to guess.
        const auto [low, high] = std::minmax_element(columns.begin() + static_cast<std::ptrdiff_t>(first),
                                                     columns.begin() + static_cast<std::ptrdiff_t>(end));
        const std::size_t from = static_cast<std::size_t>(*low) * 3;
        const std::size_t to = static_cast<std::size_t>(*high) * 3 + 2;
        for (std::int64_t y = y0; y <= y1; ++y) {
            const std::uint8_t* row = rows[y];
            if (y + 8 <= y1 && to - from < 4096) {
                const std::uint8_t* ahead = rows[y + 8];
                for (std::size_t b = from; b <= to; b += 64)
                    __builtin_prefetch(ahead + b);
                __builtin_prefetch(ahead + to);
            }
            for (std::size_t k = first; k < end; ++k)
                visit(k, y, row + static_cast<std::size_t>(columns[k]) * 3);
        }
    }
}

void CheckColumns(const TFastRGB& picture, std::span<const std::int64_t> columns, std::int64_t y0, std::int64_t y1)
{
    for (const std::int64_t u : columns)
        if (u < 0 || u >= picture.Width() || y0 < 0 || y1 >= picture.Height())
            throw InternalError("precise trace: scan limits outside the picture");
}

} // namespace

std::vector<std::vector<TraceBand>> CollectBands(const TFastRGB& picture, std::span<const std::int64_t> columns,
                                                 std::int64_t y0, std::int64_t y1, const TraceInput& input)
{
    std::vector<std::vector<TraceBand>> bands(columns.size());
    if (y1 < y0 || columns.empty())
        return bands;
    CheckColumns(picture, columns, y0, y1);
    const bool byColour = input.Method == TraceMethod::ByColour;
    // By brightness the bands are the runs at the column's largest
    // brightness, known only at the bottom: a brighter row starts the list
    // anew, so one walk does.
    std::vector<int> best(columns.size(), 0);
    struct Run {
        bool Open = false;
        TraceBand Band;
    };
    std::vector<Run> runs(columns.size());
    const auto close = [&](std::size_t k) {
        Run& run = runs[k];
        if (run.Open && run.Band.Bottom - run.Band.Top <= input.LineSens)
            bands[k].push_back(run.Band);
        run.Open = false;
    };
    WalkColumns(picture, columns, y0, y1, [&](std::size_t k, std::int64_t y, const std::uint8_t* pixel) {
        int value = 0;
        bool member = false;
        if (byColour) {
            value = ColourDistance(input.LineColour, pixel);
            member = value <= input.ColorSens;
        } else {
            value = Brightness(pixel);
            if (value > best[k]) {
                best[k] = value;
                bands[k].clear();
                runs[k].Open = false;
            }
            member = value > 0 && value == best[k];
        }
        Run& run = runs[k];
        if (!member) {
            close(k);
            return;
        }
        if (!run.Open) {
            run = Run{true, TraceBand{y, y, value}};
        } else {
            run.Band.Bottom = y;
            run.Band.Best = byColour ? std::min(run.Band.Best, value) : std::max(run.Band.Best, value);
        }
        if (y == y1)
            close(k);
    });
    return bands;
}

std::vector<std::int32_t> FollowBands(const std::vector<std::vector<TraceBand>>& bands, bool byColour)
{
    const std::size_t n = bands.size();
    std::vector<std::int32_t> rows(n, -1);
    const auto better = [byColour](int a, int b) { return byColour ? a < b : a > b; };
    // The clearest column: one band only, the best value, then the thinnest.
    std::size_t start = n;
    for (std::size_t i = 0; i < n; ++i) {
        if (bands[i].size() != 1)
            continue;
        const TraceBand& b = bands[i][0];
        if (start == n || better(b.Best, bands[start][0].Best) ||
            (b.Best == bands[start][0].Best && b.Bottom - b.Top < bands[start][0].Bottom - bands[start][0].Top))
            start = i;
    }
    // No column with one band only (two curves all the way): the clearest
    // band of all, the topmost of equals.
    std::size_t first = 0;
    const bool single = start != n;
    for (std::size_t i = 0; !single && i < n; ++i) {
        for (std::size_t b = 0; b < bands[i].size(); ++b) {
            const TraceBand& band = bands[i][b];
            const TraceBand* chosen = start == n ? nullptr : &bands[start][first];
            if (chosen == nullptr || better(band.Best, chosen->Best) ||
                (band.Best == chosen->Best && band.Bottom - band.Top < chosen->Bottom - chosen->Top)) {
                start = i;
                first = b;
            }
        }
    }
    if (start == n)
        return rows;
    const auto middle = [](const TraceBand& b) { return static_cast<std::int32_t>((b.Top + b.Bottom) / 2); };
    rows[start] = middle(bands[start][first]);
    for (const int direction : {1, -1}) {
        // The last two accepted samples predict the next row along a line.
        std::int64_t lastIndex = static_cast<std::int64_t>(start);
        long double lastRow = rows[start];
        long double slope = 0;   // rows per sample
        long double thickness = static_cast<long double>(bands[start][first].Bottom - bands[start][first].Top + 1);
        bool haveSlope = false;
        for (std::int64_t i = static_cast<std::int64_t>(start) + direction; i >= 0 && i < static_cast<std::int64_t>(n);
             i += direction) {
            const std::vector<TraceBand>& candidates = bands[static_cast<std::size_t>(i)];
            if (candidates.empty())
                continue;
            const long double gap = std::fabs(static_cast<long double>(i - lastIndex));
            const long double predicted = lastRow + slope * static_cast<long double>(i - lastIndex);
            const long double reach = 4 + 2 * thickness + gap + std::fabs(slope) * gap * 0.5L;
            const TraceBand* nearest = nullptr;
            long double nearestOff = 0;
            for (const TraceBand& b : candidates) {
                const long double off = std::fabs((b.Top + b.Bottom) / 2.0L - predicted);
                if (nearest == nullptr || off < nearestOff) {
                    nearest = &b;
                    nearestOff = off;
                }
            }
            if (nearestOff > reach)
                continue;
            const std::int32_t row = middle(*nearest);
            const long double newSlope = (row - lastRow) / static_cast<long double>(i - lastIndex);
            slope = haveSlope ? (slope + newSlope) / 2 : newSlope;
            haveSlope = true;
            lastIndex = i;
            lastRow = row;
            thickness = static_cast<long double>(nearest->Bottom - nearest->Top + 1);
            rows[static_cast<std::size_t>(i)] = row;
        }
    }
    return rows;
}

long double BandCentroid(const TFastRGB& picture, std::int64_t u, std::int64_t top, std::int64_t bottom,
                         std::int64_t y0, std::int64_t y1, const TraceInput& input)
{
    const std::int64_t halved = (top + bottom) / 2;
    if (u < 0 || u >= picture.Width() || y0 < 0 || y1 >= picture.Height() || top > bottom || top < y0 || bottom > y1)
        return static_cast<long double>(halved) + 0.5L;
    const bool byColour = input.Method == TraceMethod::ByColour;
    const std::uint8_t* const* rows = picture.RowTable();
    const std::size_t offset = static_cast<std::size_t>(u) * 3;
    // Toward the line is up: closeness to the colour, or brightness.
    const auto lineness = [&](std::int64_t y) {
        const std::uint8_t* pixel = rows[y] + offset;
        return byColour ? -ColourDistance(input.LineColour, pixel) : Brightness(pixel);
    };
    // The background: the mean of a few rows either side of the band, past
    // the line's soft edges (or, where the limits cut them off, the band's
    // least line-like row).
    const auto backgroundAt = [&](std::initializer_list<std::int64_t> where, long double fallback) {
        long double sum = 0;
        int count = 0;
        for (const std::int64_t y : where) {
            if (y >= y0 && y <= y1) {
                sum += lineness(y);
                ++count;
            }
        }
        return count > 0 ? sum / count : fallback;
    };
    int best = lineness(top);
    int least = best;
    for (std::int64_t y = top; y <= bottom; ++y) {
        best = std::max(best, lineness(y));
        least = std::min(least, lineness(y));
    }
    // The band of the best rows grows over the rows next to it that are
    // nearer the line than the background (at least half-way), as a thick
    // line in noise or in a JPEG has its best row anywhere inside it; never
    // thicker than the line sensitivity.
    const long double far = backgroundAt({top - 8, top - 9, bottom + 8, bottom + 9}, least);
    const auto belongs = [&](std::int64_t y) { return 2 * lineness(y) >= best + far; };
    while (top > y0 && bottom - top < input.LineSens && belongs(top - 1))
        --top;
    while (bottom < y1 && bottom - top < input.LineSens && belongs(bottom + 1))
        ++bottom;
    const std::int64_t lo = std::max(y0, top - 1);
    const std::int64_t hi = std::min(y1, bottom + 1);
    long double lowest = lineness(lo);
    for (std::int64_t y = lo; y <= hi; ++y)
        lowest = std::min<long double>(lowest, lineness(y));
    const long double background = backgroundAt({top - 2, top - 3, bottom + 2, bottom + 3}, lowest);
    long double weights = 0;
    long double moment = 0;
    for (std::int64_t y = lo; y <= hi; ++y) {
        const long double w = std::max(0.0L, lineness(y) - background);
        weights += w;
        moment += w * (static_cast<long double>(y) + 0.5L);
    }
    if (!(weights > 0))
        return static_cast<long double>(halved) + 0.5L;
    return moment / weights;
}

int ChooseColourSensitivity(std::span<const TraceBand> nearest, int lineSens, int fallback)
{
    std::vector<int> distances;
    for (const TraceBand& band : nearest)
        if (band.Bottom - band.Top <= lineSens && band.Best <= 765)
            distances.push_back(band.Best);
    if (distances.empty())
        return fallback;
    std::sort(distances.begin(), distances.end());
    // Nine columns in ten of those that any sensitivity accepts, but not
    // across a jump to colours far off the rest: there the background starts.
    const std::size_t wanted = std::max<std::size_t>(1, (distances.size() * 9 + 9) / 10);
    std::size_t last = wanted - 1;
    for (std::size_t i = 1; i < wanted; ++i) {
        if (distances[i] > 3 * distances[i - 1] + 40 && i >= distances.size() / 4) {
            last = i - 1;
            break;
        }
    }
    // A little room above the last accepted colour, for its neighbours.
    return std::min(765, distances[last] + std::max(4, distances[last] / 8));
}

} // namespace quillmark
