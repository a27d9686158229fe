// The view over the plot driven as a user drives it: wheel notches, a Ctrl
// drag, clicks and keys delivered to the widgets.
#include "../dialogs/ScriptedWindow.h"

#include "calibration/Calibration.h"
#include "calibration/PlotView.h"
#include "ui/dialogs/SetAxis.h"
#include "ui/plot/PlotChart.h"
#include "ui/plot/PlotSeries.h"
#include "ui/widgets/SpinEdit.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>

using namespace quillmark;
using namespace quillmark::dialogtest;

namespace {

constexpr int kWidth = 1200;
constexpr int kHeight = 900;

class ViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form().resize(900, 700);
        form().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form()));
        form().OpenPictureFile(Picture(QStringLiteral("scan.png"), kWidth, kHeight));
        ASSERT_TRUE(form().PictureOpen());
        // Values are picture positions: X the column, Y the rows from the bottom.
        form().spXMax->SetValue(kWidth);
        form().spXMin->SetValue(0);
        form().spYMax->SetValue(kHeight);
        form().spYMin->SetValue(0);
        ASSERT_EQ(form().CurrentAxisLimits(), AxisLimits(0, kWidth, 0, kHeight));
    }

    QString Picture(const QString& name, int width, int height)
    {
        QImage image(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                image.setPixel(x, y, qRgb(x % 256, y % 256, (x / 256) * 40));
        const QString path = w.folder.filePath(name);
        EXPECT_TRUE(image.save(path, "PNG"));
        return path;
    }

    TMainForm& form() { return *w.form; }
    PlotChart& chart() { return *w.form->Chart; }

    void Wheel(QPoint at, int notches)
    {
        const QPointF global = chart().mapToGlobal(QPointF(at));
        QWheelEvent event(QPointF(at), global, QPoint(), QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&chart(), &event);
    }

    // The screen pixel that holds the picture position.
    QPoint ScreenOf(SurfacePosition picture)
    {
        const QPointF s = chart().ToScreen(PictureToSurface(chart().Placement(), picture));
        return {static_cast<int>(std::floor(s.x())), static_cast<int>(std::floor(s.y()))};
    }

    ScriptedWindow w;
};

} // namespace

TEST_F(ViewTest, WheelZoomsAtThePointerAndAManualClickLandsWithinAnEighthOfAPixel)
{
    const QRect r = chart().PlotRect();
    const QPoint pointer = r.topLeft() + QPoint(r.width() * 2 / 3, r.height() / 3);
    const SurfacePosition under = chart().ToSurface(QPointF(pointer));
    const long double start = chart().PictureScale();
    ASSERT_LT(start, 1);
    const std::size_t steps = form().Document.UndoCount();
    while (chart().PictureScale() < 8)
        Wheel(pointer, 1);
    EXPECT_NEAR(double(chart().View().Zoom()), std::pow(1.25, std::round(std::log(double(chart().View().Zoom())) /
                                                                          std::log(1.25))), 1e-9);
    // The point under the pointer stayed there.
    const QPointF still = chart().ToScreen(under);
    EXPECT_NEAR(still.x(), pointer.x(), 1e-6);
    EXPECT_NEAR(still.y(), pointer.y(), 1e-6);
    EXPECT_TRUE(form().StatusText(3).endsWith(QStringLiteral(" %")));
    EXPECT_TRUE(chart().findChildren<QScrollBar*>().first()->isVisible());
    // The limit edits keep the calibration; the view is no undo step.
    EXPECT_EQ(form().spXMax->Value(), kWidth);
    EXPECT_EQ(form().Document.UndoCount(), steps);

    form().MetodBox->setCurrentIndex(static_cast<int>(DigitizeMethod::Manual));
    form().MetodBoxChange();
    const SurfacePosition picturePixel = SurfaceToPicture(chart().Placement(), chart().ToSurface(QPointF(pointer)));
    const SurfacePosition aim{std::floor(picturePixel.X) + 0.5L, std::floor(picturePixel.Y) + 0.5L};
    QTest::mouseClick(&chart(), Qt::LeftButton, Qt::NoModifier, ScreenOf(aim));
    ASSERT_EQ(form().srData->Count(), 1);
    EXPECT_NEAR(form().srData->XValue(0), double(aim.X), 0.125);
    EXPECT_NEAR(form().srData->YValue(0), double(kHeight - aim.Y), 0.125);
    EXPECT_EQ(form().Document.UndoCount(), steps + 1);

    // An arrow key moves the pointer to the middle of the next picture pixel.
    QCursor::setPos(chart().mapToGlobal(ScreenOf(aim)));
    QTest::keyClick(&form(), Qt::Key_Right);
    const QPoint moved = chart().mapFromGlobal(QCursor::pos());
    const SurfacePosition now = SurfaceToPicture(chart().Placement(), chart().ToSurface(QPointF(moved)));
    EXPECT_EQ(double(std::floor(now.X)), double(std::floor(aim.X) + 1));
    EXPECT_EQ(double(std::floor(now.Y)), double(std::floor(aim.Y)));
}

