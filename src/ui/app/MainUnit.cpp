#include "ui/app/MainUnit.h"

#include "ui/app/Icons.h"
#include "ui/Adapt.h"
#include "ui/imaging/FastBMPDraw.h"
#include "settings/ProfileSettingsStore.h"
#include "ui/plot/PlotChart.h"
#include "ui/plot/PlotSeries.h"
#include "ui/widgets/ScreenPlacement.h"
#include "ui/widgets/SpinEdit.h"
#include "ui/widgets/SplitSpinButton.h"
#include "ui/widgets/ToolButtons.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QDockWidget>
#include <QFile>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <functional>

namespace quillmark {

namespace {

constexpr int kPageDigit = 1;
constexpr int kGridRowHeight = 18;

bool IsArrow(int key)
{
    return key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Right || key == Qt::Key_Down;
}

// Reports the events of one widget without filtering any; owned by the widget.
class EventHook : public QObject {
public:
    EventHook(QWidget* watched, std::function<void(QEvent::Type)> onEvent)
        : QObject(watched), m_onEvent(std::move(onEvent))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        m_onEvent(event->type());
        return false;
    }

private:
    std::function<void(QEvent::Type)> m_onEvent;
};

} // namespace

TMainForm::TMainForm(MainFormEnvironment environment, QWidget* parent)
    : QMainWindow(parent), m_environment(std::move(environment))
{
    if (!m_environment.Dialogs)
        m_environment.Dialogs = std::make_shared<QtModalDialogs>(this);
    if (auto* real = dynamic_cast<QtModalDialogs*>(m_environment.Dialogs.get()))
        real->SetParent(this);

    setWindowTitle(QStringLiteral("Quillmark 0.61"));
    setMinimumSize(400, 400);

    Document.SetObserver([this](unsigned changes) { SessionChanged(changes); });
    Chart = new PlotChart(this);
    setCentralWidget(Chart);
    srData = Chart->DataSeries();
    srAxis = Chart->AxisSeries();
    srRegion = Chart->RegionSeries();
    Timer = new QTimer(this);
    Timer->setInterval(50);

    CreateMenus();
    CreateToolbar();
    CreateToolWindows();
    CreateStatusBar();
    ConnectMainUnit();
    ConnectViewHandlers();
    ConnectPicturePage();
    setAcceptDrops(true); // picture files dropped from a file manager
    ConnectAxisHandlers();
    ConnectFitHandlers();
    ConnectHelpHandlers();
    ConnectCalFileHandlers();
    ConnectTraceHandlers();
    ConnectTableHandlers();
    ConnectManualHandlers();
    ConnectRegionHandlers();
    ApplyStartEnabling();

    TabRowHeight = 0;
    IniFile = OpenSettingsFile();
    ReadLayoutSettings();
    ConnectOptionsHandlers();
    ConnectCalibrationHandlers();

    Grid->setColumnWidth(0, 30);
    for (int r = 1; r < Grid->rowCount(); ++r)
        SetRowNumber(r, QString());
    Grid->setItem(0, 1, new QTableWidgetItem(QStringLiteral("      X")));
    Grid->setItem(0, 2, new QTableWidgetItem(QStringLiteral("      Y")));

    ZoomBox->setCurrentIndex(0);
    StepBox->setCurrentIndex(0);
    MetodBox->setCurrentIndex(0);

    RegionRect = RegionCorners{};

    // Every key of the window's controls passes the window first.
    qApp->installEventFilter(this);
}

TMainForm::~TMainForm()
{
    qApp->removeEventFilter(this);
    // The child widgets outlive this part of the window: a focus that leaves
    // an edit while they are torn down must not reach a handler of it.
    for (QWidget* child : findChildren<QWidget*>())
        child->disconnect(this);
}

// ---- The document shown ------------------------------------------------

void TMainForm::SyncSessionPlot()
{
    Document.SetPlot(ToPlotRect(Chart->PlotRect()));
}

void TMainForm::SessionChanged(unsigned changes)
{
    if (changes & SessionChange::Axes) {
        // The plot draws the ranges in force; the edits show what was typed.
        for (const Axis which : {Axis::X, Axis::Y}) {
            const AxisState& state = Document.AxisOf(which);
            PlotAxis& axis = which == Axis::X ? Chart->BottomAxis() : Chart->LeftAxis();
            axis.SetMinMax(static_cast<double>(state.Min), static_cast<double>(state.Max));
            axis.SetIncrement(static_cast<double>(state.Increment));
            if (axis.Kind() != state.Kind)
                axis.SetKind(state.Kind);
            if (axis.LabelFormat() != state.Mask)
                axis.SetLabelFormat(state.Mask);
        }
    }
    if (changes & (SessionChange::Points | SessionChange::Selection)) {
        std::vector<PlotSeries::Point> points;
        points.reserve(Document.Points().Count());
        for (const DataPoint& p : Document.Points().Points())
            points.push_back(PlotSeries::Point{p.X, p.Y, QString::fromStdString(p.Label), ToQColor(p.Colour), p.Filled});
        srData->SetPoints(std::move(points));
    }
    if (changes & SessionChange::Markers) {
        // A marker keeps the colour of the moment it was clicked: only new
        // clicks are added.
        const CalibrationState& c = Document.Calibration();
        if (!c.Active || static_cast<int>(c.Markers.size()) < srAxis->Count())
            srAxis->Clear();
        srAxis->SetMarkersVisible(c.Active);
        if (c.Active) {
            srAxis->SetLineVisible(false);
            const QColor colour = PointColourOption();
            for (std::size_t i = static_cast<std::size_t>(srAxis->Count()); i < c.Markers.size(); ++i) {
                const AxisPoint value = PixelToAxis(c.Markers[i], ToPlotRect(Chart->PlotRect()), Document.Limits());
                srAxis->Add(static_cast<double>(value.X), static_cast<double>(value.Y), QString(), colour);
            }
            srAxis->SetActive(true);
        }
    }
    if (changes & SessionChange::Region) {
        const RegionLimits& r = Document.Region().Limits;
        srRegion->SetCorner0(static_cast<double>(r.XMin), static_cast<double>(r.YMax));
        srRegion->SetCorner1(static_cast<double>(r.XMax), static_cast<double>(r.YMin));
    }
    if ((changes & SessionChange::Picture) && Document.Work()) {
        Draw(*Document.Work(), Chart->BackImage(), 0, 0);
        Chart->RepaintNow();
    }
    UpdateUndoCommands();
}

