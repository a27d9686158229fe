#include "app/MainUnit.h"

#include "plot/PlotChart.h"

namespace quillmark {

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Quillmark 0.61"));
    setMinimumSize(400, 400);
    Chart = new PlotChart(this);
    setCentralWidget(Chart);
}

TMainForm::~TMainForm() = default;

} // namespace quillmark
