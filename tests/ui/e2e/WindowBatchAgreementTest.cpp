// The window driven as a user drives it, and `quillmark trace` run on the same
// picture with the same reference pixels and values: the two data files must
// be equal byte for byte.
//
// Geometry: the window stretches the picture over its plot rectangle, while
// the batch command takes the picture itself as the plot rectangle (L = T = 0,
// W and H the picture's size). The chart picture is therefore made exactly
// the size of the window's plot rectangle: the stretch is then one to one,
// surface pixel (L + c, T + r) shows picture pixel (c, r), and a reference
// click at (L + c, T + r) is the batch command's reference pixel (c, r). A
// picture of exactly half the rectangle's size is stretched two to one, and a
// click at (L + 2c, T + 2r) again lands on picture pixel (c, r); any other
// size would put a click between picture pixels, where the two calibrations
// cannot meet to the last digit.
#include "ui/app/BatchEntry.h"
#include "ui/app/MainUnit.h"
#include "calibration/Calibration.h"
#include "ui/dialogs/SetAxis.h"
#include "digitize/ExportText.h"
#include "ui/plot/PlotChart.h"
#include "ui/plot/PlotSeries.h"
#include "ui/support/RecordingDialogs.h"
#include "ui/widgets/SpinEdit.h"

#include <QComboBox>
#include <QCursor>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

using namespace quillmark;

namespace {

// The user: types the reference values into the value dialog and names the
// data file in the save dialog (SaveAnswer). Anything else is recorded in
// Calls as a failure.
class UserScript : public testsupport::RecordingDialogs {
public:
    UserScript() : RecordingDialogs(ConfirmLine::Text, DialogLine::None) {}

    int ShowModalDialog(QDialog& dialog) override
    {
        auto* values = dynamic_cast<TSetAxisForm*>(&dialog);
        if (values == nullptr) {
            Calls.push_back("dialog: " + dialog.windowTitle().toStdString());
            return QDialog::Rejected;
        }
        values->spXMin->SetValue(Values[0]);
        values->spXMax->SetValue(Values[1]);
        values->spYMin->SetValue(Values[2]);
        values->spYMax->SetValue(Values[3]);
        return QDialog::Accepted;
    }

    std::array<double, 4> Values{};
};

// Reference pixels of the chart, as picture pixels: the axes' corner carries
// (XMIN, YMIN), the last ticks' corner (XMAX, YMAX).
struct ChartReferences {
    QPoint Low;
    QPoint High;
};

constexpr std::array<double, 4> kValues{0.0, 50.0, -2.5, 2.5};
const QColor kCurve(200, 30, 40);

// White paper, black axes with tick marks, a sine in kCurve 3 pixels thick.
QImage ChartPicture(int width, int height, ChartReferences& refs)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int left = width / 10;
    const int right = width - width / 12;
    const int bottom = height - height / 8;
    const int top = height / 10;
    refs = ChartReferences{QPoint(left, bottom), QPoint(right, top)};
    {
        QPainter p(&image);
        p.setPen(QPen(Qt::black, 1));
        p.drawLine(left, bottom, right, bottom);
        p.drawLine(left, bottom, left, top);
        for (int k = 0; k <= 5; ++k) {
            const int x = left + (right - left) * k / 5;
            const int y = bottom - (bottom - top) * k / 4;
            p.drawLine(x, bottom, x, bottom + 6);
            if (k <= 4)
                p.drawLine(left - 6, y, left, y);
        }
    }
    const int mid = (top + bottom) / 2;
    const double amplitude = 0.4 * (bottom - top);
    for (int x = left + 5; x < right - 5; ++x) {
        const double phase = 2 * std::numbers::pi * (x - left) / (right - left);
        const int y = mid - static_cast<int>(std::lround(amplitude * std::sin(phase) * std::exp(-0.4 * phase / 3)));
        for (int k = -1; k <= 1; ++k)
            image.setPixel(x, y + k, kCurve.rgb());
    }
    return image;
}

std::string ReadAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<" + path.toStdString() + " cannot be read>";
    return file.readAll().toStdString();
}

std::string Number(double v)
{
    std::ostringstream s;
    s.precision(17);
    s << v;
    return s.str();
}

