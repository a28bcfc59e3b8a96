// Locating the machine's domain, looking up KDCs, and the breadth-first walk over trusts.
#include "trust_walk.h"

#include "name_check.h"
#include "status_log.h"

#include <deque>
#include <set>

namespace {

constexpr std::uint32_t kStatusInvalidDomainName = 1212;  // ERROR_INVALID_DOMAINNAME
constexpr std::uint32_t kStatusNoLogonServers = 1311;     // ERROR_NO_LOGON_SERVERS

const char kCantLocateDomain[] = "Can't locate the domain of this computer. Reason: ";

void WarnNoTrustInfo(const std::string& domain, std::uint32_t status)
{
    LogWarning("Can't get trust info for domain " + domain + ". Reason: " + SystemErrorText(status));
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
    if (answer.status == kStatusNoSuchDomain)
        throw DiscoveryFailure{1};
    if (answer.status != 0) {
        LogWarning(kCantLocateDomain + SystemErrorText(answer.status));
        return;
    }
    if (!answer.domainName || !IsUsableName(*answer.domainName)) {
        LogWarning(kCantLocateDomain + SystemErrorText(kStatusInvalidDomainName));
        return;
    }
    domain = *answer.domainName;
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
        // Only "name does not exist" falls back; any other answer of the site query is final.
        domainWide = answer.status == kDnsNameError;
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
        const std::string& target = *record.target;
        // "." (RFC 2782): the service is decidedly not available there. An unusable name is dropped too.
        if (target == "." || !IsUsableName(target))
            continue;
        hosts.push_back(target);
    }
}

void WalkTrusts(const DirectoryPlatform& platform, KdcTable& kdcTable, TrustTable& trustTable)
{
    std::string machineDomain;
    std::string site;
    LocateMachineDomain(platform, machineDomain, site);  // raises the discovery failure
    if (machineDomain.empty())
        return;  // the domain could not be located; LocateMachineDomain has logged why
    LookUpRealm(platform, kdcTable, machineDomain, site);

    // The Part's queue may hold a domain several times; every copy after the first is skipped as
    // visited when it reaches the front. Queueing each domain only once expands the same domains in
    // the same order, without a queue that grows with the square of a forest's size.
    std::deque<std::string> queue{machineDomain};
    std::set<std::string> queued{machineDomain};  // queued at some time: visited or still waiting
    std::set<std::string> visited;
    while (!queue.empty()) {
        const std::string current = queue.front();
        queue.pop_front();
        if (!visited.insert(current).second)
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
            const std::string& listed = *record.dnsDomainName;
            if (!IsUsableName(listed)) {  // never recorded, never looked up
                LogWarning("Skipped a trust record with an unusable domain name for domain " + current + ".");
                continue;
            }
            if (visited.count(listed) != 0)
                continue;  // no lookup, no queueing, no trust entry
            LookUpRealm(platform, kdcTable, listed, site);
            const bool followed = (record.flags & kDsDomainInForest) != 0 ||
                                  record.trustAttributes == kTrustAttributeForestTransitive;
            if (!followed)
                continue;
            if (queued.insert(listed).second)
                queue.push_back(listed);
            if ((record.flags & kDsDomainDirectOutbound) != 0)
                AddTrust(trustTable, current, listed);
            if ((record.flags & kDsDomainDirectInbound) != 0)
                AddTrust(trustTable, listed, current);
        }
    }
}
