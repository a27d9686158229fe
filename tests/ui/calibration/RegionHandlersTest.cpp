// Drawing the digitizing region on the plot, its edits, its style and the
// check box that switches it on.
#include "../digitize/EditingWindow.h"

#include "ui/formats/ToolkitPictures.h"
#include "imaging/FastBMP.h"
#include "ui/widgets/SpinEdit.h"
#include "ui/widgets/ToolButtons.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>

using namespace quillmark;
using namespace quillmark::test;

namespace {

class RegionWindow : public EditingWindowTest {
protected:
    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButtons held)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(at), form->Chart->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
        QApplication::sendEvent(form->Chart, &event);
    }

    void Drag(QPoint from, QPoint to)
    {
        form->btnRegSet->setChecked(true);
        Mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
        Mouse(QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
        Mouse(QEvent::MouseMove, to, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
    }

    QPoint Corner(int dx, int dy) const { return form->Chart->PlotRect().topLeft() + QPoint(dx, dy); }

    std::vector<QWidget*> RegionControls() const
    {
        return {form->spXMinReg, form->spYMinReg, form->spXMaxReg, form->spYMaxReg,
                form->Label3,    form->Label9,    form->Label10};
    }
};

TEST_F(RegionWindow, DragSetsTheLimitsAndShowsTheRegion)
{
    for (QWidget* control : RegionControls())
        EXPECT_FALSE(control->isEnabled());
    Drag(Corner(10, 10), Corner(110, 60));
    EXPECT_DOUBLE_EQ(form->spXMinReg->Value(), 0.25);
    EXPECT_DOUBLE_EQ(form->spXMaxReg->Value(), 2.75);
    EXPECT_DOUBLE_EQ(form->spYMaxReg->Value(), 9.75);
    EXPECT_DOUBLE_EQ(form->spYMinReg->Value(), 8.5);
    EXPECT_FALSE(form->btnRegSet->isChecked());
    EXPECT_TRUE(form->chRegion->isChecked());
    EXPECT_TRUE(form->srRegion->Active());
    for (QWidget* control : RegionControls())
        EXPECT_TRUE(control->isEnabled());
    const QPoint topLeft = Corner(10, 10);
    const QPoint bottomRight = Corner(110, 60);
    EXPECT_EQ(form->srRegion->ShapePixelRect(),
              (SurfaceRect{topLeft.x(), topLeft.y(), bottomRight.x(), bottomRight.y()}));
    // Each edit's step follows its own axis pair.
    EXPECT_DOUBLE_EQ(form->spXMaxReg->Increment(), 2.5 / 400);
    EXPECT_DOUBLE_EQ(form->spYMaxReg->Increment(), 1.25 / 400);
}

TEST_F(RegionWindow, DragInAnyDirectionGivesTheSameRegion)
{
    for (const auto& [from, to] : {std::pair{Corner(110, 60), Corner(10, 10)}, std::pair{Corner(10, 60), Corner(110, 10)},
                                   std::pair{Corner(110, 10), Corner(10, 60)}}) {
        Drag(from, to);
        EXPECT_DOUBLE_EQ(form->spXMinReg->Value(), 0.25);
        EXPECT_DOUBLE_EQ(form->spXMaxReg->Value(), 2.75);
        EXPECT_DOUBLE_EQ(form->spYMaxReg->Value(), 9.75);
        EXPECT_DOUBLE_EQ(form->spYMinReg->Value(), 8.5);
        const SurfaceRect rect = form->srRegion->ShapePixelRect();
        EXPECT_LT(rect.Left, rect.Right);
        EXPECT_LT(rect.Top, rect.Bottom);
    }
}

TEST_F(RegionWindow, RubberBandIsRedrawnInPlaceWithoutARedraw)
{
    const QImage before = form->Chart->Surface();
    form->btnRegSet->setChecked(true);
    Mouse(QEvent::MouseButtonPress, Corner(10, 10), Qt::LeftButton);
    Mouse(QEvent::MouseMove, Corner(50, 30), Qt::LeftButton);
    Mouse(QEvent::MouseMove, Corner(90, 80), Qt::LeftButton);
    const QImage during = form->Chart->Surface();
    EXPECT_NE(during, before);
    // Inverting the last band once more must give back the untouched plot:
    // the earlier band was erased, and nothing else was drawn.
    const QPoint a = Corner(10, 10);
    const QPoint b = Corner(90, 80);
    form->Chart->DrawRectDirect(a.x(), a.y(), b.x(), b.y(), QPen(Qt::white, 0, Qt::DashLine), PenMode::Invert);
    EXPECT_EQ(form->Chart->Surface(), before);
}

TEST_F(RegionWindow, MovesOutsideDrawingModeOrWithoutTheLeftButtonDrawNothing)
{
    const QImage before = form->Chart->Surface();
    Mouse(QEvent::MouseButtonPress, Corner(10, 10), Qt::LeftButton);
    Mouse(QEvent::MouseMove, Corner(50, 50), Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, Corner(50, 50), Qt::NoButton);
    EXPECT_EQ(form->RegionRect.x0, -1);
    form->btnRegSet->setChecked(true);
    Mouse(QEvent::MouseButtonPress, Corner(10, 10), Qt::LeftButton);
    Mouse(QEvent::MouseMove, Corner(50, 50), Qt::NoButton);
    EXPECT_EQ(form->Chart->Surface(), before);
}

TEST_F(RegionWindow, CheckBoxRefusesBeforeARegionWasDrawnAndHidesItAfterwards)
{
    form->chRegion->setEnabled(true);
    form->chRegion->click();
    EXPECT_FALSE(form->chRegion->isChecked());
    EXPECT_FALSE(form->srRegion->Active());

    Drag(Corner(10, 10), Corner(110, 60));
    ASSERT_TRUE(form->chRegion->isChecked());
    form->chRegion->click();
    EXPECT_FALSE(form->chRegion->isChecked());
    EXPECT_FALSE(form->srRegion->Active());
    for (QWidget* control : RegionControls())
        EXPECT_FALSE(control->isEnabled());
    form->chRegion->click();
    EXPECT_TRUE(form->srRegion->Active());
}

TEST_F(RegionWindow, EditsMoveTheirOwnCorners)
{
    form->spXMinReg->SetValue(1);
    form->spYMaxReg->SetValue(9);
    form->spXMaxReg->SetValue(4);
    form->spYMinReg->SetValue(2);
    EXPECT_EQ(form->srRegion->XValue(0), 1);
    EXPECT_EQ(form->srRegion->YValue(0), 9);
    EXPECT_EQ(form->srRegion->XValue(1), 4);
    EXPECT_EQ(form->srRegion->YValue(1), 2);
    EXPECT_DOUBLE_EQ(form->spYMinReg->Increment(), 7.0 / 400);
}

TEST_F(RegionWindow, StyleSetsGlyphCheckAndFillTogether)
{
    form->miContour->trigger();
    EXPECT_EQ(form->btnRegSet->GlyphIndex(), TMainForm::kGlyphContour);
    EXPECT_TRUE(form->miContour->isChecked());
    EXPECT_EQ(form->srRegion->Fill(), ShapeFill::None);
    form->miArea->trigger();
    EXPECT_EQ(form->btnRegSet->GlyphIndex(), TMainForm::kGlyphArea);
    EXPECT_EQ(form->srRegion->Fill(), ShapeFill::BackDiagonalHatch);
    form->SetRegionStyle(TMainForm::kGlyphContour);
    EXPECT_TRUE(form->miContour->isChecked());
    EXPECT_EQ(form->srRegion->Fill(), ShapeFill::None);
}

TEST_F(RegionWindow, TracingKeepsToTheRegionAndUncheckingRestoresTheWholePicture)
{
    // A bright row across a dark picture, stretched over the plot.
    QImage image(64, 40, QImage::Format_RGB32);
    image.fill(Qt::black);
    for (int x = 0; x < image.width(); ++x)
        image.setPixel(x, 20, qRgb(255, 255, 255));
    form->Document.OpenPicture(TFastBMP::CreateFromBitmap(BitmapFromImage(image)));
    form->Document.Adjust(form->Document.Adjustments());
    form->EnablePictureGroup();
    SetMethod(DigitizeMethod::MaxBrightness);
    const auto trace = [this] {
        form->btnDigitalClick();
        std::vector<double> xs;
        for (int i = 0; i < Data().Count(); ++i)
            xs.push_back(Data().XValue(i));
        return xs;
    };
    const std::vector<double> whole = trace();
    ASSERT_FALSE(whole.empty());

    // X from 2.5 to 5, the whole height.
    Drag(Corner(100, 0), Corner(200, 399));
    const std::vector<double> inside = trace();
    ASSERT_FALSE(inside.empty());
    EXPECT_LT(inside.size(), whole.size());
    for (const double x : inside) {
        EXPECT_GE(x, 2.5 - 0.2);
        EXPECT_LE(x, 5 + 0.2);
    }

    form->chRegion->click();
    ASSERT_FALSE(form->chRegion->isChecked());
    EXPECT_EQ(trace(), whole);
}

} // namespace
