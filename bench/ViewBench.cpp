// Drawing the plot over a 6000 x 4000 chart at the zooms a user goes
// through: the whole picture shrunk into the plot, a close view panned along
// it, and a wheel run from 1 to 32 screen pixels a picture pixel. The
// baseline, in the same run, draws the plot with the picture scaled straight
// from the full buffer by dropping rows and columns (the drawing without a
// view). Runs offscreen.
//   quillmark_view_bench [RUNS]
#include "calibration/PlotView.h"
#include "ui/plot/PlotChart.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

template <typename F>
double Millis(F&& f)
{
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    int appArgc = 1;
    QApplication app(appArgc, argv);
    quillmark::PlotChart chart;
    chart.resize(1000, 720);
    chart.SetBackImageSize(6000, 4000);
    {
        // A chart: grid lines every 200 pixels and a 3-pixel curve.
        QPainter p(&chart.BackImage());
        p.fillRect(chart.BackImage().rect(), Qt::white);
        p.setPen(QPen(Qt::lightGray, 1));
        for (int x = 0; x < 6000; x += 200)
            p.drawLine(x, 0, x, 3999);
        for (int y = 0; y < 4000; y += 200)
            p.drawLine(0, y, 5999, y);
        p.setPen(QPen(Qt::blue, 3));
        QPointF last(0, 2000);
        for (int x = 1; x < 6000; x += 4) {
            const QPointF next(x, 2000 - 1500 * std::sin(x / 700.0));
            p.drawLine(last, next);
            last = next;
        }
    }
    const QRect r = chart.PlotRect();
    std::printf("plot %d x %d, picture 6000 x 4000, %d runs each\n", r.width(), r.height(), runs);

    const double levels = Millis([&] { chart.RepaintNow(); });
    std::printf("first drawing (builds the averaged levels once): %.1f ms\n", levels);

    std::vector<double> base;
    QImage surface(chart.size(), QImage::Format_RGB32);
    for (int i = 0; i < runs; ++i) {
        base.push_back(Millis([&] {
            QPainter p(&surface);
            p.fillRect(surface.rect(), Qt::white);
            p.drawImage(r, chart.BackImage());
        }));
    }
    const double baseline = Median(base);
    std::printf("baseline, full picture dropped to the plot: %.2f ms\n", baseline);

    const auto measure = [&](const char* name, const std::function<void(int)>& step) {
        std::vector<double> t;
        for (int i = 0; i < runs; ++i) {
            step(i);
            t.push_back(Millis([&] { chart.RepaintNow(); }));
        }
        const double m = Median(t);
        const double worst = *std::max_element(t.begin(), t.end());
        std::printf("%-44s median %6.2f ms  worst %6.2f ms  %.2f x baseline\n", name, m, worst, m / baseline);
    };
    measure("zoom 1 (averaged)", [&](int) { chart.ResetView(); });
    measure("one wheel notch a drawing, from zoom 1", [&](int i) {
        if (i == 0)
            chart.ResetView();
        chart.ZoomAbout(QPointF(r.left() + r.width() / 3.0, r.top() + r.height() / 2.0), quillmark::PlotView::kStep);
    });
    chart.ResetView();
    chart.ZoomCentre(4 / chart.PictureScale()); // 4:1
    measure("4:1 panned 37 pixels a step", [&](int) { chart.PanBy(QPointF(-37, -23)); });
    chart.ResetView();
    chart.ZoomCentre(0.5L);
    measure("zoomed out to half", [&](int) { chart.PanBy(QPointF(3, 2)); });
    return 0;
}
