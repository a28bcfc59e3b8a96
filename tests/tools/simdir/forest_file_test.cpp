// The forest file reader: the format's forms and defaults, and a clear error for every fault.
#include "forest_file.h"

#include "code_page_932.h"

#include <gtest/gtest.h>

#include <dirent.h>

#include <string>
#include <vector>

namespace {

Forest Parsed(const std::string& text)
{
    Forest forest;
    std::string error;
    EXPECT_TRUE(ParseForest(text, forest, error)) << error;
    return forest;
}

std::string ParseError(const std::string& text)
{
    Forest forest;
    std::string error;
    EXPECT_FALSE(ParseForest(text, forest, error)) << text;
    return error;
}

std::vector<std::string> Targets(const ForestDnsAnswer& answer)
{
    std::vector<std::string> targets;
    for (const ForestDnsRecord& record : answer.records)
        targets.push_back(std::to_string(record.type) + ":" + record.target);
    return targets;
}

}  // namespace

TEST(ForestFile, ReadsEveryFormOfTheFormat)
{
    const Forest forest = Parsed(R"({
      "machine": {"status": 0, "domain": "corp.riverton.test", "site": "Default-First-Site-Name"},
      "dns": {
        "_kerberos._tcp.corp.riverton.test": ["dc1.corp.riverton.test", "dc2.corp.riverton.test"],
        "_kerberos._tcp.lab.ashgrove.test": {"status": 0, "records": [{"type": 33, "target": "kdc1.lab.ashgrove.test"}, {"type": 1}]},
        "_kerberos._tcp.broken.test": {"status": 9002}
      },
      "trusts": {
        "dc1.corp.riverton.test": {"status": 0, "domains": [
          {"dns": "corp.riverton.test", "flags": 29, "attributes": 0},
          {"dns": "lab.ashgrove.test", "flags": 34, "attributes": 8},
          {"dns": null, "flags": 2, "attributes": 0}
        ]},
        "": {"status": 1722}
      },
      "latency_ms": {"dcname": 1, "dns": 2, "trusts": 3}
    })");

    const ForestMachine machine = MachineAnswer(forest);
    EXPECT_EQ(machine.status, 0u);
    EXPECT_EQ(machine.domain, "corp.riverton.test");
    EXPECT_EQ(machine.site, std::optional<std::string>("Default-First-Site-Name"));

    const ForestDnsAnswer corp = DnsAnswerFor(forest, "_kerberos._tcp.corp.riverton.test");
    EXPECT_EQ(corp.status, 0);
    EXPECT_EQ(Targets(corp), (std::vector<std::string>{"33:dc1.corp.riverton.test", "33:dc2.corp.riverton.test"}));
    EXPECT_EQ(Targets(DnsAnswerFor(forest, "_kerberos._tcp.lab.ashgrove.test")),
              (std::vector<std::string>{"33:kdc1.lab.ashgrove.test", "1:"}));
    EXPECT_EQ(DnsAnswerFor(forest, "_kerberos._tcp.broken.test").status, 9002);

    const ForestTrustAnswer trusts = TrustAnswerFor(forest, "dc1.corp.riverton.test");
    ASSERT_EQ(trusts.domains.size(), 3u);
    EXPECT_EQ(trusts.domains[1].dnsDomainName, std::optional<std::string>("lab.ashgrove.test"));
    EXPECT_EQ(trusts.domains[1].flags, 34u);
    EXPECT_EQ(trusts.domains[1].trustAttributes, 8u);
    EXPECT_FALSE(trusts.domains[2].dnsDomainName);
    // The key "" is the local computer, whether the server is null or empty.
    EXPECT_EQ(TrustAnswerFor(forest, nullptr).status, 1722u);
    EXPECT_EQ(TrustAnswerFor(forest, "").status, 1722u);

    EXPECT_EQ(forest.latencyMs.dcname, 1u);
    EXPECT_EQ(forest.latencyMs.dns, 2u);
    EXPECT_EQ(forest.latencyMs.trusts, 3u);
}

