// The numbered trust table: its searches and the capaths chains they give.
#include "trust_graph.h"

#include "trust_path_reference.h"
#include "upper_case.h"
#include "trust_entries.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// One capaths subsection's relations for the client: (SERVICE, REALM) for each realm of each way.
Pairs Routes(const TrustTable& trusts, const std::string& client, const std::vector<std::string>& services)
{
    std::vector<std::string> named = services;
    named.push_back(client);
    const TrustGraph graph = MakeTrustGraph(trusts, named);
    std::vector<std::uint32_t> predecessor;
    std::vector<std::uint32_t> queue;
    std::vector<std::uint32_t> chain;
    Pairs pairs;
    for (const std::string& service : services) {
        SearchTrusts(graph, RealmNumber(graph, service), predecessor, queue);
        CapathChain(graph, {predecessor.data(), 1}, RealmNumber(graph, client), RealmNumber(graph, service), chain);
        for (const std::uint32_t realm : chain)
            pairs.emplace_back(ToUpperCopy(service), ToUpperCopy(graph.realms[realm]));
    }
    return pairs;
}

}  // namespace

TEST(TrustGraph, RealmsAreNumberedInNameOrderWithTheirEntriesInTableOrder)
{
    const TrustTable trusts = Trusts({{"b.test", "c.test"}, {"a.test", "c.test"}, {"b.test", "a.test"}});
    const TrustGraph graph = MakeTrustGraph(trusts, {"z.test", "a.test"});
    EXPECT_EQ(graph.realms, (std::vector<std::string>{"a.test", "b.test", "c.test", "z.test"}));
    EXPECT_EQ(graph.firstTrusted, (std::vector<std::uint32_t>{0, 1, 3, 3, 3}));
    EXPECT_EQ(graph.trusted, (std::vector<std::uint32_t>{2, 2, 0}));
    EXPECT_EQ(RealmNumber(graph, "z.test"), 3u);
    EXPECT_EQ(RealmNumber(graph, "Z.TEST"), kNoRealm);
}

// Kerberos clients read capaths as: subsection = client realm, tag = service realm,
// values = the realms to pass through, starting next to the client. (P, Q) lets Q's users reach P.
TEST(CapathChain, RelationsFollowTheClientsRoute)
{
    // b trusts x2 trusts x1 trusts a: a's users reach b through x1, then x2.
    const TrustTable towardsB = Trusts({{"b.four.test", "x2.three.test"}, {"x2.three.test", "x1.two.test"},
                                        {"x1.two.test", "a.one.test"}});
    EXPECT_EQ(Routes(towardsB, "a.one.test", {"b.four.test"}),
              (Pairs{{"B.FOUR.TEST", "X1.TWO.TEST"}, {"B.FOUR.TEST", "X2.THREE.TEST"}}));
    // The same chain lets b's users reach nothing of a's.
    EXPECT_TRUE(Routes(towardsB, "b.four.test", {"a.one.test"}).empty());
    // The mirror image gives the mirrored relations.
    const TrustTable towardsA = Trusts({{"a.one.test", "x1.two.test"}, {"x1.two.test", "x2.three.test"},
                                        {"x2.three.test", "b.four.test"}});
    EXPECT_TRUE(Routes(towardsA, "a.one.test", {"b.four.test"}).empty());
    EXPECT_EQ(Routes(towardsA, "b.four.test", {"a.one.test"}),
              (Pairs{{"A.ONE.TEST", "X2.THREE.TEST"}, {"A.ONE.TEST", "X1.TWO.TEST"}}));
}

TEST(CapathChain, TwoWayChainGivesMirroredRoutes)
{
    TrustTable trusts;
    for (const auto& link : Pairs{{"a.one.test", "x.two.test"}, {"x.two.test", "y.three.test"}, {"y.three.test", "b.four.test"}}) {
        AddTrust(trusts, link.first, link.second);
        AddTrust(trusts, link.second, link.first);
    }
    EXPECT_EQ(Routes(trusts, "a.one.test", {"b.four.test"}),
              (Pairs{{"B.FOUR.TEST", "X.TWO.TEST"}, {"B.FOUR.TEST", "Y.THREE.TEST"}}));
    EXPECT_EQ(Routes(trusts, "b.four.test", {"a.one.test"}),
              (Pairs{{"A.ONE.TEST", "Y.THREE.TEST"}, {"A.ONE.TEST", "X.TWO.TEST"}}));
}

