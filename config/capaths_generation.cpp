// [capaths] in MIT's layout, one trust search per target realm, or in Heimdal's, one search per
// subsection. Written subsection by subsection: the memory follows the routes that need an entry,
// not the number of realm pairs; the time does not, as every pair's route is still looked at.
#include "capaths_generation.h"

#include "trust_graph.h"
#include "upper_case.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>
#include <set>
#include <utility>

namespace {

using Numbers = std::vector<std::uint32_t>;
using Relations = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

// A subsection's realm and the lists whose realms are its targets, in order.
struct Source {
    std::uint32_t realm;
    const Numbers* firstTargets;
    const Numbers* moreTargets;  // may be null
};

Numbers Numbered(const TrustGraph& graph, const std::vector<std::string>& realms)
{
    Numbers numbers;
    for (const std::string& realm : realms)
        numbers.push_back(RealmNumber(graph, realm));
    return numbers;
}

// Servers first, each with the clients then the servers; then the clients not yet handled.
std::vector<Source> SourcesInOrder(const Numbers& servers, const Numbers& clients)
{
    std::vector<Source> sources;
    std::set<std::uint32_t> handled;
    for (const std::uint32_t server : servers) {
        handled.insert(server);
        sources.push_back({server, &clients, &servers});
    }
    for (const std::uint32_t client : clients)
        if (handled.insert(client).second)
            sources.push_back({client, &servers, nullptr});
    return sources;
}

// The targets that some source needs a listed route to. Each search is dropped as soon as it is
// known, so that a tree whose routes are all the clients' own walks holds one search at a time.
Numbers TargetsWithEntries(const TrustGraph& graph, const std::vector<Source>& sources, const Numbers& servers,
                           const Numbers& clients)
{
    std::vector<bool> isServer(graph.realms.size());
    for (const std::uint32_t server : servers)
        isServer[server] = true;
    std::set<std::uint32_t> targets(clients.begin(), clients.end());
    targets.insert(servers.begin(), servers.end());
    std::set<std::uint32_t> serverSources;
    std::set<std::uint32_t> clientSources;
    for (const Source& source : sources)
        (source.moreTargets != nullptr ? serverSources : clientSources).insert(source.realm);

    Numbers predecessor;
    Numbers queue;
    Numbers chain;
    const auto needsEntry = [&](std::uint32_t source, std::uint32_t target) {
        CapathChain(graph, {predecessor.data(), 1}, source, target, chain);
        return !chain.empty();
    };
    Numbers needed;
    for (const std::uint32_t target : targets) {
        SearchTrusts(graph, target, predecessor, queue);
        bool found = false;
        // Every server lists every target; the other clients list the servers.
        for (auto it = serverSources.begin(); !found && it != serverSources.end(); ++it)
            found = needsEntry(*it, target);
        for (auto it = clientSources.begin(); !found && isServer[target] && it != clientSources.end(); ++it)
            found = needsEntry(*it, target);
        if (found)
            needed.push_back(target);
    }
    return needed;
}

// The searches from those targets, one column each of a realm-major table: a subsection walks
// its own row across all targets, and the few realms its routes pass through stay in the cache.
struct SearchTable {
    Numbers column;         // by target realm; kNoRealm: no search kept
    std::size_t width = 0;  // columns
    Numbers cells;          // cells[realm * width + column]
};

// The first pass's searches are not kept for this: its table's width is known only once that
// pass has ended, and holding them meanwhile would need the table's memory twice over.
SearchTable SearchesFrom(const TrustGraph& graph, const Numbers& targets)
{
    SearchTable table;
    table.column.assign(graph.realms.size(), kNoRealm);
    table.width = targets.size();
    // A 32-bit size_t can wrap here; the table it would give is out of reach anyway.
    if (table.width != 0 && graph.realms.size() > std::numeric_limits<std::size_t>::max() / table.width)
        throw std::bad_alloc();
    table.cells.resize(graph.realms.size() * table.width);
    // Searches go in a few columns at a time, so that filling writes whole cache lines.
    constexpr std::size_t kBatch = 16;
    std::vector<Numbers> batch(kBatch);
    Numbers queue;
    for (std::size_t first = 0; first < targets.size(); first += kBatch) {
        const std::size_t count = std::min(kBatch, targets.size() - first);
        for (std::size_t j = 0; j < count; ++j) {
            table.column[targets[first + j]] = static_cast<std::uint32_t>(first + j);
            SearchTrusts(graph, targets[first + j], batch[j], queue);
        }
        for (std::size_t realm = 0; realm < graph.realms.size(); ++realm)
            for (std::size_t j = 0; j < count; ++j)
                table.cells[realm * table.width + first + j] = batch[j][realm];
    }
    return table;
}

// takenBy[t] == subsection: target t is taken already by the subsection of that number. Returns
// how many of the routes have two or more realms in between.
std::size_t AppendMitRelations(const TrustGraph& graph, const SearchTable& searches, std::uint32_t source,
                               const Numbers& targets, std::uint32_t subsection, Numbers& takenBy, Numbers& chain,
                               Relations& relations)
{
    std::size_t longRoutes = 0;
    for (const std::uint32_t target : targets) {
        if (takenBy[target] == subsection)
            continue;
        takenBy[target] = subsection;
        const std::uint32_t column = searches.column[target];
        if (column == kNoRealm)
            continue;
        CapathChain(graph, {searches.cells.data() + column, searches.width}, source, target, chain);
        for (const std::uint32_t realm : chain)
            relations.emplace_back(target, realm);
        longRoutes += chain.size() >= 2 ? 1 : 0;
    }
    return longRoutes;
}

// Heimdal takes a target's first value as the realm that issues its ticket-granting ticket, and
// looks up the hop before that one under the same client again: each realm's hop before it is
// written once, from one search over `reversed` from the source, so that all routes agree.
// fromSource[r]: the realm before r on the way from the source. tagged[r] == subsection: r is
// written already.
void AppendHeimdalRelations(const TrustGraph& reversed, const Numbers& fromSource, std::uint32_t source,
                            const Numbers& targets, std::uint32_t subsection, Numbers& takenBy, Numbers& tagged,
                            Numbers& chain, Relations& relations)
{
    for (const std::uint32_t target : targets) {
        if (takenBy[target] == subsection)
            continue;
        takenBy[target] = subsection;
        // Searched from the source, the chain runs from the target's side: Hk first, H1 last.
        CapathChain(reversed, {fromSource.data(), 1}, target, source, chain);
        std::uint32_t tag = target;
        for (const std::uint32_t realm : chain) {
            if (tagged[tag] != subsection)
                relations.emplace_back(tag, realm);
            tagged[tag] = subsection;
            tag = realm;
        }
    }
}

}  // namespace