TEST(ForestFile, WhatIsNotListedGetsTheFormatsDefaults)
{
    const Forest forest = Parsed(R"({"trusts": {"dc1.a.test": {"domains": [{"dns": "a.test", "flags": 29}]}}})");
    EXPECT_EQ(MachineAnswer(forest).status, 1355u);  // no machine: in no domain
    EXPECT_EQ(DnsAnswerFor(forest, "_kerberos._tcp.a.test").status, 9003);
    EXPECT_EQ(TrustAnswerFor(forest, "dc2.a.test").status, 1722u);
    const ForestTrustAnswer listed = TrustAnswerFor(forest, "dc1.a.test");
    EXPECT_EQ(listed.status, 0u);
    ASSERT_EQ(listed.domains.size(), 1u);
    EXPECT_EQ(listed.domains[0].trustAttributes, 0u);
    EXPECT_EQ(forest.latencyMs.dns, 0u);

    // Names match as DNS matches them, without regard to ASCII letter case; the directory drops
    // no trailing dot of its own.
    const Forest named = Parsed(R"({"dns": {"_kerberos._tcp.a.test": ["dc1.a.test"]},
                                    "trusts": {"DC1.a.test": {"domains": []}}})");
    EXPECT_EQ(DnsAnswerFor(named, "_kerberos._tcp.a.test").status, 0);
    EXPECT_EQ(DnsAnswerFor(named, "_KERBEROS._TCP.A.Test").status, 0);
    EXPECT_EQ(DnsAnswerFor(named, "_kerberos._tcp.a.test.").status, 9003);
    EXPECT_EQ(DnsAnswerFor(named, "_kerberos._tcp.\xe1.test").status, 9003) << "no byte above 127 is folded";
    EXPECT_EQ(TrustAnswerFor(named, "dc1.A.TEST").status, 0u);
    EXPECT_EQ(TrustAnswerFor(named, "dc1.a.test.").status, 1722u);

    // A name listed without records exists but holds no SRV record: Windows answers 9501 there.
    const Forest empty = Parsed(R"({"dns": {"_kerberos._tcp.a.test": [], "_kerberos._tcp.b.test": {"status": 0}}})");
    EXPECT_EQ(DnsAnswerFor(empty, "_kerberos._tcp.a.test").status, 9501);
    EXPECT_EQ(DnsAnswerFor(empty, "_kerberos._tcp.b.test").status, 9501);
    EXPECT_TRUE(DnsAnswerFor(empty, "_kerberos._tcp.a.test").records.empty());
}

// Two keys that are one name to the directory: alike, they are one entry; unlike, a fault,
// for which of them the directory would use is undefined.
TEST(ForestFile, KeysThatAreOneNameMustAnswerAlike)
{
    const Forest forest = Parsed(R"({"dns": {"_kerberos._tcp.a.test": ["dc1.a.test"], "_kerberos._tcp.A.TEST": ["dc1.a.test"]},
                                     "trusts": {"dc1.a.test": {"status": 5}, "DC1.A.test": {"status": 5}}})");
    EXPECT_EQ(forest.dns.size(), 1u);
    EXPECT_EQ(forest.trusts.size(), 1u);
    EXPECT_EQ(ParseError(R"({"dns": {"_kerberos._tcp.a.test": ["dc1.a.test"], "_kerberos._tcp.A.test": ["dc2.a.test"]}})"),
              "dns[\"_kerberos._tcp.A.test\"]: one name with dns[\"_kerberos._tcp.a.test\"] to the directory (letter "
              "case aside, in the ANSI code page) but another answer");
    EXPECT_NE(ParseError(R"({"trusts": {"dc1.a.test": {"status": 5}, "DC1.a.test": {"status": 1722}}})")
                  .find("trusts[\"DC1.a.test\"]: one name with trusts[\"dc1.a.test\"]"),
              std::string::npos);
    EXPECT_NE(ParseError(R"({"dns": {"q": {"status": 9002}, "Q": {"status": 9002, "latency_ms": 5}}})").find("another answer"),
              std::string::npos);
    // The same key twice in one object is held to the same rule.
    EXPECT_EQ(Parsed(R"({"dns": {"q": ["a"], "q": ["a"]}})").dns.size(), 1u);
    EXPECT_NE(ParseError(R"({"dns": {"q": ["a"], "q": ["b"]}})").find("another answer"), std::string::npos);

    // In code page 932 気.corp.test (8B 43) and 議.corp.test (8B 63) are two names; in 1252 one.
    const NameConversion toCodePage932 = [](const std::string& utf8) {
        return std::string(utf8.find("\u6c17") == 0 ? "\x8b\x43" : "\x8b\x63") + utf8.substr(3);
    };
    const std::string kanji = R"({"trusts": {"\u6c17.corp.test": {"status": 5}, "\u8b70.corp.test": {"status": 6}}})";
    Forest forest932;
    std::string error;
    EXPECT_FALSE(ParseForest(kanji, forest932, error, toCodePage932));
    const CodePage932 codePage;
    ASSERT_TRUE(ParseForest(kanji, forest932, error, toCodePage932)) << error;
    EXPECT_EQ(TrustAnswerFor(forest932, "\x8b\x63.CORP.test").status, 6u);
}

