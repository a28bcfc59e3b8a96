// The Windows directory record against the simulated DLLs on a laptop off the network
// (tools/forests/off-network.json): DsGetDcNameA answers 1355, the membership names the domain.
#include "directory_platform_win32.h"
#include "directory_platform_win32_support.h"
#include "log_recorder.h"
#include "status_log.h"
#include "system_error_text.h"

#include <gtest/gtest.h>

TEST(OffNetwork, MembershipNamesTheDomainAndIsFreed)
{
    ClearCalls();
    const DirectoryPlatform platform = WindowsDirectoryPlatform();
    EXPECT_EQ(platform.getDcName(platform.context).status, 1355u);
    const PrimaryDomainAnswer membership = platform.getPrimaryDomain(platform.context);
    EXPECT_EQ(membership.status, 0u);
    EXPECT_EQ(membership.machineRole, kDsRoleMemberWorkstation);
    EXPECT_EQ(membership.domainNameDns, std::optional<std::string>("corp.alderbank.test"));
    const std::vector<CallLogEntry> calls = ReadCalls();
    ASSERT_EQ(CallsOf(calls, "DsRoleFreeMemory").size(), 1u);
    EXPECT_TRUE(EveryBufferReleased(calls));
}

TEST(OffNetwork, WalkWarnsOfTheDomainThenRaisesCodeOne)
{
    ClearCalls();
    const RecordedWalk walk = WalkRecorded(WindowsDirectoryPlatform());
    EXPECT_EQ(walk.failureCode, 1u);
    EXPECT_TRUE(walk.kdcs.empty());
    std::string expected =
        "Warning: No domain controller of domain corp.alderbank.test answered. Reason: " + SystemErrorText(1355);
    if (expected.back() != '\n')
        expected += "\r\n";
    EXPECT_EQ(walk.log, std::vector<std::string>{expected});
    EXPECT_TRUE(EveryBufferReleased(ReadCalls()));
}
