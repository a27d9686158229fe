#include "ui/plot/PlotChart.h"

#include "base/Errors.h"
#include "base/Rounding.h"
#include "calibration/Calibration.h"
#include "calibration/RegionMaths.h"

#include <QCursor>
#include <QLocale>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace quillmark {

namespace {

constexpr int kTickLength = 4;
constexpr int kMinorTickLength = 2;
constexpr int kLabelGap = 2;
// Line ends beyond this distance keep their fraction, so that clipping keeps
// each line's direction.
constexpr long double kPixelLimit = 1073741824.0L; // 2^30
// More grid lines than one per two pixels only darken the plot.
constexpr int kPixelsPerGridLine = 2;

// The rectangle with the two corners, whatever their order. QRect's own
// normalized() shifts a reversed rectangle by one pixel.
QRect CornerRect(int x0, int y0, int x1, int y1)
{
    return QRect(QPoint(std::min(x0, x1), std::min(y0, y1)), QPoint(std::max(x0, x1), std::max(y0, y1)));
}

// Clips the segment a-b to the box; false when nothing is left. Each end
// outside is moved onto the box edge it crosses, with the edge coordinate set
// exactly and the other one interpolated, so a line to a point far off the
// surface keeps its place and direction where it crosses the plot.
bool ClipSegment(long double& ax, long double& ay, long double& bx, long double& by, const QRect& box)
{
    const long double left = box.left();
    const long double right = box.right();
    const long double top = box.top();
    const long double bottom = box.bottom();
    auto outcode = [&](long double x, long double y) {
        int code = 0;
        if (x < left)
            code |= 1;
        else if (x > right)
            code |= 2;
        if (y < top)
            code |= 4;
        else if (y > bottom)
            code |= 8;
        return code;
    };
    for (int round = 0; round < 8; ++round) {
        const int codeA = outcode(ax, ay);
        const int codeB = outcode(bx, by);
        if ((codeA | codeB) == 0)
            return true;
        if ((codeA & codeB) != 0)
            return false;
        const bool moveA = codeA != 0;
        long double& px = moveA ? ax : bx;
        long double& py = moveA ? ay : by;
        const long double qx = moveA ? bx : ax;
        const long double qy = moveA ? by : ay;
        const int code = moveA ? codeA : codeB;
        if ((code & (4 | 8)) != 0) {
            const long double edge = (code & 4) != 0 ? top : bottom;
            px = qx + (px - qx) * (edge - qy) / (py - qy);
            py = edge;
        } else {
            const long double edge = (code & 1) != 0 ? left : right;
            py = qy + (py - qy) * (edge - qx) / (px - qx);
            px = edge;
        }
    }
    return outcode(ax, ay) == 0 && outcode(bx, by) == 0;
}

struct Ticks {
    std::vector<long double> Major;
    std::vector<long double> Minor;
};

// The part of an axis the view shows: its whole range at zoom 1.
struct ShownAxis {
    double Minimum = 0;
    double Maximum = 1;
    AxisKind Kind;
    int MinorTickCount = 4;
    double Increment = 0;   // 0: chosen to fit the labels
};

// Grid values at whole multiples of the increment inside min .. max, and the
// minor ticks between them. The counter is an integer, so the loop ends even
// where the multiples are too large to step by one.
Ticks AxisTicks(const ShownAxis& axis, long double increment)
{
    Ticks ticks;
    if (!std::isfinite(increment) || increment <= 0)
        return ticks;
    const long double min = axis.Minimum;
    const long double max = axis.Maximum;
    const long double first = std::ceil(min / increment);
    const long double last = std::floor(max / increment);
    if (!std::isfinite(first) || !std::isfinite(last) || last - first > 100000)
        return ticks;
    const int minor = axis.MinorTickCount;
    const auto count = static_cast<long long>(last - first) + 1;
    for (long long i = -1; i < count; ++i) {
        const long double k = first + static_cast<long double>(i);
        for (int j = 1; j <= minor; ++j) {
            const long double v = (k + static_cast<long double>(j) / (minor + 1)) * increment;
            if (v >= min && v <= max)
                ticks.Minor.push_back(v);
        }
        if (i >= 0)
            ticks.Major.push_back(k * increment);
    }
    return ticks;
}

// A log axis: major lines at the decades (every n-th where they would crowd
// the labels), minor lines at 2 .. 9 times each decade when the closest two
// (9 and 10) are at least 4 pixels apart.
Ticks LogTicks(const ShownAxis& axis, int pixels, int labelExtent)
{
    Ticks ticks;
    const long double low = std::log10(static_cast<long double>(axis.Minimum));
    const long double high = std::log10(static_cast<long double>(axis.Maximum));
    if (!std::isfinite(low) || !std::isfinite(high) || high <= low)
        return ticks;
    const long double perDecade = pixels / (high - low);
    const long double every = std::max(1.0L, std::ceil(std::max(labelExtent, 1) / perDecade));
    const long double first = std::ceil(low);
    const long double last = std::floor(high);
    if (last - first > 100000)
        return ticks;
    const bool minor = every == 1 && perDecade * std::log10(10.0L / 9.0L) >= 4;
    for (long double k = std::floor(low); k <= last; ++k) {
        const long double decade = std::pow(10.0L, k);
        if (k >= first && std::fmod(k - first, every) == 0)
            ticks.Major.push_back(decade);
        for (int m = 2; minor && m <= 9; ++m) {
            const long double v = m * decade;
            if (v >= axis.Minimum && v <= axis.Maximum)
                ticks.Minor.push_back(v);
        }
    }
    return ticks;
}

// The ticks of an axis, majors in the order they stand along it (from the
// left, or from the bottom), so labels are left out in that order.
Ticks TicksOf(const ShownAxis& axis, long double increment, int pixels, int labelExtent)
{
    Ticks ticks = axis.Kind.Log ? LogTicks(axis, pixels, labelExtent) : AxisTicks(axis, increment);
    if (axis.Kind.Reversed)
        std::reverse(ticks.Major.begin(), ticks.Major.end());
    return ticks;
}

// One level down the picture's pyramid: every 2 x 2 block averaged (the
// last row and column of an odd size average what they have).
template <bool Packed>
QImage HalveImage(const QImage& source)
{
    const int w = source.width();
    const int h = source.height();
    QImage half((w + 1) / 2, (h + 1) / 2, QImage::Format_RGB32);
    if (half.isNull())
        return half;
    const auto add = [](const uchar* row, int x, unsigned& r, unsigned& g, unsigned& b) {
        if constexpr (Packed) {
            const uchar* p = row + 3 * static_cast<std::ptrdiff_t>(x); // blue, green, red
            b += p[0];
            g += p[1];
            r += p[2];
        } else {
            const QRgb c = reinterpret_cast<const QRgb*>(row)[x];
            r += static_cast<unsigned>(qRed(c));
            g += static_cast<unsigned>(qGreen(c));
            b += static_cast<unsigned>(qBlue(c));
        }
    };
    for (int y = 0; y < half.height(); ++y) {
        const uchar* upper = source.constScanLine(2 * y);
        const uchar* lower = source.constScanLine(std::min(2 * y + 1, h - 1));
        auto* out = reinterpret_cast<QRgb*>(half.scanLine(y));
        for (int x = 0; x < half.width(); ++x) {
            const int x0 = 2 * x;
            const int x1 = std::min(x0 + 1, w - 1);
            unsigned r = 2;
            unsigned g = 2;
            unsigned b = 2;
            add(upper, x0, r, g, b);
            add(upper, x1, r, g, b);
            add(lower, x0, r, g, b);
            add(lower, x1, r, g, b);
            out[x] = qRgb(static_cast<int>(r / 4), static_cast<int>(g / 4), static_cast<int>(b / 4));
        }
    }
    return half;
}

QImage Halve(const QImage& source)
{
    if (source.format() == QImage::Format_BGR888)
        return HalveImage<true>(source);
    if (source.format() == QImage::Format_RGB32)
        return HalveImage<false>(source);
    return HalveImage<false>(source.convertToFormat(QImage::Format_RGB32));
}

} // namespace

