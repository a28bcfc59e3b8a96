// The per-pair search for cross-realm paths: the plain reference that the searches of a whole
// generation are held against.
#ifndef QUILLMERE_TESTS_TRUST_PATH_REFERENCE_H
#define QUILLMERE_TESTS_TRUST_PATH_REFERENCE_H

#include "realm_directory.h"

#include <string>
#include <vector>

// The realms between the client realm and the service realm that a Kerberos client passes
// through when capaths lists none: up to the longest label suffix the two names share, then
// down, in the upper case of the configuration text; both ends left out.
std::vector<std::string> HierarchicalWalk(const std::string& client, const std::string& service);

// Appends the intermediate realms of the shortest trust chain source -> ... -> target,
// the one next to the target first. Nothing for the same realm, a direct trust, or two
// realms of the same DNS tree (equal last two labels) whose chain is the client's walk
// from the target up and down to the source (HierarchicalWalk(target, source)).
void FindTrustPath(const TrustTable& trusts, const std::string& source, const std::string& target,
                   std::vector<std::string>& path);

#endif
