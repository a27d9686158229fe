#include "base/NumberMask.h"

#include "base/NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace quillmark {

NumberMask::NumberMask(std::string_view mask) : m_mask(mask)
{
    Parse();
}

void NumberMask::Parse()
{
    enum class Part { Integer, Fraction, AfterExponent };
    Part part = Part::Integer;
    int firstRequiredInteger = -1;
    int lastRequiredFraction = -1;

    auto literal = [this](std::string_view text) {
        if (!m_tokens.empty() && m_tokens.back().Kind == TokenKind::Literal)
            m_tokens.back().Text += text;
        else
            m_tokens.push_back({TokenKind::Literal, std::string(text), 0});
    };

    for (std::size_t i = 0; i < m_mask.size(); ++i) {
        const char c = m_mask[i];
        if (c == '"' || c == '\'') {
            const std::size_t close = m_mask.find(c, i + 1);
            const std::size_t end = close == std::string::npos ? m_mask.size() : close;
            literal(std::string_view(m_mask).substr(i + 1, end - i - 1));
            i = end;
        } else if ((c == '0' || c == '#') && part != Part::AfterExponent) {
            m_hasPlaceholders = true;
            if (part == Part::Integer) {
                if (c == '0' && firstRequiredInteger < 0)
                    firstRequiredInteger = m_integerDigits;
                m_tokens.push_back({TokenKind::IntegerDigit, {}, m_integerDigits++});
            } else {
                if (c == '0')
                    lastRequiredFraction = m_fractionDigits;
                m_tokens.push_back({TokenKind::FractionDigit, {}, m_fractionDigits++});
            }
        } else if (c == '.') {
            // Only the first point places the separator; later ones are dropped.
            if (part == Part::Integer) {
                m_tokens.push_back({TokenKind::DecimalPoint, {}, 0});
                part = Part::Fraction;
            }
        } else if (c == ',') {
            m_grouping = true;
        } else if ((c == 'E' || c == 'e') && !m_scientific && i + 1 < m_mask.size() &&
                   (m_mask[i + 1] == '+' || m_mask[i + 1] == '-')) {
            m_scientific = true;
            m_hasPlaceholders = true;
            m_exponentSignAlways = m_mask[i + 1] == '+';
            m_tokens.push_back({TokenKind::Exponent, std::string(1, c), 0});
            i += 2;
            while (i < m_mask.size() && (m_mask[i] == '0' || m_mask[i] == '#')) {
                if (m_mask[i] == '0')
                    ++m_exponentDigits;
                ++i;
            }
            --i;
            part = Part::AfterExponent;
        } else {
            literal(std::string_view(&m_mask[i], 1));
        }
    }

    // Integer digits need a place even when the mask names none: just before
    // the point or the exponent.
    if (m_hasPlaceholders && m_integerDigits == 0) {
        const auto at = std::find_if(m_tokens.begin(), m_tokens.end(), [](const Token& t) {
            return t.Kind == TokenKind::DecimalPoint || t.Kind == TokenKind::FractionDigit ||
                   t.Kind == TokenKind::Exponent;
        });
        m_tokens.insert(at, Token{TokenKind::IntegerDigit, {}, 0});
        m_integerDigits = 1;
    }
    m_requiredIntegerDigits = firstRequiredInteger < 0 ? 0 : m_integerDigits - firstRequiredInteger;
    m_requiredFractionDigits = lastRequiredFraction + 1;
}

std::string NumberMask::Format(long double value, std::string_view decimalSeparator,
                               std::string_view groupSeparator) const
{
    if (m_mask.empty() || !std::isfinite(value))
        return GeneralText(value, kFullPrecision, decimalSeparator);
    if (!m_hasPlaceholders) {
        std::string out;
        for (const Token& t : m_tokens)
            out += t.Text;
        return out;
    }

    const DecimalExpansion exact = ExactDecimal(value);
    std::string integerDigits;
    std::string fraction;
    int exponent = 0;
    bool negative = false;
    const auto fractionDigits = static_cast<std::size_t>(m_fractionDigits);
    if (m_scientific) {
        // The mantissa has as many integer digits as the mask has places.
        const int places = m_integerDigits;
        if (exact.IsZero()) {
            integerDigits.push_back('0');   // still empty here
            fraction.assign(fractionDigits, '0');
        } else {
            const DecimalExpansion r = RoundSignificant(exact, places + m_fractionDigits);
            std::string digits = r.Digits;
            digits.resize(static_cast<std::size_t>(places) + fractionDigits, '0');
            integerDigits = digits.substr(0, static_cast<std::size_t>(places));
            fraction = digits.substr(static_cast<std::size_t>(places));
            exponent = r.Exponent - places;
            negative = r.Negative;
        }
    } else {
        const DecimalExpansion r = RoundDecimals(exact, m_fractionDigits);
        negative = r.Negative;
        if (r.Exponent > 0) {
            const auto whole = static_cast<std::size_t>(r.Exponent);
            integerDigits = r.Digits.substr(0, whole);
            integerDigits.resize(whole, '0');
            if (r.Digits.size() > whole)
                fraction = r.Digits.substr(whole);
        } else if (!r.IsZero()) {
            fraction = std::string(static_cast<std::size_t>(-r.Exponent), '0') + r.Digits;
        }
        fraction.resize(fractionDigits, '0');
    }
    while (fraction.size() > static_cast<std::size_t>(m_requiredFractionDigits) && fraction.back() == '0')
        fraction.pop_back();
    if (integerDigits.size() < static_cast<std::size_t>(m_requiredIntegerDigits))
        integerDigits.insert(0, static_cast<std::size_t>(m_requiredIntegerDigits) - integerDigits.size(), '0');
    return FormatDigits(negative, std::move(integerDigits), std::move(fraction), exponent, decimalSeparator,
                        groupSeparator);
}

std::string NumberMask::FormatDigits(bool negative, std::string integerDigits, std::string fraction,
                                     int exponent, std::string_view decimalSeparator,
                                     std::string_view groupSeparator) const
{
    std::string out = negative ? "-" : "";
    const auto length = static_cast<long long>(integerDigits.size());
    // Digits beyond the mask's places all go to its first place.
    const long long extra = length - m_integerDigits;
    auto emit = [&](long long j) {
        out += integerDigits[static_cast<std::size_t>(j)];
        if (m_grouping && j < length - 1 && (length - 1 - j) % 3 == 0)
            out += groupSeparator;
    };
    for (const Token& t : m_tokens) {
        switch (t.Kind) {
        case TokenKind::Literal:
            out += t.Text;
            break;
        case TokenKind::IntegerDigit: {
            if (t.Index == 0) {
                for (long long j = 0; j < extra; ++j)
                    emit(j);
            }
            const long long j = t.Index + extra;
            if (j >= 0 && j < length)
                emit(j);
            break;
        }
        case TokenKind::DecimalPoint:
            if (!fraction.empty())
                out += decimalSeparator;
            break;
        case TokenKind::FractionDigit:
            if (static_cast<std::size_t>(t.Index) < fraction.size())
                out += fraction[static_cast<std::size_t>(t.Index)];
            break;
        case TokenKind::Exponent: {
            out += t.Text;
            if (exponent < 0)
                out += '-';
            else if (m_exponentSignAlways)
                out += '+';
            const std::string magnitude = IntegerText(std::abs(exponent));
            if (static_cast<int>(magnitude.size()) < m_exponentDigits)
                out.append(static_cast<std::size_t>(m_exponentDigits) - magnitude.size(), '0');
            out += magnitude;
            break;
        }
        }
    }
    return out;
}

} // namespace quillmark
