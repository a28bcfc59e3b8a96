// The Windows directory record against the simulated DLLs, over a forest with two trees, a forest
// trust and an external trust (tools/forests/two-trees.json): the copies, the walk, the frees.
#include "directory_platform_win32.h"
#include "directory_platform_win32_support.h"
#include "log_recorder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

class TwoTreeForest : public ::testing::Test {
protected:
    void SetUp() override { ClearCalls(); }

    const DirectoryPlatform platform = WindowsDirectoryPlatform();
};

}  // namespace

// Without the override the program would talk to Wine's own netapi32, which has none of these
// calls: every other test here would then prove nothing. The record's DLLs are loaded on the
// first call, from the system folder, where the simulated ones stand in for the system's.
TEST(SimulatedDirectoryDlls, StandInForTheSystemsInTheSystemFolder)
{
    ClearCalls();
    const DirectoryPlatform platform = WindowsDirectoryPlatform();
    platform.getDcName(platform.context);
    platform.querySrv(platform.context, "_kerberos._tcp.ops.kestrel.test");
    EXPECT_TRUE(IsSystemDllFolder(LoadedModuleFolder("netapi32.dll"))) << LoadedModuleFolder("netapi32.dll");
    EXPECT_TRUE(IsSystemDllFolder(LoadedModuleFolder("dnsapi.dll"))) << LoadedModuleFolder("dnsapi.dll");
    const std::vector<CallLogEntry> calls = ReadCalls();
    EXPECT_EQ(CallsOf(calls, "DsGetDcNameA").size(), 1u) << "the simulated netapi32.dll did not answer";
    EXPECT_EQ(CallsOf(calls, "DnsQuery_A").size(), 1u) << "the simulated dnsapi.dll did not answer";
}

// Wine's iphlpapi.dll imports DnsQueryConfig from dnsapi.dll; ws2_32 and rpcrt4 load it on demand.
TEST(SimulatedDirectoryDlls, LetWinesIpHelperLoad)
{
    const HMODULE ipHelper = LoadLibraryA("iphlpapi.dll");
    EXPECT_NE(ipHelper, nullptr) << "error " << GetLastError();
    if (ipHelper != nullptr)
        FreeLibrary(ipHelper);
}

TEST_F(TwoTreeForest, DomainLocationCopiesDomainAndSiteAndFreesTheStructure)
{
    const DcNameAnswer answer = platform.getDcName(platform.context);
    EXPECT_EQ(answer.status, 0u);
    EXPECT_EQ(answer.domainName, std::optional<std::string>("ops.kestrel.test"));
    EXPECT_EQ(answer.clientSiteName, std::optional<std::string>("Hangar-1"));

    const std::vector<CallLogEntry> calls = ReadCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].function, "DsGetDcNameA");
    EXPECT_EQ(calls[0].argument, "(null)");  // asked of the local computer
    EXPECT_EQ(calls[0].status, "0");         // so the flags were DS_RETURN_DNS_NAME and nothing else
    EXPECT_EQ(calls[1].function, "NetApiBufferFree");
    EXPECT_TRUE(EveryBufferReleased(calls));
}

TEST_F(TwoTreeForest, SrvQueryCopiesEveryRecordInAnswerOrderAndFreesTheList)
{
    const DnsAnswer answer = platform.querySrv(platform.context, "_kerberos._tcp.kestrel.test");
    EXPECT_EQ(answer.status, 0);
    std::vector<std::uint16_t> types;
    Strings targets;
    for (const DnsRecordCopy& record : answer.records) {
        types.push_back(record.type);
        targets.push_back(record.target.value_or("(none)"));
    }
    // Address records keep their place and get no target; a repeated target stays repeated.
    EXPECT_EQ(types, (std::vector<std::uint16_t>{33, 1, 33, 33, 28}));
    EXPECT_EQ(targets, (Strings{"dc1.kestrel.test", "(none)", "dc2.kestrel.test", "dc1.kestrel.test", "(none)"}));

    const std::vector<CallLogEntry> calls = ReadCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].function, "DnsQuery_A");
    EXPECT_EQ(calls[0].argument, "_kerberos._tcp.kestrel.test");
    EXPECT_EQ(calls[0].status, "0");  // type 33, standard options, no servers: anything else is 87
    EXPECT_EQ(calls[1].argument, "1");  // DnsFreeRecordList
    EXPECT_TRUE(EveryBufferReleased(calls));
}

