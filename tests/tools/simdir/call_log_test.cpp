// The call log: lines that survive any name, and the pairing that finds leaks and stray frees.
#include "call_log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

CallLogEntry Call(const std::string& function, const std::string& status, const std::string& buffer,
                  const std::string& argument = "x")
{
    return CallLogEntry{function, argument, status, buffer};
}

std::vector<std::string> Functions(const std::vector<CallLogEntry>& entries)
{
    std::vector<std::string> functions;
    for (const CallLogEntry& entry : entries)
        functions.push_back(entry.function + " " + entry.buffer);
    return functions;
}

}  // namespace

TEST(CallLog, LinesKeepOneLineForAnyNameAndReadBackTheSame)
{
    const CallLogEntry odd{"DnsQuery_A", "a\tb\nc\\d\x7f\x01\xc3\xa9", "9003", "-"};
    const std::string line = FormatCallLogLine(odd);
    EXPECT_EQ(line, "DnsQuery_A\ta\\x09b\\x0ac\\x5cd\\x7f\\x01\xc3\xa9\t9003\t-\n");

    std::vector<CallLogEntry> entries;
    std::string error;
    ASSERT_TRUE(ParseCallLog(line + FormatCallLogLine(Call("DnsFree", "0", "0x0", "1")), entries, error)) << error;
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].argument, odd.argument);
    EXPECT_EQ(entries[0].status, "9003");
    EXPECT_EQ(entries[1].function, "DnsFree");
    EXPECT_EQ(entries[1].buffer, "0x0");
}

TEST(CallLog, MalformedLinesAreNamed)
{
    const std::pair<const char*, const char*> cases[] = {
        {"DsGetDcNameA\t(null)\t0\n", "line 1 is not four tab-separated fields"},
        {"DnsFree\t1\t0\t0x0\nDnsFree\t1\t0\t0x0", "line 2 has no line end"},
        {"DnsQuery_A\ta\\x4\t0\t-\n", "line 1 is not four"},  // a cut escape
        {"DnsQuery_A\ta\\y41\t0\t-\n", "line 1 is not four"},
        {"\tq\t0\t-\n", "line 1 is not four"},
        {"a\tb\tc\td\te\n", "line 1 is not four"},
    };
    for (const auto& malformed : cases) {
        std::vector<CallLogEntry> entries;
        std::string error;
        EXPECT_FALSE(ParseCallLog(malformed.first, entries, error)) << malformed.first;
        EXPECT_NE(error.find(malformed.second), std::string::npos) << error;
    }
    std::vector<CallLogEntry> entries;
    std::string error;
    EXPECT_TRUE(ParseCallLog("", entries, error));
    EXPECT_TRUE(entries.empty());
}

TEST(CallLog, BufferFieldIsHexWithoutLeadingZeros)
{
    EXPECT_EQ(CallLogBufferField(0), "0x0");
    EXPECT_EQ(CallLogBufferField(0x34c210), "0x34c210");
    EXPECT_EQ(CallLogBufferField(0xdeadbeef), "0xdeadbeef");
}

TEST(CallLog, AllocationsPairWithTheirOwnFreeInLogOrder)
{
    const std::vector<CallLogEntry> clean{
        Call("DsGetDcNameA", "0", "0x10"),
        Call("NetApiBufferFree", "0", "0x10"),
        Call("DnsQuery_A", "9003", "-"),  // a failure without a list needs no free
        Call("DnsQuery_A", "0", "0x10"),  // the address of a freed block comes back
        Call("DsEnumerateDomainTrustsA", "0", "0x20"),
        Call("DnsQuery_A", "0", "0x0"),  // an empty list is freed too
        Call("DnsRecordListFree", "0", "0x0", "1"),
        Call("NetApiBufferFree", "0", "0x20"),
        Call("DnsFree", "0", "0x10", "1"),
        Call("DsRoleGetPrimaryDomainInformation", "0", "0x60"),
        Call("DsRoleFreeMemory", "0", "0x60"),
    };
    const BufferAudit audit = AuditBuffers(clean);
    EXPECT_EQ(Functions(audit.unreleased), std::vector<std::string>{});
    EXPECT_EQ(Functions(audit.badFrees), std::vector<std::string>{});
}

TEST(CallLog, LeaksWrongFreesAndFailedFreesAreFound)
{
    const std::vector<CallLogEntry> faulty{
        Call("DsGetDcNameA", "0", "0x10"),
        Call("DnsFree", "0", "0x10", "1"),  // the wrong DLL's free: the block stays allocated
        Call("DnsQuery_A", "0", "0x30"),
        Call("DnsFree", "87", "0x30", "0"),  // refused (DnsFreeFlat): the list stays allocated
        Call("DsEnumerateDomainTrustsA", "0", "0x40"),
        Call("NetApiBufferFree", "0", "0x40"),
        Call("NetApiBufferFree", "87", "0x40"),  // twice
        Call("NetApiBufferFree", "0", "0x50"),   // never handed out
        Call("DnsQuery_A", "0", "0x0"),          // an empty list never freed
        Call("DsRoleGetPrimaryDomainInformation", "0", "0x70"),
        Call("NetApiBufferFree", "0", "0x70"),   // the membership has its own free
    };
    const BufferAudit audit = AuditBuffers(faulty);
    EXPECT_EQ(Functions(audit.unreleased), (std::vector<std::string>{"DsGetDcNameA 0x10", "DnsQuery_A 0x30",
                                                                     "DnsQuery_A 0x0",
                                                                     "DsRoleGetPrimaryDomainInformation 0x70"}));
    EXPECT_EQ(Functions(audit.badFrees),
              (std::vector<std::string>{"DnsFree 0x10", "DnsFree 0x30", "NetApiBufferFree 0x40", "NetApiBufferFree 0x50",
                                        "NetApiBufferFree 0x70"}));
}
