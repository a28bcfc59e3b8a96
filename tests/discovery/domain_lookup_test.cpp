// LocateMachineDomain and LookupKdcs: the queries made, the answers taken, the failures logged.
#include "log_recorder.h"
#include "scripted_directory.h"
#include "status_log.h"
#include "system_error_text.h"
#include "trust_walk.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

class DomainLookup : public ::testing::Test {
protected:
    void SetUp() override { RecordStatusLog(log); }
    void TearDown() override { StopRecordingStatusLog(); }

    Strings Queries() const { return CallArguments(directory, DirectoryCall::QuerySrv); }

    Strings Lookup(const std::string& domain, const std::string& site)
    {
        Strings hosts;
        LookupKdcs(ScriptedPlatform(directory), domain, site, hosts);
        return hosts;
    }

    ScriptedDirectory directory;
    LogRecorder log;
};

std::string CantLocate(std::uint32_t status)
{
    return "Warning: Can't locate the domain of this computer. Reason: " + SystemErrorText(status);
}

std::string CantGetKdc(const std::string& domain, std::uint32_t status)
{
    std::string line = "Warning: Can't get KDC for domain " + domain + ". Reason: " + SystemErrorText(status);
    if (line.back() != '\n')
        line += "\r\n";
    return line;
}

}  // namespace

// --- LocateMachineDomain ---