// ---- Derived modes ------------------------------------------------------

bool TMainForm::PictureOpen() const
{
    return Document.HasPicture();
}

bool TMainForm::CalibrationOn() const
{
    return btnAxisSet->isChecked();
}

bool TMainForm::RegionDrawingOn() const
{
    return btnRegSet->isChecked();
}

bool TMainForm::DataPresent() const
{
    return btnSaveData->isEnabled();
}

DigitizeMethod TMainForm::CurrentMethod() const
{
    switch (MetodBox->currentIndex()) {
    case 1:
        return DigitizeMethod::ByColour;
    case 2:
        return DigitizeMethod::Manual;
    case 3:
        return DigitizeMethod::Edit;
    default:
        return DigitizeMethod::MaxBrightness;
    }
}

bool TMainForm::ManualMethod() const
{
    const DigitizeMethod method = CurrentMethod();
    return method == DigitizeMethod::Manual || method == DigitizeMethod::Edit;
}

// ---- Construction -------------------------------------------------------

void TMainForm::CreateMenus()
{
    QMenu* fileMenu = menuBar()->addMenu(tr("&Файл"));
    miOpenFile = fileMenu->addAction(tr("&Открыть..."));
    miOpenFile->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    miSaveData = fileMenu->addAction(tr("Сохранить данные..."));
    miSaveData->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    fileMenu->addSeparator();
    miExit = fileMenu->addAction(tr("&Выход"));
    miExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* editMenu = menuBar()->addMenu(tr("Правка"));
    miUndo = editMenu->addAction(tr("Отменить"));
    miUndo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z)});
    miRedo = editMenu->addAction(tr("Повторить"));
    miRedo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});

    QMenu* viewMenu = menuBar()->addMenu(tr("Вид"));
    miZoomIn = viewMenu->addAction(tr("Увеличить"));
    miZoomIn->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    miZoomOut = viewMenu->addAction(tr("Уменьшить"));
    miZoomOut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    miZoomReset = viewMenu->addAction(tr("Исходный масштаб"));
    miZoomReset->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));

    QMenu* commandsMenu = menuBar()->addMenu(tr("Команды"));
    miDigitize = commandsMenu->addAction(tr("Оцифровать"));
    miDigitize->setShortcut(QKeySequence(Qt::Key_F9));
    miCopy = commandsMenu->addAction(tr("Копировать"));
    miStretch = commandsMenu->addAction(tr("Масштабировать картинку"));
    QMenu* axisSetMenu = commandsMenu->addMenu(tr("Привязка координат"));
    miAxisSet = axisSetMenu->menuAction();
    mi2PointSet = axisSetMenu->addAction(tr("По 2 точкам"));
    mi3PointSet = axisSetMenu->addAction(tr("По 3 точкам"));
    mi4PointSet = axisSetMenu->addAction(tr("По 4 точкам"));
    miHideImage = commandsMenu->addAction(tr("Скрыть картинку"));
    miHideImage->setCheckable(true);
    miHideSeies = commandsMenu->addAction(tr("Скрыть график"));
    miHideSeies->setCheckable(true);
    miClearSeies = commandsMenu->addAction(tr("Удалить данные"));

    QMenu* settingsMenu = menuBar()->addMenu(tr("&Настройки"));
    miTools = settingsMenu->addAction(tr("Панель Инструментов"));
    miTools->setCheckable(true);
    miTools->setChecked(true);
    miTable = settingsMenu->addAction(tr("Таблица"));
    miTable->setCheckable(true);
    miTable->setChecked(true);
    miOptions = settingsMenu->addAction(tr("Опции"));

    QMenu* helpMenu = menuBar()->addMenu(tr("&Справка"));
    miDigHelp = helpMenu->addAction(tr("Справка по Quillmark"));
    miAbout = helpMenu->addAction(tr("О программе..."));

    pmPoinSet = new QMenu(this);
    auto* pointGroup = new QActionGroup(pmPoinSet);
    mi2Point = pmPoinSet->addAction(tr("по 2 точкам"));
    mi3Point = pmPoinSet->addAction(tr("по 3 точкам"));
    mi4Point = pmPoinSet->addAction(tr("по 4 точкам"));
    for (QAction* item : {mi2Point, mi3Point, mi4Point}) {
        item->setCheckable(true);
        pointGroup->addAction(item);
    }
    mi2Point->setChecked(true);

    pmRegionSet = new QMenu(this);
    auto* regionGroup = new QActionGroup(pmRegionSet);
    miArea = pmRegionSet->addAction(tr("область"));
    miContour = pmRegionSet->addAction(tr("контур"));
    for (QAction* item : {miArea, miContour}) {
        item->setCheckable(true);
        regionGroup->addAction(item);
    }
    miArea->setChecked(true);
}

