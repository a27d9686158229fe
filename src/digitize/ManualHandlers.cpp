// Manual entry and editing on srData, and the magnifier on the page
// "Оцифровка". The editing rules live in core (ManualEdit); these handlers
// copy srData into a point list, run one rule, and write the change back to
// the series and the table.
#include "app/MainUnit.h"

#include "base/Errors.h"
#include "base/NumberText.h"
#include "calibration/Calibration.h"
#include "digitize/Magnifier.h"
#include "digitize/ManualEdit.h"
#include "digitize/NearestPoint.h"
#include "plot/PlotChart.h"
#include "plot/PlotSeries.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <optional>

namespace quillmark {

namespace {

constexpr int kMagnifierWidth = 157;
constexpr int kMagnifierHeight = 118;

Color ToCoreColour(const QColor& colour)
{
    return Color{static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
                 static_cast<std::uint8_t>(colour.blue())};
}

std::optional<Color> ToCoreColourOrNone(const QColor& colour)
{
    if (!colour.isValid())
        return std::nullopt;
    return ToCoreColour(colour);
}

QColor ToQColor(const std::optional<Color>& colour)
{
    if (!colour)
        return {};
    return QColor(colour->Red, colour->Green, colour->Blue);
}

DataPointList ListFromSeries(const PlotSeries& series)
{
    std::vector<DataPoint> points;
    points.reserve(static_cast<std::size_t>(series.Count()));
    for (int i = 0; i < series.Count(); ++i) {
        points.push_back(DataPoint{series.XValue(i), series.YValue(i), series.Label(i).toStdString(),
                                   ToCoreColourOrNone(series.PointColor(i))});
    }
    DataPointList list(series.XOrderAscending());
    list.Replace(std::move(points));
    return list;
}

// Brings the series in line with the list after one editing rule: the one
// point added or deleted, then every value and colour that differs.
void WriteBack(PlotSeries& series, const DataPointList& list, const EditResult& result)
{
    if (result.Action == EditAction::Added) {
        const DataPoint& added = list[result.Index];
        const int at = series.Add(added.X, added.Y, QString::fromStdString(added.Label), ToQColor(added.Colour));
        if (at != static_cast<int>(result.Index))
            throw InternalError("series and point list disagree on the place of a new point");
    } else if (result.Action == EditAction::Deleted) {
        series.Delete(static_cast<int>(result.Index));
    }
    if (static_cast<std::size_t>(series.Count()) != list.Count())
        throw InternalError("series and point list disagree on the number of points");
    for (int i = 0; i < series.Count(); ++i) {
        const DataPoint& point = list[static_cast<std::size_t>(i)];
        if (series.XValue(i) != point.X)
            series.SetXValue(i, point.X);
        if (series.YValue(i) != point.Y)
            series.SetYValue(i, point.Y);
        const QColor colour = ToQColor(point.Colour);
        if (series.PointColor(i) != colour)
            series.SetPointColor(i, colour);
    }
}

void SetCellText(QTableWidget* grid, int row, int column, const QString& text)
{
    if (QTableWidgetItem* item = grid->item(row, column))
        item->setText(text);
    else
        grid->setItem(row, column, new QTableWidgetItem(text));
}

// A line from (x0, y) or (x, y0) up to but not including its end pixel.
void HorizontalLine(QPainter& p, int x0, int x1, int y, const QColor& colour)
{
    if (x1 > x0)
        p.fillRect(QRect(x0, y, x1 - x0, 1), colour);
}

void VerticalLine(QPainter& p, int x, int y0, int y1, const QColor& colour)
{
    if (y1 > y0)
        p.fillRect(QRect(x, y0, 1, y1 - y0), colour);
}

} // namespace

void TMainForm::ConnectManualHandlers()
{
    Image = new QLabel(tabDigit);
    Image->setFixedSize(kMagnifierWidth, kMagnifierHeight);
    m_magnifier = QImage(kMagnifierWidth, kMagnifierHeight, QImage::Format_RGB32);
    m_magnifier.fill(Qt::white);
    Image->setPixmap(QPixmap::fromImage(m_magnifier));
    if (auto* layout = qobject_cast<QVBoxLayout*>(tabDigit->layout())) {
        const int zoomAt = layout->indexOf(ZoomBox);
        layout->insertWidget(zoomAt + 1, Image, 0, Qt::AlignHCenter);
    }
}

int TMainForm::SensitivityOption() const
{
    return 1;
}

QColor TMainForm::PointColourOption() const
{
    return QColor(0, 0, 255);
}

QColor TMainForm::SelectPointColourOption() const
{
    return QColor(255, 0, 0);
}

long double TMainForm::ExportDigitsOption() const
{
    return DigitsOption();
}

std::vector<SurfacePoint> TMainForm::DrawnDataPositions() const
{
    std::vector<SurfacePoint> drawn;
    const int last = srData->LastDrawnIndex();
    drawn.reserve(static_cast<std::size_t>(last + 1));
    for (int i = 0; i <= last; ++i)
        drawn.push_back(SurfacePoint{srData->CalcXPos(i), srData->CalcYPos(i)});
    return drawn;
}

void TMainForm::WriteTableRow(int index, bool withX)
{
    const QSignalBlocker programWrite(Grid);
    const std::string separator = DecimalSeparator().toStdString();
    const long double digits = DigitsOption();
    if (Grid->rowCount() < index + 2)
        Grid->setRowCount(index + 2);
    if (withX)
        SetCellText(Grid, index + 1, 1, QString::fromStdString(TableText(srData->XValue(index), digits, separator)));
    SetCellText(Grid, index + 1, 2, QString::fromStdString(TableText(srData->YValue(index), digits, separator)));
}

void TMainForm::PlacePoint(int x, int y, bool manual)
{
    EditClick click;
    click.At = SurfacePoint{x, y};
    click.Value = AxisPoint{srData->XScreenToValue(x), srData->YScreenToValue(y)};
    click.Manual = manual;
    click.Sensitivity = SensitivityOption();
    const EditColours colours{ToCoreColour(PointColourOption()), ToCoreColour(SelectPointColourOption())};

    DataPointList points = ListFromSeries(*srData);
    const EditResult result =
        quillmark::PlacePoint(points, SelectedIndex, click, colours, DecimalSeparator().toStdString());
    if (result.Action == EditAction::None)
        return;
    WriteBack(*srData, points, result);
    srData->SetActive(true);
    if (result.Action == EditAction::Added) {
        // A point added by a click on the drawn series, when opening a
        // picture has disabled saving since, is still a first manual point.
        if (!DataPresent())
            SetDataGroupEnabled(true);
        RefreshTable();
    } else {
        WriteTableRow(static_cast<int>(result.Index), manual);
    }
}

void TMainForm::ChartClickSeries(PlotSeries* series, int /*valueIndex*/, Qt::MouseButton button,
                                 Qt::KeyboardModifiers shift, int x, int y)
{
    if (series != srData || CalibrationOn() || !ManualMethod())
        return;
    const bool manual = CurrentMethod() == DigitizeMethod::Manual;
    const std::vector<SurfacePoint> drawn = DrawnDataPositions();

    if (button == Qt::LeftButton) {
        if (drawn.empty()) {
            ChartClickBackground(button, shift, x, y);
            return;
        }
        const int nearest = NearestPoint(drawn, SurfacePoint{x, y});
        if (!InSelectionSquare(drawn[static_cast<std::size_t>(nearest)], SurfacePoint{x, y}, SensitivityOption())) {
            PlacePoint(x, y, manual);
            return;
        }
        EditClick click;
        click.At = SurfacePoint{x, y};
        click.Value = AxisPoint{srData->XScreenToValue(x), srData->YScreenToValue(y)};
        click.Manual = manual;
        click.Sensitivity = SensitivityOption();
        const EditColours colours{ToCoreColour(PointColourOption()), ToCoreColour(SelectPointColourOption())};
        DataPointList points = ListFromSeries(*srData);
        const EditResult result = quillmark::ClickSeries(points, SelectedIndex, drawn, click, colours,
                                                         DecimalSeparator().toStdString());
        WriteBack(*srData, points, result);
        return;
    }

    if (button == Qt::RightButton && manual && SelectedIndex >= 0) {
        EditClick click;
        click.At = SurfacePoint{x, y};
        click.Manual = manual;
        click.Sensitivity = SensitivityOption();
        DataPointList points = ListFromSeries(*srData);
        const EditResult result = RightClickSeries(points, SelectedIndex, drawn, click);
        if (result.Action != EditAction::Deleted)
            return;
        WriteBack(*srData, points, result);
        RefreshTable();
    }
}

void TMainForm::TimerTimer()
{
    const QPoint pointer = Chart->PointerPosition();
    if (Chart->PlotRect().contains(pointer) && isActiveWindow())
        RefreshMagnifier(pointer);
    QApplication::processEvents();
}

void TMainForm::RefreshMagnifier(QPoint pointer)
{
    const int w = m_magnifier.width();
    const int h = m_magnifier.height();
    const MagnifierReach reach = MagnifierSourceReach(ZoomBox->currentIndex(), w, h);
    {
        QPainter p(&m_magnifier);
        // Parts of the source beyond the surface stay white.
        p.fillRect(m_magnifier.rect(), Qt::white);
        Chart->CopyRectTo(p, m_magnifier.rect(),
                          QRect(pointer.x() - reach.X, pointer.y() - reach.Y, 2 * reach.X, 2 * reach.Y));

        const std::string separator = DecimalSeparator().toStdString();
        const long double x = srData->XScreenToValue(pointer.x());
        const long double y = srData->YScreenToValue(pointer.y());
        p.fillRect(QRect(0, 0, 50, 25), Qt::white);
        p.setFont(QFont(QStringLiteral("Aral"), 7));
        p.setPen(Qt::black);
        const auto readout = [&](const char* name, long double value, int top) {
            const QString text = QString::fromLatin1(name) + QString::fromStdString(GeneralText(value, 4, separator)) +
                                 QLatin1Char(' ');
            p.drawText(QRect(1, top, w - 1, h - top), Qt::AlignLeft | Qt::AlignTop, text);
        };
        readout("X=", x, 0);
        readout("Y=", y, 12);

        const int cx = w / 2;
        const int cy = h / 2;
        HorizontalLine(p, w / 4, 3 * (w / 4), cy, Qt::black);
        VerticalLine(p, cx, h / 4, 3 * (h / 4), Qt::black);
        HorizontalLine(p, cx - 2, cx + 3, cy, Qt::white);
        VerticalLine(p, cx, cy - 2, cy + 3, Qt::white);
    }
    Image->setPixmap(QPixmap::fromImage(m_magnifier));
}

} // namespace quillmark
