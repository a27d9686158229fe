#include "ui/app/Icons.h"

#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>

namespace quillmark {

namespace {

constexpr qreal kGrid = 19;

const QColor kInk(40, 40, 48);
const QColor kPaper(255, 255, 255);
const QColor kBlue(40, 96, 200);
const QColor kRed(210, 40, 40);
const QColor kYellow(240, 200, 70);
const QColor kGreen(50, 150, 70);

void DrawAxes(QPainter& p)
{
    p.setPen(QPen(kInk, 1.2, Qt::SolidLine, Qt::SquareCap));
    p.drawLine(QPointF(3, 2), QPointF(3, 16));
    p.drawLine(QPointF(3, 16), QPointF(17, 16));
}

void DrawMarker(QPainter& p, QPointF centre)
{
    p.setPen(QPen(kRed, 1.3));
    p.drawLine(centre + QPointF(-2.2, 0), centre + QPointF(2.2, 0));
    p.drawLine(centre + QPointF(0, -2.2), centre + QPointF(0, 2.2));
}

void DrawPage(QPainter& p, QRectF page)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawRect(page);
    p.setPen(QPen(kBlue, 1));
    for (qreal y = page.top() + 3; y < page.bottom() - 1; y += 2.5)
        p.drawLine(QPointF(page.left() + 2, y), QPointF(page.right() - 2, y));
}

void DrawPolyline(QPainter& p, const QColor& colour)
{
    p.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const QPointF line[] = {{4, 13}, {7, 8}, {10, 11}, {13, 5}, {17, 7}};
    p.drawPolyline(line, 5);
}

// A curved arrow turning back to the left (undo), or mirrored (redo).
void DrawTurnArrow(QPainter& p, bool mirrored)
{
    p.save();
    if (mirrored) {
        p.translate(kGrid, 0);
        p.scale(-1, 1);
    }
    p.setPen(QPen(kBlue, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath path(QPointF(5, 7));
    path.lineTo(QPointF(11, 7));
    path.cubicTo(QPointF(18, 7), QPointF(18, 16), QPointF(11, 16));
    path.lineTo(QPointF(7, 16));
    p.drawPath(path);
    p.setBrush(kBlue);
    p.setPen(QPen(kBlue, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolygon(QPolygonF({{1.5, 7}, {6.5, 2.5}, {6.5, 11.5}}));
    p.restore();
}

void DrawGlyph(QPainter& p, Glyph glyph)
{
    switch (glyph) {
    case Glyph::OpenImage: {
        p.setPen(QPen(kInk, 1));
        p.setBrush(kYellow.darker(115));
        QPolygonF back({{1.5, 4}, {6.5, 4}, {8, 5.5}, {16.5, 5.5}, {16.5, 15.5}, {1.5, 15.5}});
        p.drawPolygon(back);
        p.setBrush(kYellow);
        QPolygonF front({{1.5, 15.5}, {4, 8.5}, {18, 8.5}, {16.5, 15.5}});
        p.drawPolygon(front);
        break;
    }
    case Glyph::SaveData:
        p.setPen(QPen(kInk, 1));
        p.setBrush(kBlue);
        p.drawRect(QRectF(2.5, 2.5, 14, 14));
        p.setBrush(kPaper);
        p.drawRect(QRectF(5, 2.5, 9, 6));
        p.setBrush(QColor(190, 190, 200));
        p.drawRect(QRectF(5.5, 11.5, 8, 5));
        p.fillRect(QRectF(11, 3.5, 2, 4), kInk);
        break;
    case Glyph::Copy:
        DrawPage(p, QRectF(2.5, 2.5, 9, 11));
        DrawPage(p, QRectF(7.5, 5.5, 9, 11));
        break;
    case Glyph::Tools:
        p.setPen(QPen(kInk, 1));
        p.setBrush(kPaper);
        p.drawRect(QRectF(2.5, 2.5, 14, 14));
        for (int i = 0; i < 3; ++i) {
            const qreal y = 6 + 4 * i;
            p.setPen(QPen(kInk, 1));
            p.drawLine(QPointF(5, y), QPointF(14, y));
            p.setPen(QPen(kInk, 0.8));
            p.setBrush(kBlue);
            const qreal x = (i == 1) ? 11 : (i == 0 ? 7 : 9);
            p.drawRect(QRectF(x - 1.5, y - 1.5, 3, 3));
        }
        break;
    case Glyph::Table:
        p.setPen(QPen(kInk, 1));
        p.setBrush(kPaper);
        p.drawRect(QRectF(2.5, 2.5, 14, 14));
        p.fillRect(QRectF(3, 3, 13, 3), kBlue.lighter(150));
        for (qreal y = 6.5; y < 16; y += 3.33)
            p.drawLine(QPointF(2.5, y), QPointF(16.5, y));
        p.drawLine(QPointF(6.5, 2.5), QPointF(6.5, 16.5));
        p.drawLine(QPointF(11.5, 2.5), QPointF(11.5, 16.5));
        break;
    case Glyph::Stretch: {
        p.setPen(QPen(kInk, 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(6.5, 6.5, 6, 6));
        p.setPen(QPen(kBlue, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const QPointF corners[] = {{2, 2}, {17, 2}, {17, 17}, {2, 17}};
        for (const QPointF c : corners) {
            const QPointF inner((c.x() + 9.5) / 2, (c.y() + 9.5) / 2);
            p.drawLine(c, inner);
            const qreal sx = c.x() < 9.5 ? 1 : -1;
            const qreal sy = c.y() < 9.5 ? 1 : -1;
            p.drawLine(c, c + QPointF(3.5 * sx, 0));
            p.drawLine(c, c + QPointF(0, 3.5 * sy));
        }
        break;
    }
    case Glyph::AxisTwoPoints:
        DrawAxes(p);
        DrawMarker(p, {6, 13});
        DrawMarker(p, {14, 5});
        break;
    case Glyph::AxisThreePoints:
        DrawAxes(p);
        DrawMarker(p, {6, 13});
        DrawMarker(p, {14, 13});
        DrawMarker(p, {6, 5});
        break;
    case Glyph::AxisFourPoints:
        DrawAxes(p);
        DrawMarker(p, {7, 13});
        DrawMarker(p, {14, 13});
        DrawMarker(p, {6, 5});
        DrawMarker(p, {6, 10});
        break;
    case Glyph::RegionArea:
    case Glyph::RegionContour: {
        const QRectF area(3.5, 4.5, 12, 10);
        if (glyph == Glyph::RegionArea) {
            p.save();
            p.setClipRect(area);
            p.setPen(QPen(kBlue, 1));
            for (qreal x = -10; x < 20; x += 3)
                p.drawLine(QPointF(x, 4), QPointF(x + 11, 15));
            p.restore();
        }
        p.setPen(QPen(kInk, 1.2, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(area);
        break;
    }
    case Glyph::Digital:
        DrawAxes(p);
        DrawPolyline(p, kRed);
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        for (const QPointF c : {QPointF(7, 8), QPointF(10, 11), QPointF(13, 5)})
            p.drawEllipse(c, 1.5, 1.5);
        break;
    case Glyph::Clear: {
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(170, 210, 245));
        p.drawRect(QRectF(1.5, 3.5, 16, 12));
        p.setPen(Qt::NoPen);
        p.setBrush(kGreen);
        QPolygonF hills({{2, 15}, {7, 8}, {10, 12}, {13, 9}, {17, 15}});
        p.drawPolygon(hills);
        p.setBrush(kYellow);
        p.drawEllipse(QPointF(13.5, 6.5), 1.6, 1.6);
        break;
    }
    case Glyph::Series:
        DrawAxes(p);
        DrawPolyline(p, kBlue);
        break;
    case Glyph::ClearSeries:
        DrawAxes(p);
        DrawPolyline(p, kBlue);
        p.setPen(QPen(kRed, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(10, 9), QPointF(17, 16));
        p.drawLine(QPointF(17, 9), QPointF(10, 16));
        break;
    case Glyph::Undo:
        DrawTurnArrow(p, false);
        break;
    case Glyph::Redo:
        DrawTurnArrow(p, true);
        break;
    case Glyph::Exit: {
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(160, 110, 60));
        p.drawRect(QRectF(2.5, 1.5, 9, 16));
        p.setBrush(kYellow);
        p.drawEllipse(QPointF(9.5, 10), 0.8, 0.8);
        p.setPen(QPen(kRed, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(9, 9.5), QPointF(17, 9.5));
        p.drawLine(QPointF(17, 9.5), QPointF(14, 6.5));
        p.drawLine(QPointF(17, 9.5), QPointF(14, 12.5));
        break;
    }
    }
}

class GlyphEngine : public QIconEngine {
public:
    explicit GlyphEngine(Glyph glyph) : m_glyph(glyph) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        const QPixmap image = Render(rect.size(), ratio, mode, state);
        painter->drawPixmap(rect, image);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Render(size, 1.0, mode, state);
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return Render(size, scale, mode, state);
    }

    QIconEngine* clone() const override { return new GlyphEngine(m_glyph); }

private:
    QPixmap Render(QSize size, qreal ratio, QIcon::Mode mode, QIcon::State) const
    {
        QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            const qreal side = std::min(image.width(), image.height());
            p.translate((image.width() - side) / 2, (image.height() - side) / 2);
            p.scale(side / kGrid, side / kGrid);
            DrawGlyph(p, m_glyph);
        }
        if (mode == QIcon::Disabled) {
            for (int y = 0; y < image.height(); ++y) {
                auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
                for (int x = 0; x < image.width(); ++x) {
                    const QRgb colour = qUnpremultiply(row[x]);
                    const int grey = qGray(colour) / 2 + 96;
                    row[x] = qPremultiply(qRgba(grey, grey, grey, qAlpha(colour) / 2));
                }
            }
        }
        QPixmap pixmap = QPixmap::fromImage(image);
        pixmap.setDevicePixelRatio(ratio);
        return pixmap;
    }

    Glyph m_glyph;
};

} // namespace

QIcon GlyphIcon(Glyph glyph)
{
    return QIcon(new GlyphEngine(glyph));
}

} // namespace quillmark
