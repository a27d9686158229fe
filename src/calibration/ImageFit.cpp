#include "calibration/ImageFit.h"

#include "calibration/AxisMapping.h"

namespace quillmark {

namespace {

bool HasArea(const PlotRect& rect, const std::optional<PictureSize>& picture)
{
    return picture && rect.Width > 0 && rect.Height > 0 && picture->Width > 0 && picture->Height > 0;
}

} // namespace

AxisLimits LimitsForFit(const AxisLimits& given, const PlotRect& rect,
                        std::optional<PictureSize> picture)
{
    if (!HasArea(rect, picture))
        return given;
    // In each axis's space, where positions are linear.
    const AxisLimits limits = SpaceLimits(given);
    const auto w = static_cast<long double>(rect.Width);
    const auto h = static_cast<long double>(rect.Height);
    const auto wp = static_cast<long double>(picture->Width);
    const auto hp = static_cast<long double>(picture->Height);
    const long double a = (limits.XMax - limits.XMin) * wp / w * (w / wp - 1.0L) / 2.0L;
    const long double b = (limits.YMax - limits.YMin) * hp / h * (h / hp - 1.0L) / 2.0L;
    return LimitsFromSpace({limits.XMin + a, limits.XMax - a, limits.YMin + b, limits.YMax - b}, given.XKind,
                           given.YKind);
}

AxisLimits LimitsForActualSize(const AxisLimits& given, const PlotRect& rect,
                               std::optional<PictureSize> picture)
{
    if (!HasArea(rect, picture))
        return given;
    const AxisLimits limits = SpaceLimits(given);
    const auto w = static_cast<long double>(rect.Width);
    const auto h = static_cast<long double>(rect.Height);
    const auto wp = static_cast<long double>(picture->Width);
    const auto hp = static_cast<long double>(picture->Height);
    const long double a = (limits.XMax - limits.XMin) * (w / wp - 1.0L) / 2.0L;
    const long double b = (limits.YMax - limits.YMin) * (h / hp - 1.0L) / 2.0L;
    return LimitsFromSpace({limits.XMin - a, limits.XMax + a, limits.YMin - b, limits.YMax + b}, given.XKind,
                           given.YKind);
}

} // namespace quillmark
