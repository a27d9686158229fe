#pragma once
// DigitizeSession: everything a user works on, in one value that the window
// and the batch commands change through the same operations. It owns the
// picture as opened and its adjusted copy with the adjustment values, both
// axes (range in force, grid increment, label mask), the plot rectangle the
// conversions use, the calibration method and reference clicks, the region,
// the points with their labels and colours, the selection and the trace
// settings.
//
// Every operation checks first and then changes the session, or refuses and
// changes nothing. A change is announced to the observer with the parts it
// touched (SessionChange bits), once per operation; the window redraws those
// parts from the session.
//
// Precision: the range in force is held as the plot draws it, in doubles
// (widened to a least span as the plot widens it), and every conversion uses
// it in long double; values that pass through a numeric edit are given here
// already read back from the edit's 15-digit text (HeldValue).
#include "calibration/AxisScale.h"
#include "calibration/CalFile.h"
#include "calibration/Calibration.h"
#include "calibration/PlotGeometry.h"
#include "calibration/RegionMaths.h"
#include "digitize/DataPoints.h"
#include "digitize/ManualEdit.h"
#include "digitize/TableEdit.h"
#include "digitize/Trace.h"
#include "imaging/AdjustmentPipeline.h"
#include "imaging/FastBMP.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillmark {

enum class Axis { X, Y };

// What an operation changed; the observer gets them or-ed together.
namespace SessionChange {
inline constexpr unsigned Picture = 1U << 0;     // the adjusted picture's pixels or size
inline constexpr unsigned Axes = 1U << 1;        // a range, an increment or a label mask
inline constexpr unsigned Markers = 1U << 2;     // calibration mode or its reference clicks
inline constexpr unsigned Region = 1U << 3;      // the region's limits or whether it is on
inline constexpr unsigned Points = 1U << 4;      // the points (count, values, colours)
inline constexpr unsigned Selection = 1U << 5;   // the selected point
inline constexpr unsigned History = 1U << 6;     // the undo and redo steps
} // namespace SessionChange

struct AxisState {
    long double Min = 0.0L;      // the range in force
    long double Max = 0.0L;
    long double Increment = 0.0L;
    std::string Mask;            // label mask
    AxisKind Kind;               // logarithmic, reversed
    friend bool operator==(const AxisState&, const AxisState&) = default;
};

// The settings a trace reads, at the start values of their controls.
struct TraceSettings {
    TraceMethod Method = TraceMethod::MaxBrightness;
    double Step = 1.0;           // in Unit
    StepUnit Unit = StepUnit::Pixels;
    long double OtherStep = 0;   // the step of the unit not in use, kept for the way back
    int LineSens = 50;
    int ColorSens = 50;
    Color LineColour;            // black
    PreciseTrace Precise;        // all off: the plain trace
};

// What the last trace found: samples where the line was found, of all
// samples taken, and the colour sensitivity it chose (-1: none chosen).
struct TraceSummary {
    std::size_t Found = 0;
    std::size_t Samples = 0;
    int ColourSensitivity = -1;
};

struct RegionState {
    bool Drawn = false;          // a region has been drawn (or typed after one was)
    bool On = false;             // switched on: tracing keeps to it
    // Corner 0 is (XMin, YMax), corner 1 (XMax, YMin); nothing orders them.
    RegionLimits Limits{0.0L, 10.0L, -3.0L, 3.0L};
    friend bool operator==(const RegionState& a, const RegionState& b)
    {
        return a.Drawn == b.Drawn && a.On == b.On && a.Limits.XMin == b.Limits.XMin &&
               a.Limits.XMax == b.Limits.XMax && a.Limits.YMin == b.Limits.YMin && a.Limits.YMax == b.Limits.YMax;
    }
};

struct CalibrationState {
    CalibrationMethod Method = CalibrationMethod::TwoPoints;
    bool Active = false;         // reference clicks are being taken
    AxisPointSlots Clicks{};     // slot 0 X-min, 1 X-max, 2 Y-max, 3 Y-min
    std::int32_t Count = 0;      // clicks taken since the mode began
    std::vector<SurfacePosition> Markers; // where the clicks were, in order
};

