#pragma once
// Number texts of the program, made digit by digit from the exact decimal
// expansion of the binary value, so rounding (the last kept digit rounds half
// up) and the decimal separator never depend on the C library or its locale.
// The separator is always passed in; core never asks for it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillmark {

// value = (-1)^Negative x 0.d1d2d3... x 10^Exponent. Digits holds d1.. with no
// leading or trailing zeros; it is empty for zero (Exponent then 0).
struct DecimalExpansion {
    bool Negative = false;
    std::string Digits;
    int Exponent = 0;

    bool IsZero() const { return Digits.empty(); }
};

// The exact decimal digits of a finite value (every binary fraction has a
// finite decimal expansion). Non-finite input is a bug: InternalError.
DecimalExpansion ExactDecimal(long double value);

// Rounds to at most `digits` significant digits (>= 1): a following digit of 5
// or more rounds the magnitude up. Trailing zeros are dropped.
DecimalExpansion RoundSignificant(const DecimalExpansion& value, int digits);

// Rounds to at most `decimals` digits after the decimal point (>= 0), half up.
DecimalExpansion RoundDecimals(const DecimalExpansion& value, int decimals);

// General decimal text with `precision` significant digits (>= 1): positional
// while -3 <= E <= precision (value = 0.d1d2... x 10^E after rounding),
// otherwise d1[sep d2...]E[-]n. Zero is "0", a negative value starts with "-".
// Non-finite values give "NAN", "INF" and "-INF".
std::string GeneralText(long double value, int precision, std::string_view separator);

// The general text with 15 significant digits: what a spin edit holds, what
// the clipboard receives and what labels of hand-placed points carry.
inline constexpr int kFullPrecision = 15;
std::string FullPrecisionText(long double value, std::string_view separator);

// The number of significant digits of the table and of the data file, from
// the digits option: rounded (halves to even), then limited to 2..18.
int TablePrecision(long double digitsOption);

// The table format: general text with TablePrecision(digitsOption) digits.
std::string TableText(long double value, long double digitsOption, std::string_view separator);

// Scientific text: "-" when negative, one digit, then (precision > 1) the
// separator and precision - 1 digits with trailing zeros kept, "E", the
// exponent's sign always, and the exponent padded with leading zeros to at
// least minExponentDigits. Zero is 0[sep 0...]E+0. Non-finite values as above.
std::string ScientificText(long double value, int precision, std::string_view separator,
                           int minExponentDigits = 1);

// The data file's exponent text: scientific with TablePrecision(digitsOption)
// digits and an exponent without leading zeros (12.5 -> "1,25000E+1" at 6).
std::string ExponentText(long double value, long double digitsOption, std::string_view separator);

// Decimal text of an integer, "-" for negatives.
std::string IntegerText(std::int64_t value);

// Reads a real written with the given separator: blanks around it allowed, an
// optional sign, digits with at most one separator (at least one digit), and
// an optional exponent e/E with an optional sign. Nothing else is accepted,
// not even "." when the separator is ",". A value beyond the range of long
// double is refused; one too small for it reads as zero.
std::optional<long double> ParseNumber(std::string_view text, std::string_view separator);

// As ParseNumber, but a text written with the other of "." and "," reads as
// well: stored numbers stay readable after the locale changed.
std::optional<long double> ParseNumberEitherSeparator(std::string_view text, std::string_view separator);

// As ParseNumber, but a text that is not a number raises ConvertError
// "'<text>' is not a valid floating point value".
long double ParseNumberOrThrow(std::string_view text, std::string_view separator);

// The value a numeric edit reads back after value is written into it: its
// full-precision text read again, as a double. Nothing for a value whose text
// is no number or beyond the range of a double.
std::optional<double> HeldValue(long double value);

// Reads an integer: blanks around it, an optional sign and decimal digits.
std::optional<std::int64_t> ParseInteger(std::string_view text);

} // namespace quillmark
