#include "plot/PlotChart.h"

namespace quillmark {

PlotChart::PlotChart(QWidget* parent) : QWidget(parent) {}
PlotChart::~PlotChart() = default;

} // namespace quillmark
