#include "ui/app/ProgramIcon.h"

#include <QPainter>
#include <QPainterPath>

namespace quillmark {

namespace {

// A sheet of graph paper with a traced curve and its digitized points, and a
// quill across the corner, on a 32 x 32 grid.
void DrawProgramIcon(QPainter& p, int side)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(side / 32.0, side / 32.0);
    p.setPen(QPen(QColor(70, 70, 90), 1));
    p.setBrush(QColor(250, 250, 240));
    p.drawRoundedRect(QRectF(2.5, 2.5, 27, 27), 2, 2);
    p.setPen(QPen(QColor(150, 180, 230), 0.6));
    for (int i = 1; i < 6; ++i) {
        p.drawLine(QPointF(2.5 + i * 4.5, 3), QPointF(2.5 + i * 4.5, 29));
        p.drawLine(QPointF(3, 2.5 + i * 4.5), QPointF(29, 2.5 + i * 4.5));
    }
    p.setPen(QPen(QColor(30, 30, 30), 1.4));
    p.drawLine(QPointF(5, 5), QPointF(5, 27));
    p.drawLine(QPointF(5, 27), QPointF(27, 27));
    QPainterPath curve(QPointF(6, 24));
    curve.cubicTo(QPointF(11, 6), QPointF(17, 26), QPointF(26, 9));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(200, 30, 30), 1.8));
    p.drawPath(curve);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 90, 200));
    for (const qreal t : {0.15, 0.4, 0.65, 0.9})
        p.drawEllipse(curve.pointAtPercent(t), 1.6, 1.6);
    QPainterPath quill(QPointF(17, 17));
    quill.quadTo(QPointF(24, 5), QPointF(31, 1));
    quill.quadTo(QPointF(27, 11), QPointF(17, 17));
    p.setBrush(QColor(120, 80, 30));
    p.drawPath(quill);
}

} // namespace

QImage ProgramIconImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    DrawProgramIcon(p, size);
    return image;
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(ProgramIconImage(size)));
    return icon;
}

} // namespace quillmark
