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
// DiscoveryFailure{1} when the machine is in no domain (status 1355); when the computer is yet a
// member of a domain (asked of getPrimaryDomain), it first logs "No domain controller of domain
// " + domain + " answered. Reason: " + SystemErrorText(1355). Any other failure, or a domain
// name that is absent or unusable (see name_check.h), logs one warning "Can't locate the domain
// of this computer. Reason: ..." and leaves both strings empty: an empty domain after the call
// always means that the location failed and has been reported. The domain is taken as
// UsableName gives it (no trailing dot). The site stays empty when there is no client site.
void LocateMachineDomain(const DirectoryPlatform& platform, std::string& domain, std::string& site);
// Queries "_kerberos._tcp." + site + "._sites." + domain when there is a site, and
// "_kerberos._tcp." + domain when there is none or the site query answered 9003 or 9501; appends
// the usable SRV targets of the final answer in answer order, without a trailing dot ("." and
// unusable names are dropped), or logs "Can't get KDC for domain " + domain + ". Reason: " +
// SystemErrorText(status) and leaves hosts unchanged.
void LookupKdcs(const DirectoryPlatform& platform, const std::string& domain, const std::string& site,
                std::vector<std::string>& hosts);
// The breadth-first walk over trusts from the machine's domain, adding to both tables. Domain
// names are one domain in any ASCII letter case: the first spelling met (a realm the caller
// entered in kdcTable, the machine's domain, or a trust record's) is used for everything after.
// A realm already in kdcTable is not looked up again. A record is followed when it is in the
// forest or its trust attributes have the forest-transitive bit. A queued domain without KDCs is
// enumerated through the local computer (no server) when it is the machine's own, and otherwise
// skipped with the warning "Can't get trust info for domain " + domain + ". Reason: " +
// SystemErrorText(1311). Trust records whose domain name is unusable are skipped with one
// warning each. Nothing is looked up when the machine's domain could not be located.
void WalkTrusts(const DirectoryPlatform& platform, KdcTable& kdcTable, TrustTable& trustTable);

#endif
