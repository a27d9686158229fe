// The table of the data series driven through the window.
#include "WindowFixture.h"
#include "ui/Adapt.h"

#include "ui/plot/PlotSeries.h"

#include <QAbstractItemDelegate>
#include <QAction>
#include <QStyleOptionViewItem>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace quillmark;
using namespace quillmark::test;

namespace {

class TableWindow : public DigitizeWindowTest {
protected:
    PlotSeries& Data() { return *form->Chart->DataSeries(); }
    QString Cell(int row, int column) const
    {
        const QTableWidgetItem* item = form->Grid->item(row, column);
        return item ? item->text() : QString();
    }
    void UseSeparator(const QString& separator) { form->Chart->SetSeparators(separator, QStringLiteral(" ")); }
    void AddPoints(std::initializer_list<std::pair<double, double>> points)
    {
        for (const auto& [x, y] : points)
            form->Document.AddPoint(DataPoint{x, y, {}, ToCoreColourOrNone(QColor(0, 0, 255))});
        form->SetDataGroupEnabled(true);
        form->RefreshTable();
    }
};

TEST_F(TableWindow, StartsDisabledWithHeaderAndFiveRows)
{
    EXPECT_FALSE(form->Grid->isEnabled());
    EXPECT_EQ(form->Grid->rowCount(), 5);
    EXPECT_EQ(form->Grid->columnCount(), 3);
    EXPECT_EQ(Cell(0, 1), QStringLiteral("      X"));
    EXPECT_EQ(Cell(0, 2), QStringLiteral("      Y"));
    // The header row and the number column are the view's own headers: they
    // stay while the rows scroll, and no selection reaches them.
    EXPECT_TRUE(form->Grid->isRowHidden(0));
    EXPECT_TRUE(form->Grid->isColumnHidden(0));
    EXPECT_EQ(form->Grid->horizontalHeaderItem(1)->text(), QStringLiteral("X"));
    EXPECT_EQ(form->Grid->horizontalHeaderItem(2)->text(), QStringLiteral("Y"));
    EXPECT_EQ(form->Grid->verticalHeaderItem(1)->text(), QString());
    AddPoints({{1, 1}, {2, 2}});
    EXPECT_EQ(form->Grid->verticalHeaderItem(2)->text(), QStringLiteral("2"));
    EXPECT_TRUE(form->Grid->isRowHidden(0));
}

TEST_F(TableWindow, HeaderRowAndNumberColumnOpenNoEditor)
{
    AddPoints({{1, 1}});
    QAbstractItemDelegate* delegate = form->Grid->itemDelegate();
    QStyleOptionViewItem option;
    const auto editorAt = [&](int row, int column) {
        std::unique_ptr<QWidget> editor(delegate->createEditor(form->Grid, option, form->Grid->model()->index(row, column)));
        return editor != nullptr;
    };
    EXPECT_FALSE(editorAt(0, 1));
    EXPECT_FALSE(editorAt(1, 0));
    EXPECT_TRUE(editorAt(1, 1));
    EXPECT_TRUE(editorAt(1, 2));
}

TEST_F(TableWindow, RowsShowPointsInTheTableFormatWithTheLocaleSeparator)
{
    struct Case {
        QString Separator;
        std::vector<QString> Y;
    };
    const Case cases[] = {
        {QStringLiteral(","), {QStringLiteral("1,23457E6"), QStringLiteral("0,000123457"), QStringLiteral("1,23457E-5"),
                               QStringLiteral("2,5")}},
        {QStringLiteral("."), {QStringLiteral("1.23457E6"), QStringLiteral("0.000123457"), QStringLiteral("1.23457E-5"),
                               QStringLiteral("2.5")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Separator.toStdString());
        form->Document.DeleteAll();
        UseSeparator(c.Separator);
        AddPoints({{1, 1234567.8}, {2, 0.00012345678}, {3, 0.000012345678}, {4, 2.5}});
        ASSERT_EQ(form->Grid->rowCount(), 5);
        for (int r = 1; r <= 4; ++r) {
            EXPECT_EQ(Cell(r, 0), QString::number(r));
            EXPECT_EQ(Cell(r, 1), QString::number(r));
            EXPECT_EQ(Cell(r, 2), c.Y[static_cast<std::size_t>(r - 1)]);
        }
    }
}

TEST_F(TableWindow, RefreshDropsRowsBeyondThePoints)
{
    AddPoints({{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}});
    ASSERT_EQ(form->Grid->rowCount(), 7);
    form->Document.DeletePoint(5);
    form->Document.DeletePoint(4);
    form->RefreshTable();
    EXPECT_EQ(form->Grid->rowCount(), 5);
    EXPECT_EQ(Cell(0, 1), QStringLiteral("      X"));
}

TEST_F(TableWindow, OnlyANumberTypedIntoAYCellReachesTheData)
{
    UseSeparator(QStringLiteral(","));
    AddPoints({{1, 0.1}, {3, 7}});

    form->Grid->item(1, 2)->setText(QStringLiteral("2,5"));
    EXPECT_EQ(Data().YValue(0), 2.5);

    form->Grid->item(2, 2)->setText(QStringLiteral("2.5"));
    EXPECT_EQ(Data().YValue(1), 7);
    EXPECT_EQ(Cell(2, 2), QStringLiteral("7"));

    form->Grid->item(2, 2)->setText(QStringLiteral("1e999"));
    EXPECT_EQ(Data().YValue(1), 7);

    form->Grid->item(1, 1)->setText(QStringLiteral("9"));
    EXPECT_EQ(Data().XValue(0), 1);
    EXPECT_EQ(Cell(1, 1), QStringLiteral("9"));

    form->Grid->item(1, 2)->setText(QString());
    EXPECT_EQ(Data().YValue(0), 2.5);
}

TEST_F(TableWindow, AnEditInARowWithoutAPointTouchesNothing)
{
    AddPoints({{1, 1}});
    boxes->ConfirmAnswer = true;
    form->btnClearSeiesClick();
    ASSERT_EQ(form->Grid->rowCount(), 6);
    form->GridSetEditText(2, 1, QStringLiteral("5"));
    form->GridSetEditText(2, 3, QStringLiteral("5"));
    EXPECT_EQ(Data().Count(), 0);
}

TEST_F(TableWindow, EnterMovesDownAndWrapsToRowOne)
{
    AddPoints({{1, 1}, {2, 2}, {3, 3}});
    form->Grid->setFocus();
    form->Grid->setCurrentCell(2, 2);
    QTest::keyClick(form->Grid, Qt::Key_Return);
    EXPECT_EQ(form->Grid->currentRow(), 3);
    EXPECT_EQ(form->Grid->currentColumn(), 2);
    QTest::keyClick(form->Grid, Qt::Key_Return);
    EXPECT_EQ(form->Grid->currentRow(), 1);
    EXPECT_EQ(form->Grid->currentColumn(), 2);
}

TEST_F(TableWindow, DeletingAllDataAsksFirst)
{
    AddPoints({{1, 1}, {2, 2}});
    form->Document.SetSelected(1);

    boxes->ConfirmAnswer = false;
    form->miClearSeiesClick();
    EXPECT_EQ(boxes->Calls, std::vector<std::string>{"confirm: Удалить все данные?"});
    EXPECT_EQ(Data().Count(), 2);
    EXPECT_EQ(form->Document.Selected(), 1);
    EXPECT_TRUE(form->btnSaveData->isEnabled());

    boxes->ConfirmAnswer = true;
    form->btnClearSeiesClick();
    EXPECT_EQ(Data().Count(), 0);
    EXPECT_EQ(form->Document.Selected(), -1);
    EXPECT_EQ(form->Grid->rowCount(), 6);
    EXPECT_TRUE(Cell(1, 1).isEmpty());
    EXPECT_TRUE(Cell(2, 0).isEmpty());
    EXPECT_TRUE(form->Grid->isEnabled());
    for (QToolButton* b : {form->btnSeries, form->btnSaveData, form->btnCopy, form->btnClearSeies})
        EXPECT_FALSE(b->isEnabled());
    for (QAction* a : {form->miHideSeies, form->miSaveData, form->miCopy, form->miClearSeies})
        EXPECT_FALSE(a->isEnabled());
}

TEST_F(TableWindow, HidingTheGraphDeactivatesTheSeries)
{
    AddPoints({{1, 1}});
    form->btnSeries->click();
    EXPECT_TRUE(form->btnSeries->isChecked());
    EXPECT_TRUE(form->miHideSeies->isChecked());
    EXPECT_FALSE(Data().Active());
    form->miHideSeies->trigger();
    EXPECT_FALSE(form->btnSeries->isChecked());
    EXPECT_TRUE(Data().Active());
}

} // namespace
