// Cross-realm paths: name helpers, the trust search, capaths relations and their direction.
#include "cross_realm_paths.h"

#include <gtest/gtest.h>

#include <random>

namespace {

TrustTable Trusts(const std::vector<std::pair<std::string, std::string>>& entries)
{
    TrustTable trusts;
    for (const auto& entry : entries)
        AddTrust(trusts, entry.first, entry.second);
    return trusts;
}

std::vector<std::string> Path(const TrustTable& trusts, const std::string& source, const std::string& target)
{
    std::vector<std::string> path;
    FindTrustPath(trusts, source, target, path);
    return path;
}

using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs Collect(const TrustTable& trusts, const std::string& source, const std::vector<std::string>& targets)
{
    TrustSearches searches;
    std::set<std::string> done{source};
    std::vector<Relation> relations;
    CollectCapathRelations(trusts, searches, source, targets, done, relations);
    Pairs pairs;
    for (const Relation& relation : relations)
        pairs.emplace_back(relation.tag, relation.value);
    return pairs;
}

}  // namespace

TEST(RealmNames, ToUpperCopyChangesOnlyAsciiLetters)
{
    EXPECT_EQ(ToUpperCopy("corp.Example-1.org"), "CORP.EXAMPLE-1.ORG");
    EXPECT_EQ(ToUpperCopy("\xe9t\xe9.test"), "\xe9T\xe9.TEST");
    EXPECT_EQ(ToUpperCopy("`az{@AZ["), "`AZ{@AZ[");
    EXPECT_EQ(ToUpperCopy(""), "");
}

TEST(RealmNames, LastTwoLabels)
{
    EXPECT_EQ(LastTwoLabels("a.b.example.org"), "example.org");
    EXPECT_EQ(LastTwoLabels("example.org"), "example.org");
    EXPECT_EQ(LastTwoLabels("org"), "org");
    EXPECT_EQ(LastTwoLabels(".org"), ".org");
    EXPECT_EQ(LastTwoLabels("a..org"), ".org");
    EXPECT_EQ(LastTwoLabels("example.org."), "org.");
    EXPECT_EQ(LastTwoLabels(""), "");
}

TEST(RealmNames, HierarchicalWalkGoesUpToTheCommonSuffixThenDown)
{
    EXPECT_EQ(HierarchicalWalk("a.corp.example.test", "b.partner.example.test"),
              (std::vector<std::string>{"CORP.EXAMPLE.TEST", "EXAMPLE.TEST", "PARTNER.EXAMPLE.TEST"}));
    EXPECT_EQ(HierarchicalWalk("a.example.co.uk", "b.other.co.uk"),
              (std::vector<std::string>{"EXAMPLE.CO.UK", "CO.UK", "OTHER.CO.UK"}));
    // A parent and its child, either way round, and siblings.
    EXPECT_TRUE(HierarchicalWalk("a.b.c", "b.c").empty());
    EXPECT_EQ(HierarchicalWalk("b.c", "x.a.b.c"), std::vector<std::string>{"A.B.C"});
    EXPECT_EQ(HierarchicalWalk("X.A.b.c", "b.c"), std::vector<std::string>{"A.B.C"});
    EXPECT_EQ(HierarchicalWalk("eu.Corp.test", "us.corp.TEST"), std::vector<std::string>{"CORP.TEST"});
    // Labels are compared whole: "bc" is no parent of "abc".
    EXPECT_EQ(HierarchicalWalk("abc.example.test", "bc.example.test"), std::vector<std::string>{"EXAMPLE.TEST"});
    // Without a common label the walk passes both top-level labels.
    EXPECT_EQ(HierarchicalWalk("a.one", "b.two"), (std::vector<std::string>{"ONE", "TWO"}));
}

