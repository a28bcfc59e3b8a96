// The platform record over a forest, for native tests and benchmarks.
#include "forest_platform.h"

namespace {

DcNameAnswer GetDcName(void* context)
{
    auto& directory = *static_cast<ForestDirectory*>(context);
    ++directory.getDcNameCalls;
    const ForestMachine machine = MachineAnswer(directory.forest);
    DcNameAnswer answer;
    answer.status = machine.status;
    if (machine.status == 0) {
        answer.domainName = machine.domain;
        answer.clientSiteName = machine.site;
    }
    return answer;
}

DnsAnswer QuerySrv(void* context, const std::string& name)
{
    auto& directory = *static_cast<ForestDirectory*>(context);
    ++directory.querySrvCalls;
    const ForestDnsAnswer found = DnsAnswerFor(directory.forest, name);
    DnsAnswer answer;
    answer.status = found.status;
    // Like the Windows adapter: the records of a failing answer are freed unread.
    if (found.status != 0)
        return answer;
    for (const ForestDnsRecord& record : found.records) {
        DnsRecordCopy copy;
        copy.type = record.type;
        if (record.type == kDnsTypeSrv)
            copy.target = record.target;
        answer.records.push_back(copy);
    }
    return answer;
}

TrustAnswer EnumerateTrusts(void* context, const std::string* server, std::uint32_t flags)
{
    auto& directory = *static_cast<ForestDirectory*>(context);
    ++directory.enumerateTrustsCalls;
    TrustAnswer answer;
    // The simulated DLL answers only the enumeration the forest file lists.
    if (flags != kTrustEnumerationFlags) {
        answer.status = kSimStatusInvalidFlags;
        return answer;
    }
    const ForestTrustAnswer found = TrustAnswerFor(directory.forest, server == nullptr ? nullptr : server->c_str());
    answer.status = found.status;
    for (const ForestTrust& trust : found.domains)
        answer.records.push_back(TrustRecordCopy{trust.dnsDomainName, trust.flags, trust.trustAttributes});
    return answer;
}

PrimaryDomainAnswer GetPrimaryDomain(void* context)
{
    auto& directory = *static_cast<ForestDirectory*>(context);
    ++directory.getPrimaryDomainCalls;
    const ForestMachine machine = MachineAnswer(directory.forest);
    PrimaryDomainAnswer answer;
    answer.machineRole = machine.memberOf ? kDsRoleMemberWorkstation : kDsRoleStandaloneWorkstation;
    answer.domainNameDns = machine.memberOf;
    return answer;
}

}  // namespace

DirectoryPlatform ForestPlatform(ForestDirectory& directory)
{
    return DirectoryPlatform{&directory, GetDcName, QuerySrv, EnumerateTrusts, GetPrimaryDomain};
}
