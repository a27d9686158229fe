#pragma once
// A series of the plot: points with X, Y, a label and a colour, addressed by
// index 0 .. Count() - 1. A line series joins its points and may show round
// markers; a point series shows markers only; a shape series is a rectangle
// whose corners are its points 0 and 1 in axis values. Only active series are
// drawn and hit by clicks. Every change asks the chart for a redraw.
#include "calibration/PlotGeometry.h"
#include <QColor>
#include <QObject>
#include <QString>

#include <vector>

namespace quillmark {

class PlotChart;

enum class SeriesKind { Line, Points, Shape };
enum class ShapeFill { None, BackDiagonalHatch };

class PlotSeries : public QObject {
    Q_OBJECT
public:
    PlotSeries(PlotChart& chart, SeriesKind kind, const QString& title);

    SeriesKind Kind() const { return m_kind; }
    QString Title() const { return m_title; }

    // With X ordering on, a point goes directly after the last point whose X
    // is not greater than its own (so after equal ones; at the front when
    // there is none); with it off, at the end. Returns the new point's index.
    int Add(double x, double y, const QString& label, const QColor& color);
    void Clear();
    int Count() const { return static_cast<int>(m_points.size()); }
    double XValue(int index) const { return At(index).X; }
    double YValue(int index) const { return At(index).Y; }
    // Changing a value never moves the point: its index stays.
    void SetXValue(int index, double x);
    void SetYValue(int index, double y);
    QString Label(int index) const { return At(index).Label; }
    QColor PointColor(int index) const { return At(index).Color; }
    bool PointHollow(int index) const { return At(index).Hollow; }
    void SetPointColor(int index, const QColor& color);
    void Delete(int index);
    // Gives every point whose X lies in from .. to (both included) the colour.
    void ColorRange(double from, double to, const QColor& color);

    // Switching the ordering never re-sorts the points already there.
    bool XOrderAscending() const { return m_ascending; }
    void SetXOrderAscending(bool on) { m_ascending = on; }

    // An inactive series keeps its points but is neither drawn nor hit.
    bool Active() const { return m_active; }
    void SetActive(bool on);

    QColor SeriesColor() const { return m_seriesColor; }
    void SetSeriesColor(const QColor& color);
    int PenWidth() const { return m_penWidth; }
    void SetPenWidth(int width);
    bool LineVisible() const { return m_lineVisible; }
    void SetLineVisible(bool on);
    bool MarkersVisible() const { return m_markersVisible; }
    void SetMarkersVisible(bool on);
    int MarkerRadius() const { return m_markerRadius; }

    // Whether a click on the series is reported as a series click at all.
    bool Clickable() const { return m_clickable; }
    void SetClickable(bool on) { m_clickable = on; }

    // Shape corners: point 0 is (X0, Y0), point 1 is (X1, Y1).
    void SetCorner0(double x, double y);
    void SetCorner1(double x, double y);
    ShapeFill Fill() const { return m_fill; }
    void SetFill(ShapeFill fill);
    // Left and top from corner 0, right and bottom from corner 1, as they fall.
    SurfaceRect ShapePixelRect() const;

    // Surface pixel column and row where a point is drawn, and the axis values
    // of a pixel column and row, through the chart's bottom and left axes.
    int CalcXPos(int index) const;
    int CalcYPos(int index) const;
    long double XScreenToValue(int px) const;
    long double YScreenToValue(int py) const;
    // The last index the plot draws (all points are drawn): Count() - 1.
    int LastDrawnIndex() const { return Count() - 1; }

    // The index of the point hit at (x, y), or -1: a marker, or (line series)
    // the line within a few pixels, taking the nearer end of the segment.
    int HitTest(int x, int y) const;

signals:
    // The series' own click, reported before the chart's ClickSeries.
    void Clicked(quillmark::PlotSeries* series, int valueIndex, Qt::MouseButton button,
                 Qt::KeyboardModifiers shift, int x, int y);

public:
    struct Point {
        double X = 0;
        double Y = 0;
        QString Label;
        QColor Color;    // invalid: drawn in the series colour
        // A traced point filled in where no line was found: drawn as a
        // hollow marker, also while the markers are hidden.
        bool Hollow = false;
    };
    // Replaces every point, in the order given (the document's order).
    void SetPoints(std::vector<Point> points);

private:
    const Point& At(int index) const;
    Point& At(int index);
    void Changed();

    PlotChart& m_chart;
    SeriesKind m_kind;
    QString m_title;
    std::vector<Point> m_points;
    bool m_ascending = true;
    bool m_active = true;
    QColor m_seriesColor = QColor(255, 0, 0);
    int m_penWidth = 1;
    bool m_lineVisible = true;
    bool m_markersVisible = false;
    int m_markerRadius = 4;
    bool m_clickable = true;
    ShapeFill m_fill = ShapeFill::None;
};

} // namespace quillmark
