#pragma once
// A colour box offering the 16 standard colours, each drawn as a swatch
// followed by its name, in the fixed order Black .. White. The box holds one
// colour value; a colour outside the 16 (read from a settings file) is kept as
// an extra item at the end, so nothing stored is lost by showing it.
#include <QColor>
#include <QComboBox>
#include <QString>

#include <array>
#include <cstdint>

namespace quillmark {

struct StandardColour {
    const char* Name; // the name shown, e.g. "Blue"; the settings prefix it with "cl"
    QRgb Rgb;
};

inline constexpr std::array<StandardColour, 16> kStandardColours = {{
    {"Black", 0xFF000000},   {"Maroon", 0xFF800000}, {"Green", 0xFF008000},  {"Olive", 0xFF808000},
    {"Navy", 0xFF000080},    {"Purple", 0xFF800080}, {"Teal", 0xFF008080},   {"Gray", 0xFF808080},
    {"Silver", 0xFFC0C0C0},  {"Red", 0xFFFF0000},    {"Lime", 0xFF00FF00},   {"Yellow", 0xFFFFFF00},
    {"Blue", 0xFF0000FF},    {"Fuchsia", 0xFFFF00FF}, {"Aqua", 0xFF00FFFF},  {"White", 0xFFFFFFFF},
}};

class ColorBox : public QComboBox {
    Q_OBJECT
public:
    explicit ColorBox(QWidget* parent = nullptr);

    QColor Color() const;
    // Selects the matching standard colour, or an extra last item for any
    // other colour.
    void SetColor(const QColor& color);

    // The settings store colours as 0x00BBGGRR.
    std::uint32_t ColourValue() const;
    void SetColourValue(std::uint32_t value);

private:
    static QIcon Swatch(const QColor& color);
};

} // namespace quillmark
