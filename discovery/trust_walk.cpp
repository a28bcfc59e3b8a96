// Locating the machine's domain, looking up KDCs, and the breadth-first walk over trusts.
#include "trust_walk.h"

#include "name_check.h"
#include "status_log.h"
#include "system_error_text.h"

namespace {

constexpr std::uint32_t kStatusInvalidDomainName = 1212;  // ERROR_INVALID_DOMAINNAME
constexpr std::uint32_t kStatusNoLogonServers = 1311;     // ERROR_NO_LOGON_SERVERS

using Warnings = std::vector<std::string>;

std::string Reason(std::uint32_t status)
{
    return kReasonText + SystemErrorText(status);
}

void WarnNoTrustInfo(Warnings& warnings, const std::string& domain, std::uint32_t status)
{
    warnings.push_back(kCantGetTrustInfoForDomainText + domain + Reason(status));
}

void LogAll(Warnings& warnings)
{
    for (const std::string& warning : warnings)
        LogWarning(warning);
    warnings.clear();
}

bool IsDomainMember(std::uint32_t machineRole)
{
    return machineRole != kDsRoleStandaloneWorkstation && machineRole != kDsRoleStandaloneServer &&
           machineRole <= kDsRolePrimaryDomainController;
}

// DsGetDcNameA answers 1355 on a computer in no domain and on a member computer that reaches
// none of its domain controllers (a laptop off the network); the member is told which domain.
void WarnIfOwnDomainUnreachable(const DirectoryPlatform& platform, Warnings& warnings)
{
    const PrimaryDomainAnswer membership = platform.getPrimaryDomain(platform.context);
    if (membership.status != 0 || !IsDomainMember(membership.machineRole) || !membership.domainNameDns)
        return;
    const std::optional<std::string> domain = UsableName(*membership.domainNameDns);
    if (domain)
        warnings.push_back(kNoDomainControllerText + *domain + kAnsweredText + Reason(kStatusNoSuchDomain));
}

// False when the machine is in no domain.
bool Locate(const DirectoryPlatform& platform, std::string& domain, std::string& site, Warnings& warnings)
{
    const DcNameAnswer answer = platform.getDcName(platform.context);
    if (answer.status == kStatusNoSuchDomain) {
        WarnIfOwnDomainUnreachable(platform, warnings);
        return false;
    }
    if (answer.status != 0) {
        warnings.push_back(kCantLocateDomainText + Reason(answer.status));
        return true;
    }
    const std::optional<std::string> usable = answer.domainName ? UsableName(*answer.domainName) : std::nullopt;
    if (!usable) {
        warnings.push_back(kCantLocateDomainText + Reason(kStatusInvalidDomainName));
        return true;
    }
    domain = *usable;
    if (answer.clientSiteName)
        site = *answer.clientSiteName;
    return true;
}

void LookUp(const DirectoryPlatform& platform, const std::string& domain, const std::string& site,
            std::vector<std::string>& hosts, Warnings& warnings)
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
        warnings.push_back(kCantGetKdcForDomainText + domain + Reason(static_cast<std::uint32_t>(answer.status)));
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

// DNS names are one name in any letter case, and domain controllers don't agree on one spelling:
// the first spelling met of each domain, by its folded name, is the one the walk uses throughout.
// Looked up before anything is made: an enumeration lists every domain of its forest, so most
// names met are known already.
const std::string& Spelling(TrustWalkState& state, const std::string& folded, const std::string& name)
{
    auto found = state.firstSpellings.find(folded);
    if (found == state.firstSpellings.end())
        found = state.firstSpellings.emplace(folded, name).first;
    return found->second;
}

const std::string& Spelling(TrustWalkState& state, const std::string& name)
{
    return Spelling(state, FoldedDomainName(name), name);
}

// Looks up a realm's KDCs and enters them, unless the realm is already in kdcTable: insert-if-absent
// would ignore the answer anyway, so the query is not made.
void LookUpRealm(const DirectoryPlatform& platform, KdcTable& kdcTable, const std::string& realm,
                 TrustWalkState& state)
{
    if (kdcTable.find(realm) != kdcTable.end())
        return;
    std::vector<std::string> hosts;
    LookUp(platform, realm, state.site, hosts, state.warnings);
    AddRealm(kdcTable, realm, hosts);
}

void ExpandDomain(const DirectoryPlatform& platform, KdcTable& kdcTable, TrustTable& trustTable,
                  TrustWalkState& state, const std::string& current)
{
    if (!state.visited.insert(FoldedDomainName(current)).second)
        return;
    // The enumeration goes to the first KDC of the domain. Without one, the machine's
    // own domain asks the local computer, which answers from its domain's trust list; any other
    // domain is passed over with a warning.
    const std::string* server = nullptr;
    const auto entry = kdcTable.find(current);
    if (entry != kdcTable.end() && !entry->second.empty()) {
        server = &entry->second.front();
    } else if (current != state.machineDomain) {
        WarnNoTrustInfo(state.warnings, current, kStatusNoLogonServers);
        return;
    }
    const TrustAnswer answer = platform.enumerateTrusts(platform.context, server, kTrustEnumerationFlags);
    if (answer.status != 0) {
        WarnNoTrustInfo(state.warnings, current, answer.status);
        return;
    }

    for (const TrustRecordCopy& record : answer.records) {
        if (!record.dnsDomainName)
            continue;
        const std::optional<std::string> usable = UsableName(*record.dnsDomainName);
        if (!usable) {  // never recorded, never looked up
            state.warnings.push_back(kUnusableTrustRecordForDomainText + current + ".");
            continue;
        }
        const std::string folded = FoldedDomainName(*usable);
        if (state.visited.count(folded) != 0)
            continue;  // no lookup, no queueing, no trust entry
        const std::string listed = Spelling(state, folded, *usable);
        LookUpRealm(platform, kdcTable, listed, state);
        // A forest trust carries more bits than forest-transitive (selective authentication,
        // TGT delegation, treat as external): the bit decides, not the whole value.
        const bool followed = (record.flags & kDsDomainInForest) != 0 ||
                              (record.trustAttributes & kTrustAttributeForestTransitive) != 0;
        if (!followed)
            continue;
        if (state.queued.insert(folded).second)
            state.queue.push_back(listed);
        if ((record.flags & kDsDomainDirectOutbound) != 0)
            AddTrust(trustTable, current, listed);
        if ((record.flags & kDsDomainDirectInbound) != 0)
            AddTrust(trustTable, listed, current);
    }
}

}  // namespace

