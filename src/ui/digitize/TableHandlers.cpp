// The table of the document's points: rewriting it, Y edits typed into it,
// Enter, and deleting all data. Row 0 is the header and column 0 the row
// number, so row r shows point r - 1.
#include "ui/app/MainUnit.h"

#include "base/NumberText.h"
#include "digitize/TableEdit.h"
#include "ui/plot/PlotChart.h"
#include "ui/plot/PlotSeries.h"

#include <QKeyEvent>
#include <QStyledItemDelegate>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QToolButton>

#include <cmath>
#include <limits>
#include <optional>

namespace quillmark {

namespace {

constexpr int kEmptyTableRows = 6; // the header and five empty rows

// Hands the table's keys to GridKeyDown; a key it sets to 0 is consumed.
class GridKeyHook : public QObject {
public:
    GridKeyHook(QTableWidget* grid, TMainForm& form) : QObject(grid), m_form(form) { grid->installEventFilter(this); }

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        int key = keyEvent->key();
        m_form.GridKeyDown(key, keyEvent->modifiers());
        return key == 0;
    }

private:
    TMainForm& m_form;
};

// Row 0 (the header) and column 0 (the row numbers) are fixed: no editor
// opens there.
class FixedHeaderDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (index.row() == 0 || index.column() == 0)
            return nullptr;
        return QStyledItemDelegate::createEditor(parent, option, index);
    }
};

void SetCellText(QTableWidget* grid, int row, int column, const QString& text)
{
    if (QTableWidgetItem* item = grid->item(row, column))
        item->setText(text);
    else
        grid->setItem(row, column, new QTableWidgetItem(text));
}

} // namespace

void TMainForm::ConnectTableHandlers()
{
    new GridKeyHook(Grid, *this);
    // Program writes go through RefreshTable and SetCellText under a signal
    // blocker, so only the user's edits arrive here.
    connect(Grid, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        GridSetEditText(item->column(), item->row(), item->text());
    });
    Grid->setItemDelegate(new FixedHeaderDelegate(Grid));
}

void TMainForm::SetRowNumber(int row, const QString& text)
{
    QTableWidgetItem* header = Grid->verticalHeaderItem(row);
    if (!header) {
        header = new QTableWidgetItem;
        Grid->setVerticalHeaderItem(row, header);
    }
    header->setText(text);
}

void TMainForm::RefreshTable()
{
    const QSignalBlocker programWrite(Grid);
    const DataPointList& points = Document.Points();
    const int count = static_cast<int>(points.Count());
    Grid->setRowCount(count + 1);
    const std::string separator = DecimalSeparator().toStdString();
    const long double digits = DigitsOption();
    for (int r = 1; r <= count; ++r) {
        SetCellText(Grid, r, 0, QString::fromStdString(IntegerText(r)));
        SetRowNumber(r, QString::fromStdString(IntegerText(r)));
        const DataPoint& point = points[static_cast<std::size_t>(r - 1)];
        SetCellText(Grid, r, 1, QString::fromStdString(TableText(point.X, digits, separator)));
        SetCellText(Grid, r, 2, QString::fromStdString(TableText(point.Y, digits, separator)));
        // A point filled in where the trace found no line is shown in grey.
        for (const int column : {1, 2}) {
            if (QTableWidgetItem* item = Grid->item(r, column))
                item->setForeground(point.Filled ? QBrush(Qt::gray) : QBrush());
        }
    }
}

void TMainForm::GridSetEditText(int aCol, int aRow, const QString& value)
{
    // Rows without a point (the empty rows kept after deleting all data)
    // and the X column never reach the data; a text that is no number puts
    // the Y back.
    const CellEditResult result =
        Document.EditCell(aCol, aRow, value.toStdString(), DecimalSeparator().toStdString());
    if (result.YChanged)
        MarkDataChanged(true);
    if (result.CellText) {
        const QSignalBlocker programWrite(Grid);
        SetCellText(Grid, aRow, 2, QString::fromStdString(*result.CellText));
    }
}

void TMainForm::GridKeyDown(int& key, Qt::KeyboardModifiers /*shift*/)
{
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return;
    const int row = NextTableRow(Grid->currentRow(), Grid->rowCount());
    Grid->setCurrentCell(row, Grid->currentColumn());
    key = 0;
}

void TMainForm::btnClearSeiesClick()
{
    if (Document.Busy())
        return;
    if (!Dialogs().Confirm(windowTitle(), tr("Удалить все данные?")))
        return;
    Document.DeleteAll();
    {
        const QSignalBlocker programWrite(Grid);
        for (int r = 1; r < Grid->rowCount(); ++r) {
            for (int c = 0; c < 3; ++c) {
                if (QTableWidgetItem* item = Grid->item(r, c))
                    item->setText(QString());
            }
        }
        Grid->setRowCount(kEmptyTableRows);
        for (int r = 1; r < kEmptyTableRows; ++r)
            SetRowNumber(r, QString());
    }
    SetDataGroupEnabled(false);
    m_dataUnsaved = false;  // nothing left to save
    // A graph hidden before is shown again: with no data left, a hidden
    // graph would only keep the next trace from showing.
    btnSeries->setChecked(false);
    miHideSeies->setChecked(false);
    srData->SetActive(true);
}

void TMainForm::miClearSeiesClick()
{
    btnClearSeiesClick();
}

} // namespace quillmark
