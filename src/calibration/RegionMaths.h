#pragma once
// The digitizing region between its two forms: the drag on the plot surface
// (start and end pixel) and the four region limits in axis values, and from
// those limits back to the surface rectangle that tracing is given. Neither
// direction re-orders anything: a drag from right to left gives an X minimum
// above its maximum, and a left edge right of the right edge.
#include <cstdint>

#include "calibration/PlotGeometry.h"

namespace quillmark {

// Values of the four region edits.
struct RegionLimits {
    long double XMin = 0.0L; // drives the left edge
    long double XMax = 0.0L; // the right edge
    long double YMin = 0.0L; // the bottom edge
    long double YMax = 0.0L; // the top edge
};

// Limits of a finished drag: X minimum from the start column, Y minimum from
// the end row, X maximum from the end column, Y maximum from the start row.
RegionLimits RegionFromDrag(SurfacePosition start, SurfacePosition end, const PlotRect& rect,
                            const AxisLimits& limits);

// The region's surface rectangle: each limit's pixel column or row, rounded
// half to even and held within the 32-bit range.
SurfaceRect RegionToPixels(const RegionLimits& region, const PlotRect& rect, const AxisLimits& limits);

} // namespace quillmark
