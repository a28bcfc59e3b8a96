// Locating the machine's domain, looking up KDCs, and the breadth-first walk over trusts.
#ifndef QUILLMERE_TRUST_WALK_H
#define QUILLMERE_TRUST_WALK_H

#include "directory_platform.h"
#include "realm_directory.h"

#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

// Raised when the machine is in no domain; only the discovery run catches it.
struct DiscoveryFailure {
    unsigned code;
};

// The pieces of the walk's warnings. A domain's name follows each text that ends in "domain ";
// a reason is kReasonText + SystemErrorText(status); the unusable record's warning ends in ".".
inline constexpr char kCantLocateDomainText[] = "Can't locate the domain of this computer";
inline constexpr char kNoDomainControllerText[] = "No domain controller of domain ";
inline constexpr char kAnsweredText[] = " answered";
inline constexpr char kCantGetKdcForDomainText[] = "Can't get KDC for domain ";
inline constexpr char kCantGetTrustInfoForDomainText[] = "Can't get trust info for domain ";
inline constexpr char kUnusableTrustRecordForDomainText[] =
    "Skipped a trust record with an unusable domain name for domain ";
inline constexpr char kReasonText[] = ". Reason: ";

// Fills domain and site (both supplied empty) from the domain controller location. Raises
// DiscoveryFailure{1} when the machine is in no domain (status 1355); a computer that is yet a
// member of a domain (asked of getPrimaryDomain) first gets the kNoDomainControllerText warning
// naming it, with the reason 1355. Any other failure, or a domain name that is absent or
// unusable (see name_check.h), logs one kCantLocateDomainText warning with its reason and leaves
// both strings empty: an empty domain after the call always means that the location failed and
// has been reported. The domain is taken as UsableName gives it (no trailing dot). The site
// stays empty when there is no client site.
void LocateMachineDomain(const DirectoryPlatform& platform, std::string& domain, std::string& site);
// Queries the site's KDC records of the domain when there is a site, and the domain-wide ones
// when there is none or the site query answered 9003 or 9501; appends the usable SRV targets of
// the final answer in answer order, without a trailing dot ("." and unusable names are dropped),
// or logs a kCantGetKdcForDomainText warning with the final status and leaves hosts unchanged.
void LookupKdcs(const DirectoryPlatform& platform, const std::string& domain, const std::string& site,
                std::vector<std::string>& hosts);

// The breadth-first walk over trusts from the machine's domain, adding to both tables. Domain
// names are one domain in any ASCII letter case: the first spelling met (a realm the caller
// entered in kdcTable, the machine's domain, or a trust record's) is used for everything after.
// A realm already in kdcTable is not looked up again. A record is followed when it is in the
// forest or its trust attributes have the forest-transitive bit. A queued domain without KDCs is
// enumerated through the local computer (no server) when it is the machine's own, and otherwise
// skipped with a kCantGetTrustInfoForDomainText warning, reason 1311. Trust records whose
// domain name is unusable are skipped with one kUnusableTrustRecordForDomainText warning each.
// Nothing is looked up when the machine's domain could not be located. Raises DiscoveryFailure
// as LocateMachineDomain does.
void WalkTrusts(const DirectoryPlatform& platform, KdcTable& kdcTable, TrustTable& trustTable);

// The same walk in steps, for a caller that runs each step again until its calls are answered:
// BeginTrustWalk, then WalkTrustLevel while the queue holds domains. The steps log nothing; their
// warnings collect in the state. WalkTrusts is exactly these steps with the warnings logged.
struct TrustWalkState {
    std::string machineDomain;  // empty when the location failed: nothing is walked
    std::string site;
    std::map<std::string, std::string> firstSpellings;  // folded name -> the spelling used throughout
    std::deque<std::string> queue;                      // domains to expand, each queued once
    std::set<std::string> queued;                       // folded: queued at some time, visited or waiting
    std::set<std::string> visited;                      // folded: expanded or passed over
    std::vector<std::string> warnings;                  // not yet logged, in order
};

// Locates the machine's domain and looks up its KDCs. False when the machine is in no domain.
bool BeginTrustWalk(const DirectoryPlatform& platform, KdcTable& kdcTable, TrustWalkState& state);
// Expands the domains queued when it is called, in queue order: one level of the walk.
void WalkTrustLevel(const DirectoryPlatform& platform, KdcTable& kdcTable, TrustTable& trustTable,
                    TrustWalkState& state);
// Logs the collected warnings and forgets them.
void LogWalkWarnings(TrustWalkState& state);

#endif
