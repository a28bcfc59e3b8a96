// Cross-realm paths: the intermediate realms that [capaths] lists between two realms.
#ifndef QUILLMERE_CROSS_REALM_PATHS_H
#define QUILLMERE_CROSS_REALM_PATHS_H

#include "realm_directory.h"

#include <string>
#include <vector>

// Upper-cases "a" to "z" only; every other byte, those above 127 included, is kept.
std::string ToUpperCopy(const std::string& text);

// The text after the second-to-last dot; a name with fewer than two dots, whole.
std::string LastTwoLabels(const std::string& name);

// The upper-case name from each of its labels on: the whole name first, its last label last.
std::vector<std::string> UpperLabelSuffixes(const std::string& name);

// The realms between the client realm and the service realm that a Kerberos client passes
// through when capaths lists none: up to the longest label suffix the two names share, then
// down, in the upper case of the configuration text; both ends left out.
std::vector<std::string> HierarchicalWalk(const std::string& client, const std::string& service);

// Appends the intermediate realms of the shortest trust chain source -> ... -> target,
// the one next to the target first. Nothing for the same realm, a direct trust, or two
// realms of the same DNS tree (equal last two labels) whose chain is the client's walk
// from the target up and down to the source (HierarchicalWalk(target, source)). One search
// per call: the reference for the searches that serve a whole generation (trust_graph.h).
void FindTrustPath(const TrustTable& trusts, const std::string& source, const std::string& target,
                   std::vector<std::string>& path);

#endif
