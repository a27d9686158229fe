#include "ui/plot/PlotSeries.h"

#include "base/Errors.h"
#include "ui/plot/PlotChart.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace quillmark {

PlotSeries::PlotSeries(PlotChart& chart, SeriesKind kind, const QString& title)
    : m_chart(chart), m_kind(kind), m_title(title)
{
}

const PlotSeries::Point& PlotSeries::At(int index) const
{
    if (index < 0 || index >= Count())
        throw InternalError("series point index out of range");
    return m_points[static_cast<std::size_t>(index)];
}

PlotSeries::Point& PlotSeries::At(int index)
{
    return const_cast<Point&>(std::as_const(*this).At(index));
}

void PlotSeries::Changed()
{
    m_chart.Redraw();
}

int PlotSeries::Add(double x, double y, const QString& label, const QColor& color)
{
    std::size_t at = m_points.size();
    if (m_ascending && !m_points.empty() && !(x >= m_points.back().X)) {
        // After the last point whose X is not greater; the list may be out of
        // order when the ordering was off for a while, so look from the end.
        at = 0;
        for (std::size_t i = m_points.size(); i > 0; --i) {
            if (m_points[i - 1].X <= x) {
                at = i;
                break;
            }
        }
    }
    m_points.insert(m_points.begin() + static_cast<std::ptrdiff_t>(at), Point{x, y, label, color});
    Changed();
    return static_cast<int>(at);
}

void PlotSeries::SetPoints(std::vector<Point> points)
{
    m_points = std::move(points);
    Changed();
}

void PlotSeries::Clear()
{
    m_points.clear();
    Changed();
}

void PlotSeries::SetXValue(int index, double x)
{
    At(index).X = x;
    Changed();
}

void PlotSeries::SetYValue(int index, double y)
{
    At(index).Y = y;
    Changed();
}

void PlotSeries::SetPointColor(int index, const QColor& color)
{
    At(index).Color = color;
    Changed();
}

void PlotSeries::Delete(int index)
{
    At(index);
    m_points.erase(m_points.begin() + index);
    Changed();
}

void PlotSeries::ColorRange(double from, double to, const QColor& color)
{
    for (auto& point : m_points) {
        if (point.X >= from && point.X <= to)
            point.Color = color;
    }
    Changed();
}

void PlotSeries::SetActive(bool on)
{
    m_active = on;
    Changed();
}

void PlotSeries::SetSeriesColor(const QColor& color)
{
    m_seriesColor = color;
    Changed();
}

void PlotSeries::SetPenWidth(int width)
{
    m_penWidth = std::max(width, 0);
    Changed();
}

void PlotSeries::SetLineVisible(bool on)
{
    m_lineVisible = on;
    Changed();
}

void PlotSeries::SetMarkersVisible(bool on)
{
    m_markersVisible = on;
    Changed();
}

void PlotSeries::SetCorner0(double x, double y)
{
    while (m_points.size() < 2)
        m_points.push_back(Point{0, 0, {}, m_seriesColor});
    m_points[0].X = x;
    m_points[0].Y = y;
    Changed();
}

void PlotSeries::SetCorner1(double x, double y)
{
    while (m_points.size() < 2)
        m_points.push_back(Point{0, 0, {}, m_seriesColor});
    m_points[1].X = x;
    m_points[1].Y = y;
    Changed();
}

void PlotSeries::SetFill(ShapeFill fill)
{
    m_fill = fill;
    Changed();
}

SurfaceRect PlotSeries::ShapePixelRect() const
{
    if (Count() < 2)
        return {};
    return m_chart.RegionPixels(XValue(0), YValue(0), XValue(1), YValue(1));
}

int PlotSeries::CalcXPos(int index) const
{
    return m_chart.BottomPixel(XValue(index));
}

int PlotSeries::CalcYPos(int index) const
{
    return m_chart.LeftPixel(YValue(index));
}

long double PlotSeries::XScreenToValue(int px) const
{
    return m_chart.BottomValue(px);
}

long double PlotSeries::YScreenToValue(int py) const
{
    return m_chart.LeftValue(py);
}

int PlotSeries::HitTest(int x, int y) const
{
    if (m_points.empty() || m_kind == SeriesKind::Shape)
        return -1;
    const long double px = x;
    const long double py = y;
    int best = -1;
    long double bestDistance = 0;
    auto consider = [&](int index, long double distance) {
        if (best < 0 || distance < bestDistance) {
            best = index;
            bestDistance = distance;
        }
    };

    const bool markers = m_markersVisible || m_kind == SeriesKind::Points;
    const bool line = m_lineVisible && m_kind == SeriesKind::Line;
    const int markerReach = m_markerRadius + 1;
    const long double lineReach = std::max(2, m_penWidth / 2 + 2);
    int previousX = 0;
    int previousY = 0;
    for (int i = 0; i < Count(); ++i) {
        const int cx = CalcXPos(i);
        const int cy = CalcYPos(i);
        const long double dx = std::fabs(static_cast<long double>(cx) - px);
        const long double dy = std::fabs(static_cast<long double>(cy) - py);
        if (markers && dx <= markerReach && dy <= markerReach)
            consider(i, dx + dy);
        if (line) {
            // Distance from the click to the segment from the previous point
            // (a lone point is a segment of length 0).
            const long double ax = i == 0 ? cx : previousX;
            const long double ay = i == 0 ? cy : previousY;
            const long double sx = cx - ax;
            const long double sy = cy - ay;
            const long double length2 = sx * sx + sy * sy;
            long double t = 0;
            if (length2 > 0)
                t = std::clamp(((px - ax) * sx + (py - ay) * sy) / length2, 0.0L, 1.0L);
            const long double ex = ax + t * sx - px;
            const long double ey = ay + t * sy - py;
            if (std::sqrt(ex * ex + ey * ey) <= lineReach) {
                const int nearer = (i > 0 && t < 0.5L) ? i - 1 : i;
                consider(nearer, std::fabs(ex) + std::fabs(ey));
            }
        }
        previousX = cx;
        previousY = cy;
    }
    return best;
}

} // namespace quillmark
