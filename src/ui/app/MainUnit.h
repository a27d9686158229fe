#pragma once
// TMainForm: the one main window. It owns the plot, the table, the tool
// windows, the timer, the pixel buffers and the settings, holds the few state
// fields the subsystems share, decides which commands are available and routes
// every key, command and plot click. Handlers are declared here in blocks headed
// by the file that defines them.
#include "ui/app/MainFormEnvironment.h"
#include "calibration/RangeStep.h"
#include "digitize/ManualEdit.h"
#include "digitize/Trace.h"
#include "document/DigitizeSession.h"
#include "formats/StartupFormats.h"
#include "imaging/AdjustmentPipeline.h"
#include "settings/Language.h"
#include "settings/SettingsStore.h"
#include "calibration/Calibration.h"
#include "calibration/PlotGeometry.h"
#include "imaging/FastBMP.h"

#include <QIcon>
#include <QImage>
#include <QList>
#include <QMainWindow>
#include <QPointer>

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QDockWidget;
class QFrame;
class QGridLayout;
class QLabel;
class QMenu;
class QPainter;
class QPushButton;
class QSlider;
class QTabWidget;
class QTableWidget;
class QTimer;
class QToolBar;
class QToolButton;

class QMimeData;
class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;

namespace quillmark {

class DropDownToolButton;
class PlotAxis;
class PlotChart;
class PlotSeries;
class SpinEdit;
class TOptionsForm;
class TSetAxisForm;
class SplitSpinButton;
class TAboutBox;
class THelpForm;
class THintForm;

// The item index of MetodBox.
enum class DigitizeMethod { MaxBrightness = 0, ByColour = 1, Manual = 2, Edit = 3 };

// Two corners on the plot surface; -1 everywhere means no region.
struct RegionCorners {
    int32_t x0 = -1;
    int32_t y0 = -1;
    int32_t x1 = -1;
    int32_t y1 = -1;
};

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(MainFormEnvironment environment, QWidget* parent = nullptr);
    ~TMainForm() override;

    // ---- The document ----------------------------------------------------
    // Everything the user works on: pictures, axes, calibration, region,
    // points, selection, trace settings. Handlers read their control, call
    // one operation of it, and the window redraws from it (SessionChanged).
    DigitizeSession Document;
    // Redraws the parts a document operation changed (SessionChange bits).
    void SessionChanged(unsigned changes);
    // The plot rectangle and the fit, handed to the document before an
    // operation that converts between pixels and values.
    void SyncSessionPlot();

    // ---- Own state, in declaration order ---------------------------------
    int32_t TabRowHeight = 0;     // one row of page tabs, pixels; 0 not yet measured
    RegionCorners RegionRect;       // the drag of region drawing; -1: no press yet
    std::unique_ptr<SettingsStore> IniFile; // the settings as read at start-up
    QString CurrentPath;          // folder of the last picture, trailing separator

    // ---- Derived modes: read from the controls, never cached ------------
    bool PictureOpen() const;
    bool CalibrationOn() const;   // btnAxisSet is down
    bool RegionDrawingOn() const; // btnRegSet is down
    bool DataPresent() const;     // btnSaveData is enabled
    DigitizeMethod CurrentMethod() const;
    bool ManualMethod() const;    // Manual or Edit

    // ---- Components ------------------------------------------------------
    PlotChart* Chart = nullptr;
    PlotSeries* srData = nullptr;   // the digitized points; owned by Chart
    PlotSeries* srAxis = nullptr;   // calibration markers
    PlotSeries* srRegion = nullptr; // the region rectangle

