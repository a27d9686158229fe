#include "document/DigitizeSession.h"

#include "base/NumberText.h"
#include "calibration/AxisMapping.h"
#include "calibration/ImageFit.h"
#include "digitize/ExportText.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>
#include <utility>

namespace quillmark {

namespace {

// A value as its edit holds it after the write.
double HeldOrThrow(long double value)
{
    const std::optional<double> held = HeldValue(value);
    if (!held)
        throw ConvertError(FormatMessage("'%s' is not a valid floating point value", {FullPrecisionText(value, ".")}));
    return *held;
}

} // namespace

namespace {

bool SamePoints(const DataPointList& a, const DataPointList& b)
{
    return a.Count() == b.Count() && std::equal(a.Points().begin(), a.Points().end(), b.Points().begin());
}

// Equal in everything a step puts back.
bool SameState(const SessionSnapshot& a, const SessionSnapshot& b)
{
    return a.Adjustments == b.Adjustments && a.Fitted == b.Fitted && a.X == b.X && a.Y == b.Y &&
           a.Region == b.Region && a.Selected == b.Selected && SamePoints(*a.Points, *b.Points);
}

// Only the selection (and the colours that mark it) differ: choosing a point
// is no change of the data and no step of its own.
bool SameButSelection(const SessionSnapshot& a, const SessionSnapshot& b)
{
    if (!(a.Adjustments == b.Adjustments && a.Fitted == b.Fitted && a.X == b.X && a.Y == b.Y && a.Region == b.Region))
        return false;
    const DataPointList& p = *a.Points;
    const DataPointList& q = *b.Points;
    if (p.Count() != q.Count())
        return false;
    for (std::size_t i = 0; i < p.Count(); ++i) {
        if (p[i].X != q[i].X || p[i].Y != q[i].Y || p[i].Label != q[i].Label)
            return false;
    }
    return true;
}

} // namespace

AxisRangeError::AxisRangeError() : QuillmarkError(std::string(kAxisRangeRefused)) {}

AxisRange RangeInForce(long double min, long double max)
{
    double minimum = static_cast<double>(min);
    double maximum = static_cast<double>(max);
    if (!std::isfinite(minimum) || !std::isfinite(maximum))
        throw QuillmarkError("Недопустимое значение границы оси");
    if (minimum > maximum)
        std::swap(minimum, maximum);
    if (static_cast<long double>(maximum) - minimum < kMinimumAxisSpan) {
        maximum = static_cast<double>(minimum + kMinimumAxisSpan);
        // Far from zero 1e-10 is below one step of a double: take the next
        // double instead, downward when there is none above.
        if (!(maximum > minimum)) {
            maximum = std::nextafter(minimum, std::numeric_limits<double>::infinity());
            if (!std::isfinite(maximum)) {
                maximum = minimum;
                minimum = std::nextafter(maximum, 0.0);
            }
        }
    }
    return AxisRange{minimum, maximum};
}

DigitizeSession::DigitizeSession()
{
    m_x = AxisState{0.0L, 10.0L, 0.0L, std::string(kPlainAxisMask), {}};
    m_y = AxisState{-3.0L, 3.0L, 0.0L, std::string(kInitialLeftAxisMask), {}};
}

AxisLimits DigitizeSession::SetFitted(bool fitted, const AxisLimits& held)
{
    RefuseWhileBusy();
    const Step step(*this, StepName::Fit);
    const AxisLimits next =
        fitted ? LimitsForFit(held, m_plot, SourceSize()) : LimitsForActualSize(held, m_plot, SourceSize());
    // A bound that moves inward moves by less than half the range, so the
    // ranges stay in order; they are checked before anything changes.
    const double xMin = HeldOrThrow(next.XMin);
    const double xMax = HeldOrThrow(next.XMax);
    const double yMin = HeldOrThrow(next.YMin);
    const double yMax = HeldOrThrow(next.YMax);
    if (!AcceptsAxisRange(xMin, xMax) || !AcceptsAxisRange(yMin, yMax))
        throw AxisRangeError();
    m_fitted = fitted;
    ApplyEditedRange(Axis::X, {held.XMin, held.XMax}, xMin, xMax);
    ApplyEditedRange(Axis::Y, {held.YMin, held.YMax}, yMin, yMax);
    return next;
}

// ---- History -------------------------------------------------------------

void DigitizeSession::RefuseWhileBusy() const
{
    // Every command asks Busy() first; reaching here is a fault of the caller.
    if (m_busy)
        throw InternalError("the document cannot change while a trace runs");
}

DigitizeSession::Step::Step(DigitizeSession& session, std::string_view name, std::string_view mergeKey)
    : m_session(session), m_outermost(session.m_stepDepth == 0 && !session.m_restoring),
      m_exceptions(std::uncaught_exceptions())
{
    ++session.m_stepDepth;
    if (m_outermost) {
        session.m_stepBefore = session.Snapshot();
        session.m_stepName = name;
        session.m_stepMergeKey = mergeKey;
    }
}

DigitizeSession::Step::~Step()
{
    --m_session.m_stepDepth;
    if (m_outermost)
        m_session.EndStep(m_exceptions);
}

void DigitizeSession::NameStep(std::string_view name)
{
    if (m_stepDepth == 1)
        m_stepName = name;
}

void DigitizeSession::EndStep(int exceptionsAtStart)
{
    // An operation that threw was refused before it changed anything.
    if (std::uncaught_exceptions() > exceptionsAtStart)
        return;
    SessionSnapshot after = Snapshot();
    if (SameState(m_stepBefore, after) || SameButSelection(m_stepBefore, after))
        return;
    // Only the points that differ are kept: the run between the common
    // beginning and the common end of the two lists.
    const auto& was = m_stepBefore.Points->Points();
    const auto& now = after.Points->Points();
    std::size_t prefix = 0;
    while (prefix < was.size() && prefix < now.size() && was[prefix] == now[prefix])
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < was.size() - prefix && suffix < now.size() - prefix &&
           was[was.size() - 1 - suffix] == now[now.size() - 1 - suffix])
        ++suffix;
    PointsChange points{prefix, std::vector<DataPoint>(was.begin() + static_cast<std::ptrdiff_t>(prefix), was.end() - static_cast<std::ptrdiff_t>(suffix)),
                        std::vector<DataPoint>(now.begin() + static_cast<std::ptrdiff_t>(prefix), now.end() - static_cast<std::ptrdiff_t>(suffix))};
    m_stepBefore.Points.reset();
    after.Points.reset();
    m_redo.clear();
    if (!m_stepMergeKey.empty() && !m_undo.empty() && m_undo.back().MergeKey == m_stepMergeKey &&
        m_undo.back().Points.Empty() && points.Empty() && m_undo.back().After.Selected == m_stepBefore.Selected) {
        m_undo.back().After = std::move(after);
        m_undo.back().Id = m_nextStepId++;
    } else {
        m_undo.push_back(UndoStep{m_stepName, m_stepMergeKey, std::move(m_stepBefore), std::move(after),
                                  std::move(points), m_nextStepId++});
        if (m_undo.size() > kMaxUndoSteps)
            m_undo.erase(m_undo.begin());
    }
    Notify(SessionChange::History);
}

