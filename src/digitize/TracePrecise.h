#pragma once
// The pieces of the precise trace (PreciseTrace): every band of the line's
// colour in a column, following one line through columns that hold several,
// the sub-pixel centre of a band, and a colour sensitivity that fits the
// picture. TraceCurve puts them together; they are here for tests as well.
#include "digitize/Trace.h"

#include <cstdint>
#include <span>
#include <vector>

namespace quillmark {

// A run of rows of the line's colour: rows Top .. Bottom, the best value in
// it (the smallest colour distance, or the largest brightness).
struct TraceBand {
    std::int64_t Top = 0;
    std::int64_t Bottom = 0;
    int Best = 0;
};

// Every band of each sampled column within rows y0 .. y1: by colour, the
// runs of rows within the colour sensitivity; by brightness, the runs of
// rows at the column's largest brightness. Bands thicker than the line
// sensitivity are left out.
std::vector<std::vector<TraceBand>> CollectBands(const TFastRGB& picture, std::span<const std::int64_t> columns,
                                                 std::int64_t y0, std::int64_t y1, const TraceInput& input);

// The row of each sample ((top + bottom) halved, as the plain trace gives it)
// of the band nearest the row the samples accepted before predict, walking
// both ways from the sample whose only band is the clearest; -1 where no band
// lies near enough.
std::vector<std::int32_t> FollowBands(const std::vector<std::vector<TraceBand>>& bands, bool byColour);

// The centre of the band of rows top .. bottom in column u, in rows with the
// centre of row r at r + 0.5: the centroid of the rows top - 1 .. bottom + 1
// (within y0 .. y1), each weighed by how far it stands from the background
// (the rows two beyond the band) toward the line.
long double BandCentroid(const TFastRGB& picture, std::int64_t u, std::int64_t top, std::int64_t bottom,
                         std::int64_t y0, std::int64_t y1, const TraceInput& input);

// ByColour: the smallest colour sensitivity at which the plain rule finds
// the line in nearly every column where any sensitivity would, the columns
// whose nearest colour stands far apart from the rest (background) left out.
// nearest: each column's band of its nearest colour (Best the distance);
// without any band within the line sensitivity, fallback comes back.
int ChooseColourSensitivity(std::span<const TraceBand> nearest, int lineSens, int fallback);

} // namespace quillmark