PlotChart::PlotChart(QWidget* parent)
    : QWidget(parent),
      m_bottomAxis(*this, 0, 10),
      m_leftAxis(*this, -3, 3),
      m_data(std::make_unique<PlotSeries>(*this, SeriesKind::Line, QStringLiteral("Series"))),
      m_axis(std::make_unique<PlotSeries>(*this, SeriesKind::Points, QStringLiteral("Axis"))),
      m_region(std::make_unique<PlotSeries>(*this, SeriesKind::Shape, QStringLiteral("Region"))),
      m_decimalSeparator(QLocale::system().decimalPoint()),
      m_groupSeparator(QLocale::system().groupSeparator())
{
    // The left axis starts with a trailing blank after its labels.
    m_leftAxis.SetLabelFormat("#,##0.### ");
    m_axis->SetLineVisible(false);
    m_axis->SetMarkersVisible(true);
    m_region->SetSeriesColor(QColor(255, 255, 255));
    m_region->SetPenWidth(2);
    m_region->SetCorner0(25, 158.5);
    m_region->SetCorner1(100, 50);
    m_region->SetActive(false);
    m_region->SetClickable(false);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(m_restingCursor);
    // Over the plot's bottom and right edges, shown only while the view is
    // larger than the plot.
    m_hScroll = new QScrollBar(Qt::Horizontal, this);
    m_vScroll = new QScrollBar(Qt::Vertical, this);
    for (QScrollBar* bar : {m_hScroll, m_vScroll}) {
        bar->hide();
        bar->setCursor(Qt::ArrowCursor);
        bar->setFocusPolicy(Qt::NoFocus);
        connect(bar, &QScrollBar::valueChanged, this, [this] {
            SyncView();
            const long double x = m_hScroll->isVisible() ? m_hScroll->value() : m_view.PanX();
            const long double y = m_vScroll->isVisible() ? m_vScroll->value() : m_view.PanY();
            if (m_view.SetPan(x, y)) {
                Redraw();
                emit ViewChanged();
            }
        });
    }
}

