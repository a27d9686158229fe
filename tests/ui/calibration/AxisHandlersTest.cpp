#include "WindowFixture.h"

#include "base/Errors.h"
#include "ui/plot/PlotChart.h"
#include "ui/widgets/SplitSpinButton.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

using namespace quillmark;
using namespace quillmark::testing;

namespace {

const std::string kRefusal = "error: Ошибка | Минимальное значение оси должно быть < максимального";

class AxisHandlersTest : public WindowFixture {
protected:
    PlotAxis& X() { return form->Chart->BottomAxis(); }
    PlotAxis& Y() { return form->Chart->LeftAxis(); }
};

TEST_F(AxisHandlersTest, InvertedIntermediateRangeIsRefusedThenTheFinalOneApplies)
{
    form->spXMin->SetValue(20);
    EXPECT_EQ(dialogs->TakeCalls(), std::vector<std::string>{kRefusal});
    // The edit keeps the refused value; the axis its last accepted range.
    EXPECT_EQ(form->spXMin->Text(), QStringLiteral("20"));
    EXPECT_EQ(X().Minimum(), 0);
    EXPECT_EQ(X().Maximum(), 10);
    EXPECT_EQ(X().LabelFormat(), "#,##0.###");

    form->spXMax->SetValue(30);
    EXPECT_TRUE(dialogs->TakeCalls().empty());
    EXPECT_EQ(X().Minimum(), 20);
    EXPECT_EQ(X().Maximum(), 30);
    EXPECT_EQ(form->spXIncrement->Text(), QStringLiteral("1"));
    EXPECT_EQ(X().Increment(), 1);
}

TEST_F(AxisHandlersTest, IncrementKeptOnlyWhileItGivesBetweenFourAndTwentyIntervals)
{
    form->spXIncrement->SetText(QStringLiteral("5"));
    EXPECT_EQ(X().Increment(), 5);

    const struct {
        double max;
        double increment;
    } steps[] = {
        {30, 5},  // 6 intervals: kept
        {95, 5},  // 19 intervals: kept
        {100, 10}, // 20 intervals: replaced
        {12, 1},  // 1.2 intervals: replaced
        {3, 0.1}, // leading digit 3: a tenth of the power
        {1e5, 1e4},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.max);
        form->spXMax->SetValue(s.max);
        EXPECT_DOUBLE_EQ(X().Increment(), s.increment);
        EXPECT_DOUBLE_EQ(form->spXIncrement->Value(), s.increment);
    }
    EXPECT_EQ(X().LabelFormat(), "#.0## \"x10\" E+0##");
}

TEST_F(AxisHandlersTest, NegativeIncrementIsRefusedByThePlotAndZeroLetsItChoose)
{
    form->spYIncrement->SetValue(2);
    EXPECT_THROW(form->spYIncrement->SetValue(-1), QuillmarkError);
    EXPECT_EQ(Y().Increment(), 2);
    form->spYIncrement->SetValue(0);
    EXPECT_EQ(Y().Increment(), 0);
}

TEST_F(AxisHandlersTest, ValueEqualToTheAxisBoundAtSinglePrecisionIsNotReapplied)
{
    const struct {
        const char* text;
        bool applied;
    } cases[] = {
        {"10.0000001", false},
        {"10.00001", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        form->spXMax->SetValue(10);
        form->spXIncrement->SetValue(0);
        form->spXMax->SetText(QString::fromLatin1(c.text));
        EXPECT_EQ(X().Maximum() != 10, c.applied);
        // An application writes a nice increment; none leaves it at 0.
        EXPECT_EQ(form->spXIncrement->Value() != 0, c.applied);
    }
}

TEST_F(AxisHandlersTest, SpinStepIsOneFourHundredthOfTheRangeAfterTheFirstChange)
{
    for (SpinEdit* edit : {form->spXMin, form->spXMax, form->spYMin, form->spYMax})
        EXPECT_EQ(edit->Increment(), 0.1);

    form->spXMax->SetValue(20);
    EXPECT_DOUBLE_EQ(form->spXMin->Increment(), 0.05);
    EXPECT_DOUBLE_EQ(form->spXMax->Increment(), 0.05);
    EXPECT_EQ(form->spYMin->Increment(), 0.1);

    form->spXMin->stepBy(1);
    EXPECT_EQ(form->spXMin->Text(), QStringLiteral("0.05"));
    EXPECT_DOUBLE_EQ(X().Minimum(), 0.05);
    EXPECT_DOUBLE_EQ(form->spXMax->Increment(), 19.95 / 400);
}

TEST_F(AxisHandlersTest, LeftAxisKeepsItsStartMaskUntilTheFirstAcceptedChange)
{
    EXPECT_EQ(Y().LabelFormat(), "#,##0.### ");
    EXPECT_EQ(X().LabelFormat(), "#,##0.###");
    form->spYMin->SetValue(5); // refused: -3 .. 3 stays, and so does the mask
    EXPECT_EQ(Y().LabelFormat(), "#,##0.### ");
    form->spYMin->SetValue(-4);
    EXPECT_EQ(Y().LabelFormat(), "#,##0.###");
}

TEST_F(AxisHandlersTest, ShiftButtonsAndShiftArrowsMoveTheGridByOneFourHundredth)
{
    const struct {
        const char* name;
        int key;
        QToolButton* (SplitSpinButton::*half)() const;
        bool xAxis;
        double min;
        double max;
    } cases[] = {
        {"XTop", Qt::Key_Left, &SplitSpinButton::TopHalf, true, 0.025, 10.025},
        {"XBottom", Qt::Key_Right, &SplitSpinButton::BottomHalf, true, -0.025, 9.975},
        {"YTop", Qt::Key_Up, &SplitSpinButton::TopHalf, false, -3.015, 2.985},
        {"YBottom", Qt::Key_Down, &SplitSpinButton::BottomHalf, false, -2.985, 3.015},
    };
    for (const auto& c : cases) {
        for (const bool byKey : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (byKey ? " key" : " button"));
            form->spXMin->SetValue(0);
            form->spXMax->SetValue(10);
            form->spYMin->SetValue(-3);
            form->spYMax->SetValue(3);
            if (byKey) {
                QTest::keyClick(form->Chart, static_cast<Qt::Key>(c.key), Qt::ShiftModifier);
            } else {
                SplitSpinButton* button = c.xAxis ? form->spbtnX : form->spbtnY;
                (button->*c.half)()->click();
            }
            PlotAxis& axis = c.xAxis ? X() : Y();
            EXPECT_DOUBLE_EQ(axis.Minimum(), c.min);
            EXPECT_DOUBLE_EQ(axis.Maximum(), c.max);
            PlotAxis& other = c.xAxis ? Y() : X();
            EXPECT_DOUBLE_EQ(other.Maximum() - other.Minimum(), c.xAxis ? 6 : 10);
        }
    }
    EXPECT_TRUE(dialogs->TakeCalls().empty());
}

