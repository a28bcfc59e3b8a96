// The per-pair reference search: the client's walk and the chain for one pair of realms.
#include "trust_path_reference.h"

#include "trust_entries.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Path(const TrustTable& trusts, const std::string& source, const std::string& target)
{
    std::vector<std::string> path;
    FindTrustPath(trusts, source, target, path);
    return path;
}

}  // namespace

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

TEST(FindTrustPath, SameSuffixWithoutTheHierarchyGetsItsChain)
{
    // Both forests end in example.test, which is no realm: the client's own walk would pass it.
    const TrustTable trusts = UserAndResourceForests("corp.example.test", "res.example.test");
    EXPECT_EQ(Path(trusts, "b.res.example.test", "a.corp.example.test"),
              (std::vector<std::string>{"corp.example.test", "res.example.test"}));
    EXPECT_EQ(Path(trusts, "corp.example.test", "b.res.example.test"), std::vector<std::string>{"res.example.test"});
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
