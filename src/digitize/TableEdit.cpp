#include "digitize/TableEdit.h"

#include "base/NumberText.h"

#include <cmath>
#include <limits>

namespace quillmark {

CellEditResult EditTableCell(DataPointList& points, int column, int row, std::string_view text,
                             std::string_view separator)
{
    if (column != 2 || text.empty() || row < 1 || static_cast<std::size_t>(row) > points.Count())
        return {};
    const auto index = static_cast<std::size_t>(row - 1);
    const double oldY = points[index].Y;
    const std::optional<long double> parsed = ParseNumber(text, separator);
    if (parsed && std::fabs(*parsed) <= std::numeric_limits<double>::max()) {
        points.SetY(index, static_cast<double>(*parsed));
        return CellEditResult{true, std::nullopt};
    }
    return CellEditResult{false, FullPrecisionText(oldY, separator)};
}

int NextTableRow(int row, int rowCount)
{
    return row + 1 < rowCount ? row + 1 : 1;
}

} // namespace quillmark
