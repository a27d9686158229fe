#pragma once
// Numeric spin edit whose value is its text. A real edit holds the general
// text with 15 significant digits (parsed with the locale's decimal
// separator), an integer edit a decimal integer; text that does not parse
// reads as the minimum. Changed() fires on every change of the text: typing,
// the spin arrows and program writes (SetValue) alike.
#include <QAbstractSpinBox>
#include <QString>

#include <optional>

namespace quillmark {

class SpinEdit : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit SpinEdit(QWidget* parent = nullptr);

    // The parsed text, or the minimum when it does not parse (an integer edit
    // reads its minimum truncated toward zero). A number beyond the range of
    // double also reads as the minimum, so no infinity ever leaves the edit.
    double Value() const;

    // Writes the value as text. Whenever minimum and maximum differ the value
    // is first limited to them (below the minimum gives the minimum, else
    // above the maximum the maximum). An integer edit rounds halves to even.
    // The change handler runs at once if the text changes; writing the text
    // already shown is no change and runs nothing.
    void SetValue(long double value);

    QString Text() const;
    // Replaces the text as typing would, without any check or limit.
    void SetText(const QString& text);

    double MinValue() const { return m_minValue; }
    double MaxValue() const { return m_maxValue; }
    double Increment() const { return m_increment; }
    // New limits apply to later writes only: the value already there is not
    // checked again.
    void SetMinValue(double value) { m_minValue = value; }
    void SetMaxValue(double value) { m_maxValue = value; }
    // The amount one spin-arrow click adds or subtracts.
    void SetIncrement(double value) { m_increment = value; }

    bool IntegerKind() const { return m_integerKind; }
    // Switching to integers rewrites a text that is not an integer with the
    // current value rounded (halves to even).
    void SetIntegerKind(bool on);

    // The locale's decimal separator is read at construction; tests set it.
    QString DecimalSeparator() const { return m_separator; }
    void SetDecimalSeparator(const QString& separator) { m_separator = separator; }

    // While Changed() runs: whether the user typed the change (not a write
    // of the program's, not a spin-arrow step), or stepped it with the arrows.
    bool ChangeIsTyping() const { return m_writes == 0; }
    bool ChangeIsStep() const { return m_stepping; }
    // Whether the text reads as a number at all.
    bool TextIsNumber() const { return ParsedText().has_value(); }

    void stepBy(int steps) override;
    QSize sizeHint() const override;
    QValidator::State validate(QString& input, int& pos) const override;

signals:
    void Changed();
    // The user has finished typing (Enter, or the focus left after typing).
    void TypingFinished();

protected:
    StepEnabled stepEnabled() const override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    long double Limited(long double value) const;
    std::optional<long double> ParsedText() const;

    QString m_separator;
    double m_minValue = 0;
    double m_maxValue = 0;
    double m_increment = 1;
    bool m_integerKind = false;
    int m_writes = 0;         // program writes under way
    bool m_stepping = false;  // a spin-arrow step under way
    bool m_typed = false;     // typed since the last TypingFinished
};

} // namespace quillmark