    QToolBar* Toolbar = nullptr;
    QToolButton* btnOpenImage = nullptr;
    QToolButton* btnSaveData = nullptr;
    QToolButton* btnCopy = nullptr;
    QToolButton* btnUndo = nullptr;
    QToolButton* btnRedo = nullptr;
    QToolButton* btnTools = nullptr;
    QToolButton* btnTable = nullptr;
    QToolButton* btnStretch = nullptr;
    // The glyphs of the two drop-down buttons, one list for both: 0, 1, 2 the
    // 2-, 3- and 4-point calibration (btnAxisSet's glyph index is the
    // calibration method), 3 and 4 the region as area or contour (btnRegSet).
    static constexpr int kGlyphTwoPoints = 0;
    static constexpr int kGlyphArea = 3;
    static constexpr int kGlyphContour = 4;
    QList<QIcon> ImageList1;
    DropDownToolButton* btnAxisSet = nullptr;
    DropDownToolButton* btnRegSet = nullptr;
    QToolButton* btnDigital = nullptr;
    QToolButton* btnClear = nullptr;
    QToolButton* btnSeries = nullptr;
    QToolButton* btnClearSeies = nullptr;
    QToolButton* btnExit = nullptr;

    // Checkable items (miTools, miTable, miHideImage, miHideSeies and the radio
    // items) invert their own check before their handler runs, so a handler
    // reads the new state rather than inverting it.
    QAction* miOpenFile = nullptr;
    QAction* miSaveData = nullptr;
    QAction* miExit = nullptr;
    QAction* miUndo = nullptr;   // menu "Правка"
    QAction* miRedo = nullptr;
    QAction* miZoomIn = nullptr;    // menu "Вид"
    QAction* miZoomOut = nullptr;
    QAction* miZoomReset = nullptr;
    QAction* miDigitize = nullptr;
    QAction* miCopy = nullptr;
    QAction* miStretch = nullptr;
    QAction* miAxisSet = nullptr; // the item that opens the submenu below
    QAction* mi2PointSet = nullptr;
    QAction* mi3PointSet = nullptr;
    QAction* mi4PointSet = nullptr;
    QAction* miHideImage = nullptr;
    QAction* miHideSeies = nullptr;
    QAction* miClearSeies = nullptr;
    QAction* miTools = nullptr;
    QAction* miTable = nullptr;
    QAction* miOptions = nullptr;
    QAction* miDigHelp = nullptr;
    QAction* miAbout = nullptr;

    QMenu* pmPoinSet = nullptr;
    QAction* mi2Point = nullptr;
    QAction* mi3Point = nullptr;
    QAction* mi4Point = nullptr;
    QMenu* pmRegionSet = nullptr;
    QAction* miArea = nullptr;
    QAction* miContour = nullptr;

    QDockWidget* ToolWndSettings = nullptr;
    QTabWidget* PageControl = nullptr;
    QWidget* tabAxes = nullptr;  // page 0
    QWidget* tabDigit = nullptr; // page 1
    QWidget* tabImage = nullptr; // page 2
    SpinEdit* spXMin = nullptr;
    SpinEdit* spXMax = nullptr;
    SpinEdit* spYMin = nullptr;
    SpinEdit* spYMax = nullptr;
    QCheckBox* chRegion = nullptr;
    QComboBox* MetodBox = nullptr;
    QComboBox* StepBox = nullptr;
    QComboBox* ZoomBox = nullptr;

    QDockWidget* ToolWndTable = nullptr;
    QTableWidget* Grid = nullptr;

    std::array<QLabel*, 4> StatusPanels{};
    QTimer* Timer = nullptr;

