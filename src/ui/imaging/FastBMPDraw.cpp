#include "ui/imaging/FastBMPDraw.h"

#include <QPainter>

namespace quillmark {

QImage FastBMPImage(const TFastBMP& buffer)
{
    if (buffer.Empty())
        return {};
    return QImage(buffer.PixelData(), buffer.Width(), buffer.Height(), buffer.RowStride(), QImage::Format_BGR888);
}

void Draw(const TFastBMP& buffer, QImage& target, int x, int y)
{
    if (buffer.Empty() || target.isNull())
        return;
    QPainter painter(&target);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(x, y, FastBMPImage(buffer));
}

} // namespace quillmark
