#include "digitize/ManualEdit.h"

#include <gtest/gtest.h>

#include <vector>

using namespace quillmark;

namespace {

const EditColours kColours{Color{0, 0, 255}, Color{255, 0, 0}};

// Points at X = 1, 2, 3 drawn 10 pixels apart on row 50.
struct Fixture {
    DataPointList points;
    std::vector<SurfacePoint> drawn;
    int selected = -1;

    Fixture()
    {
        for (int i = 0; i < 3; ++i) {
            points.Add(DataPoint{1.0 + i, 10.0 * i, {}, kColours.Point});
            drawn.push_back(SurfacePoint{100 + 10 * i, 50});
        }
    }
};

EditClick Click(int x, int y, long double ax, long double ay, bool manual = true, int sensitivity = 1)
{
    return EditClick{SurfacePoint{x, y}, AxisPoint{ax, ay}, manual, sensitivity};
}

} // namespace

TEST(ManualEdit, ClickAtAFreePlaceAddsALabelledPointInXOrder)
{
    Fixture f;
    const EditResult r = ClickSeries(f.points, f.selected, f.drawn, Click(115, 70, 2.5, -4.0), kColours, ",");
    EXPECT_EQ(r.Action, EditAction::Added);
    EXPECT_EQ(r.Index, 2u);
    ASSERT_EQ(f.points.Count(), 4u);
    EXPECT_EQ(f.points[2], (DataPoint{2.5, -4.0, "2,5", kColours.Point}));
    EXPECT_EQ(f.selected, -1);
}

TEST(ManualEdit, SelectThenMoveWithTheNextClick)
{
    Fixture f;
    EditResult r = ClickSeries(f.points, f.selected, f.drawn, Click(111, 49, 0, 0), kColours, ",");
    EXPECT_EQ(r.Action, EditAction::Selected);
    EXPECT_EQ(f.selected, 1);
    EXPECT_EQ(f.points[1].Colour, kColours.SelectPoint);

    // Selecting another point hands the selection colour over.
    r = ClickSeries(f.points, f.selected, f.drawn, Click(100, 50, 0, 0), kColours, ",");
    EXPECT_EQ(r.Action, EditAction::Selected);
    EXPECT_EQ(f.selected, 0);
    EXPECT_EQ(f.points[1].Colour, kColours.Point);
    EXPECT_EQ(f.points[0].Colour, kColours.SelectPoint);

    // Moved past its neighbours, the point keeps its index.
    r = ClickSeries(f.points, f.selected, f.drawn, Click(160, 20, 7.0, 8.0), kColours, ",");
    EXPECT_EQ(r.Action, EditAction::Moved);
    EXPECT_EQ(r.Index, 0u);
    EXPECT_EQ(f.selected, -1);
    EXPECT_EQ(f.points.Count(), 3u);
    EXPECT_EQ(f.points[0].X, 7.0);
    EXPECT_EQ(f.points[0].Y, 8.0);
    EXPECT_EQ(f.points[0].Colour, kColours.Point);
}

TEST(ManualEdit, ClickingTheSelectedPointAgainDeselectsIt)
{
    Fixture f;
    ClickSeries(f.points, f.selected, f.drawn, Click(120, 50, 0, 0), kColours, ",");
    const EditResult r = ClickSeries(f.points, f.selected, f.drawn, Click(121, 51, 0, 0), kColours, ",");
    EXPECT_EQ(r.Action, EditAction::Deselected);
    EXPECT_EQ(f.selected, -1);
    EXPECT_EQ(f.points.Count(), 3u);
    EXPECT_EQ(f.points[2].Colour, kColours.Point);
}

