#include "ui/app/MainUnit.h"
#include "ui/Adapt.h"

#include "ui/app/QuillmarkApplication.h"
#include "base/Errors.h"
#include "ui/plot/PlotChart.h"
#include "ui/plot/PlotSeries.h"
#include "ui/support/RecordingDialogs.h"
#include "ui/widgets/SpinEdit.h"
#include "ui/widgets/ToolButtons.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QMouseEvent>
#include <QMainWindow>
#include <QTabWidget>
#include <QTabBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace quillmark;

namespace {

// Answers every modal request from a script and records it, file dialogs
// too ("open", "save"); nothing modal ever opens in a test.
class ScriptedDialogs : public testsupport::RecordingDialogs {
public:
    ScriptedDialogs() { RecordFileDialogs = true; }
};

// The main window with its dispatch targets recorded, so a test sees where a
// key or a click was routed.
class RecordingForm : public TMainForm {
public:
    explicit RecordingForm(MainFormEnvironment environment) : TMainForm(std::move(environment)) {}

    void miOpenFileClick() override { Calls.push_back("miOpenFileClick"); }
    void btnSaveDataClick() override { Calls.push_back("btnSaveDataClick"); }
    void spbtnXTopClick() override { Calls.push_back("spbtnXTopClick"); }
    void spbtnXBottomClick() override { Calls.push_back("spbtnXBottomClick"); }
    void spbtnYTopClick() override { Calls.push_back("spbtnYTopClick"); }
    void spbtnYBottomClick() override { Calls.push_back("spbtnYBottomClick"); }
    void btnAxisSetClick() override
    {
        Calls.push_back(std::string("btnAxisSetClick ") + (btnAxisSet->isChecked() ? "down" : "up"));
    }
    void AxisReferenceClick(int x, int y) override
    {
        Calls.push_back("AxisReferenceClick " + std::to_string(x) + "," + std::to_string(y));
    }
    void PlacePoint(int x, int y, bool manual) override
    {
        Calls.push_back("PlacePoint " + std::to_string(x) + "," + std::to_string(y) + (manual ? " manual" : " edit"));
    }
    void PickLineColour() override { Calls.push_back("PickLineColour"); }
    bool ScalingAboutZero() const override { return AboutZero; }
    void miDigHelpClick() override { Calls.push_back("miDigHelpClick"); }

    std::vector<std::string> TakeCalls() { return std::exchange(Calls, {}); }

    std::vector<std::string> Calls;
    bool AboutZero = false;
};

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override { MakeForm(); }

    // Builds the window afresh, first writing settingsText as its settings file.
    void MakeForm(const QByteArray& settingsText = {})
    {
        ASSERT_TRUE(m_folder.isValid());
        form.reset();
        if (!settingsText.isEmpty()) {
            ASSERT_TRUE(testsupport::WriteSettingsFile(m_folder, settingsText));
        }
        dialogs = std::make_shared<ScriptedDialogs>();
        form = std::make_unique<RecordingForm>(testsupport::TemporaryFolderEnvironment(m_folder, dialogs));
    }

    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, QWidget* target = nullptr)
    {
        QTest::keyClick(target ? target : form->Grid, static_cast<Qt::Key>(key), modifiers);
    }

    QTemporaryDir m_folder;
    std::shared_ptr<ScriptedDialogs> dialogs;
    std::unique_ptr<RecordingForm> form;
};

using Calls = std::vector<std::string>;

