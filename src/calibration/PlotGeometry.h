#pragma once
// Plain coordinate types shared by the calibration maths. Each space has its
// own type so that a plot-surface pixel cannot be passed where an axis value
// or a picture size is meant.
#include <cmath>
#include <concepts>
#include <cstdint>
#include <limits>
#include <type_traits>

namespace quillmark {

// A pixel of the plot's drawing surface: origin top-left, y growing downward.
struct SurfacePoint {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    friend bool operator==(const SurfacePoint&, const SurfacePoint&) = default;
};

// A position on the plot surface in fractions of a pixel: where a click lands
// when the view is zoomed in. A whole pixel converts to its own position, so
// at zoom 1 every result is the one its pixel gives.
struct SurfacePosition {
    long double X = 0.0L;
    long double Y = 0.0L;
    SurfacePosition() = default;
    template <typename T>
        requires std::is_arithmetic_v<T>
    SurfacePosition(T x, T y) : X(static_cast<long double>(x)), Y(static_cast<long double>(y))
    {
    }
    SurfacePosition(SurfacePoint p) : X(p.X), Y(p.Y) {}
    friend bool operator==(const SurfacePosition&, const SurfacePosition&) = default;
};

// The plot rectangle inside the axes, in surface pixels. The bottom axis maps
// onto Left .. Left + Width, the left axis onto Top + Height .. Top.
struct PlotRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    friend bool operator==(const PlotRect&, const PlotRect&) = default;
};

// A rectangle in surface pixels that keeps its corners as given: Left may lie
// right of Right and Top below Bottom.
struct SurfaceRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;
    friend bool operator==(const SurfaceRect&, const SurfaceRect&) = default;
};

// Width and height of a picture in picture pixels.
struct PictureSize {
    std::int32_t Width = 0;
    std::int32_t Height = 0;
};

// How an axis runs: positions linear in the value or in its log10, and the
// values growing to the right (X) and upward (Y) or the other way.
struct AxisKind {
    bool Log = false;
    bool Reversed = false;
    friend bool operator==(const AxisKind&, const AxisKind&) = default;
};

// Current bounds of the bottom (X) and left (Y) axes: with the plot rectangle
// they are the calibration transform. Accepted ranges have Min < Max; the
// kinds say how the values lie between them (see AxisMapping).
struct AxisLimits {
    AxisLimits() = default;
    AxisLimits(long double xMin, long double xMax, long double yMin, long double yMax, AxisKind x = {},
               AxisKind y = {})
        : XMin(xMin), XMax(xMax), YMin(yMin), YMax(yMax), XKind(x), YKind(y)
    {
    }
    long double XMin = 0.0L;
    long double XMax = 0.0L;
    long double YMin = 0.0L;
    long double YMax = 0.0L;
    AxisKind XKind;
    AxisKind YKind;
    friend bool operator==(const AxisLimits&, const AxisLimits&) = default;
};

// A point in axis values.
struct AxisPoint {
    long double X = 0.0L;
    long double Y = 0.0L;
};

// A computed pixel position rounded half to even and held within the 32-bit
// range, so that a far-off or undefined result never reaches an undefined
// conversion (NaN gives 0).
inline std::int32_t RoundToSurface(long double v)
{
    constexpr auto lo = static_cast<long double>(std::numeric_limits<std::int32_t>::min());
    constexpr auto hi = static_cast<long double>(std::numeric_limits<std::int32_t>::max());
    const long double r = std::nearbyint(v);
    if (std::isnan(r))
        return 0;
    if (r <= lo)
        return std::numeric_limits<std::int32_t>::min();
    if (r >= hi)
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(r);
}

} // namespace quillmark
