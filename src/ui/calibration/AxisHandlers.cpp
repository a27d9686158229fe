// The axes page: the four limit edits, the two increment edits and the two
// shift buttons. Every writer of an axis limit (typing, spin arrows, the shift
// buttons and keys, files, the fit toggle) goes through the limit edits, whose
// handlers hand the range to the document, which sets it with its increment
// and label mask. Writing an edit runs its change handler before the write
// returns.
#include "ui/app/MainUnit.h"
#include "ui/app/CoreTexts.h"
#include "ui/Adapt.h"

#include "calibration/AxisScale.h"
#include "ui/plot/PlotChart.h"
#include "ui/widgets/SpinEdit.h"
#include "ui/widgets/SplitSpinButton.h"

#include <QCheckBox>

#include <string>

namespace quillmark {

void TMainForm::ConnectAxisHandlers()
{
    const auto finished = [this](SpinEdit* changed, bool isMin, bool xAxis) {
        connect(changed, &SpinEdit::TypingFinished, this, [=, this] {
            AxisLimitTypingFinished(changed, isMin, xAxis ? Chart->BottomAxis() : Chart->LeftAxis(),
                                    xAxis ? spXMin : spYMin, xAxis ? spXMax : spYMax);
        });
    };
    finished(spXMin, true, true);
    finished(spXMax, false, true);
    finished(spYMin, true, false);
    finished(spYMax, false, false);
    connect(spXIncrement, &SpinEdit::Changed, this, &TMainForm::spXIncrementChange);
    connect(spYIncrement, &SpinEdit::Changed, this, &TMainForm::spYIncrementChange);
    for (QCheckBox* box : {chXLog, chXRev})
        connect(box, &QCheckBox::clicked, this, [this] { AxisKindClick(Axis::X); });
    for (QCheckBox* box : {chYLog, chYRev})
        connect(box, &QCheckBox::clicked, this, [this] { AxisKindClick(Axis::Y); });
    connect(spbtnX, &SplitSpinButton::TopClicked, this, [this] { spbtnXTopClick(); });
    connect(spbtnX, &SplitSpinButton::BottomClicked, this, [this] { spbtnXBottomClick(); });
    connect(spbtnY, &SplitSpinButton::TopClicked, this, [this] { spbtnYTopClick(); });
    connect(spbtnY, &SplitSpinButton::BottomClicked, this, [this] { spbtnYBottomClick(); });
}

bool TMainForm::LimitEditsRefused(const PlotAxis& axis, const SpinEdit* minEdit, const SpinEdit* maxEdit) const
{
    const SpinEdit* incrementEdit = &axis == &Chart->BottomAxis() ? spXIncrement : spYIncrement;
    const bool log = (&axis == &Chart->BottomAxis() ? Document.AxisOf(Axis::X) : Document.AxisOf(Axis::Y)).Kind.Log;
    return !minEdit->TextIsNumber() || !maxEdit->TextIsNumber() ||
           !PlanAxisRange(minEdit->Value(), maxEdit->Value(), incrementEdit->Value()) ||
           (log && !(minEdit->Value() > 0));
}

void TMainForm::ShowAxisRangeRefused()
{
    Dialogs().ShowError(
        CoreText(kAxisRangeRefusedCaption), CoreText(kAxisRangeRefused));
}

void TMainForm::RestoreLimitEdit(SpinEdit* changed, bool changedIsMin, const PlotAxis& axis)
{
    const bool x = &axis == &Chart->BottomAxis();
    if (axis.Kind().Log && !((x ? spXMin : spYMin)->Value() > 0))
        Dialogs().ShowError(CoreText(kAxisRangeRefusedCaption), CoreText(x ? kLogXNeedsPositive : kLogYNeedsPositive));
    else
        ShowAxisRangeRefused();
    // Runs the handler, which finds the value in force and does nothing more.
    changed->SetValue(changedIsMin ? axis.Minimum() : axis.Maximum());
}

void TMainForm::AxisLimitTypingFinished(SpinEdit* changed, bool changedIsMin, PlotAxis& axis, SpinEdit* minEdit,
                                        SpinEdit* maxEdit)
{
    if (LimitEditsRefused(axis, minEdit, maxEdit))
        RestoreLimitEdit(changed, changedIsMin, axis);
}

void TMainForm::AxisLimitChange(SpinEdit* changed, bool changedIsMin, PlotAxis& axis, SpinEdit* minEdit,
                                SpinEdit* maxEdit)
{
    // While the user types, a text that is no number yet or gives a refused
    // range waits for the end of the typing; a spin-arrow step to a refused
    // range is refused at once. Both then show the box once and put the value
    // in force back. Program writes go on as before.
    if (changed->ChangeIsTyping() || changed->ChangeIsStep()) {
        if (LimitEditsRefused(axis, minEdit, maxEdit)) {
            if (changed->ChangeIsStep())
                RestoreLimitEdit(changed, changedIsMin, axis);
            return;
        }
    }
    // Setting a spin step is no text change and runs no handler.
    minEdit->SetIncrement(static_cast<double>(FineStep(minEdit->Value(), maxEdit->Value())));
    maxEdit->SetIncrement(static_cast<double>(FineStep(minEdit->Value(), maxEdit->Value())));

    // A value equal to the axis bound at single precision has been applied
    // already: this ends the writes that follow an applied range.
    const double bound = changedIsMin ? axis.Minimum() : axis.Maximum();
    if (!SameAtSinglePrecision(changed->Value(), bound))
        ApplyAxisRange(axis, minEdit->Value(), maxEdit->Value());
}

void TMainForm::spXMinChange()
{
    AxisLimitChange(spXMin, true, Chart->BottomAxis(), spXMin, spXMax);
}

void TMainForm::spXMaxChange()
{
    AxisLimitChange(spXMax, false, Chart->BottomAxis(), spXMin, spXMax);
}

void TMainForm::spYMinChange()
{
    AxisLimitChange(spYMin, true, Chart->LeftAxis(), spYMin, spYMax);
}

void TMainForm::spYMaxChange()
{
    AxisLimitChange(spYMax, false, Chart->LeftAxis(), spYMin, spYMax);
}

void TMainForm::ApplyAxisRange(PlotAxis& axis, long double min, long double max)
{
    const Axis which = &axis == &Chart->BottomAxis() ? Axis::X : Axis::Y;
    // The document checks the range and sets it with its increment and
    // mask; the plot follows through SessionChanged.
    try {
        Document.SetAxisRange(which, min, max);
    } catch (const AxisRangeError&) {
        ShowAxisRangeRefused();
        return;
    } catch (const CalibrationError& error) {
        // A log axis and a range that is not all positive.
        Dialogs().ShowError(CoreText(kAxisRangeRefusedCaption), CoreMessage(error.what()));
        return;
    }
    ShowAxisIncrement(which);
}

void TMainForm::ShowAxisIncrement(Axis axis)
{
    // Runs the increment edit's handler, which finds the value in force.
    (axis == Axis::X ? spXIncrement : spYIncrement)->SetValue(Document.AxisOf(axis).Increment);
}

void TMainForm::AxisKindClick(Axis axis)
{
    const bool x = axis == Axis::X;
    Document.SetAxisKind(axis, AxisKind{(x ? chXLog : chYLog)->isChecked(), (x ? chXRev : chYRev)->isChecked()});
    // Switching to log may have given the axis a positive range.
    const AxisState& state = Document.AxisOf(axis);
    (x ? spXMin : spYMin)->SetValue(state.Min);
    (x ? spXMax : spYMax)->SetValue(state.Max);
    ShowAxisIncrement(axis);
}

void TMainForm::spXIncrementChange()
{
    Document.SetAxisIncrement(Axis::X, spXIncrement->Value());
}

void TMainForm::spYIncrementChange()
{
    Document.SetAxisIncrement(Axis::Y, spYIncrement->Value());
}

void TMainForm::ShiftAxis(SpinEdit* minEdit, SpinEdit* maxEdit, bool increase)
{
    const Axis which = minEdit == spXMin ? Axis::X : Axis::Y;
    const AxisRange shifted = Document.ShiftAxis(which, {minEdit->Value(), maxEdit->Value()},
                                                 increase ? ShiftDirection::Increase : ShiftDirection::Decrease);
    // The edits show the new range; their handlers find it in force.
    minEdit->SetValue(shifted.Min);
    maxEdit->SetValue(shifted.Max);
    ShowAxisIncrement(which);
}

void TMainForm::spbtnXTopClick()
{
    ShiftAxis(spXMin, spXMax, true);
}

void TMainForm::spbtnXBottomClick()
{
    ShiftAxis(spXMin, spXMax, false);
}

void TMainForm::spbtnYTopClick()
{
    ShiftAxis(spYMin, spYMax, false);
}

void TMainForm::spbtnYBottomClick()
{
    ShiftAxis(spYMin, spYMax, true);
}

} // namespace quillmark