    // ---- app/MainUnit.cpp ------------------------------------------------
    // Every key of this window's controls (tool windows included) arrives here
    // before the focused control sees it. Setting key to 0 consumes it.
    void FormKeyDown(int& key, Qt::KeyboardModifiers shift);
    void btnToolsClick();
    void miToolsClick(); // runs after the item has inverted its own check
    void ToolWndSettingsClose();
    void btnTableClick();
    void miTableClick();
    void ToolWndTableClose();
    void ToolWndSettingsDockChanging();
    // Floating, the settings window keeps its size; docked, the dock does.
    void ToolWndSettingsDockChanged();
    void FixFloatingSettingsSize();
    void ReleaseSettingsWindowSize();
    void btnSeriesClick();
    void miHideSeiesClick(); // runs after the item has inverted its own check
    void MetodBoxChange();
    void PageControlChange();
    void ChartClickBackground(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void srAxisClick(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void ChartDblClick();
    void miExitClick();

    // Enables or disables a toolbar button and its menu twin together; the
    // button's hint shows only while it is enabled. Either may be null.
    void SetCommandEnabled(QToolButton* button, QAction* menuItem, bool enabled);
    // The hint a button shows while enabled.
    void SetButtonHint(QToolButton* button, const QString& hint);
    QString ButtonHint(QToolButton* button) const;
    // Opening a picture enables this group, for good, and disables saving.
    void EnablePictureGroup();
    // The data commands. Disabling leaves Grid enabled: a table once filled
    // stays usable even when the data are deleted.
    void SetDataGroupEnabled(bool enabled);
    // Makes a page active without running PageControlChange, which is for
    // pages the user turns. Every page change made by the program goes here.
    void SetActivePage(QWidget* page);
    // Status bar panel 0..3.
    void SetStatusText(int panel, const QString& text);
    QString StatusText(int panel) const;

    // ---- app/SettingsFile.cpp --------------------------------------------
    // The rest of the settings, read on the first showing: grid colour,
    // tool-window places, picture fit, methods, axis ranges and step. Writes
    // to the edits run their change handlers, in the order the keys are read.
    void FormShow();
    // Writes every setting from the live state, then puts the file in place
    // through a temporary file and a rename; a failed write throws FileError
    // and leaves the old file as it was.
    void FormClose();
    // Where the settings are read and written: beside the program while that
    // folder can be written, else the user's configuration folder (read
    // first, with the program folder's file as the fallback for reading).
    static QString SettingsFileLocation(const MainFormEnvironment& environment);
    // The language chosen in the options dialog, as the settings file holds it.
    static LanguageOption SavedLanguageOption(const MainFormEnvironment& environment);
    // The text written at close; FormClose puts it in place.
    std::string SettingsText() const;
    // The decimal separator reals are read and written with.
    QString SettingsSeparator() const;

private:
    std::unique_ptr<SettingsStore> OpenSettingsFile();
    void WriteSettings();
    void ReadToolWindowPlaces();
    double ReadIniReal(const char* section, const char* key) const;
    void WriteIniReal(const char* section, const char* key, double value);
    QString m_settingsLocation;

public:

    // ---- imaging/OpenPicture.cpp -----------------------------------------
    // Virtual, like the other dispatch targets below, so window tests can see
    // where a key or click was routed.
    virtual void miOpenFileClick();
    // Loads the picture and makes it the open one. Every failure is thrown to
    // the application's error box; what was done before it stays done (the
    // background may already have the new size), the rest keeps the previous
    // picture.
    virtual void OpenPictureFile(const QString& path);
    // A drop from the file manager: the first local file, if its extension is
    // one the registry knows; anything else is refused without a message.
    QString DroppedPictureFile(const QMimeData* mime) const;
    // The registry every picture is opened through, filled before any control
    // exists, and the open dialog's filter built from it.
    const PictureRegistry& Pictures() const { return *m_pictures; }
    QString OpenPictureFilter() const { return m_openPictureFilter; }

    // ---- document/HistoryHandlers.cpp -------------------------------------
    // Ctrl+Z undoes the document's last step, Ctrl+Shift+Z and Ctrl+Y redo
    // it; the controls then show the document as it is again.
    void miUndoClick();
    void miRedoClick();

    // ---- The view over the plot (ui/plot/ViewHandlers.cpp) ----------------
    // Zoom and pan are views, not document changes: no undo step, nothing
    // saved. Each picture keeps its view while the program runs.
    void miZoomInClick();
    void miZoomOutClick();
    void miZoomResetClick();
    // The status bar's fourth panel: screen pixels per picture pixel, in per
    // cent; empty without a picture.
    void ShowZoom();
    // Before another picture is opened, and after: the view it had last.
    void KeepPictureView();
    void RestorePictureView(const QString& path);
    // The pointer's move for an arrow key of Manual and Edit: one picture
    // pixel when the view shows them larger than a screen pixel, otherwise
    // one screen pixel.
    QPoint ArrowStep(QPoint direction) const;
    // The two commands' texts ("Отменить <step>") and whether they can run:
    // not while calibrating, drawing a region or tracing.
    void UpdateUndoCommands();
    // Writes every control that shows a document value (limits, increments,
    // region, adjustments, fit, the table) without running its handler.
    void ShowSessionControls();
    // The four axis kind boxes as the document has the axes.
    void ShowAxisKinds();

    // ---- digitize/ExportHandlers.cpp --------------------------------------
    // Saves every point to a data file chosen in the save dialog. The file is
    // written beside the target and renamed over it only when complete, so a
    // failed write leaves an existing file as it was; the failure is raised
    // as a FileError carrying the system's reason.
    virtual void btnSaveDataClick();
    void miSaveDataClick();
    // Puts every point on the clipboard as tab-separated text.
    void btnCopyClick();
    void miCopyClick();
    // Before points changed since the last save or copy could be lost (the
    // window closes, another picture opens, a trace replaces points placed
    // by hand): asks "Сохранить данные?" and saves on Да. False when the
    // user cancels, or cancels the save; then nothing may go on.
    bool KeepUnsavedData();
    // Marks the points changed since the last save or copy; byHand says
    // whether the user made the change (a trace's points are not by hand).
    void MarkDataChanged(bool byHand);

private:
    bool m_dataUnsaved = false;
    bool m_pointsByHand = false;

public:

    // ---- calibration/FitHandlers.cpp ------------------------------------
    // Runs after btnStretch has toggled (down: fit, up: actual size); miStretch
    // toggles the button and runs it too. Both axis ranges are rescaled about
    // their middles through the limit edits, so each write re-applies an axis.
    void btnStretchClick();
    void miStretchClick();

    // ---- calibration/AxisHandlers.cpp ------------------------------------
    // Writing any edit of the axes page runs its change handler at once, and
    // a limit handler may write the increment edit, which runs its handler in
    // turn: every write below says what it sets off.
    SpinEdit* spXIncrement = nullptr;
    SpinEdit* spYIncrement = nullptr;
    QCheckBox* chXLog = nullptr;       // "Лог. шкала"
    QCheckBox* chYLog = nullptr;
    QCheckBox* chXRev = nullptr;       // "Обратная"
    QCheckBox* chYRev = nullptr;
    // A kind box of an axis clicked: the document makes the axis log or
    // linear, reversed or forward; the edits show the range it then has.
    void AxisKindClick(Axis axis);
    SplitSpinButton* spbtnX = nullptr; // upper half: Top, lower half: Bottom
    SplitSpinButton* spbtnY = nullptr;
    void spXMinChange();
    void spXMaxChange();
    void spYMinChange();
    void spYMaxChange();
    void spXIncrementChange(); // a negative value is refused by the plot (throws)
    void spYIncrementChange();
    virtual void spbtnXTopClick();
    virtual void spbtnXBottomClick();
    virtual void spbtnYTopClick();
    virtual void spbtnYBottomClick();
    // The one place an axis range is validated and applied, with its grid
    // increment and label mask. axis is Chart->BottomAxis() or
    // Chart->LeftAxis(). A range with max <= min is refused with an error box;
    // the axis then keeps its last accepted range and the edits keep what
    // they show.
    void ApplyAxisRange(PlotAxis& axis, long double min, long double max);
    // Writes the increment the document holds into the axis's increment edit.
    void ShowAxisIncrement(Axis axis);

    // ---- calibration/CalFileHandlers.cpp --------------------------------
    // The calibration file: the six axis edits saved, or loaded back through
    // the edits (each write runs its change handler). A file that does not
    // read as a whole changes nothing.
    QPushButton* btnSave = nullptr; // "Сохранить"
    QPushButton* btnLoad = nullptr; // "Загрузить"
    void btnSaveClick();
    void btnLoadClick();

private:
    // The two buttons side by side in one row of the axes page.
    void CreateCalFileButtons(QGridLayout* layout, int row);
    void ConnectCalFileHandlers();

public:

    // ---- calibration/CalibrationHandlers.cpp ----------------------------
    // Runs after btnAxisSet has taken its new state: down enters calibration
    // mode, up leaves it.
    virtual void btnAxisSetClick();
    void mi2PointClick();
    void mi3PointClick();
    void mi4PointClick();
    void mi2PointSetClick();
    void mi3PointSetClick();
    void mi4PointSetClick();
    void btnAxisSetMouseEnter();
    // A left click on the plot background in calibration mode.
    virtual void AxisReferenceClick(int x, int y);
    // The value dialog, straightening and the new axis limits. False when the
    // references leave a scale undefined: nothing has changed then, and the
    // mode stays on waiting for the last reference point again.
    bool SolveCalibration();
    // The glyph index of btnAxisSet.
    CalibrationMethod CurrentCalibrationMethod() const;
    // The plot rectangle and the axis bounds: the calibration transform.
    quillmark::PlotRect CalibrationRect() const;
    AxisLimits CurrentAxisLimits() const;
    // The prompt of the floating hint window, and whether it is shown.
    QString CalibrationHintText() const;
    bool CalibrationHintVisible() const;

    TSetAxisForm* SetAxisForm = nullptr;

private:
    void ConnectCalibrationHandlers();
    void SetCalibrationMethod(CalibrationMethod method, QAction* dropDownItem);
    // Sets the prompt; the window's width follows the label, and its height
    // too when sizeHeight is set (on entering the mode).
    void SetCalibrationHint(std::string_view text, bool sizeHeight);
    void ShowCalibrationHint();
    void HideCalibrationHint();

public:
    // ---- calibration/RegionHandlers.cpp ----------------------------------
    void miAreaClick();
    void miContourClick();
    // Runs after chRegion has taken its new state. The document refuses to
    // switch the region on while none has been drawn.
    void chRegionClick();
    // Press, move and release serve region drawing only, and only while
    // btnRegSet is down. The rubber band is drawn straight onto the plot
    // surface in inverting mode, so drawing it twice erases it.
    void ChartMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void ChartMouseMove(Qt::KeyboardModifiers shift, int x, int y);
    void ChartMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    // Shows or hides srRegion and enables its four edits and three labels.
    void ShowRegion(bool on);
    // Each edit drives one limit of the document's region; no range check
    // is made.
    void spXMinRegChange();
    void spXMaxRegChange();
    void spYMinRegChange();
    void spYMaxRegChange();
    // The four edits' values handed to the document as the region's limits.
    void RegionEditsChanged();
    // The region style as the glyph index of btnRegSet (kGlyphArea hatched,
    // kGlyphContour outline only): glyph, menu check and the shape's fill
    // together. The settings use it at start-up, so the saved style also
    // sets the fill.
    void SetRegionStyle(int glyphIndex);

    SpinEdit* spXMinReg = nullptr; // corner X0
    SpinEdit* spYMinReg = nullptr; // corner Y1
    SpinEdit* spXMaxReg = nullptr; // corner X1
    SpinEdit* spYMaxReg = nullptr; // corner Y0
    QLabel* Label3 = nullptr;      // "Min"
    QLabel* Label9 = nullptr;      // "Max"
    QLabel* Label10 = nullptr;     // the X and Y column header

private:
    void ConnectRegionHandlers();
    // The spin step of a region edit after its change: 1/400 of its axis pair.
    static void SetRegionStep(SpinEdit* changed, const SpinEdit* minEdit, const SpinEdit* maxEdit);

    // Whether a rubber band is on the surface now, to be inverted away by
    // the next move. A press starts with none: its corners are one point.
    bool m_rubberBandShown = false;

public:

    // ---- digitize/TraceHandlers.cpp --------------------------------------
    // A trace lets pending events run while it samples. The document is busy
    // meanwhile (Document.Busy()): its operations refuse every change, every
    // command handler and key asks it first, and the trace reads a private
    // copy of the picture. The commands' controls are disabled too, so the
    // user sees that they wait.
    void btnDigitalClick();
    void miDigitizeClick();
    void StepBoxChange();
    virtual void PickLineColour();
    // The line colour of the colour method, as ColorPanel1 shows it.
    QColor LineColour() const;
    void SetLineColour(const QColor& colour);
    // Option values read by tracing and the table, at their dialog defaults
    // until the options dialog lands.
    int LineSensOption() const;
    int ColorSensOption() const;
    // The group "Точная оцифровка" of the options dialog.
    PreciseTrace PreciseTraceOption() const;
    // Where a click at screen pixel (x, y) lands on the plot surface: the
    // pixel's corner, or with sub-pixel precision its centre, so that a click
    // and a traced row mean the same point.
    SurfacePosition ClickPosition(int x, int y) const;
    // After a trace: "Найдено: N из M" in the status bar, and a word when
    // the line was found in fewer than one column in twenty.
    void ShowTraceSummary();
    int LineWeightOption() const;
    QColor LineColourOption() const;  // series colour, cboxLine
    long double DigitsOption() const; // spDigits
    bool SortOption() const;          // chboxSort: checked means entry order
    // The decimal separator of the table and the plot labels.
    QString DecimalSeparator() const;

    SpinEdit* spStep = nullptr;
    QFrame* ColorPanel1 = nullptr;

private:
    void ConnectTraceHandlers();
    // Hands the trace settings of the controls to the document.
    void SyncTraceSettings();

public:

    // ---- digitize/ManualHandlers.cpp --------------------------------------
    // A click on srData in Manual or Edit: selects, deselects or places a
    // point; in Manual a right click on the selected point deletes it.
    // Clicks on other series and clicks in calibration mode are ignored here.
    void ChartClickSeries(PlotSeries* series, int valueIndex, Qt::MouseButton button,
                          Qt::KeyboardModifiers shift, int x, int y);
    // Adds a point at the surface pixel, or moves the selected one there;
    // manual is true for the method Manual, false for Edit.
    virtual void PlacePoint(int x, int y, bool manual);
    // The magnifier tick: refreshes the picture only while the pointer is
    // inside the plot rectangle and this window is active, then lets pending
    // events run. A timer does not fire again while its own tick runs, so the
    // tick cannot re-enter itself; a click handled meanwhile sees the
    // magnifier already finished.
    void TimerTimer();
    // Draws the enlarged surface around the pointer (surface pixels), the
    // pointer's axis values and the cross hair into the magnifier picture.
    void RefreshMagnifier(QPoint pointer);
    // What the magnifier shows now: Image's canvas, 157 x 118.
    const QImage& MagnifierPicture() const { return m_magnifier; }
    // The same picture as the screen shows it: drawn again at the screen's
    // pixel ratio, so the readout and cross hair stay sharp on scaled
    // screens. Equal to MagnifierPicture() at ratio 1.
    const QImage& MagnifierDisplayPicture() const
    {
        return m_magnifierDisplay.isNull() ? m_magnifier : m_magnifierDisplay;
    }
    // Option values of manual editing, read from the options dialog:
    // spSensitivity, cboxPoint and cboxSelectPoint.
    virtual int SensitivityOption() const;
    virtual QColor PointColourOption() const;
    virtual QColor SelectPointColourOption() const;
    // The digits option for the data file: DigitsOption, open to tests.
    virtual long double ExportDigitsOption() const;

    QLabel* Image = nullptr; // the magnifier, 157 x 118

private:
    void ConnectManualHandlers();
    // Rewrites the table row of one point: its Y, and its X when withX.
    void WriteTableRow(int index, bool withX);
    // A click as the editing rules take it, and what a rule's result asks of
    // the table and the commands.
    EditClick ManualClick(int x, int y, bool manual) const;
    void ApplyManualEdit(const EditResult& result, bool manual);
    // The drawn positions of points 0 up to the last point the plot draws.
    std::vector<SurfacePoint> DrawnDataPositions() const;
    void PaintMagnifier(QPainter& p, QPoint pointer) const;
    // Puts the magnifier picture on Image, at the screen's pixel ratio.
    void ShowMagnifier(QPoint pointer);

    QImage m_magnifier;
    QImage m_magnifierDisplay; // null at pixel ratio 1

public:

    // ---- imaging/PictureHandlers.cpp -------------------------------------
    void btnClearClick();
    void miHideImageClick(); // runs after the item has inverted its own check
    void btnResetClick();
    // Rebuilds WorkBitmap from SourceBitmap with the page's values and draws
    // it as the plot's background, hidden or not. Does nothing without a
    // picture. Runs on every completed change of the page's controls, so a
    // write to spGaussianBlur or spRotate runs it at once.
    void ApplyAdjustments();
    AdjustmentValues CurrentAdjustments() const;

    // Sliders track nothing: a run follows only a completed change (thumb
    // released, a key, a click on the track), never a write from code.
    QSlider* slLightness = nullptr;  // 0..510, 255 neutral
    QSlider* slContrast = nullptr;   // 0..510, 255 neutral
    QSlider* slSaturation = nullptr; // 0..510, 255 skipped
    QSlider* slCuttingOff = nullptr; // 0..255, 0 off
    SpinEdit* spGaussianBlur = nullptr; // integer 0..100
    SpinEdit* spRotate = nullptr;       // degrees, no limits
    QCheckBox* chInvert = nullptr;
    QPushButton* btnReset = nullptr;

    // ---- digitize/TableHandlers.cpp --------------------------------------
    void btnClearSeiesClick();
    void miClearSeiesClick();
    // Rewrites every row from srData; row r shows point r - 1.
    void RefreshTable();
    // The number the fixed number column shows for table row row.
    void SetRowNumber(int row, const QString& text);
    // The table's cell-edit notification. Only the Y column reaches the data;
    // a text that is not a number is undone silently.
    void GridSetEditText(int aCol, int aRow, const QString& value);
    // Enter moves to the next row, from the last back to row 1.
    void GridKeyDown(int& key, Qt::KeyboardModifiers shift);

private:
    void ConnectTableHandlers();

public:

    // ---- dialogs/OptionsHandlers.cpp -------------------------------------
    // Shows the options; however the dialog closes, its values apply.
    void miOptionsClick();
    void ApplySeriesStyle();
    // The option "scale the grid about zero" of the options dialog.
    virtual bool ScalingAboutZero() const;
    // Ascending X when on, order of entry when off; points already in
    // srData stay where they are.
    void SetSeriesOrdering(bool on);

    TOptionsForm* OptionsForm = nullptr;

private:
    void ConnectOptionsHandlers();

public:

    // ---- dialogs/HelpHandlers.cpp ----------------------------------------
    // Created once with the window and kept to the end; closing one hides it.
    TAboutBox* AboutBox = nullptr;
    THelpForm* HelpForm = nullptr;
    THintForm* HintForm = nullptr;
    virtual void miDigHelpClick(); // help window, modal through Dialogs()
    void miAboutClick();           // about box, modal through Dialogs()

    const MainFormEnvironment& Environment() const { return m_environment; }
    // None: the toolkit's own menu on the toolbar, the menu bar and the tool
    // windows' titles would show or hide them behind the back of their
    // buttons and menu items, in English. Their buttons and items do it.
    QMenu* createPopupMenu() override { return nullptr; }
    ModalDialogs& Dialogs() const { return *m_environment.Dialogs; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateMenus();
    void CreateToolbar();
    void CreateToolWindows();
    void CreateStatusBar();
    void ConnectMainUnit();
    void ConnectViewHandlers();
    void ConnectPicturePage(); // imaging/PictureHandlers.cpp
    void SliderChangeCompleted(QSlider* slider, int action);
    void ConnectAxisHandlers();   // calibration/AxisHandlers.cpp
    void ConnectFitHandlers();    // calibration/FitHandlers.cpp
    void ConnectHelpHandlers();   // dialogs/HelpHandlers.cpp
    // calibration/AxisHandlers.cpp: the common work of the four limit handlers.
    void AxisLimitChange(SpinEdit* changed, bool changedIsMin, PlotAxis& axis, SpinEdit* minEdit, SpinEdit* maxEdit);
    // The end of typing in a limit edit: a text that is no number or gives a
    // refused range shows the box once and the value in force comes back.
    void AxisLimitTypingFinished(SpinEdit* changed, bool changedIsMin, PlotAxis& axis, SpinEdit* minEdit,
                                 SpinEdit* maxEdit);
    bool LimitEditsRefused(const PlotAxis& axis, const SpinEdit* minEdit, const SpinEdit* maxEdit) const;
    void RestoreLimitEdit(SpinEdit* changed, bool changedIsMin, const PlotAxis& axis);
    // The one box for a refused axis range ("Минимальное значение оси …").
    void ShowAxisRangeRefused();
    void ShiftAxis(SpinEdit* minEdit, SpinEdit* maxEdit, bool increase);
    void ApplyStartEnabling();
    void ReadLayoutSettings();

    int ReadIniInteger(const char* section, const char* key, int defaultValue) const;
    bool ReadIniBool(const char* section, const char* key, bool defaultValue) const;
    QString ReadIniString(const char* section, const char* key, const QString& defaultValue) const;

    bool BelongsToThisWindow(const QWidget* widget) const;
    // A click of button at the pointer, as the plot would get from the user,
    // handled after the key that asked for it. Off the plot it does nothing
    // and returns false.
    bool SynthesizeClick(Qt::MouseButton button);
    void StepAxisRange(bool xAxis, RangeStepKind kind);
    // Shows the plot's resting pointer and runs the timer: the cross-hair with
    // the timer, or the arrow without.
    void SetCrossHairWithTimer(bool on);

    MainFormEnvironment m_environment;
    bool m_shown = false; // FormShow runs on the first showing only
    bool m_settingsSizePending = false;  // settings window floating but never shown: size not fixed yet
    std::map<const QToolButton*, QString> m_hints;
    struct KeptView {
        long double Zoom = 1;
        long double PanX = 0;
        long double PanY = 0;
    };
    std::map<QString, KeptView> m_views;   // by the picture's full path
    QString m_viewPicture;                 // the picture shown now
    // The application-wide key filter sees a key once per widget it
    // propagates through; these tell a new key from its propagation. A key
    // whose handler opens a modal dialog stays in the list while the dialog's
    // own keys come and go, so it is still known when it propagates on after
    // the dialog has closed. Newest last, at most kMaxKeysInDispatch.
    struct KeyInDispatch {
        const QEvent* Event = nullptr;
        quint64 Timestamp = 0;
        QPointer<QWidget> Receiver;
    };
    std::vector<KeyInDispatch> m_keysInDispatch;
    void RememberKey(const QEvent* event, quint64 timestamp, QWidget* receiver);

    // imaging/OpenPicture.cpp, imaging/PictureHandlers.cpp
    std::unique_ptr<PictureRegistry> m_pictures = NewPictureRegistry();
    QString m_openPictureFilter;
    // The slider whose user action is about to write its value; the value
    // write that follows is the completed change.
    QSlider* m_completingSlider = nullptr;
    // A slider held down on its track: its steps wait for the release.
    QSlider* m_trackHeldSlider = nullptr;
    // Runs the pipeline once when the held slider's button comes up.
    bool SliderTrackReleased(QObject* watched, QEvent* event);
    static std::unique_ptr<PictureRegistry> NewPictureRegistry();
};

} // namespace quillmark
