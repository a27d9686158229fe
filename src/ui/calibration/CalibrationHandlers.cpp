// Point calibration in the window: entering and leaving the mode, the
// reference clicks with their prompts and markers, and the solve that turns
// the clicked pixels and the typed values into new axis limits.
//
// Re-entrancy: SolveCalibration runs the value dialog modally, so events are
// pumped while it is open. The mode stays on during the dialog and the plot's
// clicks are modal-blocked; AxisClickCount is raised only after the solve.
#include "ui/app/MainUnit.h"

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

namespace quillmark {

namespace {

QString Text(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

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
    const QRect r = Chart->PlotRect();
    return quillmark::PlotRect{r.left(), r.top(), r.width(), r.height()};
}

AxisLimits TMainForm::CurrentAxisLimits() const
{
    return AxisLimits{Chart->BottomAxis().Minimum(), Chart->BottomAxis().Maximum(), Chart->LeftAxis().Minimum(),
                      Chart->LeftAxis().Maximum()};
}

// ---- The hint window ----------------------------------------------------

void TMainForm::SetCalibrationHint(std::string_view text, bool sizeHeight)
{
    HintForm->SetPrompt(Text(text), sizeHeight);
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
    PlotSeries* markers = Chart->AxisSeries();
    if (btnAxisSet->isChecked()) {
        AxisClickCount = 0;
        SetCrossHairWithTimer(true);
        SetActivePage(tabDigit);
        SetCalibrationHint(CalibrationEntryHint(CurrentCalibrationMethod()), true);
        ShowCalibrationHint();
        Chart->setFocus();
        markers->Clear();
        markers->SetMarkersVisible(true);
        markers->SetLineVisible(false);
    } else {
        SetCrossHairWithTimer(false);
        HideCalibrationHint();
        markers->SetMarkersVisible(false);
        markers->Clear();
    }
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
    SetButtonHint(btnAxisSet, Text(CalibrationButtonHint(CurrentCalibrationMethod())));
}

// ---- Reference clicks ---------------------------------------------------

void TMainForm::AxisReferenceClick(int x, int y)
{
    const std::optional<ReferenceClick> step = ReferenceClickStep(CurrentCalibrationMethod(), AxisClickCount);
    if (!step) {
        ++AxisClickCount;
        return;
    }
    for (std::size_t slot = 0; slot < AxisPoints.size(); ++slot)
        if (step->Slots & (1u << slot))
            AxisPoints[slot] = SurfacePoint{x, y};
    AddAxisMarker(x, y);
    if (!step->NextHint.empty())
        SetCalibrationHint(step->NextHint, false);
    if (!step->Solve) {
        ++AxisClickCount;
        return;
    }
    // A refused solve leaves the count at the last click, so the next click
    // is taken as the last reference point again.
    if (!SolveCalibration())
        return;
    ++AxisClickCount;
    btnAxisSet->setChecked(false);
    btnAxisSetClick();
}

void TMainForm::AddAxisMarker(int px, int py)
{
    const AxisPoint value = PixelToAxis(SurfacePoint{px, py}, CalibrationRect(), CurrentAxisLimits());
    PlotSeries* markers = Chart->AxisSeries();
    markers->SetActive(false);
    markers->Add(static_cast<double>(value.X), static_cast<double>(value.Y), QString(),
                 OptionsForm->cboxPoint->Color());
    markers->SetActive(true);
}

bool TMainForm::SolveCalibration()
{
    HideCalibrationHint();
    PlotSeries* markers = Chart->AxisSeries();
    if (Dialogs().ShowModalDialog(*SetAxisForm) == QDialog::Accepted) {
        const ReferenceValues values{SetAxisForm->spXMin->Value(), SetAxisForm->spXMax->Value(),
                                     SetAxisForm->spYMin->Value(), SetAxisForm->spYMax->Value()};
        const quillmark::PlotRect rect = CalibrationRect();
        // References that share a column (X) or a row (Y) define no scale.
        // They are refused before anything changes: not the picture's
        // rotation, not the stored points, not either axis.
        try {
            (void)SolveCalibrationLimits(AxisPoints, values, rect);
        } catch (const CalibrationError& error) {
            Dialogs().ShowError(QStringLiteral("Ошибка"), QString::fromUtf8(error.what()));
            return false;
        }

        const AxisPointSlots clicked = AxisPoints;
        const long double rotation = spRotate->Value();
        const bool straighten = StraighteningApplies(CurrentCalibrationMethod(), OptionsForm->chboxRotate->isChecked());
        if (straighten) {
            const long double theta = StraighteningAngle(AxisPoints);
            // Rebuilds the picture before it returns.
            AddPictureRotation(theta * kDegreesPerRadian);
            const PictureSize picture =
                WorkBitmap ? PictureSize{WorkBitmap->Width(), WorkBitmap->Height()} : PictureSize{};
            AxisPoints = RotateSlotsAboutCentre(AxisPoints, theta, rect, picture, btnStretch->isChecked());
        }

        const AxisLimits limits = SolveCalibrationLimits(AxisPoints, values, rect);
        // Both ranges are checked before either is applied: a refused one
        // (an axis whose references run backwards) shows its box once and
        // leaves both axes, the edits and the picture's rotation as they were.
        if (!PlanAxisRange(limits.XMin, limits.XMax, spXIncrement->Value()) ||
            !PlanAxisRange(limits.YMin, limits.YMax, spYIncrement->Value())) {
            if (straighten)
                spRotate->SetValue(rotation); // rebuilds the picture as it was
            AxisPoints = clicked;
            ShowAxisRangeRefused();
            return false;
        }
        // Each edit write runs its change handler, which finds the edit equal
        // to the axis bound just set and does nothing more.
        ApplyAxisRange(Chart->BottomAxis(), limits.XMin, limits.XMax);
        spXMin->SetValue(limits.XMin);
        spXMax->SetValue(limits.XMax);
        ApplyAxisRange(Chart->LeftAxis(), limits.YMin, limits.YMax);
        spYMin->SetValue(limits.YMin);
        spYMax->SetValue(limits.YMax);
    }
    markers->Clear();
    markers->SetMarkersVisible(false);
    return true;
}

void TMainForm::AddPictureRotation(long double degrees)
{
    // The write runs the rotate box's change handler, which rebuilds the
    // picture before it returns; an unchanged text runs nothing.
    spRotate->SetValue(static_cast<long double>(spRotate->Value()) + degrees);
}

} // namespace quillmark