TEST_F(ViewTest, ACalibrationByClicksAtZoomFourEqualsTheOneFromThePicturePositions)
{
    const QRect r = chart().PlotRect();
    while (chart().PictureScale() < 4)
        Wheel(r.center(), 1);
    // A Ctrl drag pans to the top-left corner.
    QTest::mousePress(&chart(), Qt::LeftButton, Qt::ControlModifier, r.center());
    for (int step = 1; step <= 10; ++step)
        QTest::mouseMove(&chart(), r.center() + QPoint(step * 400, step * 400));
    QTest::mouseRelease(&chart(), Qt::LeftButton, Qt::ControlModifier, r.center() + QPoint(4000, 4000));
    EXPECT_EQ(double(chart().View().PanX()), 0.0);
    EXPECT_EQ(double(chart().View().PanY()), 0.0);
    EXPECT_EQ(form().srData->Count(), 0);

    form().mi2PointSetClick();
    ASSERT_TRUE(form().CalibrationOn());
    w.dialogs->OnDialog = [](QDialog& dialog) {
        auto& values = dynamic_cast<TSetAxisForm&>(dialog);
        values.spXMin->SetValue(1);
        values.spXMax->SetValue(2);
        values.spYMin->SetValue(1);
        values.spYMax->SetValue(2);
        return int(QDialog::Accepted);
    };
    const QPoint first = r.topLeft() + QPoint(37, r.height() - 41);
    const QPoint second = r.topLeft() + QPoint(r.width() - 29, 23);
    QTest::mouseClick(&chart(), Qt::LeftButton, Qt::NoModifier, first);
    QTest::mouseClick(&chart(), Qt::LeftButton, Qt::NoModifier, second);
    ASSERT_FALSE(form().CalibrationOn());
    // The picture positions under the two screen pixels carry the typed
    // values: a quarter of a picture pixel apart is a quarter apart in value.
    const PicturePlacement place = chart().Placement();
    const SurfacePosition a = SurfaceToPicture(place, chart().ToSurface(QPointF(first)));
    const SurfacePosition b = SurfaceToPicture(place, chart().ToSurface(QPointF(second)));
    EXPECT_NE(a.X, std::floor(a.X));
    const AxisLimits limits = form().CurrentAxisLimits();
    const quillmark::PlotRect rect = form().CalibrationRect();
    const AxisPoint va = PixelToAxis(PictureToSurface(place, a), rect, limits);
    const AxisPoint vb = PixelToAxis(PictureToSurface(place, b), rect, limits);
    EXPECT_NEAR(double(va.X), 1, 1e-6);
    EXPECT_NEAR(double(va.Y), 1, 1e-6);
    EXPECT_NEAR(double(vb.X), 2, 1e-6);
    EXPECT_NEAR(double(vb.Y), 2, 1e-6);
    // Zooming back shows the same calibration at zoom 1.
    form().miZoomReset->trigger();
    EXPECT_TRUE(chart().View().IsIdentity());
    EXPECT_EQ(form().CurrentAxisLimits(), limits);
}