PlotChart::~PlotChart() = default;

QSize PlotChart::sizeHint() const
{
    return {400, 300};
}

int PlotChart::LeftLabelWidth() const
{
    // Room for the widest label either mask writes, so that the plot
    // rectangle does not follow the axis values.
    return fontMetrics().horizontalAdvance(QStringLiteral("-8,888.888 x10 E+888"));
}

QRect PlotChart::PlotRect() const
{
    if (m_layoutValid && m_layoutSize == size())
        return m_layoutRect;
    const QFontMetrics fm = fontMetrics();
    const int w = width();
    const int h = height();
    const int marginX = RoundHalfEven32(static_cast<long double>(w) / 100);
    const int marginY = RoundHalfEven32(static_cast<long double>(h) / 100);
    const int line = fm.height();
    const int left = marginX + LeftLabelWidth() + kTickLength + kLabelGap;
    const int top = marginY + line + line / 2;
    const int right = marginX + fm.horizontalAdvance(QStringLiteral("-8,888.888")) / 2;
    const int bottom = marginY + kTickLength + kLabelGap + line;
    m_layoutRect = QRect(left, top, std::max(1, w - left - right), std::max(1, h - top - bottom));
    m_layoutSize = size();
    m_layoutValid = true;
    return m_layoutRect;
}

namespace {

quillmark::PlotRect Geometry(const QRect& r)
{
    return {r.left(), r.top(), r.width(), r.height()};
}

AxisLimits Limits(const PlotAxis& bottom, const PlotAxis& left)
{
    return {bottom.Minimum(), bottom.Maximum(), left.Minimum(), left.Maximum(), bottom.Kind(), left.Kind()};
}

// The values at the plot's two edges as the view shows them. Zoomed or
// panned, the grid increment is chosen to fit the labels: the one set for
// the whole range would leave a close view without lines.
ShownAxis ShownPart(const PlotChart& chart, const PlotAxis& axis, bool bottom)
{
    ShownAxis shown{axis.Minimum(), axis.Maximum(), axis.Kind(), axis.MinorTickCount(), axis.Increment()};
    if (chart.View().IsIdentity())
        return shown;
    const QRect r = chart.PlotRect();
    const double a = static_cast<double>(bottom ? chart.BottomValue(r.left()) : chart.LeftValue(r.top()));
    const double b = static_cast<double>(bottom ? chart.BottomValue(r.left() + r.width())
                                                : chart.LeftValue(r.top() + r.height()));
    shown.Minimum = std::min(a, b);
    shown.Maximum = std::max(a, b);
    shown.Increment = 0;
    return shown;
}

} // namespace

long double PlotChart::BottomPosition(long double x) const
{
    return View().ScreenX(AxisToPixelX(x, Geometry(PlotRect()), Limits(m_bottomAxis, m_leftAxis)));
}

long double PlotChart::LeftPosition(long double y) const
{
    return View().ScreenY(AxisToPixelY(y, Geometry(PlotRect()), Limits(m_bottomAxis, m_leftAxis)));
}

int PlotChart::BottomPixel(long double x) const
{
    return RoundToSurface(BottomPosition(x));
}

int PlotChart::LeftPixel(long double y) const
{
    return RoundToSurface(LeftPosition(y));
}

long double PlotChart::BottomValue(int px) const
{
    return PixelToAxis(ToSurface(QPointF(px, 0)), Geometry(PlotRect()), Limits(m_bottomAxis, m_leftAxis)).X;
}

long double PlotChart::LeftValue(int py) const
{
    return PixelToAxis(ToSurface(QPointF(0, py)), Geometry(PlotRect()), Limits(m_bottomAxis, m_leftAxis)).Y;
}

SurfaceRect PlotChart::RegionPixels(long double x0, long double y0, long double x1, long double y1) const
{
    // Corner 0 is the region's X minimum and Y maximum, corner 1 its X
    // maximum and Y minimum, whatever the values; each edge is rounded as
    // RegionToPixels rounds it.
    return {BottomPixel(x0), LeftPixel(y0), BottomPixel(x1), LeftPixel(y1)};
}

void PlotChart::SyncView() const
{
    const QRect r = PlotRect();
    if (m_view.Rect() != Geometry(r))
        m_view.SetRect(Geometry(r));
    const PicturePlacement place = Placement();
    const long double scale = m_backImage.isNull() ? 1.0L : std::max(place.ScaleX, place.ScaleY);
    if (scale != m_view.PictureScale())
        m_view.SetPictureScale(scale);
}

const PlotView& PlotChart::View() const
{
    SyncView();
    return m_view;
}

