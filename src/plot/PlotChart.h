#pragma once
// The plot surface: axes, grid, labels, background picture and the three
// series, drawn with QPainter into an off-screen image so a pixel can be read
// back and a rectangle copied. Coordinates are surface pixels, origin top-left.
#include <QImage>
#include <QWidget>

namespace quillmark {

class PlotSeries;

class PlotChart : public QWidget {
    Q_OBJECT
public:
    explicit PlotChart(QWidget* parent = nullptr);
    ~PlotChart() override;

signals:
    // Raw mouse events, surface pixels. After every press exactly one of
    // ClickSeries (after the hit series' own Clicked) or ClickBackground follows.
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void MouseMove(Qt::KeyboardModifiers shift, int x, int y);
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void DblClick();
    void ClickSeries(quillmark::PlotSeries* series, int valueIndex, Qt::MouseButton button,
                     Qt::KeyboardModifiers shift, int x, int y);
    void ClickBackground(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
};

} // namespace quillmark
