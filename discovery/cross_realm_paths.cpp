// Breadth-first searches over the trust table and the capaths relations built from them.
#include "cross_realm_paths.h"

#include <algorithm>
#include <utility>

std::string ToUpperCopy(const std::string& text)
{
    std::string upper = text;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

namespace {

std::vector<std::string> Labels(const std::string& name)
{
    std::vector<std::string> labels;
    std::size_t start = 0;
    for (std::size_t dot = name.find('.'); dot != std::string::npos; dot = name.find('.', start)) {
        labels.push_back(name.substr(start, dot - start));
        start = dot + 1;
    }
    labels.push_back(name.substr(start));
    return labels;
}

// The name made of the labels from `first` on.
std::string Joined(const std::vector<std::string>& labels, std::size_t first)
{
    std::string name;
    for (std::size_t i = first; i < labels.size(); ++i)
        name += (i == first ? "" : ".") + labels[i];
    return name;
}

}  // namespace

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

std::vector<std::string> HierarchicalWalk(const std::string& client, const std::string& service)
{
    const std::vector<std::string> clientLabels = Labels(ToUpperCopy(client));
    const std::vector<std::string> serviceLabels = Labels(ToUpperCopy(service));
    std::size_t common = 0;
    while (common < clientLabels.size() && common < serviceLabels.size() &&
           clientLabels[clientLabels.size() - 1 - common] == serviceLabels[serviceLabels.size() - 1 - common])
        ++common;
    // Up from the client to the common suffix, then down to the service realm. Names without
    // a common label pass through every suffix of both, top-level labels included.
    std::vector<std::string> realms;
    for (std::size_t first = 0; first + std::max<std::size_t>(common, 1) <= clientLabels.size(); ++first)
        realms.push_back(Joined(clientLabels, first));
    for (std::size_t first = serviceLabels.size() - common; first-- > 0;)
        realms.push_back(Joined(serviceLabels, first));
    if (realms.size() <= 2)
        return {};
    return std::vector<std::string>(realms.begin() + 1, realms.end() - 1);
}

namespace {

bool TrustsDirectly(const TrustTable& trusts, const std::string& trusting, const std::string& trusted)
{
    auto range = trusts.equal_range(trusting);
    for (auto it = range.first; it != range.second; ++it)
        if (it->second == trusted)
            return true;
    return false;
}

// Two realms of one DNS tree need no capaths entry when the chain found is the very walk the
// client makes without one; a resource forest under the company's suffix, or two realms under
// a public suffix such as co.uk, share the last two labels but not that walk.
bool ClientWalksThePath(const std::string& client, const std::string& service, const std::vector<std::string>& path)
{
    if (LastTwoLabels(client) != LastTwoLabels(service))
        return false;
    const std::vector<std::string> walk = HierarchicalWalk(client, service);
    if (walk.size() != path.size())
        return false;
    for (std::size_t i = 0; i < walk.size(); ++i)
        if (walk[i] != ToUpperCopy(path[i]))
            return false;
    return true;
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
    if (source == target || TrustsDirectly(trusts, source, target))
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
                    // The chain runs from the target's users to the source's services.
                    std::vector<std::string> chain;
                    AppendChain(predecessor, source, realm, chain);
                    if (!ClientWalksThePath(target, source, chain))
                        path.insert(path.end(), chain.begin(), chain.end());
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
    if (target == search.start)
        return;
    auto found = search.predecessor.find(target);
    if (found == search.predecessor.end())
        return;
    std::vector<std::string> chain;
    AppendChain(search.predecessor, search.start, found->second, chain);
    if (!ClientWalksThePath(target, search.start, chain))
        path.insert(path.end(), chain.begin(), chain.end());
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
