// The digitizing region: drawing it with the mouse while btnRegSet is down,
// its four limit edits on the page "Оси", its style and the check box that
// switches it on. The region is the document's, kept in axis values, so a
// later change of the axes moves it over the picture; srRegion draws it.
#include "ui/app/MainUnit.h"

#include "calibration/RegionMaths.h"
#include "ui/plot/PlotChart.h"
#include "ui/plot/PlotSeries.h"
#include "ui/widgets/SpinEdit.h"
#include "ui/widgets/ToolButtons.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPen>
#include <QStatusBar>

namespace quillmark {

namespace {

// The rubber band: a white dashed outline, inverting what lies under it.
QPen RubberBandPen()
{
    return QPen(QColor(255, 255, 255), 0, Qt::DashLine);
}

} // namespace

void TMainForm::ConnectRegionHandlers()
{
    const auto regionEdit = [this](double value, const QString& hint) {
        auto* edit = new SpinEdit(tabAxes);
        edit->SetIncrement(0.1);
        edit->SetValue(value);
        edit->setToolTip(hint);
        return edit;
    };
    // Created before their change handlers are connected: the start values
    // leave the shape's design-time corners as they are.
    spXMinReg = regionEdit(0, tr("Нижняя граница оси X"));
    spYMinReg = regionEdit(-3, tr("Нижняя граница оси Y"));
    spXMaxReg = regionEdit(10, tr("Верхняя граница оси X"));
    spYMaxReg = regionEdit(3, tr("Верхняя граница оси Y"));
    Label3 = new QLabel(QStringLiteral("Min"), tabAxes);
    Label9 = new QLabel(QStringLiteral("Max"), tabAxes);
    Label10 = new QLabel(QStringLiteral(" X                    Y"), tabAxes);

    // The region's rows go directly below the check box, wherever the axes
    // page has put it, and the page's free space moves below them.
    if (auto* layout = qobject_cast<QGridLayout*>(tabAxes->layout())) {
        int row = layout->rowCount();
        int column = 0;
        int rowSpan = 1;
        int columnSpan = 1;
        const int at = layout->indexOf(chRegion);
        if (at >= 0) {
            layout->getItemPosition(at, &row, &column, &rowSpan, &columnSpan);
            row += rowSpan;
        }
        for (int r = row; r < layout->rowCount(); ++r)
            layout->setRowStretch(r, 0);
        layout->addWidget(Label10, row, 1, 1, 2);
        layout->addWidget(Label3, row + 1, 0);
        layout->addWidget(spXMinReg, row + 1, 1);
        layout->addWidget(spYMinReg, row + 1, 2);
        layout->addWidget(Label9, row + 2, 0);
        layout->addWidget(spXMaxReg, row + 2, 1);
        layout->addWidget(spYMaxReg, row + 2, 2);
        layout->setRowStretch(row + 3, 1);
    }
    ShowRegion(false);
    // Glyph, menu check and fill agree from the start; the saved style,
    // applied the same way when the settings are read, replaces this one.
    SetRegionStyle(btnRegSet->GlyphIndex());

    connect(spXMinReg, &SpinEdit::Changed, this, &TMainForm::spXMinRegChange);
    connect(spYMinReg, &SpinEdit::Changed, this, &TMainForm::spYMinRegChange);
    connect(spXMaxReg, &SpinEdit::Changed, this, &TMainForm::spXMaxRegChange);
    connect(spYMaxReg, &SpinEdit::Changed, this, &TMainForm::spYMaxRegChange);
}

void TMainForm::SetRegionStyle(int glyphIndex)
{
    if (glyphIndex == kGlyphArea) {
        btnRegSet->SetGlyphIndex(kGlyphArea);
        miArea->setChecked(true);
        srRegion->SetFill(ShapeFill::BackDiagonalHatch);
    } else {
        btnRegSet->SetGlyphIndex(kGlyphContour);
        miContour->setChecked(true);
        srRegion->SetFill(ShapeFill::None);
    }
}

void TMainForm::miAreaClick()
{
    SetRegionStyle(kGlyphArea);
}

void TMainForm::miContourClick()
{
    SetRegionStyle(kGlyphContour);
}

void TMainForm::ShowRegion(bool on)
{
    srRegion->SetActive(on);
    for (QWidget* control : std::initializer_list<QWidget*>{spXMinReg, spYMinReg, spXMaxReg, spYMaxReg, Label3,
                                                             Label9, Label10})
        control->setEnabled(on);
}

void TMainForm::chRegionClick()
{
    if (!Document.SetRegionOn(chRegion->isChecked()))
        chRegion->setChecked(false);
    else
        ShowRegion(chRegion->isChecked());
    statusBar()->update();
}

void TMainForm::ChartMouseDown(Qt::MouseButton /*button*/, Qt::KeyboardModifiers /*shift*/, int x, int y)
{
    if (!RegionDrawingOn())
        return;
    RegionRect = RegionCorners{x, y, x, y};
    m_rubberBandShown = false;
}

void TMainForm::ChartMouseMove(Qt::KeyboardModifiers /*shift*/, int x, int y)
{
    if (!RegionDrawingOn() || RegionRect.x1 == -1 || !(Chart->ButtonsDown() & Qt::LeftButton))
        return;
    // The band drawn last is drawn again, which inverts it away, then the new one.
    if (m_rubberBandShown)
        Chart->DrawRectDirect(RegionRect.x0, RegionRect.y0, RegionRect.x1, RegionRect.y1, RubberBandPen(),
                              PenMode::Invert);
    Chart->DrawRectDirect(RegionRect.x0, RegionRect.y0, x, y, RubberBandPen(), PenMode::Invert);
    m_rubberBandShown = true;
    RegionRect.x1 = x;
    RegionRect.y1 = y;
}

void TMainForm::ChartMouseUp(Qt::MouseButton /*button*/, Qt::KeyboardModifiers /*shift*/, int /*x*/, int /*y*/)
{
    if (!RegionDrawingOn())
        return;
    btnRegSet->setChecked(false);
    // A release without a press since drawing began has no region to store.
    if (RegionRect.x0 < 0)
        return;
    SyncSessionPlot();
    // The drag, the edits that show it and switching it on are one step.
    const DigitizeSession::Step step(Document, StepName::DrawRegion);
    const RegionLimits region = Document.SetRegionFromDrag(Chart->ToSurface(QPointF(RegionRect.x0, RegionRect.y0)),
                                                           Chart->ToSurface(QPointF(RegionRect.x1, RegionRect.y1)));
    // The edits show the limits; the region then holds what they hold.
    spXMinReg->SetValue(region.XMin);
    spYMinReg->SetValue(region.YMin);
    spXMaxReg->SetValue(region.XMax);
    spYMaxReg->SetValue(region.YMax);
    RegionEditsChanged();
    chRegion->setChecked(true);
    chRegionClick();
    // The rubber band is gone with the redraw the new corners asked for.
    m_rubberBandShown = false;
    Chart->Redraw();
}

void TMainForm::SetRegionStep(SpinEdit* changed, const SpinEdit* minEdit, const SpinEdit* maxEdit)
{
    changed->SetIncrement((maxEdit->Value() - minEdit->Value()) / 400);
}

void TMainForm::RegionEditsChanged()
{
    Document.SetRegionLimits(
        RegionLimits{spXMinReg->Value(), spXMaxReg->Value(), spYMinReg->Value(), spYMaxReg->Value()});
}

void TMainForm::spXMinRegChange()
{
    SetRegionStep(spXMinReg, spXMinReg, spXMaxReg);
    RegionEditsChanged();
}

void TMainForm::spYMaxRegChange()
{
    SetRegionStep(spYMaxReg, spYMinReg, spYMaxReg);
    RegionEditsChanged();
}

void TMainForm::spXMaxRegChange()
{
    SetRegionStep(spXMaxReg, spXMinReg, spXMaxReg);
    RegionEditsChanged();
}

void TMainForm::spYMinRegChange()
{
    SetRegionStep(spYMinReg, spYMinReg, spYMaxReg);
    RegionEditsChanged();
}

} // namespace quillmark
