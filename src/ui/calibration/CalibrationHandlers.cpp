// Point calibration in the window: entering and leaving the mode, the
// reference clicks with their prompts and markers, and the solve that turns
// the clicked pixels and the typed values into new axis limits.
//
// The clicks, the solve and the straightening are the document's; these
// handlers run the mode, the prompts and the value dialog.
//
// Re-entrancy: SolveCalibration runs the value dialog modally, so events are
// pumped while it is open. The mode stays on during the dialog and the plot's
// clicks are modal-blocked; the click count is raised only after the solve.
#include "ui/app/MainUnit.h"
#include "ui/app/CoreTexts.h"
#include "ui/Adapt.h"

#include "calibration/AxisScale.h"

#include "base/Errors.h"
#include "ui/dialogs/Hint.h"
#include "ui/dialogs/OptUnit.h"
#include "ui/dialogs/SetAxis.h"
#include "ui/plot/PlotChart.h"
#include "ui/widgets/ColorBox.h"
#include "ui/widgets/SpinEdit.h"
#include "ui/widgets/ToolButtons.h"

#include <QAction>
#include <QCheckBox>
#include <QCursor>
#include <QDialog>
#include <QLocale>
#include <QSignalBlocker>

namespace quillmark {

void TMainForm::ConnectCalibrationHandlers()
{
    SetAxisForm = new TSetAxisForm(*IniFile, QLocale::system().decimalPoint(), this);
}

CalibrationMethod TMainForm::CurrentCalibrationMethod() const
{
    switch (btnAxisSet->GlyphIndex()) {
    case 1:
        return CalibrationMethod::ThreePoints;
    case 2:
        return CalibrationMethod::FourPoints;
    default:
        return CalibrationMethod::TwoPoints;
    }
}

quillmark::PlotRect TMainForm::CalibrationRect() const
{
    return ToPlotRect(Chart->PlotRect());
}

AxisLimits TMainForm::CurrentAxisLimits() const
{
    return Document.Limits();
}

// ---- The hint window ----------------------------------------------------

void TMainForm::SetCalibrationHint(std::string_view text, bool sizeHeight)
{
    HintForm->SetPrompt(CoreText(text), sizeHeight);
}

void TMainForm::ShowCalibrationHint()
{
    HintForm->ShowAt(QCursor::pos());
}

void TMainForm::HideCalibrationHint()
{
    HintForm->hide();
}

QString TMainForm::CalibrationHintText() const
{
    return HintForm->Prompt();
}

bool TMainForm::CalibrationHintVisible() const
{
    return HintForm->isVisible();
}

// ---- Mode ---------------------------------------------------------------

void TMainForm::btnAxisSetClick()
{
    if (Document.Busy())
        return;
    if (btnAxisSet->isChecked()) {
        Document.SetCalibrationMethod(CurrentCalibrationMethod());
        SetCrossHairWithTimer(true);
        SetActivePage(tabDigit);
        SetCalibrationHint(CalibrationEntryHint(CurrentCalibrationMethod()), true);
        ShowCalibrationHint();
        Chart->setFocus();
        Document.BeginCalibration();
    } else {
        SetCrossHairWithTimer(false);
        HideCalibrationHint();
        Document.EndCalibration();
    }
    UpdateUndoCommands();
}

void TMainForm::SetCalibrationMethod(CalibrationMethod method, QAction* dropDownItem)
{
    dropDownItem->setChecked(true);
    btnAxisSet->SetGlyphIndex(static_cast<int>(method));
}

// The drop-down items toggle the button: from off they enter the mode, from
// on they leave it, and the method chosen applies to the next entry.
void TMainForm::mi2PointClick()
{
    SetCalibrationMethod(CalibrationMethod::TwoPoints, mi2Point);
    btnAxisSet->setChecked(!btnAxisSet->isChecked());
    btnAxisSetClick();
}

void TMainForm::mi3PointClick()
{
    SetCalibrationMethod(CalibrationMethod::ThreePoints, mi3Point);
    btnAxisSet->setChecked(!btnAxisSet->isChecked());
    btnAxisSetClick();
}

void TMainForm::mi4PointClick()
{
    SetCalibrationMethod(CalibrationMethod::FourPoints, mi4Point);
    btnAxisSet->setChecked(!btnAxisSet->isChecked());
    btnAxisSetClick();
}

// The main-menu items always (re)start the mode.
void TMainForm::mi2PointSetClick()
{
    SetCalibrationMethod(CalibrationMethod::TwoPoints, mi2Point);
    btnAxisSet->setChecked(true);
    btnAxisSetClick();
}

void TMainForm::mi3PointSetClick()
{
    SetCalibrationMethod(CalibrationMethod::ThreePoints, mi3Point);
    btnAxisSet->setChecked(true);
    btnAxisSetClick();
}

void TMainForm::mi4PointSetClick()
{
    SetCalibrationMethod(CalibrationMethod::FourPoints, mi4Point);
    btnAxisSet->setChecked(true);
    btnAxisSetClick();
}

void TMainForm::btnAxisSetMouseEnter()
{
    SetButtonHint(btnAxisSet, CoreText(CalibrationButtonHint(CurrentCalibrationMethod())));
}

// ---- Reference clicks ---------------------------------------------------

void TMainForm::AxisReferenceClick(int x, int y)
{
    SyncSessionPlot();
    const ReferenceOutcome outcome = Document.ReferenceClick(ClickPosition(x, y));
    if (!outcome.NextHint.empty())
        SetCalibrationHint(outcome.NextHint, false);
    // A refused solve leaves the count at the last click, so the next click
    // is taken as the last reference point again.
    if (!outcome.SolveNow || !SolveCalibration())
        return;
    btnAxisSet->setChecked(false);
    btnAxisSetClick();
}

bool TMainForm::SolveCalibration()
{
    HideCalibrationHint();
    if (Dialogs().ShowModalDialog(*SetAxisForm) != QDialog::Accepted) {
        Document.CancelCalibration();
        return true;
    }
    const ReferenceValues values{SetAxisForm->spXMin->Value(), SetAxisForm->spXMax->Value(),
                                 SetAxisForm->spYMin->Value(), SetAxisForm->spYMax->Value()};
    const double rotation = Document.Adjustments().Rotate;
    SyncSessionPlot();
    AxisLimits limits;
    // Every check comes before anything changes: references that share a
    // column or a row, and ranges that run backwards, leave the picture's
    // rotation, the points and both axes as they were.
    try {
        limits = Document.Calibrate(values, OptionsForm->chboxRotate->isChecked());
    } catch (const CalibrationError& error) {
        Dialogs().ShowError(tr("Ошибка"), CoreMessage(error.what()));
        return false;
    } catch (const AxisRangeError&) {
        ShowAxisRangeRefused();
        return false;
    }
    // The edits show what the document holds; their handlers find the
    // values in force and do nothing more.
    if (Document.Adjustments().Rotate != rotation) {
        const QSignalBlocker shown(spRotate);
        spRotate->SetValue(Document.Adjustments().Rotate);
    }
    ShowAxisKinds();
    ShowAxisIncrement(Axis::X);
    spXMin->SetValue(limits.XMin);
    spXMax->SetValue(limits.XMax);
    ShowAxisIncrement(Axis::Y);
    spYMin->SetValue(limits.YMin);
    spYMax->SetValue(limits.YMax);
    return true;
}

} // namespace quillmark