// The simulated DLLs hand names out in the ANSI code page: every name and key goes through the
// conversion, the member's name (answered in Unicode) excepted, and keys are matched after it.
TEST(ForestFile, NamesAndKeysGoThroughTheConversion)
{
    const NameConversion marked = [](const std::string& utf8) { return utf8 == "\xef\xbc\x8a" ? std::string("*") : "<" + utf8 + ">"; };
    Forest forest;
    std::string error;
    ASSERT_TRUE(ParseForest(R"({
      "machine": {"status": 0, "domain": "corp.test", "site": "S"},
      "dns": {"Q": ["t1", "t2"], "\uff0a": {"records": [{"type": 5, "target": "c"}]}},
      "trusts": {"s": {"domains": [{"dns": "d", "flags": 1}]}}
    })", forest, error, marked)) << error;
    const ForestMachine machine = MachineAnswer(forest);
    EXPECT_EQ(machine.domain, "<corp.test>");
    EXPECT_EQ(machine.site, std::optional<std::string>("<S>"));
    EXPECT_EQ(machine.memberOf, std::optional<std::string>("corp.test"));
    ASSERT_EQ(forest.dns.count("<q>"), 1u);
    EXPECT_EQ(Targets(forest.dns.at("<q>")), (std::vector<std::string>{"33:<t1>", "33:<t2>"}));
    EXPECT_EQ(Targets(DnsAnswerFor(forest, "*")), std::vector<std::string>{"5:<c>"});
    EXPECT_EQ(TrustAnswerFor(forest, "<S>").status, 0u);
    EXPECT_EQ(TrustAnswerFor(forest, "<s>").domains.at(0).dnsDomainName, std::optional<std::string>("<d>"));
    // Two keys that convert to one name, as best fit makes a fullwidth asterisk "*".
    const NameConversion bestFit = [](const std::string& utf8) { return utf8 == "\xef\xbc\x8a" ? std::string("*") : utf8; };
    EXPECT_FALSE(ParseForest(R"({"dns": {"*": ["a"], "\uff0a": ["b"]}})", forest, error, bestFit));
    EXPECT_NE(error.find("one name with dns[\"*\"]"), std::string::npos) << error;
}

// A computer whose domain controllers don't answer: "member" names the domain it is joined to.
TEST(ForestFile, MembershipFollowsTheLocationOrTheMemberKey)
{
    EXPECT_EQ(MachineAnswer(Parsed(R"({"machine": {"domain": "caf\u00e9.test"}})")).memberOf,
              std::optional<std::string>("caf\xc3\xa9.test"));
    EXPECT_FALSE(MachineAnswer(Parsed(R"({})")).memberOf);
    EXPECT_FALSE(MachineAnswer(Parsed(R"({"machine": {"status": 1355}})")).memberOf);
    EXPECT_FALSE(MachineAnswer(Parsed(R"({"machine": {"status": 1355, "member": null}})")).memberOf);
    EXPECT_FALSE(MachineAnswer(Parsed(R"({"machine": {"status": 1908, "domain": "a.test"}})")).memberOf);
    const ForestMachine laptop = MachineAnswer(Parsed(R"({"machine": {"status": 1355, "member": "corp.example"}})"));
    EXPECT_EQ(laptop.status, 1355u);
    EXPECT_EQ(laptop.domain, "");
    EXPECT_EQ(laptop.memberOf, std::optional<std::string>("corp.example"));
}