SurfacePosition PlotChart::ToSurface(QPointF screen) const
{
    return View().ToSurface({static_cast<long double>(screen.x()), static_cast<long double>(screen.y())});
}

SurfacePosition PlotChart::ShownAt(QPoint screenPixel) const
{
    return ToSurface(QPointF(screenPixel) + QPointF(0.5, 0.5));
}

QPointF PlotChart::ToScreen(SurfacePosition surface) const
{
    const SurfacePosition s = View().ToScreen(surface);
    return {static_cast<double>(s.X), static_cast<double>(s.Y)};
}

PicturePlacement PlotChart::Placement() const
{
    return PlacePicture(Geometry(PlotRect()), {m_backImage.width(), m_backImage.height()},
                        m_backMode == BackImageMode::Stretch);
}

long double PlotChart::PictureScale() const
{
    const PicturePlacement place = Placement();
    return std::max(place.ScaleX, place.ScaleY) * View().Zoom();
}

void PlotChart::ZoomAbout(QPointF screen, long double factor)
{
    SyncView();
    if (m_view.ZoomAbout({static_cast<long double>(screen.x()), static_cast<long double>(screen.y())}, factor))
        AfterViewChange();
}

void PlotChart::ZoomCentre(long double factor)
{
    const QRect r = PlotRect();
    ZoomAbout(QPointF(r.left() + r.width() / 2.0, r.top() + r.height() / 2.0), factor);
}

void PlotChart::PanBy(QPointF drag)
{
    SyncView();
    if (m_view.PanBy(drag.x(), drag.y()))
        AfterViewChange();
}

void PlotChart::ResetView()
{
    SyncView();
    if (m_view.Reset())
        AfterViewChange();
}

void PlotChart::SetView(long double zoom, long double panX, long double panY)
{
    SyncView();
    m_view.Reset();
    m_view.ZoomAbout({static_cast<long double>(PlotRect().left()), static_cast<long double>(PlotRect().top())},
                     zoom);
    m_view.SetPan(panX, panY);
    AfterViewChange();
}

void PlotChart::AfterViewChange()
{
    PlaceScrollBars();
    Redraw();
    emit ViewChanged();
}

void PlotChart::PlaceScrollBars()
{
    SyncView();
    const QRect r = PlotRect();
    const ScrollState h = m_view.HorizontalScroll();
    const ScrollState v = m_view.VerticalScroll();
    const int thick = std::min({m_hScroll->sizeHint().height(), r.height() / 3, r.width() / 3});
    const auto place = [](QScrollBar* bar, const ScrollState& s, const QRect& at) {
        const QSignalBlocker quiet(bar);
        bar->setVisible(s.Needed() && at.width() > 0 && at.height() > 0);
        if (!bar->isVisible())
            return;
        bar->setGeometry(at);
        bar->setRange(0, RoundHalfEven32(s.Content - s.Page));
        bar->setPageStep(RoundHalfEven32(s.Page));
        bar->setSingleStep(std::max(1, RoundHalfEven32(s.Page / 20)));
        bar->setValue(RoundHalfEven32(s.Position));
    };
    const int vWidth = v.Needed() ? thick : 0;
    const int hHeight = h.Needed() ? thick : 0;
    place(m_hScroll, h, QRect(r.left(), r.top() + r.height() - hHeight, r.width() - vWidth, hHeight));
    place(m_vScroll, v, QRect(r.left() + r.width() - vWidth, r.top(), vWidth, r.height() - hHeight));
}

void PlotChart::SetTitleLines(const QStringList& lines)
{
    m_title = lines;
    Redraw();
}

void PlotChart::SetBackImageSize(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (m_backImage.width() == width && m_backImage.height() == height)
        return;
    QImage image(width, height, QImage::Format_BGR888);
    if (image.isNull() && width > 0 && height > 0) {
        throw InvalidGraphicError(FormatMessage("Cannot load image. Picture of %dx%d pixels is too large.",
                                                {std::to_string(width), std::to_string(height)}));
    }
    if (!image.isNull()) {
        image.fill(m_backColor);
        if (!m_backImage.isNull()) {
            QPainter p(&image);
            p.drawImage(0, 0, m_backImage);
        }
    }
    m_backImage = std::move(image);
    PlaceScrollBars();
    Redraw();
    emit ViewChanged();
}

void PlotChart::SetBackMode(BackImageMode mode)
{
    m_backMode = mode;
    PlaceScrollBars();
    Redraw();
    emit ViewChanged();
}

void PlotChart::SetBackImageVisible(bool on)
{
    m_backVisible = on;
    Redraw();
}

void PlotChart::SetBackColor(const QColor& color)
{
    m_backColor = color;
    Redraw();
}

void PlotChart::SetSeparators(const QString& decimalSeparator, const QString& groupSeparator)
{
    m_decimalSeparator = decimalSeparator;
    m_groupSeparator = groupSeparator;
    Redraw();
}

