#include "digitize/DataPoints.h"

#include "base/Errors.h"

namespace quillmark {

std::size_t OrderedInsertIndex(std::span<const DataPoint> points, double x, bool ordered)
{
    if (!ordered)
        return points.size();
    for (std::size_t i = points.size(); i > 0; --i) {
        if (points[i - 1].X <= x)
            return i;
    }
    return 0;
}

std::size_t DataPointList::Add(DataPoint point)
{
    const std::size_t index = OrderedInsertIndex(m_points, point.X, m_ordered);
    m_points.insert(m_points.begin() + static_cast<std::ptrdiff_t>(index), std::move(point));
    return index;
}

void DataPointList::SetColourAtX(double x, std::optional<Color> colour)
{
    for (DataPoint& point : m_points) {
        if (point.X == x)
            point.Colour = colour;
    }
}

void DataPointList::Delete(std::size_t index)
{
    if (index >= m_points.size())
        throw InternalError("DataPointList::Delete: index out of range");
    m_points.erase(m_points.begin() + static_cast<std::ptrdiff_t>(index));
}

} // namespace quillmark