TEST(ForestFile, EntriesMayCarryTheirOwnLatencyAndTrustsTheirType)
{
    const Forest forest = Parsed(R"({
      "dns": {"q": {"status": 1460, "latency_ms": 3000}, "r": ["a"]},
      "trusts": {"s": {"status": 1722, "latency_ms": 4000},
                 "t": {"domains": [{"dns": "UNIX.TEST", "flags": 34, "type": 3}, {"dns": null, "flags": 2, "type": 1},
                                   {"dns": "a.test", "flags": 2}]}},
      "latency_ms": {"dns": 7}
    })");
    EXPECT_EQ(DnsAnswerFor(forest, "q").latencyMs, std::optional<std::uint32_t>(3000));
    EXPECT_FALSE(DnsAnswerFor(forest, "r").latencyMs);
    EXPECT_EQ(TrustAnswerFor(forest, "s").latencyMs, std::optional<std::uint32_t>(4000));
    const ForestTrustAnswer listed = TrustAnswerFor(forest, "t");
    ASSERT_EQ(listed.domains.size(), 3u);
    EXPECT_EQ(listed.domains[0].trustType, 3u);
    EXPECT_EQ(listed.domains[1].trustType, 1u);
    EXPECT_EQ(listed.domains[2].trustType, 2u) << "a Windows domain unless the file says otherwise";
    EXPECT_EQ(forest.latencyMs.dns, 7u);
}

TEST(ForestFile, CnameRecordsCarryTheirCanonicalName)
{
    const Forest forest = Parsed(R"({"dns": {"q": {"records": [{"type": 5, "target": "alias.test"},
                                                                {"type": 33, "target": "dc1.test"}, {"type": 28}]}}})");
    EXPECT_EQ(Targets(DnsAnswerFor(forest, "q")), (std::vector<std::string>{"5:alias.test", "33:dc1.test", "28:"}));
}

TEST(ForestFile, SiteAbsentOrNullMeansNoClientSite)
{
    EXPECT_FALSE(MachineAnswer(Parsed(R"({"machine": {"domain": "a.test"}})")).site);
    EXPECT_FALSE(MachineAnswer(Parsed(R"({"machine": {"domain": "a.test", "site": null}})")).site);
}

// "status other than 0: that status, no structure" - so the names need not be there.
TEST(ForestFile, FailingAnswersCarryNoStructureExceptDnsRecords)
{
    const Forest forest = Parsed(R"({
      "machine": {"status": 1908},
      "dns": {"_kerberos._tcp.gone.test": {"status": 9003, "records": [{"type": 6}]}},
      "trusts": {"dc1.a.test": {"status": 5, "domains": [{"dns": "a.test", "flags": 29}]}}
    })");
    EXPECT_EQ(MachineAnswer(forest).status, 1908u);
    EXPECT_TRUE(TrustAnswerFor(forest, "dc1.a.test").domains.empty());
    // A name error may carry the zone's SOA: the caller must free that list too.
    EXPECT_EQ(DnsAnswerFor(forest, "_kerberos._tcp.gone.test").records.size(), 1u);
}

TEST(ForestFile, NamesKeepTheirBytesAndDnsStatusesMayBeNegative)
{
    const Forest forest = Parsed(R"({"machine": {"domain": "caf\u00e9.test", "site": "s\u0001te"},
                                    "dns": {"q": {"status": -1}}})");
    EXPECT_EQ(MachineAnswer(forest).domain, "caf\xc3\xa9.test");
    EXPECT_EQ(MachineAnswer(forest).site, std::optional<std::string>("s\x01te"));
    EXPECT_EQ(DnsAnswerFor(forest, "q").status, -1);
}

