// Locating the machine's domain, looking up KDCs, and the breadth-first walk over trusts.
#include "trust_walk.h"

#include "name_check.h"
#include "status_log.h"
#include "system_error_text.h"

#include <deque>
#include <map>
#include <set>

namespace {

constexpr std::uint32_t kStatusInvalidDomainName = 1212;  // ERROR_INVALID_DOMAINNAME
constexpr std::uint32_t kStatusNoLogonServers = 1311;     // ERROR_NO_LOGON_SERVERS

const char kCantLocateDomain[] = "Can't locate the domain of this computer. Reason: ";

void WarnNoTrustInfo(const std::string& domain, std::uint32_t status)
{
    LogWarning("Can't get trust info for domain " + domain + ". Reason: " + SystemErrorText(status));
}

bool IsDomainMember(std::uint32_t machineRole)
{
    return machineRole != kDsRoleStandaloneWorkstation && machineRole != kDsRoleStandaloneServer &&
           machineRole <= kDsRolePrimaryDomainController;
}

// DsGetDcNameA answers 1355 on a computer in no domain and on a member computer that reaches
// none of its domain controllers (a laptop off the network); the member is told which domain.
void WarnIfOwnDomainUnreachable(const DirectoryPlatform& platform)
{
    const PrimaryDomainAnswer membership = platform.getPrimaryDomain(platform.context);
    if (membership.status != 0 || !IsDomainMember(membership.machineRole) || !membership.domainNameDns)
        return;
    const std::optional<std::string> domain = UsableName(*membership.domainNameDns);
    if (domain)
        LogWarning("No domain controller of domain " + *domain + " answered. Reason: " +
                   SystemErrorText(kStatusNoSuchDomain));
}

// DNS names are one name in any letter case, and domain controllers don't agree on one spelling:
// the first spelling met of each domain, by its folded name, is the one the walk uses throughout.
using SpellingBook = std::map<std::string, std::string>;

// Looked up before anything is made: an enumeration lists every domain of its forest, so most
// names met are in the book already.
const std::string& Spelling(SpellingBook& book, const std::string& folded, const std::string& name)
{
    auto found = book.find(folded);
    if (found == book.end())
        found = book.emplace(folded, name).first;
    return found->second;
}

const std::string& Spelling(SpellingBook& book, const std::string& name)
{
    return Spelling(book, FoldedDomainName(name), name);
}

// Looks up a realm's KDCs and enters them, unless the realm is already in kdcTable: insert-if-absent
// would ignore the answer anyway, so the query is not made.
void LookUpRealm(const DirectoryPlatform& platform, KdcTable& kdcTable, const std::string& realm,
                 const std::string& site)
{
    if (kdcTable.find(realm) != kdcTable.end())
        return;
    std::vector<std::string> hosts;
    LookupKdcs(platform, realm, site, hosts);
    AddRealm(kdcTable, realm, hosts);
}

}  // namespace

void LocateMachineDomain(const DirectoryPlatform& platform, std::string& domain, std::string& site)
{
    const DcNameAnswer answer = platform.getDcName(platform.context);
    if (answer.status == kStatusNoSuchDomain) {
        WarnIfOwnDomainUnreachable(platform);
        throw DiscoveryFailure{1};
    }
    if (answer.status != 0) {
        LogWarning(kCantLocateDomain + SystemErrorText(answer.status));
        return;
    }
    const std::optional<std::string> usable = answer.domainName ? UsableName(*answer.domainName) : std::nullopt;
    if (!usable) {
        LogWarning(kCantLocateDomain + SystemErrorText(kStatusInvalidDomainName));
        return;
    }
    domain = *usable;
    if (answer.clientSiteName)
        site = *answer.clientSiteName;
}

