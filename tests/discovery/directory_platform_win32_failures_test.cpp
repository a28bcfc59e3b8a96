// The Windows directory record against the simulated DLLs when DNS and the trust enumeration fail
// (tools/forests/failures.json): statuses passed on, nothing copied, every buffer still freed.
#include "directory_platform_win32.h"
#include "directory_platform_win32_support.h"
#include "log_recorder.h"
#include "status_log.h"
#include "system_error_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

class FailingForest : public ::testing::Test {
protected:
    void SetUp() override { ClearCalls(); }

    DnsAnswer Query(const std::string& name) { return platform.querySrv(platform.context, name); }

    const DirectoryPlatform platform = WindowsDirectoryPlatform();
};

std::string Warning(const std::string& text)
{
    std::string line = "Warning: " + text;
    if (line.back() != '\n')
        line += "\r\n";
    return line;
}

std::string CantGetKdc(const std::string& domain, std::uint32_t status)
{
    return Warning("Can't get KDC for domain " + domain + ". Reason: " + SystemErrorText(status));
}

std::string CantGetTrusts(const std::string& domain, std::uint32_t status)
{
    return Warning("Can't get trust info for domain " + domain + ". Reason: " + SystemErrorText(status));
}

}  // namespace

TEST_F(FailingForest, FailedQueriesPassTheirStatusAndReturnNoList)
{
    EXPECT_EQ(Query("_kerberos._tcp.S._sites.fail.test").status, 1460);
    EXPECT_EQ(Query("_kerberos._tcp.srvfail.test").status, 9002);
    EXPECT_EQ(Query("_kerberos._tcp.not.listed.test").status, 9003);
    for (const CallLogEntry& call : ReadCalls()) {
        EXPECT_EQ(call.function, "DnsQuery_A");
        EXPECT_EQ(call.buffer, "-");
    }
}

// A name error may come with the zone's SOA record: not copied, but freed.
TEST_F(FailingForest, FailedQueryThatStillReturnsRecordsIsFreed)
{
    const DnsAnswer answer = Query("_kerberos._tcp.soa.test");
    EXPECT_EQ(answer.status, 9003);
    EXPECT_TRUE(answer.records.empty());
    const std::vector<CallLogEntry> calls = ReadCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_NE(calls[0].buffer, "-");
    EXPECT_TRUE(EveryBufferReleased(calls));
}

// A name that exists without SRV records: Windows answers 9501 and returns no list.
TEST_F(FailingForest, NameWithoutRecordsAnswersNoRecordsAndReturnsNoList)
{
    const DnsAnswer answer = Query("_kerberos._tcp.empty.test");
    EXPECT_EQ(answer.status, 9501);
    EXPECT_TRUE(answer.records.empty());
    const std::vector<CallLogEntry> calls = ReadCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].buffer, "-");
}

TEST_F(FailingForest, FailedEnumerationsPassTheirStatusAndFreeNothing)
{
    const std::string refusing = "dc1.down.test";
    const std::string unknown = "dc1.nowhere.test";
    EXPECT_EQ(platform.enumerateTrusts(platform.context, &refusing, kTrustEnumerationFlags).status, 5u);
    EXPECT_EQ(platform.enumerateTrusts(platform.context, &unknown, kTrustEnumerationFlags).status, 1722u);
    const std::vector<CallLogEntry> calls = ReadCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].buffer, "-");
    EXPECT_EQ(calls[1].buffer, "-");
}

TEST_F(FailingForest, EmptyEnumerationIsFreed)
{
    const std::string server = "dc1.zero.test";
    const TrustAnswer answer = platform.enumerateTrusts(platform.context, &server, kTrustEnumerationFlags);
    EXPECT_EQ(answer.status, 0u);
    EXPECT_TRUE(answer.records.empty());
    const std::vector<CallLogEntry> calls = ReadCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].function, "NetApiBufferFree");
    EXPECT_TRUE(EveryBufferReleased(calls));
}

TEST_F(FailingForest, NoServerAddressesTheLocalComputer)
{
    const TrustAnswer answer = platform.enumerateTrusts(platform.context, nullptr, kTrustEnumerationFlags);
    EXPECT_EQ(answer.status, 0u);
    EXPECT_EQ(answer.records.size(), 10u);
    const std::vector<CallLogEntry> calls = ReadCalls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls[0].argument, "(null)");
    EXPECT_TRUE(EveryBufferReleased(calls));
}

// The site query's time-out is final, the machine's domain is then asked of the local computer,
// and each failure is one warning line.
TEST_F(FailingForest, WalkLogsEveryFailureAndGoesOn)
{
    const RecordedWalk walk = WalkRecorded(platform);

    const KdcTable expectedKdcs{
        {"down.test", {"dc1.down.test"}},
        {"gone.test", {"dc1.gone.test"}},
        {"zero.test", {"dc1.zero.test"}},
    };
    EXPECT_EQ(walk.kdcs, expectedKdcs);
    EXPECT_EQ(walk.trusts.size(), 14u);  // both directions with each of the seven usable domains
    const Strings expectedLog{
        CantGetKdc("fail.test", 1460),
        CantGetKdc("srvfail.test", 9002),
        CantGetKdc("soa.test", 9003),
        CantGetKdc("empty.test", 9501),
        Warning("Skipped a trust record with an unusable domain name for domain fail.test."),
        CantGetTrusts("srvfail.test", 1311),
        CantGetTrusts("soa.test", 1311),
        CantGetTrusts("empty.test", 1311),
        CantGetTrusts("addr.test", 1311),
        CantGetTrusts("down.test", 5),
        CantGetTrusts("gone.test", 1722),
    };
    EXPECT_EQ(walk.log, expectedLog);

    const std::vector<CallLogEntry> calls = ReadCalls();
    Strings servers;
    for (const CallLogEntry& call : CallsOf(calls, "DsEnumerateDomainTrustsA"))
        servers.push_back(call.argument);
    EXPECT_EQ(servers, (Strings{"(null)", "dc1.down.test", "dc1.gone.test", "dc1.zero.test"}));
    // The time-out of the site query is final: the domain-wide name, which has KDCs, is not asked.
    for (const CallLogEntry& call : CallsOf(calls, "DnsQuery_A"))
        EXPECT_NE(call.argument, "_kerberos._tcp.fail.test");
    EXPECT_TRUE(EveryBufferReleased(calls));
}
