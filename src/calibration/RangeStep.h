#pragma once
// Range stepping of one axis by the Ctrl+arrow keys: one four-hundredth of the
// current range per key press. The caller writes Min first and re-reads Max
// before applying MaxShift, because each write runs the axis's change handler.
namespace quillmark {

enum class RangeStepKind { Widen, Narrow };

// Signed amounts to add to the axis minimum and maximum.
struct RangeShift {
    long double MinShift = 0;
    long double MaxShift = 0;
};

// aboutZero: the grid scales about zero instead of about the middle of the
// axis, so the bound farther from zero moves by the full step and the other in
// proportion, keeping the ratio Min : Max. With both bounds zero there is no
// ratio and the range is left as it is (both shifts zero).
RangeShift CtrlArrowRangeShift(long double min, long double max, RangeStepKind kind, bool aboutZero);

} // namespace quillmark
