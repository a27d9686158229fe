#pragma once
// Point calibration: the axes are linear, so the transform is the pair of axis
// ranges over the plot rectangle,
//     x = XMin + (XMax - XMin) * (px - L) / W
//     y = YMax - (YMax - YMin) * (py - T) / H      (rows grow downward).
// A calibration picks the ranges that put the clicked reference pixels on the
// typed values: X from the columns of slots 0 and 1, Y from the rows of slots
// 3 and 2. A tilted picture can first be straightened by the mean tilt of its
// axes. L, T, W, H are the plot rectangle's Left, Top, Width and Height. All
// arithmetic is long double.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "base/Errors.h"
#include "calibration/AxisScale.h"
#include "calibration/PlotGeometry.h"

namespace quillmark {

// A calibration whose references leave a scale undefined.
class CalibrationError : public QuillmarkError {
public:
    using QuillmarkError::QuillmarkError;
};

inline constexpr std::string_view kXReferencesCoincide = "Точки привязки по оси X совпадают";
inline constexpr std::string_view kYReferencesCoincide = "Точки привязки по оси Y совпадают";

// The glyph index of the calibration button; the values are stored in the
// settings file.
enum class CalibrationMethod : std::int32_t { TwoPoints = 0, ThreePoints = 1, FourPoints = 2 };

// The reference positions of one calibration, in plot-surface pixels (with
// fractions when clicked on a zoomed view). Slot 0: X-min reference, slot 1:
// X-max, slot 2: Y-max, slot 3: Y-min.
using AxisPointSlots = std::array<SurfacePosition, 4>;

// The values typed into the value dialog. Nothing orders them.
struct ReferenceValues {
    long double XMin = 0.0L;
    long double XMax = 0.0L;
    long double YMin = 0.0L;
    long double YMax = 0.0L;
};

AxisPoint PixelToAxis(SurfacePosition pixel, const PlotRect& rect, const AxisLimits& limits);

// The inverse of PixelToAxis, as fractional surface pixels.
long double AxisToPixelX(long double x, const PlotRect& rect, const AxisLimits& limits);
long double AxisToPixelY(long double y, const PlotRect& rect, const AxisLimits& limits);

// What one reference click does, by method and by the click count before it.
struct ReferenceClick {
    std::uint8_t Slots = 0;       // bit i set: slot i takes the click position
    std::string_view NextHint;    // hint shown afterwards; empty when unchanged
    bool Solve = false;           // the last click: solve afterwards
};

// Nothing for a count past the method's last click: such a click only counts.
std::optional<ReferenceClick> ReferenceClickStep(CalibrationMethod method, std::int32_t count);

// Hint shown on entering calibration mode.
std::string_view CalibrationEntryHint(CalibrationMethod method);

// Hint of the calibration button.
std::string_view CalibrationButtonHint(CalibrationMethod method);

// New bounds of one axis. The result need not be ordered: an inverted or
// empty range is refused later by the axis range check. Throws
// CalibrationError when the two references share a pixel column (X) or a
// pixel row (Y), which leaves the scale undefined.
AxisRange SolveXAxis(const AxisPointSlots& slots, const ReferenceValues& values, const PlotRect& rect);
AxisRange SolveYAxis(const AxisPointSlots& slots, const ReferenceValues& values, const PlotRect& rect);

// Both axes, checked together: an undefined scale on either axis throws
// before anything is returned, so a refused calibration changes nothing.
AxisLimits SolveCalibrationLimits(const AxisPointSlots& slots, const ReferenceValues& values,
                                  const PlotRect& rect);

inline constexpr std::string_view kLogXNeedsPositive = "На логарифмической оси X значения должны быть больше нуля";
inline constexpr std::string_view kLogYNeedsPositive = "На логарифмической оси Y значения должны быть больше нуля";

// Both axes with their kinds: on a logarithmic axis the references are solved
// in log10 (a value that is not positive throws CalibrationError naming the
// axis); an axis whose values fall where the pixels rise (X to the right, Y
// upward) comes back reversed, its limits ordered Min < Max. No threshold
// limits the range: the maths is per axis.
AxisLimits SolveCalibrationKinds(const AxisPointSlots& slots, const ReferenceValues& values, const PlotRect& rect,
                                 bool xLog, bool yLog);

// Straightening is offered for three and four points only.
inline bool StraighteningApplies(CalibrationMethod method, bool rotateOption)
{
    return rotateOption && method != CalibrationMethod::TwoPoints;
}

// Mean tilt of the clicked axes in radians; positive when the X axis falls to
// the right on the screen (and the Y axis leans right at its top).
long double StraighteningAngle(const AxisPointSlots& slots);

inline constexpr long double kDegreesPerRadian = 57.29577951308232L;

// Turns a reference pixel about the picture centre by theta (radians) so that
// it stays on its picture feature after the picture is turned by theta
// counter-clockwise. Fitted: the picture (picture pixels) is stretched over the
// plot rectangle; otherwise it sits centred at actual size and the turn is
// about the plot rectangle's centre. A whole-pixel point turns onto a whole
// pixel (rounded half to even, held within the 32-bit range), as the turned
// picture's pixels lie; a point with a fraction keeps its fraction. A plot
// rectangle or picture without area leaves the point as it is.
SurfacePosition RotateAboutCentre(SurfacePosition point, long double theta, const PlotRect& rect,
                                  PictureSize picture, bool fitted);

// All four slots, in slot order; nothing moves when theta is exactly 0.
AxisPointSlots RotateSlotsAboutCentre(const AxisPointSlots& slots, long double theta,
                                      const PlotRect& rect, PictureSize picture, bool fitted);

} // namespace quillmark