SessionSnapshot DigitizeSession::Snapshot() const
{
    if (!m_sharedPoints || !SamePoints(*m_sharedPoints, m_points) || m_sharedPoints->Ordered() != m_points.Ordered())
        m_sharedPoints = std::make_shared<const DataPointList>(m_points);
    return SessionSnapshot{m_adjustments, m_fitted, m_x, m_y, m_region, m_sharedPoints, m_selected};
}

void DigitizeSession::Restore(const SessionSnapshot& state, std::size_t prefix, std::size_t remove,
                              const std::vector<DataPoint>& insert)
{
    m_restoring = true;
    const struct Done {
        bool& restoring;
        ~Done() { restoring = false; }
    } done{m_restoring};
    const bool rebuild = state.Adjustments != m_adjustments;
    m_fitted = state.Fitted;
    m_x = state.X;
    m_y = state.Y;
    m_region = state.Region;
    const auto& current = m_points.Points();
    // Every change of the points is a step, so they stand as the step left
    // them; should they not, the splice stays inside the list.
    prefix = std::min(prefix, current.size());
    remove = std::min(remove, current.size() - prefix);
    std::vector<DataPoint> points(current.begin(), current.begin() + static_cast<std::ptrdiff_t>(prefix));
    points.insert(points.end(), insert.begin(), insert.end());
    points.insert(points.end(), current.begin() + static_cast<std::ptrdiff_t>(prefix + remove), current.end());
    m_points.Replace(std::move(points));
    m_selected = state.Selected;
    if (rebuild)
        Adjust(state.Adjustments);
    Notify(SessionChange::Axes | SessionChange::Region | SessionChange::Points | SessionChange::Selection);
}

