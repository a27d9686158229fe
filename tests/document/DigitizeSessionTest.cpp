// The document without a window: every refused operation changes nothing,
// and the observer hears what changed.
#include "document/DigitizeSession.h"

#include "base/NumberText.h"

#include <gtest/gtest.h>

#include <cstring>

namespace quillmark {
namespace {

// A white picture with a black horizontal line across row `row`.
std::unique_ptr<TFastBMP> LinePicture(int width, int height, int row)
{
    auto picture = std::make_unique<TFastBMP>(width, height);
    for (int y = 0; y < height; ++y)
        std::memset(picture->RowTable()[y], y == row ? 0 : 255, static_cast<std::size_t>(width) * 3);
    return picture;
}

struct Session : ::testing::Test {
    DigitizeSession session;
    unsigned heard = 0;
    void SetUp() override
    {
        session.SetObserver([this](unsigned changes) { heard |= changes; });
        session.SetPlot(PlotRect{0, 0, 100, 50});
    }
};

TEST_F(Session, RefusedRangesAndRegionChangeNothing)
{
    session.SetAxisRange(Axis::X, 2, 4);
    const AxisLimits before = session.Limits();
    heard = 0;
    EXPECT_THROW(session.SetAxisRange(Axis::X, 5, 5), AxisRangeError);
    EXPECT_THROW(session.SetAxisRange(Axis::Y, 1, -1), AxisRangeError);
    EXPECT_EQ(session.Limits(), before);
    EXPECT_FALSE(session.SetRegionOn(true)); // nothing drawn yet
    EXPECT_FALSE(session.Region().On);
    EXPECT_EQ(heard, 0u);
    // The range in force is widened as the plot widens it.
    session.SetAxisRange(Axis::Y, 1, 1 + 1e-12L);
    EXPECT_EQ(session.AxisOf(Axis::Y).Max, static_cast<double>(1 + 1e-10L));
    EXPECT_EQ(heard, SessionChange::Axes | SessionChange::History);
}

TEST_F(Session, ARefusedCalibrationKeepsRotationAxesAndMode)
{
    session.OpenPicture(LinePicture(100, 50, 25));
    session.Adjust({});
    session.SetCalibrationMethod(CalibrationMethod::ThreePoints);
    session.BeginCalibration();
    // Three points: origin, X end, Y end, on a logarithmic Y axis.
    session.SetAxisRange(Axis::Y, 1, 10);
    session.SetAxisKind(Axis::Y, AxisKind{true, false});
    EXPECT_THROW(session.SetAxisRange(Axis::Y, -1, 10), CalibrationError);
    for (const SurfacePoint p : {SurfacePoint{10, 40}, SurfacePoint{90, 42}, SurfacePoint{11, 5}})
        session.ReferenceClick(p);
    const AxisLimits before = session.Limits();
    EXPECT_THROW(session.Calibrate({0, 10, 0, 5}, true), CalibrationError); // log Y needs positive values
    EXPECT_EQ(session.Adjustments().Rotate, 0.0);
    EXPECT_EQ(session.Limits(), before);
    EXPECT_TRUE(session.Calibration().Active);
    EXPECT_EQ(session.Calibration().Count, 2); // the last reference is asked again

    // Values that fall upward make Y reversed, not refused.
    const AxisLimits limits = session.Calibrate({0, 10, 100, 0.1L}, true);
    EXPECT_EQ(session.AxisOf(Axis::Y).Kind, (AxisKind{true, true}));
    EXPECT_NE(session.Adjustments().Rotate, 0.0); // straightened, through the edit's 15 digits
    EXPECT_EQ(session.Adjustments().Rotate, *HeldValue(session.Adjustments().Rotate));
    EXPECT_EQ(session.Limits().XMin, static_cast<double>(limits.XMin));
    EXPECT_FALSE(session.Calibration().Active);
}

TEST_F(Session, TraceReplacesPointsAndEveryEditWaitsWhileItRuns)
{
    session.OpenPicture(LinePicture(100, 50, 25));
    session.Adjust({});
    session.AddPoint(DataPoint{1, 1, "x", Color{1, 2, 3}});
    session.SetSelected(0);
    session.Trace().Step = 10;
    const EditClick click{SurfacePoint{5, 5}, AxisPoint{0.5L, 2.0L}, true, 3};
    const TraceStatus status = session.RunTrace([&](TracePass, std::size_t, std::size_t) {
        EXPECT_TRUE(session.Busy());
        EXPECT_EQ(session.PlacePoint(click, {}, ".").Action, EditAction::None);
        session.DeleteAll();
    });
    EXPECT_EQ(status, TraceStatus::Traced);
    EXPECT_FALSE(session.Busy());
    ASSERT_EQ(session.Points().Count(), 10u);
    EXPECT_EQ(session.Points()[9].Y, session.Points()[0].Y); // one flat line
    EXPECT_EQ(session.Selected(), 0);

    session.Trace().Step = 0;
    EXPECT_THROW(session.CheckTrace(), TraceError);
    EXPECT_EQ(session.Points().Count(), 10u);
}

TEST_F(Session, RestyleReordersKeepsTheSelectionAndLabelsByX)
{
    session.SetOrdered(false);
    session.AddPoint(DataPoint{3, 30, {}, {}});
    session.AddPoint(DataPoint{1, 10, {}, {}});
    session.SetSelected(0);
    session.SetOrdered(true);
    session.RestylePoints(Color{0, 0, 255}, Color{255, 0, 0}, ",");
    ASSERT_EQ(session.Points().Count(), 2u);
    EXPECT_EQ(session.Points()[0].X, 1);
    EXPECT_EQ(session.Selected(), 1);
    EXPECT_EQ(session.Points()[1].Label, "3");
    EXPECT_EQ(session.Points()[1].Colour, (Color{255, 0, 0}));
    EXPECT_EQ(session.Points()[0].Colour, (Color{0, 0, 255}));
    const CellEditResult edit = session.EditCell(2, 1, "x", ",");
    EXPECT_FALSE(edit.YChanged);
    EXPECT_EQ(edit.CellText, "10");
    EXPECT_EQ(session.ClipboardText(","), "1\t10\r\n3\t30\r\n");
}

} // namespace
} // namespace quillmark
