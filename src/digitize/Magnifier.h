#pragma once
// Geometry of the magnifier: the part of the plot surface around the pointer
// that is stretched over the magnifier picture.

namespace quillmark {

// How far the source rectangle reaches left and right (X) and up and down (Y)
// of the pointer, in plot-surface pixels.
struct MagnifierReach {
    int X = 0;
    int Y = 0;
};

// zoomIndex is the item index of the zoom box ("2", "4", "8", "16"): the
// picture's size is divided by 2 x (index + 2), so the items enlarge 2, 3, 4
// and 5 times.
MagnifierReach MagnifierSourceReach(int zoomIndex, int imageWidth, int imageHeight);

} // namespace quillmark
