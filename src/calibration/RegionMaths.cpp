#include "calibration/RegionMaths.h"

#include "calibration/Calibration.h"

namespace quillmark {

RegionLimits RegionFromDrag(SurfacePoint start, SurfacePoint end, const PlotRect& rect,
                            const AxisLimits& limits)
{
    const AxisPoint a = PixelToAxis(start, rect, limits);
    const AxisPoint b = PixelToAxis(end, rect, limits);
    RegionLimits region;
    region.XMin = a.X;
    region.YMin = b.Y;
    region.XMax = b.X;
    region.YMax = a.Y;
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
