// Manual entry and editing of the document's points, and the magnifier on
// the page "Оцифровка". The editing rules are operations of the document;
// these handlers turn a click into one and bring the table up to date.
#include "ui/app/MainUnit.h"
#include "ui/Adapt.h"

#include "base/Errors.h"
#include "base/NumberText.h"
#include "calibration/Calibration.h"
#include "digitize/Magnifier.h"
#include "ui/dialogs/OptUnit.h"
#include "digitize/ManualEdit.h"
#include "ui/plot/PlotChart.h"
#include "ui/plot/PlotSeries.h"
#include "ui/widgets/ColorBox.h"
#include "ui/widgets/SpinEdit.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>
#include <optional>

namespace quillmark {

namespace {

constexpr int kMagnifierWidth = 157;
constexpr int kMagnifierHeight = 118;

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
    return static_cast<int>(OptionsForm->spSensitivity->Value());
}

QColor TMainForm::PointColourOption() const
{
    return OptionsForm->cboxPoint->Color();
}

QColor TMainForm::SelectPointColourOption() const
{
    return OptionsForm->cboxSelectPoint->Color();
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
    const DataPoint& point = Document.Points()[static_cast<std::size_t>(index)];
    if (withX)
        SetCellText(Grid, index + 1, 1, QString::fromStdString(TableText(point.X, digits, separator)));
    SetCellText(Grid, index + 1, 2, QString::fromStdString(TableText(point.Y, digits, separator)));
}

EditClick TMainForm::ManualClick(int x, int y, bool manual) const
{
    EditClick click;
    click.At = SurfacePoint{x, y};
    click.Value = Document.ValueAt(ClickPosition(x, y));
    click.Manual = manual;
    click.Sensitivity = SensitivityOption();
    return click;
}

void TMainForm::ApplyManualEdit(const EditResult& result, bool manual)
{
    if (result.Action == EditAction::None)
        return;
    if (result.Action == EditAction::Added || result.Action == EditAction::Moved || result.Action == EditAction::Deleted)
        MarkDataChanged(true);
    switch (result.Action) {
    case EditAction::Added:
        srData->SetActive(true);
        // A point added by a click on the drawn series, when opening a
        // picture has disabled saving since, is still a first manual point.
        if (!DataPresent())
            SetDataGroupEnabled(true);
        RefreshTable();
        break;
    case EditAction::Moved:
        srData->SetActive(true);
        WriteTableRow(static_cast<int>(result.Index), manual);
        break;
    case EditAction::Deleted:
        RefreshTable();
        break;
    case EditAction::None:
    case EditAction::Selected:
    case EditAction::Deselected:
        break;
    }
}

void TMainForm::PlacePoint(int x, int y, bool manual)
{
    SyncSessionPlot();
    const EditColours colours{ToCoreColour(PointColourOption()), ToCoreColour(SelectPointColourOption())};
    const EditResult result = Document.PlacePoint(ManualClick(x, y, manual), colours, DecimalSeparator().toStdString());
    ApplyManualEdit(result, manual);
}

void TMainForm::ChartClickSeries(PlotSeries* series, int /*valueIndex*/, Qt::MouseButton button,
                                 Qt::KeyboardModifiers shift, int x, int y)
{
    // In calibration every left click is a reference click, on a curve or
    // on the region as well (the markers' own clicks come through srAxis).
    if (CalibrationOn()) {
        if (series != srAxis)
            ChartClickBackground(button, shift, x, y);
        return;
    }
    if (series != srData || !ManualMethod())
        return;
    const bool manual = CurrentMethod() == DigitizeMethod::Manual;
    SyncSessionPlot();
    const std::vector<SurfacePoint> drawn = DrawnDataPositions();
    if (button == Qt::LeftButton) {
        if (drawn.empty()) {
            ChartClickBackground(button, shift, x, y);
            return;
        }
        const EditColours colours{ToCoreColour(PointColourOption()), ToCoreColour(SelectPointColourOption())};
        const EditResult result =
            Document.ClickSeries(drawn, ManualClick(x, y, manual), colours, DecimalSeparator().toStdString());
        ApplyManualEdit(result, manual);
    } else if (button == Qt::RightButton) {
        ApplyManualEdit(Document.RightClickSeries(drawn, ManualClick(x, y, manual)), manual);
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
    {
        QPainter p(&m_magnifier);
        PaintMagnifier(p, pointer);
    }
    ShowMagnifier(pointer);
}

void TMainForm::PaintMagnifier(QPainter& p, QPoint pointer) const
{
    // Logical coordinates throughout: on a picture with a pixel ratio above 1
    // the same calls give finer text and lines, and the picture's pixels stay
    // square blocks (no smoothing).
    const int w = kMagnifierWidth;
    const int h = kMagnifierHeight;
    const QRect whole(0, 0, w, h);
    const int factor = MagnifierFactor(ZoomBox->currentIndex());
    // Beyond the picture: the plot's own background.
    p.fillRect(whole, Chart->BackColor());
    const SurfacePosition at = Chart->ToSurface(QPointF(pointer));
    const PicturePlacement place = Chart->Placement();
    const SurfacePosition under = SurfaceToPicture(place, Chart->ShownAt(pointer));
    const QImage& picture = Chart->BackImage();
    if (std::isfinite(under.X) && std::isfinite(under.Y) && std::fabs(under.X) < 1e9L && std::fabs(under.Y) < 1e9L) {
        const MagnifierCells cells = MagnifierLayout(static_cast<long long>(std::floor(under.X)),
                                                     static_cast<long long>(std::floor(under.Y)), factor, w, h);
        const auto blockX = [&](long double column) {
            return static_cast<double>(cells.Left + (column - cells.FirstColumn) * factor);
        };
        const auto blockY = [&](long double row) {
            return static_cast<double>(cells.Top + (row - cells.FirstRow) * factor);
        };
        const QRect cellsRect(static_cast<int>(cells.FirstColumn), static_cast<int>(cells.FirstRow), cells.Columns,
                              cells.Rows);
        const QRect part = cellsRect.intersected(picture.rect());
        if (Chart->BackImageVisible() && !picture.isNull() && !part.isEmpty()) {
            p.setRenderHint(QPainter::SmoothPixmapTransform, false);
            p.drawImage(QRectF(blockX(part.left()), blockY(part.top()), part.width() * factor, part.height() * factor),
                        picture.copy(part));
        }
        // The data points where they lie on the picture.
        if (srData->Active()) {
            for (int i = 0; i < srData->Count(); ++i) {
                const SurfacePosition s{AxisToPixelX(srData->XValue(i), ToPlotRect(Chart->PlotRect()), Document.Limits()),
                                        AxisToPixelY(srData->YValue(i), ToPlotRect(Chart->PlotRect()), Document.Limits())};
                const SurfacePosition u = SurfaceToPicture(place, s);
                const QPointF m(blockX(u.X), blockY(u.Y));
                if (!whole.adjusted(-4, -4, 4, 4).contains(m.toPoint()))
                    continue;
                const QColor colour = srData->PointColor(i).isValid() ? srData->PointColor(i) : srData->SeriesColor();
                p.setPen(QPen(colour, 0));
                p.setBrush(colour);
                p.drawEllipse(m, 2.5, 2.5);
            }
            p.setBrush(Qt::NoBrush);
        }
    }

    const std::string separator = DecimalSeparator().toStdString();
    const AxisPoint pointed = PixelToAxis(at, ToPlotRect(Chart->PlotRect()), Document.Limits());
    p.fillRect(QRect(0, 0, 50, 25), Qt::white);
    p.setFont(QFont(QStringLiteral("Aral"), 7));
    p.setPen(Qt::black);
    const auto readout = [&](const char* name, long double value, int top) {
        const QString text =
            QString::fromLatin1(name) + QString::fromStdString(GeneralText(value, 4, separator)) + QLatin1Char(' ');
        p.drawText(QRect(1, top, w - 1, h - top), Qt::AlignLeft | Qt::AlignTop, text);
    };
    readout("X=", pointed.X, 0);
    readout("Y=", pointed.Y, 12);

    const int cx = w / 2;
    const int cy = h / 2;
    HorizontalLine(p, w / 4, 3 * (w / 4), cy, Qt::black);
    VerticalLine(p, cx, h / 4, 3 * (h / 4), Qt::black);
    HorizontalLine(p, cx - 2, cx + 3, cy, Qt::white);
    VerticalLine(p, cx, cy - 2, cy + 3, Qt::white);
}

void TMainForm::ShowMagnifier(QPoint pointer)
{
    const qreal ratio = Image->devicePixelRatioF();
    if (ratio == 1.0) {
        m_magnifierDisplay = QImage();
        Image->setPixmap(QPixmap::fromImage(m_magnifier));
        return;
    }
    const QSize size(static_cast<int>(std::ceil(kMagnifierWidth * ratio)),
                     static_cast<int>(std::ceil(kMagnifierHeight * ratio)));
    if (m_magnifierDisplay.size() != size || m_magnifierDisplay.devicePixelRatio() != ratio) {
        m_magnifierDisplay = QImage(size, QImage::Format_RGB32);
        m_magnifierDisplay.setDevicePixelRatio(ratio);
    }
    {
        QPainter p(&m_magnifierDisplay);
        PaintMagnifier(p, pointer);
    }
    Image->setPixmap(QPixmap::fromImage(m_magnifierDisplay));
}

} // namespace quillmark
