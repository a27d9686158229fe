#include "base/Errors.h"
#include "ui/plot/PlotChart.h"

#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

using namespace quillmark;

namespace {

const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);
const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);

class Plot : public ::testing::Test {
protected:
    void SetUp() override
    {
        chart.resize(640, 480);
        chart.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
    }

    // A pixel away from grid lines: grid at whole axis values.
    QPoint Between(double x, double y)
    {
        return {chart.BottomPixel(x), chart.LeftPixel(y)};
    }

    QColor At(QPoint p) { return chart.PixelColor(p.x(), p.y()); }

    PlotChart chart;
};

QStringList List(std::initializer_list<const char*> texts)
{
    QStringList out;
    for (const char* t : texts)
        out << QString::fromUtf8(t);
    return out;
}

QStringList Labels(const PlotSeries& s)
{
    QStringList out;
    for (int i = 0; i < s.Count(); ++i)
        out << s.Label(i);
    return out;
}

TEST_F(Plot, StartsWithTheDefaultAxesAndSeries)
{
    EXPECT_EQ(chart.BottomAxis().Minimum(), 0);
    EXPECT_EQ(chart.BottomAxis().Maximum(), 10);
    EXPECT_EQ(chart.LeftAxis().Minimum(), -3);
    EXPECT_EQ(chart.LeftAxis().Maximum(), 3);
    EXPECT_EQ(chart.LeftAxis().GridColor(), QColor(0, 0, 255));
    EXPECT_EQ(chart.BottomAxis().MinorTickCount(), 4);
    EXPECT_EQ(chart.BottomAxis().LabelFormat(), "#,##0.###");
    EXPECT_EQ(chart.LeftAxis().LabelFormat(), "#,##0.### ");
    EXPECT_EQ(chart.TitleLines(), QStringList{QString()});
    EXPECT_TRUE(chart.DataSeries()->Active());
    EXPECT_EQ(chart.DataSeries()->SeriesColor(), kRed);
    EXPECT_FALSE(chart.RegionSeries()->Active());
    EXPECT_EQ(chart.RegionSeries()->Count(), 2);
}

TEST_F(Plot, AddKeepsXOrderAndPutsEqualXAfterTheOthers)
{
    PlotSeries& s = *chart.DataSeries();
    EXPECT_EQ(s.Add(3, 0, QStringLiteral("a"), kRed), 0);
    EXPECT_EQ(s.Add(1, 0, QStringLiteral("b"), kRed), 0);
    EXPECT_EQ(s.Add(2, 0, QStringLiteral("c"), kRed), 1);
    EXPECT_EQ(s.Add(2, 0, QStringLiteral("d"), kRed), 2);
    EXPECT_EQ(s.Add(0.5, 0, QStringLiteral("e"), kRed), 0);
    EXPECT_EQ(Labels(s), List({"e", "b", "c", "d", "a"}));

    s.SetXOrderAscending(false);
    EXPECT_EQ(s.Add(1.5, 0, QStringLiteral("f"), kRed), 5);
    // Switching back does not re-sort; a new point goes after the last
    // point whose X is not greater, looking from the end.
    s.SetXOrderAscending(true);
    EXPECT_EQ(s.Add(1.2, 0, QStringLiteral("g"), kRed), 2);
    EXPECT_EQ(Labels(s), List({"e", "b", "g", "c", "d", "a", "f"}));

    s.Delete(0);
    EXPECT_EQ(s.Label(0), QStringLiteral("b"));
    s.ColorRange(1.2, 2, kGreen);
    EXPECT_EQ(s.PointColor(0), kRed);  // x = 1
    EXPECT_EQ(s.PointColor(1), kGreen); // x = 1.2
    EXPECT_EQ(s.PointColor(3), kGreen); // x = 2
    EXPECT_EQ(s.PointColor(4), kRed);  // x = 3
    EXPECT_THROW(s.XValue(s.Count()), InternalError);
}

TEST_F(Plot, PixelsOfExactHalvesRoundToEven)
{
    const QRect r = chart.PlotRect();
    chart.BottomAxis().SetMinMax(0, r.width());
    chart.LeftAxis().SetMinMax(0, r.height());
    for (int k = 0; k < 8; ++k) {
        SCOPED_TRACE(k);
        const int column = chart.BottomPixel(k + 0.5L);
        EXPECT_EQ(column % 2, 0);
        EXPECT_LE(std::abs(column - (r.left() + k)), 1);
        const int row = chart.LeftPixel(r.height() - k - 0.5L);
        EXPECT_EQ(row % 2, 0);
        EXPECT_LE(std::abs(row - (r.top() + k)), 1);
    }
}