// What one reference click did.
struct ReferenceOutcome {
    std::string_view NextHint;   // the prompt to show now; empty: unchanged
    bool SolveNow = false;       // the last reference: ask for the values and Calibrate
};

// A refused axis range (Min not below Max). The message is kAxisRangeRefused.
class AxisRangeError : public QuillmarkError {
public:
    AxisRangeError();
};

// What an undo step puts back: everything the user changes but the pictures
// (rebuilt from the source and the adjustment values) and the modes. Points
// are shared between snapshots while they stay the same.
struct SessionSnapshot {
    AdjustmentValues Adjustments;
    bool Fitted = true;
    AxisState X;
    AxisState Y;
    RegionState Region;
    std::shared_ptr<const DataPointList> Points;
    int Selected = -1;
};

// The names of undo steps, as the Edit menu shows them after "Отменить " and
// "Повторить ".
namespace StepName {
inline constexpr std::string_view Trace = "оцифровку";
inline constexpr std::string_view AddPoint = "добавление точки";
inline constexpr std::string_view MovePoint = "перемещение точки";
inline constexpr std::string_view DeletePoint = "удаление точки";
inline constexpr std::string_view SelectPoint = "выбор точки";
inline constexpr std::string_view EditY = "изменение значения Y";
inline constexpr std::string_view DeleteAll = "удаление всех данных";
inline constexpr std::string_view Calibrate = "калибровку";
inline constexpr std::string_view AxisRange = "изменение границ оси";
inline constexpr std::string_view AxisIncrement = "изменение шага сетки";
inline constexpr std::string_view AxisKind = "изменение вида оси";
inline constexpr std::string_view ShiftAxis = "сдвиг оси";
inline constexpr std::string_view Fit = "изменение масштаба";
inline constexpr std::string_view LoadCalibration = "загрузку калибровки";
inline constexpr std::string_view DrawRegion = "выделение области";
inline constexpr std::string_view EditRegion = "изменение области";
inline constexpr std::string_view RegionOnOff = "включение области";
inline constexpr std::string_view Adjust = "коррекцию изображения";
inline constexpr std::string_view ResetAdjustments = "сброс коррекции изображения";
inline constexpr std::string_view Restyle = "изменение вида точек";
} // namespace StepName

class DigitizeSession {
public:
    using Observer = std::function<void(unsigned changes)>;

    DigitizeSession();
    DigitizeSession(const DigitizeSession&) = delete;
    DigitizeSession& operator=(const DigitizeSession&) = delete;

    void SetObserver(Observer observer) { m_observer = std::move(observer); }

    // ---- History ---------------------------------------------------------
    // Every operation that changes what a snapshot holds is one undo step,
    // named by the operation (a step that changes nothing is not kept). A
    // user action made of several operations is one step when the caller
    // holds a Step for it; the outermost Step names it. Steps with the same
    // non-empty merge key that follow each other are one step (typing a
    // number is one change, not one per key). A new step drops the redo
    // steps. At most kMaxUndoSteps are kept, the oldest going first.
    static constexpr std::size_t kMaxUndoSteps = 500;
    class Step {
    public:
        Step(DigitizeSession& session, std::string_view name, std::string_view mergeKey = {});
        ~Step();
        Step(const Step&) = delete;
        Step& operator=(const Step&) = delete;

