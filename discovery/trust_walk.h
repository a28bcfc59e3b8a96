// Locating the machine's domain, looking up KDCs, and the breadth-first walk over trusts.
#ifndef QUILLMERE_TRUST_WALK_H
#define QUILLMERE_TRUST_WALK_H

#include "directory_platform.h"
#include "realm_directory.h"

#include <string>
#include <vector>

// Raised when the machine is in no domain; only the discovery run catches it.
struct DiscoveryFailure {
    unsigned code;
};

void LocateMachineDomain(const DirectoryPlatform& platform, std::string& domain, std::string& site);
void LookupKdcs(const DirectoryPlatform& platform, const std::string& domain, const std::string& site,
                std::vector<std::string>& hosts);
void WalkTrusts(const DirectoryPlatform& platform, KdcTable& kdcTable, TrustTable& trustTable);

#endif
