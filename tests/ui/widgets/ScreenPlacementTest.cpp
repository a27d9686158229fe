#include "ui/widgets/ScreenPlacement.h"

#include <gtest/gtest.h>

using namespace quillmark;

namespace {

const QRect kLeftScreen(0, 0, 1920, 1050);
const QRect kRightScreen(1920, 0, 1280, 1000);

TEST(ScreenPlacement, WindowsTheUserCanReachStayAsTheyAre)
{
    // On either screen, or with only its top strip showing.
    EXPECT_EQ(ReachablePlacement({30, 25, 735, 495}, {kLeftScreen, kRightScreen}), QRect(30, 25, 735, 495));
    EXPECT_EQ(ReachablePlacement({2000, 100, 735, 495}, {kLeftScreen, kRightScreen}), QRect(2000, 100, 735, 495));
    EXPECT_EQ(ReachablePlacement({-690, 1030, 735, 495}, {kLeftScreen}), QRect(-690, 1030, 735, 495));
    // Larger than its screen is the user's choice.
    EXPECT_EQ(ReachablePlacement({1950, 0, 3000, 2000}, {kLeftScreen, kRightScreen}), QRect(1950, 0, 3000, 2000));
}

TEST(ScreenPlacement, WindowsOutOfReachMoveToTheFirstScreen)
{
    // Saved on a right-hand screen that is gone.
    EXPECT_EQ(ReachablePlacement({2000, 100, 735, 495}, {kLeftScreen}), QRect(0, 0, 735, 495));
    // Title bar above the screen, only a sliver showing at the left edge,
    // below every screen.
    EXPECT_EQ(ReachablePlacement({100, -300, 735, 495}, {kLeftScreen}), QRect(0, 0, 735, 495));
    EXPECT_EQ(ReachablePlacement({-700, 100, 735, 495}, {kLeftScreen}), QRect(0, 0, 735, 495));
    EXPECT_EQ(ReachablePlacement({100, 1040, 735, 495}, {kLeftScreen}), QRect(0, 0, 735, 495));
    EXPECT_EQ(ReachablePlacement({2000, 100, 3000, 2000}, {kLeftScreen}), QRect(0, 0, 1920, 1050));
    // The first screen's available area may not start at 0 (a panel on top).
    EXPECT_EQ(ReachablePlacement({5000, 5000, 4000, 300}, {QRect(0, 32, 1920, 1018)}), QRect(0, 32, 1920, 300));
    // No screens known: nothing to check against.
    EXPECT_EQ(ReachablePlacement({5000, 5000, 10, 10}, {}), QRect(5000, 5000, 10, 10));
}

} // namespace
