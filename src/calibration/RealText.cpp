#include "calibration/RealText.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "base/Errors.h"
#include "calibration/DecimalDigits.h"

namespace quillmark {

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

std::string GeneralRealText(double value, char separator, int significant)
{
    if (significant < 1 || significant > 18)
        throw InternalError("GeneralRealText: digit count out of range");
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0.0)
        return "0";
    const std::optional<DecimalDigits> d = RoundToSignificant(value, significant);
    std::string digits = d->Digits;
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    const int e = d->Exponent;
    const auto count = static_cast<int>(digits.size());

    std::string text = d->Negative ? "-" : "";
    if (e >= significant || e < -5) {
        text += digits[0];
        if (count > 1) {
            text += separator;
            text.append(digits, 1, std::string::npos);
        }
        text += 'E';
        if (e < 0)
            text += '-';
        text += std::to_string(std::abs(e));
        return text;
    }
    if (e < 0) {
        text += '0';
        text += separator;
        text.append(static_cast<std::size_t>(-e - 1), '0');
        text += digits;
        return text;
    }
    const auto intDigits = static_cast<std::size_t>(e + 1);
    if (digits.size() <= intDigits) {
        text += digits;
        text.append(intDigits - digits.size(), '0');
        return text;
    }
    text.append(digits, 0, intDigits);
    text += separator;
    text.append(digits, intDigits, std::string::npos);
    return text;
}

std::optional<double> ParseReal(std::string_view text, char separator)
{
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);

    std::string normal;
    normal.reserve(text.size());
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-')
            normal.push_back('-');
        ++i;
    }
    std::size_t mantissaDigits = 0;
    while (i < text.size() && IsDigit(text[i])) {
        normal.push_back(text[i++]);
        ++mantissaDigits;
    }
    if (i < text.size() && text[i] == separator) {
        normal.push_back('.');
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            normal.push_back(text[i++]);
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        normal.push_back('e');
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            normal.push_back(text[i++]);
        std::size_t exponentDigits = 0;
        while (i < text.size() && IsDigit(text[i])) {
            normal.push_back(text[i++]);
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;

    double value = 0.0;
    const auto result = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    if (result.ec != std::errc() || result.ptr != normal.data() + normal.size())
        return std::nullopt;
    return value;
}

} // namespace quillmark
