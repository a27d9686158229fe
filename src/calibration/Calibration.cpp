#include "calibration/Calibration.h"

#include "calibration/AxisMapping.h"

#include <cmath>
#include <limits>
#include <string>

namespace quillmark {

namespace {

long double Wide(std::int32_t v)
{
    return static_cast<long double>(v);
}

long double Wide(long double v)
{
    return v;
}

bool Whole(SurfacePosition p)
{
    return std::floor(p.X) == p.X && std::floor(p.Y) == p.Y;
}

constexpr std::string_view kHintXminYmin = "Задайте точку Xmin и Ymin";
constexpr std::string_view kHintXmin = "Задайте точку Xmin";
constexpr std::string_view kHintXmaxYmax = "Задайте точку Xmax и Ymax";
constexpr std::string_view kHintXmax = "Задайте точку Xmax";
constexpr std::string_view kHintYmax = "Задайте точку Ymax";
constexpr std::string_view kHintYmin = "Задайте точку Ymin";

constexpr std::uint8_t Slot(int index)
{
    return static_cast<std::uint8_t>(1U << index);
}

} // namespace

AxisPoint PixelToAxis(SurfacePosition pixel, const PlotRect& rect, const AxisLimits& limits)
{
    // The linear rule in each axis's space (see AxisMapping).
    const AxisLimits s = SpaceLimits(limits);
    AxisPoint p;
    p.X = s.XMin + (s.XMax - s.XMin) * (Wide(pixel.X) - Wide(rect.Left)) / Wide(rect.Width);
    p.Y = s.YMax - (s.YMax - s.YMin) * (Wide(pixel.Y) - Wide(rect.Top)) / Wide(rect.Height);
    p.X = XMapping(limits).FromSpace(p.X);
    p.Y = YMapping(limits).FromSpace(p.Y);
    return p;
}

long double AxisToPixelX(long double x, const PlotRect& rect, const AxisLimits& limits)
{
    const AxisLimits s = SpaceLimits(limits);
    x = XMapping(limits).ToSpace(x);
    return Wide(rect.Left) + (x - s.XMin) * Wide(rect.Width) / (s.XMax - s.XMin);
}

long double AxisToPixelY(long double y, const PlotRect& rect, const AxisLimits& limits)
{
    const AxisLimits s = SpaceLimits(limits);
    y = YMapping(limits).ToSpace(y);
    return Wide(rect.Top) + (s.YMax - y) * Wide(rect.Height) / (s.YMax - s.YMin);
}

std::optional<ReferenceClick> ReferenceClickStep(CalibrationMethod method, std::int32_t count)
{
    switch (method) {
    case CalibrationMethod::TwoPoints:
        if (count == 0)
            return ReferenceClick{static_cast<std::uint8_t>(Slot(0) | Slot(3)), kHintXmaxYmax, false};
        if (count == 1)
            return ReferenceClick{static_cast<std::uint8_t>(Slot(1) | Slot(2)), {}, true};
        break;
    case CalibrationMethod::ThreePoints:
        if (count == 0)
            return ReferenceClick{static_cast<std::uint8_t>(Slot(0) | Slot(3)), kHintXmax, false};
        if (count == 1)
            return ReferenceClick{Slot(1), kHintYmax, false};
        if (count == 2)
            return ReferenceClick{Slot(2), {}, true};
        break;
    case CalibrationMethod::FourPoints:
        if (count == 0)
            return ReferenceClick{Slot(0), kHintXmax, false};
        if (count == 1)
            return ReferenceClick{Slot(1), kHintYmin, false};
        if (count == 2)
            return ReferenceClick{Slot(3), kHintYmax, false};
        if (count == 3)
            return ReferenceClick{Slot(2), {}, true};
        break;
    }
    return std::nullopt;
}

std::string_view CalibrationEntryHint(CalibrationMethod method)
{
    return method == CalibrationMethod::FourPoints ? kHintXmin : kHintXminYmin;
}

std::string_view CalibrationButtonHint(CalibrationMethod method)
{
    switch (method) {
    case CalibrationMethod::TwoPoints:
        return "Привязка координат по 2 точкам";
    case CalibrationMethod::ThreePoints:
        return "Привязка координат по 3 точкам";
    case CalibrationMethod::FourPoints:
        return "Привязка координат по 4 точкам";
    }
    return {};
}

AxisRange SolveXAxis(const AxisPointSlots& slots, const ReferenceValues& values, const PlotRect& rect)
{
    const long double x0 = Wide(slots[0].X);
    const long double x1 = Wide(slots[1].X);
    if (x1 == x0)
        throw CalibrationError(std::string(kXReferencesCoincide));
    const long double kx = (values.XMax - values.XMin) / (x1 - x0);
    AxisRange range;
    range.Min = values.XMin - kx * (x0 - Wide(rect.Left));
    range.Max = values.XMax + kx * (Wide(rect.Left) + Wide(rect.Width) - x1);
    return range;
}

AxisRange SolveYAxis(const AxisPointSlots& slots, const ReferenceValues& values, const PlotRect& rect)
{
    const long double yTop = Wide(slots[2].Y);    // the Y-max reference
    const long double yBottom = Wide(slots[3].Y); // the Y-min reference
    if (yBottom == yTop)
        throw CalibrationError(std::string(kYReferencesCoincide));
    const long double ky = (values.YMax - values.YMin) / (yBottom - yTop);
    AxisRange range;
    range.Max = values.YMax + ky * (yTop - Wide(rect.Top));
    range.Min = values.YMin - ky * (Wide(rect.Top) + Wide(rect.Height) - yBottom);
    return range;
}

AxisLimits SolveCalibrationLimits(const AxisPointSlots& slots, const ReferenceValues& values,
                                  const PlotRect& rect)
{
    const AxisRange x = SolveXAxis(slots, values, rect);
    const AxisRange y = SolveYAxis(slots, values, rect);
    return {x.Min, x.Max, y.Min, y.Max};
}

AxisLimits SolveCalibrationKinds(const AxisPointSlots& slots, const ReferenceValues& values, const PlotRect& rect,
                                 bool xLog, bool yLog)
{
    const auto space = [](long double v, bool log, std::string_view refusal) {
        if (!log)
            return v;
        if (!(v > 0) || !std::isfinite(v))
            throw CalibrationError(std::string(refusal));
        return std::log10(v);
    };
    const ReferenceValues s{space(values.XMin, xLog, kLogXNeedsPositive), space(values.XMax, xLog, kLogXNeedsPositive),
                            space(values.YMin, yLog, kLogYNeedsPositive), space(values.YMax, yLog, kLogYNeedsPositive)};
    const AxisRange x = SolveXAxis(slots, s, rect);
    const AxisRange y = SolveYAxis(slots, s, rect);
    // Min is the value at the start of each axis (left, bottom) in space.
    const AxisKind xKind{xLog, x.Min > x.Max};
    const AxisKind yKind{yLog, y.Min > y.Max};
    return LimitsFromSpace(AxisLimits(x.Min, x.Max, y.Min, y.Max), xKind, yKind);
}

long double StraighteningAngle(const AxisPointSlots& slots)
{
    const long double thetaX = std::atan2(Wide(slots[1].Y) - Wide(slots[0].Y),
                                          Wide(slots[1].X) - Wide(slots[0].X));
    const long double thetaY = std::atan2(Wide(slots[2].X) - Wide(slots[3].X),
                                          Wide(slots[3].Y) - Wide(slots[2].Y));
    return (thetaX + thetaY) / 2.0L;
}

SurfacePosition RotateAboutCentre(SurfacePosition point, long double theta, const PlotRect& rect,
                                  PictureSize picture, bool fitted)
{
    if (rect.Width <= 0 || rect.Height <= 0 || !std::isfinite(theta))
        return point;
    if (fitted && (picture.Width <= 0 || picture.Height <= 0))
        return point;

    const long double w = Wide(rect.Width);
    const long double h = Wide(rect.Height);
    // Work in picture pixels when the picture is stretched over the plot,
    // else in plot pixels, where the centred picture has the plot's centre.
    const long double wp = fitted ? Wide(picture.Width) : w;
    const long double hp = fitted ? Wide(picture.Height) : h;
    const long double u = (Wide(point.X) - Wide(rect.Left)) * wp / w;
    const long double v = (Wide(point.Y) - Wide(rect.Top)) * hp / h;
    const long double cx = wp / 2.0L;
    const long double cy = hp / 2.0L;

    const long double r = std::sqrt((cx - u) * (cx - u) + (cy - v) * (cy - v));
    const long double phi = std::atan2(cy - v, u - cx);
    const long double u2 = cx + r * std::cos(phi + theta);
    const long double v2 = cy - r * std::sin(phi + theta);

    if (!Whole(point))
        return {w * u2 / wp + Wide(rect.Left), h * v2 / hp + Wide(rect.Top)};
    // Rounded before the offset is added: halves go to the even neighbour of
    // the position inside the rectangle.
    return SurfacePoint{RoundToSurface(std::nearbyint(w * u2 / wp) + Wide(rect.Left)),
                        RoundToSurface(std::nearbyint(h * v2 / hp) + Wide(rect.Top))};
}

AxisPointSlots RotateSlotsAboutCentre(const AxisPointSlots& slots, long double theta,
                                      const PlotRect& rect, PictureSize picture, bool fitted)
{
    if (theta == 0.0L)
        return slots;
    AxisPointSlots turned = slots;
    for (SurfacePosition& p : turned)
        p = RotateAboutCentre(p, theta, rect, picture, fitted);
    return turned;
}

} // namespace quillmark