void PlotChart::Redraw()
{
    m_dirty = true;
    update();
}

void PlotChart::RepaintNow()
{
    m_dirty = true;
    EnsureRendered();
    repaint();
}

void PlotChart::EnsureRendered() const
{
    const QSize size(std::max(1, width()), std::max(1, height()));
    if (m_surface.size() != size) {
        m_surface = QImage(size, QImage::Format_RGB32);
        m_dirty = true;
    }
    const qreal ratio = devicePixelRatioF();
    const QSize displaySize = ratio == 1.0 ? QSize(0, 0) : (QSizeF(size) * ratio).toSize(); // 0 x 0: no display copy
    if (m_display.size() != displaySize || (!m_display.isNull() && m_display.devicePixelRatio() != ratio)) {
        m_display = displaySize.isEmpty() ? QImage() : QImage(displaySize, QImage::Format_RGB32);
        if (!m_display.isNull())
            m_display.setDevicePixelRatio(ratio);
        m_dirty = true;
    }
    if (m_dirty) {
        Render(m_surface);
        if (!m_display.isNull())
            Render(m_display);
        m_dirty = false;
    }
}

QColor PlotChart::PixelColor(int x, int y) const
{
    EnsureRendered();
    if (!m_surface.valid(x, y))
        return {};
    return QColor(m_surface.pixel(x, y));
}

const QImage& PlotChart::Surface() const
{
    EnsureRendered();
    return m_surface;
}

void PlotChart::CopyRectTo(QPainter& target, const QRect& targetRect, const QRect& sourceRect) const
{
    EnsureRendered();
    target.drawImage(targetRect, m_surface, sourceRect);
}

void PlotChart::DrawDirect(const std::function<void(QPainter&)>& draw)
{
    EnsureRendered();
    {
        QPainter p(&m_surface);
        p.setRenderHint(QPainter::Antialiasing, false);
        draw(p);
    }
    if (!m_display.isNull()) {
        QPainter p(&m_display);
        p.setRenderHint(QPainter::Antialiasing, false);
        draw(p);
    }
    update();
}

void PlotChart::DrawRectDirect(int x0, int y0, int x1, int y1, const QPen& pen, PenMode mode)
{
    DrawDirect([&](QPainter& p) {
        SetPenMode(p, mode);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawRect(CornerRect(x0, y0, x1, y1));
    });
}

void PlotChart::SetPenMode(QPainter& painter, PenMode mode)
{
    // Inverting replaces every pixel drawn by its complement, whatever the
    // pen's colour, so drawing the same figure again restores the surface.
    painter.setCompositionMode(mode == PenMode::Invert ? QPainter::RasterOp_NotDestination
                                                       : QPainter::CompositionMode_SourceOver);
}

QPoint PlotChart::PointerPosition() const
{
    return mapFromGlobal(QCursor::pos());
}

void PlotChart::SetRestingCursor(Qt::CursorShape shape)
{
    m_restingCursor = shape;
    if (m_panButton == Qt::NoButton)
        setCursor(shape);
}

PlotSeries* PlotChart::HitSeries(int x, int y, int* valueIndex) const
{
    // Topmost first: the reverse of the drawing order.
    for (PlotSeries* series : {m_region.get(), m_axis.get(), m_data.get()}) {
        if (!series->Active() || !series->Clickable())
            continue;
        const int index = series->HitTest(x, y);
        if (index >= 0) {
            if (valueIndex != nullptr)
                *valueIndex = index;
            return series;
        }
    }
    return nullptr;
}

void PlotChart::Press(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)
{
    emit MouseDown(button, shift, x, y);
    // Hit after the press handler ran, so the index names a point that exists.
    int index = -1;
    if (PlotSeries* series = HitSeries(x, y, &index)) {
        emit series->Clicked(series, index, button, shift, x, y);
        emit ClickSeries(series, index, button, shift, x, y);
    } else {
        emit ClickBackground(button, shift, x, y);
    }
}

void PlotChart::ClickAt(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)
{
    m_buttonsDown = button;
    Press(button, shift, x, y);
    m_buttonsDown = Qt::NoButton;
    emit MouseUp(button, shift, x, y);
}

bool PlotChart::StartsPan(const QMouseEvent* event)
{
    const bool pan = event->button() == Qt::MiddleButton ||
                     (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ControlModifier));
    if (!pan || m_panButton != Qt::NoButton)
        return pan;
    m_panButton = event->button();
    m_panFrom = event->position();
    setCursor(Qt::ClosedHandCursor);
    return true;
}

void PlotChart::mousePressEvent(QMouseEvent* event)
{
    if (StartsPan(event))
        return;
    m_buttonsDown = event->buttons();
    const QPoint pos = event->position().toPoint();
    Press(event->button(), event->modifiers(), pos.x(), pos.y());
}