TEST(ManualEdit, EditMovesOnlyY)
{
    Fixture f;
    ClickSeries(f.points, f.selected, f.drawn, Click(110, 50, 0, 0, false), kColours, ",");
    ASSERT_EQ(f.selected, 1);
    const EditResult r = ClickSeries(f.points, f.selected, f.drawn, Click(300, 5, 9.0, 99.0, false), kColours, ",");
    EXPECT_EQ(r.Action, EditAction::Moved);
    EXPECT_EQ(f.points[1].X, 2.0);
    EXPECT_EQ(f.points[1].Y, 99.0);

    // Without a selection a click away from every point does nothing in Edit.
    EXPECT_EQ(ClickSeries(f.points, f.selected, f.drawn, Click(300, 5, 9.0, 99.0, false), kColours, ",").Action,
              EditAction::None);
    EXPECT_EQ(f.points.Count(), 3u);
}

TEST(ManualEdit, SensitivityZeroSelectsOnlyTheExactPixel)
{
    Fixture f;
    EXPECT_EQ(ClickSeries(f.points, f.selected, f.drawn, Click(101, 50, 1.1, 0, true, 0), kColours, ",").Action,
              EditAction::Added);
    Fixture g;
    EXPECT_EQ(ClickSeries(g.points, g.selected, g.drawn, Click(100, 50, 0, 0, true, 0), kColours, ",").Action,
              EditAction::Selected);
}

TEST(ManualEdit, RightClickDeletesTheSelectedPointInManualOnly)
{
    for (const bool manual : {true, false}) {
        SCOPED_TRACE(manual);
        Fixture f;
        ClickSeries(f.points, f.selected, f.drawn, Click(110, 50, 0, 0, manual), kColours, ",");
        ASSERT_EQ(f.selected, 1);
        // Outside the square of the selected point: nothing.
        EXPECT_EQ(RightClickSeries(f.points, f.selected, f.drawn, Click(100, 50, 0, 0, manual)).Action,
                  EditAction::None);
        const EditResult r = RightClickSeries(f.points, f.selected, f.drawn, Click(111, 51, 0, 0, manual));
        if (manual) {
            EXPECT_EQ(r.Action, EditAction::Deleted);
            EXPECT_EQ(f.selected, -1);
            ASSERT_EQ(f.points.Count(), 2u);
            EXPECT_EQ(f.points[1].X, 3.0);
        } else {
            EXPECT_EQ(r.Action, EditAction::None);
            EXPECT_EQ(f.selected, 1);
            EXPECT_EQ(f.points.Count(), 3u);
        }
    }
}

// A selection made before the list was replaced (a trace with fewer points)
// names no point any more: it is ended, never used.
TEST(ManualEdit, StaleSelectionIsEndedNotUsed)
{
    Fixture f;
    f.selected = 7;
    EXPECT_EQ(RightClickSeries(f.points, f.selected, f.drawn, Click(100, 50, 0, 0)).Action, EditAction::None);
    EXPECT_EQ(f.selected, -1);

    f.selected = 3;
    const EditResult r = PlacePoint(f.points, f.selected, Click(0, 0, 0.5, 1.0), kColours, ".");
    EXPECT_EQ(r.Action, EditAction::Added);
    EXPECT_EQ(r.Index, 0u);
    EXPECT_EQ(f.points[0].Label, "0.5");
    EXPECT_EQ(f.selected, -1);
}

TEST(ManualEdit, SelectionColourGoesToEveryPointAtTheSameX)
{
    Fixture f;
    f.points.Add(DataPoint{2.0, 5.0, {}, kColours.Point});   // lands at index 2, beside X = 2
    f.drawn.insert(f.drawn.begin() + 2, SurfacePoint{110, 30});
    ClickSeries(f.points, f.selected, f.drawn, Click(110, 31, 0, 0), kColours, ",");
    EXPECT_EQ(f.selected, 2);
    EXPECT_EQ(f.points[1].Colour, kColours.SelectPoint);
    EXPECT_EQ(f.points[2].Colour, kColours.SelectPoint);
    EXPECT_EQ(f.points[0].Colour, kColours.Point);
}