TEST_F(TwoTreeForest, TrustEnumerationCopiesEveryRecordAndFreesTheArray)
{
    const std::string server = "dc1.kestrel.test";
    const TrustAnswer answer = platform.enumerateTrusts(platform.context, &server, kTrustEnumerationFlags);
    EXPECT_EQ(answer.status, 0u);
    Strings names;
    std::vector<std::uint32_t> flags;
    std::vector<std::uint32_t> attributes;
    for (const TrustRecordCopy& record : answer.records) {
        names.push_back(record.dnsDomainName.value_or("(null)"));
        flags.push_back(record.flags);
        attributes.push_back(record.trustAttributes);
    }
    EXPECT_EQ(names, (Strings{"kestrel.test", "ops.kestrel.test", "wrenfield.test", "lark.test", "heron.test",
                              "osprey.test", "(null)"}));
    EXPECT_EQ(flags, (std::vector<std::uint32_t>{29, 51, 55, 34, 34, 34, 2}));
    EXPECT_EQ(attributes, (std::vector<std::uint32_t>{0, 32, 32, 8, 4, 24, 0}));

    const std::vector<CallLogEntry> calls = ReadCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].function, "DsEnumerateDomainTrustsA");
    EXPECT_EQ(calls[0].argument, server);
    EXPECT_EQ(calls[1].function, "NetApiBufferFree");
    EXPECT_TRUE(EveryBufferReleased(calls));
}

TEST_F(TwoTreeForest, WalkFollowsBothTreesAndTheForestTrustsButNotTheOtherTrusts)
{
    const RecordedWalk walk = WalkRecorded(platform);

    const KdcTable expectedKdcs{
        {"dev.lark.test", {"kdc1.dev.lark.test"}},
        {"heron.test", {"dc1.heron.test"}},  // external trust: a realm, never expanded
        {"kestrel.test", {"dc1.kestrel.test", "dc2.kestrel.test", "dc1.kestrel.test"}},
        {"lark.test", {"kdc1.lark.test", "kdc2.lark.test"}},
        {"ops.kestrel.test", {"dc2.ops.kestrel.test"}},  // the site's answer, not the domain's
        {"osprey.test", {"dc1.osprey.test"}},            // a forest trust with selective authentication (24)
        {"wrenfield.test", {"dc1.wrenfield.test"}},
    };
    EXPECT_EQ(walk.kdcs, expectedKdcs);
    using Trusts = std::vector<std::pair<std::string, std::string>>;
    const Trusts expectedTrusts{
        {"dev.lark.test", "lark.test"},       {"kestrel.test", "ops.kestrel.test"},
        {"kestrel.test", "wrenfield.test"},   {"kestrel.test", "lark.test"},
        {"kestrel.test", "osprey.test"},      {"lark.test", "kestrel.test"},
        {"lark.test", "dev.lark.test"},       {"ops.kestrel.test", "kestrel.test"},
        {"osprey.test", "kestrel.test"},      {"wrenfield.test", "kestrel.test"},
    };
    EXPECT_EQ(Trusts(walk.trusts.begin(), walk.trusts.end()), expectedTrusts);
    EXPECT_TRUE(walk.log.empty());

    const std::vector<CallLogEntry> calls = ReadCalls();
    EXPECT_EQ(CallsOf(calls, "DsGetDcNameA").size(), 1u);
    // One site query per realm looked up, and the domain-wide one where the site has no KDCs.
    EXPECT_EQ(CallsOf(calls, "DnsQuery_A").size(), 13u);
    Strings servers;
    for (const CallLogEntry& call : CallsOf(calls, "DsEnumerateDomainTrustsA"))
        servers.push_back(call.argument);
    EXPECT_EQ(servers, (Strings{"dc2.ops.kestrel.test", "dc1.kestrel.test", "dc1.wrenfield.test", "kdc1.lark.test",
                                "dc1.osprey.test", "kdc1.dev.lark.test"}));
    EXPECT_TRUE(EveryBufferReleased(calls));
}
