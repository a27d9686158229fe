#pragma once
// Geometry of the magnifier: the picture's own pixels around the pointer,
// each drawn as a square block, the block of the pixel under the pointer on
// the cross hair in the middle of the magnifier.

namespace quillmark {

// Magnifier pixels per picture pixel side for the items "2", "4", "8" and
// "16" of the zoom box; no item chosen (index -1) reads as the first.
int MagnifierFactor(int zoomIndex);

// Which picture pixels fill the magnifier: columns FirstColumn onward and
// rows FirstRow onward, Columns x Rows of them, the first block's top-left
// corner at (Left, Top) of the magnifier (at or left of and above its edge).
struct MagnifierCells {
    long long FirstColumn = 0;
    long long FirstRow = 0;
    int Left = 0;
    int Top = 0;
    int Columns = 0;
    int Rows = 0;
};

// column and row: the picture pixel under the pointer. Its block covers
// width div 2 - factor div 2 .. + factor, and so downward, so the cross hair
// at (width div 2, height div 2) falls inside it.
MagnifierCells MagnifierLayout(long long column, long long row, int factor, int width, int height);

} // namespace quillmark
