// The driver's scenario files: tokens, blocks, line numbers and variables.
#include "scenario.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Tokens(const std::string& line)
{
    std::vector<std::string> tokens;
    std::string error;
    EXPECT_TRUE(SplitStepLine(line, tokens, error)) << error;
    return tokens;
}

std::string SplitError(const std::string& line)
{
    std::vector<std::string> tokens;
    std::string error;
    EXPECT_FALSE(SplitStepLine(line, tokens, error));
    return error;
}

}  // namespace

TEST(StepLine, QuotesKeepBlanksAndEscapesAndMayBeEmpty)
{
    EXPECT_EQ(Tokens("box \"No items selected.\" Warning ok"),
              (std::vector<std::string>{"box", "No items selected.", "Warning", "ok"}));
    EXPECT_EQ(Tokens("expect-edit tgs \"\""), (std::vector<std::string>{"expect-edit", "tgs", ""}));
    EXPECT_EQ(Tokens("x \"say \\\"hi\\\" \\\\ there\""), (std::vector<std::string>{"x", "say \"hi\" \\ there"}));
    EXPECT_EQ(Tokens("\t a\t\tb  "), (std::vector<std::string>{"a", "b"}));
    // A quote inside an unquoted token is an ordinary character.
    EXPECT_EQ(Tokens("a\"b"), (std::vector<std::string>{"a\"b"}));
}

TEST(StepLine, RejectsAnOpenQuoteAndUnknownEscapes)
{
    EXPECT_NE(SplitError("box \"No items"), "");
    EXPECT_NE(SplitError("box \"a\\nb\""), "");
    EXPECT_NE(SplitError("box \"ends in a backslash\\"), "");
}

TEST(Scenario, SkipsCommentsAndBlankLinesAndKeepsLineNumbers)
{
    std::vector<ScenarioStep> steps;
    std::string error;
    ASSERT_TRUE(ParseScenario("# start it\n\n  start\r\n   # indented comment\npress add\n", steps, error)) << error;
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0].verb, "start");
    EXPECT_EQ(steps[0].line, 3);
    EXPECT_TRUE(steps[0].args.empty());
    EXPECT_EQ(steps[1].verb, "press");
    EXPECT_EQ(steps[1].line, 5);
    EXPECT_EQ(steps[1].args, std::vector<std::string>{"add"});
    EXPECT_FALSE(steps[1].hasBlock);
}

TEST(Scenario, BlocksAreVerbatimUpToTheirExactTerminator)
{
    const std::string text =
        "expect-config <<END\n"
        "[realms]\n"
        "    kdc = dc1   \n"
        "# not a comment here\n"
        "\n"
        " END\n"
        "END\n"
        "expect-log <<EOF\r\n"
        "EOF\r\n"
        "exit 0";
    std::vector<ScenarioStep> steps;
    std::string error;
    ASSERT_TRUE(ParseScenario(text, steps, error)) << error;
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_TRUE(steps[0].hasBlock);
    EXPECT_TRUE(steps[0].args.empty());
    EXPECT_EQ(steps[0].block,
              (std::vector<std::string>{"[realms]", "    kdc = dc1   ", "# not a comment here", "", " END"}));
    EXPECT_TRUE(steps[1].hasBlock);
    EXPECT_TRUE(steps[1].block.empty());
    EXPECT_EQ(steps[2].line, 10);
    EXPECT_EQ(steps[2].args, std::vector<std::string>{"0"});
}

TEST(Scenario, ReportsTheLineOfAMalformedStep)
{
    std::vector<ScenarioStep> steps;
    std::string error;
    EXPECT_FALSE(ParseScenario("start\nexpect-log <<END\nInfo: Found 1 realms.\n", steps, error));
    EXPECT_EQ(error.rfind("line 2: ", 0), 0u) << error;
    EXPECT_FALSE(ParseScenario("start\n\nbox \"open\n", steps, error));
    EXPECT_EQ(error.rfind("line 3: ", 0), 0u) << error;
}

TEST(Scenario, TwoAngleBracketsAloneAreAnArgument)
{
    std::vector<ScenarioStep> steps;
    std::string error;
    ASSERT_TRUE(ParseScenario("x << \"<<END\"\n", steps, error)) << error;
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_FALSE(steps[0].hasBlock);
    EXPECT_EQ(steps[0].args, (std::vector<std::string>{"<<", "<<END"})) << "a quoted token opens no block either";
}

TEST(Variables, AreReplacedAndUnknownOrOpenOnesRefused)
{
    const std::map<std::string, std::string> values{{"scratch", "Z:\\tmp\\s"}, {"n", "3"}};
    std::string expanded;
    std::string error;
    ASSERT_TRUE(ExpandVariables("Saved to ${scratch}\\krb5.conf (${n} of ${n}).", values, expanded, error));
    EXPECT_EQ(expanded, "Saved to Z:\\tmp\\s\\krb5.conf (3 of 3).");
    ASSERT_TRUE(ExpandVariables("no variables, $ and { alone", values, expanded, error));
    EXPECT_EQ(expanded, "no variables, $ and { alone");
    EXPECT_FALSE(ExpandVariables("${missing}", values, expanded, error));
    EXPECT_NE(error.find("missing"), std::string::npos);
    EXPECT_FALSE(ExpandVariables("${scratch", values, expanded, error));
}