// An absolute name ("corp.riverton.test.") is the same domain, taken without its dot.
TEST_F(DomainLookup, LocateGivesDomainAndSite)
{
    for (const char* name : {"corp.riverton.test", "corp.riverton.test."}) {
        directory.calls.clear();
        SetMachine(directory, name, std::string("Default-First-Site-Name"));
        std::string domain, site;
        LocateMachineDomain(ScriptedPlatform(directory), domain, site);
        EXPECT_EQ(domain, "corp.riverton.test");
        EXPECT_EQ(site, "Default-First-Site-Name");
        ASSERT_EQ(directory.calls.size(), 1u);
        EXPECT_EQ(directory.calls[0].kind, DirectoryCall::GetDcName);
    }
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(DomainLookup, LocateWithoutClientSiteLeavesTheSiteEmpty)
{
    SetMachine(directory, "corp.riverton.test");
    std::string domain, site;
    LocateMachineDomain(ScriptedPlatform(directory), domain, site);
    EXPECT_EQ(domain, "corp.riverton.test");
    EXPECT_EQ(site, "");
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(DomainLookup, MachineInNoDomainRaisesCodeOneAndLogsNothing)
{
    SetMachineStatus(directory, kStatusNoSuchDomain);
    std::string domain, site;
    try {
        LocateMachineDomain(ScriptedPlatform(directory), domain, site);
        FAIL() << "no DiscoveryFailure";
    } catch (const DiscoveryFailure& failure) {
        EXPECT_EQ(failure.code, 1u);
    }
    EXPECT_EQ(domain, "");
    EXPECT_EQ(site, "");
    EXPECT_TRUE(log.lines.empty());
    // The computer's membership is asked after the location failed, and only then.
    EXPECT_EQ(CountCalls(directory, DirectoryCall::GetPrimaryDomain), 1u);
    EXPECT_EQ(directory.calls.back().kind, DirectoryCall::GetPrimaryDomain);
}

// 1355 on a member computer: its domain exists but none of its domain controllers answered
// (a laptop off the network). One warning names the domain, then the discovery failure.
TEST_F(DomainLookup, MemberComputerWhoseDomainIsOutOfReachIsToldWhichDomain)
{
    SetMachineStatus(directory, kStatusNoSuchDomain);
    SetMembership(directory, "corp.example.");
    std::string domain, site;
    EXPECT_THROW(LocateMachineDomain(ScriptedPlatform(directory), domain, site), DiscoveryFailure);
    EXPECT_EQ(domain, "");
    EXPECT_EQ(log.lines, Strings{"Warning: No domain controller of domain corp.example answered. Reason: " +
                                 SystemErrorText(kStatusNoSuchDomain)});
    EXPECT_EQ(log.lines[0].back(), '\n');
}

TEST_F(DomainLookup, MembershipOnlyCountsWhenTheComputerIsAMemberWithADnsDomain)
{
    struct Case {
        PrimaryDomainAnswer membership;
        bool warned;
    };
    const Case cases[] = {
        {{0, kDsRoleMemberWorkstation, std::string("corp.test")}, true},
        {{0, 3, std::string("corp.test")}, true},                       // a member server
        {{0, kDsRolePrimaryDomainController, std::string("corp.test")}, true},
        {{0, kDsRoleStandaloneWorkstation, std::string("corp.test")}, false},
        {{0, kDsRoleStandaloneServer, std::string("corp.test")}, false},
        {{0, 6, std::string("corp.test")}, false},                      // no role Windows has
        {{0, kDsRoleMemberWorkstation, std::nullopt}, false},           // an NT4 domain: no DNS name
        {{5, kDsRoleMemberWorkstation, std::string("corp.test")}, false},  // the question failed
        {{0, kDsRoleMemberWorkstation, std::string("corp.test\r\n[realms]")}, false},
    };
    for (const Case& c : cases) {
        log.lines.clear();
        SetMachineStatus(directory, kStatusNoSuchDomain);
        directory.membership = c.membership;
        std::string domain, site;
        EXPECT_THROW(LocateMachineDomain(ScriptedPlatform(directory), domain, site), DiscoveryFailure);
        EXPECT_EQ(log.lines.size(), c.warned ? 1u : 0u) << c.membership.machineRole;
    }
}

// Other failures of the location never ask the membership.
TEST_F(DomainLookup, MembershipIsNotAskedWhenTheLocationAnswersOtherwise)
{
    SetMembership(directory, "corp.test");
    SetMachineStatus(directory, 1908);
    std::string domain, site;
    LocateMachineDomain(ScriptedPlatform(directory), domain, site);
    SetMachine(directory, "corp.test");
    LocateMachineDomain(ScriptedPlatform(directory), domain, site);
    EXPECT_EQ(CountCalls(directory, DirectoryCall::GetPrimaryDomain), 0u);
}

// Any other failure is reported and leaves both names empty.
TEST_F(DomainLookup, OtherLocationFailureLogsOneWarningWithTheSystemText)
{
    for (const std::uint32_t status : {1908u, 1311u, 5u, 0x0DEADu}) {
        log.lines.clear();
        SetMachineStatus(directory, status);
        std::string domain, site;
        LocateMachineDomain(ScriptedPlatform(directory), domain, site);
        EXPECT_EQ(domain, "");
        EXPECT_EQ(site, "");
        ASSERT_EQ(log.lines.size(), 1u) << status;
        EXPECT_EQ(log.lines[0].substr(0, CantLocate(status).size()), CantLocate(status));
        EXPECT_EQ(log.lines[0].back(), '\n');
    }
}

// A domain name that could not stand in krb5.conf is a failure to locate the domain.
TEST_F(DomainLookup, UnusableDomainNameIsTreatedLikeAFailedLocation)
{
    const std::vector<std::optional<std::string>> names = {
        std::nullopt,           std::string(""),          std::string("corp test"), std::string("corp]test"),
        std::string("corp.test\n"), std::string(256, 'a'), std::string("."),      std::string("corp..test"),
        std::string("corp.example*x"), std::string("corp/test")};
    for (const auto& name : names) {
        log.lines.clear();
        directory.machine = DcNameAnswer{0, name, std::string("Site")};
        std::string domain, site;
        LocateMachineDomain(ScriptedPlatform(directory), domain, site);
        EXPECT_EQ(domain, "");
        EXPECT_EQ(site, "") << "the site of an unusable answer is not taken either";
        ASSERT_EQ(log.lines.size(), 1u);
        EXPECT_EQ(log.lines[0], CantLocate(1212) + (CantLocate(1212).back() == '\n' ? "" : "\r\n"));
    }
}

TEST_F(DomainLookup, DomainNameWithBytesAbove127IsUsable)
{
    SetMachine(directory, "\xc3\xa9quipe.test");
    std::string domain, site;
    LocateMachineDomain(ScriptedPlatform(directory), domain, site);
    EXPECT_EQ(domain, "\xc3\xa9quipe.test");
    EXPECT_TRUE(log.lines.empty());
}

// --- LookupKdcs ---

TEST_F(DomainLookup, EmptySiteQueriesOnlyTheDomainWideName)
{
    SetKdcs(directory, "corp.test", {"dc1.corp.test", "dc2.corp.test"});
    EXPECT_EQ(Lookup("corp.test", ""), (Strings{"dc1.corp.test", "dc2.corp.test"}));
    EXPECT_EQ(Queries(), Strings{"_kerberos._tcp.corp.test"});
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(DomainLookup, SiteAnswerIsFinalWhenItSucceeds)
{
    SetSiteKdcs(directory, "Site-A", "corp.test", {"near.corp.test"});
    SetKdcs(directory, "corp.test", {"far.corp.test"});
    EXPECT_EQ(Lookup("corp.test", "Site-A"), Strings{"near.corp.test"});
    EXPECT_EQ(Queries(), Strings{"_kerberos._tcp.Site-A._sites.corp.test"});
    EXPECT_TRUE(log.lines.empty());
}

// 9003, and 9501: the site's name exists but holds no SRV record, which Windows tells apart.
TEST_F(DomainLookup, SiteNameErrorOrNoRecordsFallsBackToTheDomainWideName)
{
    SetKdcs(directory, "corp.test", {"far.corp.test"});
    for (const std::int32_t status : {kDnsNameError, kDnsNoRecords}) {
        directory.calls.clear();
        SetSrvStatus(directory, "_kerberos._tcp.Site-A._sites.corp.test", status);
        EXPECT_EQ(Lookup("corp.test", "Site-A"), Strings{"far.corp.test"}) << status;
        EXPECT_EQ(Queries(), (Strings{"_kerberos._tcp.Site-A._sites.corp.test", "_kerberos._tcp.corp.test"}));
    }
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(DomainLookup, FinalNoRecordsAnswerIsAFailureLikeAnyOther)
{
    SetSrvStatus(directory, "_kerberos._tcp.Site-A._sites.corp.test", kDnsNoRecords);
    SetSrvStatus(directory, "_kerberos._tcp.corp.test", kDnsNoRecords);
    EXPECT_TRUE(Lookup("corp.test", "Site-A").empty());
    EXPECT_EQ(Queries().size(), 2u);
    EXPECT_EQ(log.lines, Strings{CantGetKdc("corp.test", 9501)});
    log.lines.clear();
    EXPECT_TRUE(Lookup("corp.test", "").empty());
    EXPECT_EQ(log.lines, Strings{CantGetKdc("corp.test", 9501)});
}

TEST_F(DomainLookup, BothQueriesFailingGiveOneWarningWithTheDomainWideStatus)
{
    SetSrvStatus(directory, "_kerberos._tcp.corp.test", 9002);
    EXPECT_TRUE(Lookup("corp.test", "Site-A").empty());
    EXPECT_EQ(Queries().size(), 2u);
    EXPECT_EQ(log.lines, Strings{CantGetKdc("corp.test", 9002)});
}

TEST_F(DomainLookup, DomainWideNameErrorIsReportedToo)
{
    EXPECT_TRUE(Lookup("corp.test", "").empty());
    EXPECT_EQ(log.lines, Strings{CantGetKdc("corp.test", 9003)});
}

TEST_F(DomainLookup, SiteFailureOtherThanNameErrorIsFinal)
{
    SetSrvStatus(directory, "_kerberos._tcp.Site-A._sites.corp.test", 1460);
    SetKdcs(directory, "corp.test", {"far.corp.test"});
    EXPECT_TRUE(Lookup("corp.test", "Site-A").empty());
    EXPECT_EQ(Queries(), Strings{"_kerberos._tcp.Site-A._sites.corp.test"});
    EXPECT_EQ(log.lines, Strings{CantGetKdc("corp.test", 1460)});
}

TEST_F(DomainLookup, SiteAnswerWithOnlyAddressRecordsGivesNoHostsNoFallbackNoWarning)
{
    directory.dns["_kerberos._tcp.Site-A._sites.corp.test"] = DnsAnswer{0, {{1, std::nullopt}, {28, std::nullopt}}};
    SetKdcs(directory, "corp.test", {"far.corp.test"});
    EXPECT_TRUE(Lookup("corp.test", "Site-A").empty());
    EXPECT_EQ(Queries().size(), 1u);
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(DomainLookup, SuccessfulEmptyAnswerGivesNoHostsAndNoWarning)
{
    directory.dns["_kerberos._tcp.corp.test"] = DnsAnswer{0, {}};
    EXPECT_TRUE(Lookup("corp.test", "").empty());
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(DomainLookup, HostsComeInAnswerOrderWithDuplicatesAndOtherTypesSkipped)
{
    directory.dns["_kerberos._tcp.corp.test"] = DnsAnswer{
        0,
        {{kDnsTypeSrv, std::string("c.corp.test")},
         {1, std::nullopt},
         {kDnsTypeSrv, std::string("a.corp.test")},
         {kDnsTypeSrv, std::string("b.corp.test")},
         {5, std::string("alias.corp.test")},  // a target on a non-SRV record is not read
         {kDnsTypeSrv, std::string("a.corp.test")}}};
    EXPECT_EQ(Lookup("corp.test", ""), (Strings{"c.corp.test", "a.corp.test", "b.corp.test", "a.corp.test"}));
}

TEST_F(DomainLookup, HostsAreAppendedToTheGivenListAndAFailureLeavesItUnchanged)
{
    SetKdcs(directory, "corp.test", {"dc1.corp.test"});
    Strings hosts{"earlier"};
    LookupKdcs(ScriptedPlatform(directory), "corp.test", "", hosts);
    EXPECT_EQ(hosts, (Strings{"earlier", "dc1.corp.test"}));
    LookupKdcs(ScriptedPlatform(directory), "missing.test", "", hosts);
    EXPECT_EQ(hosts, (Strings{"earlier", "dc1.corp.test"}));
}

TEST_F(DomainLookup, QueryNamesAreConcatenatedAsGiven)
{
    SetSiteKdcs(directory, "Site A", "Corp.Test.", {"dc"});
    EXPECT_EQ(Lookup("Corp.Test.", "Site A"), Strings{"dc"});
    EXPECT_EQ(Queries(), Strings{"_kerberos._tcp.Site A._sites.Corp.Test."});
}

// "." and unusable targets are dropped, silently.
TEST_F(DomainLookup, DotTargetAndUnusableTargetsAreDroppedSilently)
{
    directory.dns["_kerberos._tcp.corp.test"] = DnsAnswer{
        0,
        {{kDnsTypeSrv, std::string(".")},
         {kDnsTypeSrv, std::string("good.corp.test")},
         {kDnsTypeSrv, std::string("")},
         {kDnsTypeSrv, std::nullopt},
         {kDnsTypeSrv, std::string("bad host.corp.test")},
         {kDnsTypeSrv, std::string("bad}.corp.test")},
         {kDnsTypeSrv, std::string("evil.test\r\n[realms]")},
         {kDnsTypeSrv, std::string(256, 'h')},
         {kDnsTypeSrv, std::string("\xc3\xa9t\xc3\xa9.corp.test")},
         {kDnsTypeSrv, std::string("star*.corp.test")},
         {kDnsTypeSrv, std::string("kdc.corp.test:88")},
         {kDnsTypeSrv, std::string("empty..label.test")},
         {kDnsTypeSrv, std::string("twice.corp.test..")},
         {kDnsTypeSrv, std::string("dotted.corp.test.")}}};
    // An absolute target is taken without its dot.
    EXPECT_EQ(Lookup("corp.test", ""),
              (Strings{"good.corp.test", "\xc3\xa9t\xc3\xa9.corp.test", "dotted.corp.test"}));
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(DomainLookup, OnlyDotTargetsGiveNoHostsAndNoWarning)
{
    SetSrv(directory, "_kerberos._tcp.Site-A._sites.corp.test", {"."});
    SetKdcs(directory, "corp.test", {"far.corp.test"});
    EXPECT_TRUE(Lookup("corp.test", "Site-A").empty());
    EXPECT_EQ(Queries().size(), 1u) << "a successful site answer is final";
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(DomainLookup, EmptyDomainStillGivesAQueryAndAWarningWithAnEmptyDomainPart)
{
    EXPECT_TRUE(Lookup("", "").empty());
    EXPECT_TRUE(Lookup("", "Site-A").empty());
    EXPECT_EQ(Queries(), (Strings{"_kerberos._tcp.", "_kerberos._tcp.Site-A._sites.", "_kerberos._tcp."}));
    EXPECT_EQ(log.lines, (Strings{CantGetKdc("", 9003), CantGetKdc("", 9003)}));
    EXPECT_EQ(log.lines[0].substr(0, 44), "Warning: Can't get KDC for domain . Reason: ");
}

TEST_F(DomainLookup, UnknownDnsStatusGivesUnknownErrorWithALineEnd)
{
    const std::int32_t status = 0x7654321;
    ASSERT_EQ(SystemErrorText(static_cast<std::uint32_t>(status)), "Unknown error.");
    SetSrvStatus(directory, "_kerberos._tcp.corp.test", status);
    Lookup("corp.test", "");
    EXPECT_EQ(log.lines, Strings{"Warning: Can't get KDC for domain corp.test. Reason: Unknown error.\r\n"});
}
