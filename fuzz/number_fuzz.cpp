// Fuzz entry for the number texts typed into the spin edits and the table:
// the parser with both separators, the integer reader, and the table's Y-cell
// edit. A number that parses must survive its own full-precision text.
#include "base/Errors.h"
#include "base/NumberText.h"
#include "digitize/DataPoints.h"
#include "digitize/TableEdit.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace quillmark;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const std::string_view separator : {std::string_view(","), std::string_view(".")}) {
        const std::optional<long double> value = ParseNumber(text, separator);
        if (value && !std::isfinite(*value))
            std::abort();
        try {
            ParseNumberOrThrow(text, separator);
        } catch (const ConvertError&) {
            if (value)
                std::abort();
        }
        DataPointList points;
        points.Add(DataPoint{1.0, 2.0, {}, {}});
        for (int column = 0; column <= 3; ++column) {
            for (int row = -1; row <= 3; ++row) {
                const CellEditResult result = EditTableCell(points, column, row, text, separator);
                if (result.YChanged && !std::isfinite(points[0].Y))
                    std::abort();
            }
        }
        NextTableRow(static_cast<int>(size % 7), static_cast<int>(size % 5));
    }
    ParseInteger(text);
    return 0;
}
