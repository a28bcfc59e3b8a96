// The Selected list's item texts: prefix, cut, marks.
#include "realm_item_text.h"

#include <gtest/gtest.h>

#include <string>

TEST(SelectedItemText, StartsUnmarkedAndCutsTheNameTo255Characters)
{
    EXPECT_EQ(SelectedItemText("example.com"), "--- example.com");
    const std::string longest(255, 'a');
    EXPECT_EQ(SelectedItemText(longest), "--- " + longest);
    const std::string tooLong = std::string(255, 'b') + "tail";
    EXPECT_EQ(SelectedItemText(tooLong), "--- " + std::string(255, 'b'));
    EXPECT_EQ(SelectedItemText(tooLong).size() + 1, kItemTextBufferSize);
}

TEST(AvailableItemText, DropsTheFirstFourCharactersUnread)
{
    EXPECT_EQ(AvailableItemText("dsc example.com"), "example.com");
    EXPECT_EQ(AvailableItemText("xyz!name"), "name");
    EXPECT_EQ(AvailableItemText("--- "), "");
    EXPECT_EQ(AvailableItemText("ab"), "");
    EXPECT_EQ(AvailableItemText(SelectedItemText("a.test")), "a.test");
}

TEST(ToggledFlag, TurnsOverOnlyItsOwnPosition)
{
    EXPECT_EQ(ToggledFlag("d-c example.com", true), "dsc example.com");
    EXPECT_EQ(ToggledFlag(ToggledFlag("d-c example.com", true), true), "d-c example.com");
    EXPECT_EQ(ToggledFlag("ds- example.com", false), "dsc example.com");
    EXPECT_EQ(ToggledFlag("dsc example.com", false), "ds- example.com");
    // The letters belong to their positions: an 's' at the client position is not the client mark.
    EXPECT_EQ(ToggledFlag("--s x", false), "--c x");
    EXPECT_EQ(ToggledFlag("-", true), "-");
}

TEST(DefaultMark, SetsAndClearsPositionZeroOnly)
{
    EXPECT_EQ(WithDefaultMark("-sc example.com"), "dsc example.com");
    EXPECT_EQ(WithDefaultMark("d-- example.com"), "d-- example.com");
    EXPECT_EQ(WithoutDefaultMark("dsc example.com"), "-sc example.com");
    EXPECT_EQ(WithDefaultMark(""), "");
    EXPECT_EQ(WithoutDefaultMark(""), "");
}
