// The status log's line rules, the process-wide log and SystemErrorText.
#include "status_log.h"

#include "system_error_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A stand-in for the log edit control: its text, its selection, and every step asked of it.
struct FakeEdit {
    std::string text;
    std::size_t selectionStart = 0;
    std::size_t selectionEnd = 0;
    std::vector<std::string> steps;
};

std::size_t TextLength(void* control)
{
    auto* edit = static_cast<FakeEdit*>(control);
    edit->steps.push_back("length");
    return edit->text.size();
}

void SetSelection(void* control, std::size_t start, std::size_t end)
{
    auto* edit = static_cast<FakeEdit*>(control);
    edit->steps.push_back("select " + std::to_string(start) + " " + std::to_string(end));
    edit->selectionStart = start;
    edit->selectionEnd = end;
}

void ReplaceSelection(void* control, const std::string& text)
{
    auto* edit = static_cast<FakeEdit*>(control);
    edit->steps.push_back("replace " + text);
    edit->text.replace(edit->selectionStart, edit->selectionEnd - edit->selectionStart, text);
    edit->selectionStart = edit->selectionEnd = edit->selectionStart + text.size();
}

LogSink SinkOn(FakeEdit& edit)
{
    return LogSink{&edit, TextLength, SetSelection, ReplaceSelection};
}

// Any use of these sink functions with a null control is a failure.
int nullControlCalls = 0;
std::size_t CountingLength(void*)
{
    ++nullControlCalls;
    return 0;
}
void CountingSelect(void*, std::size_t, std::size_t) { ++nullControlCalls; }
void CountingReplace(void*, const std::string&) { ++nullControlCalls; }

class StatusLogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetStatusLogForTests();
        nullControlCalls = 0;
    }
    void TearDown() override { ResetStatusLogForTests(); }

    FakeEdit edit;
};

}  // namespace

TEST_F(StatusLogTest, EmptyInfoTextGivesThePrefixAndALineEnd)
{
    CreateStatusLog(SinkOn(edit));
    LogInfo("");
    EXPECT_EQ(edit.text, "Info: \r\n");
}

TEST_F(StatusLogTest, WarningPrefixAndLineEnd)
{
    CreateStatusLog(SinkOn(edit));
    LogWarning("Didn't find any realms.");
    EXPECT_EQ(edit.text, "Warning: Didn't find any realms.\r\n");
}

TEST_F(StatusLogTest, TextEndingInCrLfGetsNoSecondLineBreak)
{
    CreateStatusLog(SinkOn(edit));
    LogWarning("Can't get KDC for domain corp.test. Reason: DNS name does not exist.\r\n");
    EXPECT_EQ(edit.text, "Warning: Can't get KDC for domain corp.test. Reason: DNS name does not exist.\r\n");
}

TEST_F(StatusLogTest, UnknownErrorTextGetsALineEnd)
{
    CreateStatusLog(SinkOn(edit));
    LogWarning("Can't get trust info for domain corp.test. Reason: Unknown error.");
    EXPECT_EQ(edit.text, "Warning: Can't get trust info for domain corp.test. Reason: Unknown error.\r\n");
}

TEST_F(StatusLogTest, BareLineFeedAtTheEndGetsNothingAdded)
{
    CreateStatusLog(SinkOn(edit));
    LogInfo("ends in a bare line feed\n");
    EXPECT_EQ(edit.text, "Info: ends in a bare line feed\n");
}

TEST_F(StatusLogTest, InnerLineBreaksAreKeptAndOnlyTheFirstLineIsPrefixed)
{
    CreateStatusLog(SinkOn(edit));
    LogInfo("one\r\ntwo\nthree\rfour");
    EXPECT_EQ(edit.text, "Info: one\r\ntwo\nthree\rfour\r\n");
}

TEST_F(StatusLogTest, EachLineIsAppendedAtTheEndInThreeSteps)
{
    CreateStatusLog(SinkOn(edit));
    LogInfo("first");
    EXPECT_EQ(edit.steps, (std::vector<std::string>{"length", "select 0 0", "replace Info: first\r\n"}));
    edit.steps.clear();
    LogWarning("second");
    EXPECT_EQ(edit.steps, (std::vector<std::string>{"length", "select 13 13", "replace Warning: second\r\n"}));
}

TEST_F(StatusLogTest, NewLinesLandAfterAllOthersWhateverTheUserSelected)
{
    CreateStatusLog(SinkOn(edit));
    LogInfo("a");
    LogInfo("b");
    edit.selectionStart = 2;  // the user selected inside the first line
    edit.selectionEnd = 5;
    LogWarning("c");
    edit.selectionStart = edit.selectionEnd = 0;  // the caret at the very start
    LogInfo("d");
    EXPECT_EQ(edit.text, "Info: a\r\nInfo: b\r\nWarning: c\r\nInfo: d\r\n");
}

