#include "digitize/NearestPoint.h"

#include <gtest/gtest.h>

#include <vector>

using namespace quillmark;

TEST(NearestPoint, NoPointsGivesMinusOne)
{
    EXPECT_EQ(NearestPoint({}, SurfacePoint{3, 4}), -1);
}

TEST(NearestPoint, UsesTheSumOfAxisDistances)
{
    // (10, 0) is 10 away in both measures; (6, 6) is 12 by |dx| + |dy| but
    // only 8.5 straight: the sum decides.
    const std::vector<SurfacePoint> drawn{{6, 6}, {10, 0}};
    EXPECT_EQ(NearestPoint(drawn, SurfacePoint{0, 0}), 1);
}

TEST(NearestPoint, OfEqualDistancesTheLowestIndexWins)
{
    const std::vector<SurfacePoint> drawn{{20, 20}, {12, 10}, {10, 12}, {8, 10}, {10, 9}};
    // Points 1, 2 and 3 are all 2 away from (10, 10); point 4 is 1 away.
    EXPECT_EQ(NearestPoint(std::span(drawn).first(4), SurfacePoint{10, 10}), 1);
    EXPECT_EQ(NearestPoint(drawn, SurfacePoint{10, 10}), 4);
    // Only the points passed are visited: here the plot draws points 0 and 1.
    EXPECT_EQ(NearestPoint(std::span(drawn).first(2), SurfacePoint{10, 9}), 1);
    const std::vector<SurfacePoint> same{{5, 5}, {5, 5}};
    EXPECT_EQ(NearestPoint(same, SurfacePoint{0, 0}), 0);
}

TEST(NearestPoint, SelectionSquareIncludesItsEdges)
{
    const SurfacePoint point{100, 50};
    struct Case {
        SurfacePoint click;
        int sensitivity;
        bool inside;
    };
    const Case cases[] = {
        {{100, 50}, 0, true},  {{101, 50}, 0, false}, {{100, 49}, 0, false},
        {{101, 51}, 1, true},  {{99, 49}, 1, true},   {{102, 50}, 1, false},
        {{100, 48}, 1, false}, {{150, 0}, 50, true},  {{151, 0}, 50, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.click.X << "," << c.click.Y << " s=" << c.sensitivity);
        EXPECT_EQ(InSelectionSquare(point, c.click, c.sensitivity), c.inside);
    }
}
