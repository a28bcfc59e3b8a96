// Split lines, automatic factors and edge movement of a layout pass.
#include "edge_placement.h"

#include <gtest/gtest.h>

namespace {

constexpr EdgeFactors kAuto{kAutomaticFactor, kAutomaticFactor, kAutomaticFactor, kAutomaticFactor};

void ExpectFactors(const EdgeFactors& f, double left, double right, double top, double bottom)
{
    EXPECT_EQ(f.left, left);
    EXPECT_EQ(f.right, right);
    EXPECT_EQ(f.top, top);
    EXPECT_EQ(f.bottom, bottom);
}

void ExpectRect(const LayoutRect& r, std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom)
{
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, right);
    EXPECT_EQ(r.bottom, bottom);
}

}  // namespace

TEST(SplitLine, TruncatesTheQuotientAndDoesNotOverflow)
{
    EXPECT_EQ(SplitLine(50, 671), 335);
    EXPECT_EQ(SplitLine(67, 100), 67);
    EXPECT_EQ(SplitLine(67, 149), 99);
    EXPECT_EQ(SplitLine(67, 1), 0);
    EXPECT_EQ(SplitLine(67, 40000000), 26800000);
}

TEST(AutomaticFactors, AnEdgeOnOrBeyondTheLineFollowsTheFarSide)
{
    ExpectFactors(AutomaticFactors({10, 10, 90, 50}, 100, 100, false), 0, 0, 0, 0);
    ExpectFactors(AutomaticFactors({10, 10, 150, 150}, 100, 100, false), 0, 1, 0, 1);
    ExpectFactors(AutomaticFactors({100, 100, 150, 150}, 100, 100, false), 1, 1, 1, 1);
    // A right or bottom edge exactly on the line counts as beyond it too.
    ExpectFactors(AutomaticFactors({10, 10, 100, 100}, 100, 100, false), 0, 1, 0, 1);
    ExpectFactors(AutomaticFactors({10, 10, 99, 99}, 100, 100, false), 0, 0, 0, 0);
}

TEST(AutomaticFactors, AFixedSizeControlFollowsTheEdgeFurtherPastTheLine)
{
    // 30 pixels before the line and 20 past it: the near side wins.
    ExpectFactors(AutomaticFactors({70, 70, 120, 120}, 100, 100, true), 0, 0, 0, 0);
    // 20 before, 30 past: the whole control follows the far side.
    ExpectFactors(AutomaticFactors({80, 80, 130, 130}, 100, 100, true), 1, 1, 1, 1);
    // Centred exactly on the line: the left (top) edge's factor.
    ExpectFactors(AutomaticFactors({75, 75, 125, 125}, 100, 100, true), 0, 0, 0, 0);
    // The axes are independent.
    ExpectFactors(AutomaticFactors({80, 70, 130, 120}, 100, 100, true), 1, 1, 0, 0);
    // Wholly beyond the line it moves; wholly before it stays.
    ExpectFactors(AutomaticFactors({100, 0, 130, 30}, 100, 100, true), 1, 1, 0, 0);
}

TEST(MergeFactors, EveryNonNegativeExplicitFactorWins)
{
    ExpectFactors(MergeFactors({1, 1, 1, 1}, {0.0, kAutomaticFactor, 0.5, -0.25}), 0.0, 1, 0.5, 1);
    ExpectFactors(MergeFactors({0, 1, 0, 1}, kAuto), 0, 1, 0, 1);
}

TEST(PlaceEdge, FixedFollowingAndProportionalEdges)
{
    const AxisSizes grown{400, 450, 461};  // 61 since attaching, 11 since the last pass
    EXPECT_EQ(PlaceEdge(0.0, 120, 100, grown), 120);
    EXPECT_EQ(PlaceEdge(1.0, 120, 100, grown), 131);
    // Proportional edges start from the initial position: 100 + 0.5 × 61.
    EXPECT_EQ(PlaceEdge(0.5, 120, 100, grown), 130);
    EXPECT_EQ(PlaceEdge(0.25, 999, 100, grown), 115);
    // An accumulated share just below 1.0 is still proportional.
    EXPECT_EQ(PlaceEdge(0.99998, 120, 100, AxisSizes{400, 400, 500}), 199);
}

TEST(PlaceEdge, ProportionalPositionsTruncateTowardZero)
{
    EXPECT_EQ(PlaceEdge(0.5, 0, 100, AxisSizes{400, 400, 411}), 105);
    EXPECT_EQ(PlaceEdge(0.5, 0, 100, AxisSizes{400, 400, 401}), 100);
    // Below the minimum size (only a program can make it so) the position, not the move, is cut.
    EXPECT_EQ(PlaceEdge(0.5, 0, 100, AxisSizes{400, 400, 389}), 94);
    EXPECT_EQ(PlaceEdge(0.5, 0, 100, AxisSizes{400, 400, 399}), 99);
}

TEST(PlaceChildRect, AutomaticEdgesUseTheSplitLinesOfTheLastSize)
{
    // 50% of the last width 400 is 200; of the new width 600 it would be 300.
    const AxisSizes width{400, 400, 600};
    const AxisSizes height{300, 300, 300};
    ChildPlacement stretchable{{250, 10, 280, 20}, false, false, kAuto, {}};
    ExpectRect(PlaceChildRect(stretchable, width, height, 50, 67), 450, 10, 480, 20);
    // A control reaching the line stretches.
    ChildPlacement straddling{{150, 10, 200, 20}, false, false, kAuto, {}};
    ExpectRect(PlaceChildRect(straddling, width, height, 50, 67), 150, 10, 400, 20);
    ChildPlacement button{{150, 10, 200, 20}, true, false, kAuto, {}};
    ExpectRect(PlaceChildRect(button, width, height, 50, 67), 150, 10, 200, 20);
}

TEST(PlaceChildRect, ExplicitFactorsOverrideOnlyTheirEdgesAndApplyToFixedSizeControls)
{
    const AxisSizes width{400, 410, 430};
    const AxisSizes height{300, 320, 350};
    // A button sitting beyond both lines with explicit horizontal factors of one half.
    ChildPlacement button{{230, 250, 270, 270}, true, true, {0.5, 0.5, kAutomaticFactor, kAutomaticFactor},
                          {220, 230, 260, 250}};
    // Left and right: initial + 0.5 × 30; top and bottom move with the last change of 30.
    ExpectRect(PlaceChildRect(button, width, height, 50, 67), 235, 280, 275, 300);

    ChildPlacement log{{10, 250, 390, 290}, false, true, {kAutomaticFactor, kAutomaticFactor, 0.0, 1.0},
                       {10, 250, 390, 290}};
    ExpectRect(PlaceChildRect(log, width, height, 50, 67), 10, 250, 410, 320);
}
