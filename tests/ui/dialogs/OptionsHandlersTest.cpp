#include "ui/dialogs/OptUnit.h"
#include "ui/Adapt.h"
#include "ScriptedWindow.h"

#include "ui/plot/PlotChart.h"
#include "ui/widgets/ColorBox.h"
#include "ui/widgets/SpinEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLocale>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace quillmark;
using namespace quillmark::dialogtest;

namespace {

const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
const QColor kGreen(0, 128, 0);
const QColor kYellow(255, 255, 0);

struct NumberField {
    const char* Name;
    SpinEdit* TOptionsForm::*Edit;
    double Minimum;
    double Maximum;
    double Default;
};

} // namespace

TEST(OptionsDialog, StartsFromTheDefaultsWithoutSettings)
{
    ScriptedWindow w;
    const TOptionsForm& options = *w.form->OptionsForm;
    EXPECT_EQ(options.windowTitle(), QStringLiteral("Опции"));
    EXPECT_FALSE(options.chboxScaling->isChecked());
    EXPECT_FALSE(options.chboxRotate->isChecked());
    EXPECT_FALSE(options.chboxSort->isChecked());
    EXPECT_TRUE(w.form->Chart->DataSeries()->XOrderAscending());
    const NumberField fields[] = {
        {"LineSens", &TOptionsForm::spLineSens, 0, 500, 50},
        {"ColorSens", &TOptionsForm::spColorSens, 0, 500, 50},
        {"Precision", &TOptionsForm::spDigits, 0, 18, 6},
        {"LineWeight", &TOptionsForm::spLineWeight, 0, 10, 1},
        {"Sensitivity", &TOptionsForm::spSensitivity, 0, 50, 1},
    };
    for (const NumberField& field : fields) {
        SCOPED_TRACE(field.Name);
        SpinEdit* edit = options.*field.Edit;
        EXPECT_TRUE(edit->IntegerKind());
        EXPECT_EQ(edit->Value(), field.Default);
        EXPECT_EQ(edit->MinValue(), field.Minimum);
        EXPECT_EQ(edit->MaxValue(), field.Maximum);
        EXPECT_EQ(edit->Increment(), 1);
        edit->SetValue(field.Maximum + 7);
        EXPECT_EQ(edit->Value(), field.Maximum);
    }
    EXPECT_EQ(options.cboxLine->Color(), kBlue);
    EXPECT_EQ(options.cboxGrid->Color(), kBlue);
    EXPECT_EQ(options.cboxPoint->Color(), kBlue);
    EXPECT_EQ(options.cboxSelectPoint->Color(), kRed);
    EXPECT_EQ(options.btnOk->text(), QStringLiteral("Ok"));
}

TEST(OptionsDialog, ReadsItsValuesFromTheSettingsFile)
{
    ScriptedWindow w("[Options]\r\nScaling=1\r\nRotate=1\r\nSort=1\r\nLineSens=120\r\nColorSens=7\r\n"
                     "LineWeight=3\r\nLineColor=clGreen\r\nGridColor=clYellow\r\nSensitivity=5\r\n"
                     "Precision=9\r\nPointColor=clLime\r\nSelectPointColor=$00800000\r\n");
    const TOptionsForm& options = *w.form->OptionsForm;
    EXPECT_TRUE(options.chboxScaling->isChecked());
    EXPECT_TRUE(w.form->ScalingAboutZero());
    EXPECT_TRUE(options.chboxRotate->isChecked());
    EXPECT_TRUE(options.chboxSort->isChecked());
    // A stored Sort=1 switches the ordering off already at start-up.
    EXPECT_FALSE(w.form->Chart->DataSeries()->XOrderAscending());
    EXPECT_EQ(options.spLineSens->Value(), 120);
    EXPECT_EQ(options.spColorSens->Value(), 7);
    EXPECT_EQ(options.spLineWeight->Value(), 3);
    EXPECT_EQ(options.spSensitivity->Value(), 5);
    EXPECT_EQ(options.spDigits->Value(), 9);
    EXPECT_EQ(options.cboxLine->Color(), kGreen);
    EXPECT_EQ(options.cboxGrid->Color(), kYellow);
    EXPECT_EQ(options.cboxPoint->Color(), QColor(0, 255, 0));
    EXPECT_EQ(options.cboxSelectPoint->Color(), QColor(0, 0, 128)); // $00BBGGRR: Navy
}

TEST(OptionsDialog, SortBoxSwitchesTheOrderingWithoutMovingPoints)
{
    ScriptedWindow w;
    PlotSeries* data = w.form->Chart->DataSeries();
    w.form->OptionsForm->chboxSort->click();
    EXPECT_FALSE(data->XOrderAscending());
    w.form->Document.AddPoint(DataPoint{3, 0, {}, ToCoreColourOrNone(kBlue)});
    w.form->Document.AddPoint(DataPoint{1, 0, {}, ToCoreColourOrNone(kBlue)});
    w.form->OptionsForm->chboxSort->click();
    EXPECT_TRUE(data->XOrderAscending());
    EXPECT_EQ(data->XValue(0), 3);
    // Closing the dialog re-adds the points, now sorted.
    w.form->miOptionsClick();
    EXPECT_EQ(data->XValue(0), 1);
    EXPECT_EQ(data->XValue(1), 3);
}

