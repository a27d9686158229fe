#pragma once
// Automatic tracing: the picture is sampled column by column, left to right, at
// a step of S pixels (fractional steps allowed; a column is the sample position
// rounded half to even). In each column the line is the band of rows holding
// the brightest pixels (MaxBrightness) or the pixels closest to the line colour
// (ByColour); a band thicker than the line sensitivity, or a colour too far
// off, finds nothing there. Columns without a line are interpolated from their
// neighbours, and every sample becomes one point whose axis values follow from
// the axis limits and the display mode (stretched over the plot area, or at
// actual size centred in it).
//
// TraceCurve is a pure function of its inputs: the window and the batch
// command pass the same TraceInput and get the same points to the last digit.
#include "digitize/DataPoints.h"

#include "base/Errors.h"
#include "calibration/PlotGeometry.h"
#include "formats/Bitmap.h"
#include "imaging/FastRGB.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace quillmark {

// Item indices of the method box that trace (Manual and Edit do not).
enum class TraceMethod { MaxBrightness = 0, ByColour = 1 };

// Item index of the step-unit box.
enum class StepUnit { Pixels = 0, AxisUnits = 1 };

// The precise trace's options, all off by default (then the trace is the one
// described above, to the bit).
struct PreciseTrace {
    // The row of an accepted column is the weighted centroid of its band,
    // widened by a row on each side, and every value is taken at the centre of
    // its pixel (column u + 0.5, row r + 0.5).
    bool SubPixel = false;
    // Columns without a line give no point instead of a filled one.
    bool NoFill = false;
    // A column with several bands of the line's colour takes the one nearest
    // the row the accepted columns before it predict, starting from the
    // column where the band is clearest.
    bool Follow = false;
    // ByColour: the smallest colour sensitivity at which the line is found in
    // nearly as many columns as with any sensitivity.
    bool AutoSens = false;
    bool operator==(const PreciseTrace&) const = default;
};

// Everything a trace reads. The defaults are the start values of the controls;
// the batch command sets Plot to the picture (PlotFilledByPicture) and keeps
// the stretched mode.
struct TraceInput {
    PlotRect Plot;                        // the plot area on the plot surface
    // Axis limits of the plot area; XMin and YMin are also the axis minima that
    // offset the conversion to axis values.
    double XMin = 0.0;
    double XMax = 10.0;
    double YMin = -3.0;
    double YMax = 3.0;
    AxisKind XKind;                       // log and reversed axes: values from the axis's space
    AxisKind YKind;
    bool Stretched = true;                // false: actual size, centred
    double Step = 1.0;                    // in Unit; must be positive
    StepUnit Unit = StepUnit::Pixels;
    // The region as the plot draws it (RegionToPixels), only while it is
    // switched on. Not re-ordered: a region dragged right to left has
    // Left > Right and scans no column.
    std::optional<SurfaceRect> Region;
    TraceMethod Method = TraceMethod::MaxBrightness;
    int LineSens = 50;                    // thickest accepted band, in rows
    int ColorSens = 50;                   // largest accepted colour distance, 0..765
    Color LineColour;                     // target of ByColour
    PreciseTrace Precise;
};

// The plot rectangle of the batch command: the picture fills it exactly.
inline PlotRect PlotFilledByPicture(int width, int height) { return PlotRect{0, 0, width, height}; }

// Raised when a trace is refused before any column is read.
class TraceError : public QuillmarkError {
public:
    using QuillmarkError::QuillmarkError;
};

// Samples are bounded so that a tiny step can neither hang the trace nor make
// it allocate without limit: 2^22 samples is 64 per column across the widest
// picture (65535 columns).
inline constexpr std::size_t kMaxTraceSamples = std::size_t{1} << 22;

enum class TracePass { Sampling, GapFilling, Values };

// Called after every sample of each pass (done counts from 1 to total); the
// window lets pending events run there. It may throw to abandon the trace.
// TraceCurve keeps reading the picture between calls, so nothing that runs in
// the callback may free or rewrite it: opening a picture and adjusting one
// must be disabled while a trace runs.
using TraceProgress = std::function<void(TracePass pass, std::size_t done, std::size_t total)>;

enum class TraceStatus {
    Traced,        // Points holds one point per sample
    NoLineFound,   // no sampled column found the line (or nothing was sampled): no points
};

struct TraceResult {
    TraceStatus Status = TraceStatus::NoLineFound;
    // One entry per sample: the picture row of the line's centre after gap
    // filling; all -1 when no line was found.
    std::vector<std::int32_t> TraceBuffer;
    std::vector<DataPoint> Points;   // in sample order, which is ascending X
    std::size_t Found = 0;           // samples where the line was found
    std::size_t Samples = 0;         // samples taken (columns scanned)
    int ColourSensitivity = -1;      // the sensitivity AutoSens chose; -1 when it did not run
};

// Throws TraceError when the step is not positive (a zero axis step, or
// XMax <= XMin in axis units), the plot area is empty, or the step is so small
// that the scan would exceed kMaxTraceSamples. An empty picture traces nothing.
TraceResult TraceCurve(const TFastRGB& picture, const TraceInput& input, const TraceProgress& progress = {});

// The pieces of TraceCurve, for the window and for tests.

long double XUnitsPerPixel(const TraceInput& input);
long double YUnitsPerPixel(const TraceInput& input);

// The step in picture pixels; throws TraceError unless it is positive and finite.
long double TraceStepPixels(const TraceInput& input, int pictureWidth);

// Offset of the picture inside the plot area at actual size: half the
// difference of the sizes, truncated toward zero (negative for a picture
// larger than the plot area).
struct PictureOffset {
    int X = 0;
    int Y = 0;
};
PictureOffset ActualSizeOffset(const PlotRect& plot, int pictureWidth, int pictureHeight);

// Columns X0 (included) to X1 (excluded), rows Y0 to Y1 (both included). After
// the clamps X0, Y0 >= 0, X1 <= width and Y1 <= height - 1, so every column and
// row inside the limits lies in the picture; X0 >= X1 or Y0 > Y1 scans nothing.
struct ScanLimits {
    std::int64_t X0 = 0;
    std::int64_t X1 = 0;
    std::int64_t Y0 = 0;
    std::int64_t Y1 = 0;
};
ScanLimits TraceScanLimits(const TraceInput& input, int pictureWidth, int pictureHeight);

// Row of the line's centre in column u over rows y0..y1, or -1. The limits must
// lie in the picture (as TraceScanLimits makes them).
std::int32_t ExamineColumn(const TFastRGB& picture, std::int64_t u, std::int64_t y0, std::int64_t y1,
                           const TraceInput& input);

// Brightness of a pixel as MaxBrightness weighs it (the red weight is 0.229).
int PixelBrightness(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

// How far a pixel (blue, green, red bytes) lies from a colour: the sum of the
// three channels' differences, 0 .. 765.
int ColourDistance(const Color& target, const std::uint8_t* pixel);

// Fills every -1 entry from its neighbours: a leading gap takes the first found
// row, an inner gap is interpolated step by step (each filled entry rounded
// before it serves as the left end of the next), a trailing gap repeats the
// last row. Returns false, leaving the buffer as it was, when no entry holds a
// row. The progress callback, if any, runs once per entry.
bool FillTraceGaps(std::span<std::int32_t> buffer, const TraceProgress& progress = {});

} // namespace quillmark
