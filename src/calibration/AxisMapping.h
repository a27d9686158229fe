#pragma once
// How positions along an axis map to values: linear or logarithmic, forward
// or reversed. Every conversion works in the axis's "space", where positions
// are linear: the value itself on a linear axis, its log10 on a logarithmic
// one; a reversed axis swaps its ends. The written rules of a linear forward
// axis are then the same expressions over the same numbers, so their results
// stay the same to the last bit, and a log or reversed axis only changes the
// numbers those expressions are given.
#include "calibration/AxisScale.h"
#include "calibration/PlotGeometry.h"

namespace quillmark {

struct AxisMapping {
    long double Low = 0.0L;    // the range's minimum and maximum (Low < High)
    long double High = 1.0L;
    bool Log = false;          // positions linear in log10 of the value
    bool Reversed = false;     // values decrease to the right (X) or upward (Y)

    // The ends in space, as a linear axis from its start (left or bottom) to
    // its end: (Low, High), their log10, swapped when reversed.
    AxisRange Space() const;
    // A value into space and back; identities on a linear axis.
    long double ToSpace(long double value) const;
    long double FromSpace(long double position) const;
    // Whether a value can lie on the axis at all (positive on a log axis).
    bool Admits(long double value) const;
};

AxisMapping XMapping(const AxisLimits& limits);
AxisMapping YMapping(const AxisLimits& limits);

// Both axes in space: each (Min, Max) replaced by its ends in space (the
// start of X is its left end, the start of Y its bottom end), kinds linear
// and forward. The linear rules run on these numbers unchanged.
AxisLimits SpaceLimits(const AxisLimits& limits);
// Back from space: the ends of each axis as values, ordered Min < Max again,
// with the given kinds.
AxisLimits LimitsFromSpace(const AxisLimits& space, AxisKind x, AxisKind y);

// The value at the fraction offset / span of the way from the axis's start,
// and back: on a linear forward axis exactly Low + (High - Low) * offset / span.
long double ValueAlong(const AxisMapping& axis, long double offset, long double span);
long double OffsetAlong(const AxisMapping& axis, long double value, long double span);

} // namespace quillmark
