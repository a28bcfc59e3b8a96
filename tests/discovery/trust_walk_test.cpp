// The trust walk: order, follow rules, trust entries, and what it does with failures.
#include "log_recorder.h"
#include "scripted_directory.h"
#include "status_log.h"
#include "system_error_text.h"
#include "trust_walk.h"
#include "walk_rounds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using Strings = std::vector<std::string>;
using Pairs = std::vector<std::pair<std::string, std::string>>;

constexpr std::uint32_t kInForest = kDsDomainInForest;
constexpr std::uint32_t kOut = kDsDomainDirectOutbound;
constexpr std::uint32_t kIn = kDsDomainDirectInbound;
constexpr std::uint32_t kTreeRoot = 0x4;
constexpr std::uint32_t kPrimary = 0x8;
constexpr std::uint32_t kNativeMode = 0x10;
// The record of the enumerated domain itself, as a domain controller lists it.
constexpr std::uint32_t kSelf = kInForest | kPrimary | kNativeMode;

std::string WithLineEnd(std::string line)
{
    if (line.empty() || line.back() != '\n')
        line += "\r\n";
    return line;
}

std::string CantGetTrustInfo(const std::string& domain, std::uint32_t status)
{
    return WithLineEnd("Warning: Can't get trust info for domain " + domain + ". Reason: " + SystemErrorText(status));
}

std::string CantGetKdc(const std::string& domain, std::uint32_t status)
{
    return WithLineEnd("Warning: Can't get KDC for domain " + domain + ". Reason: " + SystemErrorText(status));
}

std::string UnusableRecord(const std::string& domain)
{
    return "Warning: Skipped a trust record with an unusable domain name for domain " + domain + ".\r\n";
}

std::string Kdc(const std::string& domain)
{
    return "dc1." + domain;
}

class TrustWalk : public ::testing::Test {
protected:
    void SetUp() override { RecordStatusLog(log); }
    void TearDown() override { StopRecordingStatusLog(); }

    // A domain whose domain-wide KDC query answers "dc1." + domain.
    void Domain(const std::string& name) { SetKdcs(directory, name, {Kdc(name)}); }
    void Lists(const std::string& domain, const std::vector<TrustRecordCopy>& records)
    {
        SetTrusts(directory, Kdc(domain), records);
    }

    void Walk() { WalkTrusts(ScriptedPlatform(directory), kdcs, trusts); }

    Strings Realms() const
    {
        Strings names;
        for (const auto& entry : kdcs)
            names.push_back(entry.first);
        return names;
    }
    Pairs Trusts() const { return Pairs(trusts.begin(), trusts.end()); }
    Strings Enumerated() const { return CallArguments(directory, DirectoryCall::EnumerateTrusts); }
    std::size_t QueriesOf(const std::string& name) const
    {
        std::size_t count = 0;
        for (const std::string& query : CallArguments(directory, DirectoryCall::QuerySrv))
            if (query == name)
                ++count;
        return count;
    }

    ScriptedDirectory directory;
    LogRecorder log;
    KdcTable kdcs;
    TrustTable trusts;
};

}  // namespace

