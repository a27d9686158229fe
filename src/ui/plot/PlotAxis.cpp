#include "ui/plot/PlotAxis.h"

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
    if (!std::isfinite(minimum) || !std::isfinite(maximum))
        throw QuillmarkError("Недопустимое значение границы оси");
    if (minimum > maximum)
        std::swap(minimum, maximum);
    if (static_cast<long double>(maximum) - minimum < kMinimumSpan) {
        maximum = static_cast<double>(minimum + kMinimumSpan);
        // Far from zero 1e-10 is below one step of a double: take the next
        // double instead, downward when there is none above.
        if (!(maximum > minimum)) {
            maximum = std::nextafter(minimum, std::numeric_limits<double>::infinity());
            if (!std::isfinite(maximum)) {
                maximum = minimum;
                minimum = std::nextafter(maximum, 0.0);
            }
        }
    }
    m_minimum = minimum;
    m_maximum = maximum;
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
