// Trust tables written as lists of (trusting, trusted) entries, for the tests of the paths.
#ifndef QUILLMERE_TESTS_TRUST_ENTRIES_H
#define QUILLMERE_TESTS_TRUST_ENTRIES_H

#include "realm_directory.h"

#include <string>
#include <utility>
#include <vector>

using Pairs = std::vector<std::pair<std::string, std::string>>;

inline TrustTable Trusts(const Pairs& entries)
{
    TrustTable trusts;
    for (const auto& entry : entries)
        AddTrust(trusts, entry.first, entry.second);
    return trusts;
}

// Two-way parent-child trusts within each forest, and a two-way forest trust between the roots.
inline TrustTable UserAndResourceForests(const std::string& users, const std::string& resources)
{
    TrustTable trusts;
    for (const auto& link : Pairs{{users, "a." + users}, {users, "c." + users}, {resources, "b." + resources},
                                  {users, resources}}) {
        AddTrust(trusts, link.first, link.second);
        AddTrust(trusts, link.second, link.first);
    }
    return trusts;
}

#endif
