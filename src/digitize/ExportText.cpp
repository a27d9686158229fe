#include "digitize/ExportText.h"

#include "base/Errors.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace quillmark {

namespace {

// A positive magnitude rounded to Count significant digits: d1.d2.. x 10^Exponent.
struct SignificantDigits {
    std::string Digits;
    int Exponent = 0;
};

// The exact decimal expansion of a double has at most 767 significant digits.
constexpr int kExactPrecision = 770;

// Writes magnitude with `precision` digits after the first and splits it into
// its digit string and decimal exponent.
SignificantDigits Scientific(double magnitude, int precision)
{
    std::array<char, kExactPrecision + 16> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                         std::chars_format::scientific, precision);
    if (ec != std::errc{})
        throw InternalError("Scientific: number text does not fit");
    const std::string_view text(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
    const std::size_t e = text.find('e');
    SignificantDigits out;
    out.Digits.push_back(text[0]);
    if (e > 2)
        out.Digits.append(text.substr(2, e - 2));
    const std::string_view exponent = text.substr(e + 1);
    const char* first = exponent.data() + (exponent.front() == '+' ? 1 : 0);
    std::from_chars(first, exponent.data() + exponent.size(), out.Exponent);
    return out;
}

// Rounds half up on the exact value: the digit after the kept ones decides,
// whatever follows it. The digits come from a correctly rounded text that is 20
// digits longer than needed; only when that text ends in zeros can a carry of
// its own rounding have reached the kept digits, and then the exact expansion
// is used instead.
SignificantDigits RoundToSignificant(double magnitude, int count)
{
    SignificantDigits d = Scientific(magnitude, count + 20);
    const std::size_t next = static_cast<std::size_t>(count);
    if (std::all_of(d.Digits.begin() + static_cast<std::ptrdiff_t>(next) + 1, d.Digits.end(),
                    [](char c) { return c == '0'; }))
        d = Scientific(magnitude, kExactPrecision);

    const bool up = d.Digits[next] >= '5';
    d.Digits.resize(next);
    if (up) {
        std::size_t i = next;
        while (i > 0 && d.Digits[i - 1] == '9')
            d.Digits[--i] = '0';
        if (i == 0) {
            d.Digits.front() = '1';
            ++d.Exponent;
        } else {
            ++d.Digits[i - 1];
        }
    }
    return d;
}

// Texts for what is not a finite number, so that no value is ever lost silently.
bool NonFiniteText(double value, std::string& out)
{
    if (std::isnan(value)) {
        out = "NAN";
        return true;
    }
    if (std::isinf(value)) {
        out = value < 0 ? "-INF" : "INF";
        return true;
    }
    return false;
}

void AppendLine(std::string& out, const std::string& x, char between, const std::string& y)
{
    out += x;
    out += between;
    out += y;
    out += "\r\n";
}

} // namespace

int LimitSignificantDigits(int digits)
{
    return std::clamp(digits, 2, 18);
}

std::string ExponentText(double value, int digits, std::string_view separator)
{
    std::string out;
    if (NonFiniteText(value, out))
        return out;
    const int p = LimitSignificantDigits(digits);
    if (value == 0.0) {
        out = "0";
        out += separator;
        out.append(static_cast<std::size_t>(p - 1), '0');
        out += "E+0";
        return out;
    }
    const SignificantDigits d = RoundToSignificant(std::fabs(value), p);
    if (value < 0)
        out += '-';
    out += d.Digits[0];
    out += separator;
    out.append(d.Digits, 1);
    out += 'E';
    out += d.Exponent < 0 ? '-' : '+';
    out += std::to_string(std::abs(d.Exponent));
    return out;
}

std::string GeneralText(double value, int digits, std::string_view separator)
{
    std::string out;
    if (NonFiniteText(value, out))
        return out;
    if (value == 0.0)
        return "0";
    const int p = LimitSignificantDigits(digits);
    SignificantDigits d = RoundToSignificant(std::fabs(value), p);
    while (d.Digits.size() > 1 && d.Digits.back() == '0')
        d.Digits.pop_back();
    const int count = static_cast<int>(d.Digits.size());
    const int e = d.Exponent + 1;   // value = 0.d1d2.. x 10^e

    if (value < 0)
        out += '-';
    if (e >= -3 && e <= p) {
        if (e <= 0) {
            out += '0';
            out += separator;
            out.append(static_cast<std::size_t>(-e), '0');
            out += d.Digits;
        } else if (count <= e) {
            out += d.Digits;
            out.append(static_cast<std::size_t>(e - count), '0');
        } else {
            out.append(d.Digits, 0, static_cast<std::size_t>(e));
            out += separator;
            out.append(d.Digits, static_cast<std::size_t>(e));
        }
    } else {
        out += d.Digits[0];
        if (count > 1) {
            out += separator;
            out.append(d.Digits, 1);
        }
        out += 'E';
        if (e - 1 < 0)
            out += '-';
        out += std::to_string(std::abs(e - 1));
    }
    return out;
}

std::string FullPrecisionText(double value, std::string_view separator)
{
    return GeneralText(value, 15, separator);
}

std::string DataFileText(std::span<const DataPoint> points, int digits, std::string_view separator)
{
    std::string out;
    for (const DataPoint& point : points)
        AppendLine(out, ExponentText(point.X, digits, separator), ' ', ExponentText(point.Y, digits, separator));
    return out;
}

std::string ClipboardText(std::span<const DataPoint> points, std::string_view separator)
{
    std::string out;
    for (const DataPoint& point : points)
        AppendLine(out, FullPrecisionText(point.X, separator), '\t', FullPrecisionText(point.Y, separator));
    return out;
}

} // namespace quillmark
