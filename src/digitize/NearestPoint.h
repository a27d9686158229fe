#pragma once
// Hit tests of manual editing, on the positions at which the plot draws the
// points (plot-surface pixels): the nearest point to a click, and whether a
// click lies in the selection square around a point.
#include "calibration/PlotGeometry.h"

#include <span>

namespace quillmark {

// Index of the point nearest to `at` by |dx| + |dy|, or -1 when drawn is empty.
// drawn holds the drawn positions of points 0 up to the last point the plot
// currently draws. Only a strictly smaller distance replaces the best, so of
// equal distances the lowest index wins.
int NearestPoint(std::span<const SurfacePoint> drawn, SurfacePoint at);

// True when `click` lies in the square of half-size `sensitivity` around
// `point`, edges included: with sensitivity 0 only the point's own pixel.
bool InSelectionSquare(SurfacePoint point, SurfacePoint click, int sensitivity);

} // namespace quillmark