bool DigitizeSession::Undo()
{
    if (!CanUndo())
        return false;
    UndoStep step = std::move(m_undo.back());
    m_undo.pop_back();
    Restore(step.Before, step.Points.Prefix, step.Points.After.size(), step.Points.Before);
    m_redo.push_back(std::move(step));
    Notify(SessionChange::History);
    return true;
}

bool DigitizeSession::Redo()
{
    if (!CanRedo())
        return false;
    UndoStep step = std::move(m_redo.back());
    m_redo.pop_back();
    Restore(step.After, step.Points.Prefix, step.Points.Before.size(), step.Points.After);
    m_undo.push_back(std::move(step));
    Notify(SessionChange::History);
    return true;
}

void DigitizeSession::ClearHistory()
{
    m_undo.clear();
    m_redo.clear();
    m_savedStep = 0;
    Notify(SessionChange::History);
}

void DigitizeSession::MarkUnsaved()
{
    m_savedKnown = false;
}

void DigitizeSession::MarkSaved()
{
    m_savedStep = m_undo.empty() ? 0 : m_undo.back().Id;
    m_savedKnown = true;
}

bool DigitizeSession::AtSavedState() const
{
    return m_savedKnown && (m_undo.empty() ? 0 : m_undo.back().Id) == m_savedStep;
}

// ---- Pictures ----------------------------------------------------------

std::optional<PictureSize> DigitizeSession::SourceSize() const
{
    if (!m_source)
        return std::nullopt;
    return PictureSize{m_source->Width(), m_source->Height()};
}

void DigitizeSession::OpenPicture(std::unique_ptr<TFastBMP> source)
{
    if (m_busy)
        throw InternalError("a picture cannot be opened while a trace runs");
    if (!source)
        throw InternalError("no picture to open");
    m_source = std::move(source);
    if (m_work && (m_work->Width() != m_source->Width() || m_work->Height() != m_source->Height()))
        m_work.reset();
    m_shownIsWork = false;
    m_traceBuffer.resize(static_cast<std::size_t>(std::max(m_source->Width(), m_source->Height())));
    ClearHistory();
    Notify(SessionChange::Picture);
}

void DigitizeSession::Adjust(const AdjustmentValues& values)
{
    const Step step(*this, StepName::Adjust);
    if (m_busy)
        return;
    m_adjustments = values;
    if (!m_source)
        return;
    if (!m_work)
        m_work = std::make_unique<TFastBMP>(m_source->Width(), m_source->Height());
    RunAdjustmentPipeline(*m_source, *m_work, values);
    m_shownIsWork = true;
    Notify(SessionChange::Picture);
}

// ---- Axes --------------------------------------------------------------

bool DigitizeSession::AcceptsAxisRange(long double min, long double max) const
{
    return PlanAxisRange(min, max, 0.0L).has_value();
}

long double DigitizeSession::SetAxisRange(Axis axis, long double min, long double max)
{
    RefuseWhileBusy();
    const Step step(*this, StepName::AxisRange, axis == Axis::X ? "range X" : "range Y");
    AxisState& state = Mutable(axis);
    const std::optional<AxisRangePlan> plan = PlanAxisRange(min, max, state.Increment);
    if (!plan)
        throw AxisRangeError();
    if (state.Kind.Log && !(min > 0))
        throw CalibrationError(std::string(axis == Axis::X ? kLogXNeedsPositive : kLogYNeedsPositive));
    const AxisRange range = RangeInForce(min, max);
    const double increment = HeldValue(plan->Increment).value_or(0.0);
    if (!(increment >= 0))
        throw QuillmarkError("Шаг сетки оси не может быть отрицательным");
    state.Min = range.Min;
    state.Max = range.Max;
    // The grid of a log axis is at the decades: its increment is one decade.
    state.Increment = state.Kind.Log ? 1.0 : increment;
    state.Mask = std::string(plan->Mask);
    Notify(SessionChange::Axes);
    return plan->Increment;
}

