#include "calibration/PlotView.h"

#include <algorithm>
#include <cmath>

namespace quillmark {

namespace {

long double ClampPan(long double pan, long double length, long double zoom)
{
    const long double spare = length * zoom - length;
    const long double low = std::min(0.0L, spare);
    const long double high = std::max(0.0L, spare);
    if (!std::isfinite(pan))
        return 0.0L;
    return std::clamp(pan, low, high);
}

} // namespace

PicturePlacement PlacePicture(const PlotRect& rect, PictureSize picture, bool fitted)
{
    PicturePlacement place;
    if (fitted) {
        place.Left = rect.Left;
        place.Top = rect.Top;
        if (picture.Width > 0)
            place.ScaleX = static_cast<long double>(rect.Width) / picture.Width;
        if (picture.Height > 0)
            place.ScaleY = static_cast<long double>(rect.Height) / picture.Height;
    } else {
        // The same truncated halving the drawing and the trace use.
        place.Left = rect.Left + (static_cast<std::int64_t>(rect.Width) - picture.Width) / 2;
        place.Top = rect.Top + (static_cast<std::int64_t>(rect.Height) - picture.Height) / 2;
    }
    return place;
}

SurfacePosition PictureToSurface(const PicturePlacement& placement, SurfacePosition picture)
{
    return {placement.Left + picture.X * placement.ScaleX, placement.Top + picture.Y * placement.ScaleY};
}

SurfacePosition SurfaceToPicture(const PicturePlacement& placement, SurfacePosition surface)
{
    return {(surface.X - placement.Left) / placement.ScaleX, (surface.Y - placement.Top) / placement.ScaleY};
}

void PlotView::SetRect(const PlotRect& rect)
{
    m_rect = rect;
    Clamp();
}

void PlotView::SetPictureScale(long double scale)
{
    m_pictureScale = std::isfinite(scale) && scale > 0 ? scale : 1.0L;
    if (m_zoom > MaxZoom()) {
        m_zoom = MaxZoom();
        Clamp();
    }
}

long double PlotView::MaxZoom() const
{
    // A picture already drawn larger than the closest view can still be
    // seen at zoom 1.
    return std::max(1.0L, kMaxPictureScale / m_pictureScale);
}

long double PlotView::ScreenX(long double surfaceX) const
{
    return m_rect.Left + (surfaceX - m_rect.Left) * m_zoom - m_panX;
}

long double PlotView::ScreenY(long double surfaceY) const
{
    return m_rect.Top + (surfaceY - m_rect.Top) * m_zoom - m_panY;
}

SurfacePosition PlotView::ToScreen(SurfacePosition surface) const
{
    return {ScreenX(surface.X), ScreenY(surface.Y)};
}

SurfacePosition PlotView::ToSurface(SurfacePosition screen) const
{
    return {m_rect.Left + (screen.X - m_rect.Left + m_panX) / m_zoom,
            m_rect.Top + (screen.Y - m_rect.Top + m_panY) / m_zoom};
}

bool PlotView::ZoomAbout(SurfacePosition screen, long double factor)
{
    if (!std::isfinite(factor) || factor <= 0)
        return false;
    const long double zoom = std::clamp(m_zoom * factor, kMinZoom, MaxZoom());
    if (zoom == m_zoom)
        return false;
    const SurfacePosition fixed = ToSurface(screen);
    m_zoom = zoom;
    m_panX = (fixed.X - m_rect.Left) * zoom - (screen.X - m_rect.Left);
    m_panY = (fixed.Y - m_rect.Top) * zoom - (screen.Y - m_rect.Top);
    Clamp();
    return true;
}

bool PlotView::PanBy(long double dx, long double dy)
{
    return SetPan(m_panX - dx, m_panY - dy);
}

bool PlotView::SetPan(long double x, long double y)
{
    const long double oldX = m_panX;
    const long double oldY = m_panY;
    m_panX = x;
    m_panY = y;
    Clamp();
    return m_panX != oldX || m_panY != oldY;
}

bool PlotView::Reset()
{
    if (IsIdentity())
        return false;
    m_zoom = 1.0L;
    m_panX = 0.0L;
    m_panY = 0.0L;
    return true;
}

void PlotView::Clamp()
{
    m_panX = ClampPan(m_panX, m_rect.Width, m_zoom);
    m_panY = ClampPan(m_panY, m_rect.Height, m_zoom);
}

ScrollState PlotView::HorizontalScroll() const
{
    return {m_rect.Width * m_zoom, static_cast<long double>(m_rect.Width), m_panX};
}

ScrollState PlotView::VerticalScroll() const
{
    return {m_rect.Height * m_zoom, static_cast<long double>(m_rect.Height), m_panY};
}

} // namespace quillmark