TEST(CapathChain, OneWayForestTrustBetweenForestsWithChildren)
{
    // Two forests with parent-child trusts both ways; corp.riverton.test trusts ashgrove.test
    // one way, so only the ashgrove forest's users reach riverton's services.
    TrustTable trusts;
    for (const auto& link : Pairs{{"corp.riverton.test", "eu.corp.riverton.test"}, {"ashgrove.test", "lab.ashgrove.test"}}) {
        AddTrust(trusts, link.first, link.second);
        AddTrust(trusts, link.second, link.first);
    }
    AddTrust(trusts, "corp.riverton.test", "ashgrove.test");
    EXPECT_EQ(Routes(trusts, "lab.ashgrove.test", {"eu.corp.riverton.test", "corp.riverton.test", "ashgrove.test"}),
              (Pairs{{"EU.CORP.RIVERTON.TEST", "ASHGROVE.TEST"},
                     {"EU.CORP.RIVERTON.TEST", "CORP.RIVERTON.TEST"},
                     {"CORP.RIVERTON.TEST", "ASHGROVE.TEST"}}));
    EXPECT_EQ(Routes(trusts, "ashgrove.test", {"eu.corp.riverton.test"}),
              (Pairs{{"EU.CORP.RIVERTON.TEST", "CORP.RIVERTON.TEST"}}));
    EXPECT_TRUE(Routes(trusts, "eu.corp.riverton.test", {"lab.ashgrove.test", "ashgrove.test"}).empty());
    EXPECT_TRUE(Routes(trusts, "corp.riverton.test", {"lab.ashgrove.test"}).empty());
}

TEST(CapathChain, SameSuffixWithoutTheHierarchyListsTheWay)
{
    const TrustTable trusts = UserAndResourceForests("corp.example.test", "res.example.test");
    EXPECT_EQ(Routes(trusts, "a.corp.example.test", {"b.res.example.test", "c.corp.example.test"}),
              (Pairs{{"B.RES.EXAMPLE.TEST", "CORP.EXAMPLE.TEST"}, {"B.RES.EXAMPLE.TEST", "RES.EXAMPLE.TEST"}}));
}

// One search per service realm must give exactly the per-pair search's chains, walks included.
TEST(TrustGraph, SearchesGiveThePerPairSearchsChainsOnRandomDirectories)
{
    const std::vector<std::string> names{"a.one.test", "b.one.test", "c.two.test", "d.two.test", "e.three.test",
                                         "f.four.test", "g.five.test", "h.six.test", "i.seven.test", "j.eight.test",
                                         "K.EIGHT.TEST", "k.eight.test", "one.test", "x.a.one.test", "Two.Test"};
    std::mt19937 random(20240611);
    std::uniform_int_distribution<std::size_t> pick(0, names.size() - 1);
    std::size_t nonEmpty = 0;
    for (int round = 0; round < 300; ++round) {
        TrustTable trusts;
        const int entries = round % 30;
        for (int i = 0; i < entries; ++i)
            AddTrust(trusts, names[pick(random)], names[pick(random)]);
        const TrustGraph graph = MakeTrustGraph(trusts, names);
        std::vector<std::uint32_t> predecessor;
        std::vector<std::uint32_t> queue;
        std::vector<std::uint32_t> chain;
        for (const std::string& start : names) {
            SearchTrusts(graph, RealmNumber(graph, start), predecessor, queue);
            for (const std::string& target : names) {
                std::vector<std::string> expected;
                FindTrustPath(trusts, start, target, expected);
                CapathChain(graph, {predecessor.data(), 1}, RealmNumber(graph, target), RealmNumber(graph, start), chain);
                std::vector<std::string> actual;
                for (const std::uint32_t realm : chain)
                    actual.push_back(graph.realms[realm]);
                ASSERT_EQ(actual, expected) << "round " << round << ": " << start << " -> " << target;
                nonEmpty += expected.empty() ? 0 : 1;
            }
        }
    }
    // The comparison must have covered real chains, not only empty results.
    EXPECT_GT(nonEmpty, 1000u);
}
