#include "ui/plot/PlotAxis.h"

#include "document/DigitizeSession.h"

#include "base/Errors.h"
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

QString PlotAxis::LabelText(double value) const
{
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