class WindowBatchAgreement : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        user = std::make_shared<UserScript>();
        user->Values = kValues;
        form = std::make_unique<TMainForm>(testsupport::TemporaryFolderEnvironment(folder, user));
        form->resize(1100, 750);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        plot = form->Chart->PlotRect();
        ASSERT_GE(plot.width(), 200);
        ASSERT_GE(plot.height(), 150);
        picturePath = folder.filePath(QStringLiteral("chart.png"));
        if (plot.width() % scale != 0 || plot.height() % scale != 0)
            GTEST_SKIP() << "the plot rectangle is not a whole multiple of the picture";
        ASSERT_TRUE(ChartPicture(plot.width() / scale, plot.height() / scale, refs).save(picturePath, "PNG"));
    }

    // Opens the chart and calibrates it by two clicks on the reference
    // pixels and the value dialog.
    void OpenAndCalibrate()
    {
        form->OpenPictureFile(picturePath);
        ASSERT_EQ(form->Chart->PlotRect(), plot); // the window keeps its layout
        form->mi2PointSetClick();
        ASSERT_TRUE(form->CalibrationOn());
        ClickPlot(refs.Low);
        ClickPlot(refs.High);
        ASSERT_FALSE(form->CalibrationOn());
        ASSERT_EQ(user->Calls, std::vector<std::string>{});
    }

    void ClickPlot(QPoint picturePixel)
    {
        form->Chart->ClickAt(Qt::LeftButton, Qt::NoModifier, plot.left() + scale * picturePixel.x(),
                             plot.top() + scale * picturePixel.y());
    }

    void SetMethod(DigitizeMethod method)
    {
        form->MetodBox->setCurrentIndex(static_cast<int>(method));
        form->MetodBoxChange();
    }

    QString SaveFromWindow()
    {
        user->SaveAnswer = folder.filePath(QStringLiteral("window.dat"));
        form->btnSaveDataClick();
        return user->SaveAnswer;
    }

    std::vector<std::string> BatchArguments() const
    {
        const std::string pixels = std::to_string(refs.Low.x()) + "," + std::to_string(refs.Low.y()) + " " +
                                   std::to_string(refs.High.x()) + "," + std::to_string(refs.High.y());
        const std::string values =
            Number(kValues[0]) + "," + Number(kValues[1]) + "," + Number(kValues[2]) + "," + Number(kValues[3]);
        return {"trace", picturePath.toStdString(), "--points", "2", "--pixels", pixels, "--values", values};
    }

    // Traces by colour in the window and with the batch command, and
    // compares the two data files.
    void TraceAndCompare();

    int scale = 1; // surface pixels per picture pixel
    QTemporaryDir folder;
    std::shared_ptr<UserScript> user;
    std::unique_ptr<TMainForm> form;
    QRect plot;
    ChartReferences refs;
    QString picturePath;
};

// The picture stretched two to one over the plot rectangle.
class StretchedAgreement : public WindowBatchAgreement {
protected:
    StretchedAgreement() { scale = 2; }
};

} // namespace

TEST_F(WindowBatchAgreement, TracedByColourTheWindowsFileIsTheBatchCommandsFile)
{
    TraceAndCompare();
}

TEST_F(StretchedAgreement, TracedByColourTheWindowsFileIsTheBatchCommandsFile)
{
    TraceAndCompare();
}

void WindowBatchAgreement::TraceAndCompare()
{
    OpenAndCalibrate();
    SetMethod(DigitizeMethod::ByColour);
    form->SetLineColour(kCurve); // what picking the curve's pixel sets
    form->btnDigitalClick();
    ASSERT_EQ(user->Calls, std::vector<std::string>{});
    ASSERT_GT(form->Chart->DataSeries()->Count(), 100);
    const std::string window = ReadAll(SaveFromWindow());

    std::vector<std::string> args = BatchArguments();
    const QString batchPath = folder.filePath(QStringLiteral("batch.dat"));
    for (const char* a : {"--method", "colour", "--colour"})
        args.emplace_back(a);
    args.push_back(QStringLiteral("%1%2%3")
                       .arg(kCurve.red(), 2, 16, QLatin1Char('0'))
                       .arg(kCurve.green(), 2, 16, QLatin1Char('0'))
                       .arg(kCurve.blue(), 2, 16, QLatin1Char('0'))
                       .toUpper()
                       .toStdString());
    args.emplace_back("--out");
    args.push_back(batchPath.toStdString());
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunBatchCommand(args, out, err), 0) << err.str();
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(ReadAll(batchPath), window);
}

