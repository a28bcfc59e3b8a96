// The Windows directory record against the simulated DLLs when the domain controller location
// fails (tools/forests/dcname-failure.json): the status is passed on, and the walk stops there.
#include "directory_platform_win32.h"
#include "directory_platform_win32_support.h"
#include "log_recorder.h"
#include "status_log.h"
#include "system_error_text.h"

#include <gtest/gtest.h>

TEST(DomainLocationFailure, StatusIsPassedOnWithoutNames)
{
    ClearCalls();
    const DirectoryPlatform platform = WindowsDirectoryPlatform();
    const DcNameAnswer answer = platform.getDcName(platform.context);
    EXPECT_EQ(answer.status, 1908u);
    EXPECT_FALSE(answer.domainName);  // the file's domain belongs to no structure
    const std::vector<CallLogEntry> calls = ReadCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].buffer, "-");
}

// No query for "_kerberos._tcp." alone, though the forest would answer it.
TEST(DomainLocationFailure, WalkLogsOneWarningAndLooksNothingUp)
{
    ClearCalls();
    const RecordedWalk walk = WalkRecorded(WindowsDirectoryPlatform());
    EXPECT_TRUE(walk.kdcs.empty());
    EXPECT_TRUE(walk.trusts.empty());
    std::string expected = "Warning: Can't locate the domain of this computer. Reason: " + SystemErrorText(1908);
    if (expected.back() != '\n')
        expected += "\r\n";
    EXPECT_EQ(walk.log, std::vector<std::string>{expected});
    EXPECT_EQ(ReadCalls().size(), 1u);
}