TEST(ForestFile, EveryFaultIsNamedWithItsPlace)
{
    const std::pair<const char*, const char*> cases[] = {
        {"", "not valid JSON: "},
        {R"({"machine": )", "not valid JSON: parse error at line 1"},
        {"[]", "expected an object"},
        {R"({"machines": {}})", "unknown key \"machines\""},
        {R"({"machine": null})", "machine: expected an object"},
        {R"({"machine": {"status": 0}})", "machine: a machine with status 0 needs a \"domain\""},
        {R"({"machine": {"domain": 7}})", "machine.domain: expected a string"},
        {R"({"machine": {"domain": "a", "Site": "s"}})", "machine: unknown key \"Site\""},
        {R"({"machine": {"status": -1, "domain": "a"}})", "machine.status: expected a whole number from 0 to 4294967295"},
        {R"({"machine": {"domain": "a\u0000b"}})", "machine.domain: a name can't hold a NUL character"},
        {R"({"trusts": {"dc1\u0000x": {"domains": []}}})", "trusts: a name can't hold a NUL character"},
        {R"({"dns": {"q\u0000": []}})", "dns: a name can't hold a NUL character"},
        {R"({"dns": []})", "dns: expected an object"},
        {R"({"dns": {"q": 5}})", "dns[\"q\"]: expected an object"},
        {R"({"dns": {"q": ["a", 1]}})", "dns[\"q\"][1]: expected a string"},
        {R"({"dns": {"q": {"status": "0"}}})", "dns[\"q\"].status: expected a whole number from -2147483648"},
        {R"({"dns": {"q": {"status": 2147483648}}})", "dns[\"q\"].status: expected a whole number"},
        {R"({"dns": {"q": {"records": {}}}})", "dns[\"q\"].records: expected a list"},
        {R"({"dns": {"q": {"records": [{"target": "a"}]}}})", "dns[\"q\"].records[0]: a record needs a \"type\""},
        {R"({"dns": {"q": {"records": [{"type": 33}]}}})", "records[0]: a type 33 (SRV) record needs a \"target\""},
        {R"({"dns": {"q": {"records": [{"type": 1, "target": "a"}]}}})", "records[0]: only a type 33 (SRV) or 5 (CNAME) record"},
        {R"({"dns": {"q": {"records": [{"type": 5}]}}})", "records[0]: a type 5 (CNAME) record needs a \"target\""},
        {R"({"dns": {"q": {"latency_ms": 60001}}})", "dns[\"q\"].latency_ms: expected a whole number from 0 to 60000"},
        {R"({"trusts": {"s": {"latency_ms": -1}}})", "trusts[\"s\"].latency_ms: expected a whole number from 0 to 60000"},
        {R"({"trusts": {"s": {"domains": [{"dns": "a", "flags": 1, "type": 0}]}}})", "domains[0].type: expected a whole number from 1 to 4"},
        {R"({"trusts": {"s": {"domains": [{"dns": "a", "flags": 1, "type": 5}]}}})", "domains[0].type: expected a whole number from 1 to 4"},
        {R"({"machine": {"domain": "a", "member": "b"}})", "machine: \"member\" is read only with status 1355"},
        {R"({"machine": {"status": 1908, "member": "b"}})", "machine: \"member\" is read only with status 1355"},
        {R"({"machine": {"status": 1355, "member": 1}})", "machine.member: expected a string"},
        {R"({"dns": {"q": {"records": [{"type": 65536}]}}})", "records[0].type: expected a whole number from 0 to 65535"},
        {R"({"dns": {"q": {"records": [{"type": 33.0, "target": "a"}]}}})", "records[0].type: expected a whole number"},
        {R"({"trusts": {"s": {"domains": {}}}})", "trusts[\"s\"].domains: expected a list"},
        {R"({"trusts": {"s": {"domains": [{"flags": 1}]}}})", "domains[0]: a domain needs \"dns\" (a name or null)"},
        {R"({"trusts": {"s": {"domains": [{"dns": "a"}]}}})", "domains[0]: a domain needs \"flags\""},
        {R"({"trusts": {"s": {"domains": [{"dns": "a", "flags": 4294967296}]}}})", "domains[0].flags: expected a whole number"},
        {R"({"trusts": {"s": {"domains": [{"dns": "a", "flags": 1, "attributes": -8}]}}})", "domains[0].attributes"},
        {R"({"trusts": {"s": {"Status": 0}}})", "trusts[\"s\"]: unknown key \"Status\""},
        {R"({"latency_ms": {"dns": 60001}})", "latency_ms.dns: expected a whole number from 0 to 60000"},
        {R"({"latency_ms": {"ldap": 1}})", "latency_ms: unknown key \"ldap\""},
        // A list or an object where a scalar belongs, and the other way round.
        {R"({"machine": {"domain": ["a"]}})", "machine.domain: expected a string"},
        {R"({"latency_ms": {"dns": {}}})", "latency_ms.dns: expected a whole number"},
        {R"({"dns": {"q": {"records": [[]]}}})", "dns[\"q\"].records[0]: expected an object"},
        {R"({"dns": {"q": [{"type": 33}]}})", "dns[\"q\"][0]: expected a string"},
        {R"({"trusts": {"s": []}})", "trusts[\"s\"]: expected an object"},
        {R"({"trusts": {"s": {"status": [0]}}})", "trusts[\"s\"].status: expected a whole number"},
        {R"({"trusts": {"s": {"domains": [{"dns": "a", "flags": 1}, 7]}}})", "trusts[\"s\"].domains[1]: expected an object"},
        {R"({"machine": {"domain": "a"}} {})", "not valid JSON: "},  // anything after the forest
    };
    for (const auto& faulty : cases) {
        const std::string error = ParseError(faulty.first);
        EXPECT_NE(error.find(faulty.second), std::string::npos) << faulty.first << "\n  gave: " << error;
    }
}

