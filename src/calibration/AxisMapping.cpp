#include "calibration/AxisMapping.h"

#include <cmath>
#include <utility>

namespace quillmark {

AxisRange AxisMapping::Space() const
{
    AxisRange range{ToSpace(Low), ToSpace(High)};
    if (Reversed)
        std::swap(range.Min, range.Max);
    return range;
}

long double AxisMapping::ToSpace(long double value) const
{
    return Log ? std::log10(value) : value;
}

long double AxisMapping::FromSpace(long double position) const
{
    return Log ? std::pow(10.0L, position) : position;
}

bool AxisMapping::Admits(long double value) const
{
    return std::isfinite(value) && (!Log || value > 0);
}

AxisMapping XMapping(const AxisLimits& limits)
{
    return AxisMapping{limits.XMin, limits.XMax, limits.XKind.Log, limits.XKind.Reversed};
}

AxisMapping YMapping(const AxisLimits& limits)
{
    return AxisMapping{limits.YMin, limits.YMax, limits.YKind.Log, limits.YKind.Reversed};
}

AxisLimits SpaceLimits(const AxisLimits& limits)
{
    const AxisRange x = XMapping(limits).Space();
    const AxisRange y = YMapping(limits).Space();
    return AxisLimits{x.Min, x.Max, y.Min, y.Max};
}

AxisLimits LimitsFromSpace(const AxisLimits& space, AxisKind x, AxisKind y)
{
    const AxisMapping mx{0, 1, x.Log, x.Reversed};
    const AxisMapping my{0, 1, y.Log, y.Reversed};
    AxisLimits limits{mx.FromSpace(space.XMin), mx.FromSpace(space.XMax), my.FromSpace(space.YMin),
                      my.FromSpace(space.YMax), x, y};
    if (x.Reversed)
        std::swap(limits.XMin, limits.XMax);
    if (y.Reversed)
        std::swap(limits.YMin, limits.YMax);
    return limits;
}

long double ValueAlong(const AxisMapping& axis, long double offset, long double span)
{
    const AxisRange s = axis.Space();
    return axis.FromSpace(s.Min + (s.Max - s.Min) * offset / span);
}

long double OffsetAlong(const AxisMapping& axis, long double value, long double span)
{
    const AxisRange s = axis.Space();
    return (axis.ToSpace(value) - s.Min) * span / (s.Max - s.Min);
}

} // namespace quillmark
