// The settings file of the main window: where it lives, the reads of the
// first showing, and the write at close. The layout keys are read by the
// constructor (MainUnit.cpp), the option and value-dialog keys by those
// dialogs at their creation; every key is written here, in the order of
// kSettingKeys, so a first run's file lists them in that order.
//
// Tool-window places: Qt stacks the dock widgets of one side from top to
// bottom and gives no free offset along the side. A docked window's `Top` is
// its distance from the top of the side (the top of the plot, since only the
// two sides take tool windows), and reading it restores the order of the two
// windows when they share a side: the smaller `Top` goes above. The table's
// height is then asked of the dock layout, which gives it as far as the
// other window's minimum height allows.
#include "ui/app/MainUnit.h"

#include "settings/Language.h"

#include "settings/ProfileSettingsStore.h"
#include "settings/Settings.h"
#include "base/Errors.h"
#include "base/FileWrite.h"
#include "base/NumberText.h"
#include "ui/dialogs/OptUnit.h"
#include "ui/dialogs/SetAxis.h"
#include "ui/plot/PlotAxis.h"
#include "ui/plot/PlotChart.h"
#include "ui/widgets/ColorBox.h"
#include "ui/widgets/ScreenPlacement.h"
#include "ui/widgets/SpinEdit.h"
#include "ui/widgets/ToolButtons.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QToolBar>
#include <QToolButton>

#include <cmath>
#include <limits>
#include <optional>

namespace quillmark {

namespace {

// A folder can be written when a file can be created in it; this holds for
// any user, the superuser included, unlike permission bits.
bool FolderWritable(const QString& folder)
{
    if (!QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".quillmark-XXXXXX")));
    return probe.open();
}

QByteArray ReadWholeFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QColor ColourFromValue(ColourValue value)
{
    return QColor(static_cast<int>(value & 0xFFU), static_cast<int>((value >> 8) & 0xFFU),
                  static_cast<int>((value >> 16) & 0xFFU));
}

int ToolBarDock(Qt::ToolBarArea area)
{
    switch (area) {
    case Qt::RightToolBarArea:
        return 2;
    case Qt::BottomToolBarArea:
        return 3;
    case Qt::LeftToolBarArea:
        return 4;
    default:
        return 1;
    }
}

} // namespace

// ---- Location -----------------------------------------------------------

QString TMainForm::SettingsFileLocation(const MainFormEnvironment& environment)
{
    const QString& primary = environment.SettingsPath;
    if (environment.FallbackSettingsPath.isEmpty() || FolderWritable(QFileInfo(primary).absolutePath()))
        return primary;
    return environment.FallbackSettingsPath;
}