TEST_F(TrustWalk, MachineInNoDomainRaisesBeforeAnythingIsRecorded)
{
    SetKdcs(directory, "corp.test", {"dc1.corp.test"});
    try {
        Walk();
        FAIL() << "no DiscoveryFailure";
    } catch (const DiscoveryFailure& failure) {
        EXPECT_EQ(failure.code, 1u);
    }
    EXPECT_TRUE(kdcs.empty());
    EXPECT_TRUE(trusts.empty());
    // The location, and the question whether the computer is a member of a domain after all.
    EXPECT_EQ(directory.calls.size(), 2u);
    EXPECT_EQ(CountCalls(directory, DirectoryCall::GetPrimaryDomain), 1u);
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(TrustWalk, SingleDomainWithoutTrusts)
{
    SetMachine(directory, "corp.test");
    SetKdcs(directory, "corp.test", {"dc1.corp.test", "dc2.corp.test"});
    Lists("corp.test", {TrustRecord(std::string("corp.test"), kSelf | kTreeRoot)});
    Walk();
    ASSERT_EQ(kdcs.size(), 1u);
    EXPECT_EQ(kdcs.at("corp.test"), (Strings{"dc1.corp.test", "dc2.corp.test"}));
    EXPECT_TRUE(trusts.empty());
    ASSERT_EQ(CountCalls(directory, DirectoryCall::EnumerateTrusts), 1u);
    const RecordedCall& enumeration = directory.calls.back();
    EXPECT_EQ(enumeration.argument, "dc1.corp.test") << "addressed to the first KDC";
    EXPECT_FALSE(enumeration.serverAbsent);
    EXPECT_EQ(enumeration.flags, 63u);
    EXPECT_EQ(CountCalls(directory, DirectoryCall::QuerySrv), 1u);
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(TrustWalk, EachDomainIsLookedUpThenEnumeratedInTurn)
{
    SetMachine(directory, "corp.test");
    Domain("corp.test");
    Domain("child.corp.test");
    Lists("corp.test", {TrustRecord(std::string("corp.test"), kSelf),
                        TrustRecord(std::string("child.corp.test"), kInForest | kOut | kIn)});
    Walk();
    ASSERT_EQ(directory.calls.size(), 5u);
    EXPECT_EQ(directory.calls[0].kind, DirectoryCall::GetDcName);
    EXPECT_EQ(directory.calls[1].argument, "_kerberos._tcp.corp.test");
    EXPECT_EQ(directory.calls[2].argument, "dc1.corp.test");
    EXPECT_EQ(directory.calls[3].argument, "_kerberos._tcp.child.corp.test");
    EXPECT_EQ(directory.calls[4].argument, "dc1.child.corp.test");
    EXPECT_EQ(directory.calls[4].kind, DirectoryCall::EnumerateTrusts);
}

TEST_F(TrustWalk, ParentAndChildWithATwoWayTrust)
{
    SetMachine(directory, "p.test");
    Domain("p.test");
    Domain("q.p.test");
    Lists("p.test", {TrustRecord(std::string("p.test"), kSelf | kTreeRoot),
                     TrustRecord(std::string("q.p.test"), kInForest | kOut | kIn)});
    Lists("q.p.test", {TrustRecord(std::string("p.test"), kInForest | kTreeRoot | kOut | kIn),
                       TrustRecord(std::string("q.p.test"), kSelf)});
    Walk();
    EXPECT_EQ(Realms(), (Strings{"p.test", "q.p.test"}));
    EXPECT_EQ(Trusts(), (Pairs{{"p.test", "q.p.test"}, {"q.p.test", "p.test"}}));
    EXPECT_EQ(Enumerated(), (Strings{"dc1.p.test", "dc1.q.p.test"}));
    EXPECT_EQ(QueriesOf("_kerberos._tcp.p.test"), 1u) << "P is visited when Q lists it";
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(TrustWalk, OneWayTrustsGiveOneDirectionEach)
{
    SetMachine(directory, "a.test");
    Domain("a.test");
    Domain("out.a.test");
    Domain("in.a.test");
    Lists("a.test", {TrustRecord(std::string("out.a.test"), kInForest | kOut),
                     TrustRecord(std::string("in.a.test"), kInForest | kIn)});
    Walk();
    EXPECT_EQ(Trusts(), (Pairs{{"a.test", "out.a.test"}, {"in.a.test", "a.test"}}));
}

TEST_F(TrustWalk, NullDnsDomainNameChangesNothing)
{
    SetMachine(directory, "corp.test");
    Domain("corp.test");
    Lists("corp.test", {TrustRecord(std::nullopt, kInForest | kOut | kIn, kTrustAttributeForestTransitive),
                        TrustRecord(std::string("corp.test"), kSelf)});
    Walk();
    EXPECT_EQ(Realms(), Strings{"corp.test"});
    EXPECT_TRUE(trusts.empty());
    EXPECT_EQ(CountCalls(directory, DirectoryCall::QuerySrv), 1u);
    EXPECT_EQ(CountCalls(directory, DirectoryCall::EnumerateTrusts), 1u);
    EXPECT_TRUE(log.lines.empty());
}

// Real forest trusts carry more bits of the mask than forest-transitive: selective
// authentication (0x10), TGT delegation off or on (0x200, 0x800), privileged access (0x400),
// treat as external (0x40), quarantine (0x4). The 0x8 bit alone decides.
TEST_F(TrustWalk, ForestTrustIsFollowedOnItsBitWhateverTheOtherBits)
{
    SetMachine(directory, "corp.test");
    Domain("corp.test");
    const std::vector<std::pair<std::string, std::uint32_t>> forests = {
        {"plain.test", 0x8},      {"selective.test", 0x18}, {"delegating.test", 0x808}, {"nodelegation.test", 0x218},
        {"pam.test", 0x408},      {"external.test", 0x48},  {"quarantined.test", 0xC},  {"every.test", 0xFFFFFFFF}};
    std::vector<TrustRecordCopy> records;
    Strings expectedRealms{"corp.test"};
    Strings expectedEnumerations{"dc1.corp.test"};
    Pairs expectedTrusts;
    for (const auto& forest : forests) {
        Domain(forest.first);
        Lists(forest.first, {TrustRecord(forest.first, kSelf)});
        records.push_back(TrustRecord(forest.first, kOut | kIn, forest.second));
        expectedRealms.push_back(forest.first);
        expectedEnumerations.push_back(Kdc(forest.first));
        expectedTrusts.push_back({"corp.test", forest.first});
        expectedTrusts.push_back({forest.first, "corp.test"});
    }
    Lists("corp.test", records);
    Walk();
    std::sort(expectedRealms.begin(), expectedRealms.end());
    std::sort(expectedTrusts.begin(), expectedTrusts.end());
    Pairs found = Trusts();
    std::sort(found.begin(), found.end());
    EXPECT_EQ(Realms(), expectedRealms);
    EXPECT_EQ(found, expectedTrusts);
    EXPECT_EQ(Enumerated(), expectedEnumerations);
    EXPECT_TRUE(log.lines.empty());
}

// Without the 0x8 bit no other bit makes a trust a forest trust.
TEST_F(TrustWalk, AttributesWithoutTheForestBitAreNotFollowed)
{
    SetMachine(directory, "corp.test");
    Domain("corp.test");
    std::vector<TrustRecordCopy> records;
    Strings expectedRealms{"corp.test"};
    for (const std::uint32_t attributes : {0x0u, 0x1u, 0x4u, 0x10u, 0x40u, 0x800u, 0xFFFFFFF7u}) {
        const std::string name = "a" + std::to_string(attributes) + ".test";
        Domain(name);
        records.push_back(TrustRecord(name, kOut | kIn, attributes));
        expectedRealms.push_back(name);
    }
    Lists("corp.test", records);
    Walk();
    std::sort(expectedRealms.begin(), expectedRealms.end());
    EXPECT_EQ(Realms(), expectedRealms);
    EXPECT_TRUE(trusts.empty());
    EXPECT_EQ(Enumerated(), Strings{"dc1.corp.test"});
}

TEST_F(TrustWalk, ExternalTrustEntersTheDirectoryButIsNotFollowed)
{
    SetMachine(directory, "corp.test");
    Domain("corp.test");
    Domain("partner.test");
    Lists("corp.test", {TrustRecord(std::string("partner.test"), kOut | kIn, 0x4)});
    Lists("partner.test", {TrustRecord(std::string("elsewhere.test"), kInForest)});
    Walk();
    EXPECT_EQ(Realms(), (Strings{"corp.test", "partner.test"}));
    EXPECT_TRUE(trusts.empty());
    EXPECT_EQ(Enumerated(), Strings{"dc1.corp.test"});
}

TEST_F(TrustWalk, ExternalDomainWithoutKdcsIsAbsentAndWarnedAbout)
{
    SetMachine(directory, "corp.test");
    Domain("corp.test");
    Lists("corp.test", {TrustRecord(std::string("gone.test"), kOut)});
    Walk();
    EXPECT_EQ(Realms(), Strings{"corp.test"});
    EXPECT_EQ(log.lines, Strings{CantGetKdc("gone.test", 9003)});
}

TEST_F(TrustWalk, SameForestDomainsWithoutDirectTrustAreFollowedWithoutEntries)
{
    SetMachine(directory, "a.corp.test");
    Domain("a.corp.test");
    Domain("corp.test");
    Domain("b.corp.test");
    Lists("a.corp.test", {TrustRecord(std::string("corp.test"), kInForest | kTreeRoot | kOut | kIn),
                          TrustRecord(std::string("a.corp.test"), kSelf),
                          TrustRecord(std::string("b.corp.test"), kInForest)});
    Lists("corp.test", {TrustRecord(std::string("a.corp.test"), kInForest | kOut | kIn),
                        TrustRecord(std::string("b.corp.test"), kInForest | kOut | kIn)});
    Lists("b.corp.test", {TrustRecord(std::string("corp.test"), kInForest | kOut | kIn)});
    Walk();
    EXPECT_EQ(Enumerated(), (Strings{"dc1.a.corp.test", "dc1.corp.test", "dc1.b.corp.test"}));
    EXPECT_EQ(Trusts(), (Pairs{{"a.corp.test", "corp.test"},
                               {"b.corp.test", "corp.test"},
                               {"corp.test", "a.corp.test"},
                               {"corp.test", "b.corp.test"}}));
    // The root's listing of B is the one that records the trust; A's listing of B records none.
    EXPECT_EQ(trusts.count("a.corp.test"), 1u);
}

TEST_F(TrustWalk, DomainsAreExpandedBreadthFirstInArrayOrder)
{
    SetMachine(directory, "r.test");
    for (const char* name : {"r.test", "x.r.test", "y.r.test", "x1.x.r.test", "y1.y.r.test"})
        Domain(name);
    Lists("r.test", {TrustRecord(std::string("y.r.test"), kInForest | kOut | kIn),
                     TrustRecord(std::string("x.r.test"), kInForest | kOut | kIn)});
    Lists("y.r.test", {TrustRecord(std::string("y1.y.r.test"), kInForest | kOut | kIn)});
    Lists("x.r.test", {TrustRecord(std::string("x1.x.r.test"), kInForest | kOut | kIn)});
    Walk();
    EXPECT_EQ(Enumerated(), (Strings{"dc1.r.test", "dc1.y.r.test", "dc1.x.r.test", "dc1.y1.y.r.test",
                                     "dc1.x1.x.r.test"}));
    // Unlisted servers answer 1722: the two leaves' enumerations fail and are reported.
    EXPECT_EQ(log.lines, (Strings{CantGetTrustInfo("y1.y.r.test", 1722), CantGetTrustInfo("x1.x.r.test", 1722)}));
}

TEST_F(TrustWalk, ListedTwiceBeforeExpansionIsExpandedOnceAndTrustsComeFromTheFirstExpanded)
{
    // r lists a and b; a lists b too, before b is expanded: b is queued twice, expanded once.
    SetMachine(directory, "r.test");
    for (const char* name : {"r.test", "a.test", "b.test"})
        Domain(name);
    Lists("r.test", {TrustRecord(std::string("a.test"), kInForest | kOut),
                     TrustRecord(std::string("b.test"), kInForest)});
    Lists("a.test", {TrustRecord(std::string("b.test"), kInForest | kOut | kIn),
                     TrustRecord(std::string("r.test"), kInForest | kIn)});
    Lists("b.test", {TrustRecord(std::string("a.test"), kInForest | kOut | kIn)});
    Walk();
    EXPECT_EQ(Enumerated(), (Strings{"dc1.r.test", "dc1.a.test", "dc1.b.test"}));
    EXPECT_EQ(Trusts(), (Pairs{{"a.test", "b.test"}, {"b.test", "a.test"}, {"r.test", "a.test"}}));
    // b is looked up once although two enumerations list it.
    EXPECT_EQ(QueriesOf("_kerberos._tcp.b.test"), 1u);
}

TEST_F(TrustWalk, DuplicateRecordsInOneEnumerationKeepDuplicatePairs)
{
    SetMachine(directory, "r.test");
    Domain("r.test");
    Domain("a.test");
    Lists("r.test", {TrustRecord(std::string("a.test"), kInForest | kOut),
                     TrustRecord(std::string("a.test"), kInForest | kOut)});
    Walk();
    EXPECT_EQ(Trusts(), (Pairs{{"r.test", "a.test"}, {"r.test", "a.test"}}));
    EXPECT_EQ(QueriesOf("_kerberos._tcp.a.test"), 1u);
    EXPECT_EQ(Enumerated(), (Strings{"dc1.r.test", "dc1.a.test"}));
}

// DNS names are one name in any letter case: a domain controller that lists its own domain in
// capitals lists a visited domain, and no realm trusts itself.
TEST_F(TrustWalk, NamesDifferingOnlyInLetterCaseAreOneDomain)
{
    SetMachine(directory, "corp.test");
    Domain("corp.test");
    Domain("Corp.test");
    Lists("corp.test", {TrustRecord(std::string("corp.test"), kSelf),
                        TrustRecord(std::string("Corp.test"), kInForest | kOut)});
    Lists("Corp.test", {TrustRecord(std::string("corp.test"), kInForest | kIn)});
    Walk();
    EXPECT_EQ(Realms(), Strings{"corp.test"});
    EXPECT_TRUE(trusts.empty());
    EXPECT_EQ(Enumerated(), Strings{"dc1.corp.test"});
    EXPECT_EQ(QueriesOf("_kerberos._tcp.Corp.test"), 0u);
}

// The first spelling met is used from then on: for the realm, for later queries, in warnings
// and in every trust entry, whichever spelling a later record uses.
TEST_F(TrustWalk, TheFirstSpellingOfADomainIsUsedForEverything)
{
    SetMachine(directory, "Corp.Riverton.test");
    Domain("Corp.Riverton.test");
    SetKdcs(directory, "EU.Corp.Riverton.test", {"Kdc.EU.corp.riverton.test"});
    SetKdcs(directory, "lab.ashgrove.TEST", {"kdc1.lab.ashgrove.test"});
    SetSrvStatus(directory, "_kerberos._tcp.gone.AshGrove.test", 9002);
    SetSrvStatus(directory, "_kerberos._tcp.GONE.ashgrove.test", 9002);
    Lists("Corp.Riverton.test", {TrustRecord(std::string("CORP.RIVERTON.TEST"), kSelf),
                                 TrustRecord(std::string("EU.Corp.Riverton.test"), kInForest | kOut | kIn),
                                 TrustRecord(std::string("lab.ashgrove.TEST"), kOut | kIn, 8)});
    SetTrusts(directory, "Kdc.EU.corp.riverton.test",
              {TrustRecord(std::string("corp.riverton.test"), kInForest | kOut | kIn)});
    // The partner's domain controller spells the machine's domain its own way, and lists a child
    // of its own in two spellings.
    SetTrusts(directory, "kdc1.lab.ashgrove.test",
              {TrustRecord(std::string("LAB.ASHGROVE.TEST"), kSelf),
               TrustRecord(std::string("corp.RIVERTON.test"), kOut | kIn, 8),
               TrustRecord(std::string("gone.AshGrove.test"), kInForest | kOut | kIn),
               TrustRecord(std::string("GONE.ashgrove.test"), kInForest | kOut | kIn)});
    Walk();
    EXPECT_EQ(Realms(), (Strings{"Corp.Riverton.test", "EU.Corp.Riverton.test", "lab.ashgrove.TEST"}));
    EXPECT_EQ(kdcs.at("EU.Corp.Riverton.test"), Strings{"Kdc.EU.corp.riverton.test"}) << "host names as found";
    EXPECT_EQ(Trusts(), (Pairs{{"Corp.Riverton.test", "EU.Corp.Riverton.test"},
                               {"Corp.Riverton.test", "lab.ashgrove.TEST"},
                               {"EU.Corp.Riverton.test", "Corp.Riverton.test"},
                               {"gone.AshGrove.test", "lab.ashgrove.TEST"},
                               {"gone.AshGrove.test", "lab.ashgrove.TEST"},
                               {"lab.ashgrove.TEST", "Corp.Riverton.test"},
                               {"lab.ashgrove.TEST", "gone.AshGrove.test"},
                               {"lab.ashgrove.TEST", "gone.AshGrove.test"}}));
    // A failed lookup keeps the first spelling, and the second listing is looked up again under it.
    EXPECT_EQ(QueriesOf("_kerberos._tcp.gone.AshGrove.test"), 2u);
    EXPECT_EQ(QueriesOf("_kerberos._tcp.GONE.ashgrove.test"), 0u);
    EXPECT_EQ(log.lines, (Strings{CantGetKdc("gone.AshGrove.test", 9002), CantGetKdc("gone.AshGrove.test", 9002),
                                  CantGetTrustInfo("gone.AshGrove.test", 1311)}));
    EXPECT_EQ(Enumerated(), (Strings{"dc1.Corp.Riverton.test", "Kdc.EU.corp.riverton.test", "kdc1.lab.ashgrove.test"}));
}

// A realm the caller entered is known in any spelling.
TEST_F(TrustWalk, RealmsTheCallerEnteredAreKnownInAnyLetterCase)
{
    SetMachine(directory, "R.test");
    kdcs["r.test"] = {"given.r.test"};
    SetTrusts(directory, "given.r.test", {TrustRecord(std::string("R.TEST"), kSelf)});
    Walk();
    EXPECT_EQ(CountCalls(directory, DirectoryCall::QuerySrv), 0u);
    EXPECT_EQ(Realms(), Strings{"r.test"});
    EXPECT_EQ(Enumerated(), Strings{"given.r.test"});
}

// Absolute names lose their dot before anything else: they are the same domain.
TEST_F(TrustWalk, AbsoluteNamesFromEveryAnswerAreTakenWithoutTheirDot)
{
    SetMachine(directory, "corp.test.");
    SetKdcs(directory, "corp.test", {"dc1.corp.test."});
    SetKdcs(directory, "child.corp.test", {"dc1.child.corp.test."});
    Lists("corp.test", {TrustRecord(std::string("corp.test."), kSelf),
                        TrustRecord(std::string("child.corp.test."), kInForest | kOut | kIn),
                        TrustRecord(std::string("."), kInForest | kOut),
                        TrustRecord(std::string("two.dots.."), kInForest | kOut)});
    Lists("child.corp.test", {TrustRecord(std::string("CORP.TEST."), kInForest | kOut | kIn)});
    Walk();
    EXPECT_EQ(Realms(), (Strings{"child.corp.test", "corp.test"}));
    EXPECT_EQ(kdcs.at("corp.test"), Strings{"dc1.corp.test"});
    EXPECT_EQ(Trusts(), (Pairs{{"child.corp.test", "corp.test"}, {"corp.test", "child.corp.test"}}));
    EXPECT_EQ(Enumerated(), (Strings{"dc1.corp.test", "dc1.child.corp.test"}));
    EXPECT_EQ(log.lines, (Strings{UnusableRecord("corp.test"), UnusableRecord("corp.test")}));
}

TEST_F(TrustWalk, TheSiteIsUsedForEveryDomainsLookup)
{
    SetMachine(directory, "corp.test", std::string("Hq"));
    SetSiteKdcs(directory, "Hq", "corp.test", {"hq-dc.corp.test"});
    SetKdcs(directory, "corp.test", {"dc1.corp.test"});
    SetKdcs(directory, "other.test", {"dc1.other.test"});
    SetTrusts(directory, "hq-dc.corp.test", {TrustRecord(std::string("other.test"), kOut | kIn, 8)});
    Lists("other.test", {});
    Walk();
    EXPECT_EQ(kdcs.at("corp.test"), Strings{"hq-dc.corp.test"});
    EXPECT_EQ(kdcs.at("other.test"), Strings{"dc1.other.test"});
    EXPECT_EQ(CallArguments(directory, DirectoryCall::QuerySrv),
              (Strings{"_kerberos._tcp.Hq._sites.corp.test", "_kerberos._tcp.Hq._sites.other.test",
                       "_kerberos._tcp.other.test"}));
    EXPECT_EQ(Enumerated(), (Strings{"hq-dc.corp.test", "dc1.other.test"}));
    EXPECT_TRUE(log.lines.empty()) << "an empty enumeration is fine";
}

TEST_F(TrustWalk, FailedEnumerationIsReportedWithTheDomainAndTheWalkGoesOn)
{
    SetMachine(directory, "r.test");
    for (const char* name : {"r.test", "a.test", "b.test", "c.test"})
        Domain(name);
    Lists("r.test", {TrustRecord(std::string("a.test"), kInForest | kOut),
                     TrustRecord(std::string("b.test"), kInForest | kOut)});
    SetTrustStatus(directory, Kdc("a.test"), 5);
    Lists("b.test", {TrustRecord(std::string("c.test"), kInForest | kOut)});
    Walk();
    EXPECT_EQ(Enumerated(), (Strings{"dc1.r.test", "dc1.a.test", "dc1.b.test", "dc1.c.test"}));
    EXPECT_EQ(Realms(), (Strings{"a.test", "b.test", "c.test", "r.test"})) << "a keeps its entry";
    ASSERT_GE(log.lines.size(), 1u);
    EXPECT_EQ(log.lines[0], CantGetTrustInfo("a.test", 5));
    EXPECT_EQ(log.lines.size(), 2u);  // and c's server is not listed: 1722
    EXPECT_EQ(log.lines[1], CantGetTrustInfo("c.test", 1722));
}

TEST_F(TrustWalk, FailedLookupsAreRepeatedAtEachListing)
{
    SetMachine(directory, "r.test");
    Domain("r.test");
    Domain("a.test");
    SetSrvStatus(directory, "_kerberos._tcp.ext.test", 9002);
    Lists("r.test", {TrustRecord(std::string("ext.test"), kOut),
                     TrustRecord(std::string("a.test"), kInForest | kOut)});
    Lists("a.test", {TrustRecord(std::string("ext.test"), kIn)});
    Walk();
    EXPECT_EQ(QueriesOf("_kerberos._tcp.ext.test"), 2u);
    EXPECT_EQ(log.lines, (Strings{CantGetKdc("ext.test", 9002), CantGetKdc("ext.test", 9002)}));
    EXPECT_EQ(Realms(), (Strings{"a.test", "r.test"}));
}

// A realm already in kdcTable is not looked up again.
TEST_F(TrustWalk, RealmAlreadyInTheDirectoryIsNotLookedUpAgain)
{
    SetMachine(directory, "r.test");
    Domain("r.test");
    Domain("a.test");
    Domain("b.test");
    Domain("ext.test");
    Lists("r.test", {TrustRecord(std::string("ext.test"), kOut),
                     TrustRecord(std::string("a.test"), kInForest | kOut),
                     TrustRecord(std::string("b.test"), kInForest | kOut)});
    Lists("a.test", {TrustRecord(std::string("ext.test"), kIn), TrustRecord(std::string("b.test"), kInForest)});
    Lists("b.test", {TrustRecord(std::string("ext.test"), kIn), TrustRecord(std::string("a.test"), kInForest)});
    Walk();
    for (const char* name : {"r.test", "a.test", "b.test", "ext.test"})
        EXPECT_EQ(QueriesOf("_kerberos._tcp." + std::string(name)), 1u) << name;
    EXPECT_EQ(Realms(), (Strings{"a.test", "b.test", "ext.test", "r.test"}));
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(TrustWalk, RealmsTheCallerEnteredAreNotLookedUpAndKeepTheirList)
{
    SetMachine(directory, "r.test");
    Domain("r.test");
    Domain("a.test");
    kdcs["r.test"] = {"given.r.test"};
    kdcs["a.test"] = {"given.a.test"};
    SetTrusts(directory, "given.r.test", {TrustRecord(std::string("a.test"), kInForest | kOut)});
    SetTrusts(directory, "given.a.test", {});
    Walk();
    EXPECT_EQ(CountCalls(directory, DirectoryCall::QuerySrv), 0u);
    EXPECT_EQ(Enumerated(), (Strings{"given.r.test", "given.a.test"}));
    EXPECT_EQ(kdcs.at("a.test"), Strings{"given.a.test"});
}

// No lookup at all when the domain can't be located.
TEST_F(TrustWalk, FailedDomainLocationEndsTheWalkWithOneWarning)
{
    SetMachineStatus(directory, 1908);
    SetKdcs(directory, "", {"dc1"});
    SetTrusts(directory, "", {TrustRecord(std::string("corp.test"), kInForest)});
    Walk();
    EXPECT_EQ(directory.calls.size(), 1u);
    EXPECT_TRUE(kdcs.empty());
    EXPECT_TRUE(trusts.empty());
    EXPECT_EQ(log.lines,
              Strings{WithLineEnd("Warning: Can't locate the domain of this computer. Reason: " + SystemErrorText(1908))});
}

// An unusable DomainName: treated like a failure to locate the domain.
TEST_F(TrustWalk, UnusableMachineDomainEndsTheWalkWithOneWarning)
{
    SetMachine(directory, "corp.test\r\n[realms]", std::string("Site"));
    Walk();
    EXPECT_EQ(directory.calls.size(), 1u);
    EXPECT_TRUE(kdcs.empty());
    EXPECT_EQ(log.lines,
              Strings{WithLineEnd("Warning: Can't locate the domain of this computer. Reason: " + SystemErrorText(1212))});
}

// The machine's own domain without KDCs is enumerated through the local computer.
TEST_F(TrustWalk, OwnDomainWithoutKdcsIsEnumeratedThroughTheLocalComputer)
{
    SetMachine(directory, "corp.test");
    SetSrvStatus(directory, "_kerberos._tcp.corp.test", 9002);
    Domain("child.corp.test");
    SetTrusts(directory, "", {TrustRecord(std::string("corp.test"), kSelf),
                              TrustRecord(std::string("child.corp.test"), kInForest | kOut | kIn)});
    Lists("child.corp.test", {TrustRecord(std::string("corp.test"), kInForest | kOut | kIn)});
    Walk();
    ASSERT_EQ(CountCalls(directory, DirectoryCall::EnumerateTrusts), 2u);
    const RecordedCall* first = nullptr;
    for (const RecordedCall& call : directory.calls)
        if (call.kind == DirectoryCall::EnumerateTrusts && first == nullptr)
            first = &call;
    EXPECT_TRUE(first->serverAbsent);
    EXPECT_EQ(first->flags, 63u);
    EXPECT_EQ(Enumerated(), (Strings{"", "dc1.child.corp.test"}));
    EXPECT_EQ(Realms(), Strings{"child.corp.test"});
    EXPECT_EQ(Trusts(), (Pairs{{"child.corp.test", "corp.test"}, {"corp.test", "child.corp.test"}}));
    EXPECT_EQ(log.lines, Strings{CantGetKdc("corp.test", 9002)});
}

TEST_F(TrustWalk, OwnDomainLocalEnumerationFailureIsReported)
{
    SetMachine(directory, "corp.test");  // no KDCs, and the local computer is not scripted: 1722
    Walk();
    EXPECT_EQ(Enumerated(), Strings{""});
    EXPECT_EQ(log.lines, (Strings{CantGetKdc("corp.test", 9003), CantGetTrustInfo("corp.test", 1722)}));
    EXPECT_TRUE(kdcs.empty());
}

// Another followed domain without KDCs gets the 1311 warning and the walk goes on.
TEST_F(TrustWalk, FollowedDomainWithoutKdcsKeepsItsTrustsAndIsPassedOverWith1311)
{
    SetMachine(directory, "r.test");
    Domain("r.test");
    Domain("b.test");
    Lists("r.test", {TrustRecord(std::string("nokdc.test"), kInForest | kOut | kIn),
                     TrustRecord(std::string("b.test"), kInForest | kOut)});
    Lists("b.test", {});
    Walk();
    EXPECT_EQ(Realms(), (Strings{"b.test", "r.test"}));
    EXPECT_EQ(Trusts(), (Pairs{{"nokdc.test", "r.test"}, {"r.test", "nokdc.test"}, {"r.test", "b.test"}}));
    EXPECT_EQ(Enumerated(), (Strings{"dc1.r.test", "dc1.b.test"}));
    EXPECT_EQ(log.lines, (Strings{CantGetKdc("nokdc.test", 9003), CantGetTrustInfo("nokdc.test", 1311)}));
}

// An unusable DnsDomainName: one warning naming the enumerated domain; nothing else happens.
TEST_F(TrustWalk, TrustRecordWithAnUnusableNameIsSkippedWithOneWarning)
{
    SetMachine(directory, "corp.test");
    Domain("corp.test");
    Domain("good.test");
    const std::string evil = "evil.test\r\n[realms]";
    SetKdcs(directory, evil, {"dc1.evil"});
    Lists("corp.test", {TrustRecord(evil, kInForest | kOut | kIn),
                        TrustRecord(std::string(""), kInForest | kOut),
                        TrustRecord(std::string("x=y"), kOut, 8),
                        TrustRecord(std::string(300, 'a'), kInForest),
                        TrustRecord(std::string("good.test"), kInForest | kOut)});
    Lists("good.test", {TrustRecord(std::string("bad name"), kInForest)});
    Walk();
    EXPECT_EQ(Realms(), (Strings{"corp.test", "good.test"}));
    EXPECT_EQ(Trusts(), (Pairs{{"corp.test", "good.test"}}));
    EXPECT_EQ(CountCalls(directory, DirectoryCall::QuerySrv), 2u) << "no lookup for an unusable name";
    EXPECT_EQ(Enumerated(), (Strings{"dc1.corp.test", "dc1.good.test"}));
    EXPECT_EQ(log.lines, (Strings{UnusableRecord("corp.test"), UnusableRecord("corp.test"),
                                  UnusableRecord("corp.test"), UnusableRecord("corp.test"),
                                  UnusableRecord("good.test")}));
}

TEST_F(TrustWalk, UnusableKdcTargetsNeverBecomeServers)
{
    SetMachine(directory, "corp.test");
    directory.dns["_kerberos._tcp.corp.test"] =
        DnsAnswer{0, {{kDnsTypeSrv, std::string(".")}, {kDnsTypeSrv, std::string("x;y")},
                      {kDnsTypeSrv, std::string("dc2.corp.test")}}};
    SetTrusts(directory, "dc2.corp.test", {});
    Walk();
    EXPECT_EQ(kdcs.at("corp.test"), Strings{"dc2.corp.test"});
    EXPECT_EQ(Enumerated(), Strings{"dc2.corp.test"});
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(TrustWalk, RealmWhoseTargetsAreAllDroppedIsNotEntered)
{
    SetMachine(directory, "corp.test");
    SetSrv(directory, "_kerberos._tcp.corp.test", {"."});
    SetTrusts(directory, "", {});
    Walk();
    EXPECT_TRUE(kdcs.empty());
    EXPECT_EQ(Enumerated(), Strings{""}) << "then it is the own domain without KDCs";
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(TrustWalk, RecordsNamingAVisitedDomainAddNoTrustEntries)
{
    SetMachine(directory, "r.test");
    Domain("r.test");
    Domain("a.test");
    Lists("r.test", {TrustRecord(std::string("r.test"), kSelf | kOut | kIn),
                     TrustRecord(std::string("a.test"), kInForest)});
    Lists("a.test", {TrustRecord(std::string("r.test"), kInForest | kOut | kIn),
                     TrustRecord(std::string("a.test"), kSelf | kOut | kIn)});
    Walk();
    EXPECT_TRUE(trusts.empty());
    EXPECT_EQ(Realms(), (Strings{"a.test", "r.test"}));
}

namespace {

// A random directory over a few names that meet again in other letter cases: answers that
// succeed, fall back from the site, fail, or repeat; records in and out of the forest, one-way
// and two-way, unusable; and sometimes no domain at all.
ScriptedDirectory RandomDirectory(std::mt19937& random)
{
    const Strings names{"r.test", "a.r.test", "B.R.test", "b.r.test", "c.test", "D.c.test", "e.test", "x;y"};
    const auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
    ScriptedDirectory directory;
    const std::optional<std::string> site = pick(2) == 0 ? std::optional<std::string>("S1") : std::nullopt;
    SetMachine(directory, names[pick(3)], site);
    if (pick(10) == 0) {
        SetMachineStatus(directory, kStatusNoSuchDomain);
        SetMembership(directory, "r.test");
    }
    for (const std::string& name : names) {
        switch (pick(5)) {
        case 0:
            SetSrvStatus(directory, "_kerberos._tcp." + name, 9002);
            break;
        case 1:
            SetSiteKdcs(directory, "S1", name, {"s." + name});
            break;
        case 2:
            break;  // 9003 everywhere
        default:
            SetKdcs(directory, name, {"dc." + name, "dc2." + name});
        }
        std::vector<TrustRecordCopy> records;
        for (std::size_t i = pick(6); i > 0; --i)
            records.push_back(TrustRecord(names[pick(names.size())], static_cast<std::uint32_t>(pick(64)),
                                          pick(3) == 0 ? 8u : 0u));
        for (const std::string& server : {"dc." + name, "s." + name})
            if (pick(6) != 0)
                SetTrusts(directory, server, records);
        if (pick(3) == 0)
            SetTrusts(directory, "", records);
    }
    return directory;
}

std::vector<std::pair<int, std::string>> SortedCalls(const ScriptedDirectory& directory)
{
    std::vector<std::pair<int, std::string>> calls;
    for (const RecordedCall& call : directory.calls)
        calls.emplace_back(static_cast<int>(call.kind), call.argument + (call.serverAbsent ? "(local)" : ""));
    std::sort(calls.begin(), calls.end());
    return calls;
}

}  // namespace

// Rounds whose calls are made and answered in shuffled order give the walk's tables, log and
// calls exactly.
TEST(WalkRounds, ShuffledAnswersGiveTheSequentialWalk)
{
    std::mt19937 random(20261209);
    std::size_t walked = 0;
    for (int round = 0; round < 400; ++round) {
        ScriptedDirectory sequential = RandomDirectory(random);
        ScriptedDirectory stepped = sequential;
        const RecordedWalk expected = WalkRecorded(ScriptedPlatform(sequential));

        RecordedWalk actual;
        LogRecorder recorder;
        RecordStatusLog(recorder);
        WalkRounds rounds;
        try {
            for (;;) {
                std::vector<DirectoryRequest> calls = NextWalkRound(rounds, actual.kdcs, actual.trusts);
                if (calls.empty())
                    break;
                std::shuffle(calls.begin(), calls.end(), random);
                for (const DirectoryRequest& call : calls)
                    TakeReply(rounds, call, MakeDirectoryCall(ScriptedPlatform(stepped), call));
            }
        } catch (const DiscoveryFailure& failure) {
            actual.failureCode = failure.code;
        }
        StopRecordingStatusLog();
        ASSERT_EQ(recorder.lines, expected.log) << "round " << round;
        ASSERT_EQ(actual.failureCode, expected.failureCode) << "round " << round;
        ASSERT_EQ(actual.kdcs, expected.kdcs) << "round " << round;
        ASSERT_EQ(Pairs(actual.trusts.begin(), actual.trusts.end()),
                  Pairs(expected.trusts.begin(), expected.trusts.end())) << "round " << round;
        ASSERT_EQ(SortedCalls(stepped), SortedCalls(sequential)) << "round " << round;
        walked += expected.kdcs.size() > 2 ? 1 : 0;
    }
    EXPECT_GT(walked, 50u) << "the forests must hold walks, not only failures";
}