void TMainForm::CreateToolbar()
{
    Toolbar = new QToolBar(QStringLiteral("Toolbar"), this);
    Toolbar->setObjectName(QStringLiteral("Toolbar"));
    Toolbar->setAllowedAreas(Qt::AllToolBarAreas);
    Toolbar->setFloatable(true);
    Toolbar->setMovable(true);
    Toolbar->setIconSize(QSize(19, 19));
    addToolBar(Qt::TopToolBarArea, Toolbar);

    auto button = [this](Glyph glyph, const QString& hint, bool toggle) {
        auto* b = new QToolButton(Toolbar);
        b->setIcon(GlyphIcon(glyph));
        b->setAutoRaise(true);
        b->setCheckable(toggle);
        b->setFixedSize(24, 24);
        SetButtonHint(b, hint);
        Toolbar->addWidget(b);
        return b;
    };

    btnOpenImage = button(Glyph::OpenImage, tr("Открыть файл"), false);
    btnSaveData = button(Glyph::SaveData, tr("Сохранить данные в файл"), false);
    Toolbar->addSeparator();
    btnCopy = button(Glyph::Copy, tr("Копировать данные в буфер обмена"), false);
    btnUndo = button(Glyph::Undo, tr("Отменить (Ctrl+Z)"), false);
    btnRedo = button(Glyph::Redo, tr("Повторить (Ctrl+Shift+Z)"), false);
    Toolbar->addSeparator();
    btnTools = button(Glyph::Tools, tr("Настройки"), true);
    btnTable = button(Glyph::Table, tr("Таблица"), true);
    btnStretch = button(Glyph::Stretch, tr("Масштабировать"), true);

    ImageList1 = {GlyphIcon(Glyph::AxisTwoPoints), GlyphIcon(Glyph::AxisThreePoints),
                  GlyphIcon(Glyph::AxisFourPoints), GlyphIcon(Glyph::RegionArea), GlyphIcon(Glyph::RegionContour)};
    btnAxisSet = new DropDownToolButton(ImageList1, pmPoinSet, Toolbar);
    btnAxisSet->SetGlyphIndex(kGlyphTwoPoints);
    btnAxisSet->setFixedHeight(24);
    Toolbar->addWidget(btnAxisSet);
    btnRegSet = new DropDownToolButton(ImageList1, pmRegionSet, Toolbar);
    btnRegSet->SetGlyphIndex(kGlyphArea);
    btnRegSet->setFixedHeight(24);
    SetButtonHint(btnRegSet, tr("Задать область оцифровки"));
    Toolbar->addWidget(btnRegSet);
    Toolbar->addSeparator();

    btnDigital = button(Glyph::Digital, tr("Оцифровать"), false);
    btnClear = button(Glyph::Clear, tr("Скрыть картинку"), true);
    btnSeries = button(Glyph::Series, tr("Скрыть график"), true);
    btnClearSeies = button(Glyph::ClearSeries, tr("Удалить все данные"), false);
    Toolbar->addSeparator();
    btnExit = button(Glyph::Exit, tr("Выход"), false);
}

void TMainForm::CreateToolWindows()
{
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowNestedDocks);

    ToolWndSettings = new QDockWidget(tr("Настройка"), this);
    ToolWndSettings->setObjectName(QStringLiteral("ToolWndSettings"));
    ToolWndSettings->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    PageControl = new QTabWidget(ToolWndSettings);
    PageControl->setTabPosition(QTabWidget::East);
    PageControl->setUsesScrollButtons(false);
    PageControl->setMinimumWidth(206);

    tabAxes = new QWidget(PageControl);
    tabAxes->setToolTip(tr("Координатные оси"));
    {
        auto* layout = new QGridLayout(tabAxes);
        auto* header = new QLabel(QStringLiteral(" X                    Y"), tabAxes);
        QFont bold = header->font();
        bold.setBold(true);
        header->setFont(bold);
        layout->addWidget(header, 0, 1, 1, 2);
        const auto limitEdit = [this](double value, const QString& hint) {
            auto* edit = new SpinEdit(tabAxes);
            edit->SetIncrement(0.1);
            edit->SetValue(value);
            edit->setToolTip(hint);
            return edit;
        };
        spXMin = limitEdit(0, tr("Нижняя граница оси X"));
        spYMin = limitEdit(-3, tr("Нижняя граница оси Y"));
        spXMax = limitEdit(10, tr("Верхняя граница оси X"));
        spYMax = limitEdit(3, tr("Верхняя граница оси Y"));
        layout->addWidget(new QLabel(QStringLiteral("Min"), tabAxes), 1, 0);
        layout->addWidget(spXMin, 1, 1);
        layout->addWidget(spYMin, 1, 2);
        layout->addWidget(new QLabel(QStringLiteral("Max"), tabAxes), 2, 0);
        layout->addWidget(spXMax, 2, 1);
        layout->addWidget(spYMax, 2, 2);
        const auto incrementEdit = [this] {
            auto* edit = new SpinEdit(tabAxes);
            edit->SetIncrement(1);
            edit->SetValue(0);
            return edit;
        };
        spXIncrement = incrementEdit();
        spYIncrement = incrementEdit();
        layout->addWidget(new QLabel(tr("Шаг"), tabAxes), 3, 0);
        layout->addWidget(spXIncrement, 3, 1);
        layout->addWidget(spYIncrement, 3, 2);
        spbtnX = new SplitSpinButton(tabAxes);
        spbtnY = new SplitSpinButton(tabAxes);
        layout->addWidget(new QLabel(tr("Сдвиг"), tabAxes), 4, 0);
        layout->addWidget(spbtnX, 4, 1, Qt::AlignHCenter);
        layout->addWidget(spbtnY, 4, 2, Qt::AlignHCenter);
        const auto kindBox = [this](const QString& text, const QString& hint) {
            auto* box = new QCheckBox(text, tabAxes);
            box->setToolTip(hint);
            return box;
        };
        chXLog = kindBox(tr("Лог. шкала"), tr("Логарифмическая шкала"));
        chYLog = kindBox(tr("Лог. шкала"), tr("Логарифмическая шкала"));
        chXRev = kindBox(tr("Обратная"), tr("Ось направлена в обратную сторону"));
        chYRev = kindBox(tr("Обратная"), tr("Ось направлена в обратную сторону"));
        layout->addWidget(chXLog, 5, 1);
        layout->addWidget(chYLog, 5, 2);
        layout->addWidget(chXRev, 6, 1);
        layout->addWidget(chYRev, 6, 2);
        CreateCalFileButtons(layout, 7);
        chRegion = new QCheckBox(tr("Область оцифровки"), tabAxes);
        layout->addWidget(chRegion, 8, 0, 1, 3);
        layout->setRowStretch(9, 1);
    }
    tabDigit = new QWidget(PageControl);
    {
        auto* layout = new QVBoxLayout(tabDigit);
        MetodBox = new QComboBox(tabDigit);
        MetodBox->addItems({tr("По макс. яркости  F5"), tr("По цвету  F6"),
                            tr("Вручную  F7"), tr("Правка  F8")});
        layout->addWidget(MetodBox);
        StepBox = new QComboBox(tabDigit);
        StepBox->addItems({tr("пиксели"), tr("ед. оси")});
        layout->addWidget(StepBox);
        ZoomBox = new QComboBox(tabDigit);
        ZoomBox->addItems({QStringLiteral("2"), QStringLiteral("4"), QStringLiteral("8"), QStringLiteral("16")});
        layout->addWidget(ZoomBox);
        layout->addStretch(1);
    }
    tabImage = new QWidget(PageControl);
    new QVBoxLayout(tabImage);
    PageControl->addTab(tabAxes, tr("Оси"));
    PageControl->addTab(tabDigit, tr("Оцифровка"));
    PageControl->addTab(tabImage, tr("Картинка"));
    ToolWndSettings->setWidget(PageControl);

    ToolWndTable = new QDockWidget(tr("Таблица"), this);
    ToolWndTable->setObjectName(QStringLiteral("ToolWndTable"));
    ToolWndTable->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    // Row 0 and column 0 are the table's fixed header row and number column,
    // so row r holds point r - 1. They are shown by the view's own headers,
    // which stay in place while the rows scroll and cannot be selected.
    Grid = new QTableWidget(5, 3, ToolWndTable);
    Grid->setRowHidden(0, true);
    Grid->setColumnHidden(0, true);
    Grid->setHorizontalHeaderLabels({QString(), QStringLiteral("X"), QStringLiteral("Y")});
    Grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Grid->verticalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Grid->verticalHeader()->setDefaultSectionSize(kGridRowHeight);
    Grid->setMinimumWidth(181);
    ToolWndTable->setWidget(Grid);

    addDockWidget(Qt::RightDockWidgetArea, ToolWndSettings);
    addDockWidget(Qt::RightDockWidgetArea, ToolWndTable);
}