TEST_F(StatusLogTest, ReportsBeforeCreationAreDropped)
{
    LogInfo("too early");
    LogWarning("too early");
    CreateStatusLog(SinkOn(edit));
    EXPECT_EQ(edit.text, "");
    LogInfo("first");
    EXPECT_EQ(edit.text, "Info: first\r\n");
}

TEST_F(StatusLogTest, CreationHappensOnlyWhileThereIsNoLog)
{
    FakeEdit second;
    CreateStatusLog(SinkOn(edit));
    CreateStatusLog(SinkOn(second));
    LogInfo("x");
    EXPECT_EQ(edit.text, "Info: x\r\n");
    EXPECT_EQ(second.text, "");
    EXPECT_TRUE(second.steps.empty());
}

TEST_F(StatusLogTest, NullControlDropsEveryLine)
{
    CreateStatusLog(LogSink{nullptr, CountingLength, CountingSelect, CountingReplace});
    LogInfo("dropped");
    LogWarning("dropped");
    EXPECT_EQ(nullControlCalls, 0);
    // The first creation stands, so a later one with a real control is ignored too.
    CreateStatusLog(SinkOn(edit));
    LogInfo("still dropped");
    EXPECT_EQ(edit.text, "");
}

TEST_F(StatusLogTest, AppendOnAStatusLogObject)
{
    const StatusLog log{SinkOn(edit)};
    log.Append("", "");
    log.Append("P> ", "text");
    EXPECT_EQ(edit.text, "\r\nP> text\r\n");
    const StatusLog dropped{LogSink{nullptr, CountingLength, CountingSelect, CountingReplace}};
    dropped.Append("Info: ", "x");
    EXPECT_EQ(nullControlCalls, 0);
}

TEST_F(StatusLogTest, WarningWithASystemTextEndsInExactlyOneLineBreak)
{
    CreateStatusLog(SinkOn(edit));
    LogWarning("Can't get KDC for domain corp.test. Reason: " + SystemErrorText(9003));
    ASSERT_GE(edit.text.size(), 2u);
    EXPECT_EQ(edit.text.back(), '\n');
    EXPECT_EQ(edit.text.find('\n'), edit.text.size() - 1) << edit.text;
}

// --- SystemErrorText: these hold on the native table and on a system message table alike ---

TEST(SystemErrorText, CodeWithoutATextGivesUnknownError)
{
    EXPECT_EQ(SystemErrorText(0x7654321u), "Unknown error.");
    EXPECT_EQ(SystemErrorText(0xFFFFFFF0u), "Unknown error.");
}

TEST(SystemErrorText, KnownCodesGiveASentenceWithItsLineBreak)
{
    for (const std::uint32_t code : {5u, 1311u, 1355u, 1722u}) {
        const std::string text = SystemErrorText(code);
        ASSERT_GE(text.size(), 3u) << code;
        EXPECT_NE(text, "Unknown error.") << code;
        EXPECT_EQ(text.back(), '\n') << code;
        EXPECT_EQ(text.find('\0'), std::string::npos) << code;
    }
}

#ifndef _WIN32
// The native table: the English sentences of the Windows message table, each ending in CR LF.
TEST(SystemErrorText, NativeTableGivesTheWindowsSentences)
{
    EXPECT_EQ(SystemErrorText(5), "Access is denied.\r\n");
    EXPECT_EQ(SystemErrorText(1311), "There are currently no logon servers available to service the logon request.\r\n");
    EXPECT_EQ(SystemErrorText(1355), "The specified domain either does not exist or could not be contacted.\r\n");
    EXPECT_EQ(SystemErrorText(1722), "The RPC server is unavailable.\r\n");
    EXPECT_EQ(SystemErrorText(9002), "DNS server failure.\r\n");
    EXPECT_EQ(SystemErrorText(9003), "DNS name does not exist.\r\n");
    EXPECT_EQ(SystemErrorText(1212), "The format of the specified domain name is invalid.\r\n");
}

TEST(SystemErrorText, EveryCodeDiscoveryMeetsHasAText)
{
    for (const std::uint32_t code : {5u, 8u, 13u, 14u, 50u, 53u, 87u, 1004u, 1212u, 1214u, 1311u, 1355u, 1460u,
                                     1722u, 1727u, 1753u, 1786u, 1789u, 1908u, 9001u, 9002u, 9003u, 9004u, 9005u,
                                     9501u, 9502u, 9503u, 10060u}) {
        const std::string text = SystemErrorText(code);
        EXPECT_NE(text, "Unknown error.") << code;
        ASSERT_GE(text.size(), 3u) << code;
        EXPECT_EQ(text.substr(text.size() - 2), "\r\n") << code;
        EXPECT_EQ(text.find('\n'), text.size() - 1) << code;
    }
}
#endif
