#pragma once
// The two texts in which digitized points leave the program. Both hold every
// point in list order, one line per point, each line ended by CR LF (the last
// one too); the decimal separator is the one of the user's regional settings,
// passed in.
//   data file:  X and Y in exponent text with the digits option's precision,
//               one blank between ("1,25000E+1 -1,23000E-3")
//   clipboard:  X and Y in full-precision text (15 significant digits), a tab
//               between; the digits option has no effect
#include "digitize/DataPoints.h"

#include <span>
#include <string>
#include <string_view>

namespace quillmark {

// digitsOption is the value of the digits option (rounded, then limited to
// 2 .. 18 significant digits).
std::string DataFileText(std::span<const DataPoint> points, long double digitsOption, std::string_view separator);

// Empty for no points.
std::string ClipboardText(std::span<const DataPoint> points, std::string_view separator);

} // namespace quillmark