TEST(ForestFile, MembersMayComeInAnyOrder)
{
    const Forest forest = Parsed(R"({
      "dns": {"q": {"records": [{"target": "dc1.a.test", "type": 33}], "status": 0}},
      "trusts": {"s": {"domains": [{"flags": 29, "dns": "a.test"}], "status": 5}},
      "machine": {"site": "S", "domain": "a.test", "status": 1311}
    })");
    EXPECT_EQ(Targets(DnsAnswerFor(forest, "q")), std::vector<std::string>{"33:dc1.a.test"});
    // A status given after the structure still takes the structure away.
    EXPECT_EQ(TrustAnswerFor(forest, "s").status, 5u);
    EXPECT_TRUE(TrustAnswerFor(forest, "s").domains.empty());
    EXPECT_EQ(MachineAnswer(forest).status, 1311u);
    EXPECT_EQ(MachineAnswer(forest).domain, "");
    EXPECT_FALSE(MachineAnswer(forest).site);
}

TEST(ForestFile, AFailedParseLeavesTheForestAlone)
{
    Forest forest = Parsed(R"({"machine": {"domain": "kept.test"}})");
    std::string error;
    EXPECT_FALSE(ParseForest(R"({"machine": {"domain": "new.test"}, "dns": 1})", forest, error));
    EXPECT_EQ(MachineAnswer(forest).domain, "kept.test");
}

TEST(ForestFile, ReadsFilesAndSaysWhenItCant)
{
    Forest forest;
    std::string error;
    EXPECT_FALSE(ReadForestFile(QM_FORESTS_DIR "/no-such-forest.json", forest, error));
    EXPECT_EQ(error, "can't open the file");

    // Every forest file shipped for the tests and the demo is well formed.
    DIR* folder = opendir(QM_FORESTS_DIR);
    ASSERT_NE(folder, nullptr);
    std::size_t files = 0;
    while (const dirent* entry = readdir(folder)) {
        const std::string name = entry->d_name;
        if (name.size() < 5 || name.compare(name.size() - 5, 5, ".json") != 0)
            continue;
        ++files;
        EXPECT_TRUE(ReadForestFile(QM_FORESTS_DIR "/" + name, forest, error)) << name << ": " << error;
    }
    closedir(folder);
    EXPECT_GE(files, 5u);
}