namespace {

// The settings as the file holds them; a missing or unreadable file gives an
// empty profile, so every read yields its default.
ProfileFile ReadSettings(const MainFormEnvironment& environment, const QString& location)
{
    QByteArray text = ReadWholeFile(location);
    // Settings that never could be written beside the program may still have
    // been put there at installation.
    if (location != environment.SettingsPath && !QFileInfo::exists(location))
        text = ReadWholeFile(environment.SettingsPath);
    return ProfileFile(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
}

} // namespace

LanguageOption TMainForm::SavedLanguageOption(const MainFormEnvironment& environment)
{
    const ProfileSettingsStore store(ReadSettings(environment, SettingsFileLocation(environment)));
    const int option = store.ReadInteger("Options", "Language", 0);
    return option == 1 ? LanguageOption::Russian : option == 2 ? LanguageOption::English : LanguageOption::System;
}

std::unique_ptr<SettingsStore> TMainForm::OpenSettingsFile()
{
    m_settingsLocation = SettingsFileLocation(m_environment);
    return std::make_unique<ProfileSettingsStore>(ReadSettings(m_environment, m_settingsLocation));
}

QString TMainForm::SettingsSeparator() const
{
    return spXMin->DecimalSeparator();
}

double TMainForm::ReadIniReal(const char* section, const char* key) const
{
    const std::string def(FindSettingKey(section, key).Default);
    const std::string text = IniFile->ReadString(section, key, def);
    // Written under another locale, the other separator still reads; a text
    // that is no number at all gives the key's default.
    const std::optional<long double> value = ParseNumberEitherSeparator(text, SettingsSeparator().toStdString());
    if (!value || !(std::fabs(*value) <= std::numeric_limits<double>::max()))
        return static_cast<double>(*ParseNumber(def, "."));
    return static_cast<double>(*value);
}

void TMainForm::WriteIniReal(const char* section, const char* key, double value)
{
    IniFile->WriteString(section, key, FullPrecisionText(value, SettingsSeparator().toStdString()));
}

// ---- Reading at the first showing ---------------------------------------

void TMainForm::FormShow()
{
    // Read twice, as each axis takes its own copy.
    const auto gridColour = [this] {
        const std::string def(FindSettingKey("Options", "GridColor").Default);
        return ColourFromValue(
            TextToColour(IniFile->ReadString("Options", "GridColor", def)).value_or(*TextToColour(def)));
    };
    Chart->LeftAxis().SetGridColor(gridColour());
    Chart->BottomAxis().SetGridColor(gridColour());

    ReadToolWindowPlaces();

    btnStretch->setChecked(ReadIniBool("Options", "Stretch", true));
    btnStretchClick();

    const int axisSet = ReadIniInteger("Options", "AxisSet", 0);
    const std::array<QAction*, 3> pointItems = {mi2Point, mi3Point, mi4Point};
    // Only a calibration glyph is taken: the index is read back as the
    // calibration method.
    if (axisSet >= 0 && axisSet < static_cast<int>(pointItems.size())) {
        btnAxisSet->SetGlyphIndex(kGlyphTwoPoints + axisSet);
        pointItems[static_cast<std::size_t>(axisSet)]->setChecked(true);
    }

    // Anything but the area is the contour, glyph and check alike.
    const bool area = ReadIniInteger("Options", "RegSet", kGlyphContour) == kGlyphArea;
    // Glyph, check and the shape's fill together.
    SetRegionStyle(area ? kGlyphArea : kGlyphContour);

    // Each write runs the edit's change handler, which applies the axis.
    spXMin->SetValue(ReadIniReal("Calibration", "XMin"));
    spXMax->SetValue(ReadIniReal("Calibration", "XMax"));
    spXIncrement->SetValue(ReadIniReal("Calibration", "XIncrement"));
    spYMin->SetValue(ReadIniReal("Calibration", "YMin"));
    spYMax->SetValue(ReadIniReal("Calibration", "YMax"));
    spYIncrement->SetValue(ReadIniReal("Calibration", "YIncrement"));

    // The unit handler runs with the stored unit number as the other unit's
    // step; the step
    // written next replaces whatever that left in the step edit.
    const int stepType = ReadIniInteger("Calibration", "StepType", 0);
    Document.Trace().OtherStep = stepType;
    StepBox->setCurrentIndex(stepType == 1 ? 1 : 0);
    StepBoxChange();
    const double step = ReadIniReal("Calibration", "Step");
    Document.Trace().OtherStep = step;
    spStep->SetValue(StepForUnit(step, StepBox->currentIndex() == 1));
    Document.Trace().OtherStep = ReadIniReal("Calibration", "OldStep");

    // The axes' kinds, after their ranges (a log axis needs a positive one).
    for (const auto& [axis, log, rev] : {std::tuple{Axis::X, "XLog", "XRev"}, std::tuple{Axis::Y, "YLog", "YRev"}}) {
        Document.SetAxisKind(axis, AxisKind{ReadIniBool("Calibration", log, false), ReadIniBool("Calibration", rev, false)});
        (axis == Axis::X ? spXMin : spYMin)->SetValue(Document.AxisOf(axis).Min);
        (axis == Axis::X ? spXMax : spYMax)->SetValue(Document.AxisOf(axis).Max);
    }
    ShowAxisKinds();

    // What the settings set up is where the user starts: nothing to undo.
    Document.ClearHistory();
}

void TMainForm::ReadToolWindowPlaces()
{
    struct Place {
        QDockWidget* Window;
        const char* Section;
        int DockedTop;
        int FloatingLeft;
        int FloatingTop;
    };
    const std::array<Place, 2> places = {{
        {ToolWndSettings, "ToolWindow", 0, 10, kToolWindowFloatingTop},
        {ToolWndTable, "TableWindow", 10, 20, kTableWindowFloatingTop},
    }};
    std::array<int, 2> dockedTop{};
    for (std::size_t i = 0; i < places.size(); ++i) {
        const Place& p = places[i];
        if (p.Window->isFloating()) {
            p.Window->move(ReadIniInteger(p.Section, "Left", p.FloatingLeft),
                           ReadIniInteger(p.Section, "Top", p.FloatingTop));
            KeepOnScreen(*p.Window);
        } else {
            dockedTop[i] = ReadIniInteger(p.Section, "Top", p.DockedTop);
        }
    }

    const Qt::DockWidgetArea side = dockWidgetArea(ToolWndSettings);
    if (!ToolWndSettings->isFloating() && !ToolWndTable->isFloating() && side == dockWidgetArea(ToolWndTable)) {
        // Splitting puts the second window just below the first.
        const bool tableFirst = dockedTop[1] < dockedTop[0];
        splitDockWidget(tableFirst ? ToolWndTable : ToolWndSettings, tableFirst ? ToolWndSettings : ToolWndTable,
                        Qt::Vertical);
    }

    const int height = ReadIniInteger("TableWindow", "Height", 200);
    if (ToolWndTable->isFloating())
        ToolWndTable->resize(ToolWndTable->width(), height);
    else
        resizeDocks({ToolWndTable}, {height}, Qt::Vertical);
}

// ---- Writing at close ---------------------------------------------------

void TMainForm::FormClose()
{
    WriteSettings();
    if (m_settingsLocation.isEmpty()) // a window given no settings file
        return;
    const std::string text = SettingsText();
    const QString folder = QFileInfo(m_settingsLocation).absolutePath();
    if (!QDir().mkpath(folder))
        throw FileError(FormatMessage("Cannot create folder %s", {QDir::toNativeSeparators(folder).toStdString()}));
    WriteFileReplacing(QFile::encodeName(m_settingsLocation).toStdString(), text, "Cannot write the settings file %s");
}

std::string TMainForm::SettingsText() const
{
    const auto* store = dynamic_cast<const ProfileSettingsStore*>(IniFile.get());
    if (!store)
        throw InternalError("TMainForm: the settings store is not a settings file");
    return store->Text();
}

void TMainForm::WriteSettings()
{
    // A maximized or minimized window keeps its normal bounds for the next start.
    const bool normal = !(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
    const QRect bounds = normal || !normalGeometry().isValid() ? QRect(pos(), size()) : normalGeometry();
    IniFile->WriteInteger("WindowPosition", "Left", bounds.x());
    IniFile->WriteInteger("WindowPosition", "Top", bounds.y());
    IniFile->WriteInteger("WindowPosition", "Width", bounds.width());
    IniFile->WriteInteger("WindowPosition", "Height", bounds.height());
    IniFile->WriteBool("WindowPosition", "WindowState", !(isMaximized() && !isMinimized()));
    // A floating toolbar leaves the key as it was: the next start docks it
    // where it was docked last.
    if (!Toolbar->isFloating())
        IniFile->WriteInteger("WindowPosition", "ToolBar", ToolBarDock(toolBarArea(Toolbar)));
    IniFile->WriteString("Path", "CurrentPath", CurrentPath.toStdString());

    const auto writeToolWindow = [this](QDockWidget* window, QAction* menuItem, const char* section) {
        IniFile->WriteBool(section, "Visible", menuItem->isChecked());
        const Qt::DockWidgetArea side = dockWidgetArea(window);
        const bool floating = window->isFloating() ||
                              (side != Qt::RightDockWidgetArea && side != Qt::LeftDockWidgetArea);
        IniFile->WriteInteger(section, "Docked", floating ? 3 : side == Qt::RightDockWidgetArea ? 1 : 2);
        if (floating) {
            IniFile->WriteInteger(section, "Top", window->y());
            IniFile->WriteInteger(section, "Left", window->x());
        } else {
            IniFile->WriteInteger(section, "Top", window->geometry().top() - centralWidget()->geometry().top());
        }
    };
    writeToolWindow(ToolWndSettings, miTools, "ToolWindow");
    writeToolWindow(ToolWndTable, miTable, "TableWindow");
    IniFile->WriteInteger("TableWindow", "Height", ToolWndTable->height());

    WriteIniReal("Calibration", "XMin", spXMin->Value());
    WriteIniReal("Calibration", "XMax", spXMax->Value());
    WriteIniReal("Calibration", "XIncrement", spXIncrement->Value());
    WriteIniReal("Calibration", "YMin", spYMin->Value());
    WriteIniReal("Calibration", "YMax", spYMax->Value());
    WriteIniReal("Calibration", "YIncrement", spYIncrement->Value());
    WriteIniReal("Calibration", "Step", spStep->Value());
    WriteIniReal("Calibration", "OldStep", static_cast<double>(Document.Trace().OtherStep));
    IniFile->WriteInteger("Calibration", "StepType", StepBox->currentIndex());
    IniFile->WriteBool("Calibration", "XLog", Document.AxisOf(Axis::X).Kind.Log);
    IniFile->WriteBool("Calibration", "YLog", Document.AxisOf(Axis::Y).Kind.Log);
    IniFile->WriteBool("Calibration", "XRev", Document.AxisOf(Axis::X).Kind.Reversed);
    IniFile->WriteBool("Calibration", "YRev", Document.AxisOf(Axis::Y).Kind.Reversed);

    IniFile->WriteBool("Options", "Stretch", btnStretch->isChecked());
    IniFile->WriteInteger("Options", "AxisSet", btnAxisSet->GlyphIndex());
    IniFile->WriteInteger("Options", "RegSet", btnRegSet->GlyphIndex());
    const TOptionsForm& options = *OptionsForm;
    IniFile->WriteBool("Options", "Scaling", options.chboxScaling->isChecked());
    IniFile->WriteBool("Options", "Rotate", options.chboxRotate->isChecked());
    IniFile->WriteBool("Options", "Sort", options.chboxSort->isChecked());
    IniFile->WriteInteger("Options", "LineSens", TruncateSetting(options.spLineSens->Value()));
    IniFile->WriteInteger("Options", "ColorSens", TruncateSetting(options.spColorSens->Value()));
    IniFile->WriteInteger("Options", "LineWeight", TruncateSetting(options.spLineWeight->Value()));
    IniFile->WriteString("Options", "LineColor", ColourToText(options.cboxLine->ColourValue()));
    IniFile->WriteString("Options", "GridColor", ColourToText(options.cboxGrid->ColourValue()));
    IniFile->WriteInteger("Options", "Sensitivity", TruncateSetting(options.spSensitivity->Value()));
    IniFile->WriteInteger("Options", "Precision", TruncateSetting(options.spDigits->Value()));
    IniFile->WriteString("Options", "PointColor", ColourToText(options.cboxPoint->ColourValue()));
    IniFile->WriteString("Options", "SelectPointColor", ColourToText(options.cboxSelectPoint->ColourValue()));
    IniFile->WriteBool("Options", "SubPixel", options.chSubPixel->isChecked());
    IniFile->WriteBool("Options", "NoFill", options.chNoFill->isChecked());
    IniFile->WriteBool("Options", "Follow", options.chFollow->isChecked());
    IniFile->WriteBool("Options", "AutoSens", options.chAutoSens->isChecked());
    // The language is written once chosen, so a file that never had it keeps
    // its lines as they were.
    const int language = options.cbLanguage->currentIndex();
    if (language > 0 || IniFile->ReadString("Options", "Language", std::string()) != std::string())
        IniFile->WriteInteger("Options", "Language", language);

    WriteIniReal("SetAxis", "XMin", SetAxisForm->spXMin->Value());
    WriteIniReal("SetAxis", "XMax", SetAxisForm->spXMax->Value());
    WriteIniReal("SetAxis", "YMin", SetAxisForm->spYMin->Value());
    WriteIniReal("SetAxis", "YMax", SetAxisForm->spYMax->Value());
}

} // namespace quillmark