void DigitizeSession::SetAxisIncrement(Axis axis, long double increment)
{
    RefuseWhileBusy();
    const Step step(*this, StepName::AxisIncrement, axis == Axis::X ? "increment X" : "increment Y");
    const auto value = static_cast<double>(increment);
    if (!(value >= 0) || !std::isfinite(value))
        throw QuillmarkError("Шаг сетки оси не может быть отрицательным");
    AxisState& state = Mutable(axis);
    if (state.Increment == value)
        return;
    state.Increment = value;
    Notify(SessionChange::Axes);
}

void DigitizeSession::ApplyEditedRange(Axis axis, AxisRange old, double newMin, double newMax)
{
    // As the limit edits take two writes: the minimum first, with the old
    // maximum, then the maximum. A write that leaves an edit's value as it
    // was, or gives a bound equal at single precision to the one in force,
    // applies nothing. Each application chooses the grid increment from the
    // one before, so the steps are kept.
    const auto changes = [](double value, long double was, long double inForce) {
        return value != was && !SameAtSinglePrecision(value, static_cast<double>(inForce));
    };
    if (changes(newMin, old.Min, AxisOf(axis).Min))
        SetAxisRange(axis, newMin, old.Max);
    if (changes(newMax, old.Max, AxisOf(axis).Max))
        SetAxisRange(axis, newMin, newMax);
}

void DigitizeSession::SetAxisKind(Axis axis, AxisKind kind)
{
    RefuseWhileBusy();
    const Step step(*this, StepName::AxisKind);
    AxisState& state = Mutable(axis);
    if (state.Kind == kind)
        return;
    // A range that a log axis cannot show becomes three decades below its
    // maximum (or 1 to 1000).
    if (kind.Log && !(state.Min > 0)) {
        const long double max = state.Max > 0 ? state.Max : 1000.0L;
        SetAxisRange(axis, max / 1000.0L, max);
    }
    state.Kind = kind;
    Notify(SessionChange::Axes);
}

AxisRange DigitizeSession::ShiftAxis(Axis axis, AxisRange held, ShiftDirection direction)
{
    RefuseWhileBusy();
    const Step step(*this, StepName::ShiftAxis, axis == Axis::X ? "shift X" : "shift Y");
    // A log axis shifts by a four-hundredth of its decades.
    const AxisMapping mapping{held.Min, held.Max, AxisOf(axis).Kind.Log, false};
    AxisRange shifted = ShiftAxisRange({mapping.ToSpace(held.Min), mapping.ToSpace(held.Max)}, direction);
    shifted = AxisRange{mapping.FromSpace(shifted.Min), mapping.FromSpace(shifted.Max)};
    ApplyEditedRange(axis, held, HeldOrThrow(shifted.Min), HeldOrThrow(shifted.Max));
    return shifted;
}

void DigitizeSession::LoadCalibration(const CalibrationFile& values)
{
    RefuseWhileBusy();
    const Step step(*this, StepName::LoadCalibration);
    const double xMin = HeldOrThrow(values.Xmin);
    const double xMax = HeldOrThrow(values.Xmax);
    const double yMin = HeldOrThrow(values.Ymin);
    const double yMax = HeldOrThrow(values.Ymax);
    const double xIncrement = HeldOrThrow(values.Xincr);
    const double yIncrement = HeldOrThrow(values.Yincr);
    if (!AcceptsAxisRange(xMin, xMax) || !AcceptsAxisRange(yMin, yMax))
        throw AxisRangeError();
    if (!(xIncrement >= 0) || !(yIncrement >= 0))
        throw QuillmarkError("Шаг сетки оси не может быть отрицательным");
    if ((values.Xlog && !(xMin > 0)) || (values.Ylog && !(yMin > 0)))
        throw CalibrationError(std::string(values.Xlog && !(xMin > 0) ? kLogXNeedsPositive : kLogYNeedsPositive));
    m_x.Kind = AxisKind{values.Xlog, values.Xrev};
    m_y.Kind = AxisKind{values.Ylog, values.Yrev};
    SetAxisRange(Axis::X, xMin, xMax);
    SetAxisIncrement(Axis::X, xIncrement);
    SetAxisRange(Axis::Y, yMin, yMax);
    SetAxisIncrement(Axis::Y, yIncrement);
}