TEST_F(Plot, PixelToValueToPixelIsTheIdentity)
{
    const QRect r = chart.PlotRect();
    const double ranges[][2] = {{-3.7, 12.1}, {-1e-3, 5e-3}, {1e8, 1e8 + 3}, {0, 10}};
    for (const auto& range : ranges) {
        SCOPED_TRACE(range[0]);
        chart.BottomAxis().SetMinMax(range[0], range[1]);
        chart.LeftAxis().SetMinMax(range[0], range[1]);
        EXPECT_EQ(chart.BottomValue(r.left()), range[0]);
        EXPECT_EQ(chart.LeftValue(r.top()), range[1]);
        for (int px = r.left(); px <= r.left() + r.width(); ++px)
            ASSERT_EQ(chart.BottomPixel(chart.BottomValue(px)), px);
        for (int py = r.top(); py <= r.top() + r.height(); ++py)
            ASSERT_EQ(chart.LeftPixel(chart.LeftValue(py)), py);
    }
    PlotSeries& s = *chart.DataSeries();
    s.Add(2.5, 1, {}, kRed);
    EXPECT_EQ(s.CalcXPos(0), chart.BottomPixel(2.5));
    EXPECT_EQ(s.CalcYPos(0), chart.LeftPixel(1));
    EXPECT_EQ(s.XScreenToValue(r.left()), 0);
    // Far-away values stay valid pixels.
    EXPECT_EQ(chart.BottomPixel(1e300L), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(chart.LeftPixel(NAN), 0);
}

TEST_F(Plot, LimitsAreSwappedWidenedAndNegativeIncrementsRefused)
{
    PlotAxis& axis = chart.BottomAxis();
    axis.SetMinMax(5, 1);
    EXPECT_EQ(axis.Minimum(), 1);
    EXPECT_EQ(axis.Maximum(), 5);
    axis.SetMinMax(1, 1 + 1e-12);
    EXPECT_EQ(axis.Maximum(), static_cast<double>(1 + 1e-10L));
    axis.SetMinMax(2, 2);
    EXPECT_EQ(axis.Maximum(), static_cast<double>(2 + 1e-10L));
    axis.SetMinMax(1e20, 1e20);
    EXPECT_GT(axis.Maximum(), axis.Minimum());
    EXPECT_THROW(axis.SetMinMax(0, INFINITY), QuillmarkError);
    EXPECT_EQ(axis.Minimum(), 1e20);

    axis.SetIncrement(5);
    try {
        axis.SetIncrement(-1);
        FAIL() << "accepted";
    } catch (const QuillmarkError& e) {
        EXPECT_STRNE(e.what(), "");
    }
    EXPECT_EQ(axis.Increment(), 5);
    axis.SetIncrement(0);
    EXPECT_EQ(axis.Increment(), 0);
}

TEST_F(Plot, ThePlotRectangleKeepsMarginsAndIgnoresTheAxisValues)
{
    const QRect r = chart.PlotRect();
    EXPECT_GE(r.left(), 640 / 100);
    EXPECT_GE(r.top(), 480 / 100);
    EXPECT_LE(r.left() + r.width(), 640 - 640 / 100);
    EXPECT_LE(r.top() + r.height(), 480 - 480 / 100);
    chart.LeftAxis().SetMinMax(-1e6, 1e6);
    chart.LeftAxis().SetLabelFormat("#.0## \"x10\" E+0##");
    EXPECT_EQ(chart.PlotRect(), r);
    chart.SetSeparators(QStringLiteral(","), QStringLiteral(" "));
    EXPECT_EQ(chart.BottomAxis().LabelText(1234.5), QStringLiteral("1 234,5"));
    EXPECT_EQ(chart.LeftAxis().LabelText(-25000), QStringLiteral("-2,5 x10 E+4"));
}

TEST_F(Plot, ClicksReachTheHitSeriesFirstThenThePlot)
{
    QStringList log;
    PlotSeries* data = chart.DataSeries();
    PlotSeries* axis = chart.AxisSeries();
    QObject::connect(&chart, &PlotChart::MouseDown, [&](Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
        log << QStringLiteral("down");
    });
    QObject::connect(&chart, &PlotChart::MouseUp, [&](Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
        log << QStringLiteral("up");
    });
    QObject::connect(data, &PlotSeries::Clicked, [&](PlotSeries*, int, Qt::MouseButton, Qt::KeyboardModifiers,
                                                     int, int) { log << QStringLiteral("data"); });
    QObject::connect(axis, &PlotSeries::Clicked, [&](PlotSeries*, int, Qt::MouseButton, Qt::KeyboardModifiers,
                                                     int, int) { log << QStringLiteral("axis"); });
    QObject::connect(&chart, &PlotChart::ClickSeries,
                     [&](PlotSeries* s, int index, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
                         log << s->Title() + QString::number(index);
                     });
    QObject::connect(&chart, &PlotChart::ClickBackground,
                     [&](Qt::MouseButton b, Qt::KeyboardModifiers m, int x, int y) {
                         log << QStringLiteral("background %1 %2 %3 %4")
                                    .arg(int(b))
                                    .arg(int(m))
                                    .arg(x)
                                    .arg(y);
                     });

    data->Add(2, 0, {}, kRed);
    data->Add(4, 1, {}, kRed);
    data->Add(6, 0, {}, kRed);
    axis->Add(8, -2, {}, kGreen);
    const QPoint onPoint(data->CalcXPos(1), data->CalcYPos(1));
    const QPoint onLine((data->CalcXPos(1) + data->CalcXPos(2) * 3) / 4,
                        (data->CalcYPos(1) + data->CalcYPos(2) * 3) / 4);
    const QPoint onMarker(axis->CalcXPos(0) + 2, axis->CalcYPos(0) - 2);
    const QPoint away = Between(1.5, 2.5);

    QTest::mouseClick(&chart, Qt::LeftButton, {}, onPoint);
    QTest::mouseClick(&chart, Qt::LeftButton, {}, onLine);
    QTest::mouseClick(&chart, Qt::LeftButton, {}, onMarker);
    QTest::mouseClick(&chart, Qt::RightButton, Qt::ShiftModifier, away);
    const QString background = QStringLiteral("background %1 %2 %3 %4")
                                   .arg(int(Qt::RightButton))
                                   .arg(int(Qt::ShiftModifier))
                                   .arg(away.x())
                                   .arg(away.y());
    EXPECT_EQ(log, List({"down", "data", "Series1", "up", "down", "data", "Series2", "up", "down", "axis",
                         "Axis0", "up", "down", background.toUtf8().constData(), "up"}));

    // Inactive series are not hit; the region is never a series click.
    log.clear();
    data->SetActive(false);
    chart.RegionSeries()->SetCorner0(0, 3);
    chart.RegionSeries()->SetCorner1(10, -3);
    chart.RegionSeries()->SetActive(true);
    chart.ClickAt(Qt::LeftButton, {}, onPoint.x(), onPoint.y());
    ASSERT_EQ(log.size(), 3);
    EXPECT_TRUE(log[1].startsWith(QStringLiteral("background")));

    // Qt delivers a double click as press, release, double click, release:
    // the double click is the second press and is dispatched as one.
    log.clear();
    QSignalSpy doubles(&chart, &PlotChart::DblClick);
    QTest::mousePress(&chart, Qt::LeftButton, {}, away);
    QTest::mouseRelease(&chart, Qt::LeftButton, {}, away);
    QTest::mouseDClick(&chart, Qt::LeftButton, {}, away);
    EXPECT_EQ(doubles.count(), 1);
    EXPECT_EQ(log.count(QStringLiteral("down")), 2);
    EXPECT_EQ(log.filter(QStringLiteral("background")).size(), 2);
}

TEST_F(Plot, InvertingDrawsRestoreTheSurfaceWhenRepeated)
{
    const QPoint a = Between(1.5, 1.5);
    const QPoint b = Between(3.5, -1.5);
    const QPoint top((a.x() + b.x()) / 2, a.y());
    const QPoint inside((a.x() + b.x()) / 2, (a.y() + b.y()) / 2);
    ASSERT_EQ(At(top), kWhite);
    chart.DrawRectDirect(b.x(), b.y(), a.x(), a.y(), QPen(kRed, 0), PenMode::Invert);
    EXPECT_EQ(At(top), kBlack); // the complement, whatever the pen's colour
    EXPECT_EQ(At(a), kBlack);
    EXPECT_EQ(At(inside), kWhite);
    chart.DrawRectDirect(a.x(), a.y(), b.x(), b.y(), QPen(kRed, 0), PenMode::Invert);
    EXPECT_EQ(At(top), kWhite);
    EXPECT_EQ(At(a), kWhite);

    // A dashed rubber band: drawn once some pixels of the edge invert, drawn
    // again all of them are back.
    const QImage before = chart.Surface().copy();
    const QPen dashed(kWhite, 0, Qt::DashLine);
    chart.DrawRectDirect(a.x(), a.y(), b.x(), b.y(), dashed, PenMode::Invert);
    int inverted = 0;
    for (int x = a.x(); x <= b.x(); ++x)
        inverted += At(QPoint(x, a.y())) == kBlack ? 1 : 0;
    EXPECT_GT(inverted, 0);
    EXPECT_LT(inverted, b.x() - a.x() + 1);
    chart.DrawRectDirect(a.x(), a.y(), b.x(), b.y(), dashed, PenMode::Invert);
    EXPECT_EQ(chart.Surface(), before);

    // Direct drawing lasts until the next redraw.
    chart.DrawDirect([&](QPainter& p) { p.fillRect(QRect(inside, QSize(3, 3)), kRed); });
    EXPECT_EQ(At(inside), kRed);
    chart.Redraw();
    EXPECT_EQ(At(inside), kWhite);
}

TEST_F(Plot, TheRegionIsAnInvertedOutlineWithCornersAsGiven)
{
    PlotSeries& region = *chart.RegionSeries();
    region.SetCorner0(8, -2);
    region.SetCorner1(2, 2);
    const SurfaceRect r = region.ShapePixelRect();
    EXPECT_EQ(r.Left, chart.BottomPixel(8));
    EXPECT_EQ(r.Right, chart.BottomPixel(2));
    EXPECT_EQ(r.Top, chart.LeftPixel(-2));
    EXPECT_EQ(r.Bottom, chart.LeftPixel(2));
    EXPECT_GT(r.Left, r.Right);

    chart.BottomAxis().SetIncrement(1);
    chart.LeftAxis().SetIncrement(1);
    chart.SetBackColor(kBlack);
    region.SetActive(true);
    const int row = chart.LeftPixel(0.5);
    const bool edgeWhite = At(QPoint(r.Right, row)) == kWhite || At(QPoint(r.Right - 1, row)) == kWhite ||
                           At(QPoint(r.Right + 1, row)) == kWhite;
    EXPECT_TRUE(edgeWhite);
    const QPoint inside = Between(5.5, 0.5);
    EXPECT_EQ(At(inside), kBlack);
    region.SetFill(ShapeFill::BackDiagonalHatch);
    int lit = 0;
    for (int dx = 0; dx < 16; ++dx)
        lit += At(inside + QPoint(dx, 0)) == kWhite ? 1 : 0;
    EXPECT_EQ(lit, 2); // one hatch line every 8 pixels
}

TEST_F(Plot, TheBackgroundPictureStaysInsideThePlotRectangle)
{
    chart.BottomAxis().SetIncrement(1);
    chart.LeftAxis().SetIncrement(1);
    const QRect r = chart.PlotRect();
    chart.SetBackImageSize(10, 10);
    chart.BackImage().fill(kRed);
    chart.Redraw();

    const QPoint centre(r.left() + r.width() / 2, r.top() + r.height() / 2);
    const QPoint corner = Between(0.5, 2.5);
    const QPoint outside(r.left() - 3, centre.y());
    chart.SetBackMode(BackImageMode::Centre);
    EXPECT_EQ(At(centre), kRed);
    EXPECT_EQ(At(corner), kWhite);
    chart.SetBackMode(BackImageMode::Stretch);
    EXPECT_EQ(At(corner), kRed);
    EXPECT_NE(At(outside), kRed);
    chart.SetBackImageVisible(false);
    EXPECT_EQ(At(corner), chart.BackColor());
    chart.SetBackImageVisible(true);

    // Resizing keeps the old pixels at the top left.
    chart.SetBackImageSize(20, 20);
    EXPECT_EQ(chart.BackImage().pixelColor(5, 5), kRed);
    EXPECT_EQ(chart.BackImage().pixelColor(15, 15), chart.BackColor());

    // A picture larger than the rectangle is cut at its edges.
    chart.SetBackImageSize(4000, 4000);
    chart.BackImage().fill(kGreen);
    chart.SetBackMode(BackImageMode::Centre);
    EXPECT_EQ(At(corner), kGreen);
    EXPECT_NE(At(outside), kGreen);
    EXPECT_NE(At(QPoint(centre.x(), r.top() - 2)), kGreen);

    QImage copy(8, 8, QImage::Format_RGB32);
    copy.fill(kBlack);
    QPainter p(&copy);
    chart.CopyRectTo(p, QRect(0, 0, 8, 8), QRect(corner, QSize(4, 4)));
    p.end();
    EXPECT_EQ(copy.pixelColor(7, 7), kGreen);
}

TEST_F(Plot, LinesToFarAwayPointsKeepTheirDirection)
{
    chart.BottomAxis().SetIncrement(1);
    chart.LeftAxis().SetIncrement(1);
    PlotSeries& s = *chart.DataSeries();
    s.Add(5.5, -1e200, {}, kRed);
    s.Add(5.5, 1e200, {}, kRed);
    EXPECT_EQ(At(Between(5.5, 0.5)), kRed);
    EXPECT_EQ(At(Between(5.5, -2.5)), kRed);
    EXPECT_EQ(At(Between(6.5, 0.5)), kWhite);
    // A lone point with its markers hidden is still hit.
    s.Clear();
    s.Add(2.5, 0.5, {}, kRed);
    int index = -1;
    const QPoint p = Between(2.5, 0.5);
    EXPECT_EQ(chart.HitSeries(p.x() + 1, p.y() - 1, &index), &s);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(chart.HitSeries(p.x() + 20, p.y(), &index), nullptr);
}

TEST_F(Plot, MovesTellWhichButtonsAreHeld)
{
    Qt::MouseButtons held;
    QObject::connect(&chart, &PlotChart::MouseMove,
                     [&](Qt::KeyboardModifiers, int, int) { held = chart.ButtonsDown(); });
    const QPoint p = Between(1.5, 0.5);
    QTest::mousePress(&chart, Qt::LeftButton, {}, p);
    QTest::mouseMove(&chart, p + QPoint(10, 10));
    EXPECT_EQ(held, Qt::LeftButton);
    QTest::mouseRelease(&chart, Qt::LeftButton, {}, p + QPoint(10, 10));
    QTest::mouseMove(&chart, p);
    EXPECT_EQ(held, Qt::NoButton);
}

TEST_F(Plot, TheRestingPointerIsAnArrowOrACrossHair)
{
    EXPECT_EQ(chart.cursor().shape(), Qt::ArrowCursor);
    chart.SetRestingCursor(Qt::CrossCursor);
    EXPECT_EQ(chart.cursor().shape(), Qt::CrossCursor);
    EXPECT_EQ(chart.RestingCursor(), Qt::CrossCursor);
}

} // namespace

