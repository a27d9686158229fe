#include "digitize/NearestPoint.h"

#include <cstdint>
#include <cstdlib>

namespace quillmark {

namespace {

// In 64 bits, so that positions far off the surface cannot overflow the sum.
std::int64_t Distance(SurfacePoint a, SurfacePoint b)
{
    return std::abs(std::int64_t{a.X} - b.X) + std::abs(std::int64_t{a.Y} - b.Y);
}

} // namespace

int NearestPoint(std::span<const SurfacePoint> drawn, SurfacePoint at)
{
    if (drawn.empty())
        return -1;
    std::size_t best = 0;
    std::int64_t bestDistance = Distance(drawn[0], at);
    for (std::size_t i = 1; i < drawn.size(); ++i) {
        const std::int64_t d = Distance(drawn[i], at);
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return static_cast<int>(best);
}

bool InSelectionSquare(SurfacePoint point, SurfacePoint click, int sensitivity)
{
    const std::int64_t s = sensitivity;
    return std::int64_t{point.X} - s <= click.X && click.X <= std::int64_t{point.X} + s
        && std::int64_t{point.Y} - s <= click.Y && click.Y <= std::int64_t{point.Y} + s;
}

} // namespace quillmark