TEST(FindTrustPath, NoPathWhereNoneIsNeeded)
{
    const TrustTable trusts = Trusts({{"a.one.test", "x.two.test"}, {"x.two.test", "b.three.test"},
                                      {"a.one.test", "b.three.test"}, {"c.one.test", "x.two.test"}});
    EXPECT_TRUE(Path(trusts, "a.one.test", "a.one.test").empty());
    // A direct trust wins even where a longer chain also exists.
    EXPECT_TRUE(Path(trusts, "a.one.test", "b.three.test").empty());
    // Same last two labels: nothing, trusted or not.
    EXPECT_TRUE(Path(trusts, "c.one.test", "child.a.one.test").empty());
    EXPECT_TRUE(Path(Trusts({}), "child.corp.example.org", "corp.example.org").empty());
    EXPECT_TRUE(Path(Trusts({}), "a.example.org", "b.example.org").empty());
}

TEST(FindTrustPath, ChainIsListedFromTheTargetSide)
{
    const TrustTable trusts = Trusts({{"a.one.test", "x1.two.test"}, {"x1.two.test", "x2.three.test"},
                                      {"x2.three.test", "b.four.test"}});
    EXPECT_EQ(Path(trusts, "a.one.test", "b.four.test"), (std::vector<std::string>{"x2.three.test", "x1.two.test"}));
    // Entries lead only back from the target towards the source, or away from it.
    EXPECT_TRUE(Path(trusts, "b.four.test", "a.one.test").empty());
    EXPECT_TRUE(Path(Trusts({{"a.one.test", "x.two.test"}, {"x.two.test", "y.five.test"}}), "a.one.test", "b.four.test").empty());
}

TEST(FindTrustPath, ShortestChainAndFirstFoundAmongEqualOnes)
{
    const Pairs xFirst{{"a.one.test", "x.two.test"}, {"a.one.test", "y.three.test"},
                       {"x.two.test", "b.four.test"}, {"y.three.test", "b.four.test"}};
    const Pairs yFirst{xFirst[1], xFirst[0], xFirst[2], xFirst[3]};
    EXPECT_EQ(Path(Trusts(xFirst), "a.one.test", "b.four.test"), std::vector<std::string>{"x.two.test"});
    EXPECT_EQ(Path(Trusts(yFirst), "a.one.test", "b.four.test"), std::vector<std::string>{"y.three.test"});
    // A long chain added first loses to a shorter one added later.
    const TrustTable trusts = Trusts({{"a.one.test", "p.five.test"}, {"p.five.test", "q.six.test"},
                                      {"q.six.test", "b.four.test"}, {"a.one.test", "y.three.test"},
                                      {"y.three.test", "b.four.test"}});
    EXPECT_EQ(Path(trusts, "a.one.test", "b.four.test"), std::vector<std::string>{"y.three.test"});
}

// Two-way parent-child trusts within each forest, and a two-way forest trust between the roots.
TrustTable UserAndResourceForests(const std::string& users, const std::string& resources)
{
    TrustTable trusts;
    for (const auto& link : Pairs{{users, "a." + users}, {users, "c." + users}, {resources, "b." + resources},
                                  {users, resources}}) {
        AddTrust(trusts, link.first, link.second);
        AddTrust(trusts, link.second, link.first);
    }
    return trusts;
}

TEST(FindTrustPath, SameSuffixWithoutTheHierarchyGetsItsChain)
{
    // Both forests end in example.test, which is no realm: the client's own walk would pass it.
    const TrustTable trusts = UserAndResourceForests("corp.example.test", "res.example.test");
    EXPECT_EQ(Path(trusts, "b.res.example.test", "a.corp.example.test"),
              (std::vector<std::string>{"corp.example.test", "res.example.test"}));
    EXPECT_EQ(Path(trusts, "corp.example.test", "b.res.example.test"), std::vector<std::string>{"res.example.test"});
    EXPECT_EQ(Collect(trusts, "a.corp.example.test", {"b.res.example.test", "c.corp.example.test"}),
              (Pairs{{"B.RES.EXAMPLE.TEST", "CORP.EXAMPLE.TEST"}, {"B.RES.EXAMPLE.TEST", "RES.EXAMPLE.TEST"}}));
    // Within one forest the chain is the walk itself: nothing to list.
    EXPECT_TRUE(Path(trusts, "c.corp.example.test", "a.corp.example.test").empty());
    // The same under a two-label public suffix.
    const TrustTable uk = UserAndResourceForests("example.co.uk", "other.co.uk");
    EXPECT_EQ(Path(uk, "b.other.co.uk", "a.example.co.uk"), (std::vector<std::string>{"example.co.uk", "other.co.uk"}));
}

