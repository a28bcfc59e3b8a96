// Cross-realm paths: the intermediate realms that [capaths] lists between two realms.
#ifndef QUILLMERE_CROSS_REALM_PATHS_H
#define QUILLMERE_CROSS_REALM_PATHS_H

#include "config_text_writer.h"
#include "realm_directory.h"

#include <map>
#include <set>
#include <string>
#include <vector>

// Upper-cases "a" to "z" only; every other byte, those above 127 included, is kept.
std::string ToUpperCopy(const std::string& text);

// The text after the second-to-last dot; a name with fewer than two dots, whole.
std::string LastTwoLabels(const std::string& name);

// The realms between the client realm and the service realm that a Kerberos client passes
// through when capaths lists none: up to the longest label suffix the two names share, then
// down, in the upper case of the configuration text; both ends left out.
std::vector<std::string> HierarchicalWalk(const std::string& client, const std::string& service);

// Appends the intermediate realms of the shortest trust chain source -> ... -> target,
// the one next to the target first. Nothing for the same realm, a direct trust, or two
// realms of the same DNS tree (equal last two labels) whose chain is the client's walk
// from the target down to the source (HierarchicalWalk(target, source)).
void FindTrustPath(const TrustTable& trusts, const std::string& source, const std::string& target,
                   std::vector<std::string>& path);

// One search from `start` over every realm it reaches, each mapped to the realm it was
// first reached from (the start to ""). Same visiting order as FindTrustPath.
struct TrustSearch {
    std::string start;
    std::map<std::string, std::string> predecessor;
};

TrustSearch SearchTrustsFrom(const TrustTable& trusts, const std::string& start);

// Exactly what FindTrustPath(search.start, target) appends.
void TrustPathFromSearch(const TrustSearch& search, const std::string& target, std::vector<std::string>& path);

// Searches already made, by start realm, kept for one generation run.
using TrustSearches = std::map<std::string, TrustSearch>;

// For each target not yet in `done`: marks it done and appends (TARGET, INTERMEDIATE) for
// each realm on the route by which the source's users reach the target's services, the
// one next to the source first, as Kerberos clients read [capaths].
void CollectCapathRelations(const TrustTable& trusts, TrustSearches& searches, const std::string& source,
                            const std::vector<std::string>& targets, std::set<std::string>& done,
                            std::vector<Relation>& relations);

#endif
