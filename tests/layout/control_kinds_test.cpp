// Which children keep their size and which are redrawn after a move.
#include "control_kinds.h"

#include <gtest/gtest.h>

TEST(IsFixedSizeControl, PushDefaultUserAndOwnerDrawnButtonsOnly)
{
    for (std::uint32_t type : {0x0u, 0x1u, 0x8u, 0xBu})
        EXPECT_TRUE(IsFixedSizeControl("Button", type)) << type;
    // Check boxes, radio buttons, three-state buttons and group boxes stretch.
    for (std::uint32_t type : {0x2u, 0x3u, 0x4u, 0x5u, 0x6u, 0x7u, 0x9u, 0xAu, 0xCu, 0xFu})
        EXPECT_FALSE(IsFixedSizeControl("Button", type)) << type;
}

TEST(IsFixedSizeControl, OnlyTheLowFourStyleBitsAndTheClassNameInAnyCaseCount)
{
    // WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON
    EXPECT_TRUE(IsFixedSizeControl("BUTTON", 0x50010001u));
    EXPECT_TRUE(IsFixedSizeControl("button", 0x10u));
    EXPECT_FALSE(IsFixedSizeControl("Buttons", 0));
    EXPECT_FALSE(IsFixedSizeControl("Butto", 0));
    EXPECT_FALSE(IsFixedSizeControl("Static", 0));
    EXPECT_FALSE(IsFixedSizeControl("", 0));
    EXPECT_FALSE(IsFixedSizeControl(nullptr, 0));
}

TEST(IsStaticControl, MatchesStaticInAnyCase)
{
    EXPECT_TRUE(IsStaticControl("Static"));
    EXPECT_TRUE(IsStaticControl("STATIC"));
    EXPECT_TRUE(IsStaticControl("sTaTiC"));
    EXPECT_FALSE(IsStaticControl("Statics"));
    EXPECT_FALSE(IsStaticControl("Stati"));
    EXPECT_FALSE(IsStaticControl("Edit"));
}
