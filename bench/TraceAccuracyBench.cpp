// The trace's error against the truth, on synthetic charts drawn here with
// known curves: line widths 0.5 to 5 pixels, anti-aliased or not, clean,
// saved as JPEG, or noisy, over a light grid; then charts with a legend
// sample and with a second curve of the same colour. Each chart is traced by
// colour within a region around the curve, the colour sensitivity fitted to
// the picture, plain and with sub-pixel rows; the error of a point is how far
// its row lies from the curve's centre at its column, in picture pixels.
// Prints the median and the 95th percentile of every error, and for the
// legend and second-curve charts the largest error when following the line.
//   quillmark_trace_accuracy_bench
#include "digitize/Trace.h"
#include "imaging/FastBMP.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

using namespace quillmark;

namespace {

constexpr int kWidth = 900;
constexpr int kHeight = 600;
const QColor kCurve(31, 119, 180);

struct Chart {
    QImage Image;
    double Phase = 0;
    double Amplitude = 0;
};

// The curve's centre row at column coordinate x (pixel centres at + 0.5).
double CurveY(const Chart& c, double x)
{
    return 300 + c.Amplitude * std::sin(x / 130.0 + c.Phase) + 40 * std::cos(x / 57.0);
}

QPainterPath CurvePath(const Chart& c, double offset = 0)
{
    QPainterPath path;
    for (double x = 60; x <= 840; x += 0.5) {
        const QPointF p(x, CurveY(c, x) + offset);
        if (x == 60)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    return path;
}

enum class Spoil { Clean, Jpeg, Noise };

Chart Draw(double width, bool antialiased, Spoil spoil, int kind, std::mt19937& random)
{
    Chart c;
    c.Phase = std::uniform_real_distribution<double>(0, 6.28)(random);
    c.Amplitude = std::uniform_real_distribution<double>(60, 150)(random);
    c.Image = QImage(kWidth, kHeight, QImage::Format_RGB32);
    c.Image.fill(Qt::white);
    QPainter p(&c.Image);
    p.setRenderHint(QPainter::Antialiasing, antialiased);
    p.setPen(QPen(QColor(220, 220, 220), 1));
    for (int x = 50; x < kWidth; x += 100)
        p.drawLine(x, 20, x, 580);
    for (int y = 20; y < kHeight; y += 80)
        p.drawLine(50, y, 850, y);
    p.setPen(QPen(kCurve, width, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    p.drawPath(CurvePath(c));
    if (kind == 1) // a legend sample of the same colour, above the curve
        p.drawLine(QPointF(600, 40), QPointF(700, 40));
    if (kind == 2) // a second curve of the same colour, 90 pixels below
        p.drawPath(CurvePath(c, 90));
    p.end();
    if (spoil == Spoil::Jpeg) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        c.Image.save(&buffer, "JPEG", 75);
        c.Image = QImage::fromData(bytes, "JPEG").convertToFormat(QImage::Format_RGB32);
    } else if (spoil == Spoil::Noise) {
        std::normal_distribution<double> noise(0, 8);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const QRgb v = c.Image.pixel(x, y);
                const auto n = [&](int channel) { return std::clamp(int(std::lround(channel + noise(random))), 0, 255); };
                c.Image.setPixel(x, y, qRgb(n(qRed(v)), n(qGreen(v)), n(qBlue(v))));
            }
    }
    return c;
}

std::unique_ptr<TFastBMP> Buffer(const QImage& image)
{
    auto made = std::make_unique<TFastBMP>(image.width(), image.height());
    TFastBMP& buffer = *made;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb v = image.pixel(x, y);
            std::uint8_t* p = buffer.RowTable()[y] + 3 * x;
            p[0] = static_cast<std::uint8_t>(qBlue(v));
            p[1] = static_cast<std::uint8_t>(qGreen(v));
            p[2] = static_cast<std::uint8_t>(qRed(v));
        }
    return made;
}

// Errors of one trace: picture rows against the curve, at the columns where
// a line was found.
std::vector<double> Errors(const Chart& c, const TFastBMP& picture, PreciseTrace precise, int kind)
{
    TraceInput input;
    input.Plot = PlotFilledByPicture(kWidth, kHeight);
    input.XMin = 0;
    input.XMax = kWidth;
    input.YMin = 0;
    input.YMax = kHeight;
    input.Method = TraceMethod::ByColour;
    input.LineColour = Color{31, 119, 180};
    input.LineSens = 12;
    input.ColorSens = 50;
    precise.AutoSens = true;
    precise.NoFill = true;
    input.Precise = precise;
    // The region around the curve (and, on the last two kinds, around what
    // lies near it: that is what following is for).
    int top = kHeight;
    int bottom = 0;
    for (int x = 70; x <= 830; ++x) {
        top = std::min(top, int(CurveY(c, x)) - 25);
        bottom = std::max(bottom, int(CurveY(c, x)) + 25 + (kind == 2 ? 90 : 0));
    }
    if (kind == 1)
        top = std::min(top, 30);
    input.Region = SurfaceRect{70, top, 830, bottom};
    const TraceResult result = TraceCurve(picture, input);
    std::vector<double> errors;
    for (const DataPoint& p : result.Points)
        errors.push_back(std::fabs((kHeight - p.Y) - CurveY(c, p.X)));
    return errors;
}

double Quantile(std::vector<double> v, double q)
{
    if (v.empty())
        return NAN;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<std::size_t>(q * static_cast<double>(v.size())))];
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    std::mt19937 random(20261208);
    std::vector<double> plain;
    std::vector<double> sub;
    int charts = 0;
    for (const double width : {0.5, 1.0, 1.5, 2.0, 3.0, 5.0})
        for (const bool aa : {true, false})
            for (const Spoil spoil : {Spoil::Clean, Spoil::Jpeg, Spoil::Noise}) {
                const Chart c = Draw(width, aa, spoil, 0, random);
                const std::unique_ptr<TFastBMP> picture = Buffer(c.Image);
                const std::vector<double> p = Errors(c, *picture, PreciseTrace{}, 0);
                const std::vector<double> s = Errors(c, *picture, PreciseTrace{true, false, false, false}, 0);
                if (std::getenv("QUILLMARK_ACCURACY_DETAIL") != nullptr)
                    std::printf("  width %.1f %s spoil %d: plain %.3f / %.3f, sub-pixel %.3f / %.3f (%zu points)\n", width,
                                aa ? "aa" : "--", int(spoil), Quantile(p, 0.5), Quantile(p, 0.95), Quantile(s, 0.5),
                                Quantile(s, 0.95), s.size());
                plain.insert(plain.end(), p.begin(), p.end());
                sub.insert(sub.end(), s.begin(), s.end());
                ++charts;
            }
    std::printf("%d charts, %zu points: plain median %.3f px, 95th %.3f px; sub-pixel median %.3f px, 95th %.3f px\n",
                charts, sub.size(), Quantile(plain, 0.5), Quantile(plain, 0.95), Quantile(sub, 0.5),
                Quantile(sub, 0.95));
    for (const int kind : {1, 2}) {
        double worstPlain = 0;
        double worstFollow = 0;
        std::size_t found = 0;
        for (const double width : {1.0, 2.0, 3.0})
            for (const bool aa : {true, false}) {
                const Chart c = Draw(width, aa, Spoil::Clean, kind, random);
                const std::unique_ptr<TFastBMP> picture = Buffer(c.Image);
                const std::vector<double> p = Errors(c, *picture, PreciseTrace{}, kind);
                const std::vector<double> f = Errors(c, *picture, PreciseTrace{true, false, true, false}, kind);
                worstPlain = std::max(worstPlain, Quantile(p, 1.0));
                worstFollow = std::max(worstFollow, Quantile(f, 1.0));
                found += f.size();
            }
        std::printf("%s: largest error plain %.1f px, following the line %.2f px (%zu points)\n",
                    kind == 1 ? "legend sample" : "second curve", worstPlain, worstFollow, found);
    }
    return 0;
}