TEST_F(MainFormTest, StartsWithOnlyOpeningSettingsHelpAndExitAvailable)
{
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quillmark 0.61"));
    EXPECT_EQ(form->minimumSize(), QSize(400, 400));

    const struct {
        QToolButton* button;
        QAction* item;
        bool enabled;
    } commands[] = {
        {form->btnOpenImage, form->miOpenFile, true},  {form->btnSaveData, form->miSaveData, false},
        {form->btnCopy, form->miCopy, false},          {form->btnTools, form->miTools, true},
        {form->btnTable, form->miTable, true},         {form->btnStretch, form->miStretch, false},
        {form->btnAxisSet, form->miAxisSet, false},    {form->btnRegSet, nullptr, false},
        {form->btnDigital, form->miDigitize, false},   {form->btnClear, form->miHideImage, false},
        {form->btnSeries, form->miHideSeies, false},   {form->btnClearSeies, form->miClearSeies, false},
        {form->btnExit, form->miExit, true},
    };
    for (const auto& c : commands) {
        SCOPED_TRACE(c.button->toolTip().toStdString() + " / " + form->ButtonHint(c.button).toStdString());
        EXPECT_EQ(c.button->isEnabled(), c.enabled);
        if (c.item) {
            EXPECT_EQ(c.item->isEnabled(), c.enabled);
        }
        // A hint shows only while its button is enabled.
        EXPECT_EQ(c.button->toolTip().isEmpty(), !c.enabled);
    }
    for (QAction* item : {form->miOptions, form->miDigHelp, form->miAbout})
        EXPECT_TRUE(item->isEnabled());

    EXPECT_TRUE(form->PageControl->isTabEnabled(0));
    EXPECT_FALSE(form->PageControl->isTabEnabled(1));
    EXPECT_FALSE(form->PageControl->isTabEnabled(2));
    EXPECT_FALSE(form->chRegion->isEnabled());
    EXPECT_FALSE(form->Grid->isEnabled());
    EXPECT_TRUE(form->btnStretch->isChecked());
    EXPECT_FALSE(form->Timer->isActive());
    EXPECT_EQ(form->Timer->interval(), 50);
}

TEST_F(MainFormTest, DefaultLayoutWithoutSettingsFile)
{
    EXPECT_EQ(form->windowState(), Qt::WindowNoState);
    EXPECT_EQ(form->pos(), QPoint(30, 25));
    EXPECT_EQ(form->size(), QSize(735, 495));
    EXPECT_EQ(form->toolBarArea(form->Toolbar), Qt::TopToolBarArea);
    for (QDockWidget* window : {form->ToolWndSettings, form->ToolWndTable}) {
        SCOPED_TRACE(window->windowTitle().toStdString());
        EXPECT_EQ(form->dockWidgetArea(window), Qt::RightDockWidgetArea);
        EXPECT_FALSE(window->isFloating());
        EXPECT_FALSE(window->isHidden());
    }
    EXPECT_EQ(form->PageControl->tabPosition(), QTabWidget::East);
    EXPECT_TRUE(form->miTools->isChecked());
    EXPECT_TRUE(form->btnTools->isChecked());
    EXPECT_TRUE(form->miTable->isChecked());
    EXPECT_TRUE(form->btnTable->isChecked());
    // Not the folder of the help text, where an installed copy keeps it.
    EXPECT_EQ(form->CurrentPath, QStringLiteral("/home/user/"));

    EXPECT_EQ(form->CurrentMethod(), DigitizeMethod::MaxBrightness);
    EXPECT_EQ(form->StepBox->currentText(), QStringLiteral("пиксели"));
    EXPECT_EQ(form->ZoomBox->currentText(), QStringLiteral("2"));
    EXPECT_EQ(form->Document.Selected(), -1);
    EXPECT_EQ(form->TabRowHeight, 0);
    EXPECT_EQ(form->RegionRect.x0, -1);
    EXPECT_EQ(form->RegionRect.y1, -1);

    EXPECT_EQ(form->Grid->columnCount(), 3);
    EXPECT_EQ(form->Grid->item(0, 1)->text(), QStringLiteral("      X"));
    EXPECT_EQ(form->Grid->item(0, 2)->text(), QStringLiteral("      Y"));

    // The fourth panel holds the zoom and what a trace found.
    const int widths[] = {150, 75, 200, 260};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(form->StatusPanels[static_cast<std::size_t>(i)]->width(), widths[i]);
        EXPECT_TRUE(form->StatusText(i).isEmpty());
    }
    EXPECT_EQ(form->btnAxisSet->GlyphIndex(), 0);
    EXPECT_EQ(form->btnRegSet->GlyphIndex(), TMainForm::kGlyphArea);
    EXPECT_TRUE(form->mi2Point->isChecked());
    EXPECT_TRUE(form->miArea->isChecked());
    EXPECT_EQ(form->btnAxisSet->width(), DropDownToolButton::kWidth);
    EXPECT_EQ(form->btnRegSet->width(), DropDownToolButton::kWidth);
}

