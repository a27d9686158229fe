#pragma once
// Decimal digits of a real rounded to a number of significant digits, the way
// every number text of the program rounds: on the exact binary value, a next
// digit of 5 or more rounding the magnitude up. Locale-free; callers add the
// separator, the sign and the exponent layout they need.
#include <optional>
#include <string>

namespace quillmark {

struct DecimalDigits {
    bool Negative = false; // sign of the value; false for +0 and -0
    std::string Digits;    // exactly the requested count, first digit 1..9 unless the value is 0
    int Exponent = 0;      // value = D.DDD... x 10^Exponent, with one digit before the point; 0 for zero
};

// Rounds v to `significant` digits (1..40). Returns nothing for NaN and the
// infinities, which have no digits.
std::optional<DecimalDigits> RoundToSignificant(long double v, int significant);

} // namespace quillmark
