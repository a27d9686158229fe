#pragma once
// The calibration file (.cal): seven CR LF lines, the header, then the six
// axis values as "Key=" and a 23-character scientific number that does not
// depend on the locale. Reading is looser (any key order, any letter case,
// "." or the locale's separator, plain notation) but all-or-nothing: the whole
// file is checked before a value is handed out. Writing returns the bytes; the
// caller puts them in place through a temporary file.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillmark {

inline constexpr std::string_view kCalHeader = "Curvinel v0.4";
inline constexpr std::string_view kCalFilter = "Файл калибровки осей (*.cal)|*.cal";
// No calibration file comes near this; a larger file is not read at all.
inline constexpr std::size_t kMaxCalFileBytes = 1U << 20;

// The six values, named after their keys and listed in file order.
struct CalibrationFile {
    double Xmin = 0.0;
    double Xmax = 0.0;
    double Xincr = 0.0;
    double Ymin = 0.0;
    double Ymax = 0.0;
    double Yincr = 0.0;
    // Optional lines after the seven: "Xlog=1", "Ylog=1", "Xrev=1", "Yrev=1",
    // written only when set; a file without them is linear and forward.
    bool Xlog = false;
    bool Ylog = false;
    bool Xrev = false;
    bool Yrev = false;
    friend bool operator==(const CalibrationFile&, const CalibrationFile&) = default;
};

// Exactly 23 characters: sign (blank or "-"), d.dddddddddddddd rounded to 15
// significant digits, "E", the exponent's sign and four exponent digits.
// A value without digits (NaN, infinity) is a caller's bug: InternalError.
std::string CalNumberText(double value);

// The whole file, seven lines each ended by CR LF, then a line for each
// axis flag that is set.
std::string CalFileText(const CalibrationFile& values);

// Nothing when the first line is not exactly the header: such a file is
// ignored without a message. Throws FileError for an empty or oversized file
// or a missing key, and ConvertError for a value that is not a number; the
// message names the key. `decimalSeparator` is the locale's; "." is accepted
// whatever it is.
std::optional<CalibrationFile> ReadCalFile(std::string_view bytes, std::string_view decimalSeparator);

// Name offered by the save dialog: the plot title's lines in comma-separated
// form (a line with a blank, a control character, a comma or a double quote
// enclosed in double quotes, inner quotes doubled); "noname" when the title
// is one empty line or has none.
std::string CalSuggestedFileName(const std::vector<std::string>& titleLines);

} // namespace quillmark
