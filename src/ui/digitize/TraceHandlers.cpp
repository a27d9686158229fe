// The "Оцифровать" command, the step unit and the line colour of the colour
// method. The trace is the document's; this file hands it the settings of the
// controls and keeps the window answering while it runs.
#include "ui/app/MainUnit.h"
#include "ui/app/CoreTexts.h"
#include "ui/Adapt.h"

#include "ui/dialogs/OptUnit.h"
#include "ui/widgets/ColorBox.h"
#include "ui/widgets/SpinEdit.h"

#include "ui/plot/PlotChart.h"
#include "ui/plot/PlotSeries.h"
#include "ui/widgets/SpinEdit.h"
#include "ui/widgets/ToolButtons.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>
#include <vector>

namespace quillmark {

namespace {

// Pending events run at most this often during a trace: often enough to
// repaint and answer the user, rarely enough not to slow a long trace.
constexpr qint64 kPumpIntervalMs = 20;

// Disables a set of widgets and actions for a scope and gives each back the
// state it had.
class DisabledForScope {
public:
    void Add(QWidget* widget)
    {
        if (widget) {
            m_widgets.push_back({widget, widget->isEnabled()});
            widget->setEnabled(false);
        }
    }
    void Add(QAction* action)
    {
        if (action) {
            m_actions.push_back({action, action->isEnabled()});
            action->setEnabled(false);
        }
    }
    ~DisabledForScope()
    {
        for (const auto& [widget, was] : m_widgets)
            widget->setEnabled(was);
        for (const auto& [action, was] : m_actions)
            action->setEnabled(was);
    }

private:
    std::vector<std::pair<QWidget*, bool>> m_widgets;
    std::vector<std::pair<QAction*, bool>> m_actions;
};

} // namespace

void TMainForm::ConnectTraceHandlers()
{
    auto* layout = qobject_cast<QVBoxLayout*>(tabDigit->layout());
    spStep = new SpinEdit(tabDigit);
    spStep->setToolTip(tr("Шаг оцифровки"));
    // The pixel unit, which StepBox starts on.
    spStep->SetMinValue(1);
    spStep->SetMaxValue(1000);
    spStep->SetIntegerKind(true);
    spStep->SetValue(1);
    ColorPanel1 = new QFrame(tabDigit);
    ColorPanel1->setFrameShape(QFrame::Panel);
    ColorPanel1->setFrameShadow(QFrame::Sunken);
    ColorPanel1->setAutoFillBackground(true);
    ColorPanel1->setMinimumSize(24, 20);
    ColorPanel1->setToolTip(tr("Цвет линии"));
    SetLineColour(QColor(0, 0, 0));
    if (layout) {
        const int stepAt = layout->indexOf(StepBox) + 1;
        layout->insertWidget(stepAt, spStep);
        layout->insertWidget(stepAt + 1, ColorPanel1);
    }
}

// ---- Option values --------------------------------------------------------

// The options dialog holds these for the whole run; integer edits are read
// truncated, as the settings file stores them.
int TMainForm::LineSensOption() const { return static_cast<int>(OptionsForm->spLineSens->Value()); }
int TMainForm::ColorSensOption() const { return static_cast<int>(OptionsForm->spColorSens->Value()); }

SurfacePosition TMainForm::ClickPosition(int x, int y) const
{
    const qreal centre = OptionsForm->chSubPixel->isChecked() ? 0.5 : 0.0;
    return Chart->ToSurface(QPointF(x + centre, y + centre));
}

PreciseTrace TMainForm::PreciseTraceOption() const
{
    PreciseTrace precise;
    precise.SubPixel = OptionsForm->chSubPixel->isChecked();
    precise.NoFill = OptionsForm->chNoFill->isChecked();
    precise.Follow = OptionsForm->chFollow->isChecked();
    precise.AutoSens = OptionsForm->chAutoSens->isChecked();
    return precise;
}
int TMainForm::LineWeightOption() const { return static_cast<int>(OptionsForm->spLineWeight->Value()); }
QColor TMainForm::LineColourOption() const { return OptionsForm->cboxLine->Color(); }
long double TMainForm::DigitsOption() const { return OptionsForm->spDigits->Value(); }
bool TMainForm::SortOption() const { return OptionsForm->chboxSort->isChecked(); }

QString TMainForm::DecimalSeparator() const
{
    return Chart->DecimalSeparator();
}

QColor TMainForm::LineColour() const
{
    return ColorPanel1->palette().color(QPalette::Window);
}

void TMainForm::SetLineColour(const QColor& colour)
{
    QPalette palette = ColorPanel1->palette();
    palette.setColor(QPalette::Window, colour);
    ColorPanel1->setPalette(palette);
}

// ---- Tracing ----------------------------------------------------------------

void TMainForm::SyncTraceSettings()
{
    SyncSessionPlot();
    TraceSettings& trace = Document.Trace();
    trace.Step = spStep->Value();
    trace.Unit = StepBox->currentIndex() == 1 ? StepUnit::AxisUnits : StepUnit::Pixels;
    trace.Method = CurrentMethod() == DigitizeMethod::ByColour ? TraceMethod::ByColour : TraceMethod::MaxBrightness;
    trace.LineSens = LineSensOption();
    trace.ColorSens = ColorSensOption();
    trace.LineColour = ToCoreColour(LineColour());
    trace.Precise = PreciseTraceOption();
}

void TMainForm::btnDigitalClick()
{
    if (CalibrationOn() || ManualMethod() || Document.Busy())
        return;
    srData->SetPenWidth(LineWeightOption());
    srData->SetSeriesColor(LineColourOption());
    // An inactive series is a trace under way or a graph the user hid: either
    // way no trace starts, and the hide button keeps showing the hidden graph.
    if (!srData->Active() || !Document.Work())
        return;

    SyncTraceSettings();
    try {
        Document.CheckTrace();
    } catch (const TraceError& e) {
        Dialogs().ShowMessage(CoreMessage(e.what()));
        return;
    }
    // Points the user placed by hand are not replaced without a word.
    if (m_pointsByHand && !KeepUnsavedData())
        return;

    TraceStatus status = TraceStatus::NoLineFound;
    {
        // What a pending event could do while the trace samples: start it
        // again, open, adjust or rotate a picture, recalibrate, change,
        // delete or save the half-made data, the method or the step. All of
        // it waits for the trace (F2 saves only while btnSaveData is enabled).
        DisabledForScope disabled;
        const std::initializer_list<QWidget*> widgets = {btnDigital, btnOpenImage, btnAxisSet, btnRegSet,
                                                         btnStretch, btnClearSeies, btnSeries, btnSaveData,
                                                         btnCopy, PageControl, Grid};
        for (QWidget* w : widgets)
            disabled.Add(w);
        disabled.Add(btnUndo);
        disabled.Add(btnRedo);
        for (QAction* a : {miDigitize, miOpenFile, miAxisSet, miStretch, miClearSeies, miHideSeies, miSaveData,
                           miCopy, miOptions, miUndo, miRedo})
            disabled.Add(a);

        // Hidden while the trace runs; the old points stay until it has
        // succeeded, so a refused or failed trace costs no data.
        srData->SetActive(false);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        struct Restore {
            PlotSeries& series;
            ~Restore()
            {
                series.SetActive(true);
                QApplication::restoreOverrideCursor();
            }
        } restore{*srData};

        // The document traces a private copy of the picture, and refuses
        // every change while it runs. Pending events run once as the trace
        // starts and then every kPumpIntervalMs.
        QElapsedTimer sincePump;
        status = Document.RunTrace(
            [&sincePump](TracePass, std::size_t, std::size_t) {
                if (!sincePump.isValid() || sincePump.elapsed() >= kPumpIntervalMs) {
                    QCoreApplication::processEvents();
                    sincePump.start();
                }
            },
            ToCoreColour(srData->SeriesColor()));
    }

    UpdateUndoCommands();
    if (status == TraceStatus::NoLineFound) {
        SetDataGroupEnabled(false);
        RefreshTable();
        Dialogs().ShowMessage(tr("Линия не найдена"));
        return;
    }
    SetDataGroupEnabled(true);
    MarkDataChanged(false);
    btnSeries->setChecked(false);
    miHideSeies->setChecked(false);
    RefreshTable();
    ShowTraceSummary();
}

void TMainForm::ShowTraceSummary()
{
    const TraceSummary& summary = Document.LastTrace();
    QString text = tr("Найдено: %1 из %2").arg(summary.Found).arg(summary.Samples);
    if (summary.ColourSensitivity >= 0)
        text += tr(", чувствительность %1").arg(summary.ColourSensitivity);
    SetStatusText(3, QLatin1Char(' ') + text);
    // Mostly invented points deserve a word: the line was barely found.
    if (summary.Samples > 0 && summary.Found * 20 < summary.Samples)
        Dialogs().ShowMessage(tr("Линия найдена только в %1 из %2 столбцов").arg(summary.Found).arg(summary.Samples));
}

void TMainForm::miDigitizeClick()
{
    btnDigitalClick();
}

// ---- Step unit and line colour ----------------------------------------------

void TMainForm::StepBoxChange()
{
    const long double remembered = Document.ChangeStepUnit(
        StepBox->currentIndex() == 1 ? StepUnit::AxisUnits : StepUnit::Pixels, spStep->Value());
    // Each value is written before the new maximum, so it is limited by the
    // maximum of the unit being left.
    if (StepBox->currentIndex() == 1) {
        spStep->SetMinValue(0);
        spStep->SetIntegerKind(false);
        spStep->SetValue(remembered);
        spStep->SetMaxValue(spXMax->Value());
    } else {
        spStep->SetMinValue(1);
        spStep->SetValue(std::nearbyint(remembered));
        spStep->SetIntegerKind(true);
        spStep->SetMaxValue(1000);
    }
}

void TMainForm::PickLineColour()
{
    // The picture's own pixel under the pointer, whatever the view shows
    // there; off the picture, the plot's colour.
    const QPoint at = Chart->PointerPosition();
    const SurfacePosition u = SurfaceToPicture(Chart->Placement(), Chart->ShownAt(at));
    const QImage& picture = Chart->BackImage();
    QColor colour;
    if (Chart->BackImageVisible() && std::isfinite(u.X) && std::isfinite(u.Y) && u.X >= 0 && u.Y >= 0 &&
        u.X < picture.width() && u.Y < picture.height())
        colour = picture.pixelColor(static_cast<int>(u.X), static_cast<int>(u.Y));
    else if (Chart->PlotRect().contains(at))
        colour = Chart->PixelColor(at.x(), at.y());
    if (colour.isValid())
        SetLineColour(colour);
}

} // namespace quillmark
