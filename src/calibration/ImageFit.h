#pragma once
// Axis limits across the switch between a picture stretched over the plot
// rectangle (fit) and a picture centred at its own size. Both ranges are
// rescaled about their middles so that every picture feature keeps its axis
// value: at actual size the picture spans Wp of the W plot pixels, fitting
// makes that span the whole range, and the way back widens it again. Long
// double throughout.
#include <optional>

#include "calibration/PlotGeometry.h"

namespace quillmark {

// Limits after switching to fit. Without a picture, or with a plot rectangle
// or picture without area, the limits come back unchanged.
AxisLimits LimitsForFit(const AxisLimits& limits, const PlotRect& rect,
                        std::optional<PictureSize> picture);

// Limits after switching to actual size; the inverse of LimitsForFit.
AxisLimits LimitsForActualSize(const AxisLimits& limits, const PlotRect& rect,
                               std::optional<PictureSize> picture);

} // namespace quillmark
