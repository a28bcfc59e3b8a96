// The [capaths] section: which targets each subsection lists, and how often.
#include "capaths_generation.h"

#include "trust_path_reference.h"
#include "upper_case.h"
#include "trust_entries.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <sstream>

namespace {

std::string Capaths(const TrustTable& trusts, const std::vector<std::string>& servers,
                    const std::vector<std::string>& clients)
{
    std::ostringstream out;
    WriteCapaths(ConfigTextWriter{out}, trusts, servers, clients);
    return out.str();
}

// The section as one search per realm pair and one subsection list written at once give it.
std::string PerPairCapaths(const TrustTable& trusts, const std::vector<std::string>& servers,
                           const std::vector<std::string>& clients)
{
    std::vector<Subsection> subsections;
    const auto add = [&](const std::string& source, std::vector<const std::vector<std::string>*> lists) {
        std::set<std::string> done{source};
        Subsection subsection{ToUpperCopy(source), {}};
        for (const std::vector<std::string>* targets : lists)
            for (const std::string& target : *targets) {
                if (!done.insert(target).second)
                    continue;
                std::vector<std::string> path;
                FindTrustPath(trusts, target, source, path);
                for (const std::string& realm : path)
                    subsection.relations.push_back({ToUpperCopy(target), ToUpperCopy(realm)});
            }
        if (!subsection.relations.empty())
            subsections.push_back(subsection);
    };
    std::set<std::string> handled;
    for (const std::string& server : servers) {
        handled.insert(server);
        add(server, {&clients, &servers});
    }
    for (const std::string& client : clients)
        if (handled.insert(client).second)
            add(client, {&servers});
    std::ostringstream out;
    if (!subsections.empty())
        ConfigTextWriter{out}.WriteNestedSection("capaths", subsections);
    return out.str();
}

}  // namespace

// Random directories over names of a few trees, some of them parents of others, and random
// server and client lists with repeats and overlaps.
TEST(Capaths, MatchesThePerPairSearchOnRandomDirectories)
{
    const std::vector<std::string> names{"one.test", "a.one.test", "x.a.one.test", "b.one.test", "two.test",
                                         "c.two.test", "D.Two.Test", "d.two.test", "e.three.test", "f.three.test",
                                         "g.example.co.uk", "example.co.uk", "h.other.co.uk", "other.co.uk"};
    std::mt19937 random(20261209);
    std::uniform_int_distribution<std::size_t> pick(0, names.size() - 1);
    std::size_t withCapaths = 0;
    for (int round = 0; round < 400; ++round) {
        TrustTable trusts;
        for (int i = 0; i < round % 40; ++i) {
            const std::string& a = names[pick(random)];
            const std::string& b = names[pick(random)];
            AddTrust(trusts, a, b);
            if (i % 3 != 0)
                AddTrust(trusts, b, a);
        }
        std::vector<std::string> servers;
        std::vector<std::string> clients;
        for (int i = 0; i < round % 9; ++i)
            servers.push_back(names[pick(random)]);
        for (int i = 0; i < round % 11; ++i)
            clients.push_back(names[pick(random)]);
        const std::string expected = PerPairCapaths(trusts, servers, clients);
        ASSERT_EQ(Capaths(trusts, servers, clients), expected) << "round " << round;
        withCapaths += expected.empty() ? 0 : 1;
    }
    // The comparison must have covered real sections, not only empty ones.
    EXPECT_GT(withCapaths, 150u);
}

TEST(Capaths, EachTargetOnceASubsectionAndTheRealmItselfNever)
{
    // b and c reach a's services through sub.x; nothing leads from a to them.
    const TrustTable trusts = Trusts({{"b.four.test", "sub.x.test"}, {"sub.x.test", "a.one.test"},
                                     {"c.five.test", "sub.x.test"}});
    EXPECT_EQ(Capaths(trusts, {"a.one.test"}, {"b.four.test", "a.one.test", "b.four.test", "c.five.test"}),
              "[capaths]\n"
              "A.ONE.TEST = {\n"
              "    B.FOUR.TEST = SUB.X.TEST\n"
              "    C.FIVE.TEST = SUB.X.TEST\n"
              "}\n"
              "\n");
}

TEST(Capaths, LetterCaseDistinguishesRealmsThoughBothAreWrittenAlike)
{
    const TrustTable trusts = Trusts({{"b.four.test", "x.two.test"}, {"x.two.test", "a.one.test"}});
    // The capitalised spelling names no realm of the table: no route for it.
    EXPECT_EQ(Capaths(trusts, {"a.one.test"}, {"B.FOUR.TEST", "b.four.test"}),
              "[capaths]\nA.ONE.TEST = {\n    B.FOUR.TEST = X.TWO.TEST\n}\n\n");
}

TEST(Capaths, AServerListedTwiceGetsTwoSubsectionsAlike)
{
    const TrustTable trusts = Trusts({{"b.four.test", "x.two.test"}, {"x.two.test", "a.one.test"}});
    const std::string subsection = "A.ONE.TEST = {\n    B.FOUR.TEST = X.TWO.TEST\n}\n";
    EXPECT_EQ(Capaths(trusts, {"a.one.test", "a.one.test"}, {"b.four.test"}), "[capaths]\n" + subsection + subsection + "\n");
}

TEST(Capaths, NothingWhenNoRouteNeedsAnEntry)
{
    const TrustTable trusts = Trusts({{"a.one.test", "b.four.test"}, {"b.four.test", "a.one.test"}});
    EXPECT_EQ(Capaths(trusts, {"a.one.test"}, {"b.four.test"}), "");
    EXPECT_EQ(Capaths(trusts, {}, {}), "");
    EXPECT_EQ(Capaths(TrustTable{}, {"lone.test"}, {"other.test"}), "");
}