void TMainForm::CreateStatusBar()
{
    constexpr std::array<int, 4> kWidths = {150, 75, 200, 260};
    for (std::size_t i = 0; i < StatusPanels.size(); ++i) {
        auto* panel = new QLabel(statusBar());
        panel->setFixedWidth(kWidths[i]);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        if (i == 1)
            panel->setAlignment(Qt::AlignCenter);
        statusBar()->addWidget(panel);
        StatusPanels[i] = panel;
    }
}

void TMainForm::ConnectMainUnit()
{
    connect(miOpenFile, &QAction::triggered, this, [this] { miOpenFileClick(); });
    connect(btnOpenImage, &QToolButton::clicked, this, [this] { miOpenFileClick(); });
    connect(miSaveData, &QAction::triggered, this, &TMainForm::miSaveDataClick);
    connect(btnSaveData, &QToolButton::clicked, this, [this] { btnSaveDataClick(); });
    connect(miExit, &QAction::triggered, this, &TMainForm::miExitClick);
    connect(btnExit, &QToolButton::clicked, this, &TMainForm::miExitClick);
    connect(miDigitize, &QAction::triggered, this, &TMainForm::miDigitizeClick);
    connect(btnDigital, &QToolButton::clicked, this, &TMainForm::btnDigitalClick);
    connect(miCopy, &QAction::triggered, this, &TMainForm::miCopyClick);
    connect(btnCopy, &QToolButton::clicked, this, &TMainForm::btnCopyClick);
    connect(miUndo, &QAction::triggered, this, &TMainForm::miUndoClick);
    connect(btnUndo, &QToolButton::clicked, this, &TMainForm::miUndoClick);
    connect(miRedo, &QAction::triggered, this, &TMainForm::miRedoClick);
    connect(btnRedo, &QToolButton::clicked, this, &TMainForm::miRedoClick);
    connect(btnRegSet, &QToolButton::toggled, this, &TMainForm::UpdateUndoCommands);
    connect(btnStretch, &QToolButton::clicked, this, &TMainForm::btnStretchClick);
    connect(mi2PointSet, &QAction::triggered, this, &TMainForm::mi2PointSetClick);
    connect(mi3PointSet, &QAction::triggered, this, &TMainForm::mi3PointSetClick);
    connect(mi4PointSet, &QAction::triggered, this, &TMainForm::mi4PointSetClick);
    connect(mi2Point, &QAction::triggered, this, &TMainForm::mi2PointClick);
    connect(mi3Point, &QAction::triggered, this, &TMainForm::mi3PointClick);
    connect(mi4Point, &QAction::triggered, this, &TMainForm::mi4PointClick);
    connect(btnAxisSet, &QToolButton::clicked, this, [this] { btnAxisSetClick(); });
    connect(btnAxisSet, &DropDownToolButton::MouseEntered, this, &TMainForm::btnAxisSetMouseEnter);
    connect(miArea, &QAction::triggered, this, &TMainForm::miAreaClick);
    connect(miContour, &QAction::triggered, this, &TMainForm::miContourClick);
    connect(spXMin, &SpinEdit::Changed, this, &TMainForm::spXMinChange);
    connect(spXMax, &SpinEdit::Changed, this, &TMainForm::spXMaxChange);
    connect(spYMin, &SpinEdit::Changed, this, &TMainForm::spYMinChange);
    connect(spYMax, &SpinEdit::Changed, this, &TMainForm::spYMaxChange);
    connect(chRegion, &QCheckBox::clicked, this, &TMainForm::chRegionClick);
    connect(miHideImage, &QAction::triggered, this, &TMainForm::miHideImageClick);
    connect(btnClear, &QToolButton::clicked, this, &TMainForm::btnClearClick);
    connect(miHideSeies, &QAction::triggered, this, &TMainForm::miHideSeiesClick);
    connect(btnSeries, &QToolButton::clicked, this, &TMainForm::btnSeriesClick);
    connect(miClearSeies, &QAction::triggered, this, &TMainForm::miClearSeiesClick);
    connect(btnClearSeies, &QToolButton::clicked, this, &TMainForm::btnClearSeiesClick);
    connect(miTools, &QAction::triggered, this, &TMainForm::miToolsClick);
    connect(btnTools, &QToolButton::clicked, this, &TMainForm::btnToolsClick);
    connect(miTable, &QAction::triggered, this, &TMainForm::miTableClick);
    connect(btnTable, &QToolButton::clicked, this, &TMainForm::btnTableClick);
    connect(miOptions, &QAction::triggered, this, &TMainForm::miOptionsClick);
    connect(miDigHelp, &QAction::triggered, this, [this] { miDigHelpClick(); });
    connect(miAbout, &QAction::triggered, this, &TMainForm::miAboutClick);

    // activated: the user's choices only; F5 to F8 run the handler themselves.
    connect(MetodBox, &QComboBox::activated, this, &TMainForm::MetodBoxChange);
    connect(StepBox, &QComboBox::activated, this, &TMainForm::StepBoxChange);
    // Pages the program makes active go through SetActivePage, which blocks this.
    connect(PageControl, &QTabWidget::currentChanged, this, &TMainForm::PageControlChange);

    // Close boxes and the moment before a dock change are seen as events.
    // Their watcher is not the window itself, whose filter sees every key.
    new EventHook(ToolWndSettings, [this](QEvent::Type type) {
        if (type == QEvent::Close)
            ToolWndSettingsClose();
        else if (type == QEvent::ParentAboutToChange)
            ToolWndSettingsDockChanging();
        else if (type == QEvent::Show && m_settingsSizePending)
            FixFloatingSettingsSize();
    });
    new EventHook(ToolWndTable, [this](QEvent::Type type) {
        if (type == QEvent::Close)
            ToolWndTableClose();
    });
    connect(ToolWndSettings, &QDockWidget::dockLocationChanged, this, &TMainForm::ToolWndSettingsDockChanged);
    connect(ToolWndSettings, &QDockWidget::topLevelChanged, this, [this](bool floating) {
        if (floating)
            ToolWndSettingsDockChanged();
    });

    connect(Chart, &PlotChart::ClickBackground, this, &TMainForm::ChartClickBackground);
    connect(Chart, &PlotChart::ClickSeries, this, &TMainForm::ChartClickSeries);
    connect(srAxis, &PlotSeries::Clicked, this,
            [this](PlotSeries*, int, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
                srAxisClick(button, shift, x, y);
            });
    connect(Chart, &PlotChart::DblClick, this, &TMainForm::ChartDblClick);
    connect(Chart, &PlotChart::MouseDown, this, &TMainForm::ChartMouseDown);
    connect(Chart, &PlotChart::MouseMove, this, &TMainForm::ChartMouseMove);
    connect(Chart, &PlotChart::MouseUp, this, &TMainForm::ChartMouseUp);

    connect(Timer, &QTimer::timeout, this, &TMainForm::TimerTimer);
}