    private:
        DigitizeSession& m_session;
        bool m_outermost;
        int m_exceptions;
    };
    bool CanUndo() const { return !m_busy && !m_undo.empty(); }
    bool CanRedo() const { return !m_busy && !m_redo.empty(); }
    std::string_view UndoName() const { return m_undo.empty() ? std::string_view() : m_undo.back().Name; }
    std::string_view RedoName() const { return m_redo.empty() ? std::string_view() : m_redo.back().Name; }
    std::size_t UndoCount() const { return m_undo.size(); }
    // Put the state before (after) the last step back; false when there is
    // none or a trace runs.
    bool Undo();
    bool Redo();
    // Opening a picture starts a new history.
    void ClearHistory();
    // The data were saved (or copied) in the state shown now; undoing or
    // redoing away from it makes them unsaved again.
    void MarkSaved();
    // The data shown now were never saved.
    void MarkUnsaved();
    bool AtSavedState() const;
    SessionSnapshot Snapshot() const;

    // ---- The plot the conversions use --------------------------------
    // The window passes its plot rectangle whenever its size changes; the
    // batch commands the picture's own size (PlotFilledByPicture).
    void SetPlot(const PlotRect& plot) { m_plot = plot; }
    const PlotRect& Plot() const { return m_plot; }
    // Fitted: the picture stretched over the plot; otherwise at its own size,
    // centred.
    bool Fitted() const { return m_fitted; }
    // Switches the picture's fit and rescales both ranges about their middles
    // so every picture feature keeps its value (held: the ranges as the limit
    // edits hold them). The new ranges are set as the edits hold them and
    // returned, for the edits.
    AxisLimits SetFitted(bool fitted, const AxisLimits& held);

    // ---- Pictures ------------------------------------------------------
    bool HasPicture() const { return m_source != nullptr; }
    const TFastBMP* Source() const { return m_source.get(); }
    const TFastBMP* Work() const { return m_shownIsWork ? m_work.get() : nullptr; }
    std::optional<PictureSize> SourceSize() const;
    // Takes the picture as opened. Its working copy is made by the next
    // Adjust (in the buffer of the last picture when the size is the same);
    // until then Work() is null. The points, axes and region stay; the
    // history starts anew.
    void OpenPicture(std::unique_ptr<TFastBMP> source);
    const AdjustmentValues& Adjustments() const { return m_adjustments; }
    // Rebuilds the working copy from the source with these values (stored
    // also without a picture).
    void Adjust(const AdjustmentValues& values);
    // The picture the user sees: the working copy once made, else the source.
    const TFastBMP* Shown() const { return m_shownIsWork ? m_work.get() : m_source.get(); }

    // ---- Axes ------------------------------------------------------------
    const AxisState& AxisOf(Axis axis) const { return axis == Axis::X ? m_x : m_y; }
    // The ranges in force, as every conversion takes them.
    AxisLimits Limits() const { return AxisLimits{m_x.Min, m_x.Max, m_y.Min, m_y.Max, m_x.Kind, m_y.Kind}; }
    // Checks the range, then sets it with its grid increment and label mask
    // (PlanAxisRange, from the current increment; the new increment as its
    // edit holds it). Throws AxisRangeError and changes nothing when max is
    // not above min. Returns the new increment before the edit holds it.
    long double SetAxisRange(Axis axis, long double min, long double max);
    // Whether SetAxisRange would accept the range.
    bool AcceptsAxisRange(long double min, long double max) const;
    // A negative or non-finite increment is refused with a QuillmarkError.
    void SetAxisIncrement(Axis axis, long double increment);
    // Makes an axis logarithmic or linear, forward or reversed. A range a log
    // axis cannot show (minimum not positive) becomes the three decades below
    // its maximum, or 1 to 1000; afterwards the log axis refuses
    // non-positive ranges (CalibrationError naming the axis).
    void SetAxisKind(Axis axis, AxisKind kind);
    // The shift buttons and keys: both bounds of held (the range as the
    // edits hold it) move by FineStep; the range is set as the edits hold it
    // and returned.
    AxisRange ShiftAxis(Axis axis, AxisRange held, ShiftDirection direction);
    // A calibration file: both ranges and both increments, each as its edit
    // holds it. Checked as a whole first: a range that runs backwards
    // (AxisRangeError) or a negative increment (QuillmarkError) changes
    // nothing.
    void LoadCalibration(const CalibrationFile& values);

