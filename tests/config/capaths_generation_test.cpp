// The [capaths] section: which targets each subsection lists, and how often.
#include "capaths_generation.h"

#include "trust_path_reference.h"
#include "upper_case.h"
#include "trust_entries.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <sstream>

namespace {

std::string Capaths(const TrustTable& trusts, const std::vector<std::string>& servers,
                    const std::vector<std::string>& clients, CapathsLayout layout = CapathsLayout::kMit)
{
    std::ostringstream out;
    WriteCapaths(ConfigTextWriter{out}, trusts, servers, clients, layout);
    return out.str();
}

// Each subsection's relations in order, by the subsection's realm; a repeated subsection is read once.
std::map<std::string, std::vector<std::pair<std::string, std::string>>> Subsections(const std::string& text)
{
    std::map<std::string, std::vector<std::pair<std::string, std::string>>> subsections;
    std::istringstream lines(text);
    std::string line;
    std::string name;
    bool repeated = false;
    while (std::getline(lines, line)) {
        const std::size_t equals = line.find(" = ");
        if (line.size() > 4 && line.compare(line.size() - 4, 4, " = {") == 0) {
            name = line.substr(0, line.size() - 4);
            repeated = subsections.count(name) != 0;
            subsections[name];
        } else if (equals != std::string::npos && !repeated) {
            subsections[name].emplace_back(line.substr(4, equals - 4), line.substr(equals + 3));
        }
    }
    return subsections;
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

// Heimdal reads a subsection's value for a realm as the hop before it, and looks that hop up again
// until a realm without an entry, which the subsection's realm must reach directly. Each tag once,
// every step a trust, and the routes as long as MIT's.
void CheckHeimdalLayout(const TrustTable& trusts, const std::vector<std::string>& servers,
                        const std::vector<std::string>& clients, int round, std::size_t& routes)
{
    // Two realms written alike are one name to every reader: such rounds say nothing here.
    std::set<std::string> names(servers.begin(), servers.end());
    names.insert(clients.begin(), clients.end());
    std::set<std::pair<std::string, std::string>> upperTrusts;
    for (const auto& entry : trusts) {
        names.insert({entry.first, entry.second});
        upperTrusts.emplace(ToUpperCopy(entry.first), ToUpperCopy(entry.second));
    }
    std::set<std::string> written;
    for (const std::string& name : names)
        if (!written.insert(ToUpperCopy(name)).second)
            return;
    const auto mit = Subsections(Capaths(trusts, servers, clients));
    for (const auto& subsection : Subsections(Capaths(trusts, servers, clients, CapathsLayout::kHeimdal))) {
        std::map<std::string, std::string> hopBefore;
        for (const auto& relation : subsection.second)
            ASSERT_TRUE(hopBefore.insert(relation).second) << "round " << round << ": " << relation.first;
        for (const auto& relation : subsection.second) {
            std::size_t length = 0;
            std::string realm = relation.first;
            for (auto hop = hopBefore.find(realm); hop != hopBefore.end(); hop = hopBefore.find(realm)) {
                ASSERT_TRUE(upperTrusts.count({realm, hop->second}) != 0 && ++length <= hopBefore.size())
                    << "round " << round << ": " << realm << " = " << hop->second;
                realm = hop->second;
            }
            EXPECT_TRUE(upperTrusts.count({realm, subsection.first}) != 0) << "round " << round << ": " << realm;
            const auto mitSubsection = mit.find(subsection.first);
            if (mitSubsection == mit.end())
                continue;
            std::size_t mitLength = 0;
            for (const auto& mitRelation : mitSubsection->second)
                mitLength += mitRelation.first == relation.first ? 1 : 0;
            if (mitLength != 0) {
                EXPECT_EQ(length, mitLength) << "round " << round << ": " << subsection.first << " " << relation.first;
                ++routes;
            }
        }
    }
}

// Random directories over names of a few trees, some of them parents of others, and random
// server and client lists with repeats and overlaps; Heimdal's layout of each, read as Heimdal does.
TEST(Capaths, MatchesThePerPairSearchOnRandomDirectoriesAndHeimdalFindsTheSameRoutes)
{
    const std::vector<std::string> names{"one.test", "a.one.test", "x.a.one.test", "b.one.test", "two.test",
                                         "c.two.test", "D.Two.Test", "d.two.test", "e.three.test", "f.three.test",
                                         "g.example.co.uk", "example.co.uk", "h.other.co.uk", "other.co.uk"};
    std::mt19937 random(20261209);
    std::uniform_int_distribution<std::size_t> pick(0, names.size() - 1);
    std::size_t withCapaths = 0;
    std::size_t heimdalRoutes = 0;
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
        CheckHeimdalLayout(trusts, servers, clients, round, heimdalRoutes);
    }
    // The comparison must have covered real sections, not only empty ones.
    EXPECT_GT(withCapaths, 150u);
    EXPECT_GT(heimdalRoutes, 150u);
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
