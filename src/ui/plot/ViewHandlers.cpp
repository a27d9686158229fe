// The view over the plot: the zoom commands and their keys, the zoom in the
// status bar, the view each picture keeps, and the arrow keys' step.
#include "ui/app/MainUnit.h"

#include "calibration/PlotView.h"
#include "ui/plot/PlotChart.h"

#include <QAction>
#include <QCursor>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace quillmark {

void TMainForm::ConnectViewHandlers()
{
    connect(miZoomIn, &QAction::triggered, this, &TMainForm::miZoomInClick);
    connect(miZoomOut, &QAction::triggered, this, &TMainForm::miZoomOutClick);
    connect(miZoomReset, &QAction::triggered, this, &TMainForm::miZoomResetClick);
    connect(Chart, &PlotChart::ViewChanged, this, &TMainForm::ShowZoom);
}

void TMainForm::miZoomInClick()
{
    Chart->ZoomCentre(PlotView::kStep);
}

void TMainForm::miZoomOutClick()
{
    Chart->ZoomCentre(1 / PlotView::kStep);
}

void TMainForm::miZoomResetClick()
{
    Chart->ResetView();
}

void TMainForm::ShowZoom()
{
    if (!PictureOpen()) {
        SetStatusText(3, QString());
        return;
    }
    const long double percent = Chart->PictureScale() * 100;
    // Below one per cent a tenth is still worth showing.
    const QString text = percent < 1 ? QString::number(static_cast<double>(percent), 'f', 1)
                                     : QString::number(static_cast<double>(std::nearbyint(percent)), 'f', 0);
    SetStatusText(3, QLatin1Char(' ') + text + QStringLiteral(" %"));
}

void TMainForm::KeepPictureView()
{
    if (m_viewPicture.isEmpty())
        return;
    const PlotView& view = Chart->View();
    m_views[m_viewPicture] = KeptView{view.Zoom(), view.PanX(), view.PanY()};
}

void TMainForm::RestorePictureView(const QString& path)
{
    m_viewPicture = QFileInfo(path).absoluteFilePath();
    const auto kept = m_views.find(m_viewPicture);
    if (kept == m_views.end())
        Chart->ResetView();
    else
        Chart->SetView(kept->second.Zoom, kept->second.PanX, kept->second.PanY);
    ShowZoom();
}

QPoint TMainForm::ArrowStep(QPoint direction) const
{
    const PicturePlacement place = Chart->Placement();
    const long double zoom = Chart->View().Zoom();
    const long double across = direction.x() != 0 ? place.ScaleX * zoom : place.ScaleY * zoom;
    if (!(across > 1))
        return direction;
    // From the middle of the picture pixel under the pointer to the middle
    // of its neighbour.
    const QPoint pointer = Chart->PointerPosition();
    const SurfacePosition under = SurfaceToPicture(place, Chart->ShownAt(pointer));
    const SurfacePosition next{std::floor(under.X) + 0.5L + direction.x(), std::floor(under.Y) + 0.5L + direction.y()};
    const QPointF to = Chart->ToScreen(PictureToSurface(place, next));
    if (!std::isfinite(to.x()) || !std::isfinite(to.y()))
        return direction;
    QPoint step(direction.x() != 0 ? static_cast<int>(std::floor(to.x())) - pointer.x() : 0,
                direction.y() != 0 ? static_cast<int>(std::floor(to.y())) - pointer.y() : 0);
    // Never stand still or turn back, whatever the rounding.
    if (step.x() * direction.x() <= 0 && step.y() * direction.y() <= 0)
        return direction;
    return step;
}

} // namespace quillmark