// ---- Calibration -------------------------------------------------------

void DigitizeSession::BeginCalibration()
{
    m_calibration.Active = true;
    m_calibration.Count = 0;
    m_calibration.Markers.clear();
    Notify(SessionChange::Markers);
}

void DigitizeSession::EndCalibration()
{
    m_calibration.Active = false;
    m_calibration.Markers.clear();
    Notify(SessionChange::Markers);
}

ReferenceOutcome DigitizeSession::ReferenceClick(SurfacePosition at)
{
    RefuseWhileBusy();
    CalibrationState& c = m_calibration;
    const std::optional<quillmark::ReferenceClick> step = ReferenceClickStep(c.Method, c.Count);
    if (!step) {
        ++c.Count;
        return {};
    }
    for (std::size_t slot = 0; slot < c.Clicks.size(); ++slot)
        if (step->Slots & (1U << slot))
            c.Clicks[slot] = at;
    c.Markers.push_back(at);
    // The last click is counted only once its solve is through.
    if (!step->Solve)
        ++c.Count;
    Notify(SessionChange::Markers);
    return ReferenceOutcome{step->NextHint, step->Solve};
}

void DigitizeSession::CancelCalibration()
{
    ++m_calibration.Count;
    EndCalibration();
}

AxisLimits DigitizeSession::Calibrate(const ReferenceValues& values, bool straighten)
{
    RefuseWhileBusy();
    const Step step(*this, StepName::Calibrate);
    CalibrationState& c = m_calibration;
    // References sharing a column (X) or a row (Y) are refused before
    // anything changes.
    (void)SolveCalibrationLimits(c.Clicks, values, m_plot);

    AxisPointSlots clicks = c.Clicks;
    AdjustmentValues adjusted = m_adjustments;
    const bool turn = StraighteningApplies(c.Method, straighten);
    if (turn) {
        const long double theta = StraighteningAngle(clicks);
        adjusted.Rotate = HeldOrThrow(static_cast<long double>(m_adjustments.Rotate) + theta * kDegreesPerRadian);
        const PictureSize picture = SourceSize().value_or(PictureSize{});
        clicks = RotateSlotsAboutCentre(clicks, theta, m_plot, picture, m_fitted);
    }
    // Log axes solve in log10; references that run backwards give a reversed
    // axis. The ranges are checked before the picture turns or either is set.
    const AxisLimits limits = SolveCalibrationKinds(clicks, values, m_plot, m_x.Kind.Log, m_y.Kind.Log);
    if (!AcceptsAxisRange(limits.XMin, limits.XMax) || !AcceptsAxisRange(limits.YMin, limits.YMax))
        throw AxisRangeError();

    if (turn)
        Adjust(adjusted);
    c.Clicks = clicks;
    ++c.Count;
    m_x.Kind = limits.XKind;
    m_y.Kind = limits.YKind;
    SetAxisRange(Axis::X, limits.XMin, limits.XMax);
    SetAxisRange(Axis::Y, limits.YMin, limits.YMax);
    EndCalibration();
    return limits;
}

// ---- Region --------------------------------------------------------------

RegionLimits DigitizeSession::SetRegionFromDrag(SurfacePosition start, SurfacePosition end)
{
    RefuseWhileBusy();
    const Step step(*this, StepName::DrawRegion);
    DrawRegion(RegionFromDrag(start, end, m_plot, Limits()));
    return m_region.Limits;
}

void DigitizeSession::DrawRegion(const RegionLimits& limits)
{
    RefuseWhileBusy();
    const Step step(*this, StepName::DrawRegion);
    m_region.Limits = limits;
    m_region.Drawn = true;
    m_region.On = true;
    Notify(SessionChange::Region);
}

void DigitizeSession::SetRegionLimits(const RegionLimits& limits)
{
    RefuseWhileBusy();
    const Step step(*this, StepName::EditRegion, "region");
    m_region.Limits = limits;
    Notify(SessionChange::Region);
}

