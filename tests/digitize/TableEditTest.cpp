#include "digitize/TableEdit.h"

#include <gtest/gtest.h>

using namespace quillmark;

namespace {

DataPointList TwoPoints()
{
    DataPointList list;
    list.Add(DataPoint{1.0, 0.5, {}, {}});
    list.Add(DataPoint{2.0, -1.25, {}, {}});
    return list;
}

} // namespace

TEST(TableEdit, YTextWithTheRegionalSeparatorSetsY)
{
    DataPointList list = TwoPoints();
    const CellEditResult r = EditTableCell(list, 2, 2, "2,5", ",");
    EXPECT_TRUE(r.YChanged);
    EXPECT_FALSE(r.CellText.has_value());
    EXPECT_EQ(list[1].Y, 2.5);
    EXPECT_EQ(list[0].Y, 0.5);
}

TEST(TableEdit, TextThatIsNotANumberPutsTheOldYBack)
{
    for (const char* text : {"2.5", "abc", "1e999", "-"}) {
        SCOPED_TRACE(text);
        DataPointList list = TwoPoints();
        const CellEditResult r = EditTableCell(list, 2, 2, text, ",");
        EXPECT_FALSE(r.YChanged);
        EXPECT_EQ(r.CellText, "-1,25");
        EXPECT_EQ(list[1].Y, -1.25);
    }
}

TEST(TableEdit, XEditsEmptyTextsAndRowsWithoutAPointChangeNothing)
{
    struct Case {
        int column;
        int row;
        const char* text;
    };
    for (const Case& c : {Case{1, 1, "7"}, Case{2, 1, ""}, Case{2, 3, "7"}, Case{2, 0, "7"}, Case{2, -1, "7"}}) {
        SCOPED_TRACE(testing::Message() << c.column << "/" << c.row << "/" << c.text);
        DataPointList list = TwoPoints();
        const CellEditResult r = EditTableCell(list, c.column, c.row, c.text, ",");
        EXPECT_FALSE(r.YChanged);
        EXPECT_FALSE(r.CellText.has_value());
        EXPECT_EQ(list[0], (DataPoint{1.0, 0.5, {}, {}}));
        EXPECT_EQ(list[1], (DataPoint{2.0, -1.25, {}, {}}));
    }
}

TEST(TableEdit, EnterInTheLastRowGoesBackToRowOne)
{
    EXPECT_EQ(NextTableRow(1, 4), 2);
    EXPECT_EQ(NextTableRow(2, 4), 3);
    EXPECT_EQ(NextTableRow(3, 4), 1);
    EXPECT_EQ(NextTableRow(1, 2), 1);
}
