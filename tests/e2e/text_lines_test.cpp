// Lines read from controls and files, their comparison, and finding items by name.
#include "text_lines.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

}  // namespace

TEST(CrLfLines, SplitOnlyWhereEveryLineEndsInCrLf)
{
    Lines lines;
    std::string error;
    ASSERT_TRUE(SplitCrLfLines("", lines, error));
    EXPECT_TRUE(lines.empty());
    ASSERT_TRUE(SplitCrLfLines("[libdefaults]\r\nforwardable = true\r\n\r\n", lines, error));
    EXPECT_EQ(lines, (Lines{"[libdefaults]", "forwardable = true", ""}));

    EXPECT_FALSE(SplitCrLfLines("a\r\nb\nc\r\n", lines, error));
    EXPECT_EQ(error, "a lone LF at byte 4");
    EXPECT_FALSE(SplitCrLfLines("a\rb\r\n", lines, error));
    EXPECT_EQ(error, "a lone CR at byte 1");
    EXPECT_FALSE(SplitCrLfLines("a\r\nb", lines, error));
    EXPECT_NE(error.find("\"b\""), std::string::npos);
    EXPECT_FALSE(SplitCrLfLines("a\r", lines, error)) << "a CR at the very end is lone too";
}

TEST(LfLines, RefuseAnyCrAndAnUnendedLastLine)
{
    Lines lines;
    std::string error;
    ASSERT_TRUE(SplitLfLines("a\n\nb\n", lines, error));
    EXPECT_EQ(lines, (Lines{"a", "", "b"}));
    EXPECT_FALSE(SplitLfLines("a\r\nb\n", lines, error));
    EXPECT_EQ(error, "a CR at byte 1");
    EXPECT_FALSE(SplitLfLines("a\nb", lines, error));
    EXPECT_EQ(JoinLines({"a", "", "b"}, "\n"), "a\n\nb\n");
    EXPECT_EQ(JoinLines({}, "\r\n"), "");
}

TEST(Quoting, ShowsInvisibleBytes)
{
    EXPECT_EQ(Quoted("Reason: Access denied.\r\n"), "\"Reason: Access denied.\\r\\n\"");
    EXPECT_EQ(Quoted("a\tb\\c\"d\x01\x7f\xe9"), "\"a\\tb\\\\c\\\"d\\x01\\x7f\xe9\"");
}

TEST(LineDifference, NamesTheFirstDifferingLineAndWhatWasFound)
{
    EXPECT_EQ(DescribeLineDifference({"a", "b"}, {"a", "b"}), "");
    const std::string changed = DescribeLineDifference({"a", "b", "c"}, {"a", "B", "c"});
    EXPECT_NE(changed.find("at line 2"), std::string::npos) << changed;
    EXPECT_NE(changed.find("expected: \"b\""), std::string::npos) << changed;
    EXPECT_NE(changed.find("found:    \"B\""), std::string::npos) << changed;
    const std::string shorter = DescribeLineDifference({"a", ""}, {"a"});
    EXPECT_NE(shorter.find("expected 2 lines, found 1"), std::string::npos) << shorter;
    EXPECT_NE(shorter.find("found:    (no line)"), std::string::npos) << shorter;
    EXPECT_NE(DescribeLineDifference({}, {""}), "") << "an empty line is a line";
}

TEST(Patterns, StarMatchesAnythingElseOnlyItself)
{
    EXPECT_TRUE(MatchesPattern("*", ""));
    EXPECT_TRUE(MatchesPattern("*", "krb5.conf already exists."));
    EXPECT_TRUE(MatchesPattern("Warning", "Warning"));
    EXPECT_FALSE(MatchesPattern("Warning", "warning"));
    EXPECT_FALSE(MatchesPattern("Warn*", "Warning")) << "no partial patterns";
}

TEST(NamedItems, AreFoundInListOrderAfterThePrefix)
{
    const Lines selected{"--c lab.ashgrove.test", "d-- corp.riverton.test", "-s- eu.corp.riverton.test"};
    std::vector<int> indexes;
    std::string missing;
    ASSERT_TRUE(FindNamedItems(selected, {"eu.corp.riverton.test", "lab.ashgrove.test"}, 4, indexes, missing));
    EXPECT_EQ(indexes, (std::vector<int>{0, 2}));

    EXPECT_FALSE(FindNamedItems(selected, {"corp.riverton.test", "CORP.RIVERTON.TEST"}, 4, indexes, missing));
    EXPECT_EQ(missing, "CORP.RIVERTON.TEST") << "names are exact";
    EXPECT_FALSE(FindNamedItems(selected, {"d-- corp.riverton.test"}, 4, indexes, missing))
        << "the prefix is not part of the name";

    ASSERT_TRUE(FindNamedItems(selected, {"*"}, 4, indexes, missing));
    EXPECT_EQ(indexes, (std::vector<int>{0, 1, 2}));
    ASSERT_TRUE(FindNamedItems({"a", "b"}, {}, 0, indexes, missing));
    EXPECT_TRUE(indexes.empty()) << "no names select nothing";
}
