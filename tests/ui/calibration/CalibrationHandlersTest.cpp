#include "../dialogs/ScriptedWindow.h"

#include "calibration/Calibration.h"
#include "ui/dialogs/OptUnit.h"
#include "ui/dialogs/SetAxis.h"
#include "ui/plot/PlotChart.h"
#include "ui/widgets/ColorBox.h"
#include "ui/widgets/SpinEdit.h"
#include "ui/widgets/ToolButtons.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>

using namespace quillmark;
using namespace quillmark::dialogtest;

namespace {

class CalibrationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form().resize(900, 700);
        form().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form()));
        form().EnablePictureGroup();
        const QRect r = form().Chart->PlotRect();
        L = r.left();
        T = r.top();
        W = r.width();
        H = r.height();
        ASSERT_GE(W, 320);
        ASSERT_GE(H, 320);
    }

    TMainForm& form() { return *w.form; }
    PlotSeries& markers() { return *form().Chart->AxisSeries(); }
    // A left click on the plot at (L + dx, T + dy), through the plot's own
    // dispatch (a click on a marker arrives through srAxis).
    void Click(int dx, int dy) { form().Chart->ClickAt(Qt::LeftButton, Qt::NoModifier, L + dx, T + dy); }
    // The user types the values and presses Ok.
    void AcceptWith(double xMin, double xMax, double yMin, double yMax)
    {
        w.dialogs->OnDialog = [=](QDialog& dialog) {
            auto& values = dynamic_cast<TSetAxisForm&>(dialog);
            values.spXMin->SetValue(xMin);
            values.spXMax->SetValue(xMax);
            values.spYMin->SetValue(yMin);
            values.spYMax->SetValue(yMax);
            return int(QDialog::Accepted);
        };
    }
    AxisLimits Limits() const { return w.form->CurrentAxisLimits(); }

    ScriptedWindow w;
    int L = 0, T = 0, W = 0, H = 0;
};

struct ClickSequence {
    const char* Name;
    void (TMainForm::*Start)();
    const char* EntryHint;
    std::vector<SurfacePoint> Clicks;      // offsets from (L, T)
    std::vector<const char*> HintsAfter;   // before the last click
    std::array<SurfacePoint, 4> Slots;     // offsets, after the last click
};

class ClickSequenceTest : public CalibrationTest, public ::testing::WithParamInterface<ClickSequence> {};

} // namespace

