#pragma once
// The two texts in which digitized points leave the program. Both hold every
// point in list order, one line per point, each line ended by CR LF (the last
// one too); the decimal separator is the one of the user's regional settings,
// passed in.
//   data file:  X and Y in exponent text with P significant digits, one blank between
//   clipboard:  X and Y in full-precision text (15 significant digits), a tab between
#include "digitize/DataPoints.h"

#include <span>
#include <string>
#include <string_view>

namespace quillmark {

// P as the digits option gives it, limited to 2 .. 18.
int LimitSignificantDigits(int digits);

// "-" for a negative value, the first significant digit (0 for zero), the
// separator, the next P - 1 digits with trailing zeros kept, "E", the exponent's
// sign (always written) and the exponent without leading zeros:
// 12.5 with P = 6 and "," gives "1,25000E+1". The value is rounded to P digits,
// a following digit of 5 or more rounding the magnitude up.
std::string ExponentText(double value, int digits, std::string_view separator);

// General text with P significant digits (trailing zeros dropped; positional
// for decimal exponents -3 .. P of 0.d1d2.. x 10^E, else d1.d2..E-n).
std::string GeneralText(double value, int digits, std::string_view separator);

// GeneralText with P = 15.
std::string FullPrecisionText(double value, std::string_view separator);

// The content of a .dat file.
std::string DataFileText(std::span<const DataPoint> points, int digits, std::string_view separator);

// The clipboard text; empty for no points.
std::string ClipboardText(std::span<const DataPoint> points, std::string_view separator);

} // namespace quillmark
