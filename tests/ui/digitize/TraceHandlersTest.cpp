// "Оцифровать", the method and the step unit, driven through the window; the
// batch command must give the window's points to the last digit.
#include "WindowFixture.h"
#include "ui/Adapt.h"

#include "ui/app/BatchEntry.h"
#include "digitize/ExportText.h"
#include "ui/plot/PlotSeries.h"
#include "ui/dialogs/OptUnit.h"
#include "ui/widgets/SpinEdit.h"
#include "ui/widgets/ToolButtons.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QTabWidget>
#include <QCursor>
#include <QTableWidget>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <vector>

using namespace quillmark;
using namespace quillmark::test;

namespace {

// A curve 3 pixels thick in pure red on white, with a stretch where it is
// missing and a red grid line across the whole height at column 40.
QImage CurvePicture()
{
    QImage image(64, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int x = 0; x < 64; ++x) {
        if (x >= 20 && x < 26)
            continue;
        const int top = 8 + (x * x) % 23;
        for (int k = 0; k < 3; ++k)
            image.setPixel(x, top + k, qRgb(255, 0, 0));
    }
    for (int y = 0; y < 40; ++y)
        image.setPixel(40, y, qRgb(255, 0, 0));
    return image;
}

class TraceWindow : public DigitizeWindowTest {
protected:
    void OpenRedCurveByColour()
    {
        OpenInWindow(SavePicture(CurvePicture()));
        SetMethod(DigitizeMethod::ByColour);
        form->SetLineColour(QColor(255, 0, 0));
    }
    PlotSeries& Data() { return *form->Chart->DataSeries(); }
    std::vector<DataPoint> Points()
    {
        std::vector<DataPoint> points;
        for (int i = 0; i < Data().Count(); ++i)
            points.push_back(DataPoint{Data().XValue(i), Data().YValue(i), {}, {}});
        return points;
    }
};

TEST_F(TraceWindow, WindowAndBatchCommandTraceTheSamePoints)
{
    const std::string path = SavePicture(CurvePicture());
    OpenInWindow(path);
    form->Document.SetAxisRange(Axis::X, -1.5, 7.25);
    form->Document.SetAxisRange(Axis::Y, 0.1, 0.3);
    SetMethod(DigitizeMethod::ByColour);
    form->SetLineColour(QColor(255, 0, 0));
    form->StepBox->setCurrentIndex(1);
    form->Document.Trace().OtherStep = 0.21;
    form->StepBoxChange();
    ASSERT_DOUBLE_EQ(form->spStep->Value(), 0.21);

    form->miDigitizeClick();

    ASSERT_EQ(Data().Count(), 41); // columns 0 .. 62 at 0.21 x 64 / 8.75 = 1.536 pixels
    EXPECT_TRUE(Data().Active());
    EXPECT_TRUE(form->btnSaveData->isEnabled());
    EXPECT_TRUE(form->btnClearSeies->isEnabled());
    EXPECT_TRUE(form->Grid->isEnabled());
    EXPECT_EQ(form->Grid->rowCount(), 42);
    EXPECT_EQ(form->Document.TraceBuffer().size(), 41u);
    EXPECT_TRUE(boxes->Calls.empty());
    // What waited for the trace is back.
    EXPECT_TRUE(form->btnOpenImage->isEnabled());
    EXPECT_TRUE(form->miOpenFile->isEnabled());
    EXPECT_TRUE(form->PageControl->isEnabled());
    EXPECT_TRUE(form->btnDigital->isEnabled());

    std::string error;
    const std::optional<TraceOptions> options = ParseTraceArguments(
        {path, "--axes", "-1.5,7.25,0.1,0.3", "--method", "colour", "--colour", "FF0000", "--step", "0.21",
         "--step-unit", "axis", "--format", "tsv"},
        error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(TraceText(*options, ","), ClipboardText(Points(), ","));
}

TEST_F(TraceWindow, NoLineFoundLeavesTheSeriesEmptyAndSaysSo)
{
    QImage plain(30, 80, QImage::Format_RGB32);
    plain.fill(Qt::white);
    OpenInWindow(SavePicture(plain));
    form->Document.AddPoint(DataPoint{1, 1, {}, ToCoreColourOrNone(QColor(0, 0, 255))});
    form->SetDataGroupEnabled(true);

    form->btnDigitalClick();

    EXPECT_EQ(Data().Count(), 0);
    EXPECT_TRUE(Data().Active());
    EXPECT_EQ(boxes->Calls, std::vector<std::string>{"message: Линия не найдена"});
    EXPECT_FALSE(form->btnSaveData->isEnabled());
    EXPECT_EQ(form->Grid->rowCount(), 1);
}

TEST_F(TraceWindow, AStepThatIsNotPositiveIsRefusedAndNothingIsTraced)
{
    OpenInWindow(SavePicture(CurvePicture()));
    form->Document.AddPoint(DataPoint{1, 1, {}, ToCoreColourOrNone(QColor(0, 0, 255))});
    form->StepBox->setCurrentIndex(1);
    form->Document.Trace().OtherStep = 0;
    form->StepBoxChange();
    ASSERT_EQ(form->spStep->Value(), 0);

    form->btnDigitalClick();

    EXPECT_EQ(boxes->Calls, std::vector<std::string>{"message: Шаг оцифровки должен быть больше нуля."});
    EXPECT_EQ(Data().Count(), 1);
    EXPECT_TRUE(Data().Active());
}

TEST_F(TraceWindow, NoTraceWhileTheGraphIsHiddenOrInManualMethods)
{
    OpenRedCurveByColour();
    form->Document.AddPoint(DataPoint{1, 1, {}, ToCoreColourOrNone(QColor(0, 0, 255))});
    form->SetDataGroupEnabled(true);
    form->btnSeries->click();
    form->btnDigitalClick();
    EXPECT_EQ(Data().Count(), 1);
    EXPECT_TRUE(form->btnSeries->isChecked());

    form->btnSeries->click();
    SetMethod(DigitizeMethod::Manual);
    form->btnDigitalClick();
    EXPECT_EQ(Data().Count(), 1);
}

TEST_F(TraceWindow, ASelectionBeyondTheTracedPointsIsEnded)
{
    OpenRedCurveByColour();
    form->spStep->SetValue(10);
    form->Document.SetSelected(3);
    form->btnDigitalClick();
    ASSERT_EQ(Data().Count(), 7);
    EXPECT_EQ(form->Document.Selected(), 3);
    form->Document.SetSelected(7);
    form->btnDigitalClick();
    EXPECT_EQ(form->Document.Selected(), -1);
}

TEST_F(TraceWindow, StepUnitSwapKeepsTheOtherUnitsStep)
{
    form->spXMax->SetValue(10);
    form->spStep->SetValue(7);
    form->Document.Trace().OtherStep = 0.5L;

    form->StepBox->setCurrentIndex(1);
    form->StepBoxChange();
    EXPECT_EQ(form->spStep->Value(), 0.5);
    EXPECT_EQ(form->Document.Trace().OtherStep, 7);
    EXPECT_FALSE(form->spStep->IntegerKind());
    EXPECT_EQ(form->spStep->MinValue(), 0);
    EXPECT_EQ(form->spStep->MaxValue(), 10);

    form->StepBox->setCurrentIndex(0);
    form->StepBoxChange();
    EXPECT_EQ(form->spStep->Value(), 7);
    EXPECT_EQ(form->Document.Trace().OtherStep, 0.5L);
    EXPECT_TRUE(form->spStep->IntegerKind());
    EXPECT_EQ(form->spStep->MinValue(), 1);
    EXPECT_EQ(form->spStep->MaxValue(), 1000);
}

TEST_F(TraceWindow, RestoredStepsAreLimitedByTheOtherUnitsMaximum)
{
    form->spXMax->SetValue(10);
    form->spStep->SetValue(500);
    form->Document.Trace().OtherStep = 2.5L;
    form->StepBox->setCurrentIndex(1);
    form->StepBoxChange();
    EXPECT_EQ(form->spStep->Value(), 2.5);
    form->StepBox->setCurrentIndex(0);
    form->StepBoxChange();
    EXPECT_EQ(form->spStep->Value(), 10); // 500 held to spXMax at the switch to axis units

    form->Document.Trace().OtherStep = 4000;
    form->StepBox->setCurrentIndex(1);
    form->StepBoxChange();
    EXPECT_EQ(form->spStep->Value(), 1000); // the pixel unit's maximum
}

TEST_F(TraceWindow, MethodSwitchSetsMarkersPointerTimerAndCommand)
{
    OpenInWindow(SavePicture(CurvePicture()));
    struct Case {
        DigitizeMethod Method;
        bool Markers;
        bool Timer;
        bool Digital;
        const char* Status;
    };
    const Case cases[] = {
        {DigitizeMethod::Manual, true, true, false, " Вручную  F7"},
        {DigitizeMethod::ByColour, false, true, true, " По цвету  F6"},
        {DigitizeMethod::Edit, true, true, false, " Правка  F8"},
        {DigitizeMethod::MaxBrightness, false, false, true, " По макс. яркости  F5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Status);
        SetMethod(c.Method);
        EXPECT_EQ(Data().MarkersVisible(), c.Markers);
        EXPECT_EQ(form->Timer->isActive(), c.Timer);
        EXPECT_EQ(form->btnDigital->isEnabled(), c.Digital);
        EXPECT_EQ(form->Chart->cursor().shape(), c.Timer ? Qt::CrossCursor : Qt::ArrowCursor);
        EXPECT_EQ(form->StatusText(2).toStdString(), c.Status);
    }
}

TEST_F(TraceWindow, ADoubleClickInTheColourMethodPicksTheColourUnderThePointer)
{
    OpenInWindow(SavePicture(CurvePicture()));
    form->resize(700, 500);
    form->show();
    form->Chart->SetBackImageSize(10, 10);
    form->Chart->BackImage().fill(QColor(12, 200, 34));
    form->Chart->Redraw();
    const QRect plot = form->Chart->PlotRect();
    QCursor::setPos(form->Chart->mapToGlobal(plot.center()));
    if (form->Chart->PointerPosition() != plot.center())
        GTEST_SKIP() << "the platform does not move the pointer";

    SetMethod(DigitizeMethod::ByColour);
    emit form->Chart->DblClick();
    EXPECT_EQ(form->LineColour(), QColor(12, 200, 34));

    form->SetLineColour(QColor(0, 0, 0));
    SetMethod(DigitizeMethod::MaxBrightness);
    emit form->Chart->DblClick();
    EXPECT_EQ(form->LineColour(), QColor(0, 0, 0));
}

} // namespace

TEST_F(TraceWindow, ARefusedTraceKeepsTheDataAndAHiddenGraphComesBackWithDeleteAll)
{
    OpenRedCurveByColour();
    form->Document.AddPoint(DataPoint{1, 1, {}, ToCoreColourOrNone(QColor(0, 0, 255))});
    form->SetDataGroupEnabled(true);
    form->RefreshTable();
    // A step so small in axis units that the samples could not be counted.
    form->StepBox->setCurrentIndex(1);
    form->Document.Trace().OtherStep = 1e-15L;
    form->StepBoxChange();
    EXPECT_THROW(form->btnDigitalClick(), TraceError);
    EXPECT_EQ(Data().Count(), 1);
    EXPECT_TRUE(Data().Active());
    EXPECT_TRUE(form->btnSaveData->isEnabled());
    EXPECT_EQ(form->Grid->rowCount(), 2);

    form->StepBox->setCurrentIndex(0);
    form->StepBoxChange();
    form->spStep->SetValue(10);
    form->btnSeries->click();
    boxes->ConfirmAnswer = true;
    form->btnClearSeiesClick();
    EXPECT_FALSE(form->btnSeries->isChecked());
    EXPECT_FALSE(form->miHideSeies->isChecked());
    form->btnDigitalClick();
    EXPECT_EQ(Data().Count(), 7);
    EXPECT_TRUE(Data().Active());
}

TEST_F(TraceWindow, KeysOfCommandsWaitForTheTrace)
{
    OpenRedCurveByColour();
    boxes->RecordFileDialogs = true;
    // Delivered while the trace runs its pending events.
    for (const auto& [key, modifiers] : {std::pair{Qt::Key_F3, Qt::NoModifier}, std::pair{Qt::Key_F7, Qt::NoModifier},
                                         std::pair{Qt::Key_Left, Qt::ShiftModifier}}) {
        QCoreApplication::postEvent(form->Chart, new QKeyEvent(QEvent::KeyPress, key, modifiers));
    }
    const double xMin = form->Chart->BottomAxis().Minimum();
    form->btnDigitalClick();
    EXPECT_TRUE(boxes->Calls.empty());
    EXPECT_EQ(form->CurrentMethod(), DigitizeMethod::ByColour);
    EXPECT_EQ(form->Chart->BottomAxis().Minimum(), xMin);
    EXPECT_GT(Data().Count(), 0);
}

namespace {

// Ctrl+Z and Ctrl+Shift+Z as the user presses them on the plot.
TEST_F(TraceWindow, CtrlZUndoesATraceAndCtrlShiftZBringsItBack)
{
    OpenRedCurveByColour();
    form->show();
    form->activateWindow();
    if (!QTest::qWaitForWindowActive(form.get()))
        GTEST_SKIP() << "this platform does not activate windows";
    EXPECT_FALSE(form->miUndo->isEnabled()); // the settings read at the first showing are no step
    form->Document.AddPoint(DataPoint{1, 1, {}, {}});
    form->Document.AddPoint(DataPoint{2, 1, {}, {}});
    form->SetDataGroupEnabled(true);
    form->Chart->setFocus();
    EXPECT_EQ(form->miUndo->text(), QStringLiteral("Отменить добавление точки"));

    QTest::keyClick(form->Chart, Qt::Key_F9);
    const std::vector<DataPoint> traced = Points();
    ASSERT_GT(traced.size(), 10u);
    EXPECT_EQ(form->miUndo->text(), QStringLiteral("Отменить оцифровку"));
    EXPECT_FALSE(form->miRedo->isEnabled());

    QTest::keyClick(form->Chart, Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(Data().Count(), 2);
    EXPECT_EQ(Data().XValue(1), 2);
    EXPECT_EQ(form->Grid->item(2, 1)->text(), QStringLiteral("2"));
    EXPECT_EQ(form->miRedo->text(), QStringLiteral("Повторить оцифровку"));
    EXPECT_TRUE(form->btnRedo->isEnabled());

    QTest::keyClick(form->Chart, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Points(), traced);
    // Calibration is not interrupted by the keys.
    form->btnAxisSet->click();
    EXPECT_FALSE(form->miUndo->isEnabled());
    QTest::keyClick(form->Chart, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Points(), traced);
}

} // namespace

TEST_F(TraceWindow, FilledPointsAreToldApartAndTheGapsCanStayOpen)
{
    OpenRedCurveByColour();
    form->miDigitizeClick();
    // The missing stretch is filled: hollow
    // markers, grey in the table, and counted in the status bar.
    const int count = Data().Count();
    ASSERT_EQ(count, 63);
    EXPECT_TRUE(Data().PointHollow(22));
    EXPECT_FALSE(Data().PointHollow(10));
    EXPECT_EQ(form->Grid->item(23, 2)->foreground().color(), QColor(Qt::gray));
    EXPECT_NE(form->Grid->item(11, 2)->foreground().color(), QColor(Qt::gray));
    EXPECT_EQ(form->StatusText(3), QStringLiteral(" Найдено: 57 из 63"));
    EXPECT_TRUE(boxes->Calls.empty());

    form->OptionsForm->chNoFill->setChecked(true);
    form->miDigitizeClick();
    EXPECT_EQ(Data().Count(), 57);
    EXPECT_FALSE(Data().PointHollow(22));

    // A line found in fewer than one column in twenty still gives its points,
    // with a word.
    QImage faint(100, 40, QImage::Format_RGB32);
    faint.fill(Qt::white);
    for (int x = 0; x < 4; ++x)
        faint.setPixel(x, 10, qRgb(255, 0, 0));
    OpenInWindow(SavePicture(faint));
    form->miDigitizeClick();
    EXPECT_EQ(Data().Count(), 4);
    EXPECT_EQ(boxes->Calls, std::vector<std::string>{"message: Линия найдена только в 4 из 99 столбцов"});
}