TEST_P(ClickSequenceTest, PromptsMarksAndFillsTheSlots)
{
    const ClickSequence& s = GetParam();
    form().OptionsForm->cboxPoint->SetColor(QColor(0, 128, 0));
    (form().*s.Start)();
    ASSERT_TRUE(form().CalibrationOn());
    EXPECT_EQ(form().Document.Calibration().Count, 0);
    EXPECT_EQ(form().CalibrationHintText(), QString::fromUtf8(s.EntryHint));
    EXPECT_TRUE(form().CalibrationHintVisible());
    EXPECT_TRUE(form().Timer->isActive());
    EXPECT_EQ(form().Chart->cursor().shape(), Qt::CrossCursor);
    EXPECT_EQ(form().PageControl->currentWidget(), form().tabDigit);
    EXPECT_TRUE(markers().MarkersVisible());
    EXPECT_FALSE(markers().LineVisible());

    for (std::size_t i = 0; i + 1 < s.Clicks.size(); ++i) {
        SCOPED_TRACE(i);
        Click(s.Clicks[i].X, s.Clicks[i].Y);
        EXPECT_EQ(form().Document.Calibration().Count, int(i) + 1);
        EXPECT_EQ(form().CalibrationHintText(), QString::fromUtf8(s.HintsAfter[i]));
        EXPECT_TRUE(form().CalibrationHintVisible());
        ASSERT_EQ(markers().Count(), int(i) + 1);
        const AxisPoint at = PixelToAxis(SurfacePoint{L + s.Clicks[i].X, T + s.Clicks[i].Y},
                                         form().CalibrationRect(), Limits());
        // The marker series keeps its points in ascending X.
        int found = -1;
        for (int m = 0; m < markers().Count(); ++m)
            if (markers().XValue(m) == double(at.X) && markers().YValue(m) == double(at.Y))
                found = m;
        ASSERT_GE(found, 0);
        EXPECT_EQ(markers().PointColor(found), QColor(0, 128, 0));
    }
    const AxisLimits before = Limits();
    const SurfacePoint last = s.Clicks.back();
    // The last click opens the value dialog; cancelling ends the mode and
    // leaves the axes alone.
    std::size_t markersAtDialog = 0;
    bool hintAtDialog = true;
    w.dialogs->OnDialog = [&](QDialog&) {
        markersAtDialog = std::size_t(markers().Count());
        hintAtDialog = form().CalibrationHintVisible();
        return int(QDialog::Rejected);
    };
    Click(last.X, last.Y);
    EXPECT_EQ(w.dialogs->TakeCalls(), std::vector<std::string>{"dialog: Задайте координаты"});
    EXPECT_EQ(markersAtDialog, s.Clicks.size());
    EXPECT_FALSE(hintAtDialog);
    for (std::size_t slot = 0; slot < 4; ++slot)
        EXPECT_EQ(form().Document.Calibration().Clicks[slot], (SurfacePoint{L + s.Slots[slot].X, T + s.Slots[slot].Y})) << slot;
    EXPECT_FALSE(form().CalibrationOn());
    EXPECT_EQ(form().Document.Calibration().Count, int(s.Clicks.size()));
    EXPECT_EQ(Limits(), before);
    EXPECT_EQ(markers().Count(), 0);
    EXPECT_FALSE(markers().MarkersVisible());
    EXPECT_FALSE(form().CalibrationHintVisible());
    EXPECT_FALSE(form().Timer->isActive());
    EXPECT_EQ(form().Chart->cursor().shape(), Qt::ArrowCursor);
}

INSTANTIATE_TEST_SUITE_P(
    Methods, ClickSequenceTest,
    ::testing::Values(
        ClickSequence{"TwoPoints", &TMainForm::mi2PointSetClick, "Задайте точку Xmin и Ymin",
                      {{10, 300}, {300, 20}}, {"Задайте точку Xmax и Ymax"},
                      {{{10, 300}, {300, 20}, {300, 20}, {10, 300}}}},
        ClickSequence{"ThreePoints", &TMainForm::mi3PointSetClick, "Задайте точку Xmin и Ymin",
                      {{10, 300}, {300, 301}, {11, 20}}, {"Задайте точку Xmax", "Задайте точку Ymax"},
                      {{{10, 300}, {300, 301}, {11, 20}, {10, 300}}}},
        ClickSequence{"FourPoints", &TMainForm::mi4PointSetClick, "Задайте точку Xmin",
                      {{10, 200}, {300, 201}, {150, 300}, {151, 20}},
                      {"Задайте точку Xmax", "Задайте точку Ymin", "Задайте точку Ymax"},
                      {{{10, 200}, {300, 201}, {151, 20}, {150, 300}}}}),
    [](const ::testing::TestParamInfo<ClickSequence>& p) { return std::string(p.param.Name); });

TEST_F(CalibrationTest, TwoPointsSolveToTheLimitsThatPutTheClicksOnTheValues)
{
    form().mi2PointSetClick();
    AcceptWith(0, 10, 0, 10);
    Click(100, 300);
    Click(300, 100);
    // kx = ky = 10 / 200.
    const long double k = 0.05L;
    const AxisLimits limits = Limits();
    EXPECT_NEAR(double(limits.XMin), -5, 1e-12);
    EXPECT_NEAR(double(limits.XMax), double(10 + k * (W - 300)), 1e-12);
    EXPECT_NEAR(double(limits.YMax), 15, 1e-12);
    EXPECT_NEAR(double(limits.YMin), double(-k * (H - 300)), 1e-12);
    EXPECT_NEAR(form().spXMin->Value(), -5, 1e-12);
    EXPECT_NEAR(form().spYMax->Value(), 15, 1e-12);
    // The clicked pixels now carry the typed values.
    const AxisPoint first = PixelToAxis({L + 100, T + 300}, form().CalibrationRect(), limits);
    const AxisPoint second = PixelToAxis({L + 300, T + 100}, form().CalibrationRect(), limits);
    EXPECT_NEAR(double(first.X), 0, 1e-9);
    EXPECT_NEAR(double(first.Y), 0, 1e-9);
    EXPECT_NEAR(double(second.X), 10, 1e-9);
    EXPECT_NEAR(double(second.Y), 10, 1e-9);
    EXPECT_FALSE(form().CalibrationOn());
    EXPECT_TRUE(w.dialogs->TakeCalls().size() == 1);
}

