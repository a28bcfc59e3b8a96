// Numbering the trust table, the searches over it and the chains they give.
#include "trust_graph.h"

#include "name_check.h"
#include "realm_name_labels.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

namespace {

// Names numbered in the order they are first asked for.
std::uint32_t Intern(std::unordered_map<std::string, std::uint32_t>& numbers, const std::string& name)
{
    return numbers.emplace(name, static_cast<std::uint32_t>(numbers.size())).first->second;
}

// The chain is the client's own walk up to the common suffix of the two names and down again.
bool IsHierarchicalWalk(const TrustGraph& graph, std::uint32_t client, std::uint32_t service,
                        const std::vector<std::uint32_t>& chain)
{
    if (graph.tree[client] != graph.tree[service])
        return false;
    const std::vector<std::uint32_t>& up = graph.foldedSuffixes[client];
    const std::vector<std::uint32_t>& down = graph.foldedSuffixes[service];
    std::size_t common = 0;
    while (common < up.size() && common < down.size() && up[up.size() - 1 - common] == down[down.size() - 1 - common])
        ++common;
    // The walk: up[0 .. upLast], then down[downFirst .. 0]; its two ends are client and service.
    const std::size_t upLast = up.size() - std::max<std::size_t>(common, 1);
    const std::size_t downCount = down.size() - common;
    const std::size_t length = upLast + 1 + downCount;
    if ((length < 2 ? 0 : length - 2) != chain.size())
        return false;
    for (std::size_t k = 1; k + 1 < length; ++k) {
        const std::uint32_t walked = k <= upLast ? up[k] : down[downCount - 1 - (k - upLast - 1)];
        if (walked != graph.foldedSuffixes[chain[k - 1]].front())
            return false;
    }
    return true;
}

}  // namespace

TrustGraph MakeTrustGraph(const TrustTable& trusts, const std::vector<std::string>& moreRealms)
{
    TrustGraph graph;
    for (const auto& entry : trusts) {
        graph.realms.push_back(entry.first);
        graph.realms.push_back(entry.second);
    }
    graph.realms.insert(graph.realms.end(), moreRealms.begin(), moreRealms.end());
    std::sort(graph.realms.begin(), graph.realms.end());
    graph.realms.erase(std::unique(graph.realms.begin(), graph.realms.end()), graph.realms.end());

    // The table is ordered by trusting realm, so each realm's entries come together and in order.
    graph.firstTrusted.assign(graph.realms.size() + 1, 0);
    for (const auto& entry : trusts)
        ++graph.firstTrusted[RealmNumber(graph, entry.first) + 1];
    for (std::size_t realm = 0; realm < graph.realms.size(); ++realm)
        graph.firstTrusted[realm + 1] += graph.firstTrusted[realm];
    graph.trusted.reserve(trusts.size());
    for (const auto& entry : trusts)
        graph.trusted.push_back(RealmNumber(graph, entry.second));

    std::unordered_map<std::string, std::uint32_t> trees;
    std::unordered_map<std::string, std::uint32_t> suffixes;
    for (const std::string& realm : graph.realms) {
        graph.tree.push_back(Intern(trees, LastTwoLabels(realm)));
        std::vector<std::uint32_t> numbered;
        // Folded, as DNS compares names: "Corp.test" lies in the tree of "corp.test".
        for (const std::string& suffix : LabelSuffixes(FoldedDomainName(realm)))
            numbered.push_back(Intern(suffixes, suffix));
        graph.foldedSuffixes.push_back(std::move(numbered));
    }
    return graph;
}

void ReverseTrusts(TrustGraph& graph)
{
    const std::size_t count = graph.realms.size();
    std::vector<std::uint32_t> first(count + 1, 0);
    for (const std::uint32_t realm : graph.trusted)
        ++first[realm + 1];
    for (std::size_t realm = 0; realm < count; ++realm)
        first[realm + 1] += first[realm];
    std::vector<std::uint32_t> reversed(graph.trusted.size());
    std::vector<std::uint32_t> next(first.begin(), first.end() - 1);
    for (std::uint32_t realm = 0; realm < count; ++realm)
        for (std::uint32_t entry = graph.firstTrusted[realm]; entry < graph.firstTrusted[realm + 1]; ++entry)
            reversed[next[graph.trusted[entry]]++] = realm;
    graph.firstTrusted = std::move(first);
    graph.trusted = std::move(reversed);
}

std::uint32_t RealmNumber(const TrustGraph& graph, const std::string& realm)
{
    const auto found = std::lower_bound(graph.realms.begin(), graph.realms.end(), realm);
    if (found == graph.realms.end() || *found != realm)
        return kNoRealm;
    return static_cast<std::uint32_t>(found - graph.realms.begin());
}

void SearchTrusts(const TrustGraph& graph, std::uint32_t start, std::vector<std::uint32_t>& predecessor,
                  std::vector<std::uint32_t>& queue)
{
    predecessor.assign(graph.realms.size(), kNoRealm);
    predecessor[start] = start;
    // One queue visits the levels in order, each level in the order its realms were reached.
    queue.assign(1, start);
    for (std::size_t next = 0; next < queue.size(); ++next) {
        const std::uint32_t realm = queue[next];
        for (std::uint32_t entry = graph.firstTrusted[realm]; entry < graph.firstTrusted[realm + 1]; ++entry) {
            const std::uint32_t reached = graph.trusted[entry];
            if (predecessor[reached] == kNoRealm) {
                predecessor[reached] = realm;
                queue.push_back(reached);
            }
        }
    }
}

void CapathChain(const TrustGraph& graph, Predecessors fromService, std::uint32_t client, std::uint32_t service,
                 std::vector<std::uint32_t>& chain)
{
    chain.clear();
    const auto predecessor = [&](std::uint32_t realm) { return fromService.at[realm * fromService.stride]; };
    if (client == service || predecessor(client) == kNoRealm)
        return;
    for (std::uint32_t realm = predecessor(client); realm != service; realm = predecessor(realm))
        chain.push_back(realm);
    if (IsHierarchicalWalk(graph, client, service, chain))
        chain.clear();
}
