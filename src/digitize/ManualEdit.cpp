#include "digitize/ManualEdit.h"

#include "base/NumberText.h"
#include "digitize/NearestPoint.h"

namespace quillmark {

namespace {

// The selection as an index, or nothing when it names no point; a stale
// selection is ended here so that it is never used.
std::optional<std::size_t> ValidSelection(const DataPointList& points, int& selectedIndex)
{
    if (selectedIndex < 0)
        return std::nullopt;
    const auto index = static_cast<std::size_t>(selectedIndex);
    if (index >= points.Count()) {
        selectedIndex = -1;
        return std::nullopt;
    }
    return index;
}

} // namespace

EditResult PlacePoint(DataPointList& points, int& selectedIndex, const EditClick& click, const EditColours& colours,
                      std::string_view separator)
{
    const double x = static_cast<double>(click.Value.X);
    const double y = static_cast<double>(click.Value.Y);
    if (const auto selected = ValidSelection(points, selectedIndex)) {
        // The point keeps its index even when its new X breaks the order.
        if (click.Manual)
            points.SetX(*selected, x);
        points.SetY(*selected, y);
        points.SetColourAtX(points[*selected].X, colours.Point);
        selectedIndex = -1;
        return EditResult{EditAction::Moved, *selected};
    }
    if (!click.Manual)
        return EditResult{};
    const std::size_t index = points.Add(DataPoint{x, y, FullPrecisionText(x, separator), colours.Point});
    return EditResult{EditAction::Added, index};
}

EditResult ClickSeries(DataPointList& points, int& selectedIndex, std::span<const SurfacePoint> drawn,
                       const EditClick& click, const EditColours& colours, std::string_view separator)
{
    // The plot cannot draw more points than there are.
    if (drawn.size() > points.Count())
        drawn = drawn.first(points.Count());
    const int nearest = NearestPoint(drawn, click.At);
    if (nearest < 0 || !InSelectionSquare(drawn[static_cast<std::size_t>(nearest)], click.At, click.Sensitivity))
        return PlacePoint(points, selectedIndex, click, colours, separator);

    const auto n = static_cast<std::size_t>(nearest);
    if (const auto selected = ValidSelection(points, selectedIndex)) {
        points.SetColourAtX(points[*selected].X, colours.Point);
        if (*selected == n) {
            selectedIndex = -1;
            return EditResult{EditAction::Deselected, n};
        }
    }
    points.SetColourAtX(points[n].X, colours.SelectPoint);
    selectedIndex = nearest;
    return EditResult{EditAction::Selected, n};
}

EditResult RightClickSeries(DataPointList& points, int& selectedIndex, std::span<const SurfacePoint> drawn,
                            const EditClick& click)
{
    if (!click.Manual)
        return EditResult{};
    const auto selected = ValidSelection(points, selectedIndex);
    if (!selected || *selected >= drawn.size() || !InSelectionSquare(drawn[*selected], click.At, click.Sensitivity))
        return EditResult{};
    points.Delete(*selected);
    selectedIndex = -1;
    return EditResult{EditAction::Deleted, *selected};
}

} // namespace quillmark