void TMainForm::ApplyStartEnabling()
{
    SetCommandEnabled(btnOpenImage, miOpenFile, true);
    SetCommandEnabled(btnTools, miTools, true);
    SetCommandEnabled(btnTable, miTable, true);
    SetCommandEnabled(btnExit, miExit, true);

    SetCommandEnabled(btnSaveData, miSaveData, false);
    SetCommandEnabled(btnCopy, miCopy, false);
    SetCommandEnabled(btnUndo, miUndo, false);
    SetCommandEnabled(btnRedo, miRedo, false);
    SetCommandEnabled(btnStretch, miStretch, false);
    SetCommandEnabled(btnAxisSet, miAxisSet, false);
    SetCommandEnabled(btnRegSet, nullptr, false);
    SetCommandEnabled(btnDigital, miDigitize, false);
    SetCommandEnabled(btnClear, miHideImage, false);
    SetCommandEnabled(btnSeries, miHideSeies, false);
    SetCommandEnabled(btnClearSeies, miClearSeies, false);
    PageControl->setTabEnabled(PageControl->indexOf(tabDigit), false);
    PageControl->setTabEnabled(PageControl->indexOf(tabImage), false);
    chRegion->setEnabled(false);
    Grid->setEnabled(false);

    btnStretch->setChecked(true);
}

