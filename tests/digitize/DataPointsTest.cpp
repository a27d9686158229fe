#include "digitize/DataPoints.h"

#include "base/Errors.h"

#include <gtest/gtest.h>

#include <vector>

using namespace quillmark;

namespace {

DataPointList ListOf(std::initializer_list<double> xs, bool ordered = true)
{
    DataPointList list(false);   // built in the given order, whatever it is
    for (const double x : xs)
        list.Add(DataPoint{x, 0.0, {}, {}});
    list.SetOrdered(ordered);
    return list;
}

std::vector<double> Xs(const DataPointList& list)
{
    std::vector<double> xs;
    for (const DataPoint& p : list.Points())
        xs.push_back(p.X);
    return xs;
}

} // namespace

struct InsertCase {
    const char* name;
    std::vector<double> before;
    bool ordered;
    double x;
    std::size_t index;
};

class DataPointsInsert : public testing::TestWithParam<InsertCase> {};

TEST_P(DataPointsInsert, GoesAfterTheLastPointNotGreater)
{
    const InsertCase& c = GetParam();
    DataPointList list(false);
    for (const double x : c.before)
        list.Add(DataPoint{x, 0.0, {}, {}});
    list.SetOrdered(c.ordered);
    const std::size_t index = list.Add(DataPoint{c.x, 42.0, "new", {}});
    EXPECT_EQ(index, c.index);
    ASSERT_EQ(list.Count(), c.before.size() + 1);
    EXPECT_EQ(list[index].Y, 42.0);
    EXPECT_EQ(list[index].Label, "new");
}

INSTANTIATE_TEST_SUITE_P(
    DataPoints, DataPointsInsert,
    testing::Values(InsertCase{"IntoEmpty", {}, true, 5.0, 0},
                    InsertCase{"EqualGoesAfterEqual", {1, 3, 5}, true, 3.0, 2},
                    InsertCase{"EqualToLastAppends", {1, 3, 3}, true, 3.0, 3},
                    InsertCase{"Smallest", {1, 3, 5}, true, 0.5, 0},
                    InsertCase{"Largest", {1, 3, 5}, true, 9.0, 3},
                    InsertCase{"Between", {1, 3, 5}, true, 4.0, 2},
                    // A list un-sorted by moving points is searched from the end.
                    InsertCase{"UnsortedFromTheEnd", {5, 1, 3}, true, 2.0, 2},
                    InsertCase{"UnsortedNoneNotGreater", {5, 1, 3}, true, 0.0, 0},
                    InsertCase{"OrderingOffAppends", {1, 3, 5}, false, 0.0, 3}),
    [](const testing::TestParamInfo<InsertCase>& c) { return std::string(c.param.name); });

TEST(DataPoints, SwitchingOrderingDoesNotResort)
{
    DataPointList list = ListOf({3, 1, 2}, false);
    list.SetOrdered(true);
    EXPECT_EQ(Xs(list), (std::vector<double>{3, 1, 2}));
    list.Add(DataPoint{2.5, 0.0, {}, {}});
    EXPECT_EQ(Xs(list), (std::vector<double>{3, 1, 2, 2.5}));
}

TEST(DataPoints, MovingAPointKeepsItsIndex)
{
    DataPointList list = ListOf({1, 2, 3});
    list.SetX(0, 10.0);
    EXPECT_EQ(Xs(list), (std::vector<double>{10, 2, 3}));
    list.Delete(1);
    EXPECT_EQ(Xs(list), (std::vector<double>{10, 3}));
    EXPECT_THROW(list.Delete(2), InternalError);
}

TEST(DataPoints, ColourGoesToEveryPointAtTheSameX)
{
    DataPointList list = ListOf({1, 2, 2, 3});
    const Color red{255, 0, 0};
    list.SetColourAtX(2.0, red);
    EXPECT_FALSE(list[0].Colour.has_value());
    EXPECT_EQ(list[1].Colour, red);
    EXPECT_EQ(list[2].Colour, red);
    EXPECT_FALSE(list[3].Colour.has_value());
}