void LookupKdcs(const DirectoryPlatform& platform, const std::string& domain, const std::string& site,
                std::vector<std::string>& hosts)
{
    DnsAnswer answer;
    bool domainWide = site.empty();
    if (!domainWide) {
        answer = platform.querySrv(platform.context, "_kerberos._tcp." + site + "._sites." + domain);
        // "No such name" and "no SRV records there" fall back; any other answer of the site query
        // (a time-out, a server failure) is final.
        domainWide = answer.status == kDnsNameError || answer.status == kDnsNoRecords;
    }
    if (domainWide)
        answer = platform.querySrv(platform.context, "_kerberos._tcp." + domain);
    if (answer.status != 0) {
        LogWarning("Can't get KDC for domain " + domain + ". Reason: " +
                   SystemErrorText(static_cast<std::uint32_t>(answer.status)));
        return;
    }
    for (const DnsRecordCopy& record : answer.records) {
        if (record.type != kDnsTypeSrv || !record.target)
            continue;
        // "." (RFC 2782): the service is decidedly not available there. An unusable name is dropped too.
        if (*record.target == ".")
            continue;
        const std::optional<std::string> host = UsableName(*record.target);
        if (host)
            hosts.push_back(*host);
    }
}

void WalkTrusts(const DirectoryPlatform& platform, KdcTable& kdcTable, TrustTable& trustTable)
{
    std::string located;
    std::string site;
    LocateMachineDomain(platform, located, site);  // raises the discovery failure
    if (located.empty())
        return;  // the domain could not be located; LocateMachineDomain has logged why
    SpellingBook spellings;
    for (const auto& entry : kdcTable)  // realms the caller entered are known already
        Spelling(spellings, entry.first);
    const std::string machineDomain = Spelling(spellings, located);
    LookUpRealm(platform, kdcTable, machineDomain, site);

    // A domain listed by several enumerations before it is expanded would stand in the queue once
    // for each, every copy after the first skipped as visited at the front. Queueing each domain
    // only once expands the same domains in the same order, without a queue that grows with the
    // square of a forest's size.
    // Both sets hold folded names.
    std::deque<std::string> queue{machineDomain};
    std::set<std::string> queued{FoldedDomainName(machineDomain)};  // queued at some time: visited or waiting
    std::set<std::string> visited;
    while (!queue.empty()) {
        const std::string current = queue.front();
        queue.pop_front();
        if (!visited.insert(FoldedDomainName(current)).second)
            continue;

        // The enumeration goes to the first KDC of the domain. Without one, the machine's
        // own domain asks the local computer, which answers from its domain's trust list; any other
        // domain is passed over with a warning.
        const std::string* server = nullptr;
        const auto entry = kdcTable.find(current);
        if (entry != kdcTable.end() && !entry->second.empty()) {
            server = &entry->second.front();
        } else if (current != machineDomain) {
            WarnNoTrustInfo(current, kStatusNoLogonServers);
            continue;
        }
        const TrustAnswer answer = platform.enumerateTrusts(platform.context, server, kTrustEnumerationFlags);
        if (answer.status != 0) {
            WarnNoTrustInfo(current, answer.status);
            continue;
        }

        for (const TrustRecordCopy& record : answer.records) {
            if (!record.dnsDomainName)
                continue;
            const std::optional<std::string> usable = UsableName(*record.dnsDomainName);
            if (!usable) {  // never recorded, never looked up
                LogWarning("Skipped a trust record with an unusable domain name for domain " + current + ".");
                continue;
            }
            const std::string folded = FoldedDomainName(*usable);
            if (visited.count(folded) != 0)
                continue;  // no lookup, no queueing, no trust entry
            const std::string listed = Spelling(spellings, folded, *usable);
            LookUpRealm(platform, kdcTable, listed, site);
            // A forest trust carries more bits than forest-transitive (selective authentication,
            // TGT delegation, treat as external): the bit decides, not the whole value.
            const bool followed = (record.flags & kDsDomainInForest) != 0 ||
                                  (record.trustAttributes & kTrustAttributeForestTransitive) != 0;
            if (!followed)
                continue;
            if (queued.insert(folded).second)
                queue.push_back(listed);
            if ((record.flags & kDsDomainDirectOutbound) != 0)
                AddTrust(trustTable, current, listed);
            if ((record.flags & kDsDomainDirectInbound) != 0)
                AddTrust(trustTable, listed, current);
        }
    }
}