TEST(FindTrustPath, SameTreeChainOtherThanTheWalkIsListed)
{
    TrustTable trusts;
    for (const auto& link : Pairs{{"example.test", "a.example.test"}, {"a.example.test", "x.a.example.test"},
                                  {"example.test", "b.example.test"}, {"b.example.test", "y.b.example.test"},
                                  {"x.a.example.test", "b.example.test"}}) {
        AddTrust(trusts, link.first, link.second);
        AddTrust(trusts, link.second, link.first);
    }
    // A shortcut trust makes a shorter chain than the walk through a and example.test.
    EXPECT_EQ(Path(trusts, "y.b.example.test", "x.a.example.test"), std::vector<std::string>{"b.example.test"});
    // Where no shortcut exists, the chain is the walk.
    EXPECT_TRUE(Path(trusts, "a.example.test", "y.b.example.test").empty());
    // A grandchild trusted by its grandparent: the walk's p.example.test is not on the chain.
    EXPECT_EQ(Path(Trusts({{"example.test", "q.p.example.test"}, {"r.example.test", "example.test"}}),
                   "r.example.test", "q.p.example.test"),
              std::vector<std::string>{"example.test"});
}

TEST(FindTrustPath, NamesAreCaseSensitive)
{
    const TrustTable trusts = Trusts({{"a.one.test", "x.two.test"}, {"x.two.test", "b.four.test"}});
    EXPECT_TRUE(Path(trusts, "a.one.test", "B.FOUR.TEST").empty());
    EXPECT_TRUE(Path(trusts, "A.ONE.TEST", "b.four.test").empty());
}

// Kerberos clients read capaths as: subsection = client realm, tag = service realm,
// values = the realms to pass through, starting next to the client. (P, Q) lets Q's users reach P.
TEST(CollectCapathRelations, RelationsFollowTheClientsRoute)
{
    // b trusts x2 trusts x1 trusts a: a's users reach b through x1, then x2.
    const TrustTable towardsB = Trusts({{"b.four.test", "x2.three.test"}, {"x2.three.test", "x1.two.test"},
                                        {"x1.two.test", "a.one.test"}});
    EXPECT_EQ(Collect(towardsB, "a.one.test", {"b.four.test"}),
              (Pairs{{"B.FOUR.TEST", "X1.TWO.TEST"}, {"B.FOUR.TEST", "X2.THREE.TEST"}}));
    // The same chain lets b's users reach nothing of a's.
    EXPECT_TRUE(Collect(towardsB, "b.four.test", {"a.one.test"}).empty());
    // The mirror image gives the mirrored relations.
    const TrustTable towardsA = Trusts({{"a.one.test", "x1.two.test"}, {"x1.two.test", "x2.three.test"},
                                        {"x2.three.test", "b.four.test"}});
    EXPECT_TRUE(Collect(towardsA, "a.one.test", {"b.four.test"}).empty());
    EXPECT_EQ(Collect(towardsA, "b.four.test", {"a.one.test"}),
              (Pairs{{"A.ONE.TEST", "X2.THREE.TEST"}, {"A.ONE.TEST", "X1.TWO.TEST"}}));
}

TEST(CollectCapathRelations, TwoWayChainGivesMirroredRoutes)
{
    TrustTable trusts;
    for (const auto& link : Pairs{{"a.one.test", "x.two.test"}, {"x.two.test", "y.three.test"}, {"y.three.test", "b.four.test"}}) {
        AddTrust(trusts, link.first, link.second);
        AddTrust(trusts, link.second, link.first);
    }
    EXPECT_EQ(Collect(trusts, "a.one.test", {"b.four.test"}),
              (Pairs{{"B.FOUR.TEST", "X.TWO.TEST"}, {"B.FOUR.TEST", "Y.THREE.TEST"}}));
    EXPECT_EQ(Collect(trusts, "b.four.test", {"a.one.test"}),
              (Pairs{{"A.ONE.TEST", "Y.THREE.TEST"}, {"A.ONE.TEST", "X.TWO.TEST"}}));
}

