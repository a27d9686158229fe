#include "base/NumberText.h"

#include "base/Errors.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <cmath>
#include <vector>

namespace quillmark {

namespace {

// A non-negative integer of any size, 32-bit limbs, least significant first.
// Only what the exact expansion needs: multiply by a small factor, shifts,
// and division by a small divisor.
class BigUnsigned {
public:
    bool IsZero() const { return m_limbs.empty(); }

    void MulAdd(std::uint32_t factor, std::uint32_t addend)
    {
        std::uint64_t carry = addend;
        for (auto& limb : m_limbs) {
            const std::uint64_t t = std::uint64_t{limb} * factor + carry;
            limb = static_cast<std::uint32_t>(t);
            carry = t >> 32;
        }
        if (carry != 0)
            m_limbs.push_back(static_cast<std::uint32_t>(carry));
    }

    void ShiftLeft(unsigned bits)
    {
        if (IsZero())
            return;
        const unsigned limbs = bits / 32;
        const unsigned rest = bits % 32;
        if (rest != 0) {
            std::uint32_t carry = 0;
            for (auto& limb : m_limbs) {
                const std::uint32_t next = limb >> (32 - rest);
                limb = (limb << rest) | carry;
                carry = next;
            }
            if (carry != 0)
                m_limbs.push_back(carry);
        }
        m_limbs.insert(m_limbs.begin(), limbs, 0u);
    }

    // Number of zero bits at the low end; 0 for zero.
    unsigned TrailingZeroBits() const
    {
        unsigned bits = 0;
        for (const auto limb : m_limbs) {
            if (limb != 0) {
                std::uint32_t v = limb;
                while ((v & 1u) == 0) {
                    v >>= 1;
                    ++bits;
                }
                return bits;
            }
            bits += 32;
        }
        return 0;
    }

    void ShiftRight(unsigned bits)
    {
        const unsigned limbs = bits / 32;
        const unsigned rest = bits % 32;
        if (limbs >= m_limbs.size()) {
            m_limbs.clear();
            return;
        }
        m_limbs.erase(m_limbs.begin(), m_limbs.begin() + limbs);
        if (rest != 0) {
            for (std::size_t i = 0; i < m_limbs.size(); ++i) {
                const std::uint32_t high = i + 1 < m_limbs.size() ? m_limbs[i + 1] << (32 - rest) : 0u;
                m_limbs[i] = (m_limbs[i] >> rest) | high;
            }
        }
        Trim();
    }

    // Divides in place and returns the remainder.
    std::uint32_t DivSmall(std::uint32_t divisor)
    {
        std::uint64_t rem = 0;
        for (auto it = m_limbs.rbegin(); it != m_limbs.rend(); ++it) {
            const std::uint64_t cur = (rem << 32) | *it;
            *it = static_cast<std::uint32_t>(cur / divisor);
            rem = cur % divisor;
        }
        Trim();
        return static_cast<std::uint32_t>(rem);
    }

    std::string ToDecimal() const
    {
        BigUnsigned n = *this;
        std::string reversed;
        while (!n.IsZero()) {
            std::uint32_t chunk = n.DivSmall(1000000000u);
            for (int i = 0; i < 9; ++i) {
                reversed += static_cast<char>('0' + chunk % 10);
                chunk /= 10;
            }
        }
        // The top chunk was padded to nine digits: drop its leading zeros.
        while (!reversed.empty() && reversed.back() == '0')
            reversed.pop_back();
        return {reversed.rbegin(), reversed.rend()};
    }

private:
    void Trim()
    {
        while (!m_limbs.empty() && m_limbs.back() == 0)
            m_limbs.pop_back();
    }

