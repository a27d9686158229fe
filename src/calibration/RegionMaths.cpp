#include "calibration/RegionMaths.h"

#include "calibration/Calibration.h"

#include <algorithm>

namespace quillmark {

RegionLimits RegionFromDrag(SurfacePosition start, SurfacePosition end, const PlotRect& rect,
                            const AxisLimits& limits)
{
    const AxisPoint a = PixelToAxis(start, rect, limits);
    const AxisPoint b = PixelToAxis(end, rect, limits);
    // The rectangle between the two corners, whichever way it was dragged.
    RegionLimits region;
    region.XMin = std::min(a.X, b.X);
    region.YMin = std::min(a.Y, b.Y);
    region.XMax = std::max(a.X, b.X);
    region.YMax = std::max(a.Y, b.Y);
    return region;
}

SurfaceRect RegionToPixels(const RegionLimits& region, const PlotRect& rect, const AxisLimits& limits)
{
    SurfaceRect edges;
    edges.Left = RoundToSurface(AxisToPixelX(region.XMin, rect, limits));
    edges.Top = RoundToSurface(AxisToPixelY(region.YMax, rect, limits));
    edges.Right = RoundToSurface(AxisToPixelX(region.XMax, rect, limits));
    edges.Bottom = RoundToSurface(AxisToPixelY(region.YMin, rect, limits));
    return edges;
}

} // namespace quillmark