void LocateMachineDomain(const DirectoryPlatform& platform, std::string& domain, std::string& site)
{
    Warnings warnings;
    const bool inDomain = Locate(platform, domain, site, warnings);
    LogAll(warnings);
    if (!inDomain)
        throw DiscoveryFailure{1};
}

void LookupKdcs(const DirectoryPlatform& platform, const std::string& domain, const std::string& site,
                std::vector<std::string>& hosts)
{
    Warnings warnings;
    LookUp(platform, domain, site, hosts, warnings);
    LogAll(warnings);
}

bool BeginTrustWalk(const DirectoryPlatform& platform, KdcTable& kdcTable, TrustWalkState& state)
{
    std::string located;
    if (!Locate(platform, located, state.site, state.warnings))
        return false;
    if (located.empty())
        return true;  // the domain could not be located; Locate has said why
    for (const auto& entry : kdcTable)  // realms the caller entered are known already
        Spelling(state, entry.first);
    state.machineDomain = Spelling(state, located);
    LookUpRealm(platform, kdcTable, state.machineDomain, state);
    // A domain listed by several enumerations before it is expanded would stand in the queue once
    // for each, every copy after the first skipped as visited at the front. Queueing each domain
    // only once expands the same domains in the same order, without a queue that grows with the
    // square of a forest's size.
    state.queue.push_back(state.machineDomain);
    state.queued.insert(FoldedDomainName(state.machineDomain));
    return true;
}

void WalkTrustLevel(const DirectoryPlatform& platform, KdcTable& kdcTable, TrustTable& trustTable,
                    TrustWalkState& state)
{
    // What this level queues goes behind it, as in one breadth-first loop.
    for (std::size_t count = state.queue.size(); count > 0; --count) {
        const std::string current = state.queue.front();
        state.queue.pop_front();
        ExpandDomain(platform, kdcTable, trustTable, state, current);
    }
}

void LogWalkWarnings(TrustWalkState& state)
{
    LogAll(state.warnings);
}

void WalkTrusts(const DirectoryPlatform& platform, KdcTable& kdcTable, TrustTable& trustTable)
{
    TrustWalkState state;
    const bool inDomain = BeginTrustWalk(platform, kdcTable, state);
    LogWalkWarnings(state);
    if (!inDomain)
        throw DiscoveryFailure{1};
    while (!state.queue.empty()) {
        WalkTrustLevel(platform, kdcTable, trustTable, state);
        LogWalkWarnings(state);
    }
}