void TMainForm::ReadLayoutSettings()
{
    const bool normal = ReadIniBool("WindowPosition", "WindowState", true);
    move(ReadIniInteger("WindowPosition", "Left", 30), ReadIniInteger("WindowPosition", "Top", 25));
    resize(ReadIniInteger("WindowPosition", "Width", 735), ReadIniInteger("WindowPosition", "Height", 495));
    // Saved on a screen that may no longer be there.
    KeepOnScreen(*this);
    setWindowState(normal ? Qt::WindowNoState : Qt::WindowMaximized);

    switch (ReadIniInteger("WindowPosition", "ToolBar", 1)) {
    case 2:
        addToolBar(Qt::RightToolBarArea, Toolbar);
        break;
    case 3:
        addToolBar(Qt::BottomToolBarArea, Toolbar);
        break;
    case 4:
        addToolBar(Qt::LeftToolBarArea, Toolbar);
        break;
    default:
        break;
    }

    CurrentPath = ReadIniString("Path", "CurrentPath", m_environment.HomeFolder);

    const auto placeToolWindow = [this](QDockWidget* window, QAction* menuItem, QToolButton* button,
                                        const char* section) {
        const bool visible = ReadIniBool(section, "Visible", true);
        menuItem->setChecked(visible);
        button->setChecked(visible);
        window->setVisible(visible);
        switch (ReadIniInteger(section, "Docked", 1)) {
        case 1:
            addDockWidget(Qt::RightDockWidgetArea, window);
            break;
        case 2:
            addDockWidget(Qt::LeftDockWidgetArea, window);
            break;
        case 3:
            window->setFloating(true);
            break;
        default:
            break;
        }
    };
    placeToolWindow(ToolWndSettings, miTools, btnTools, "ToolWindow");
    placeToolWindow(ToolWndTable, miTable, btnTable, "TableWindow");
}

int TMainForm::ReadIniInteger(const char* section, const char* key, int defaultValue) const
{
    return IniFile->ReadInteger(section, key, defaultValue);
}

bool TMainForm::ReadIniBool(const char* section, const char* key, bool defaultValue) const
{
    return IniFile->ReadBool(section, key, defaultValue);
}

QString TMainForm::ReadIniString(const char* section, const char* key, const QString& defaultValue) const
{
    return QString::fromStdString(IniFile->ReadString(section, key, defaultValue.toStdString()));
}

// ---- Enabling rules -----------------------------------------------------

void TMainForm::SetCommandEnabled(QToolButton* button, QAction* menuItem, bool enabled)
{
    if (button) {
        button->setEnabled(enabled);
        button->setToolTip(enabled ? ButtonHint(button) : QString());
    }
    if (menuItem)
        menuItem->setEnabled(enabled);
}

void TMainForm::SetButtonHint(QToolButton* button, const QString& hint)
{
    m_hints[button] = hint;
    if (button->isEnabled())
        button->setToolTip(hint);
}

QString TMainForm::ButtonHint(QToolButton* button) const
{
    const auto found = m_hints.find(button);
    return found == m_hints.end() ? QString() : found->second;
}

void TMainForm::EnablePictureGroup()
{
    SetCommandEnabled(btnStretch, miStretch, true);
    SetCommandEnabled(btnAxisSet, miAxisSet, true);
    SetCommandEnabled(btnRegSet, nullptr, true);
    SetCommandEnabled(btnDigital, miDigitize, true);
    SetCommandEnabled(btnClear, miHideImage, true);
    PageControl->setTabEnabled(PageControl->indexOf(tabDigit), true);
    PageControl->setTabEnabled(PageControl->indexOf(tabImage), true);
    chRegion->setEnabled(true);
    SetCommandEnabled(btnSaveData, miSaveData, false);
}

void TMainForm::SetDataGroupEnabled(bool enabled)
{
    SetCommandEnabled(btnSaveData, miSaveData, enabled);
    SetCommandEnabled(btnCopy, miCopy, enabled);
    SetCommandEnabled(btnSeries, miHideSeies, enabled);
    SetCommandEnabled(btnClearSeies, miClearSeies, enabled);
    if (enabled)
        Grid->setEnabled(true);
}

void TMainForm::SetActivePage(QWidget* page)
{
    const QSignalBlocker programChange(PageControl);
    PageControl->setCurrentWidget(page);
}

void TMainForm::SetStatusText(int panel, const QString& text)
{
    StatusPanels.at(static_cast<std::size_t>(panel))->setText(text);
}

QString TMainForm::StatusText(int panel) const
{
    return StatusPanels.at(static_cast<std::size_t>(panel))->text();
}

// ---- Keys ---------------------------------------------------------------

bool TMainForm::BelongsToThisWindow(const QWidget* widget) const
{
    // Floating tool windows and the toolbar are windows of their own but
    // still part of this one; dialogs and menus are not.
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (w == this)
            return true;
        if (w->isWindow() && !qobject_cast<const QDockWidget*>(w) && !qobject_cast<const QToolBar*>(w))
            return false;
    }
    return false;
}

namespace {

constexpr std::size_t kMaxKeysInDispatch = 64;

// While a text is being edited (a spin edit, a table cell, any line edit),
// the keys that edit or move in it are the field's, not the plot's.
bool TextFieldTakesKey(const QWidget* widget, int key)
{
    const bool editing = qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget) ||
                         qobject_cast<const QTextEdit*>(widget) || qobject_cast<const QPlainTextEdit*>(widget);
    if (!editing)
        return false;
    return IsArrow(key) || key == Qt::Key_Space || key == Qt::Key_Delete || key == Qt::Key_Home ||
           key == Qt::Key_End || key == Qt::Key_Backspace;
}

} // namespace

