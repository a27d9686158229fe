#include "ui/widgets/SpinEdit.h"

#include "base/NumberText.h"

#include <QLineEdit>
#include <QLocale>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <utility>

namespace quillmark {

namespace {

std::string Utf8(const QString& text)
{
    return text.toUtf8().toStdString();
}

} // namespace

SpinEdit::SpinEdit(QWidget* parent)
    : QAbstractSpinBox(parent), m_separator(QLocale::system().decimalPoint())
{
    lineEdit()->setText(QStringLiteral("0"));
    // Every text change counts, the program's own writes included: handlers
    // of the edits rely on running after each write.
    connect(lineEdit(), &QLineEdit::textChanged, this, [this] {
        if (m_writes == 0)
            m_typed = true;
        emit Changed();
    });
    connect(this, &QAbstractSpinBox::editingFinished, this, [this] {
        if (!std::exchange(m_typed, false))
            return;
        emit TypingFinished();
    });
}

std::optional<long double> SpinEdit::ParsedText() const
{
    const std::string text = Utf8(Text());
    if (m_integerKind) {
        if (const auto value = ParseInteger(text))
            return static_cast<long double>(*value);
        return std::nullopt;
    }
    return ParseNumber(text, Utf8(m_separator));
}

double SpinEdit::Value() const
{
    const auto parsed = ParsedText();
    if (parsed && std::fabs(*parsed) <= static_cast<long double>(DBL_MAX))
        return static_cast<double>(*parsed);
    return m_integerKind ? std::trunc(m_minValue) : m_minValue;
}

long double SpinEdit::Limited(long double value) const
{
    if (m_minValue != m_maxValue) {
        if (value < m_minValue)
            return m_minValue;
        if (value > m_maxValue)
            return m_maxValue;
    }
    return value;
}

void SpinEdit::SetValue(long double value)
{
    value = Limited(value);
    std::string text;
    if (m_integerKind) {
        // Keep the cast defined: a non-number writes the minimum, a huge
        // value the largest integer of its sign.
        if (std::isnan(value))
            value = m_minValue;
        constexpr long double kLimit = 9.2e18L;
        const long double rounded = std::nearbyint(std::clamp(value, -kLimit, kLimit));
        text = IntegerText(static_cast<std::int64_t>(rounded));
    } else {
        text = FullPrecisionText(value, Utf8(m_separator));
    }
    ++m_writes;
    const struct Done {
        int& writes;
        ~Done() { --writes; }
    } done{m_writes};
    lineEdit()->setText(QString::fromStdString(text));
}

QString SpinEdit::Text() const
{
    return lineEdit()->text();
}

void SpinEdit::SetText(const QString& text)
{
    ++m_writes;
    const struct Done {
        int& writes;
        ~Done() { --writes; }
    } done{m_writes};
    lineEdit()->setText(text);
}

void SpinEdit::SetIntegerKind(bool on)
{
    m_integerKind = on;
    if (!on || ParseInteger(Utf8(Text())))
        return;
    if (const auto real = ParseNumber(Utf8(Text()), Utf8(m_separator)))
        SetValue(*real);
}

void SpinEdit::stepBy(int steps)
{
    const bool wasStepping = std::exchange(m_stepping, true);
    const struct Done {
        bool& stepping;
        bool was;
        ~Done() { stepping = was; }
    } done{m_stepping, wasStepping};
    SetValue(static_cast<long double>(Value()) + static_cast<long double>(steps) * m_increment);
}

QValidator::State SpinEdit::validate(QString& input, int& /*pos*/) const
{
    for (const QChar c : input) {
        const bool ok = c.isDigit() || c == u'+' || c == u'-' || c == u' ' ||
                        (!m_integerKind && (c == u'e' || c == u'E' || m_separator.contains(c)));
        if (!ok)
            return QValidator::Invalid;
    }
    return QValidator::Acceptable;
}

QSize SpinEdit::sizeHint() const
{
    // The base class sizes for values it does not know; leave room for a
    // typical limit such as -1234.5678.
    QSize size = QAbstractSpinBox::sizeHint();
    const int text = fontMetrics().horizontalAdvance(QStringLiteral("-1234.56789"));
    size.setWidth(std::max(size.width(), text + 2 * fontMetrics().height()));
    return size;
}

QAbstractSpinBox::StepEnabled SpinEdit::stepEnabled() const
{
    if (isReadOnly())
        return StepNone;
    return StepUpEnabled | StepDownEnabled;
}

void SpinEdit::focusOutEvent(QFocusEvent* event)
{
    QAbstractSpinBox::focusOutEvent(event);
    // A typed number outside the range is brought into it on leaving; a text
    // that does not parse stays, as it already reads as the minimum.
    if (const auto parsed = ParsedText(); parsed && Limited(*parsed) != *parsed)
        SetValue(*parsed);
}

} // namespace quillmark