TEST_F(ViewTest, KeysZoomAboutTheCentreAndEachPictureKeepsItsView)
{
    form().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    chart().setFocus();
    QTest::keyClick(&chart(), Qt::Key_Equal, Qt::ControlModifier);
    QTest::keyClick(&chart(), Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_NEAR(double(chart().View().Zoom()), 1.5625, 1e-12);
    QTest::keyClick(&chart(), Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_NEAR(double(chart().View().Zoom()), 1.25, 1e-12);
    const long double panX = chart().View().PanX();

    // Another picture starts at zoom 1; the first gets its view back.
    form().OpenPictureFile(Picture(QStringLiteral("other.png"), 300, 200));
    EXPECT_TRUE(chart().View().IsIdentity());
    form().OpenPictureFile(w.folder.filePath(QStringLiteral("scan.png")));
    EXPECT_NEAR(double(chart().View().Zoom()), 1.25, 1e-12);
    EXPECT_EQ(double(chart().View().PanX()), double(panX));
    QTest::keyClick(&chart(), Qt::Key_0, Qt::ControlModifier);
    EXPECT_TRUE(chart().View().IsIdentity());
}

TEST_F(ViewTest, ShrunkPicturesAreAveragedAndEnlargedOnesDrawnInBlocks)
{
    // One-pixel black lines every fourth column on white: shrunk they turn
    // grey rather than vanish or stay black.
    QImage& picture = chart().BackImage();
    picture.fill(Qt::white);
    for (int x = 0; x < picture.width(); x += 4)
        for (int y = 0; y < picture.height(); ++y)
            picture.setPixelColor(x, y, Qt::black);
    chart().Redraw();
    const QRect r = chart().PlotRect();
    ASSERT_LT(chart().PictureScale(), 0.8L);
    for (int x = r.left() + 10; x < r.left() + 40; ++x) {
        const int grey = chart().PixelColor(x, r.center().y()).red();
        EXPECT_GT(grey, 120) << x;
        EXPECT_LT(grey, 250) << x;
    }
    // At 16 screen pixels a picture pixel, each is a square block.
    while (chart().PictureScale() < 16)
        Wheel(r.center(), 1);
    const SurfacePosition u = SurfaceToPicture(chart().Placement(), chart().ToSurface(QPointF(r.center())));
    const long double column = std::floor(u.X / 4) * 4; // a black column near the middle
    const QPoint inside = ScreenOf({column + 0.5L, std::floor(u.Y) + 0.5L});
    const QPoint next = ScreenOf({column + 1.5L, std::floor(u.Y) + 0.5L});
    EXPECT_EQ(chart().PixelColor(inside.x(), inside.y()), QColor(Qt::black));
    EXPECT_EQ(chart().PixelColor(inside.x() + 3, inside.y() - 3), QColor(Qt::black));
    EXPECT_EQ(chart().PixelColor(next.x(), next.y()), QColor(Qt::white));
}

TEST_F(ViewTest, ADoubleClickPicksTheColourThePixelShowsAtAnyZoom)
{
    form().MetodBox->setCurrentIndex(static_cast<int>(DigitizeMethod::ByColour));
    form().MetodBoxChange();
    const QRect r = chart().PlotRect();
    while (chart().PictureScale() < 4.5)
        Wheel(r.center(), 1);
    // Every screen pixel across a few blocks, their edges included: a pixel
    // shows the picture where its middle lies, not its corner.
    for (int x = r.center().x(); x < r.center().x() + 16; ++x) {
        const QPoint at(x, r.center().y());
        QCursor::setPos(chart().mapToGlobal(at));
        QTest::mouseDClick(&chart(), Qt::LeftButton, Qt::NoModifier, at);
        EXPECT_EQ(form().LineColour(), chart().PixelColor(at.x(), at.y())) << x;
    }
}
