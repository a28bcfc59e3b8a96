// Breadth-first searches over the trust table and the capaths relations built from them.
#include "cross_realm_paths.h"

#include <utility>

std::string ToUpperCopy(const std::string& text)
{
    std::string upper = text;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

std::string LastTwoLabels(const std::string& name)
{
    const std::size_t last = name.rfind('.');
    if (last == std::string::npos || last == 0)
        return name;
    const std::size_t previous = name.rfind('.', last - 1);
    if (previous == std::string::npos)
        return name;
    return name.substr(previous + 1);
}

namespace {

bool NeedsNoPath(const TrustTable& trusts, const std::string& source, const std::string& target)
{
    if (source == target)
        return true;
    auto range = trusts.equal_range(source);
    for (auto it = range.first; it != range.second; ++it)
        if (it->second == target)
            return true;
    return LastTwoLabels(source) == LastTwoLabels(target);
}

// From the realm whose trust reached the target back to the realm next to the source.
void AppendChain(const std::map<std::string, std::string>& predecessor, const std::string& source,
                 std::string realm, std::vector<std::string>& path)
{
    while (realm != source) {
        path.push_back(realm);
        realm = predecessor.at(realm);
    }
}

}  // namespace

void FindTrustPath(const TrustTable& trusts, const std::string& source, const std::string& target,
                   std::vector<std::string>& path)
{
    if (NeedsNoPath(trusts, source, target))
        return;
    std::map<std::string, std::string> predecessor{{source, std::string()}};
    std::vector<std::string> frontier{source};
    while (!frontier.empty()) {
        std::vector<std::string> next;
        for (const std::string& realm : frontier) {
            auto range = trusts.equal_range(realm);
            for (auto it = range.first; it != range.second; ++it) {
                // The target is tested before "already reached", so a chain ending in it is
                // taken even when the target was itself reached earlier.
                if (it->second == target) {
                    AppendChain(predecessor, source, realm, path);
                    return;
                }
                if (predecessor.emplace(it->second, realm).second)
                    next.push_back(it->second);
            }
        }
        frontier = std::move(next);
    }
}

TrustSearch SearchTrustsFrom(const TrustTable& trusts, const std::string& start)
{
    TrustSearch search{start, {{start, std::string()}}};
    std::vector<std::string> frontier{start};
    while (!frontier.empty()) {
        std::vector<std::string> next;
        for (const std::string& realm : frontier) {
            auto range = trusts.equal_range(realm);
            for (auto it = range.first; it != range.second; ++it)
                if (search.predecessor.emplace(it->second, realm).second)
                    next.push_back(it->second);
        }
        frontier = std::move(next);
    }
    return search;
}

void TrustPathFromSearch(const TrustSearch& search, const std::string& target, std::vector<std::string>& path)
{
    // The first entry that reaches a realm is the one that gave it its predecessor, which
    // is where FindTrustPath would have stopped; the start itself needs no path.
    if (target == search.start || LastTwoLabels(search.start) == LastTwoLabels(target))
        return;
    auto found = search.predecessor.find(target);
    if (found == search.predecessor.end())
        return;
    AppendChain(search.predecessor, search.start, found->second, path);
}

void CollectCapathRelations(const TrustTable& trusts, TrustSearches& searches, const std::string& source,
                            const std::vector<std::string>& targets, std::set<std::string>& done,
                            std::vector<Relation>& relations)
{
    for (const std::string& target : targets) {
        if (!done.insert(target).second)
            continue;
        // The search runs from the target: a trust (P, Q) lets Q's users reach P, so the
        // chain target -> ... -> source is the source's users' way to the target.
        auto search = searches.find(target);
        if (search == searches.end())
            search = searches.emplace(target, SearchTrustsFrom(trusts, target)).first;
        std::vector<std::string> path;
        TrustPathFromSearch(search->second, source, path);
        const std::string tag = ToUpperCopy(target);
        for (const std::string& realm : path)
            relations.push_back({tag, ToUpperCopy(realm)});
    }
}