TEST_F(MainFormTest, ConstructorPlacesToolbarAndToolWindowsFromSettings)
{
    MakeForm("[WindowPosition]\r\nWindowState=0\r\nToolBar=3\r\nLeft=100\r\nTop=90\r\nWidth=600\r\nHeight=450\r\n"
             "[Path]\r\nCurrentPath=/pictures/\r\n"
             "[ToolWindow]\r\nVisible=0\r\nDocked=2\r\n[TableWindow]\r\nDocked=3\r\n");
    EXPECT_EQ(form->toolBarArea(form->Toolbar), Qt::BottomToolBarArea);
    EXPECT_TRUE(form->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(form->pos(), QPoint(100, 90));
    EXPECT_EQ(form->size(), QSize(600, 450));
    EXPECT_EQ(form->CurrentPath, QStringLiteral("/pictures/"));
    EXPECT_EQ(form->dockWidgetArea(form->ToolWndSettings), Qt::LeftDockWidgetArea);
    EXPECT_TRUE(form->ToolWndSettings->isHidden());
    EXPECT_FALSE(form->miTools->isChecked());
    EXPECT_FALSE(form->btnTools->isChecked());
    EXPECT_TRUE(form->ToolWndTable->isFloating());
    EXPECT_TRUE(form->miTable->isChecked());

    // Values outside the lists leave the designed places.
    MakeForm("[WindowPosition]\r\nToolBar=7\r\n[ToolWindow]\r\nDocked=0\r\n");
    EXPECT_EQ(form->toolBarArea(form->Toolbar), Qt::TopToolBarArea);
    EXPECT_EQ(form->dockWidgetArea(form->ToolWndSettings), Qt::RightDockWidgetArea);
}

TEST_F(MainFormTest, ToolbarButtonsInOrderWithSeparators)
{
    std::vector<QObject*> order;
    for (QAction* action : form->Toolbar->actions()) {
        if (action->isSeparator())
            order.push_back(nullptr);
        else
            order.push_back(form->Toolbar->widgetForAction(action));
    }
    const std::vector<QObject*> expected = {
        form->btnOpenImage, form->btnSaveData, nullptr,           form->btnCopy,   form->btnUndo,
        form->btnRedo,      nullptr,
        form->btnTools,     form->btnTable,    form->btnStretch,  form->btnAxisSet, form->btnRegSet,
        nullptr,            form->btnDigital,  form->btnClear,    form->btnSeries, form->btnClearSeies,
        nullptr,            form->btnExit,
    };
    EXPECT_EQ(order, expected);
}

TEST_F(MainFormTest, MethodKeysSelectMethodPageTimerAndStatus)
{
    const struct {
        int key;
        int index;
        bool timer;
        Qt::CursorShape cursor;
    } cases[] = {
        {Qt::Key_F7, 2, true, Qt::CrossCursor},
        {Qt::Key_F5, 0, false, Qt::ArrowCursor},
        {Qt::Key_F6, 1, true, Qt::CrossCursor},
        {Qt::Key_F8, 3, true, Qt::CrossCursor},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        Key(c.key);
        EXPECT_EQ(form->MetodBox->currentIndex(), c.index);
        EXPECT_EQ(form->Timer->isActive(), c.timer);
        EXPECT_EQ(form->Chart->RestingCursor(), c.cursor);
        EXPECT_EQ(form->StatusText(2), QLatin1Char(' ') + form->MetodBox->itemText(c.index));
        EXPECT_EQ(form->srData->MarkersVisible(), c.index >= 2);
        if (c.index != 0) {
            EXPECT_EQ(form->PageControl->currentWidget(), form->tabDigit);
        }
    }
    // Manual and Edit take the trace command away; without a picture it stays off anyway.
    EXPECT_FALSE(form->btnDigital->isEnabled());
}

TEST_F(MainFormTest, CalibrationModeSuspendsCommandKeys)
{
    form->SetDataGroupEnabled(true);
    form->btnAxisSet->setChecked(true);
    for (int key : {Qt::Key_F2, Qt::Key_F3, Qt::Key_F5, Qt::Key_F6, Qt::Key_F7, Qt::Key_F8})
        Key(key);
    EXPECT_EQ(form->MetodBox->currentIndex(), 0);
    EXPECT_EQ(form->TakeCalls(), Calls{});

    // F1 is never suspended.
    Key(Qt::Key_F1);
    EXPECT_EQ(form->TakeCalls(), Calls{"miDigHelpClick"});

    form->btnAxisSet->setChecked(false);
    Key(Qt::Key_F2);
    Key(Qt::Key_F3);
    EXPECT_EQ(form->TakeCalls(), (Calls{"btnSaveDataClick", "miOpenFileClick"}));
}

TEST_F(MainFormTest, SaveKeyNeedsData)
{
    Key(Qt::Key_F2);
    EXPECT_EQ(form->TakeCalls(), Calls{});
}

TEST_F(MainFormTest, EscapeLeavesCalibrationThenRegionDrawing)
{
    form->btnAxisSet->setChecked(true);
    form->btnRegSet->setChecked(true);
    Key(Qt::Key_Escape);
    EXPECT_FALSE(form->btnAxisSet->isChecked());
    EXPECT_FALSE(form->btnRegSet->isChecked());
    EXPECT_EQ(form->TakeCalls(), Calls{"btnAxisSetClick up"});

    // Nothing to cancel: silently nothing.
    Key(Qt::Key_Escape);
    EXPECT_EQ(form->TakeCalls(), Calls{});
}

TEST_F(MainFormTest, ShiftArrowsShiftTheAxesAndWinOverCtrl)
{
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        const char* handler;
    } cases[] = {
        {Qt::Key_Left, Qt::ShiftModifier, "spbtnXTopClick"},
        {Qt::Key_Up, Qt::ShiftModifier, "spbtnYTopClick"},
        {Qt::Key_Right, Qt::ShiftModifier, "spbtnXBottomClick"},
        {Qt::Key_Down, Qt::ShiftModifier, "spbtnYBottomClick"},
        {Qt::Key_Left, Qt::ShiftModifier | Qt::ControlModifier, "spbtnXTopClick"},
        {Qt::Key_Down, Qt::ShiftModifier | Qt::AltModifier, "spbtnYBottomClick"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.handler);
        form->Grid->setEnabled(true);
        form->Grid->setCurrentCell(2, 1);
        Key(c.key, c.modifiers);
        EXPECT_EQ(form->TakeCalls(), Calls{c.handler});
        // Consumed: the table's current cell did not move, and Ctrl did not step the range.
        EXPECT_EQ(form->Grid->currentRow(), 2);
        EXPECT_EQ(form->Grid->currentColumn(), 1);
        EXPECT_EQ(form->spXMin->Value(), 0);
        EXPECT_EQ(form->spXMax->Value(), 10);
        EXPECT_EQ(form->spYMin->Value(), -3);
        EXPECT_EQ(form->spYMax->Value(), 3);
    }
}