void PlotChart::mouseMoveEvent(QMouseEvent* event)
{
    if (m_panButton != Qt::NoButton) {
        const QPointF at = event->position();
        PanBy(at - m_panFrom);
        m_panFrom = at;
        return;
    }
    m_buttonsDown = event->buttons();
    const QPoint pos = event->position().toPoint();
    emit MouseMove(event->modifiers(), pos.x(), pos.y());
}

void PlotChart::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_panButton != Qt::NoButton) {
        // Other buttons pressed during the drag are not clicks either.
        if (event->button() == m_panButton) {
            m_panButton = Qt::NoButton;
            setCursor(m_restingCursor);
        }
        return;
    }
    m_buttonsDown = event->buttons();
    const QPoint pos = event->position().toPoint();
    emit MouseUp(event->button(), event->modifiers(), pos.x(), pos.y());
}

void PlotChart::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Qt delivers the second press of a double click as this event alone:
    // it is dispatched as a press like the first, then reported as the
    // double click.
    if (StartsPan(event))
        return;
    m_buttonsDown = event->buttons();
    const QPoint pos = event->position().toPoint();
    Press(event->button(), event->modifiers(), pos.x(), pos.y());
    emit DblClick();
}

void PlotChart::wheelEvent(QWheelEvent* event)
{
    const QPoint delta = event->angleDelta();
    const int eighths = delta.y() != 0 ? delta.y() : delta.x();
    if (eighths == 0) {
        event->ignore();
        return;
    }
    // 120 is one notch; finer wheels zoom by the fraction of a notch.
    ZoomAbout(event->position(), std::pow(PlotView::kStep, eighths / 120.0L));
    event->accept();
}

void PlotChart::paintEvent(QPaintEvent* event)
{
    EnsureRendered();
    QPainter p(this);
    if (m_display.isNull()) {
        p.drawImage(event->rect(), m_surface, event->rect());
    } else {
        const qreal ratio = m_display.devicePixelRatio();
        const QRect r = event->rect();
        p.drawImage(QRectF(r), m_display, QRectF(QPointF(r.topLeft()) * ratio, QSizeF(r.size()) * ratio));
    }
}

void PlotChart::resizeEvent(QResizeEvent* /*event*/)
{
    PlaceScrollBars();
    Redraw();
    emit ViewChanged();
}

void PlotChart::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange)
        m_layoutValid = false;
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange)
        Redraw();
    QWidget::changeEvent(event);
}

long double PlotChart::GridIncrement(double minimum, double maximum, double given, int pixels, int labelExtent) const
{
    const long double span = static_cast<long double>(maximum) - minimum;
    long double increment = given;
    if (increment <= 0) {
        // A 1, 2 or 5 times a power of ten that leaves room for each label.
        const long double wanted = span * std::max(labelExtent, 1) / std::max(pixels, 1);
        const long double power = std::pow(10.0L, std::floor(std::log10(wanted)));
        increment = 10 * power;
        for (const long double m : {1.0L, 2.0L, 5.0L}) {
            if (m * power >= wanted) {
                increment = m * power;
                break;
            }
        }
    }
    if (!std::isfinite(increment) || increment <= 0)
        return 0;
    const long double maxLines = std::max(1, pixels / kPixelsPerGridLine);
    const long double lines = span / increment;
    if (lines > maxLines)
        increment *= std::ceil(lines / maxLines);
    return increment;
}

void PlotChart::Render(QImage& surface) const
{
    QPainter p(&surface);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setFont(font());
    p.fillRect(surface.rect(), palette().color(QPalette::Window));

    const QRect r = PlotRect();
    const QFontMetrics fm = fontMetrics();
    const int marginY = RoundHalfEven32(static_cast<long double>(height()) / 100);
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(QRect(0, marginY, width(), fm.height()), Qt::AlignHCenter | Qt::AlignTop, m_title.value(0));

    p.fillRect(r, m_backColor);
    if (m_backVisible && !m_backImage.isNull()) {
        p.save();
        p.setClipRect(r);
        DrawPicture(p, r);
        p.restore();
    }

    DrawBottomAxis(p);
    DrawLeftAxis(p);

    p.setClipRect(r);
    for (const PlotSeries* series : {m_data.get(), m_axis.get(), m_region.get()}) {
        if (series->Active())
            DrawSeries(p, *series);
    }
}

const QImage& PlotChart::PictureLevel(int level) const
{
    if (m_levelsKey != m_backImage.cacheKey()) {
        m_levels.clear();
        m_levelsKey = m_backImage.cacheKey();
    }
    if (level <= 0)
        return m_backImage;
    while (static_cast<int>(m_levels.size()) < level) {
        const QImage& above = m_levels.empty() ? m_backImage : m_levels.back();
        QImage half = Halve(above);
        if (half.isNull())
            break;
        m_levels.push_back(std::move(half));
    }
    return m_levels.empty() ? m_backImage : m_levels[std::min<std::size_t>(m_levels.size(), level) - 1];
}

