// The switch between a picture stretched over the plot rectangle (btnStretch
// down) and a picture at its own size centred in it (up). The axis ranges are
// rescaled about their middles so every picture feature keeps its value.
#include "ui/app/MainUnit.h"

#include "ui/plot/PlotChart.h"
#include "ui/widgets/SpinEdit.h"

#include <QAction>
#include <QToolButton>

namespace quillmark {

void TMainForm::ConnectFitHandlers()
{
    connect(miStretch, &QAction::triggered, this, &TMainForm::miStretchClick);
}

void TMainForm::btnStretchClick()
{
    if (Document.Busy())
        return;
    const AxisLimits held{spXMin->Value(), spXMax->Value(), spYMin->Value(), spYMax->Value()};
    SyncSessionPlot();
    const AxisLimits next = Document.SetFitted(btnStretch->isChecked(), held);
    if (btnStretch->isChecked()) {
        Chart->SetBackMode(BackImageMode::Stretch);
        SetButtonHint(btnStretch, tr("Масштаб 1:1"));
    } else {
        Chart->SetBackMode(BackImageMode::Centre);
        SetButtonHint(btnStretch, tr("Масштабировать"));
    }
    // The edits show the new ranges; their handlers find them in force.
    // Without a picture the values come back as the edits show them.
    spXMin->SetValue(next.XMin);
    spXMax->SetValue(next.XMax);
    ShowAxisIncrement(Axis::X);
    spYMin->SetValue(next.YMin);
    spYMax->SetValue(next.YMax);
    ShowAxisIncrement(Axis::Y);
}

void TMainForm::miStretchClick()
{
    btnStretch->setChecked(!btnStretch->isChecked());
    btnStretchClick();
}

} // namespace quillmark
