// Manual entry and editing through the plot's own click path, and the
// magnifier picture.
#include "EditingWindow.h"
#include "ui/Adapt.h"

#include "ui/widgets/SpinEdit.h"

#include <QApplication>
#include <QCursor>
#include <QTest>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QPainter>
#include <QTableWidget>
#include <QToolButton>

#include <cmath>

using namespace quillmark;
using namespace quillmark::test;

namespace {

const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);

class ManualWindow : public EditingWindowTest {
protected:
    void SetUp() override
    {
        EditingWindowTest::SetUp();
        SetMethod(DigitizeMethod::Manual);
    }

    std::vector<double> Xs()
    {
        std::vector<double> xs;
        for (int i = 0; i < Data().Count(); ++i)
            xs.push_back(Data().XValue(i));
        return xs;
    }
};

TEST_F(ManualWindow, FreeClicksAddPointsInXOrderAndRewriteTheTable)
{
    EXPECT_FALSE(form->btnSaveData->isEnabled());
    Click(At(5, 5));
    EXPECT_TRUE(form->btnSaveData->isEnabled());
    EXPECT_TRUE(form->btnCopy->isEnabled());
    EXPECT_TRUE(form->btnSeries->isEnabled());
    EXPECT_TRUE(form->btnClearSeies->isEnabled());
    EXPECT_TRUE(form->Grid->isEnabled());
    Click(At(2, 8));
    Click(At(8.25, 9));

    ASSERT_EQ(Xs(), (std::vector<double>{2, 5, 8.25}));
    EXPECT_EQ(Data().Label(2), QStringLiteral("8,25"));
    EXPECT_EQ(Data().YValue(0), 8);
    ASSERT_EQ(form->Grid->rowCount(), 4);
    for (int r = 1; r <= 3; ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(Cell(r, 0), QString::number(r));
        EXPECT_EQ(Data().PointColor(r - 1), kBlue);
    }
    EXPECT_EQ(Cell(1, 1), QStringLiteral("2"));
    EXPECT_EQ(Cell(1, 2), QStringLiteral("8"));
    EXPECT_EQ(Cell(3, 1), QStringLiteral("8,25"));
    EXPECT_EQ(form->Document.Selected(), -1);
}

TEST_F(ManualWindow, ClickNearAPointSelectsItAndTheNextClickMovesIt)
{
    Click(At(2, 2));
    Click(At(6, 8));
    Click(At(6, 8) + QPoint(1, -1));
    ASSERT_EQ(Data().Count(), 2);
    EXPECT_EQ(form->Document.Selected(), 1);
    EXPECT_EQ(Data().PointColor(1), kRed);
    EXPECT_EQ(Data().PointColor(0), kBlue);

    // Moved below X of point 0: the index stays, the order is not restored.
    Click(At(1, 5));
    ASSERT_EQ(Data().Count(), 2);
    EXPECT_EQ(Data().XValue(1), 1);
    EXPECT_EQ(Data().YValue(1), 5);
    EXPECT_EQ(Data().PointColor(1), kBlue);
    EXPECT_EQ(form->Document.Selected(), -1);
    EXPECT_EQ(Cell(2, 1), QStringLiteral("1"));
    EXPECT_EQ(Cell(2, 2), QStringLiteral("5"));
}

TEST_F(ManualWindow, ClickingTheSelectedPointAgainDeselectsWithoutAdding)
{
    Click(At(4, 4));
    Click(At(4, 4));
    ASSERT_EQ(form->Document.Selected(), 0);
    Click(At(4, 4));
    EXPECT_EQ(form->Document.Selected(), -1);
    EXPECT_EQ(Data().Count(), 1);
    EXPECT_EQ(Data().PointColor(0), kBlue);
}

TEST_F(ManualWindow, EditMovesOnlyTheYOfTheSelectedPoint)
{
    Click(At(3, 3));
    SetMethod(DigitizeMethod::Edit);
    Click(At(7, 7)); // nothing selected: Edit adds nothing
    EXPECT_EQ(Data().Count(), 1);
    Click(At(3, 3));
    ASSERT_EQ(form->Document.Selected(), 0);
    Click(At(7, 7));
    EXPECT_EQ(Data().XValue(0), 3);
    EXPECT_EQ(Data().YValue(0), 7);
    EXPECT_EQ(Cell(1, 1), QStringLiteral("3"));
    EXPECT_EQ(Cell(1, 2), QStringLiteral("7"));
}

