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

// Fills domain and site (both supplied empty) from the domain controller location. Raises
// DiscoveryFailure{1} when the machine is in no domain (status 1355). Any other failure, or a
// domain name that is absent or unusable (see name_check.h), logs one warning "Can't locate the
// domain of this computer. Reason: ..." and leaves both strings empty: an empty domain after the
// call always means that the location failed and has been reported. The site stays empty when
// there is no client site.
void LocateMachineDomain(const DirectoryPlatform& platform, std::string& domain, std::string& site);
// Queries "_kerberos._tcp." + site + "._sites." + domain when there is a site, and
// "_kerberos._tcp." + domain when there is none or the site query answered 9003; appends the
// usable SRV targets of the final answer in answer order ("." and unusable names are dropped), or
// logs "Can't get KDC for domain " + domain + ". Reason: " + SystemErrorText(status) and leaves
// hosts unchanged.
void LookupKdcs(const DirectoryPlatform& platform, const std::string& domain, const std::string& site,
                std::vector<std::string>& hosts);
// The breadth-first walk over trusts from the machine's domain, adding to both tables. A realm
// already in kdcTable is not looked up again. A queued domain without KDCs is enumerated through
// the local computer (no server) when it is the machine's own, and otherwise skipped with the
// warning "Can't get trust info for domain " + domain + ". Reason: " + SystemErrorText(1311).
// Trust records whose domain name is unusable are skipped with one warning each. Nothing is
// looked up when the machine's domain could not be located.
void WalkTrusts(const DirectoryPlatform& platform, KdcTable& kdcTable, TrustTable& trustTable);

#endif
