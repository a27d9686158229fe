#include "ui/app/MainUnit.h"
#include "settings/ProfileFile.h"
#include "settings/Settings.h"
#include "ui/plot/PlotAxis.h"
#include "ui/plot/PlotChart.h"
#include "ui/support/RecordingDialogs.h"
#include "ui/dialogs/OptUnit.h"
#include "ui/dialogs/SetAxis.h"
#include "ui/widgets/ColorBox.h"
#include "ui/widgets/SpinEdit.h"
#include "ui/widgets/ToolButtons.h"

#include <QScreen>
#include <QGuiApplication>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace quillmark;

namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        environment =
            testsupport::TemporaryFolderEnvironment(folder, std::make_shared<testsupport::RecordingDialogs>());
        environment.FallbackSettingsPath = folder.filePath(QStringLiteral("config/Quillmark/Quillmark.ini"));
    }

    // A window as the program starts it: constructed, then shown.
    std::unique_ptr<TMainForm> Start()
    {
        auto form = std::make_unique<TMainForm>(environment);
        for (SpinEdit* edit : {form->spXMin, form->spXMax, form->spYMin, form->spYMax, form->spXIncrement,
                               form->spYIncrement})
            edit->SetDecimalSeparator(QStringLiteral("."));
        form->show();
        return form;
    }

    void WriteSettings(const QByteArray& text, const QString& path = {})
    {
        QFile file(path.isEmpty() ? environment.SettingsPath : path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    static ProfileFile ReadProfile(const QString& path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        const QByteArray text = file.readAll();
        return ProfileFile(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    }

    QTemporaryDir folder;
    MainFormEnvironment environment;
};

TEST_F(SettingsFileTest, FirstRunGivesDefaultsAndWritesEveryKeyInTableOrder)
{
    auto form = Start();
    EXPECT_EQ(form->spXMin->Value(), 0);
    EXPECT_EQ(form->spXMax->Value(), 10);
    EXPECT_EQ(form->spYMin->Value(), -3);
    EXPECT_EQ(form->spYMax->Value(), 3);
    EXPECT_TRUE(form->btnStretch->isChecked());
    EXPECT_EQ(form->btnAxisSet->GlyphIndex(), 0);
    EXPECT_TRUE(form->mi2Point->isChecked());
    EXPECT_EQ(form->btnRegSet->GlyphIndex(), TMainForm::kGlyphContour);
    EXPECT_TRUE(form->miContour->isChecked());
    EXPECT_EQ(form->Chart->LeftAxis().GridColor(), QColor(0, 0, 255));
    EXPECT_EQ(form->dockWidgetArea(form->ToolWndSettings), Qt::RightDockWidgetArea);
    EXPECT_EQ(form->dockWidgetArea(form->ToolWndTable), Qt::RightDockWidgetArea);
    // The settings window sits above the table, as the defaults' Top say.
    EXPECT_LT(form->ToolWndSettings->y(), form->ToolWndTable->y());
    form->close();

    const ProfileFile file = ReadProfile(environment.SettingsPath);
    for (const char* section : {"ToolWindow", "TableWindow"}) {
        SCOPED_TRACE(section);
        EXPECT_EQ(file.Find(section, "Docked"), "1");
        EXPECT_TRUE(file.Find(section, "Top").has_value());
        EXPECT_FALSE(file.Find(section, "Left").has_value());
    }
    EXPECT_EQ(file.Find("ToolWindow", "Top"), "0");
    EXPECT_EQ(file.Find("WindowPosition", "WindowState"), "1");
    EXPECT_EQ(file.Find("WindowPosition", "ToolBar"), "1");
    EXPECT_EQ(file.Find("Calibration", "YMin"), "-3");
    EXPECT_EQ(file.Find("Options", "Stretch"), "1");
    EXPECT_EQ(file.Find("Options", "RegSet"), "4");

    // The keys written appear in the table's order.
    const std::string text = file.Text();
    std::size_t last = 0;
    for (const SettingKey& key : kSettingKeys) {
        if (!file.Find(key.Section, key.Key))
            continue;
        const std::string section = "[" + std::string(key.Section) + "]";
        const std::size_t at = text.find("\r\n" + std::string(key.Key) + "=", text.find(section));
        SCOPED_TRACE(std::string(key.Section) + "/" + std::string(key.Key));
        ASSERT_NE(at, std::string::npos);
        EXPECT_GE(at, last);
        last = at;
    }
}

TEST_F(SettingsFileTest, StoredStepIsRoundedHalfToEvenInPixels)
{
    const struct {
        const char* StepType;
        const char* Step;
        int Unit;
        double Shown;
    } cases[] = {{"0", "2.6", 0, 3}, {"0", "2.5", 0, 2}, {"0", "3.5", 0, 4}, {"1", "2.6", 1, 2.6}, {"5", "2.6", 0, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.StepType) + " " + c.Step);
        WriteSettings(QByteArray("[Calibration]\r\nStepType=") + c.StepType + "\r\nStep=" + c.Step +
                      "\r\nOldStep=7\r\n");
        auto form = Start();
        EXPECT_EQ(form->StepBox->currentIndex(), c.Unit);
        EXPECT_EQ(form->spStep->Value(), c.Shown);
        EXPECT_EQ(form->Document.Trace().OtherStep, 7);
        form->close();
        const ProfileFile file = ReadProfile(environment.SettingsPath);
        EXPECT_EQ(file.Find("Calibration", "StepType"), std::to_string(c.Unit));
        EXPECT_EQ(file.Find("Calibration", "OldStep"), "7");
    }
}

TEST_F(SettingsFileTest, CalibrationMethodFromAxisSet)
{
    WriteSettings("[Options]\r\nAxisSet=2\r\n");
    auto form = Start();
    EXPECT_EQ(form->btnAxisSet->GlyphIndex(), 2);
    EXPECT_TRUE(form->mi4Point->isChecked());
    EXPECT_FALSE(form->mi2Point->isChecked());
}

TEST_F(SettingsFileTest, AnyRegSetButThreeIsTheContour)
{
    for (const auto& [value, area] : {std::pair{"3", true}, std::pair{"4", false}, std::pair{"0", false},
                                      std::pair{"7", false}, std::pair{"x", false}}) {
        SCOPED_TRACE(value);
        WriteSettings(QByteArray("[Options]\r\nRegSet=") + value + "\r\n");
        auto form = Start();
        EXPECT_EQ(form->miArea->isChecked(), area);
        EXPECT_EQ(form->miContour->isChecked(), !area);
        EXPECT_EQ(form->btnRegSet->GlyphIndex(), area ? TMainForm::kGlyphArea : TMainForm::kGlyphContour);
    }
}

TEST_F(SettingsFileTest, GridColourColoursBothAxes)
{
    WriteSettings("[options]\r\ngridcolor=clRed\r\n");
    auto form = Start();
    EXPECT_EQ(form->Chart->LeftAxis().GridColor(), QColor(255, 0, 0));
    EXPECT_EQ(form->Chart->BottomAxis().GridColor(), QColor(255, 0, 0));
    EXPECT_EQ(form->OptionsForm->cboxGrid->Color(), QColor(255, 0, 0));
    form->close();
    EXPECT_EQ(ReadProfile(environment.SettingsPath).Find("Options", "GridColor"), "clRed");
}

TEST_F(SettingsFileTest, OptionsAndValueDialogAreWrittenFromTheirControls)
{
    auto form = Start();
    form->OptionsForm->chboxRotate->setChecked(true);
    form->OptionsForm->spLineSens->SetValue(120);
    form->OptionsForm->cboxPoint->SetColor(QColor(0, 128, 0));
    form->OptionsForm->cboxSelectPoint->SetColor(QColor(1, 2, 3));
    form->SetAxisForm->spYMax->SetDecimalSeparator(form->SettingsSeparator());
    form->SetAxisForm->spYMax->SetValue(2.5);
    form->close();
    const ProfileFile file = ReadProfile(environment.SettingsPath);
    EXPECT_EQ(file.Find("Options", "Rotate"), "1");
    EXPECT_EQ(file.Find("Options", "Scaling"), "0");
    EXPECT_EQ(file.Find("Options", "LineSens"), "120");
    EXPECT_EQ(file.Find("Options", "Precision"), "6");
    EXPECT_EQ(file.Find("Options", "PointColor"), "clGreen");
    EXPECT_EQ(file.Find("Options", "SelectPointColor"), "$00030201");
    EXPECT_EQ(file.Find("SetAxis", "YMax"), "2.5");
    EXPECT_EQ(file.Find("SetAxis", "XMax"), "10");
}

TEST_F(SettingsFileTest, RealsReadWithEitherSeparatorAndOnlyNonNumbersFallBackToTheirDefault)
{
    WriteSettings("[Calibration]\r\nXMin=2\r\nXMax=abc\r\nYMin=-1,5\r\nYMax=7.5\r\n");
    auto form = Start();
    EXPECT_EQ(form->spXMin->Value(), 2);
    EXPECT_EQ(form->spXMax->Value(), 10);
    EXPECT_EQ(form->spYMin->Value(), -1.5);
    EXPECT_EQ(form->spYMax->Value(), 7.5);
}

TEST_F(SettingsFileTest, ValuesAndUnknownLinesSurviveARoundTrip)
{
    WriteSettings("; kept\r\n[Mine]\r\nA=1\r\n[Calibration]\r\nColour=odd\r\nXMin=1.5\r\n");
    {
        auto form = Start();
        form->spXMax->SetValue(20.25);
        form->spYIncrement->SetValue(0.5);
        form->close();
    }
    const ProfileFile file = ReadProfile(environment.SettingsPath);
    EXPECT_EQ(file.Find("Mine", "A"), "1");
    EXPECT_EQ(file.Find("Calibration", "Colour"), "odd");
    EXPECT_EQ(file.Text().rfind("; kept\r\n", 0), 0U);
    auto again = Start();
    EXPECT_EQ(again->spXMin->Value(), 1.5);
    EXPECT_EQ(again->spXMax->Value(), 20.25);
    EXPECT_EQ(again->spYIncrement->Value(), 0.5);
}

TEST_F(SettingsFileTest, FloatingToolbarLeavesTheStoredDock)
{
    WriteSettings("[WindowPosition]\r\nToolBar=3\r\n");
    auto form = Start();
    EXPECT_EQ(form->toolBarArea(form->Toolbar), Qt::BottomToolBarArea);
    form->Toolbar->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    form->Toolbar->show();
    ASSERT_TRUE(form->Toolbar->isFloating());
    form->close();
    EXPECT_EQ(ReadProfile(environment.SettingsPath).Find("WindowPosition", "ToolBar"), "3");
}

TEST_F(SettingsFileTest, WindowsSavedOnAScreenNoLongerThereComeBackOnScreen)
{
    WriteSettings("[WindowPosition]\r\nLeft=9000\r\nTop=40\r\n"
                  "[TableWindow]\r\nDocked=3\r\nLeft=-5000\r\nTop=140\r\n");
    auto form = Start();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(form->pos(), screen.topLeft());
    ASSERT_TRUE(form->ToolWndTable->isFloating());
    EXPECT_EQ(form->ToolWndTable->pos(), screen.topLeft());
}

TEST_F(SettingsFileTest, FloatingToolWindowWritesLeftAndTop)
{
    WriteSettings("[TableWindow]\r\nDocked=3\r\nLeft=120\r\nTop=140\r\nHeight=230\r\n");
    auto form = Start();
    ASSERT_TRUE(form->ToolWndTable->isFloating());
    EXPECT_EQ(form->ToolWndTable->pos(), QPoint(120, 140));
    EXPECT_EQ(form->ToolWndTable->height(), 230);
    form->close();
    const ProfileFile file = ReadProfile(environment.SettingsPath);
    EXPECT_EQ(file.Find("TableWindow", "Docked"), "3");
    EXPECT_EQ(file.Find("TableWindow", "Left"), "120");
    EXPECT_EQ(file.Find("TableWindow", "Top"), "140");
    EXPECT_EQ(file.Find("TableWindow", "Height"), "230");
}

TEST_F(SettingsFileTest, DockedTopOrdersTheWindowsOfOneSide)
{
    WriteSettings("[ToolWindow]\r\nTop=300\r\n[TableWindow]\r\nTop=0\r\n");
    auto form = Start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->ToolWndTable->y() < form->ToolWndSettings->y(); }));
}

