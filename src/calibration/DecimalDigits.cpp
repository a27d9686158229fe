#include "calibration/DecimalDigits.h"

#include <array>
#include <charconv>
#include <cmath>
#include <system_error>

#include "base/Errors.h"

namespace quillmark {

namespace {

// Digits asked of to_chars. The exact decimal expansion of any value in the
// range of double has at most 767 significant digits, so the digit that
// decides the rounding is the true one and to_chars' own rounding, far
// behind it, cannot reach it.
constexpr int kExactDigits = 1000;

} // namespace

std::optional<DecimalDigits> RoundToSignificant(long double v, int significant)
{
    if (significant < 1 || significant > 40)
        throw InternalError("RoundToSignificant: digit count out of range");
    if (!std::isfinite(v))
        return std::nullopt;

    DecimalDigits result;
    result.Negative = std::signbit(v) && v != 0.0L;
    if (v == 0.0L) {
        result.Digits.assign(static_cast<std::size_t>(significant), '0');
        return result;
    }

    std::array<char, kExactDigits + 32> buf{};
    const auto conv = std::to_chars(buf.data(), buf.data() + buf.size(), std::fabs(v),
                                    std::chars_format::scientific, kExactDigits);
    if (conv.ec != std::errc())
        throw InternalError("RoundToSignificant: buffer too small");
    // Layout: d.ddd...e+XX
    const std::string_view text(buf.data(), static_cast<std::size_t>(conv.ptr - buf.data()));
    const std::size_t ePos = text.find('e');
    std::string all;
    all.reserve(ePos);
    for (std::size_t i = 0; i < ePos; ++i)
        if (text[i] != '.')
            all.push_back(text[i]);
    int exponent = 0;
    const char* expBegin = text.data() + ePos + 1;
    if (*expBegin == '+')
        ++expBegin;
    std::from_chars(expBegin, text.data() + text.size(), exponent);

    const auto count = static_cast<std::size_t>(significant);
    std::string digits = all.substr(0, count);
    if (all[count] >= '5') {
        std::size_t i = count;
        while (i > 0) {
            --i;
            if (digits[i] == '9') {
                digits[i] = '0';
            } else {
                ++digits[i];
                break;
            }
            if (i == 0) {
                // 9.99..9 rounded up: one more power of ten.
                digits.insert(digits.begin(), '1');
                digits.pop_back();
                ++exponent;
            }
        }
    }
    result.Digits = std::move(digits);
    result.Exponent = exponent;
    return result;
}

} // namespace quillmark
