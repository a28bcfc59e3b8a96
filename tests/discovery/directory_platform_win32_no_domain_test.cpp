// The Windows directory record against the simulated DLLs for a machine in no domain
// (tools/forests/no-domain.json): 1355 with nothing to free, and a walk that asks nothing more
// than whether the computer is a member of a domain after all.
#include "directory_platform_win32.h"
#include "directory_platform_win32_support.h"
#include "log_recorder.h"

#include <gtest/gtest.h>

TEST(MachineInNoDomain, DomainLocationAnswers1355WithoutNames)
{
    ClearCalls();
    const DirectoryPlatform platform = WindowsDirectoryPlatform();
    const DcNameAnswer answer = platform.getDcName(platform.context);
    EXPECT_EQ(answer.status, 1355u);
    EXPECT_FALSE(answer.domainName);
    EXPECT_FALSE(answer.clientSiteName);
    const std::vector<CallLogEntry> calls = ReadCalls();
    ASSERT_EQ(calls.size(), 1u);  // no structure, so no free
    EXPECT_EQ(calls[0].status, "1355");
    EXPECT_EQ(calls[0].buffer, "-");
}

TEST(MachineInNoDomain, MembershipIsAStandaloneWorkstationOfTheWorkgroup)
{
    ClearCalls();
    const DirectoryPlatform platform = WindowsDirectoryPlatform();
    const PrimaryDomainAnswer answer = platform.getPrimaryDomain(platform.context);
    EXPECT_EQ(answer.status, 0u);
    EXPECT_EQ(answer.machineRole, kDsRoleStandaloneWorkstation);
    EXPECT_FALSE(answer.domainNameDns);
    EXPECT_TRUE(EveryBufferReleased(ReadCalls()));
}

TEST(MachineInNoDomain, WalkRaisesCodeOneAfterTheLocationAndTheMembership)
{
    ClearCalls();
    const RecordedWalk walk = WalkRecorded(WindowsDirectoryPlatform());
    EXPECT_EQ(walk.failureCode, 1u);
    EXPECT_TRUE(walk.kdcs.empty());
    EXPECT_TRUE(walk.trusts.empty());
    EXPECT_TRUE(walk.log.empty());
    const std::vector<CallLogEntry> calls = ReadCalls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].function, "DsGetDcNameA");
    EXPECT_EQ(calls[1].function, "DsRoleGetPrimaryDomainInformation");
    EXPECT_EQ(calls[2].function, "DsRoleFreeMemory");
    EXPECT_TRUE(EveryBufferReleased(calls));
}
