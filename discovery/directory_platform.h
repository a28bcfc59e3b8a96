// The directory-service and DNS calls the discovery makes, as a record of function pointers.
#ifndef QUILLMERE_DIRECTORY_PLATFORM_H
#define QUILLMERE_DIRECTORY_PLATFORM_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// DsGetDcNameA(NULL, NULL, NULL, NULL, DS_RETURN_DNS_NAME): the two names read, copied out.
struct DcNameAnswer {
    std::uint32_t status = 0;
    std::optional<std::string> domainName;      // DomainName; absent when the status is not 0
    std::optional<std::string> clientSiteName;  // ClientSiteName; absent when there is no site
};

// One record of a DnsQuery_A answer, in answer order.
struct DnsRecordCopy {
    std::uint16_t type = 0;
    std::optional<std::string> target;  // pNameTarget, for SRV records only
};

struct DnsAnswer {
    std::int32_t status = 0;
    std::vector<DnsRecordCopy> records;
};

// One DS_DOMAIN_TRUSTSA record: only these three fields are read.
struct TrustRecordCopy {
    std::optional<std::string> dnsDomainName;
    std::uint32_t flags = 0;
    std::uint32_t trustAttributes = 0;
};

struct TrustAnswer {
    std::uint32_t status = 0;
    std::vector<TrustRecordCopy> records;
};

// DsRoleGetPrimaryDomainInformation(NULL, DsRolePrimaryDomainInfoBasic, ...): the computer's
// membership, the two fields read, copied out.
struct PrimaryDomainAnswer {
    std::uint32_t status = 0;
    std::uint32_t machineRole = 0;             // MachineRole, a DSROLE_MACHINE_ROLE
    std::optional<std::string> domainNameDns;  // DomainNameDns in the ANSI code page; absent when null
};

struct DirectoryPlatform {
    void* context;
    DcNameAnswer (*getDcName)(void* context);
    // DnsQuery_A(name, DNS_TYPE_SRV, DNS_QUERY_STANDARD, NULL, &list, NULL).
    DnsAnswer (*querySrv)(void* context, const std::string& name);
    // DsEnumerateDomainTrustsA(server, flags, ...); a null server addresses the local computer.
    TrustAnswer (*enumerateTrusts)(void* context, const std::string* server, std::uint32_t flags);
    // DsRoleGetPrimaryDomainInformation of the local computer, asked when DsGetDcNameA answers 1355.
    PrimaryDomainAnswer (*getPrimaryDomain)(void* context);
};

constexpr std::uint32_t kStatusNoSuchDomain = 1355;   // ERROR_NO_SUCH_DOMAIN
constexpr std::int32_t kDnsNameError = 9003;          // DNS_ERROR_RCODE_NAME_ERROR
constexpr std::int32_t kDnsNoRecords = 9501;          // DNS_INFO_NO_RECORDS: the name holds no SRV record
constexpr std::uint16_t kDnsTypeSrv = 33;
constexpr std::uint32_t kDsDomainInForest = 0x1;
constexpr std::uint32_t kDsDomainDirectOutbound = 0x2;
constexpr std::uint32_t kDsDomainDirectInbound = 0x20;
constexpr std::uint32_t kTrustEnumerationFlags = 63;
constexpr std::uint32_t kTrustAttributeForestTransitive = 8;  // a bit of TrustAttributes
// MachineRole: the computer is a member of a domain unless it stands alone.
constexpr std::uint32_t kDsRoleStandaloneWorkstation = 0;
constexpr std::uint32_t kDsRoleMemberWorkstation = 1;
constexpr std::uint32_t kDsRoleStandaloneServer = 2;
constexpr std::uint32_t kDsRolePrimaryDomainController = 5;

#endif
