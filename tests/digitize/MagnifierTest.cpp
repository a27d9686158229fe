#include "digitize/Magnifier.h"

#include <gtest/gtest.h>

using namespace quillmark;

TEST(Magnifier, BlocksOfTheItemsSizeAroundThePointersPixel)
{
    // The magnifier picture as laid out: 157 x 118 pixels, cross hair at (78, 59).
    EXPECT_EQ(MagnifierFactor(-1), 2);
    EXPECT_EQ(MagnifierFactor(3), 16);
    for (int index = 0; index < 4; ++index) {
        const int f = MagnifierFactor(index);
        SCOPED_TRACE(f);
        const MagnifierCells c = MagnifierLayout(1000, 20, f, 157, 118);
        // The first block starts at or before the edge, within one block.
        EXPECT_LE(c.Left, 0);
        EXPECT_GT(c.Left, -f);
        EXPECT_LE(c.Top, 0);
        EXPECT_GT(c.Top, -f);
        // The pointer's pixel holds the cross hair.
        const long long x = c.Left + (1000 - c.FirstColumn) * f;
        const long long y = c.Top + (20 - c.FirstRow) * f;
        EXPECT_LE(x, 78);
        EXPECT_GT(x + f, 78);
        EXPECT_LE(y, 59);
        EXPECT_GT(y + f, 59);
        // And the blocks reach the far edges.
        EXPECT_GE(c.Left + c.Columns * f, 157);
        EXPECT_LT(c.Left + (c.Columns - 1) * f, 157);
        EXPECT_GE(c.Top + c.Rows * f, 118);
    }
    const MagnifierCells sixteen = MagnifierLayout(0, 0, 16, 157, 118);
    EXPECT_EQ(sixteen.FirstColumn, -5);
    EXPECT_EQ(sixteen.Left, -10);
    EXPECT_EQ(sixteen.Columns, 11);
}