TEST_F(SettingsFileTest, UnwritableProgramFolderFallsBackToTheConfigurationFolder)
{
    // A folder beneath a plain file cannot exist, whoever runs the test.
    WriteSettings("", folder.filePath(QStringLiteral("plain")));
    environment.SettingsPath = folder.filePath(QStringLiteral("plain/Quillmark.ini"));
    EXPECT_EQ(TMainForm::SettingsFileLocation(environment), environment.FallbackSettingsPath);
    {
        auto form = Start();
        form->spXMax->SetValue(42);
        form->close();
    }
    EXPECT_EQ(ReadProfile(environment.FallbackSettingsPath).Find("Calibration", "XMax"), "42");
    auto again = Start();
    EXPECT_EQ(again->spXMax->Value(), 42);
}

TEST_F(SettingsFileTest, WritableProgramFolderKeepsTheFileBesideTheProgram)
{
    EXPECT_EQ(TMainForm::SettingsFileLocation(environment), environment.SettingsPath);
    auto form = Start();
    form->close();
    EXPECT_TRUE(QFile::exists(environment.SettingsPath));
    EXPECT_FALSE(QFile::exists(environment.FallbackSettingsPath));
    // No temporary file is left behind.
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("Quillmark.ini")});
}

} // namespace

TEST_F(SettingsFileTest, SettingsWindowRestoredFloatingAndHiddenShowsAtItsLaidOutSize)
{
    WriteSettings("[ToolWindow]\r\nDocked=3\r\nVisible=0\r\n");
    auto form = Start();
    ASSERT_TRUE(form->ToolWndSettings->isFloating());
    ASSERT_TRUE(form->ToolWndSettings->isHidden());
    form->btnTools->click();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form->ToolWndSettings));
    const QSize laidOut = form->ToolWndSettings->sizeHint();
    EXPECT_GE(form->ToolWndSettings->width(), laidOut.width());
    EXPECT_GE(form->ToolWndSettings->height(), laidOut.height());
}