bool DigitizeSession::SetRegionOn(bool on)
{
    RefuseWhileBusy();
    const Step step(*this, StepName::RegionOnOff);
    if (on && !m_region.Drawn)
        return false;
    if (m_region.On != on) {
        m_region.On = on;
        Notify(SessionChange::Region);
    }
    return true;
}

SurfaceRect DigitizeSession::RegionPixels() const
{
    // The corners are held as the plot holds them, in doubles.
    const RegionLimits& r = m_region.Limits;
    const RegionLimits held{static_cast<double>(r.XMin), static_cast<double>(r.XMax), static_cast<double>(r.YMin),
                            static_cast<double>(r.YMax)};
    return RegionToPixels(held, m_plot, Limits());
}

// ---- Points ----------------------------------------------------------------

void DigitizeSession::SetSelected(int index)
{
    const Step step(*this, StepName::SelectPoint);
    if (m_selected == index)
        return;
    m_selected = index;
    Notify(SessionChange::Selection);
}

namespace {

std::string_view StepNameOf(const EditResult& result)
{
    switch (result.Action) {
    case EditAction::Moved: return StepName::MovePoint;
    case EditAction::Deleted: return StepName::DeletePoint;
    case EditAction::Selected:
    case EditAction::Deselected: return StepName::SelectPoint;
    case EditAction::Added:
    case EditAction::None: break;
    }
    return StepName::AddPoint;
}

unsigned ChangesOf(const EditResult& result)
{
    switch (result.Action) {
    case EditAction::Added:
    case EditAction::Moved:
    case EditAction::Deleted: return SessionChange::Points | SessionChange::Selection;
    case EditAction::Selected:
    case EditAction::Deselected: return SessionChange::Points | SessionChange::Selection;
    case EditAction::None: break;
    }
    return 0;
}

} // namespace

EditResult DigitizeSession::PlacePoint(const EditClick& click, const EditColours& colours, std::string_view separator)
{
    const Step step(*this, StepName::AddPoint);
    if (m_busy)
        return {};
    const EditResult result = quillmark::PlacePoint(m_points, m_selected, click, colours, separator);
    NameStep(StepNameOf(result));
    Notify(ChangesOf(result));
    return result;
}

EditResult DigitizeSession::ClickSeries(std::span<const SurfacePoint> drawn, const EditClick& click,
                                        const EditColours& colours, std::string_view separator)
{
    const Step step(*this, StepName::AddPoint);
    if (m_busy)
        return {};
    const EditResult result = quillmark::ClickSeries(m_points, m_selected, drawn, click, colours, separator);
    NameStep(StepNameOf(result));
    Notify(ChangesOf(result));
    return result;
}

EditResult DigitizeSession::RightClickSeries(std::span<const SurfacePoint> drawn, const EditClick& click)
{
    const Step step(*this, StepName::DeletePoint);
    if (m_busy)
        return {};
    const EditResult result = quillmark::RightClickSeries(m_points, m_selected, drawn, click);
    NameStep(StepNameOf(result));
    Notify(ChangesOf(result));
    return result;
}

CellEditResult DigitizeSession::EditCell(int column, int row, std::string_view text, std::string_view separator)
{
    const Step step(*this, StepName::EditY);
    if (m_busy)
        return {};
    CellEditResult result = EditTableCell(m_points, column, row, text, separator);
    if (result.YChanged)
        Notify(SessionChange::Points);
    return result;
}

void DigitizeSession::DeleteAll()
{
    const Step step(*this, StepName::DeleteAll);
    if (m_busy)
        return;
    m_points.Clear();
    m_selected = -1;
    Notify(SessionChange::Points | SessionChange::Selection);
}

