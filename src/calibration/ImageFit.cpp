#include "calibration/ImageFit.h"

namespace quillmark {

namespace {

bool HasArea(const PlotRect& rect, const std::optional<PictureSize>& picture)
{
    return picture && rect.Width > 0 && rect.Height > 0 && picture->Width > 0 && picture->Height > 0;
}

} // namespace

AxisLimits LimitsForFit(const AxisLimits& limits, const PlotRect& rect,
                        std::optional<PictureSize> picture)
{
    if (!HasArea(rect, picture))
        return limits;
    const auto w = static_cast<long double>(rect.Width);
    const auto h = static_cast<long double>(rect.Height);
    const auto wp = static_cast<long double>(picture->Width);
    const auto hp = static_cast<long double>(picture->Height);
    const long double a = (limits.XMax - limits.XMin) * wp / w * (w / wp - 1.0L) / 2.0L;
    const long double b = (limits.YMax - limits.YMin) * hp / h * (h / hp - 1.0L) / 2.0L;
    return {limits.XMin + a, limits.XMax - a, limits.YMin + b, limits.YMax - b};
}

AxisLimits LimitsForActualSize(const AxisLimits& limits, const PlotRect& rect,
                               std::optional<PictureSize> picture)
{
    if (!HasArea(rect, picture))
        return limits;
    const auto w = static_cast<long double>(rect.Width);
    const auto h = static_cast<long double>(rect.Height);
    const auto wp = static_cast<long double>(picture->Width);
    const auto hp = static_cast<long double>(picture->Height);
    const long double a = (limits.XMax - limits.XMin) * (w / wp - 1.0L) / 2.0L;
    const long double b = (limits.YMax - limits.YMin) * (h / hp - 1.0L) / 2.0L;
    return {limits.XMin - a, limits.XMax + a, limits.YMin - b, limits.YMax + b};
}

} // namespace quillmark
