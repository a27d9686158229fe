#pragma once
// The view over the plot: how far the user has zoomed and panned. The
// calibration lives on the plot surface as drawn at zoom 1 (surface
// positions); the view only changes where that surface appears on the
// screen, so no value, limit or trace depends on it:
//     screen = Left + (surface - Left) * Zoom - PanX      (and so for Y)
// with Left and Top the plot rectangle's corner. Zoom 1 with no pan is the
// plot exactly as drawn without a view. All arithmetic is long double.
#include "calibration/PlotGeometry.h"

namespace quillmark {

// Where the picture lies on the surface at zoom 1: its pixel (u, v) covers
// Left + u * ScaleX .. Left + (u + 1) * ScaleX, and so for rows.
struct PicturePlacement {
    long double Left = 0.0L;
    long double Top = 0.0L;
    long double ScaleX = 1.0L;   // surface pixels per picture pixel
    long double ScaleY = 1.0L;
};

// Fitted: stretched over the rectangle; otherwise centred at its own size,
// the offset halved with truncation (cut at the edges when larger).
PicturePlacement PlacePicture(const PlotRect& rect, PictureSize picture, bool fitted);
SurfacePosition PictureToSurface(const PicturePlacement& placement, SurfacePosition picture);
SurfacePosition SurfaceToPicture(const PicturePlacement& placement, SurfacePosition surface);

// One scroll bar: the content's length, the visible length (the page) and
// where the page starts, in screen pixels from the content's start.
struct ScrollState {
    long double Content = 0.0L;
    long double Page = 0.0L;
    long double Position = 0.0L;
    bool Needed() const { return Content > Page; }
};

class PlotView {
public:
    static constexpr long double kMinZoom = 1.0L / 16.0L;
    // The closest view: this many screen pixels per picture pixel.
    static constexpr long double kMaxPictureScale = 32.0L;
    // One notch of the wheel, and one step of the zoom keys.
    static constexpr long double kStep = 1.25L;

    const PlotRect& Rect() const { return m_rect; }
    // A new rectangle (the window was resized) keeps the zoom; the pan is
    // held inside its bounds.
    void SetRect(const PlotRect& rect);
    // Screen pixels per picture pixel at zoom 1 (the larger of the two
    // directions); it sets the largest zoom. 1 without a picture.
    void SetPictureScale(long double scale);
    long double PictureScale() const { return m_pictureScale; }
    long double MaxZoom() const;

    long double Zoom() const { return m_zoom; }
    long double PanX() const { return m_panX; }
    long double PanY() const { return m_panY; }
    bool IsIdentity() const { return m_zoom == 1.0L && m_panX == 0.0L && m_panY == 0.0L; }

    SurfacePosition ToScreen(SurfacePosition surface) const;
    SurfacePosition ToSurface(SurfacePosition screen) const;
    long double ScreenX(long double surfaceX) const;
    long double ScreenY(long double surfaceY) const;

    // Zooms by factor about a screen position, which keeps its place unless
    // the zoom or the pan reaches its bound. Returns whether anything changed.
    bool ZoomAbout(SurfacePosition screen, long double factor);
    // Moves the picture with a drag of (dx, dy) screen pixels.
    bool PanBy(long double dx, long double dy);
    // The pan as the scroll bars set it.
    bool SetPan(long double x, long double y);
    // Zoom 1, no pan.
    bool Reset();

    ScrollState HorizontalScroll() const;
    ScrollState VerticalScroll() const;

private:
    // The pan is held so that, zoomed in, the plot fills the rectangle, and,
    // zoomed out, it stays inside it.
    void Clamp();

    PlotRect m_rect;
    long double m_pictureScale = 1.0L;
    long double m_zoom = 1.0L;
    long double m_panX = 0.0L;
    long double m_panY = 0.0L;
};

} // namespace quillmark