// Run once as it is and again by ctest with QT_SCALE_FACTOR=2: the plot's
// coordinates are its own pixels whatever the screen's scale, so a click at a
// point's pixel hits the same point with the same coordinates.
TEST_F(Plot, HitTestsAreInThePlotsOwnPixelsAtAnyScale)
{
    PlotSeries* data = chart.DataSeries();
    data->Add(2, 0, {}, kRed);
    data->Add(5, 1.5, {}, kRed);
    data->Add(8, -1, {}, kRed);
    int hitIndex = -1;
    QPoint hitAt;
    QObject::connect(&chart, &PlotChart::ClickSeries,
                     [&](PlotSeries*, int index, Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
                         hitIndex = index;
                         hitAt = {x, y};
                     });
    const QPoint onPoint(data->CalcXPos(1), data->CalcYPos(1));
    QTest::mouseClick(&chart, Qt::LeftButton, {}, onPoint);
    EXPECT_EQ(hitIndex, 1);
    EXPECT_EQ(hitAt, onPoint);
    // 640 x 480 with 1 % margins: the positions do not depend on the scale.
    EXPECT_EQ(chart.width(), 640);
    EXPECT_EQ(onPoint.x(), chart.BottomPixel(5));
    EXPECT_EQ(chart.PlotRect().width(), chart.BottomPixel(10) - chart.BottomPixel(0));
    const QByteArray scale = qgetenv("QT_SCALE_FACTOR");
    if (!scale.isEmpty()) {
        EXPECT_DOUBLE_EQ(chart.devicePixelRatioF(), scale.toDouble());
    }
}

// On a scaled screen (run again by ctest with QT_SCALE_FACTOR=2) the plot is
// drawn at the screen's resolution, not enlarged from its own pixels, while
// pixel reads stay in the plot's own pixels.
TEST_F(Plot, ScaledScreensGetAFinerDrawingOfTheSamePlot)
{
    chart.SetTitleLines({QStringLiteral("Quillmark")});
    chart.RepaintNow();
    const QImage own = chart.Surface();
    EXPECT_EQ(own.size(), chart.size());
    const QImage shown = chart.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const qreal ratio = chart.devicePixelRatioF();
    ASSERT_EQ(shown.size(), (QSizeF(chart.size()) * ratio).toSize());
    const QImage enlarged = own.scaled(shown.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation)
                                .convertToFormat(QImage::Format_RGB32);
    if (ratio == 1.0)
        EXPECT_EQ(shown, enlarged);
    else
        EXPECT_NE(shown, enlarged) << "the scaled screen shows an enlarged copy";
    const QPoint inside(chart.PlotLeft() + 3, chart.PlotTop() + 3);
    EXPECT_EQ(chart.PixelColor(inside.x(), inside.y()), QColor(own.pixel(inside)));
}