TEST(CollectCapathRelations, OneWayForestTrustBetweenForestsWithChildren)
{
    // Two forests with parent-child trusts both ways; corp.riverton.test trusts ashgrove.test
    // one way, so only the ashgrove forest's users reach riverton's services.
    TrustTable trusts;
    for (const auto& link : Pairs{{"corp.riverton.test", "eu.corp.riverton.test"}, {"ashgrove.test", "lab.ashgrove.test"}}) {
        AddTrust(trusts, link.first, link.second);
        AddTrust(trusts, link.second, link.first);
    }
    AddTrust(trusts, "corp.riverton.test", "ashgrove.test");
    EXPECT_EQ(Collect(trusts, "lab.ashgrove.test", {"eu.corp.riverton.test", "corp.riverton.test", "ashgrove.test"}),
              (Pairs{{"EU.CORP.RIVERTON.TEST", "ASHGROVE.TEST"},
                     {"EU.CORP.RIVERTON.TEST", "CORP.RIVERTON.TEST"},
                     {"CORP.RIVERTON.TEST", "ASHGROVE.TEST"}}));
    EXPECT_EQ(Collect(trusts, "ashgrove.test", {"eu.corp.riverton.test"}),
              (Pairs{{"EU.CORP.RIVERTON.TEST", "CORP.RIVERTON.TEST"}}));
    EXPECT_TRUE(Collect(trusts, "eu.corp.riverton.test", {"lab.ashgrove.test", "ashgrove.test"}).empty());
    EXPECT_TRUE(Collect(trusts, "corp.riverton.test", {"lab.ashgrove.test"}).empty());
}

TEST(CollectCapathRelations, EachTargetAtMostOnceAndTheDoneSetIsExtended)
{
    const TrustTable trusts = Trusts({{"b.four.test", "sub.x.test"}, {"sub.x.test", "a.one.test"},
                                      {"c.five.test", "sub.x.test"}});
    TrustSearches searches;
    std::set<std::string> done{"a.one.test"};
    std::vector<Relation> relations;
    CollectCapathRelations(trusts, searches, "a.one.test", {"b.four.test", "a.one.test", "b.four.test"}, done, relations);
    CollectCapathRelations(trusts, searches, "a.one.test", {"c.five.test", "b.four.test"}, done, relations);
    ASSERT_EQ(relations.size(), 2u);
    EXPECT_EQ(relations[0].tag, "B.FOUR.TEST");
    EXPECT_EQ(relations[0].value, "SUB.X.TEST");
    EXPECT_EQ(relations[1].tag, "C.FIVE.TEST");
    EXPECT_EQ(done, (std::set<std::string>{"a.one.test", "b.four.test", "c.five.test"}));
}

TEST(CollectCapathRelations, DoneSetKeepsNamesAsGivenAndCaseDistinguishesRealms)
{
    const TrustTable trusts = Trusts({{"b.four.test", "x.two.test"}, {"x.two.test", "a.one.test"}});
    TrustSearches searches;
    std::set<std::string> done{"a.one.test"};
    std::vector<Relation> relations;
    CollectCapathRelations(trusts, searches, "a.one.test", {"B.FOUR.TEST", "b.four.test"}, done, relations);
    // The capitalised spelling names no realm of the table: no route, but both are done.
    ASSERT_EQ(relations.size(), 1u);
    EXPECT_EQ(relations[0].tag, "B.FOUR.TEST");
    EXPECT_EQ(done.count("B.FOUR.TEST") + done.count("b.four.test"), 2u);
}

// The single search per start realm must give exactly the per-pair search's paths.
TEST(TrustSearch, MatchesThePerPairSearchOnRandomDirectories)
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
        for (const std::string& start : names) {
            const TrustSearch search = SearchTrustsFrom(trusts, start);
            for (const std::string& target : names) {
                std::vector<std::string> expected;
                std::vector<std::string> actual;
                FindTrustPath(trusts, start, target, expected);
                TrustPathFromSearch(search, target, actual);
                ASSERT_EQ(actual, expected) << "round " << round << ": " << start << " -> " << target;
                nonEmpty += expected.empty() ? 0 : 1;
            }
        }
    }
    // The comparison must have covered real chains, not only empty results.
    EXPECT_GT(nonEmpty, 1000u);
}
