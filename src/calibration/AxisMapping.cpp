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
