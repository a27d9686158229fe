#pragma once
// Edits typed into the table. Row r (1 .. Count) shows point r - 1; column 1
// its X, column 2 its Y. Only a Y edit reaches the data: an X edit changes the
// cell's text alone, and an empty text changes nothing.
#include "digitize/DataPoints.h"

#include <optional>
#include <string>
#include <string_view>

namespace quillmark {

struct CellEditResult {
    bool YChanged = false;                 // the plot must be redrawn
    std::optional<std::string> CellText;   // text to put back into the cell
};

// A Y text that is not a number (with the given separator), or one beyond the
// range of a double, leaves the Y as it was and gives its full-precision text
// back for the cell. A row without a point (the empty rows kept after
// deleting all data) changes nothing.
CellEditResult EditTableCell(DataPointList& points, int column, int row, std::string_view text,
                             std::string_view separator);

// Enter in the table: the next row, or row 1 after the last one.
int NextTableRow(int row, int rowCount);

} // namespace quillmark
