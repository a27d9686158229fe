// The menu "Правка": undo and redo of the document's steps, and the controls
// brought back in line with the document afterwards.
#include "ui/app/MainUnit.h"
#include "ui/app/CoreTexts.h"
#include "ui/Adapt.h"

#include "calibration/AxisScale.h"
#include "ui/plot/PlotChart.h"
#include "ui/widgets/SpinEdit.h"
#include "ui/widgets/ToolButtons.h"

#include <QAction>
#include <QCheckBox>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>

namespace quillmark {

void TMainForm::miUndoClick()
{
    if (!miUndo->isEnabled() || !Document.Undo())
        return;
    ShowSessionControls();
}

void TMainForm::miRedoClick()
{
    if (!miRedo->isEnabled() || !Document.Redo())
        return;
    ShowSessionControls();
}

void TMainForm::UpdateUndoCommands()
{
    if (!miUndo)
        return;
    // Calibration, region drawing and a trace are not interrupted.
    const bool free = !CalibrationOn() && !RegionDrawingOn() && !Document.Busy();
    const QString undoName = Document.UndoName().empty() ? QString() : CoreText(Document.UndoName());
    const QString redoName = Document.RedoName().empty() ? QString() : CoreText(Document.RedoName());
    miUndo->setText(undoName.isEmpty() ? tr("Отменить") : tr("Отменить ") + undoName);
    miRedo->setText(redoName.isEmpty() ? tr("Повторить") : tr("Повторить ") + redoName);
    SetCommandEnabled(btnUndo, miUndo, free && Document.CanUndo());
    SetCommandEnabled(btnRedo, miRedo, free && Document.CanRedo());
}

void TMainForm::ShowAxisKinds()
{
    for (const auto& [box, on] : {std::pair{chXLog, Document.AxisOf(Axis::X).Kind.Log},
                                  std::pair{chXRev, Document.AxisOf(Axis::X).Kind.Reversed},
                                  std::pair{chYLog, Document.AxisOf(Axis::Y).Kind.Log},
                                  std::pair{chYRev, Document.AxisOf(Axis::Y).Kind.Reversed}}) {
        const QSignalBlocker quiet(box);
        box->setChecked(on);
    }
}

void TMainForm::ShowSessionControls()
{
    const auto showRange = [](SpinEdit* minEdit, SpinEdit* maxEdit, SpinEdit* incrementEdit, const AxisState& axis) {
        const QSignalBlocker a(minEdit);
        const QSignalBlocker b(maxEdit);
        const QSignalBlocker c(incrementEdit);
        minEdit->SetValue(axis.Min);
        maxEdit->SetValue(axis.Max);
        incrementEdit->SetValue(axis.Increment);
        const auto fine = static_cast<double>(FineStep(minEdit->Value(), maxEdit->Value()));
        minEdit->SetIncrement(fine);
        maxEdit->SetIncrement(fine);
    };
    showRange(spXMin, spXMax, spXIncrement, Document.AxisOf(Axis::X));
    showRange(spYMin, spYMax, spYIncrement, Document.AxisOf(Axis::Y));

    ShowAxisKinds();

    const RegionState& region = Document.Region();
    {
        const QSignalBlocker a(spXMinReg);
        const QSignalBlocker b(spXMaxReg);
        const QSignalBlocker c(spYMinReg);
        const QSignalBlocker d(spYMaxReg);
        const QSignalBlocker e(chRegion);
        spXMinReg->SetValue(region.Limits.XMin);
        spXMaxReg->SetValue(region.Limits.XMax);
        spYMinReg->SetValue(region.Limits.YMin);
        spYMaxReg->SetValue(region.Limits.YMax);
        for (SpinEdit* edit : {spXMinReg, spXMaxReg})
            SetRegionStep(edit, spXMinReg, spXMaxReg);
        for (SpinEdit* edit : {spYMinReg, spYMaxReg})
            SetRegionStep(edit, spYMinReg, spYMaxReg);
        chRegion->setChecked(region.On);
    }
    ShowRegion(region.On);

    const AdjustmentValues& adjust = Document.Adjustments();
    {
        // Slider writes run nothing; the edits and the box are held quiet.
        const QSignalBlocker a(spGaussianBlur);
        const QSignalBlocker b(spRotate);
        const QSignalBlocker c(chInvert);
        slLightness->setValue(adjust.Lightness);
        slContrast->setValue(adjust.Contrast);
        slSaturation->setValue(adjust.Saturation);
        slCuttingOff->setValue(adjust.CuttingOff);
        spGaussianBlur->SetValue(adjust.GaussianBlur);
        spRotate->SetValue(adjust.Rotate);
        chInvert->setChecked(adjust.Invert);
    }

    if (btnStretch->isChecked() != Document.Fitted()) {
        btnStretch->setChecked(Document.Fitted());
        Chart->SetBackMode(Document.Fitted() ? BackImageMode::Stretch : BackImageMode::Centre);
        SetButtonHint(btnStretch, Document.Fitted() ? tr("Масштаб 1:1") : tr("Масштабировать"));
    }

    RefreshTable();
    SetDataGroupEnabled(!Document.Points().Empty());
    m_dataUnsaved = !Document.AtSavedState() && !Document.Points().Empty();
    m_pointsByHand = m_dataUnsaved;
}

} // namespace quillmark
