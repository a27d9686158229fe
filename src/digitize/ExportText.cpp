#include "digitize/ExportText.h"

#include "base/NumberText.h"

namespace quillmark {

namespace {

void AppendLine(std::string& out, const std::string& x, char between, const std::string& y)
{
    out += x;
    out += between;
    out += y;
    out += "\r\n";
}

} // namespace

std::string DataFileText(std::span<const DataPoint> points, long double digitsOption, std::string_view separator)
{
    std::string out;
    for (const DataPoint& point : points)
        AppendLine(out, ExponentText(point.X, digitsOption, separator), ' ',
                   ExponentText(point.Y, digitsOption, separator));
    return out;
}

std::string ClipboardText(std::span<const DataPoint> points, std::string_view separator)
{
    std::string out;
    for (const DataPoint& point : points)
        AppendLine(out, FullPrecisionText(point.X, separator), '\t', FullPrecisionText(point.Y, separator));
    return out;
}

} // namespace quillmark