std::size_t WriteCapaths(const ConfigTextWriter& writer, const TrustTable& trusts,
                         const std::vector<std::string>& servers, const std::vector<std::string>& clients,
                         CapathsLayout layout)
{
    std::vector<std::string> selected = servers;
    selected.insert(selected.end(), clients.begin(), clients.end());
    TrustGraph graph = MakeTrustGraph(trusts, selected);
    const Numbers serverNumbers = Numbered(graph, servers);
    const Numbers clientNumbers = Numbered(graph, clients);
    const std::vector<Source> sources = SourcesInOrder(serverNumbers, clientNumbers);
    const bool heimdal = layout == CapathsLayout::kHeimdal;
    SearchTable searches;
    if (heimdal)
        ReverseTrusts(graph);
    else
        searches = SearchesFrom(graph, TargetsWithEntries(graph, sources, serverNumbers, clientNumbers));

    std::vector<std::string> upper;
    for (const std::string& realm : graph.realms)
        upper.push_back(ToUpperCopy(realm));
    // Each subsection marks the targets it has taken with its number, itself first; a server
    // listed twice gets two subsections alike.
    Numbers takenBy(graph.realms.size(), kNoRealm);
    Numbers tagged(heimdal ? graph.realms.size() : 0, kNoRealm);
    Numbers fromSource;
    Numbers queue;
    Numbers chain;
    Relations relations;
    std::size_t longRoutes = 0;
    bool started = false;
    for (std::size_t index = 0; index < sources.size(); ++index) {
        const Source& source = sources[index];
        const auto subsection = static_cast<std::uint32_t>(index);
        relations.clear();
        takenBy[source.realm] = subsection;
        if (heimdal)
            SearchTrusts(graph, source.realm, fromSource, queue);
        for (const Numbers* targets : {source.firstTargets, source.moreTargets}) {
            if (targets == nullptr)
                continue;
            if (heimdal)
                AppendHeimdalRelations(graph, fromSource, source.realm, *targets, subsection, takenBy, tagged, chain,
                                       relations);
            else
                longRoutes += AppendMitRelations(graph, searches, source.realm, *targets, subsection, takenBy, chain,
                                                 relations);
        }
        if (relations.empty())
            continue;
        if (!started)
            writer.WriteSectionHeader("capaths");
        started = true;
        if (writer.WriteSubsectionOpening(upper[source.realm])) {
            for (const auto& relation : relations)
                writer.WriteNestedRelation(upper[relation.first], upper[relation.second]);
            writer.WriteSubsectionClosing();
        }
    }
    if (started)
        writer.WriteSectionEnd();
    return longRoutes;
}