// The batch command has no manual mode: the reference is the data file made
// by the core from the batch command's own calibration (the picture as the
// plot rectangle) with each clicked picture pixel mapped to axis values.
TEST_F(WindowBatchAgreement, ManualPointsPlacedBySpaceGiveTheFileOfTheSamePixels)
{
    OpenAndCalibrate();
    SetMethod(DigitizeMethod::Manual);
    // Left to right, so the order of entry and the order by X agree.
    const std::vector<QPoint> clicks{refs.Low + QPoint(3, -7), QPoint(plot.width() / 3, plot.height() / 2),
                                     QPoint(plot.width() / 2 + 1, plot.height() / 3 + 2),
                                     refs.High + QPoint(-4, 11)};
    PlotSeries& data = *form->Chart->DataSeries();
    for (std::size_t i = 0; i < clicks.size(); ++i) {
        SCOPED_TRACE(i);
        const QPoint surface = plot.topLeft() + clicks[i];
        QCursor::setPos(form->Chart->mapToGlobal(surface));
        if (form->Chart->PointerPosition() != surface)
            GTEST_SKIP() << "the platform does not move the pointer";
        int key = Qt::Key_Space;
        form->FormKeyDown(key, Qt::NoModifier);
        ASSERT_TRUE(QTest::qWaitFor([&] { return data.Count() == int(i) + 1; }));
    }
    ASSERT_EQ(user->Calls, std::vector<std::string>{});
    const std::string window = ReadAll(SaveFromWindow());

    const PlotRect picture = PlotFilledByPicture(plot.width(), plot.height());
    const AxisPointSlots references{SurfacePoint{refs.Low.x(), refs.Low.y()}, SurfacePoint{refs.High.x(), refs.High.y()},
                               SurfacePoint{refs.High.x(), refs.High.y()}, SurfacePoint{refs.Low.x(), refs.Low.y()}};
    const AxisLimits solved = SolveCalibrationLimits(
        references, ReferenceValues{kValues[0], kValues[1], kValues[2], kValues[3]}, picture);
    // The plot holds its bounds as doubles.
    const AxisLimits held{static_cast<double>(solved.XMin), static_cast<double>(solved.XMax),
                          static_cast<double>(solved.YMin), static_cast<double>(solved.YMax)};
    std::vector<DataPoint> points;
    for (const QPoint& c : clicks) {
        const AxisPoint at = PixelToAxis(SurfacePoint{c.x(), c.y()}, picture, held);
        points.push_back(DataPoint{static_cast<double>(at.X), static_cast<double>(at.Y), {}, {}});
    }
    EXPECT_EQ(window, DataFileText(points, 6, "."));
}

// Not a check: with QUILLMARK_SCREENSHOT=path.png set, a calibrated and traced
// session is saved as a picture of the window for the documentation.
TEST_F(WindowBatchAgreement, Screenshot)
{
    const char* path = std::getenv("QUILLMARK_SCREENSHOT");
    if (path == nullptr || *path == '\0')
        GTEST_SKIP() << "QUILLMARK_SCREENSHOT is not set";
    OpenAndCalibrate();
    SetMethod(DigitizeMethod::ByColour);
    form->SetLineColour(kCurve);
    form->spStep->SetValue(6);
    form->btnDigitalClick();
    ASSERT_GT(form->Chart->DataSeries()->Count(), 10);
    // The reference markers as they stand during calibration.
    for (const QPoint at : {refs.Low, refs.High}) {
        const AxisPoint value = form->Document.ValueAt({plot.left() + at.x(), plot.top() + at.y()});
        form->Chart->AxisSeries()->Add(double(value.X), double(value.Y), QString(), form->PointColourOption());
    }
    form->Chart->AxisSeries()->SetMarkersVisible(true);
    QCoreApplication::processEvents();
    EXPECT_TRUE(form->grab().save(QString::fromLocal8Bit(path), "PNG"));
}
