#pragma once
// A number format mask such as "#,##0.###" or "#.0## \"x10\" E+0##", parsed
// once and applied to many values (the labels of an axis). Mask characters:
// 0 a digit always written, # a digit written only when significant, the
// first . the decimal separator, a , anywhere groups the integer digits by
// three, E+ / E- (or e) scientific notation (E+ always writes the exponent's
// sign, E- only a minus) with the 0s after it the least exponent digits, and
// text in double or single quotes copied as it stands. Any other character is
// copied too. Digits are rounded half up on the exact value; separators are
// passed in.
#include <string>
#include <string_view>
#include <vector>

namespace quillmark {

class NumberMask {
public:
    explicit NumberMask(std::string_view mask);

    // An empty mask writes the general text with 15 significant digits.
    std::string Format(long double value, std::string_view decimalSeparator,
                       std::string_view groupSeparator) const;

    const std::string& Mask() const { return m_mask; }

private:
    enum class TokenKind { Literal, IntegerDigit, DecimalPoint, FractionDigit, Exponent };
    struct Token {
        TokenKind Kind = TokenKind::Literal;
        std::string Text; // Literal: the text; Exponent: the letter as written
        int Index = 0;    // IntegerDigit, FractionDigit: position among its kind
    };

    void Parse();
    std::string FormatDigits(bool negative, std::string integerDigits, std::string fraction,
                             int exponent, std::string_view decimalSeparator,
                             std::string_view groupSeparator) const;

    std::string m_mask;
    std::vector<Token> m_tokens;
    int m_integerDigits = 0;         // placeholders before the point
    int m_requiredIntegerDigits = 0; // from the first 0 before the point on
    int m_fractionDigits = 0;        // placeholders after the point
    int m_requiredFractionDigits = 0;
    bool m_grouping = false;
    bool m_scientific = false;
    bool m_exponentSignAlways = false;
    int m_exponentDigits = 0;
    bool m_hasPlaceholders = false;
};

} // namespace quillmark