void TMainForm::RememberKey(const QEvent* event, quint64 timestamp, QWidget* receiver)
{
    std::erase_if(m_keysInDispatch, [&](const KeyInDispatch& k) { return k.Event == event; });
    if (m_keysInDispatch.size() >= kMaxKeysInDispatch)
        m_keysInDispatch.erase(m_keysInDispatch.begin());
    m_keysInDispatch.push_back(KeyInDispatch{event, timestamp, receiver});
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        const quint64 timestamp = keyEvent->timestamp();
        for (auto k = m_keysInDispatch.rbegin(); k != m_keysInDispatch.rend(); ++k) {
            if (k->Event == event && k->Timestamp == timestamp && k->Receiver && k->Receiver->parentWidget() == widget) {
                k->Receiver = widget; // the same key, propagating to the parent
                return false;
            }
        }
        RememberKey(event, timestamp, widget);
        if (!BelongsToThisWindow(widget) || TextFieldTakesKey(widget, keyEvent->key()))
            return false;
        int key = keyEvent->key();
        FormKeyDown(key, keyEvent->modifiers());
        // A dialog the key opened has seen keys of its own meanwhile; this
        // one may still propagate.
        RememberKey(event, timestamp, widget);
        if (key == 0) {
            keyEvent->accept();
            return true;
        }
        return false;
    }
    if (SliderTrackReleased(watched, event))
        return false;
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::FormKeyDown(int& key, Qt::KeyboardModifiers shift)
{
    // A running trace has the commands that could change what it reads
    // disabled; their keys are ignored alike.
    if (Document.Busy() && key != Qt::Key_F1 && !(IsArrow(key) && (shift & ~Qt::KeypadModifier) == Qt::NoModifier))
        return;
    switch (key) {
    case Qt::Key_Escape:
        if (btnAxisSet->isChecked()) {
            btnAxisSet->setChecked(false);
            btnAxisSetClick();
        }
        if (btnRegSet->isChecked())
            btnRegSet->setChecked(false);
        break;
    // A key that clicks is consumed, so that no focused control (a combo
    // box opening on Space) acts on it as well.
    case Qt::Key_Space:
        if (ManualMethod() && PictureOpen() && !CalibrationOn() && SynthesizeClick(Qt::LeftButton))
            key = 0;
        break;
    case Qt::Key_Delete:
        if (ManualMethod() && PictureOpen() && !CalibrationOn() && SynthesizeClick(Qt::RightButton))
            key = 0;
        break;
    case Qt::Key_F1:
        miDigHelpClick();
        break;
    case Qt::Key_F2:
        if (DataPresent() && !CalibrationOn())
            btnSaveDataClick();
        break;
    case Qt::Key_F3:
        if (!CalibrationOn())
            miOpenFileClick();
        break;
    case Qt::Key_F5:
    case Qt::Key_F6:
    case Qt::Key_F7:
    case Qt::Key_F8:
        if (!CalibrationOn()) {
            MetodBox->setCurrentIndex(key - Qt::Key_F5);
            MetodBoxChange();
        }
        break;
    default:
        break;
    }

    if (!IsArrow(key))
        return;
    // The keypad flag only says where the key sits; it is not a modifier here.
    const Qt::KeyboardModifiers held = shift & ~Qt::KeypadModifier;

    if (held == Qt::NoModifier && ManualMethod() && PictureOpen()) {
        QPoint step;
        switch (key) {
        case Qt::Key_Left:
            step = {-1, 0};
            break;
        case Qt::Key_Up:
            step = {0, -1};
            break;
        case Qt::Key_Right:
            step = {1, 0};
            break;
        default:
            step = {0, 1};
            break;
        }
        QCursor::setPos(QCursor::pos() + ArrowStep(step));
        key = 0;
        return;
    }

    if ((held & Qt::ShiftModifier) && !CalibrationOn()) {
        switch (key) {
        case Qt::Key_Left:
            spbtnXTopClick();
            break;
        case Qt::Key_Up:
            spbtnYTopClick();
            break;
        case Qt::Key_Right:
            spbtnXBottomClick();
            break;
        default:
            spbtnYBottomClick();
            break;
        }
        key = 0;
        return;
    }

    if ((held & Qt::ControlModifier) && !CalibrationOn()) {
        switch (key) {
        case Qt::Key_Left:
            StepAxisRange(true, RangeStepKind::Widen);
            break;
        case Qt::Key_Up:
            StepAxisRange(false, RangeStepKind::Widen);
            break;
        case Qt::Key_Right:
            StepAxisRange(true, RangeStepKind::Narrow);
            break;
        default:
            StepAxisRange(false, RangeStepKind::Narrow);
            break;
        }
        key = 0;
    }
}

bool TMainForm::SynthesizeClick(Qt::MouseButton button)
{
    const QPoint pointer = Chart->PointerPosition();
    if (!Chart->rect().contains(pointer))
        return false;
    const Qt::KeyboardModifiers shift = QGuiApplication::keyboardModifiers();
    // Queued: the click is handled after FormKeyDown has returned, like a
    // real one, and goes through the plot's own press, dispatch and release.
    QTimer::singleShot(0, Chart, [chart = Chart, button, shift, pointer] {
        chart->ClickAt(button, shift, pointer.x(), pointer.y());
    });
    return true;
}

void TMainForm::StepAxisRange(bool xAxis, RangeStepKind kind)
{
    SpinEdit* minEdit = xAxis ? spXMin : spYMin;
    SpinEdit* maxEdit = xAxis ? spXMax : spYMax;
    if (Document.AxisOf(xAxis ? Axis::X : Axis::Y).Kind.Log) {
        // A log axis stretches and shrinks by its decades.
        const long double low = std::log10(static_cast<long double>(minEdit->Value()));
        const long double high = std::log10(static_cast<long double>(maxEdit->Value()));
        const RangeShift shift = CtrlArrowRangeShift(low, high, kind, false);
        if (shift.MinShift == 0 && shift.MaxShift == 0)
            return;
        minEdit->SetValue(std::pow(10.0L, low + shift.MinShift));
        maxEdit->SetValue(std::pow(10.0L, high + shift.MaxShift));
        return;
    }
    const RangeShift shift = CtrlArrowRangeShift(minEdit->Value(), maxEdit->Value(), kind, ScalingAboutZero());
    if (shift.MinShift == 0 && shift.MaxShift == 0)
        return;
    // Each write runs the edit's change handler, which applies the range; Max
    // is read again after Min's handler has run.
    minEdit->SetValue(static_cast<long double>(minEdit->Value()) + shift.MinShift);
    maxEdit->SetValue(static_cast<long double>(maxEdit->Value()) + shift.MaxShift);
}

