// Undo and redo against a replay from scratch: whatever mix of operations,
// undos and redos, the document equals one that ran only the steps in force.
#include "document/DigitizeSession.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>

namespace quillmark {
namespace {

std::unique_ptr<TFastBMP> Chart()
{
    // White, with a dark line falling from row 8 to row 22 across 40 columns.
    auto picture = std::make_unique<TFastBMP>(40, 30);
    for (int y = 0; y < 30; ++y)
        std::memset(picture->RowTable()[y], 255, 40 * 3);
    for (int x = 0; x < 40; ++x)
        std::memset(picture->RowTable()[8 + x * 14 / 39] + 3 * x, 0, 3);
    return picture;
}

void Open(DigitizeSession& session)
{
    session.SetPlot(PlotRect{0, 0, 40, 30});
    session.OpenPicture(Chart());
    session.Adjust({});
}

bool Same(const DigitizeSession& a, const DigitizeSession& b)
{
    const SessionSnapshot x = a.Snapshot();
    const SessionSnapshot y = b.Snapshot();
    const auto& p = x.Points->Points();
    const auto& q = y.Points->Points();
    return x.Adjustments == y.Adjustments && x.Fitted == y.Fitted && x.X == y.X && x.Y == y.Y &&
           x.Region == y.Region && x.Selected == y.Selected && p.size() == q.size() &&
           std::equal(p.begin(), p.end(), q.begin());
}

using Operation = std::function<void(DigitizeSession&)>;

// One of the user's operations, drawn from the generator; each is one step.
Operation RandomOperation(std::mt19937& random)
{
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const double a = pick(100) / 10.0;
    const double b = a + 1 + pick(50) / 10.0;
    switch (pick(10)) {
    case 0: return [a, b](DigitizeSession& s) { s.AddPoint(DataPoint{a, b, {}, {}}); };
    case 1: return [n = pick(4)](DigitizeSession& s) { s.DeletePoint(static_cast<std::size_t>(n)); };
    case 2: return [n = pick(4), a](DigitizeSession& s) { s.EditCell(2, n + 1, std::to_string(a), "."); };
    case 3: return [a, b](DigitizeSession& s) { s.SetAxisRange(Axis::X, a, b); };
    case 4: return [up = pick(2) == 0](DigitizeSession& s) {
        const AxisState& y = s.AxisOf(Axis::Y);
        s.ShiftAxis(Axis::Y, {y.Min, y.Max}, up ? ShiftDirection::Increase : ShiftDirection::Decrease);
    };
    case 5: return [a, b](DigitizeSession& s) { s.DrawRegion(RegionLimits{a, b, -2, 2}); };
    case 6: return [on = pick(2) == 0](DigitizeSession& s) { s.SetRegionOn(on); };
    case 7: return [](DigitizeSession& s) { s.DeleteAll(); };
    case 8: return [v = 200 + pick(110)](DigitizeSession& s) {
        AdjustmentValues values = s.Adjustments();
        values.Contrast = v;
        s.Adjust(values);
    };
    default: return [](DigitizeSession& s) { s.RunTrace(); };
    }
}

TEST(SessionHistory, RandomOperationsUndosAndRedosAgreeWithAReplay)
{
    DigitizeSession session;
    Open(session);
    session.Trace().Step = 3;
    std::vector<Operation> done;  // the steps in force, oldest first
    std::vector<Operation> undone;
    std::mt19937 random(2026);
    for (int turn = 0; turn < 400; ++turn) {
        const unsigned what = random() % 6;
        if (what == 0 && session.CanUndo()) {
            ASSERT_TRUE(session.Undo());
            undone.push_back(done.back());
            done.pop_back();
        } else if (what == 1 && session.CanRedo()) {
            ASSERT_TRUE(session.Redo());
            done.push_back(undone.back());
            undone.pop_back();
        } else {
            const Operation op = RandomOperation(random);
            const std::size_t before = session.UndoCount();
            try {
                const DigitizeSession::Step step(session, "шаг");
                op(session);
            } catch (const QuillmarkError&) {
            }
            // A step that changed nothing is not kept, and keeps the redo steps.
            if (session.UndoCount() != before) {
                done.push_back(op);
                undone.clear();
            }
        }
        ASSERT_EQ(session.UndoCount(), done.size());
        DigitizeSession replay;
        Open(replay);
        replay.Trace().Step = 3;
        for (const Operation& op : done)
            op(replay);
        ASSERT_TRUE(Same(session, replay)) << "turn " << turn;
        // The picture is rebuilt from the source and the values.
        ASSERT_EQ(std::memcmp(session.Work()->PixelData(), replay.Work()->PixelData(),
                              static_cast<std::size_t>(replay.Work()->DataSize())),
                  0)
            << "turn " << turn;
    }
}

TEST(SessionHistory, ACalibrationIsOneStepWithItsRotationAndSavingIsRemembered)
{
    DigitizeSession session;
    Open(session);
    session.AddPoint(DataPoint{1, 2, {}, {}});
    session.MarkSaved();
    session.SetCalibrationMethod(CalibrationMethod::ThreePoints);
    session.BeginCalibration();
    for (const SurfacePoint p : {SurfacePoint{2, 27}, SurfacePoint{38, 28}, SurfacePoint{3, 2}})
        session.ReferenceClick(p);
    session.Calibrate({0, 100, 0, 50}, true);
    EXPECT_FALSE(session.AtSavedState());
    ASSERT_EQ(session.UndoCount(), 2u);
    EXPECT_EQ(session.UndoName(), StepName::Calibrate);
    ASSERT_TRUE(session.Undo());
    EXPECT_TRUE(session.AtSavedState());
    EXPECT_EQ(session.Adjustments().Rotate, 0.0);
    EXPECT_EQ(session.Limits(), (AxisLimits{0, 10, -3, 3}));
    EXPECT_EQ(session.RedoName(), StepName::Calibrate);
    ASSERT_TRUE(session.Redo());
    EXPECT_NE(session.Adjustments().Rotate, 0.0);
    EXPECT_EQ(session.Limits().XMax, session.AxisOf(Axis::X).Max);
    // Choosing a point is no step; typing a range is one, however many keys.
    session.SetSelected(0);
    session.SetAxisRange(Axis::X, 1, 2);
    session.SetAxisRange(Axis::X, 1, 20);
    EXPECT_EQ(session.UndoCount(), 3u);
    EXPECT_EQ(session.UndoName(), StepName::AxisRange);
    // Opening a picture starts a new history.
    session.OpenPicture(Chart());
    EXPECT_FALSE(session.CanUndo());
    EXPECT_FALSE(session.CanRedo());
}

} // namespace
} // namespace quillmark
