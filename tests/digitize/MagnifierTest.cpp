#include "digitize/Magnifier.h"

#include <gtest/gtest.h>

using namespace quillmark;

TEST(Magnifier, SourceReachShrinksWithTheZoom)
{
    // The magnifier picture as laid out: 157 x 118 pixels.
    const int expected[4][2] = {{39, 29}, {26, 19}, {19, 14}, {15, 11}};
    for (int index = 0; index < 4; ++index) {
        SCOPED_TRACE(index);
        const MagnifierReach reach = MagnifierSourceReach(index, 157, 118);
        EXPECT_EQ(reach.X, expected[index][0]);
        EXPECT_EQ(reach.Y, expected[index][1]);
    }
}