    // ---- Calibration ---------------------------------------------------
    const CalibrationState& Calibration() const { return m_calibration; }
    void SetCalibrationMethod(CalibrationMethod method) { m_calibration.Method = method; }
    void BeginCalibration();
    void EndCalibration();
    // A reference click at a plot-surface position. Past the method's last
    // click it only counts.
    ReferenceOutcome ReferenceClick(SurfacePosition at);
    // The solve after the last reference click: straightens the picture
    // (three and four points with straighten set), then sets both ranges.
    // Every check comes first: references that share a column or a row
    // (CalibrationError) or a range that runs backwards (AxisRangeError)
    // change nothing, not even the rotation. The rotation passes through its
    // edit (HeldValue). Returns the new limits; the mode ends.
    AxisLimits Calibrate(const ReferenceValues& values, bool straighten);
    // The values were not given: the last click counts and the mode ends.
    void CancelCalibration();

    // ---- Region --------------------------------------------------------
    const RegionState& Region() const { return m_region; }
    // A finished drag on the plot surface: the limits from its corners; the
    // region is drawn and switched on.
    RegionLimits SetRegionFromDrag(SurfacePosition start, SurfacePosition end);
    // A region given by its limits: drawn and switched on.
    void DrawRegion(const RegionLimits& limits);
    // One typed limit; the others stay.
    void SetRegionLimits(const RegionLimits& limits);
    // Refused (false, nothing changes) while no region has been drawn.
    bool SetRegionOn(bool on);
    // The region's surface rectangle at the ranges in force.
    SurfaceRect RegionPixels() const;

    // ---- Points --------------------------------------------------------
    const DataPointList& Points() const { return m_points; }
    int Selected() const { return m_selected; }
    void SetSelected(int index);
    // Ascending X for points added later, or order of entry.
    void SetOrdered(bool ordered) { m_points.SetOrdered(ordered); }
    // Manual and Edit: a click that selects nothing, a left click on the
    // drawn series, and a right click on it (see ManualEdit).
    EditResult PlacePoint(const EditClick& click, const EditColours& colours, std::string_view separator);
    EditResult ClickSeries(std::span<const SurfacePoint> drawn, const EditClick& click, const EditColours& colours,
                           std::string_view separator);
    EditResult RightClickSeries(std::span<const SurfacePoint> drawn, const EditClick& click);
    // A text typed into the table (row r shows point r - 1; only column 2,
    // the Y, reaches the points).
    CellEditResult EditCell(int column, int row, std::string_view text, std::string_view separator);
    void DeleteAll();
    // Gives every point the colour and its X as a label (15 digits), adds
    // them again in the list's ordering, and colours the selected point,
    // which keeps its selection where the ordering put it, with
    // selectedColour when given.
    void RestylePoints(Color colour, std::optional<Color> selectedColour, std::string_view separator);
    // Adds a point where the ordering puts it (a script's or a test's point).
    std::size_t AddPoint(DataPoint point);
    // Deletes one point; a selection of it or beyond it ends.
    void DeletePoint(std::size_t index);
    // The axis value under a plot-surface pixel.
    AxisPoint ValueAt(SurfacePosition at) const { return PixelToAxis(at, m_plot, Limits()); }