void PlotChart::DrawPicture(QPainter& p, const QRect& r) const
{
    // Where the picture lies on the screen, and the part of it inside the
    // plot: only that part is copied and scaled.
    const PicturePlacement place = Placement();
    const PlotView& view = View();
    const long double left = view.ScreenX(place.Left);
    const long double top = view.ScreenY(place.Top);
    const long double sx = place.ScaleX * view.Zoom(); // screen pixels per picture pixel
    const long double sy = place.ScaleY * view.Zoom();
    const QRectF onScreen(static_cast<double>(left), static_cast<double>(top),
                          static_cast<double>(m_backImage.width() * sx), static_cast<double>(m_backImage.height() * sy));
    const QRectF shown = onScreen.intersected(QRectF(r));
    if (shown.isEmpty())
        return;
    const QRectF source(static_cast<double>((shown.left() - left) / sx), static_cast<double>((shown.top() - top) / sy),
                        static_cast<double>(shown.width() / sx), static_cast<double>(shown.height() / sy));
    if (sx == 1 && sy == 1 && shown.topLeft() == shown.topLeft().toPoint()) {
        p.drawImage(shown.topLeft(), m_backImage, source.toAlignedRect());
        return;
    }
    // Shrunk: area averaged, from the level of the pyramid closest above
    // the screen's size, smoothed the rest of the way. Enlarged: square
    // blocks, one per picture pixel.
    const qreal ratio = p.device() != nullptr ? p.device()->devicePixelRatioF() : 1.0;
    const long double smallest = std::min(sx, sy) * ratio;
    int level = 0;
    if (smallest < 1)
        level = std::min(30, static_cast<int>(std::floor(std::log2(1 / smallest))));
    const QImage& picture = PictureLevel(level);
    const double down = static_cast<double>(m_backImage.width()) / picture.width();
    const double downY = static_cast<double>(m_backImage.height()) / picture.height();
    const QRectF levelSource(source.left() / down, source.top() / downY, source.width() / down,
                             source.height() / downY);
    const QRect part = levelSource.toAlignedRect().adjusted(-1, -1, 1, 1).intersected(picture.rect());
    if (part.isEmpty())
        return;
    const QImage piece = picture.copy(part);
    p.setRenderHint(QPainter::SmoothPixmapTransform, smallest < 1);
    p.drawImage(shown, piece, levelSource.translated(-part.topLeft()));
}

void PlotChart::DrawBottomAxis(QPainter& p) const
{
    const QRect r = PlotRect();
    const QFontMetrics fm = fontMetrics();
    const PlotAxis& axis = m_bottomAxis;
    const ShownAxis shown = ShownPart(*this, axis, true);
    // The widest label: of the range's ends, or of its outer decades on a
    // log axis (whose labels are decades only).
    const auto ends = [&shown]() -> std::pair<double, double> {
        if (!shown.Kind.Log)
            return {shown.Minimum, shown.Maximum};
        return {std::pow(10.0, std::floor(std::log10(shown.Minimum))),
                std::pow(10.0, std::ceil(std::log10(shown.Maximum)))};
    }();
    const int labelWidth = std::max(fm.horizontalAdvance(axis.LabelText(ends.first)),
                                    fm.horizontalAdvance(axis.LabelText(ends.second))) +
                           2 * fm.averageCharWidth();
    const long double increment = GridIncrement(shown.Minimum, shown.Maximum, shown.Increment, r.width(), labelWidth);
    const int axisY = r.top() + r.height();
    const QColor text = palette().color(QPalette::WindowText);

    p.setPen(QPen(text, 0));
    p.drawLine(r.left(), axisY, r.left() + r.width(), axisY);
    const Ticks ticks = TicksOf(shown, increment, r.width(), labelWidth);
    for (const long double v : ticks.Minor) {
        const int px = BottomPixel(v);
        p.drawLine(px, axisY, px, axisY + kMinorTickLength);
    }
    int labelsEnd = std::numeric_limits<int>::min();
    for (const long double v : ticks.Major) {
        const int px = BottomPixel(v);
        p.setPen(QPen(axis.GridColor(), 0, Qt::DotLine));
        p.drawLine(px, r.top(), px, axisY - 1);
        p.setPen(QPen(text, 0));
        p.drawLine(px, axisY, px, axisY + kTickLength);
        const QString label = axis.LabelText(static_cast<double>(v));
        const int w = fm.horizontalAdvance(label);
        const int x = px - w / 2;
        // A label that would overlap the one before is left out.
        if (x > labelsEnd) {
            p.drawText(x, axisY + kTickLength + kLabelGap + fm.ascent(), label);
            labelsEnd = x + w + fm.averageCharWidth();
        }
    }
}

