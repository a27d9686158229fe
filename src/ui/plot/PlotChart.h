#pragma once
// The plot surface: axes, grid, labels, background picture and the three
// series, drawn with QPainter into an off-screen image so a pixel can be read
// back and a rectangle copied. Coordinates are surface pixels, origin top-left.
// The plot rectangle depends only on the widget's size and font, never on the
// axis values, so a calibration made on it stays valid while labels change.
#include "calibration/PlotView.h"
#include "ui/plot/PlotAxis.h"
#include "ui/plot/PlotSeries.h"

#include <QImage>
#include <QPen>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QScrollBar;

namespace quillmark {

enum class BackImageMode { Stretch, Centre };
enum class PenMode { Copy, Invert };

class PlotChart : public QWidget {
    Q_OBJECT
public:
    explicit PlotChart(QWidget* parent = nullptr);
    ~PlotChart() override;

    // The three series, drawn over the picture in this order. srData: line,
    // red, markers hidden, X ascending. srAxis: round markers, no line.
    // srRegion: rectangle shape in inverting mode, inactive, not clickable.
    PlotSeries* DataSeries() { return m_data.get(); }
    PlotSeries* AxisSeries() { return m_axis.get(); }
    PlotSeries* RegionSeries() { return m_region.get(); }

    PlotAxis& BottomAxis() { return m_bottomAxis; }
    PlotAxis& LeftAxis() { return m_leftAxis; }
    const PlotAxis& BottomAxis() const { return m_bottomAxis; }
    const PlotAxis& LeftAxis() const { return m_leftAxis; }

    // The plot rectangle: the bottom axis maps min .. max onto L .. L + W, the
    // left axis onto T + H .. T.
    QRect PlotRect() const;
    int PlotLeft() const { return PlotRect().left(); }
    int PlotTop() const { return PlotRect().top(); }
    int PlotWidth() const { return PlotRect().width(); }
    int PlotHeight() const { return PlotRect().height(); }

    // Axis value to screen pixel and back, in long double, pixels rounded to
    // the nearest with halves to even and held within the 32-bit range. These
    // are the calibration's own conversions through the view, so at zoom 1 the
    // window and the batch commands agree to the pixel.
    int BottomPixel(long double x) const;
    int LeftPixel(long double y) const;
    long double BottomValue(int px) const;
    long double LeftValue(int py) const;
    // The rectangle of corners (x0, y0) and (x1, y1) in axis values: left and
    // top from corner 0, right and bottom from corner 1, not re-ordered.
    SurfaceRect RegionPixels(long double x0, long double y0, long double x1, long double y1) const;

    // ---- The view: zoom and pan over the plot ---------------------------
    // Screen positions (what mouse events report) and surface positions
    // (where the calibration lives, as drawn at zoom 1) are the same at zoom 1.
    const PlotView& View() const;
    SurfacePosition ToSurface(QPointF screen) const;
    QPointF ToScreen(SurfacePosition surface) const;
    // What a screen pixel shows: the surface position of its middle, where
    // the drawing samples the picture (a click takes the pixel's corner).
    SurfacePosition ShownAt(QPoint screenPixel) const;
    // Where the background picture lies on the surface.
    PicturePlacement Placement() const;
    // Zooms by factor about a screen position (it keeps its place).
    void ZoomAbout(QPointF screen, long double factor);
    // About the plot rectangle's centre.
    void ZoomCentre(long double factor);
    void PanBy(QPointF drag);
    void ResetView();
    // A view kept for a picture: its zoom and pan, re-held in bounds.
    void SetView(long double zoom, long double panX, long double panY);
    // Screen pixels per picture pixel now (the larger direction).
    long double PictureScale() const;

    // The title lines; the first is drawn. A new chart holds one empty line.
    QStringList TitleLines() const { return m_title; }
    void SetTitleLines(const QStringList& lines);

    // The background picture, owned here: the program sizes it, draws on it
    // and then calls Redraw(). Resizing keeps the top-left content and fills
    // new pixels with the back colour. It is drawn inside the plot rectangle
    // only, stretched to it or centred at its own size and cut at its edges.
    // Its pixels are blue-green-red bytes, as the picture buffers' are, so a
    // scan costs three bytes a pixel here rather than four.
    QImage& BackImage() { return m_backImage; }
    const QImage& BackImage() const { return m_backImage; }
    void SetBackImageSize(int width, int height);
    BackImageMode BackMode() const { return m_backMode; }
    void SetBackMode(BackImageMode mode);
    bool BackImageVisible() const { return m_backVisible; }
    void SetBackImageVisible(bool on);
    // The colour of the plot rectangle behind the picture.
    QColor BackColor() const { return m_backColor; }
    void SetBackColor(const QColor& color);

