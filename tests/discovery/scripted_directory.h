// A scripted DirectoryPlatform for tests: answers from tables and records every call.
// The tables follow the forest file of the simulated directory service:
// no machine entry answers 1355, an unlisted query name 9003, an unlisted server 1722, and the
// server key "" stands for the local computer (server name absent).
#ifndef QUILLMERE_SCRIPTED_DIRECTORY_H
#define QUILLMERE_SCRIPTED_DIRECTORY_H

#include "directory_platform.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

enum class DirectoryCall { GetDcName, QuerySrv, EnumerateTrusts, GetPrimaryDomain };

struct RecordedCall {
    DirectoryCall kind = DirectoryCall::GetDcName;
    std::string argument;       // the SRV query name, or the server name ("" for the local computer)
    bool serverAbsent = false;  // an enumeration addressed to the local computer
    std::uint32_t flags = 0;    // the enumeration flags
};

struct ScriptedDirectory {
    DcNameAnswer machine{kStatusNoSuchDomain, std::nullopt, std::nullopt};
    std::map<std::string, DnsAnswer> dns;       // by exact query name
    std::map<std::string, TrustAnswer> trusts;  // by server name; "" is the local computer
    PrimaryDomainAnswer membership{0, kDsRoleStandaloneWorkstation, std::nullopt};  // in no domain
    std::vector<RecordedCall> calls;            // every call, in call order
};

// The platform record over a scripted directory; the directory must outlive it.
DirectoryPlatform ScriptedPlatform(ScriptedDirectory& directory);

// The machine is in this domain; an absent site means no client site.
void SetMachine(ScriptedDirectory& directory, const std::string& domain,
                const std::optional<std::string>& site = std::nullopt);
// DsGetDcNameA fails with this status.
void SetMachineStatus(ScriptedDirectory& directory, std::uint32_t status);
// The computer is a member workstation of this domain, whatever DsGetDcNameA answers.
void SetMembership(ScriptedDirectory& directory, const std::string& domainNameDns);
// Status 0 and one SRV record per target, in order, under the exact query name.
void SetSrv(ScriptedDirectory& directory, const std::string& queryName, const std::vector<std::string>& targets);
// The same under "_kerberos._tcp." + domain, and under "_kerberos._tcp." + site + "._sites." + domain.
void SetKdcs(ScriptedDirectory& directory, const std::string& domain, const std::vector<std::string>& targets);
void SetSiteKdcs(ScriptedDirectory& directory, const std::string& site, const std::string& domain,
                 const std::vector<std::string>& targets);
// The query fails with this DNS status.
void SetSrvStatus(ScriptedDirectory& directory, const std::string& queryName, std::int32_t status);
// A successful enumeration of these records by that server ("" for the local computer).
void SetTrusts(ScriptedDirectory& directory, const std::string& server, const std::vector<TrustRecordCopy>& records);
void SetTrustStatus(ScriptedDirectory& directory, const std::string& server, std::uint32_t status);
TrustRecordCopy TrustRecord(const std::optional<std::string>& dnsDomainName, std::uint32_t flags,
                            std::uint32_t trustAttributes = 0);

std::size_t CountCalls(const ScriptedDirectory& directory, DirectoryCall kind);
// The arguments of the calls of one kind, in call order.
std::vector<std::string> CallArguments(const ScriptedDirectory& directory, DirectoryCall kind);

#endif