TEST(OptionsDialog, OkAndTheCloseBoxBothApply)
{
    for (const int result : {int(QDialog::Accepted), int(QDialog::Rejected)}) {
        SCOPED_TRACE(result);
        ScriptedWindow w;
        w.dialogs->OnDialog = [&](QDialog& dialog) {
            auto& options = dynamic_cast<TOptionsForm&>(dialog);
            options.cboxLine->SetColor(kGreen);
            options.cboxGrid->SetColor(kYellow);
            options.spLineWeight->SetValue(0);
            return result;
        };
        w.form->miOptionsClick();
        EXPECT_EQ(w.dialogs->TakeCalls(), std::vector<std::string>{"dialog: Опции"});
        EXPECT_EQ(w.form->Chart->LeftAxis().GridColor(), kYellow);
        EXPECT_EQ(w.form->Chart->BottomAxis().GridColor(), kYellow);
        EXPECT_EQ(w.form->Chart->DataSeries()->SeriesColor(), kGreen);
        EXPECT_EQ(w.form->Chart->DataSeries()->PenWidth(), 0);
        EXPECT_EQ(w.form->Chart->DataSeries()->Count(), 0);
    }
}

TEST(OptionsDialog, SeriesStyleColoursPointsByMethodAndSelectionByX)
{
    struct Case {
        const char* Name;
        int Method;
        int Selected;
        std::vector<QColor> Colours;
    };
    const Case cases[] = {
        {"automatic: line colour, no selection", 0, 2, {kGreen, kGreen, kGreen, kGreen}},
        {"manual: point colour", 2, -1, {kYellow, kYellow, kYellow, kYellow}},
        {"manual: every point at the selected x", 2, 2, {kYellow, kRed, kRed, kYellow}},
        {"edit: the same", 3, 0, {kRed, kYellow, kYellow, kYellow}},
        {"selection past the end: none", 2, 9, {kYellow, kYellow, kYellow, kYellow}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        ScriptedWindow w;
        TOptionsForm& options = *w.form->OptionsForm;
        options.cboxLine->SetColor(kGreen);
        options.cboxPoint->SetColor(kYellow);
        options.cboxSelectPoint->SetColor(kRed);
        options.spLineWeight->SetValue(4);
        PlotSeries* data = w.form->Chart->DataSeries();
        data->SetXOrderAscending(false);
        for (const double x : {1.0, 2.5, 2.5, 4.0})
            w.form->Document.AddPoint(DataPoint{x, x * 10, {}, ToCoreColourOrNone(kBlue)});
        w.form->MetodBox->setCurrentIndex(c.Method);
        w.form->Document.SetSelected(c.Selected);
        w.form->ApplySeriesStyle();
        ASSERT_EQ(data->Count(), 4);
        EXPECT_TRUE(data->Active());
        EXPECT_EQ(data->PenWidth(), 4);
        EXPECT_EQ(data->SeriesColor(), kGreen);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(data->PointColor(i), c.Colours[static_cast<std::size_t>(i)]) << "point " << i;
        EXPECT_EQ(data->YValue(1), 25);
    }
}

TEST(OptionsDialog, ReAddedPointsAreLabelledWithTheirX)
{
    ScriptedWindow w;
    PlotSeries* data = w.form->Chart->DataSeries();
    w.form->Document.AddPoint(DataPoint{0.1, 1, {}, ToCoreColourOrNone(kBlue)});
    w.form->Document.AddPoint(DataPoint{12345.678, 2, {}, ToCoreColourOrNone(kBlue)});
    w.form->ApplySeriesStyle();
    const QString separator = QLocale::system().decimalPoint();
    EXPECT_EQ(data->Label(0), QStringLiteral("0") + separator + QStringLiteral("1"));
    EXPECT_EQ(data->Label(1), QStringLiteral("12345") + separator + QStringLiteral("678"));
}

TEST(ColorBox, OffersTheSixteenStandardColoursInOrder)
{
    ColorBox box;
    const std::pair<const char*, QColor> expected[] = {
        {"Black", {0, 0, 0}},        {"Maroon", {128, 0, 0}},   {"Green", {0, 128, 0}},
        {"Olive", {128, 128, 0}},    {"Navy", {0, 0, 128}},     {"Purple", {128, 0, 128}},
        {"Teal", {0, 128, 128}},     {"Gray", {128, 128, 128}}, {"Silver", {192, 192, 192}},
        {"Red", {255, 0, 0}},        {"Lime", {0, 255, 0}},     {"Yellow", {255, 255, 0}},
        {"Blue", {0, 0, 255}},       {"Fuchsia", {255, 0, 255}}, {"Aqua", {0, 255, 255}},
        {"White", {255, 255, 255}},
    };
    ASSERT_EQ(box.count(), 16);
    for (int i = 0; i < 16; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(box.itemText(i), QString::fromLatin1(expected[i].first));
        box.setCurrentIndex(i);
        EXPECT_EQ(box.Color(), expected[i].second);
        EXPECT_FALSE(box.itemIcon(i).isNull());
    }
}

TEST(ColorBox, KeepsAColourOutsideTheStandardOnes)
{
    ColorBox box;
    box.SetColourValue(0x00FF0000); // 0x00BBGGRR: blue
    EXPECT_EQ(box.currentText(), QStringLiteral("Blue"));
    EXPECT_EQ(box.ColourValue(), 0x00FF0000u);
    box.SetColourValue(0x00123456);
    EXPECT_EQ(box.count(), 17);
    EXPECT_EQ(box.Color(), QColor(0x56, 0x34, 0x12));
    EXPECT_EQ(box.ColourValue(), 0x00123456u);
    box.SetColourValue(0x00654321);
    EXPECT_EQ(box.count(), 17);
    EXPECT_EQ(box.ColourValue(), 0x00654321u);
}
