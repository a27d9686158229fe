#pragma once
// Every conversion between the core's plain types and Qt's, in one place:
// colours, rectangles and points, strings, the decimal separator and the
// point lists the plot draws.
#include "calibration/PlotGeometry.h"
#include "formats/Bitmap.h"

#include <QColor>
#include <QLocale>
#include <QRect>
#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace quillmark {

inline Color ToCoreColour(const QColor& colour)
{
    return Color{static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
                 static_cast<std::uint8_t>(colour.blue())};
}

// An invalid colour is "no colour of its own" (drawn in the series colour).
inline std::optional<Color> ToCoreColourOrNone(const QColor& colour)
{
    if (!colour.isValid())
        return std::nullopt;
    return ToCoreColour(colour);
}

inline QColor ToQColor(const Color& colour)
{
    return QColor(colour.Red, colour.Green, colour.Blue);
}

inline QColor ToQColor(const std::optional<Color>& colour)
{
    return colour ? ToQColor(*colour) : QColor();
}

inline PlotRect ToPlotRect(const QRect& r)
{
    return PlotRect{r.left(), r.top(), r.width(), r.height()};
}

inline QString ToQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToStdString(const QString& text)
{
    return text.toStdString();
}

// The decimal separator of the user's locale, as core takes it.
inline std::string LocaleSeparator()
{
    return QLocale::system().decimalPoint().toStdString();
}

} // namespace quillmark
