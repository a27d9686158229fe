#include "ui/plot/PlotAxis.h"

#include "document/DigitizeSession.h"

#include "base/Errors.h"
#include "base/NumberText.h"
#include "ui/plot/PlotChart.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quillmark {

PlotAxis::PlotAxis(PlotChart& chart, double minimum, double maximum)
    : m_chart(chart), m_minimum(minimum), m_maximum(maximum)
{
}

void PlotAxis::SetMinMax(double minimum, double maximum)
{
    // The same rule as the document's range in force (swap, least span).
    const AxisRange range = RangeInForce(minimum, maximum);
    m_minimum = static_cast<double>(range.Min);
    m_maximum = static_cast<double>(range.Max);
    m_chart.Redraw();
}

void PlotAxis::SetIncrement(double increment)
{
    if (!(increment >= 0) || !std::isfinite(increment))
        throw QuillmarkError("Шаг сетки оси не может быть отрицательным");
    m_increment = increment;
    m_chart.Redraw();
}

void PlotAxis::SetLabelFormat(const std::string& mask)
{
    m_labelMask = NumberMask(mask);
    m_chart.Redraw();
}

void PlotAxis::SetKind(AxisKind kind)
{
    m_kind = kind;
    m_chart.Redraw();
}

QString PlotAxis::LabelText(double value) const
{
    if (m_kind.Log) {
        // Decades: plain from 0.01 to 1000, else ten with a raised exponent.
        const long double exponent = std::nearbyint(std::log10(static_cast<long double>(value)));
        if (value > 0 && std::fabs(std::log10(static_cast<long double>(value)) - exponent) < 1e-9L &&
            (exponent < -2 || exponent > 3)) {
            static const char16_t* const kSuperscript[] = {u"\u2070", u"\u00B9", u"\u00B2", u"\u00B3", u"\u2074",
                                                          u"\u2075", u"\u2076", u"\u2077", u"\u2078", u"\u2079"};
            QString text = QStringLiteral("10");
            if (exponent < 0)
                text += QChar(0x207B);
            const QString digits = QString::number(static_cast<long long>(std::fabs(exponent)));
            for (const QChar d : digits)
                text += QString::fromUtf16(kSuperscript[d.digitValue()]);
            return text;
        }
        return QString::fromStdString(GeneralText(value, 15, m_chart.DecimalSeparator().toStdString()));
    }
    return QString::fromStdString(m_labelMask.Format(value, m_chart.DecimalSeparator().toStdString(),
                                                     m_chart.GroupSeparator().toStdString()));
}

void PlotAxis::SetGridColor(const QColor& color)
{
    m_gridColor = color;
    m_chart.Redraw();
}

void PlotAxis::SetMinorTickCount(int count)
{
    m_minorTickCount = std::max(count, 0);
    m_chart.Redraw();
}

} // namespace quillmark