TEST_F(CalibrationTest, ValuesThatRunBackwardsGiveAReversedAxis)
{
    form().mi2PointSetClick();
    AcceptWith(10, 0, 0, 10);
    Click(100, 300);
    Click(300, 100);
    // X falls to the right: the axis runs reversed, its limits in order.
    EXPECT_EQ(w.dialogs->TakeCalls(), (std::vector<std::string>{"dialog: Задайте координаты"}));
    EXPECT_TRUE(form().Document.AxisOf(Axis::X).Kind.Reversed);
    EXPECT_FALSE(form().Document.AxisOf(Axis::Y).Kind.Reversed);
    EXPECT_LT(Limits().XMin, Limits().XMax);
    EXPECT_FALSE(form().CalibrationOn());
}

TEST_F(CalibrationTest, StraighteningAddsTheMeanTiltForThreeAndFourPointsOnly)
{
    struct Case {
        const char* Name;
        void (TMainForm::*Start)();
        bool Option;
        std::vector<SurfacePoint> Clicks;
        long double Degrees;
    };
    const long double tilt = std::atan2(1.0L, 100.0L) * kDegreesPerRadian;
    const Case cases[] = {
        {"four points", &TMainForm::mi4PointSetClick, true, {{50, 200}, {250, 202}, {150, 300}, {152, 100}}, tilt},
        {"three points", &TMainForm::mi3PointSetClick, true, {{50, 300}, {250, 302}, {52, 100}}, tilt},
        {"option off", &TMainForm::mi4PointSetClick, false, {{50, 200}, {250, 202}, {150, 300}, {152, 100}}, 0},
        {"two points never", &TMainForm::mi2PointSetClick, true, {{50, 300}, {250, 100}}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const long double start = form().spRotate->Value();
        form().OptionsForm->chboxRotate->setChecked(c.Option);
        (form().*c.Start)();
        AcceptWith(0, 10, 0, 10);
        for (const SurfacePoint& p : c.Clicks)
            Click(p.X, p.Y);
        EXPECT_FALSE(form().CalibrationOn());
        EXPECT_NEAR(double(form().spRotate->Value() - start), double(c.Degrees), 1e-12);
        if (c.Degrees != 0) {
            // The stored points were turned with the picture; with no picture
            // open they stay (RotateAboutCentre leaves an empty picture alone),
            // so the limits come from the points as clicked.
            EXPECT_EQ(form().Document.Calibration().Clicks[0], (SurfacePoint{L + c.Clicks[0].X, T + c.Clicks[0].Y}));
        }
    }
}

TEST_F(CalibrationTest, StraighteningTurnsTheStoredPointsWithThePicture)
{
    form().Document.OpenPicture(std::make_unique<TFastBMP>(W, H));
    form().btnStretch->setChecked(true);
    form().OptionsForm->chboxRotate->setChecked(true);
    form().mi4PointSetClick();
    AcceptWith(0, 10, 0, 10);
    const std::array<SurfacePoint, 4> clicks = {{{50, 200}, {250, 210}, {150, 300}, {160, 100}}};
    AxisPointSlots clicked{};
    clicked[0] = {L + 50, T + 200};
    clicked[1] = {L + 250, T + 210};
    clicked[3] = {L + 150, T + 300};
    clicked[2] = {L + 160, T + 100};
    for (const SurfacePoint& p : clicks)
        Click(p.X, p.Y);
    const long double theta = StraighteningAngle(clicked);
    const AxisPointSlots turned =
        RotateSlotsAboutCentre(clicked, theta, form().CalibrationRect(), PictureSize{W, H}, true);
    EXPECT_EQ(form().Document.Calibration().Clicks, turned);
    EXPECT_NE(turned[1], clicked[1]);
    const AxisLimits expected = SolveCalibrationLimits(turned, {0, 10, 0, 10}, form().CalibrationRect());
    EXPECT_NEAR(double(Limits().XMin), double(expected.XMin), 1e-9);
    EXPECT_NEAR(double(Limits().YMax), double(expected.YMax), 1e-9);
}

TEST_F(CalibrationTest, CoincidentReferencesAreRefusedAndTheLastPointIsAskedAgain)
{
    struct Case {
        const char* Name;
        SurfacePoint Second;
        const char* Message;
    };
    const Case cases[] = {
        {"same column", {100, 100}, "error: Ошибка | Точки привязки по оси X совпадают"},
        {"same row", {300, 300}, "error: Ошибка | Точки привязки по оси Y совпадают"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const AxisLimits before = Limits();
        form().OptionsForm->chboxRotate->setChecked(false);
        form().mi2PointSetClick();
        AcceptWith(0, 10, 0, 10);
        Click(100, 300);
        Click(c.Second.X, c.Second.Y);
        EXPECT_EQ(w.dialogs->TakeCalls(), (std::vector<std::string>{"dialog: Задайте координаты", c.Message}));
        EXPECT_EQ(Limits(), before);
        EXPECT_TRUE(form().CalibrationOn());
        EXPECT_EQ(form().Document.Calibration().Count, 1);
        EXPECT_EQ(markers().Count(), 2);
        // The next click is the last reference point again.
        Click(300, 100);
        EXPECT_EQ(w.dialogs->TakeCalls(), std::vector<std::string>{"dialog: Задайте координаты"});
        EXPECT_FALSE(form().CalibrationOn());
        EXPECT_NEAR(double(Limits().XMin), -5, 1e-12);
        // Back to the start for the next case.
        form().spXMin->SetValue(0);
        form().Document.SetAxisRange(Axis::X, 0, 10);
        form().Document.SetAxisRange(Axis::Y, -3, 3);
    }
}

TEST_F(CalibrationTest, EscapeAndTheButtonLeaveTheMode)
{
    form().mi3PointSetClick();
    Click(10, 300);
    ASSERT_EQ(markers().Count(), 1);
    QTest::keyClick(form().Chart, Qt::Key_Escape);
    EXPECT_FALSE(form().CalibrationOn());
    EXPECT_EQ(markers().Count(), 0);
    EXPECT_FALSE(form().CalibrationHintVisible());
    EXPECT_FALSE(form().Timer->isActive());
    EXPECT_EQ(form().Document.Calibration().Count, 1); // kept until the next entry

    // Pressing the button enters with the method of its glyph, again leaves.
    QTest::mouseClick(form().btnAxisSet, Qt::LeftButton, {}, QPoint(5, 12));
    EXPECT_TRUE(form().CalibrationOn());
    EXPECT_EQ(form().Document.Calibration().Count, 0);
    EXPECT_EQ(form().CalibrationHintText(), QStringLiteral("Задайте точку Xmin и Ymin"));
    QTest::mouseClick(form().btnAxisSet, Qt::LeftButton, {}, QPoint(5, 12));
    EXPECT_FALSE(form().CalibrationOn());
    EXPECT_TRUE(w.dialogs->Calls.empty());
}

TEST_F(CalibrationTest, MainMenuRestartsWhileDropDownToggles)
{
    form().mi2PointSetClick();
    Click(10, 300);
    // A main-menu item while on: restart with the new method.
    form().mi4PointSet->trigger();
    EXPECT_TRUE(form().CalibrationOn());
    EXPECT_EQ(form().Document.Calibration().Count, 0);
    EXPECT_EQ(markers().Count(), 0);
    EXPECT_EQ(form().btnAxisSet->GlyphIndex(), 2);
    EXPECT_TRUE(form().mi4Point->isChecked());
    EXPECT_EQ(form().CalibrationHintText(), QStringLiteral("Задайте точку Xmin"));

    // A drop-down item while on ends the mode without solving; the method
    // applies to the next entry.
    Click(10, 300);
    form().mi3Point->trigger();
    EXPECT_FALSE(form().CalibrationOn());
    EXPECT_TRUE(w.dialogs->Calls.empty());
    EXPECT_EQ(form().btnAxisSet->GlyphIndex(), 1);
    form().btnAxisSet->click();
    EXPECT_TRUE(form().CalibrationOn());
    EXPECT_EQ(form().CurrentCalibrationMethod(), CalibrationMethod::ThreePoints);
    // A drop-down item while off enters.
    form().btnAxisSet->click();
    form().mi2Point->trigger();
    EXPECT_TRUE(form().CalibrationOn());
    EXPECT_EQ(form().CurrentCalibrationMethod(), CalibrationMethod::TwoPoints);
}

TEST_F(CalibrationTest, MarkersTakeThePointColourOfTheirMoment)
{
    form().mi4PointSetClick();
    form().OptionsForm->cboxPoint->SetColor(QColor(255, 0, 0));
    Click(10, 200);
    form().OptionsForm->cboxPoint->SetColor(QColor(0, 0, 128));
    Click(300, 200);
    EXPECT_EQ(markers().PointColor(0), QColor(255, 0, 0));
    EXPECT_EQ(markers().PointColor(1), QColor(0, 0, 128));
}

TEST_F(CalibrationTest, ButtonHintNamesTheMethod)
{
    const char* hints[] = {"Привязка координат по 2 точкам", "Привязка координат по 3 точкам",
                           "Привязка координат по 4 точкам"};
    for (int method = 0; method < 3; ++method) {
        form().btnAxisSet->SetGlyphIndex(method);
        form().btnAxisSetMouseEnter();
        EXPECT_EQ(form().btnAxisSet->toolTip(), QString::fromUtf8(hints[method]));
    }
}

TEST(SetAxisDialog, HoldsFourRealEditsFromTheSettings)
{
    ScriptedWindow w("[SetAxis]\r\nXMin=-1\r\nXMax=25\r\nYMax=1e3\r\n");
    const TSetAxisForm& values = *w.form->SetAxisForm;
    EXPECT_EQ(values.windowTitle(), QStringLiteral("Задайте координаты"));
    EXPECT_EQ(values.spXMin->Value(), -1);
    EXPECT_EQ(values.spYMin->Value(), 0);
    EXPECT_EQ(values.spXMax->Value(), 25);
    EXPECT_EQ(values.spYMax->Value(), 1000);
    for (const SpinEdit* edit : {values.spXMin, values.spYMin, values.spXMax, values.spYMax}) {
        EXPECT_FALSE(edit->IntegerKind());
        EXPECT_EQ(edit->Increment(), 0.1);
    }
    EXPECT_EQ(values.btnCancel->text(), QStringLiteral("Отменить"));
    EXPECT_EQ(values.btnOk->text(), QStringLiteral("Ok"));
}

TEST_F(CalibrationTest, AReferenceClickOnTheDrawnCurveCounts)
{
    PlotSeries& data = *form().Chart->DataSeries();
    const AxisPoint on = PixelToAxis(SurfacePoint{L + 100, T + 100}, form().CalibrationRect(), Limits());
    data.Add(double(on.X), double(on.Y), QString(), QColor(0, 0, 255));
    data.SetActive(true);
    int index = -1;
    ASSERT_EQ(form().Chart->HitSeries(L + 100, T + 100, &index), &data);
    form().mi2PointSetClick();
    Click(100, 100);
    EXPECT_EQ(form().Document.Calibration().Count, 1);
    EXPECT_EQ(markers().Count(), 1);
}

TEST_F(CalibrationTest, EveryShowingOfTheValueDialogStartsWithOkTheDefault)
{
    TSetAxisForm& values = *form().SetAxisForm;
    for (int showing = 0; showing < 2; ++showing) {
        SCOPED_TRACE(showing);
        values.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&values));
        EXPECT_TRUE(values.btnOk->isDefault());
        EXPECT_FALSE(values.btnCancel->isDefault());
        // The user tabs to "Отменить" and closes with it.
        values.btnCancel->setFocus();
        values.btnCancel->click();
        values.hide();
    }
}