TEST_F(AxisHandlersTest, CtrlArrowsApplyTheSteppedRangeToThePlot)
{
    QTest::keyClick(form->Chart, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(X().Minimum(), -0.025);
    EXPECT_DOUBLE_EQ(X().Maximum(), 10.025);
    EXPECT_DOUBLE_EQ(form->spXMin->Increment(), 10.05 / 400);

    QTest::keyClick(form->Chart, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(Y().Minimum(), -2.985);
    EXPECT_DOUBLE_EQ(Y().Maximum(), 2.985);
    EXPECT_EQ(Y().LabelFormat(), "#,##0.###");
    EXPECT_TRUE(dialogs->TakeCalls().empty());
}

} // namespace

// Typed with real keys: each keystroke changes the text, but a range that
// would be refused (or a text that is no number yet) waits for the end of
// the typing, which refuses it once and puts the value in force back.
TEST_F(AxisHandlersTest, TypedLimitsApplyWhenAcceptedAndAreRefusedOnceWhenFinished)
{
    form->spXMin->SetValue(5);
    form->spXMax->SetValue(100);
    dialogs->TakeCalls();
    auto* field = form->spXMax->findChild<QLineEdit*>();
    ASSERT_NE(field, nullptr);
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("20"));  // "2" alone would end below the minimum
    EXPECT_TRUE(dialogs->TakeCalls().empty());
    EXPECT_EQ(X().Maximum(), 20);

    auto* minField = form->spXMin->findChild<QLineEdit*>();
    minField->selectAll();
    QTest::keyClicks(minField, QStringLiteral("-7"));  // "-" is no number yet
    EXPECT_TRUE(dialogs->TakeCalls().empty());
    EXPECT_EQ(X().Minimum(), -7);

    minField->selectAll();
    QTest::keyClicks(minField, QStringLiteral("25"));  // "2" applies, "25" waits
    EXPECT_TRUE(dialogs->TakeCalls().empty());
    EXPECT_EQ(X().Minimum(), 2);
    QTest::keyClick(minField, Qt::Key_Return);
    EXPECT_EQ(dialogs->TakeCalls(), std::vector<std::string>{kRefusal});
    EXPECT_EQ(form->spXMin->Text(), QStringLiteral("2"));
    EXPECT_EQ(X().Minimum(), 2);
    EXPECT_EQ(X().Maximum(), 20);
}

TEST_F(AxisHandlersTest, TheLogBoxGivesTheAxisDecadesAndRefusesLimitsBelowZero)
{
    // 0 .. 10 cannot be shown on a log axis: three decades below 10 instead.
    QTest::mouseClick(form->chXLog, Qt::LeftButton, {}, QPoint(4, form->chXLog->height() / 2));
    ASSERT_TRUE(form->Document.AxisOf(Axis::X).Kind.Log);
    EXPECT_EQ(X().Minimum(), 0.01);
    EXPECT_EQ(form->spXMin->Text(), QStringLiteral("0.01"));
    EXPECT_EQ(form->spXIncrement->Value(), 1);
    EXPECT_EQ(X().LabelText(1e-4), QStringLiteral("10\u207B\u2074"));
    dialogs->TakeCalls();

    auto* minField = form->spXMin->findChild<QLineEdit*>();
    minField->selectAll();
    QTest::keyClicks(minField, QStringLiteral("-1"));
    QTest::keyClick(minField, Qt::Key_Return);
    EXPECT_EQ(dialogs->TakeCalls(),
              std::vector<std::string>{"error: Ошибка | " + std::string(kLogXNeedsPositive)});
    EXPECT_EQ(X().Minimum(), 0.01);
    // Reversed: the left edge shows the maximum.
    QTest::mouseClick(form->chXRev, Qt::LeftButton, {}, QPoint(4, form->chXRev->height() / 2));
    EXPECT_NEAR(static_cast<double>(form->Chart->BottomValue(form->Chart->PlotRect().left())), 10, 1e-9);
}
