// A scripted DirectoryPlatform for tests: answers from tables and records every call.
#include "scripted_directory.h"

namespace {

constexpr std::uint32_t kRpcServerUnavailable = 1722;  // RPC_S_SERVER_UNAVAILABLE

ScriptedDirectory& Directory(void* context)
{
    return *static_cast<ScriptedDirectory*>(context);
}

DcNameAnswer GetDcName(void* context)
{
    ScriptedDirectory& directory = Directory(context);
    directory.calls.push_back({DirectoryCall::GetDcName, "", false, 0});
    return directory.machine;
}

DnsAnswer QuerySrv(void* context, const std::string& name)
{
    ScriptedDirectory& directory = Directory(context);
    directory.calls.push_back({DirectoryCall::QuerySrv, name, false, 0});
    const auto found = directory.dns.find(name);
    if (found == directory.dns.end())
        return DnsAnswer{kDnsNameError, {}};
    return found->second;
}

TrustAnswer EnumerateTrusts(void* context, const std::string* server, std::uint32_t flags)
{
    ScriptedDirectory& directory = Directory(context);
    const std::string key = server != nullptr ? *server : std::string();
    directory.calls.push_back({DirectoryCall::EnumerateTrusts, key, server == nullptr, flags});
    const auto found = directory.trusts.find(key);
    if (found == directory.trusts.end())
        return TrustAnswer{kRpcServerUnavailable, {}};
    return found->second;
}

PrimaryDomainAnswer GetPrimaryDomain(void* context)
{
    ScriptedDirectory& directory = Directory(context);
    directory.calls.push_back({DirectoryCall::GetPrimaryDomain, "", true, 0});
    return directory.membership;
}

}  // namespace

DirectoryPlatform ScriptedPlatform(ScriptedDirectory& directory)
{
    return DirectoryPlatform{&directory, GetDcName, QuerySrv, EnumerateTrusts, GetPrimaryDomain};
}

void SetMachine(ScriptedDirectory& directory, const std::string& domain, const std::optional<std::string>& site)
{
    directory.machine = DcNameAnswer{0, domain, site};
}

void SetMachineStatus(ScriptedDirectory& directory, std::uint32_t status)
{
    directory.machine = DcNameAnswer{status, std::nullopt, std::nullopt};
}

void SetMembership(ScriptedDirectory& directory, const std::string& domainNameDns)
{
    directory.membership = PrimaryDomainAnswer{0, kDsRoleMemberWorkstation, domainNameDns};
}

void SetSrv(ScriptedDirectory& directory, const std::string& queryName, const std::vector<std::string>& targets)
{
    DnsAnswer answer;
    for (const std::string& target : targets)
        answer.records.push_back(DnsRecordCopy{kDnsTypeSrv, target});
    directory.dns[queryName] = answer;
}

void SetKdcs(ScriptedDirectory& directory, const std::string& domain, const std::vector<std::string>& targets)
{
    SetSrv(directory, "_kerberos._tcp." + domain, targets);
}

void SetSiteKdcs(ScriptedDirectory& directory, const std::string& site, const std::string& domain,
                 const std::vector<std::string>& targets)
{
    SetSrv(directory, "_kerberos._tcp." + site + "._sites." + domain, targets);
}

void SetSrvStatus(ScriptedDirectory& directory, const std::string& queryName, std::int32_t status)
{
    directory.dns[queryName] = DnsAnswer{status, {}};
}

void SetTrusts(ScriptedDirectory& directory, const std::string& server, const std::vector<TrustRecordCopy>& records)
{
    directory.trusts[server] = TrustAnswer{0, records};
}

void SetTrustStatus(ScriptedDirectory& directory, const std::string& server, std::uint32_t status)
{
    directory.trusts[server] = TrustAnswer{status, {}};
}

TrustRecordCopy TrustRecord(const std::optional<std::string>& dnsDomainName, std::uint32_t flags,
                            std::uint32_t trustAttributes)
{
    return TrustRecordCopy{dnsDomainName, flags, trustAttributes};
}

std::size_t CountCalls(const ScriptedDirectory& directory, DirectoryCall kind)
{
    std::size_t count = 0;
    for (const RecordedCall& call : directory.calls)
        if (call.kind == kind)
            ++count;
    return count;
}

std::vector<std::string> CallArguments(const ScriptedDirectory& directory, DirectoryCall kind)
{
    std::vector<std::string> arguments;
    for (const RecordedCall& call : directory.calls)
        if (call.kind == kind)
            arguments.push_back(call.argument);
    return arguments;
}
