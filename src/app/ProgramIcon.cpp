#include "app/ProgramIcon.h"

#include <QPainter>
#include <QPainterPath>

namespace quillmark {

QImage ProgramIconImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Drawn on a 256-unit square, like the scalable icon.
    p.scale(size / 256.0, size / 256.0);
    const QColor frame(0x3a, 0x4a, 0x6b);
    p.setPen(QPen(frame, 8));
    p.setBrush(QColor(0xfd, 0xfc, 0xf7));
    p.drawRoundedRect(QRectF(16, 16, 224, 224), 28, 28);
    if (size >= 32) {
        p.setPen(QPen(QColor(0x9f, 0xb3, 0xd9), 4));
        for (int x = 64; x <= 208; x += 48)
            p.drawLine(x, 40, x, 200);
        for (int y = 72; y <= 168; y += 48)
            p.drawLine(48, y, 216, y);
    }
    p.setPen(QPen(frame, 8, Qt::SolidLine, Qt::SquareCap));
    p.drawLine(40, 208, 40, 40);
    p.drawLine(40, 208, 224, 208);
    const QColor curve(0xd0, 0x31, 0x2d);
    QPainterPath path;
    const QPointF points[] = {{48, 184}, {80, 150}, {112, 162}, {144, 104}, {176, 92}, {208, 56}};
    path.moveTo(points[0]);
    for (const QPointF& pt : points)
        path.lineTo(pt);
    p.setPen(QPen(curve, size >= 32 ? 10 : 16, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    if (size >= 32) {
        p.setPen(QPen(curve, 6));
        p.setBrush(Qt::white);
        for (const QPointF& c : {points[1], points[3], points[5]})
            p.drawEllipse(c, 10, 10);
    }
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
