#pragma once
// Manual entry and editing on the point list: placing a point, selecting and
// deselecting one by clicking within the selection square of its drawn
// position, moving the selected point with the next click, and deleting it
// with a right click (method Manual). The selection is an index into the list,
// -1 for none; a selection that no longer names a point (the list was traced
// or emptied since) is treated as none and ended. Marker colours go by X
// value, as the list assigns them.
#include "digitize/DataPoints.h"

#include "calibration/PlotGeometry.h"
#include "formats/Bitmap.h"

#include <cstddef>
#include <span>
#include <string_view>

namespace quillmark {

struct EditColours {
    Color Point;         // points added or handled by hand
    Color SelectPoint;   // the selected point
};

enum class EditAction {
    None,
    Added,        // a new point at Index: rewrite the whole table
    Moved,        // the point at Index moved: rewrite its row (X only in Manual)
    Selected,     // Index is now the selected point
    Deselected,   // the selection ended without a change of the data
    Deleted,      // the point that was at Index is gone: rewrite the whole table
};

struct EditResult {
    EditAction Action = EditAction::None;
    std::size_t Index = 0;
};

// Everything a click hands to the editing rules.
struct EditClick {
    SurfacePoint At;       // the click on the plot surface
    AxisPoint Value;       // the click converted by PixelToAxis
    bool Manual = true;    // method Manual; false for Edit
    int Sensitivity = 1;   // half-size of the selection square
};

// A click that selects nothing: moves the selected point there (in Edit only
// its Y), or in Manual without a selection adds a point labelled with its X in
// full-precision text. Edit without a selection does nothing.
EditResult PlacePoint(DataPointList& points, int& selectedIndex, const EditClick& click, const EditColours& colours,
                      std::string_view separator);

// A left click on the drawn series. drawn holds the drawn positions of points
// 0 up to the last point the plot draws. The nearest point, if the click lies
// in its selection square, is selected, or deselected when it was the
// selected one; any other click places a point.
EditResult ClickSeries(DataPointList& points, int& selectedIndex, std::span<const SurfacePoint> drawn,
                       const EditClick& click, const EditColours& colours, std::string_view separator);

// A right click on the drawn series: in Manual, a click in the selection
// square of the selected point deletes it and ends the selection.
EditResult RightClickSeries(DataPointList& points, int& selectedIndex, std::span<const SurfacePoint> drawn,
                            const EditClick& click);

} // namespace quillmark