TEST_F(MainFormTest, ArrowsInCalibrationOrWithoutModifierReachTheFocusedControl)
{
    form->Grid->setEnabled(true);
    form->Grid->setCurrentCell(1, 1);
    // Automatic method, no picture: a plain arrow is the table's.
    Key(Qt::Key_Down);
    EXPECT_EQ(form->Grid->currentRow(), 2);
    // Manual method but no picture: still the table's.
    Key(Qt::Key_F7);
    Key(Qt::Key_Down);
    EXPECT_EQ(form->Grid->currentRow(), 3);

    form->btnAxisSet->setChecked(true);
    Key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(form->TakeCalls(), Calls{});
}

TEST_F(MainFormTest, KeysOfFloatingToolWindowsPassTheWindowFirst)
{
    form->ToolWndSettings->setFloating(true);
    Key(Qt::Key_F6, Qt::NoModifier, form->MetodBox);
    EXPECT_EQ(form->MetodBox->currentIndex(), 1);
}

class CtrlArrowTest : public MainFormTest {
protected:
    void SetLimits(double xMin, double xMax, double yMin, double yMax)
    {
        for (SpinEdit* edit : {form->spXMin, form->spXMax, form->spYMin, form->spYMax})
            edit->SetDecimalSeparator(QStringLiteral("."));
        form->spXMin->SetValue(xMin);
        form->spXMax->SetValue(xMax);
        form->spYMin->SetValue(yMin);
        form->spYMax->SetValue(yMax);
    }
    std::string Texts() const
    {
        return (form->spXMin->Text() + QLatin1Char(' ') + form->spXMax->Text() + QLatin1Char(' ') +
                form->spYMin->Text() + QLatin1Char(' ') + form->spYMax->Text())
            .toStdString();
    }
};

