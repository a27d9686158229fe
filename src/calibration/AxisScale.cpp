#include "calibration/AxisScale.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/NumberText.h"

namespace quillmark {

namespace {

// Significant digits of the scientific text the exponent is read from.
constexpr int kExponentTextDigits = 15;

} // namespace

std::optional<DecimalParts> DecimalExponent(long double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    // The scientific text d.dddddddddddddd E x with fifteen significant
    // digits, read back: the digits as an integer over 10^(count - 1), both
    // exact in long double.
    const DecimalExpansion digits = RoundSignificant(ExactDecimal(value), kExponentTextDigits);
    DecimalParts parts;
    if (digits.IsZero())
        return parts;
    long double whole = 0.0L;
    for (const char c : digits.Digits)
        whole = whole * 10.0L + static_cast<long double>(c - '0');
    parts.Mantissa = whole / IntPower10(static_cast<int>(digits.Digits.size()) - 1);
    if (digits.Negative)
        parts.Mantissa = -parts.Mantissa;
    parts.Exponent = digits.Exponent - 1; // 0.d1d2.. x 10^E is d1.d2.. x 10^(E-1)
    return parts;
}

long double IntPower10(int exponent)
{
    // Widen before negating: -INT_MIN does not fit an int.
    long long n = exponent;
    const bool reciprocal = n < 0;
    if (reciprocal)
        n = -n;
    long double result = 1.0L;
    long double square = 10.0L;
    while (n > 0) {
        if ((n & 1) != 0)
            result *= square;
        n >>= 1;
        if (n > 0)
            square *= square;
    }
    return reciprocal ? 1.0L / result : result;
}

long double NiceIncrement(long double min, long double max, long double current)
{
    const long double range = max - min;
    const long double intervals = current != 0.0L ? range / current : 0.0L;
    if (intervals > 4.0L && intervals < 20.0L)
        return current;
    // Without digits (a range of NaN or infinity) the split keeps its
    // starting values, a zero mantissa and exponent.
    DecimalParts parts;
    if (const std::optional<DecimalParts> split = DecimalExponent(range))
        parts = *split;
    const long double leading = std::fabs(std::trunc(parts.Mantissa));
    return leading > 3.0L ? IntPower10(parts.Exponent) : IntPower10(parts.Exponent - 1);
}

std::string_view AxisLabelFormat(long double min, long double max)
{
    int minExponent = 0;
    int maxExponent = 0;
    if (const std::optional<DecimalParts> split = DecimalExponent(min))
        minExponent = split->Exponent;
    if (const std::optional<DecimalParts> split = DecimalExponent(max))
        maxExponent = split->Exponent;
    const int largest = std::max(std::abs(minExponent), std::abs(maxExponent));
    return largest > 3 ? kScientificAxisMask : kPlainAxisMask;
}

std::optional<AxisRangePlan> PlanAxisRange(long double min, long double max, long double currentIncrement)
{
    if (!(max > min))
        return std::nullopt;
    return AxisRangePlan{NiceIncrement(min, max, currentIncrement), AxisLabelFormat(min, max)};
}

bool SameAtSinglePrecision(double editValue, double axisBound)
{
    return static_cast<float>(editValue) == static_cast<float>(axisBound);
}

long double FineStep(long double min, long double max)
{
    return (max - min) / 400.0L;
}

AxisRange ShiftAxisRange(AxisRange range, ShiftDirection direction)
{
    const long double d = FineStep(range.Min, range.Max);
    if (direction == ShiftDirection::Increase)
        return {range.Min + d, range.Max + d};
    return {range.Min - d, range.Max - d};
}

} // namespace quillmark