TEST_F(ManualWindow, SensitivityZeroSelectsOnlyOnTheDrawnPixel)
{
    form->Sensitivity = 0;
    Click(At(5, 5));
    Click(At(5, 5) + QPoint(1, 0)); // hits the marker, but off the point's pixel
    EXPECT_EQ(form->Document.Selected(), -1);
    EXPECT_EQ(Data().Count(), 2);
    Click(At(5, 5));
    EXPECT_EQ(form->Document.Selected(), 0);
}

TEST_F(ManualWindow, RightClickOnTheSelectedPointDeletesInManualOnly)
{
    Click(At(2, 2));
    Click(At(8, 8));
    Click(At(2, 2));
    ASSERT_EQ(form->Document.Selected(), 0);

    SetMethod(DigitizeMethod::Edit);
    Click(At(2, 2), Qt::RightButton);
    EXPECT_EQ(Data().Count(), 2);
    EXPECT_EQ(form->Document.Selected(), 0);

    SetMethod(DigitizeMethod::Manual);
    Click(At(8, 8), Qt::RightButton); // not the selected point
    EXPECT_EQ(Data().Count(), 2);
    Click(At(2, 2) + QPoint(1, 1), Qt::RightButton);
    ASSERT_EQ(Data().Count(), 1);
    EXPECT_EQ(Data().XValue(0), 8);
    EXPECT_EQ(form->Document.Selected(), -1);
    EXPECT_EQ(form->Grid->rowCount(), 2);
    EXPECT_EQ(Cell(1, 1), QStringLiteral("8"));
}

TEST_F(ManualWindow, OfEqualDistancesTheLowerIndexIsSelected)
{
    form->Sensitivity = 2;
    // Two points 4 pixels apart on one row; the click lies halfway.
    const QPoint left = At(5, 5);
    form->Document.AddPoint(DataPoint{double(Data().XScreenToValue(left.x())), 5, {}, ToCoreColourOrNone(kBlue)});
    form->Document.AddPoint(DataPoint{double(Data().XScreenToValue(left.x() + 4)), 5, {}, ToCoreColourOrNone(kBlue)});
    form->SetDataGroupEnabled(true);
    Click(left + QPoint(2, 0));
    EXPECT_EQ(form->Document.Selected(), 0);
    EXPECT_EQ(Data().Count(), 2);
}

TEST_F(ManualWindow, ClicksInAnAutomaticMethodChangeNothing)
{
    Click(At(5, 5));
    SetMethod(DigitizeMethod::ByColour);
    Click(At(5, 5));
    Click(At(1, 1));
    EXPECT_EQ(form->Document.Selected(), -1);
    EXPECT_EQ(Data().Count(), 1);
}

class MagnifierWindow : public EditingWindowTest {
protected:
    void SetUp() override
    {
        EditingWindowTest::SetUp();
        // One colour for the plot and its grid, so the picture is plain.
        form->Chart->SetBackColor(QColor(0, 128, 0));
        form->Chart->BottomAxis().SetGridColor(QColor(0, 128, 0));
        form->Chart->LeftAxis().SetGridColor(QColor(0, 128, 0));
    }

    QColor Pixel(int x, int y) const { return form->MagnifierPicture().pixelColor(x, y); }
};

TEST_F(MagnifierWindow, CrossHairIsBlackWithAWhiteCentre)
{
    form->Chart->SetBackColor(QColor(0, 128, 0));
    form->RefreshMagnifier(At(5, 5));
    ASSERT_EQ(form->MagnifierPicture().size(), QSize(157, 118));
    EXPECT_EQ(form->Image->size(), QSize(157, 118));
    // w div 4 = 39, w div 2 = 78, h div 4 = 29, h div 2 = 59.
    const QColor green(0, 128, 0);
    const QColor black(0, 0, 0);
    const QColor white(255, 255, 255);
    struct Expect {
        int X, Y;
        QColor Colour;
    };
    const Expect expected[] = {
        {38, 59, green}, {39, 59, black},  {75, 59, black}, {76, 59, white}, {80, 59, white},
        {81, 59, black}, {116, 59, black}, {117, 59, green}, {78, 28, green}, {78, 29, black},
        {78, 56, black}, {78, 57, white},  {78, 61, white},  {78, 62, black}, {78, 86, black},
        {78, 87, green}, {77, 58, green},  {79, 60, green},
    };
    for (const Expect& e : expected) {
        SCOPED_TRACE(testing::Message() << e.X << "," << e.Y);
        EXPECT_EQ(Pixel(e.X, e.Y), e.Colour);
    }
}

