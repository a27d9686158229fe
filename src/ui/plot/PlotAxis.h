#pragma once
// One axis of the plot: its limits (doubles, always min < max), the grid
// increment (0 lets the plot choose), the label mask, the grid colour and the
// minor tick count. Every change asks the owning chart for a redraw.
#include "document/DigitizeSession.h"
#include "base/NumberMask.h"

#include <QColor>
#include <QString>

#include <string>

namespace quillmark {

class PlotChart;

class PlotAxis {
public:
    // The label mask a new axis starts with.
    static constexpr const char* kDefaultLabelFormat = "#,##0.###";
    // Spans below this are widened to it, so conversions never divide by 0.
    static constexpr long double kMinimumSpan = kMinimumAxisSpan;

    PlotAxis(PlotChart& chart, double minimum, double maximum);

    double Minimum() const { return m_minimum; }
    double Maximum() const { return m_maximum; }
    // Sets both limits; automatic scaling stays off. A reversed pair is
    // swapped and a span under kMinimumSpan widened upward. Limits that are
    // not finite numbers are refused with a QuillmarkError.
    void SetMinMax(double minimum, double maximum);

    double Increment() const { return m_increment; }
    // Negative increments are refused with a QuillmarkError; the axis keeps
    // the increment it had.
    void SetIncrement(double increment);

    const std::string& LabelFormat() const { return m_labelMask.Mask(); }
    void SetLabelFormat(const std::string& mask);
    // The label of a value with the mask and the chart's separators.
    QString LabelText(double value) const;

    QColor GridColor() const { return m_gridColor; }
    void SetGridColor(const QColor& color);

    int MinorTickCount() const { return m_minorTickCount; }
    // Logarithmic (grid at the decades) and reversed (values falling to the
    // right or upward); linear and forward to begin with.
    AxisKind Kind() const { return m_kind; }
    void SetKind(AxisKind kind);
    void SetMinorTickCount(int count);

private:
    PlotChart& m_chart;
    double m_minimum;
    double m_maximum;
    double m_increment = 0;
    NumberMask m_labelMask{kDefaultLabelFormat};
    QColor m_gridColor = QColor(0, 0, 255);
    int m_minorTickCount = 4;
    AxisKind m_kind;
};

} // namespace quillmark