    // Separators of the axis labels; the locale's at construction.
    QString DecimalSeparator() const { return m_decimalSeparator; }
    QString GroupSeparator() const { return m_groupSeparator; }
    void SetSeparators(const QString& decimalSeparator, const QString& groupSeparator);

    // Marks the surface for a redraw at the next paint or surface read.
    void Redraw();
    // Redraws the surface and paints the widget now.
    void RepaintNow();

    // Surface access; each first brings a stale surface up to date.
    QColor PixelColor(int x, int y) const;
    const QImage& Surface() const;
    void CopyRectTo(QPainter& target, const QRect& targetRect, const QRect& sourceRect) const;
    // Draws straight onto the surface without a redraw; what is drawn lasts
    // until the next redraw. Antialiasing is off, so Invert mode drawn twice
    // restores every pixel.
    void DrawDirect(const std::function<void(QPainter&)>& draw);
    // An outline from corner (x0, y0) to (x1, y1) drawn directly, any order.
    void DrawRectDirect(int x0, int y0, int x1, int y1, const QPen& pen, PenMode mode);
    static void SetPenMode(QPainter& painter, PenMode mode);

    // The pointer position in surface pixels, and the pointer shown while it
    // rests over the plot.
    QPoint PointerPosition() const;
    Qt::CursorShape RestingCursor() const { return m_restingCursor; }
    void SetRestingCursor(Qt::CursorShape shape);

    // The buttons held during the mouse event being reported.
    Qt::MouseButtons ButtonsDown() const { return m_buttonsDown; }

    // A press and release at (x, y) as if the user clicked there: MouseDown,
    // the click dispatch, MouseUp. The keyboard uses it to click for the user.
    void ClickAt(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

    // The topmost clickable, active series hit at (x, y), or null.
    PlotSeries* HitSeries(int x, int y, int* valueIndex) const;

    QSize sizeHint() const override;

signals:
    // Raw mouse events, surface pixels. After every press exactly one of
    // ClickSeries (after the hit series' own Clicked) or ClickBackground follows.
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void MouseMove(Qt::KeyboardModifiers shift, int x, int y);
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void DblClick();
    // The zoom or the pan changed.
    void ViewChanged();
    void ClickSeries(quillmark::PlotSeries* series, int valueIndex, Qt::MouseButton button,
                     Qt::KeyboardModifiers shift, int x, int y);
    void ClickBackground(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void Press(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    // A middle press, or a left press with Ctrl, pans instead of clicking.
    bool StartsPan(const QMouseEvent* event);
    void SyncView() const;
    void AfterViewChange();
    void PlaceScrollBars();
    void DrawPicture(QPainter& p, const QRect& r) const;
    // The picture halved level times with area averaging; level 0 is the
    // picture itself. Built when first drawn smaller, kept until it changes.
    const QImage& PictureLevel(int level) const;    void EnsureRendered() const;
    void Render(QImage& surface) const;
    void DrawBottomAxis(QPainter& p) const;
    void DrawLeftAxis(QPainter& p) const;
    void DrawSeries(QPainter& p, const PlotSeries& series) const;
    long double GridIncrement(double minimum, double maximum, double increment, int pixels, int labelExtent) const;
    int LeftLabelWidth() const;
    // Fractional surface pixels, before rounding.
    long double BottomPosition(long double x) const;
    long double LeftPosition(long double y) const;

    PlotAxis m_bottomAxis;
    PlotAxis m_leftAxis;
    std::unique_ptr<PlotSeries> m_data;
    std::unique_ptr<PlotSeries> m_axis;
    std::unique_ptr<PlotSeries> m_region;
    QStringList m_title{QString()};
    QImage m_backImage;
    BackImageMode m_backMode = BackImageMode::Stretch;
    bool m_backVisible = true;
    QColor m_backColor = QColor(255, 255, 255);
    QString m_decimalSeparator;
    QString m_groupSeparator;
    Qt::CursorShape m_restingCursor = Qt::ArrowCursor;
    Qt::MouseButtons m_buttonsDown;
    // The plot rectangle for the size it was computed at; a font change
    // clears it.
    mutable QSize m_layoutSize;
    mutable QRect m_layoutRect;
    mutable bool m_layoutValid = false;
    // The surface is a cache of what Render draws, refreshed lazily.
    mutable QImage m_surface;
    // On a scaled screen the same drawing again at the screen's resolution,
    // for display only: every read, copy and coordinate stays on m_surface,
    // in the plot's own pixels. Null at scale 1.
    mutable QImage m_display;
    mutable bool m_dirty = true;
    mutable PlotView m_view;
    Qt::MouseButton m_panButton = Qt::NoButton;
    QPointF m_panFrom;
    QScrollBar* m_hScroll = nullptr;
    QScrollBar* m_vScroll = nullptr;
    mutable std::vector<QImage> m_levels;
    mutable qint64 m_levelsKey = 0;
};

} // namespace quillmark
