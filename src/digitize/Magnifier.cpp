#include "digitize/Magnifier.h"

#include <algorithm>

namespace quillmark {

namespace {

// Blocks before the pointer's own along one side, and where the first starts.
void Span(int length, int factor, long long centre, long long& first, int& start, int& count)
{
    const int own = length / 2 - factor / 2;
    const int before = (own + factor - 1) / factor;
    first = centre - before;
    start = own - before * factor;
    count = (length - start + factor - 1) / factor;
}

} // namespace

int MagnifierFactor(int zoomIndex)
{
    return 2 << std::clamp(zoomIndex, 0, 3);
}

MagnifierCells MagnifierLayout(long long column, long long row, int factor, int width, int height)
{
    MagnifierCells cells;
    factor = std::max(factor, 1);
    Span(width, factor, column, cells.FirstColumn, cells.Left, cells.Columns);
    Span(height, factor, row, cells.FirstRow, cells.Top, cells.Rows);
    return cells;
}

} // namespace quillmark
