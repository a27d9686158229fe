#pragma once
// The program's own toolbar glyphs, drawn as vectors on a 19 x 19 grid so they
// stay sharp at any size and device pixel ratio. Disabled glyphs are drawn in
// grey by the icon itself.
#include <QIcon>

namespace quillmark {

enum class Glyph {
    OpenImage,
    SaveData,
    Copy,
    Undo,
    Redo,
    Tools,
    Table,
    Stretch,
    AxisTwoPoints,
    AxisThreePoints,
    AxisFourPoints,
    RegionArea,
    RegionContour,
    Digital,
    Clear,
    Series,
    ClearSeries,
    Exit,
};

QIcon GlyphIcon(Glyph glyph);

} // namespace quillmark
