#pragma once
// Real numbers as the program's texts hold them, with the decimal separator
// passed in: the general format the spin edits and the settings file use, and
// the reader of such texts. Locale-free otherwise.
#include <optional>
#include <string>
#include <string_view>

namespace quillmark {

// General format: rounded to `significant` digits (1..18, half up), trailing
// zeros dropped; fixed notation while the rounded value has at most
// `significant` integer digits and is at least 0.00001 in magnitude, else
// d.dddEx / d.dddE-x (no sign for a positive
// exponent). Zero is "0". NaN and the infinities are "NAN", "INF"
// and "-INF".
std::string GeneralRealText(double value, char separator, int significant = 15);

// Blanks around, an optional sign, digits with at most one separator (at
// least one digit in all), an optional exponent "E" or "e" with an optional
// sign and digits. Nothing for any other text or a value beyond double.
std::optional<double> ParseReal(std::string_view text, char separator);

} // namespace quillmark