// ---- Toggles kept in step -----------------------------------------------

void TMainForm::btnToolsClick()
{
    const bool down = btnTools->isChecked();
    miTools->setChecked(down);
    ToolWndSettings->setVisible(down);
}

void TMainForm::miToolsClick()
{
    const bool checked = miTools->isChecked();
    ToolWndSettings->setVisible(checked);
    btnTools->setChecked(checked);
}

void TMainForm::ToolWndSettingsClose()
{
    miTools->setChecked(false);
    btnTools->setChecked(false);
}

void TMainForm::btnTableClick()
{
    const bool down = btnTable->isChecked();
    miTable->setChecked(down);
    ToolWndTable->setVisible(down);
}

void TMainForm::miTableClick()
{
    const bool checked = miTable->isChecked();
    ToolWndTable->setVisible(checked);
    btnTable->setChecked(checked);
}

void TMainForm::ToolWndTableClose()
{
    miTable->setChecked(false);
    btnTable->setChecked(false);
}

void TMainForm::btnSeriesClick()
{
    const bool hidden = btnSeries->isChecked();
    miHideSeies->setChecked(hidden);
    srData->SetActive(!hidden);
}

void TMainForm::miHideSeiesClick()
{
    const bool hidden = miHideSeies->isChecked();
    btnSeries->setChecked(hidden);
    srData->SetActive(!hidden);
}

// ---- Docking ------------------------------------------------------------

void TMainForm::ToolWndSettingsDockChanging()
{
    // Qt's tab bar keeps its tabs in one row.
    constexpr int kTabRows = 1;
    if (ToolWndSettings->isFloating()) {
        ReleaseSettingsWindowSize();
        ToolWndSettings->resize(ToolWndSettings->width(), ToolWndSettings->height() - kTabRows * TabRowHeight);
    }
}

void TMainForm::FixFloatingSettingsSize()
{
    m_settingsSizePending = false;
    if (!ToolWndSettings->isFloating())
        return;
    ReleaseSettingsWindowSize();
    ToolWndSettings->adjustSize();
    ToolWndSettings->setFixedSize(ToolWndSettings->size().expandedTo(ToolWndSettings->sizeHint()));
}

void TMainForm::ReleaseSettingsWindowSize()
{
    ToolWndSettings->setMinimumSize(0, 0);
    ToolWndSettings->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

void TMainForm::ToolWndSettingsDockChanged()
{
    constexpr int kTabRows = 1;
    if (ToolWndSettings->isFloating()) {
        PageControl->setTabPosition(QTabWidget::North);
        if (TabRowHeight == 0)
            TabRowHeight = PageControl->tabBar()->tabRect(0).height();
        ReleaseSettingsWindowSize();
        // A hidden window has not been laid out yet: its size is fixed when
        // it first shows.
        if (ToolWndSettings->isHidden()) {
            m_settingsSizePending = true;
            return;
        }
        ToolWndSettings->resize(ToolWndSettings->width(), ToolWndSettings->height() + kTabRows * TabRowHeight);
        // Floating, the settings window is moved but not resized.
        ToolWndSettings->setFixedSize(ToolWndSettings->size());
        return;
    }
    m_settingsSizePending = false;
    ReleaseSettingsWindowSize();
    if (dockWidgetArea(ToolWndSettings) == Qt::LeftDockWidgetArea) {
        PageControl->setTabPosition(QTabWidget::West);
    } else {
        PageControl->setTabPosition(QTabWidget::East);
        PageControl->setUsesScrollButtons(false);
    }
}

// ---- Method and page changes --------------------------------------------

void TMainForm::SetCrossHairWithTimer(bool on)
{
    Chart->SetRestingCursor(on ? Qt::CrossCursor : Qt::ArrowCursor);
    if (on)
        Timer->start();
    else
        Timer->stop();
}

void TMainForm::MetodBoxChange()
{
    const DigitizeMethod method = CurrentMethod();
    const bool manual = ManualMethod();
    if (method != DigitizeMethod::MaxBrightness)
        SetActivePage(tabDigit);
    srData->SetMarkersVisible(manual);
    ApplySeriesStyle();
    SetCrossHairWithTimer(method != DigitizeMethod::MaxBrightness);
    SetCommandEnabled(btnDigital, nullptr, !manual && PictureOpen());
    SetStatusText(2, QLatin1Char(' ') + MetodBox->currentText());
}

void TMainForm::PageControlChange()
{
    SetCrossHairWithTimer(PageControl->currentIndex() == kPageDigit);
}

// ---- Plot clicks --------------------------------------------------------

void TMainForm::ChartClickBackground(Qt::MouseButton button, Qt::KeyboardModifiers /*shift*/, int x, int y)
{
    if (button != Qt::LeftButton)
        return;
    if (CalibrationOn()) {
        AxisReferenceClick(x, y);
        return;
    }
    switch (CurrentMethod()) {
    case DigitizeMethod::Manual:
        if (!DataPresent())
            SetDataGroupEnabled(true);
        PlacePoint(x, y, true);
        break;
    case DigitizeMethod::Edit:
        PlacePoint(x, y, false);
        break;
    case DigitizeMethod::MaxBrightness:
    case DigitizeMethod::ByColour:
        break;
    }
}

void TMainForm::srAxisClick(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)
{
    ChartClickBackground(button, shift, x, y);
}

void TMainForm::ChartDblClick()
{
    if (CurrentMethod() == DigitizeMethod::ByColour && Timer->isActive())
        PickLineColour();
}

// ---- Shut-down ----------------------------------------------------------

void TMainForm::miExitClick()
{
    close();
}

void TMainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (!KeepUnsavedData()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

} // namespace quillmark