void DigitizeSession::RestylePoints(Color colour, std::optional<Color> selectedColour, std::string_view separator)
{
    const Step step(*this, StepName::Restyle);
    if (m_busy || m_points.Empty())
        return;
    const bool selectionValid = m_selected >= 0 && static_cast<std::size_t>(m_selected) < m_points.Count();
    std::optional<DataPoint> selected;
    if (selectionValid)
        selected = m_points[static_cast<std::size_t>(m_selected)];
    DataPointList restyled(m_points.Ordered());
    for (const DataPoint& p : m_points.Points())
        restyled.Add(DataPoint{p.X, p.Y, GeneralText(p.X, kFullPrecision, separator), colour});
    m_points = std::move(restyled);
    // The selection follows its point to where the ordering put it.
    if (selected) {
        m_selected = -1;
        for (std::size_t i = 0; i < m_points.Count(); ++i) {
            if (m_points[i].X == selected->X && m_points[i].Y == selected->Y) {
                m_selected = static_cast<int>(i);
                break;
            }
        }
    }
    if (selectedColour && m_selected >= 0 && static_cast<std::size_t>(m_selected) < m_points.Count())
        m_points.SetColourAtX(m_points[static_cast<std::size_t>(m_selected)].X, selectedColour);
    Notify(SessionChange::Points | SessionChange::Selection);
}

std::size_t DigitizeSession::AddPoint(DataPoint point)
{
    RefuseWhileBusy();
    const Step step(*this, StepName::AddPoint);
    const std::size_t at = m_points.Add(std::move(point));
    Notify(SessionChange::Points);
    return at;
}

void DigitizeSession::DeletePoint(std::size_t index)
{
    const Step step(*this, StepName::DeletePoint);
    if (m_busy || index >= m_points.Count())
        return;
    m_points.Delete(index);
    if (m_selected >= static_cast<int>(index))
        m_selected = -1;
    Notify(SessionChange::Points | SessionChange::Selection);
}

// ---- Tracing ---------------------------------------------------------------

long double DigitizeSession::ChangeStepUnit(StepUnit unit, long double shownStep)
{
    const long double remembered = m_trace.OtherStep;
    m_trace.OtherStep = shownStep;
    m_trace.Unit = unit;
    return remembered;
}

TraceInput DigitizeSession::CurrentTraceInput() const
{
    TraceInput input;
    input.Plot = m_plot;
    input.XMin = static_cast<double>(m_x.Min);
    input.XMax = static_cast<double>(m_x.Max);
    input.YMin = static_cast<double>(m_y.Min);
    input.YMax = static_cast<double>(m_y.Max);
    input.XKind = m_x.Kind;
    input.YKind = m_y.Kind;
    input.Stretched = m_fitted;
    input.Step = m_trace.Step;
    input.Unit = m_trace.Unit;
    if (m_region.On)
        input.Region = RegionPixels();
    input.Method = m_trace.Method;
    input.LineSens = m_trace.LineSens;
    input.ColorSens = m_trace.ColorSens;
    input.LineColour = m_trace.LineColour;
    input.Precise = m_trace.Precise;
    return input;
}

void DigitizeSession::CheckTrace() const
{
    (void)TraceStepPixels(CurrentTraceInput(), Work() ? Work()->Width() : 0);
}

TraceStatus DigitizeSession::RunTrace(const TraceProgress& progress, std::optional<Color> colour)
{
    const Step step(*this, StepName::Trace);
    if (m_busy)
        throw InternalError("a trace is already running");
    if (!Work())
        throw InternalError("a trace needs a picture");
    const TraceInput input = CurrentTraceInput();
    TraceResult result;
    {
        m_busy = true;
        const struct Idle {
            bool& busy;
            ~Idle() { busy = false; }
        } idle{m_busy};
        const std::unique_ptr<TFastBMP> picture = TFastBMP::CreateCopy(*m_work);
        result = TraceCurve(*picture, input, progress);
    }
    m_traceBuffer = std::move(result.TraceBuffer);
    m_lastTrace = TraceSummary{result.Found, result.Samples, result.ColourSensitivity};
    for (DataPoint& point : result.Points)
        point.Colour = colour;
    m_points.Replace(std::move(result.Points));
    if (result.Status == TraceStatus::NoLineFound || m_selected >= static_cast<int>(m_points.Count()))
        m_selected = -1;
    Notify(SessionChange::Points | SessionChange::Selection);
    return result.Status;
}

// ---- Export ----------------------------------------------------------------

std::string DigitizeSession::DataFileText(long double digitsOption, std::string_view separator) const
{
    return quillmark::DataFileText(m_points.Points(), digitsOption, separator);
}

std::string DigitizeSession::ClipboardText(std::string_view separator) const
{
    return quillmark::ClipboardText(m_points.Points(), separator);
}

} // namespace quillmark
