#pragma once
// Grid increment and label format of an axis from its range. Pure functions
// of plain values; the axes page hands their results to the plot. Arithmetic
// is in long double, as every axis computation of the program.
#include <optional>
#include <string_view>

namespace quillmark {

// Label masks the plot applies to every label value of an axis.
inline constexpr std::string_view kPlainAxisMask = "#,##0.###";
inline constexpr std::string_view kScientificAxisMask = "#.0## \"x10\" E+0##";
// The left axis starts with this mask (a trailing blank) until its first
// accepted range change; the bottom axis starts with kPlainAxisMask.
inline constexpr std::string_view kInitialLeftAxisMask = "#,##0.### ";

struct DecimalParts {
    long double Mantissa = 0.0L; // 1 <= |Mantissa| < 10, or 0 for zero
    int Exponent = 0;
};

// Splits value into mantissa and decimal exponent through its scientific text
// with 15 significant digits, so 9.9999999999999999 gives (1, 1). NaN and the
// infinities give nothing.
std::optional<DecimalParts> DecimalExponent(long double value);

// 10^exponent by repeated squaring; the reciprocal for negative exponents.
long double IntPower10(int exponent);

// Keeps `current` when it gives strictly between 4 and 20 grid intervals over
// min..max; otherwise a power of ten: 10^e when the range's leading digit is
// above 3, else 10^(e-1).
long double NiceIncrement(long double min, long double max, long double current);

// kScientificAxisMask when either bound has a decimal exponent beyond +-3,
// kPlainAxisMask otherwise.
std::string_view AxisLabelFormat(long double min, long double max);

// What applying a range to an axis sets: its grid increment and label mask.
struct AxisRangePlan {
    long double Increment = 0.0L;
    std::string_view Mask;
};

// Nothing when the range is refused (max not above min); the axis then keeps
// its range, increment and mask, and the user is shown kAxisRangeRefused.
std::optional<AxisRangePlan> PlanAxisRange(long double min, long double max, long double currentIncrement);

inline constexpr std::string_view kAxisRangeRefused = "Минимальное значение оси должно быть < максимального";
inline constexpr std::string_view kAxisRangeRefusedCaption = "Ошибка";

// A limit edit re-applies its axis only when its value differs from the axis
// bound at single precision; this ends the writes that follow an already
// applied range (10 and 10.0000001 count as equal).
bool SameAtSinglePrecision(double editValue, double axisBound);

// One four-hundredth of the range: the spin step of the limit edits and the
// step of the shift buttons.
long double FineStep(long double min, long double max);

struct AxisRange {
    long double Min = 0.0L;
    long double Max = 0.0L;
};

enum class ShiftDirection { Increase, Decrease };

// The shift buttons move both bounds by FineStep of the range before the
// shift. For X the upper half of the button (Shift+Left) is Increase and the
// lower half Decrease; for Y the upper half (Shift+Up) is Decrease and the
// lower half Increase, so that the grid follows the arrow.
AxisRange ShiftAxisRange(AxisRange range, ShiftDirection direction);

} // namespace quillmark
