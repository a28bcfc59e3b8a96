// The Windows directory record against the simulated DLLs over names outside ASCII
// (tools/forests/realm-names.json): every name arrives in the ANSI code page, as Windows hands
// it out, and DNS folds ASCII letters only. The tests run in code page 1252 (cmake/wine-run).
#include "directory_platform_win32.h"
#include "directory_platform_win32_support.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

class CodePage : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(GetACP(), 1252u) << "cmake/wine-run pins code page 1252; the bytes below are written for it";
        ClearCalls();
    }

    const DirectoryPlatform platform = WindowsDirectoryPlatform();
};

}  // namespace

TEST_F(CodePage, TheDomainAndTheMembershipArriveInTheAnsiCodePage)
{
    const DcNameAnswer located = platform.getDcName(platform.context);
    EXPECT_EQ(located.domainName, std::optional<std::string>("caf\xe9.alderbank.test"));
    // The membership comes in Unicode; the record converts it to the same bytes.
    const PrimaryDomainAnswer membership = platform.getPrimaryDomain(platform.context);
    EXPECT_EQ(membership.domainNameDns, std::optional<std::string>("caf\xe9.alderbank.test"));
    EXPECT_TRUE(EveryBufferReleased(ReadCalls()));
}

TEST_F(CodePage, QueryNamesMatchAfterTheConversionWithAsciiLettersFolded)
{
    const DnsAnswer answer = platform.querySrv(platform.context, "_kerberos._tcp.caf\xe9.alderbank.test");
    ASSERT_EQ(answer.status, 0);
    ASSERT_EQ(answer.records.size(), 1u);
    EXPECT_EQ(answer.records[0].target, std::optional<std::string>("kdc.caf\xe9.alderbank.test"));
    EXPECT_EQ(platform.querySrv(platform.context, "_KERBEROS._TCP.CAF\xe9.ALDERBANK.TEST").status, 0);
    EXPECT_EQ(platform.querySrv(platform.context, "_kerberos._tcp.caf\xc9.alderbank.test").status, 9003)
        << "\"\xc9\" is not \"\xe9\" to DNS";
    // The file's fullwidth asterisk, matched as the "*" that best fit makes of it.
    EXPECT_EQ(platform.querySrv(platform.context, "_kerberos._tcp.full*width.alderbank.test").status, 0);
    EXPECT_TRUE(EveryBufferReleased(ReadCalls()));
}

TEST_F(CodePage, TrustRecordsArriveAsBestFitMakesThem)
{
    const std::string server = "kdc.caf\xe9.alderbank.test";
    const TrustAnswer answer = platform.enumerateTrusts(platform.context, &server, kTrustEnumerationFlags);
    ASSERT_EQ(answer.status, 0u);
    std::vector<std::string> names;
    for (const TrustRecordCopy& record : answer.records)
        names.push_back(record.dnsDomainName.value_or("(null)"));
    EXPECT_EQ(names, (std::vector<std::string>{"caf\xe9.alderbank.test", "eu.caf\xe9.alderbank.test", "corp.example*x",
                                               "full*width.alderbank.test", "back\\slash.alderbank.test",
                                               "com,ma.alderbank.test", "o'brien.alderbank.test",
                                               "sl/ash.alderbank.test", "kdc.alderbank.test:88",
                                               "?mega.alderbank.test"}));
    EXPECT_TRUE(EveryBufferReleased(ReadCalls()));
}