TEST_F(MagnifierWindow, ShowsThePicturesOwnPixelsAsBlocksWhateverTheViewsZoom)
{
    // A picture drawn one to one over the plot, green with one black pixel
    // right of the one under the pointer.
    const QPoint pointer = At(5, 5);
    const QPoint corner = form->Chart->PlotRect().topLeft();
    form->Chart->SetBackImageSize(400, 400);
    form->Chart->BackImage().fill(QColor(0, 128, 0));
    form->Chart->BackImage().setPixelColor(pointer - corner + QPoint(1, 0), Qt::black);
    form->ZoomBox->setCurrentIndex(3);
    form->RefreshMagnifier(pointer);
    // "16": the pointer's pixel covers 70 .. 85 across and 51 .. 66 down, so
    // the cross hair (78, 59) is on it; its neighbour 86 .. 101.
    EXPECT_EQ(Pixel(86, 51), QColor(0, 0, 0));
    EXPECT_EQ(Pixel(101, 66), QColor(0, 0, 0));
    EXPECT_EQ(Pixel(85, 51), QColor(0, 128, 0));
    EXPECT_EQ(Pixel(102, 66), QColor(0, 128, 0));
    EXPECT_EQ(Pixel(86, 67), QColor(0, 128, 0));
    // Zooming the view about the pointer changes nothing in the magnifier.
    const QImage before = form->MagnifierPicture();
    form->Chart->ZoomAbout(QPointF(pointer), 4);
    form->RefreshMagnifier(pointer);
    EXPECT_EQ(form->MagnifierPicture(), before);
}

TEST_F(MagnifierWindow, ReadoutShowsTheAxisValuesOnWhite)
{
    form->Chart->SetBackColor(QColor(0, 128, 0));
    form->RefreshMagnifier(At(5, 5));
    bool dark = false;
    for (int y = 0; y < 25; ++y) {
        for (int x = 0; x < 50; ++x) {
            const QColor c = Pixel(x, y);
            EXPECT_NE(c, QColor(0, 128, 0)) << x << "," << y;
            dark = dark || c.lightness() < 128;
        }
    }
    EXPECT_TRUE(dark) << "no text was written";
}

