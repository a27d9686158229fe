#include "ui/widgets/ColorBox.h"

#include <QPainter>
#include <QPixmap>

namespace quillmark {

namespace {

constexpr int kStandardCount = static_cast<int>(kStandardColours.size());

} // namespace

ColorBox::ColorBox(QWidget* parent) : QComboBox(parent)
{
    setIconSize(QSize(16, 12));
    for (const StandardColour& colour : kStandardColours) {
        const QColor color = QColor::fromRgb(colour.Rgb);
        addItem(Swatch(color), QString::fromLatin1(colour.Name), color);
    }
    setCurrentIndex(0);
}

QIcon ColorBox::Swatch(const QColor& color)
{
    QPixmap swatch(16, 12);
    swatch.fill(color);
    QPainter painter(&swatch);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, swatch.width() - 1, swatch.height() - 1);
    return QIcon(swatch);
}

QColor ColorBox::Color() const
{
    return currentData().value<QColor>();
}

void ColorBox::SetColor(const QColor& color)
{
    const QRgb rgb = color.rgb();
    for (int i = 0; i < kStandardCount; ++i) {
        if (itemData(i).value<QColor>().rgb() == rgb) {
            setCurrentIndex(i);
            return;
        }
    }
    const QColor opaque = QColor::fromRgb(rgb);
    const QString name = opaque.name(QColor::HexRgb).toUpper();
    if (count() > kStandardCount) {
        setItemIcon(kStandardCount, Swatch(opaque));
        setItemText(kStandardCount, name);
        setItemData(kStandardCount, opaque);
    } else {
        addItem(Swatch(opaque), name, opaque);
    }
    setCurrentIndex(kStandardCount);
}

std::uint32_t ColorBox::ColourValue() const
{
    const QColor c = Color();
    return static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8) |
           (static_cast<std::uint32_t>(c.blue()) << 16);
}

void ColorBox::SetColourValue(std::uint32_t value)
{
    // Values above 0x00FFFFFF name system colours; only the low bytes carry
    // a plain colour.
    SetColor(QColor(static_cast<int>(value & 0xFFu), static_cast<int>((value >> 8) & 0xFFu),
                    static_cast<int>((value >> 16) & 0xFFu)));
}

} // namespace quillmark
