// Sharing growth among a row or column of controls.
#include "distribution_factors.h"

#include <gtest/gtest.h>

namespace {

void ExpectSpan(const EdgeSpan& span, double nearEdge, double farEdge)
{
    EXPECT_EQ(span.nearEdge, nearEdge);
    EXPECT_EQ(span.farEdge, farEdge);
}

}  // namespace

TEST(DistributionFactors, TwoEqualListsAroundTwoButtonsShareTheWidthInHalves)
{
    // The main window's row: list, "Add ->", "<- Remove", list, in pixels.
    auto spans = DistributionFactors({{true, 227}, {false, 69}, {false, 69}, {true, 227}});
    ASSERT_EQ(spans.size(), 4u);
    ExpectSpan(spans[0], 0.0, 0.5);
    ExpectSpan(spans[1], 0.5, 0.5);
    ExpectSpan(spans[2], 0.5, 0.5);
    ExpectSpan(spans[3], 0.5, 1.0);
}

TEST(DistributionFactors, SharesFollowTheExtentsAndMoversTakeTheShareBeforeThem)
{
    auto spans = DistributionFactors({{false, 5}, {true, 100}, {false, 9}, {true, 300}, {false, 1}});
    ExpectSpan(spans[0], 0.0, 0.0);
    ExpectSpan(spans[1], 0.0, 0.25);
    ExpectSpan(spans[2], 0.25, 0.25);
    ExpectSpan(spans[3], 0.25, 1.0);
    ExpectSpan(spans[4], 1.0, 1.0);
}

TEST(DistributionFactors, AFarShareOfAtLeastTheThresholdIsStoredAsOneButTheSumGoesOn)
{
    auto spans = DistributionFactors({{true, 99999}, {false, 4}, {true, 1}});
    ExpectSpan(spans[0], 0.0, 1.0);
    // The mover's near edge keeps the unclamped sum; its far edge is clamped.
    ExpectSpan(spans[1], 0.99999, 1.0);
    ExpectSpan(spans[2], 0.99999, 1.0);

    auto below = DistributionFactors({{true, 99998}, {true, 2}});
    ExpectSpan(below[0], 0.0, 0.99998);
}

TEST(DistributionFactors, ThirdsAddUpToExactlyOne)
{
    auto spans = DistributionFactors({{true, 1}, {true, 1}, {true, 1}, {false, 7}});
    EXPECT_EQ(spans[2].farEdge, 1.0);
    EXPECT_EQ(spans[3].farEdge, 1.0);
}

TEST(DistributionFactors, WithoutAStretchingExtentEverythingStays)
{
    auto movers = DistributionFactors({{false, 10}, {false, 20}});
    ASSERT_EQ(movers.size(), 2u);
    for (const EdgeSpan& span : movers)
        ExpectSpan(span, 0.0, 0.0);
    // Stretching controls that are all zero wide would otherwise divide by zero.
    auto flat = DistributionFactors({{true, 0}, {false, 20}, {true, 0}});
    ASSERT_EQ(flat.size(), 3u);
    for (const EdgeSpan& span : flat)
        ExpectSpan(span, 0.0, 0.0);
    EXPECT_TRUE(DistributionFactors({}).empty());
}

TEST(DistributionFactors, TheMainWindowColumnGivesAllHeightToTheLog)
{
    std::vector<DistributionItem> column(9, DistributionItem{false, 20});
    column.push_back({true, 54});
    auto spans = DistributionFactors(column);
    for (std::size_t i = 0; i < 9; ++i)
        ExpectSpan(spans[i], 0.0, 0.0);
    ExpectSpan(spans[9], 0.0, 1.0);
}