    // ---- Tracing -------------------------------------------------------
    // Switches the step unit: the step shown now (in the unit being left) is
    // kept, and the step kept for the new unit comes back, for the edit.
    long double ChangeStepUnit(StepUnit unit, long double shownStep);
    TraceSettings& Trace() { return m_trace; }
    const TraceSettings& Trace() const { return m_trace; }
    // The trace's inputs: settings, plot, fit, ranges and the region while on.
    TraceInput CurrentTraceInput() const;
    // Checks the step against the picture; throws TraceError ("…" as the
    // trace would) without touching anything.
    void CheckTrace() const;
    // Traces the working copy (a private copy of it: progress may let the
    // user's events run, and nothing they do can pull the pixels away).
    // Traced: the points are replaced and the selection dropped if it no
    // longer names a point; no line found: the points are cleared. While it
    // runs Busy() is true, and every command that changes the session asks
    // it first: the editing operations then do nothing, and those that
    // answer with a value (ranges, calibration, region) throw InternalError.
    // colour: the colour the traced points are drawn in, if not the series'.
    TraceStatus RunTrace(const TraceProgress& progress = {}, std::optional<Color> colour = std::nullopt);
    const TraceSummary& LastTrace() const { return m_lastTrace; }
    bool Busy() const { return m_busy; }
    std::vector<std::int32_t>& TraceBuffer() { return m_traceBuffer; }
    const std::vector<std::int32_t>& TraceBuffer() const { return m_traceBuffer; }

    // ---- Export --------------------------------------------------------
    std::string DataFileText(long double digitsOption, std::string_view separator) const;
    std::string ClipboardText(std::string_view separator) const;

private:
    // The points a step changed: from index Prefix on, Before's points stood
    // where After's stand now; the points around them are the same in both.
    struct PointsChange {
        std::size_t Prefix = 0;
        std::vector<DataPoint> Before;
        std::vector<DataPoint> After;
        bool Empty() const { return Before.empty() && After.empty(); }
    };
    struct UndoStep {
        std::string Name;
        std::string MergeKey;
        SessionSnapshot Before;     // without points: they are in Points
        SessionSnapshot After;
        PointsChange Points;
        std::uint64_t Id = 0;   // tells steps apart for the saved mark
    };
    // Puts the values of state back (not its points), and the points by
    // replacing `remove` points from change.Prefix on with `insert`.
    void RefuseWhileBusy() const;
    void Restore(const SessionSnapshot& state, std::size_t prefix, std::size_t remove,
                 const std::vector<DataPoint>& insert);
    // Names the step of the operation running now, when it is the outermost.
    void NameStep(std::string_view name);
    void EndStep(int exceptionsAtStart);
    void Notify(unsigned changes) const
    {
        if (m_observer && changes != 0)
            m_observer(changes);
    }
    AxisState& Mutable(Axis axis) { return axis == Axis::X ? m_x : m_y; }
    void ApplyEditedRange(Axis axis, AxisRange old, double newMin, double newMax);

    Observer m_observer;
    PlotRect m_plot;
    TraceSummary m_lastTrace;
    bool m_fitted = true;
    std::unique_ptr<TFastBMP> m_source;
    std::unique_ptr<TFastBMP> m_work;
    bool m_shownIsWork = false;   // m_work holds the adjusted source
    AdjustmentValues m_adjustments;
    AxisState m_x;
    AxisState m_y;
    CalibrationState m_calibration;
    RegionState m_region;
    DataPointList m_points;
    int m_selected = -1;
    TraceSettings m_trace;
    bool m_busy = false;
    std::vector<std::int32_t> m_traceBuffer;

    std::vector<UndoStep> m_undo;
    std::vector<UndoStep> m_redo;
    int m_stepDepth = 0;
    SessionSnapshot m_stepBefore;
    std::string m_stepName;
    std::string m_stepMergeKey;
    std::uint64_t m_nextStepId = 1;
    // The step whose After is the saved state (0: the start of the history),
    // and whether any saved state is known.
    std::uint64_t m_savedStep = 0;
    bool m_savedKnown = true;
    bool m_restoring = false;
    mutable std::shared_ptr<const DataPointList> m_sharedPoints; // the points of the last snapshot
};

// Spans below this are widened to it, so conversions never divide by 0.
inline constexpr long double kMinimumAxisSpan = 1e-10L;

// The range an axis keeps for a requested one, as the plot keeps it: a pair
// in the wrong order is swapped, a span below kMinimumAxisSpan is widened
// upward (or to the next double, far from zero).
// Bounds that are not finite throw QuillmarkError.
AxisRange RangeInForce(long double min, long double max);

} // namespace quillmark
