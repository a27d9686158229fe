// The switch between a picture stretched over the plot rectangle (btnStretch
// down) and a picture at its own size centred in it (up). The axis ranges are
// rescaled about their middles so every picture feature keeps its value.
#include "ui/app/MainUnit.h"

#include "calibration/ImageFit.h"
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
    const AxisLimits limits{spXMin->Value(), spXMax->Value(), spYMin->Value(), spYMax->Value()};
    const QRect r = Chart->PlotRect();
    const PlotRect rect{r.left(), r.top(), r.width(), r.height()};
    std::optional<PictureSize> picture;
    if (PictureOpen())
        picture = PictureSize{SourceBitmap->Width(), SourceBitmap->Height()};

    AxisLimits next;
    if (btnStretch->isChecked()) {
        next = LimitsForFit(limits, rect, picture);
        Chart->SetBackMode(BackImageMode::Stretch);
        SetButtonHint(btnStretch, QStringLiteral("Масштаб 1:1"));
    } else {
        next = LimitsForActualSize(limits, rect, picture);
        Chart->SetBackMode(BackImageMode::Centre);
        SetButtonHint(btnStretch, QStringLiteral("Масштабировать"));
    }
    // Each write runs its limit handler and applies the axis. No write passes
    // through an inverted range: a bound that moves inward moves by less than
    // half the range. Without a picture the values come back as the edits
    // show them, so no text changes and nothing is re-applied.
    spXMin->SetValue(next.XMin);
    spXMax->SetValue(next.XMax);
    spYMin->SetValue(next.YMin);
    spYMax->SetValue(next.YMax);
}

void TMainForm::miStretchClick()
{
    btnStretch->setChecked(!btnStretch->isChecked());
    btnStretchClick();
}

} // namespace quillmark