void PlotChart::DrawLeftAxis(QPainter& p) const
{
    const QRect r = PlotRect();
    const QFontMetrics fm = fontMetrics();
    const PlotAxis& axis = m_leftAxis;
    const ShownAxis shown = ShownPart(*this, axis, false);
    const long double increment =
        GridIncrement(shown.Minimum, shown.Maximum, shown.Increment, r.height(), 2 * fm.height());
    const int axisX = r.left() - 1;
    const QColor text = palette().color(QPalette::WindowText);

    p.setPen(QPen(text, 0));
    p.drawLine(axisX, r.top(), axisX, r.top() + r.height());
    const Ticks ticks = TicksOf(shown, increment, r.height(), 2 * fm.height());
    for (const long double v : ticks.Minor) {
        const int py = LeftPixel(v);
        p.drawLine(axisX - kMinorTickLength, py, axisX, py);
    }
    int labelsTop = std::numeric_limits<int>::max();
    for (const long double v : ticks.Major) {
        const int py = LeftPixel(v);
        p.setPen(QPen(axis.GridColor(), 0, Qt::DotLine));
        p.drawLine(r.left(), py, r.left() + r.width() - 1, py);
        p.setPen(QPen(text, 0));
        p.drawLine(axisX - kTickLength, py, axisX, py);
        const QString label = axis.LabelText(static_cast<double>(v));
        const int y = py - fm.height() / 2;
        if (y + fm.height() <= labelsTop) {
            const int right = axisX - kTickLength - kLabelGap;
            p.drawText(right - fm.horizontalAdvance(label), y + fm.ascent(), label);
            labelsTop = y;
        }
    }
}

void PlotChart::DrawSeries(QPainter& p, const PlotSeries& series) const
{
    const QRect r = PlotRect();
    const int count = series.Count();

    if (series.Kind() == SeriesKind::Shape) {
        if (count < 2)
            return;
        const SurfaceRect s = series.ShapePixelRect();
        const QRect box = CornerRect(s.Left, s.Top, s.Right, s.Bottom);
        p.save();
        SetPenMode(p, PenMode::Invert);
        const int pen = std::max(series.PenWidth(), 1);
        if (series.Fill() == ShapeFill::BackDiagonalHatch) {
            // Lines rising to the right every 8 pixels, inside the outline
            // only: a pixel inverted twice would vanish. A pattern brush
            // cannot be used, as inverting ignores its transparent pixels.
            const QRect inner = box.adjusted(pen, pen, -pen, -pen);
            if (inner.isValid()) {
                p.setClipRect(inner, Qt::IntersectClip);
                p.setPen(QPen(series.SeriesColor(), 0));
                const int from = inner.left() + inner.top();
                const int to = inner.right() + inner.bottom();
                for (int c = from + ((8 - from % 8) % 8); c <= to; c += 8)
                    p.drawLine(c - inner.top(), inner.top(), c - inner.bottom(), inner.bottom());
                p.setClipRect(r);
            }
        }
        p.setPen(QPen(series.SeriesColor(), pen, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.setBrush(Qt::NoBrush);
        p.drawRect(box);
        p.restore();
        return;
    }

    // Positions near the surface are whole pixels, where the markers and the
    // hit tests put them.
    auto position = [&](int i) {
        long double x = BottomPosition(series.XValue(i));
        long double y = LeftPosition(series.YValue(i));
        if (std::fabs(x) < kPixelLimit)
            x = std::nearbyint(x);
        if (std::fabs(y) < kPixelLimit)
            y = std::nearbyint(y);
        return std::pair{x, y};
    };

    if (series.Kind() == SeriesKind::Line && series.LineVisible() && count >= 2) {
        p.setPen(QPen(series.SeriesColor(), series.PenWidth(), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const int reach = series.PenWidth() + 8;
        const QRect box = r.adjusted(-reach, -reach, reach, reach);
        auto [px, py] = position(0);
        for (int i = 1; i < count; ++i) {
            const auto [qx, qy] = position(i);
            long double ax = px, ay = py, bx = qx, by = qy;
            if (std::isfinite(ax) && std::isfinite(ay) && std::isfinite(bx) && std::isfinite(by) &&
                ClipSegment(ax, ay, bx, by, box)) {
                p.drawLine(QLineF(static_cast<double>(ax), static_cast<double>(ay), static_cast<double>(bx),
                                  static_cast<double>(by)));
            }
            px = qx;
            py = qy;
        }
    }

    const bool markers = series.Kind() == SeriesKind::Points || series.MarkersVisible();
    const int radius = series.MarkerRadius();
    const QRect box = r.adjusted(-radius, -radius, radius, radius);
    for (int i = 0; i < count; ++i) {
        const bool hollow = series.PointHollow(i);
        if (!markers && !hollow)
            continue;
        const int cx = series.CalcXPos(i);
        const int cy = series.CalcYPos(i);
        if (!box.contains(cx, cy))
            continue;
        const QColor color = series.PointColor(i).isValid() ? series.PointColor(i) : series.SeriesColor();
        p.setPen(QPen(color, 0));
        p.setBrush(hollow ? QBrush(Qt::NoBrush) : QBrush(color));
        p.drawEllipse(QPoint(cx, cy), radius, radius);
    }
}

} // namespace quillmark