// Run once as it is and again by ctest with QT_SCALE_FACTOR=2: the screen
// gets the magnifier drawn at its own resolution, with the enlarged pixels and
// the cross hair where the plot's own pixels put them and a finer readout.
TEST_F(MagnifierWindow, ScaledScreensGetASharpMagnifierOfTheSamePixels)
{
    form->Chart->SetBackColor(QColor(0, 128, 0));
    const QPoint pointer = At(5, 5);
    form->Chart->SetBackImageSize(400, 400);
    form->Chart->BackImage().fill(QColor(0, 128, 0));
    {
        QPainter p(&form->Chart->BackImage());
        p.fillRect(QRect(pointer - form->Chart->PlotRect().topLeft() + QPoint(3, 3), QSize(4, 4)), Qt::blue);
    }
    form->RefreshMagnifier(pointer);
    const QImage own = form->MagnifierPicture();
    const QImage shown = form->MagnifierDisplayPicture();
    const qreal ratio = form->Image->devicePixelRatioF();
    ASSERT_EQ(own.size(), QSize(157, 118));
    EXPECT_EQ(shown.devicePixelRatio(), ratio);
    EXPECT_EQ(form->Image->pixmap().devicePixelRatio(), ratio);
    if (ratio == 1.0) {
        EXPECT_EQ(shown, own);
        return;
    }
    ASSERT_EQ(shown.size(), QSize(static_cast<int>(std::ceil(157 * ratio)), static_cast<int>(std::ceil(118 * ratio))));
    // Outside the readout every picture pixel inside a patch of one colour
    // becomes a block of screen pixels of that colour: no smoothing, nothing
    // moved (edges between surface pixels may fall a screen pixel finer).
    if (ratio == std::floor(ratio)) {
        const int k = static_cast<int>(ratio);
        const auto plain = [&](int x, int y) {
            for (int d = 0; d < 9; ++d) {
                if (own.pixel(x - 1 + d % 3, y - 1 + d / 3) != own.pixel(x, y))
                    return false;
            }
            return true;
        };
        int checked = 0;
        for (int y = 26; y < 117; ++y) {
            for (int x = 51; x < 156; ++x) {
                if (!plain(x, y))
                    continue;
                ++checked;
                for (int d = 0; d < k * k; ++d) {
                    ASSERT_EQ(shown.pixel(k * x + d % k, k * y + d / k), own.pixel(x, y)) << x << "," << y;
                }
            }
        }
        EXPECT_GT(checked, 8000);
        // The blue square and the cross hair are there at the screen's scale.
        EXPECT_EQ(QColor(shown.pixel(k * 90, k * 70)), QColor(Qt::blue));
        EXPECT_EQ(QColor(shown.pixel(k * 100, k * 59)), QColor(Qt::black));
    }
    // The readout is written at the screen's resolution, not enlarged.
    const QRect readout(0, 0, static_cast<int>(50 * ratio), static_cast<int>(25 * ratio));
    const QImage enlarged = own.scaled(shown.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation)
                                .convertToFormat(QImage::Format_RGB32);
    EXPECT_NE(shown.copy(readout), enlarged.copy(readout));
}

TEST_F(MagnifierWindow, KeepsItsLastPictureWhileTheWindowIsNotActive)
{
    form->Chart->SetBackColor(QColor(0, 128, 0));
    form->RefreshMagnifier(At(5, 5));
    const QImage before = form->MagnifierPicture();
    form->Chart->SetBackColor(QColor(128, 0, 0));
    ASSERT_FALSE(form->isActiveWindow());
    form->TimerTimer();
    EXPECT_EQ(form->MagnifierPicture(), before);
}

TEST_F(MagnifierWindow, TimerRefreshesOnlyWhileThePointerIsOverThePlot)
{
    form->show();
    form->activateWindow();
    if (!QTest::qWaitForWindowActive(form.get()))
        GTEST_SKIP() << "this platform does not activate windows";
    SetPlotSize(400, 400);
    const QImage blank = form->MagnifierPicture();
    QCursor::setPos(form->Chart->mapToGlobal(form->Chart->PlotRect().topLeft() - QPoint(5, 5)));
    form->TimerTimer();
    EXPECT_EQ(form->MagnifierPicture(), blank);
    QCursor::setPos(form->Chart->mapToGlobal(At(5.1, 5.1)));
    form->TimerTimer();
    EXPECT_EQ(Pixel(38, 59), QColor(0, 128, 0));
}

} // namespace

// Qt turns the second press of a quick double click into a double-click
// event; in Manual it is a click like the first.
TEST_F(ManualWindow, TwoQuickClicksCloseTogetherGiveTwoPoints)
{
    const QPoint first = At(5, 5);
    const QPoint second = first + QPoint(3, 0);
    QTest::mousePress(form->Chart, Qt::LeftButton, {}, first);
    QTest::mouseRelease(form->Chart, Qt::LeftButton, {}, first);
    QTest::mouseDClick(form->Chart, Qt::LeftButton, {}, second);
    QTest::mouseRelease(form->Chart, Qt::LeftButton, {}, second);
    EXPECT_EQ(Data().Count(), 2);
}

