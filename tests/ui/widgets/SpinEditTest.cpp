#include "ui/widgets/SpinEdit.h"

#include <QFocusEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace quillmark;

namespace {

struct Edit {
    Edit()
    {
        edit.SetDecimalSeparator(QStringLiteral(","));
    }
    SpinEdit edit;
};

TEST(SpinEdit, WritesFifteenDigitsWithTheLocaleSeparator)
{
    Edit e;
    e.edit.SetValue(1.0L / 3.0L);
    EXPECT_EQ(e.edit.Text(), QStringLiteral("0,333333333333333"));
    EXPECT_DOUBLE_EQ(e.edit.Value(), 0.333333333333333);
    e.edit.SetValue(1e20L);
    EXPECT_EQ(e.edit.Text(), QStringLiteral("1E20"));
    e.edit.SetDecimalSeparator(QStringLiteral("."));
    e.edit.SetValue(-2.5L);
    EXPECT_EQ(e.edit.Text(), QStringLiteral("-2.5"));
}

TEST(SpinEdit, EveryTextChangeRunsTheHandlerOnce)
{
    Edit e;
    QSignalSpy spy(&e.edit, &SpinEdit::Changed);
    e.edit.SetValue(5);
    EXPECT_EQ(spy.count(), 1);
    e.edit.SetValue(5); // same text: no change
    EXPECT_EQ(spy.count(), 1);
    e.edit.SetText(QStringLiteral("7"));
    EXPECT_EQ(spy.count(), 2);
    e.edit.SetText(QString());
    QTest::keyClicks(&e.edit, QStringLiteral("-1,5"));
    EXPECT_EQ(spy.count(), 3 + 4);
    EXPECT_DOUBLE_EQ(e.edit.Value(), -1.5);
}

TEST(SpinEdit, TextThatDoesNotParseReadsAsTheMinimum)
{
    Edit e;
    e.edit.SetMinValue(1.75);
    for (const char* text : {"", "-", "1.5", "1,5,", "e3", "1e400"}) {
        SCOPED_TRACE(text);
        e.edit.SetText(QString::fromUtf8(text));
        EXPECT_EQ(e.edit.Value(), 1.75);
    }
    e.edit.SetIntegerKind(true);
    e.edit.SetText(QStringLiteral("1,5"));
    EXPECT_EQ(e.edit.Value(), 1.0);
}

TEST(SpinEdit, LimitsWritesOnlyWhileMinimumAndMaximumDiffer)
{
    Edit e;
    e.edit.SetValue(20);
    EXPECT_EQ(e.edit.Text(), QStringLiteral("20")); // 0 .. 0: no limits
    e.edit.SetMaxValue(10);
    EXPECT_EQ(e.edit.Text(), QStringLiteral("20")); // a new maximum does not re-check
    e.edit.SetValue(20);
    EXPECT_EQ(e.edit.Text(), QStringLiteral("10"));
    e.edit.SetValue(-5);
    EXPECT_EQ(e.edit.Text(), QStringLiteral("0"));
    // An inverted pair tests the minimum first.
    e.edit.SetMinValue(5);
    e.edit.SetMaxValue(1);
    e.edit.SetValue(3);
    EXPECT_EQ(e.edit.Text(), QStringLiteral("5"));
    e.edit.SetValue(7);
    EXPECT_EQ(e.edit.Text(), QStringLiteral("1"));
}

TEST(SpinEdit, SwitchingUnitsLimitsByTheOldMaximum)
{
    // Axis units 0 .. 10 to pixels: the value written before the new maximum
    // of 1000 is still limited by 10.
    Edit e;
    e.edit.SetMaxValue(10);
    e.edit.SetValue(2.5);
    e.edit.SetMinValue(1);
    e.edit.SetValue(std::nearbyint(300.0L));
    e.edit.SetIntegerKind(true);
    e.edit.SetMaxValue(1000);
    EXPECT_EQ(e.edit.Text(), QStringLiteral("10"));
    EXPECT_EQ(e.edit.Value(), 10.0);
    e.edit.SetValue(2.5);
    EXPECT_EQ(e.edit.Text(), QStringLiteral("2")); // halves to even
}

TEST(SpinEdit, IntegerKindRewritesAFractionRounded)
{
    Edit e;
    e.edit.SetValue(3.5);
    e.edit.SetIntegerKind(true);
    EXPECT_EQ(e.edit.Text(), QStringLiteral("4"));
    QSignalSpy spy(&e.edit, &SpinEdit::Changed);
    e.edit.SetIntegerKind(false);
    e.edit.SetIntegerKind(true);
    EXPECT_EQ(spy.count(), 0);
}

TEST(SpinEdit, ArrowsAddAndSubtractTheIncrement)
{
    Edit e;
    e.edit.SetIncrement(0.1);
    QSignalSpy spy(&e.edit, &SpinEdit::Changed);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(&e.edit, Qt::Key_Up);
    EXPECT_EQ(e.edit.Text(), QStringLiteral("0,3"));
    EXPECT_EQ(spy.count(), 3);
    e.edit.stepBy(-4);
    EXPECT_EQ(e.edit.Text(), QStringLiteral("-0,1"));
    e.edit.SetMaxValue(0.25);
    e.edit.stepBy(5);
    EXPECT_EQ(e.edit.Text(), QStringLiteral("0,25"));
}

TEST(SpinEdit, TypingRefusesCharactersThatCannotBelongToANumber)
{
    Edit e;
    e.edit.SetText(QString());
    QTest::keyClicks(&e.edit, QStringLiteral("1x.2,5E3"));
    EXPECT_EQ(e.edit.Text(), QStringLiteral("12,5E3"));
    e.edit.SetIntegerKind(true);
    e.edit.SetText(QString());
    QTest::keyClicks(&e.edit, QStringLiteral("-4,2e"));
    EXPECT_EQ(e.edit.Text(), QStringLiteral("-42"));
}

TEST(SpinEdit, LeavingTheFieldBringsATypedNumberIntoRange)
{
    Edit e;
    e.edit.SetMaxValue(50);
    e.edit.SetText(QStringLiteral("70"));
    QFocusEvent out(QEvent::FocusOut);
    QCoreApplication::sendEvent(&e.edit, &out);
    EXPECT_EQ(e.edit.Text(), QStringLiteral("50"));
    e.edit.SetText(QStringLiteral("abc"));
    QCoreApplication::sendEvent(&e.edit, &out);
    EXPECT_EQ(e.edit.Text(), QStringLiteral("abc"));
}

} // namespace