    std::vector<std::uint32_t> m_limbs;
};

void StripTrailingZeros(DecimalExpansion& d)
{
    while (!d.Digits.empty() && d.Digits.back() == '0')
        d.Digits.pop_back();
    if (d.Digits.empty()) {
        d.Negative = false;
        d.Exponent = 0;
    }
}

// Keeps the first `keep` digits (keep may be <= 0 or beyond the end) and
// rounds half up on the digit that follows.
DecimalExpansion KeepDigits(const DecimalExpansion& value, long long keep)
{
    if (value.IsZero() || keep >= static_cast<long long>(value.Digits.size()))
        return value;
    DecimalExpansion out = value;
    if (keep < 0) {
        // The first dropped digit is an implied leading zero.
        return DecimalExpansion{};
    }
    const auto kept = static_cast<std::size_t>(keep);
    const bool up = value.Digits[kept] >= '5';
    out.Digits.resize(kept);
    if (up) {
        std::size_t i = kept;
        while (i > 0 && out.Digits[i - 1] == '9') {
            out.Digits[i - 1] = '0';
            --i;
        }
        if (i == 0) {
            out.Digits.insert(out.Digits.begin(), '1');
            ++out.Exponent;
        } else {
            ++out.Digits[i - 1];
        }
    }
    StripTrailingZeros(out);
    return out;
}

std::string SpecialText(long double value)
{
    if (std::isnan(value))
        return "NAN";
    return std::signbit(value) ? "-INF" : "INF";
}

std::string_view Trim(std::string_view text)
{
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

DecimalExpansion ExactDecimal(long double value)
{
    if (!std::isfinite(value))
        throw InternalError("ExactDecimal: value is not finite");
    DecimalExpansion out;
    if (value == 0)
        return out;
    out.Negative = std::signbit(value);

    // |value| = f * 2^e with f in [0.5, 1); peel f off 32 bits at a time, so
    // any width of long double works. Each step is exact.
    int e = 0;
    long double f = std::frexp(std::fabs(value), &e);
    BigUnsigned n;
    long long binaryExponent = e;
    while (f != 0) {
        f = std::ldexp(f, 32);
        const long double whole = std::floor(f);
        n.ShiftLeft(32);
        n.MulAdd(1u, static_cast<std::uint32_t>(whole));
        f -= whole;
        binaryExponent -= 32;
    }
    const unsigned zeros = n.TrailingZeroBits();
    n.ShiftRight(zeros);
    binaryExponent += zeros;

    long long decimalShift = 0;
    if (binaryExponent >= 0) {
        n.ShiftLeft(static_cast<unsigned>(binaryExponent));
    } else {
        // n / 2^k = n * 5^k / 10^k
        long long k = -binaryExponent;
        decimalShift = k;
        while (k >= 13) {
            n.MulAdd(1220703125u, 0u); // 5^13
            k -= 13;
        }
        std::uint32_t rest = 1;
        while (k-- > 0)
            rest *= 5;
        n.MulAdd(rest, 0u);
    }
    out.Digits = n.ToDecimal();
    out.Exponent = static_cast<int>(static_cast<long long>(out.Digits.size()) - decimalShift);
    StripTrailingZeros(out);
    return out;
}

DecimalExpansion RoundSignificant(const DecimalExpansion& value, int digits)
{
    return KeepDigits(value, std::max(digits, 1));
}

DecimalExpansion RoundDecimals(const DecimalExpansion& value, int decimals)
{
    return KeepDigits(value, static_cast<long long>(value.Exponent) + std::max(decimals, 0));
}

std::string GeneralText(long double value, int precision, std::string_view separator)
{
    if (!std::isfinite(value))
        return SpecialText(value);
    precision = std::max(precision, 1);
    const DecimalExpansion d = RoundSignificant(ExactDecimal(value), precision);
    if (d.IsZero())
        return "0";
    std::string out = d.Negative ? "-" : "";
    const int exponent = d.Exponent;
    const auto count = static_cast<int>(d.Digits.size());
    if (exponent >= -3 && exponent <= precision) {
        if (exponent <= 0) {
            out += '0';
            out += separator;
            out.append(static_cast<std::size_t>(-exponent), '0');
            out += d.Digits;
        } else {
            const auto whole = static_cast<std::size_t>(exponent);
            out += d.Digits.substr(0, whole);
            if (count < exponent)
                out.append(static_cast<std::size_t>(exponent - count), '0');
            if (count > exponent) {
                out += separator;
                out += d.Digits.substr(whole);
            }
        }
        return out;
    }
    out += d.Digits[0];
    if (count > 1) {
        out += separator;
        out += d.Digits.substr(1);
    }
    out += 'E';
    const int shown = exponent - 1;
    if (shown < 0)
        out += '-';
    out += IntegerText(std::abs(shown));
    return out;
}

std::string FullPrecisionText(long double value, std::string_view separator)
{
    return GeneralText(value, kFullPrecision, separator);
}

int TablePrecision(long double digitsOption)
{
    if (std::isnan(digitsOption))
        return 2;
    const long double rounded = std::nearbyint(std::clamp(digitsOption, 2.0L, 18.0L));
    return static_cast<int>(rounded);
}

std::string TableText(long double value, long double digitsOption, std::string_view separator)
{
    return GeneralText(value, TablePrecision(digitsOption), separator);
}

std::string ScientificText(long double value, int precision, std::string_view separator,
                           int minExponentDigits)
{
    if (!std::isfinite(value))
        return SpecialText(value);
    precision = std::max(precision, 1);
    const DecimalExpansion d = RoundSignificant(ExactDecimal(value), precision);
    std::string digits = d.Digits;
    digits.resize(static_cast<std::size_t>(precision), '0');
    const int exponent = d.IsZero() ? 0 : d.Exponent - 1;

    std::string out = d.Negative ? "-" : "";
    out += digits[0];
    if (precision > 1) {
        out += separator;
        out += digits.substr(1);
    }
    out += 'E';
    out += exponent < 0 ? '-' : '+';
    const std::string magnitude = IntegerText(std::abs(exponent));
    if (static_cast<int>(magnitude.size()) < minExponentDigits)
        out.append(static_cast<std::size_t>(minExponentDigits) - magnitude.size(), '0');
    out += magnitude;
    return out;
}

std::string ExponentText(long double value, long double digitsOption, std::string_view separator)
{
    return ScientificText(value, TablePrecision(digitsOption), separator, 1);
}

std::string IntegerText(std::int64_t value)
{
    // Work on the magnitude as unsigned so the most negative value is safe.
    std::uint64_t magnitude = value < 0 ? 0u - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    std::string reversed;
    do {
        reversed += static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        reversed += '-';
    return {reversed.rbegin(), reversed.rend()};
}

std::optional<long double> ParseNumberEitherSeparator(std::string_view text, std::string_view separator)
{
    if (const auto value = ParseNumber(text, separator))
        return value;
    return ParseNumber(text, separator == "," ? "." : ",");
}

std::optional<long double> ParseNumber(std::string_view text, std::string_view separator)
{
    if (separator.empty())
        separator = ".";
    text = Trim(text);
    std::size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const std::size_t intStart = pos;
    while (pos < text.size() && IsDigit(text[pos]))
        ++pos;
    const std::string_view intPart = text.substr(intStart, pos - intStart);
    std::string_view fracPart;
    if (text.substr(pos).starts_with(separator)) {
        pos += separator.size();
        const std::size_t fracStart = pos;
        while (pos < text.size() && IsDigit(text[pos]))
            ++pos;
        fracPart = text.substr(fracStart, pos - fracStart);
    }
    if (intPart.empty() && fracPart.empty())
        return std::nullopt;

    bool exponentNegative = false;
    std::string_view exponentDigits;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
            exponentNegative = text[pos] == '-';
            ++pos;
        }
        const std::size_t expStart = pos;
        while (pos < text.size() && IsDigit(text[pos]))
            ++pos;
        exponentDigits = text.substr(expStart, pos - expStart);
        if (exponentDigits.empty())
            return std::nullopt;
    }
    if (pos != text.size())
        return std::nullopt;

    std::string mantissa(intPart);
    mantissa += fracPart;
    const std::size_t firstNonZero = mantissa.find_first_not_of('0');
    const long double zero = negative ? -0.0L : 0.0L;
    if (firstNonZero == std::string::npos)
        return zero;

    while (exponentDigits.size() > 1 && exponentDigits.front() == '0')
        exponentDigits.remove_prefix(1);
    // Decimal magnitude of the value: it lies in [10^(m-1), 10^m).
    long long exponent = 0;
    const bool hugeExponent = exponentDigits.size() > 9;
    for (const char c : exponentDigits.substr(0, hugeExponent ? 0 : exponentDigits.size()))
        exponent = exponent * 10 + (c - '0');
    if (exponentNegative)
        exponent = -exponent;
    const long long magnitude =
        static_cast<long long>(intPart.size()) - static_cast<long long>(firstNonZero) + exponent;
    if (hugeExponent || magnitude > 6000 || magnitude < -6000) {
        if (exponentNegative || magnitude < 0)
            return zero;
        return std::nullopt;
    }

    std::string canonical = "0";
    canonical += intPart;
    canonical += '.';
    canonical += fracPart;
    canonical += 'e';
    canonical += IntegerText(exponent);
    long double result = 0;
    const auto [end, ec] = std::from_chars(canonical.data(), canonical.data() + canonical.size(), result);
    if (ec == std::errc::result_out_of_range) {
        if (magnitude <= 0)
            return zero;
        return std::nullopt;
    }
    if (ec != std::errc{} || end != canonical.data() + canonical.size())
        return std::nullopt;
    return negative ? -result : result;
}

long double ParseNumberOrThrow(std::string_view text, std::string_view separator)
{
    if (const auto value = ParseNumber(text, separator))
        return *value;
    throw ConvertError(FormatMessage("'%s' is not a valid floating point value", {std::string(text)}));
}

std::optional<std::int64_t> ParseInteger(std::string_view text)
{
    text = Trim(text);
    std::size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    if (pos == text.size())
        return std::nullopt;
    const std::uint64_t limit = negative ? std::uint64_t{1} << 63 : (std::uint64_t{1} << 63) - 1;
    std::uint64_t magnitude = 0;
    for (; pos < text.size(); ++pos) {
        if (!IsDigit(text[pos]))
            return std::nullopt;
        const auto digit = static_cast<std::uint64_t>(text[pos] - '0');
        if (magnitude > (limit - digit) / 10)
            return std::nullopt;
        magnitude = magnitude * 10 + digit;
    }
    if (negative)
        return static_cast<std::int64_t>(0u - magnitude);
    return static_cast<std::int64_t>(magnitude);
}

std::optional<double> HeldValue(long double value)
{
    const std::optional<long double> held = ParseNumber(FullPrecisionText(value, "."), ".");
    if (!held || !(std::fabs(*held) <= static_cast<long double>(std::numeric_limits<double>::max())))
        return std::nullopt;
    return static_cast<double>(*held);
}

} // namespace quillmark