TEST_F(ManualWindow, RestylingKeepsTheSelectionOnItsPointAndTheTableInStep)
{
    form->SetSeriesOrdering(false);  // points stay in the order they came
    Click(At(6, 6));
    Click(At(2, 2));
    Click(At(2, 2));  // selects the second point, X 2
    ASSERT_EQ(form->Document.Selected(), 1);
    form->btnSeries->click();  // the user hides the graph
    form->SetSeriesOrdering(true);
    form->ApplySeriesStyle();
    EXPECT_EQ(form->Document.Selected(), 0);
    EXPECT_EQ(Data().XValue(form->Document.Selected()), 2);
    EXPECT_EQ(Cell(1, 1), QStringLiteral("2"));
    EXPECT_EQ(Cell(2, 1), QStringLiteral("6"));
    EXPECT_FALSE(Data().Active());
    EXPECT_TRUE(form->btnSeries->isChecked());
}

// While a number is typed, the keys that edit it are the field's; with the
// plot focused they move the pointer or click.
TEST_F(ManualWindow, KeysForATextFieldStayInTheField)
{
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    auto* field = form->spXMin->findChild<QLineEdit*>();
    ASSERT_NE(field, nullptr);
    field->setFocus();
    field->setText(QStringLiteral("12"));
    field->setCursorPosition(2);
    QCursor::setPos(form->Chart->mapToGlobal(At(5, 5)));
    const QPoint pointer = QCursor::pos();
    const double xMin = form->Chart->BottomAxis().Minimum();
    QTest::keyClick(field, Qt::Key_Left);
    QTest::keyClick(field, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(form->Chart->BottomAxis().Minimum(), xMin);  // no shift of the axis
    QTest::keyClick(field, Qt::Key_Space);
    QApplication::processEvents();
    // Left, then Shift+Left selecting the "1", which Space replaces.
    EXPECT_EQ(field->text(), QStringLiteral(" 2"));
    EXPECT_EQ(Data().Count(), 0);
    EXPECT_EQ(QCursor::pos(), pointer);
}

namespace {

// A file dialog that gets keys of its own while it is open, as a real one
// does while the user types a name and presses Esc.
class TypingDialogs : public testsupport::RecordingDialogs {
public:
    QString AskOpenFileName(const FileDialogRequest& request) override
    {
        QLineEdit name;
        QTest::keyClicks(&name, QStringLiteral("chart"));
        QTest::keyClick(&name, Qt::Key_Escape);
        return RecordingDialogs::AskOpenFileName(request);
    }
};

} // namespace

TEST(KeyDispatch, AKeyWhoseDialogSawKeysOfItsOwnActsOnce)
{
    QTemporaryDir folder;
    auto boxes = std::make_shared<TypingDialogs>();
    boxes->RecordFileDialogs = true;
    TMainForm form(testsupport::TemporaryFolderEnvironment(folder, boxes));
    // Sent to the plot, which does not take F3: it propagates through the
    // plot's parents after the dialog has closed.
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F3, Qt::NoModifier);
    QApplication::sendEvent(form.Chart, &press);
    EXPECT_EQ(boxes->Calls, std::vector<std::string>{"open"});
}

TEST_F(ManualWindow, UnsavedPointsAreNotLostWithoutAQuestion)
{
    boxes->RecordFileDialogs = true;
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    Click(At(5, 5));
    boxes->TakeCalls();
    // Отмена: the window stays, nothing else is asked.
    boxes->YesNoCancelAnswer = ModalDialogs::Answer::Cancel;
    EXPECT_FALSE(form->close());
    form->miOpenFileClick();
    EXPECT_EQ(boxes->TakeCalls(), (std::vector<std::string>{"ask: Сохранить данные?", "ask: Сохранить данные?"}));
    // Да with the save dialog cancelled is no save: still nothing goes on.
    boxes->YesNoCancelAnswer = ModalDialogs::Answer::Yes;
    EXPECT_FALSE(form->close());
    EXPECT_EQ(boxes->TakeCalls(), (std::vector<std::string>{"ask: Сохранить данные?", "save"}));
    // Copied points count as kept: no question.
    form->btnCopyClick();
    form->miOpenFileClick();
    EXPECT_EQ(boxes->TakeCalls(), (std::vector<std::string>{"open"}));
    // Нет: the change is let go.
    Click(At(7, 7));
    boxes->YesNoCancelAnswer = ModalDialogs::Answer::No;
    EXPECT_TRUE(form->close());
    EXPECT_EQ(boxes->TakeCalls(), (std::vector<std::string>{"ask: Сохранить данные?"}));
}
