#pragma once
// The digitized curve as a list of points addressed by index 0 .. Count() - 1.
// With ordering on, every point added goes after the last point whose X is not
// greater than its own, so a list built only by Add stays in ascending X and
// equal X values keep the order in which they came. Moving a point (SetX) and
// switching the ordering never re-sort: the Y list is not ordered at all.
#include "formats/Bitmap.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quillmark {

struct DataPoint {
    double X = 0.0;
    double Y = 0.0;
    std::string Label;                 // empty for traced points
    std::optional<Color> Colour;   // no colour: drawn in the series colour
    bool Filled = false;               // traced where no line was found: filled from its neighbours

    friend bool operator==(const DataPoint&, const DataPoint&) = default;
};

// Where a point with the given X goes: with ordering on, directly after the
// last point (scanning from the end) whose X is not greater than x, or at 0
// when there is none; with ordering off, at the end. A list that was un-sorted
// by moving points is searched the same way, from the end.
std::size_t OrderedInsertIndex(std::span<const DataPoint> points, double x, bool ordered);

class DataPointList {
public:
    explicit DataPointList(bool ordered = true) : m_ordered(ordered) {}

    bool Ordered() const { return m_ordered; }
    // Applies to points added later; the points already there keep their order.
    void SetOrdered(bool ordered) { m_ordered = ordered; }

    std::size_t Count() const { return m_points.size(); }
    bool Empty() const { return m_points.empty(); }
    const DataPoint& operator[](std::size_t index) const { return m_points.at(index); }
    std::span<const DataPoint> Points() const { return m_points; }

    // Returns the index the point landed at.
    std::size_t Add(DataPoint point);
    // Keeps the point's index even when the new X breaks the ascending order.
    void SetX(std::size_t index, double x) { m_points.at(index).X = x; }
    // A value set by hand is no longer a filled one.
    void SetY(std::size_t index, double y)
    {
        m_points.at(index).Y = y;
        m_points.at(index).Filled = false;
    }
    void SetColour(std::size_t index, std::optional<Color> colour) { m_points.at(index).Colour = colour; }
    // Marker colours go by X value: every point at exactly this X takes the colour.
    void SetColourAtX(double x, std::optional<Color> colour);
    void Delete(std::size_t index);
    void Clear() { m_points.clear(); }
    // A trace replaces the whole list; its points come in ascending X already.
    void Replace(std::vector<DataPoint> points) { m_points = std::move(points); }

private:
    std::vector<DataPoint> m_points;
    bool m_ordered;
};

} // namespace quillmark