TEST_F(CtrlArrowTest, StepsTheRangesThroughTheLimitEdits)
{
    const struct {
        const char* name;
        bool aboutZero;
        int key;
        double limits[4];
        const char* expected;
    } cases[] = {
        {"WidenXAboutMiddle", false, Qt::Key_Left, {0, 10, -3, 3}, "-0.025 10.025 -3 3"},
        {"WidenXAboutZero", true, Qt::Key_Left, {0, 10, -3, 3}, "0 10.025 -3 3"},
        {"NarrowXAboutZero", true, Qt::Key_Right, {-2, 10, -3, 3}, "-1.994 9.97 -3 3"},
        {"WidenYAboutMiddle", false, Qt::Key_Up, {0, 10, -4, 4}, "0 10 -4.02 4.02"},
        {"NarrowYAboutZero", true, Qt::Key_Down, {0, 10, 5, 10}, "0 10 5.00625 9.9875"},
        {"BothZeroLeftAsIs", true, Qt::Key_Up, {0, 10, 0, 0}, "0 10 0 0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        form->AboutZero = c.aboutZero;
        SetLimits(c.limits[0], c.limits[1], c.limits[2], c.limits[3]);
        Key(c.key, Qt::ControlModifier, form->Chart); // a text field would take the key itself
        EXPECT_EQ(Texts(), c.expected);
    }
}

TEST_F(CtrlArrowTest, WritesMinFirstAndEachWriteRunsItsHandler)
{
    SetLimits(0, 10, -3, 3);
    std::vector<std::string> writes;
    QObject::connect(form->spXMin, &SpinEdit::Changed, [&] { writes.push_back("min " + form->spXMin->Text().toStdString()); });
    QObject::connect(form->spXMax, &SpinEdit::Changed, [&] { writes.push_back("max " + form->spXMax->Text().toStdString()); });
    Key(Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(writes, (Calls{"min -0.025", "max 10.025"}));
}

TEST_F(CtrlArrowTest, SuspendedWhileCalibrating)
{
    SetLimits(0, 10, -3, 3);
    form->btnAxisSet->setChecked(true);
    Key(Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(Texts(), "0 10 -3 3");
}

class PictureOpenTest : public MainFormTest {
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        form->Document.OpenPicture(std::make_unique<TFastBMP>(8, 8));
        form->Document.Adjust(form->Document.Adjustments());
        form->EnablePictureGroup();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
};

TEST_F(PictureOpenTest, PlainArrowsMoveThePointerInManualMethods)
{
    Key(Qt::Key_F7);
    const QPoint start = form->Chart->mapToGlobal(QPoint(20, 20));
    QCursor::setPos(start);
    form->Grid->setEnabled(true);
    form->Grid->setCurrentCell(1, 1);
    const struct {
        int key;
        QPoint moved;
    } cases[] = {{Qt::Key_Left, {-1, 0}}, {Qt::Key_Up, {-1, -1}}, {Qt::Key_Right, {0, -1}}, {Qt::Key_Down, {0, 0}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        Key(c.key);
        EXPECT_EQ(QCursor::pos(), start + c.moved);
        EXPECT_EQ(form->Grid->currentRow(), 1);
    }
    // In the automatic methods the arrow is the table's again.
    Key(Qt::Key_F5);
    Key(Qt::Key_Down);
    EXPECT_EQ(QCursor::pos(), start);
    EXPECT_EQ(form->Grid->currentRow(), 2);
}

TEST_F(PictureOpenTest, SpaceAndDeleteClickAtThePointerAfterTheKey)
{
    std::vector<std::string> presses;
    QObject::connect(form->Chart, &PlotChart::MouseDown, [&](Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y) {
        presses.push_back((button == Qt::LeftButton ? "left " : "right ") + std::to_string(x) + "," + std::to_string(y));
    });
    const QPoint at(33, 44);
    QCursor::setPos(form->Chart->mapToGlobal(at));
    // Not in an automatic method.
    Key(Qt::Key_Space);
    QCoreApplication::processEvents();
    EXPECT_TRUE(presses.empty());

    Key(Qt::Key_F7);
    Key(Qt::Key_Space);
    EXPECT_TRUE(presses.empty()); // handled after the key, not inside it
    QCoreApplication::processEvents();
    Key(Qt::Key_Delete);
    QCoreApplication::processEvents();
    EXPECT_EQ(presses, (Calls{"left 33,44", "right 33,44"}));
    const Calls fromKeys = form->TakeCalls();

    // Space places the point exactly where a left click would.
    QTest::mouseClick(form->Chart, Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(form->TakeCalls(), fromKeys);
    EXPECT_EQ(fromKeys, Calls{"PlacePoint 33,44 manual"});

    // Not while calibrating, and not with the pointer off the plot.
    presses.clear();
    form->btnAxisSet->setChecked(true);
    Key(Qt::Key_Space);
    form->btnAxisSet->setChecked(false);
    QCursor::setPos(form->Chart->mapToGlobal(QPoint(-5, 10)));
    Key(Qt::Key_Space);
    QCoreApplication::processEvents();
    EXPECT_TRUE(presses.empty());
}

TEST_F(PictureOpenTest, ClickOnACalibrationMarkerIsAReferenceClick)
{
    form->btnAxisSet->setChecked(true);
    form->srAxis->Add(5, 0, {}, Qt::red);
    const int x = form->srAxis->CalcXPos(0);
    const int y = form->srAxis->CalcYPos(0);
    form->Chart->ClickAt(Qt::LeftButton, Qt::NoModifier, x, y);
    EXPECT_EQ(form->TakeCalls(), Calls{"AxisReferenceClick " + std::to_string(x) + "," + std::to_string(y)});
}

TEST_F(PictureOpenTest, ManualMethodsTakeTheTraceCommandAway)
{
    const struct {
        int key;
        bool digital;
    } cases[] = {{Qt::Key_F7, false}, {Qt::Key_F6, true}, {Qt::Key_F8, false}, {Qt::Key_F5, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        Key(c.key);
        EXPECT_EQ(form->btnDigital->isEnabled(), c.digital);
        EXPECT_EQ(form->btnDigital->toolTip().isEmpty(), !c.digital);
    }
}

TEST_F(MainFormTest, ToolWindowTogglesStayInStep)
{
    const struct {
        QToolButton* button;
        QAction* item;
        QDockWidget* window;
    } toggles[] = {
        {form->btnTools, form->miTools, form->ToolWndSettings},
        {form->btnTable, form->miTable, form->ToolWndTable},
    };
    for (const auto& t : toggles) {
        SCOPED_TRACE(t.window->windowTitle().toStdString());
        QTest::mouseClick(t.button, Qt::LeftButton);
        EXPECT_FALSE(t.button->isChecked());
        EXPECT_FALSE(t.item->isChecked());
        EXPECT_TRUE(t.window->isHidden());

        t.item->trigger();
        EXPECT_TRUE(t.item->isChecked());
        EXPECT_TRUE(t.button->isChecked());
        EXPECT_FALSE(t.window->isHidden());

        t.window->close();
        EXPECT_FALSE(t.item->isChecked());
        EXPECT_FALSE(t.button->isChecked());
        EXPECT_TRUE(t.window->isHidden());

        QTest::mouseClick(t.button, Qt::LeftButton);
        EXPECT_TRUE(t.item->isChecked());
        EXPECT_FALSE(t.window->isHidden());
    }
}

TEST_F(MainFormTest, SeriesToggleKeepsButtonAndMenuInStep)
{
    form->SetDataGroupEnabled(true);
    form->Document.AddPoint(DataPoint{1, 2, {}, ToCoreColourOrNone(Qt::red)});
    QTest::mouseClick(form->btnSeries, Qt::LeftButton);
    EXPECT_TRUE(form->btnSeries->isChecked());
    EXPECT_TRUE(form->miHideSeies->isChecked());
    EXPECT_FALSE(form->srData->Active());
    form->miHideSeies->trigger();
    EXPECT_FALSE(form->miHideSeies->isChecked());
    EXPECT_FALSE(form->btnSeries->isChecked());
    EXPECT_TRUE(form->srData->Active());
    form->miHideSeies->trigger();
    EXPECT_TRUE(form->btnSeries->isChecked());
    EXPECT_FALSE(form->srData->Active());
    QTest::mouseClick(form->btnSeries, Qt::LeftButton);
    EXPECT_FALSE(form->miHideSeies->isChecked());
    EXPECT_TRUE(form->srData->Active());
    // Hiding keeps the points.
    EXPECT_EQ(form->srData->Count(), 1);
}

TEST_F(MainFormTest, PageTabsFollowTheDock)
{
    QDockWidget* window = form->ToolWndSettings;
    form->addDockWidget(Qt::LeftDockWidgetArea, window);
    EXPECT_EQ(form->PageControl->tabPosition(), QTabWidget::West);

    window->setFloating(true);
    EXPECT_EQ(form->PageControl->tabPosition(), QTabWidget::North);
    ASSERT_GT(form->TabRowHeight, 0);
    EXPECT_EQ(form->TabRowHeight, form->PageControl->tabBar()->tabRect(0).height());
    // The step before a dock change takes back the row the float added.
    const int floatingHeight = window->height();
    form->ToolWndSettingsDockChanging();
    EXPECT_EQ(window->height(), floatingHeight - form->TabRowHeight);
    form->ToolWndSettingsDockChanged();
    EXPECT_EQ(window->height(), floatingHeight);
    // Floating, it can be moved but not resized.
    EXPECT_EQ(window->minimumSize(), window->size());
    EXPECT_EQ(window->maximumSize(), window->size());

    window->setFloating(false);
    form->addDockWidget(Qt::RightDockWidgetArea, window);
    EXPECT_EQ(form->PageControl->tabPosition(), QTabWidget::East);
    EXPECT_NE(window->minimumSize(), window->maximumSize());

    // Measured once; a second float grows by the same row height.
    const int rowHeight = form->TabRowHeight;
    window->setFloating(true);
    EXPECT_EQ(form->TabRowHeight, rowHeight);
}

TEST_F(MainFormTest, UserPageTurnsDriveTimerButProgramPageChangesDoNot)
{
    form->EnablePictureGroup();
    form->PageControl->setCurrentIndex(1);
    EXPECT_TRUE(form->Timer->isActive());
    EXPECT_EQ(form->Chart->RestingCursor(), Qt::CrossCursor);
    form->PageControl->setCurrentIndex(2);
    EXPECT_FALSE(form->Timer->isActive());
    EXPECT_EQ(form->Chart->RestingCursor(), Qt::ArrowCursor);

    form->SetActivePage(form->tabDigit);
    EXPECT_FALSE(form->Timer->isActive());
}

TEST_F(MainFormTest, BackgroundClicksDispatchByModeAndMethod)
{
    const struct {
        const char* name;
        int method;
        bool calibrating;
        Qt::MouseButton button;
        Calls expected;
    } cases[] = {
        {"MaxBrightness", 0, false, Qt::LeftButton, {}},
        {"ByColour", 1, false, Qt::LeftButton, {}},
        {"Manual", 2, false, Qt::LeftButton, {"PlacePoint 40,50 manual"}},
        {"Edit", 3, false, Qt::LeftButton, {"PlacePoint 40,50 edit"}},
        {"ManualRightButton", 2, false, Qt::RightButton, {}},
        {"ManualMiddleButton", 2, false, Qt::MiddleButton, {}},
        {"CalibrationWins", 2, true, Qt::LeftButton, {"AxisReferenceClick 40,50"}},
        {"CalibrationInAutomatic", 0, true, Qt::LeftButton, {"AxisReferenceClick 40,50"}},
        {"CalibrationRightButton", 0, true, Qt::RightButton, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        form->MetodBox->setCurrentIndex(c.method);
        form->btnAxisSet->setChecked(c.calibrating);
        emit form->Chart->ClickBackground(c.button, Qt::NoModifier, 40, 50);
        EXPECT_EQ(form->TakeCalls(), c.expected);
    }
}

TEST_F(MainFormTest, FirstManualPointEnablesTheDataGroup)
{
    form->MetodBox->setCurrentIndex(3);
    emit form->Chart->ClickBackground(Qt::LeftButton, Qt::NoModifier, 1, 2);
    EXPECT_FALSE(form->DataPresent());

    form->MetodBox->setCurrentIndex(2);
    emit form->Chart->ClickBackground(Qt::LeftButton, Qt::NoModifier, 1, 2);
    for (QToolButton* button : {form->btnSaveData, form->btnCopy, form->btnSeries, form->btnClearSeies}) {
        EXPECT_TRUE(button->isEnabled());
        EXPECT_EQ(button->toolTip(), form->ButtonHint(button));
    }
    for (QAction* item : {form->miSaveData, form->miCopy, form->miHideSeies, form->miClearSeies})
        EXPECT_TRUE(item->isEnabled());
    EXPECT_TRUE(form->Grid->isEnabled());
}

TEST_F(MainFormTest, OpeningAPictureEnablesItsGroupAndTakesSavingAway)
{
    form->SetDataGroupEnabled(true);
    form->EnablePictureGroup();
    for (QToolButton* button : {form->btnStretch, static_cast<QToolButton*>(form->btnAxisSet),
                                static_cast<QToolButton*>(form->btnRegSet), form->btnDigital, form->btnClear}) {
        EXPECT_TRUE(button->isEnabled());
        EXPECT_FALSE(button->toolTip().isEmpty() && !form->ButtonHint(button).isEmpty());
    }
    for (QAction* item : {form->miStretch, form->miAxisSet, form->miDigitize, form->miHideImage})
        EXPECT_TRUE(item->isEnabled());
    EXPECT_TRUE(form->PageControl->isTabEnabled(1));
    EXPECT_TRUE(form->PageControl->isTabEnabled(2));
    EXPECT_TRUE(form->chRegion->isEnabled());

    EXPECT_FALSE(form->btnSaveData->isEnabled());
    EXPECT_TRUE(form->btnSaveData->toolTip().isEmpty());
    EXPECT_FALSE(form->miSaveData->isEnabled());
    EXPECT_TRUE(form->btnCopy->isEnabled());
    EXPECT_TRUE(form->btnSeries->isEnabled());
    EXPECT_TRUE(form->btnClearSeies->isEnabled());

    // Deleting the data leaves the table usable.
    form->SetDataGroupEnabled(false);
    EXPECT_FALSE(form->btnCopy->isEnabled());
    EXPECT_TRUE(form->Grid->isEnabled());
}

TEST_F(MainFormTest, DoubleClickPicksColourOnlyInColourMethodWithTimer)
{
    emit form->Chart->DblClick();
    EXPECT_EQ(form->TakeCalls(), Calls{});

    Key(Qt::Key_F6);
    emit form->Chart->DblClick();
    EXPECT_EQ(form->TakeCalls(), Calls{"PickLineColour"});

    form->Timer->stop();
    emit form->Chart->DblClick();
    EXPECT_EQ(form->TakeCalls(), Calls{});
}

TEST(ErrorConvention, EscapedErrorIsShownWithTitleAndFullStop)
{
    ScriptedDialogs dialogs;
    const bool handled = DeliverReportingErrors(
        []() -> bool { throw FileError("Cannot open file"); }, dialogs, QStringLiteral("quillmark"));
    EXPECT_TRUE(handled);
    EXPECT_EQ(dialogs.Calls, Calls{"error: quillmark | Cannot open file."});

    dialogs.Calls.clear();
    DeliverReportingErrors([]() -> bool { throw std::out_of_range("bad index!"); }, dialogs,
                           QStringLiteral("quillmark"));
    EXPECT_EQ(dialogs.Calls, Calls{"error: quillmark | bad index!"});
}

TEST(ErrorConvention, NormalDeliveryPassesThrough)
{
    ScriptedDialogs dialogs;
    EXPECT_FALSE(DeliverReportingErrors([] { return false; }, dialogs, QStringLiteral("q")));
    EXPECT_TRUE(DeliverReportingErrors([] { return true; }, dialogs, QStringLiteral("q")));
    EXPECT_TRUE(dialogs.Calls.empty());
}

} // namespace

TEST_F(MainFormTest, NoToolkitContextMenuCanHideAToolWindowBehindItsButton)
{
    EXPECT_EQ(form->createPopupMenu(), nullptr);
}

TEST(ToolkitTranslations, StandardButtonsSpeakTheSystemsLanguage)
{
    ASSERT_TRUE(InstallToolkitTranslations(*QCoreApplication::instance(), QLocale(QLocale::Russian)));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Отмена"));
}
