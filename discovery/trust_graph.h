// The trust table with its realms numbered, searched once per target realm of a generation.
#ifndef QUILLMERE_TRUST_GRAPH_H
#define QUILLMERE_TRUST_GRAPH_H

#include "realm_directory.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr std::uint32_t kNoRealm = 0xFFFFFFFFu;

struct TrustGraph {
    std::vector<std::string> realms;  // by number, in name order
    // The realms that realm r trusts are trusted[firstTrusted[r]] up to trusted[firstTrusted[r + 1]],
    // in the order of the table's entries.
    std::vector<std::uint32_t> firstTrusted;
    std::vector<std::uint32_t> trusted;
    // By realm: its last two labels, numbered; and its label suffixes without regard to case (the
    // whole name first), numbered, for comparing chains with the client's hierarchical walk.
    std::vector<std::uint32_t> tree;
    std::vector<std::vector<std::uint32_t>> foldedSuffixes;
};

// Every realm of the table, and the further names given, numbered.
TrustGraph MakeTrustGraph(const TrustTable& trusts, const std::vector<std::string>& moreRealms);

// Turns every entry round, from trusted to trusting realm: a search from a client realm then
// reaches the realms whose services its users can reach. Each realm's entries come in the order of
// the realms that had them.
void ReverseTrusts(TrustGraph& graph);

// kNoRealm for a name the graph does not hold.
std::uint32_t RealmNumber(const TrustGraph& graph, const std::string& realm);

// Breadth-first from `start` along the entries, from trusting to trusted realm: each realm
// reached maps to the realm whose entry reached it first, the start to itself, every other realm
// to kNoRealm. Realms are visited level by level, each realm's entries in the table's order, so
// of two shortest chains the one found first wins. `queue` is working space.
void SearchTrusts(const TrustGraph& graph, std::uint32_t start, std::vector<std::uint32_t>& predecessor,
                  std::vector<std::uint32_t>& queue);

// A search's answer, held alone or as one column of many: realm r's predecessor is at[r * stride].
struct Predecessors {
    const std::uint32_t* at;
    std::size_t stride;
};

// Replaces `chain` with the realms capaths lists for the way of the client's users to the service,
// from a search started at the service, the one next to the client first. Nothing for the same
// realm, a direct trust, no chain at all, or two realms of one DNS tree (equal last two labels)
// whose chain is the walk a client makes without capaths: up to the longest common label suffix,
// then down.
void CapathChain(const TrustGraph& graph, Predecessors fromService, std::uint32_t client, std::uint32_t service,
                 std::vector<std::uint32_t>& chain);

#endif
