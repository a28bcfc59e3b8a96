// The simulated directory's forest file: what each directory and DNS call answers, read from JSON.
#ifndef QUILLMERE_SIMDIR_FOREST_FILE_H
#define QUILLMERE_SIMDIR_FOREST_FILE_H

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

constexpr std::uint32_t kSimStatusNoSuchDomain = 1355;     // ERROR_NO_SUCH_DOMAIN
constexpr std::int32_t kSimStatusDnsNameError = 9003;      // DNS_ERROR_RCODE_NAME_ERROR
constexpr std::int32_t kSimStatusDnsNoRecords = 9501;      // DNS_INFO_NO_RECORDS
constexpr std::uint32_t kSimStatusServerUnavailable = 1722; // RPC_S_SERVER_UNAVAILABLE
constexpr std::uint32_t kSimStatusInvalidData = 13;        // ERROR_INVALID_DATA: no usable forest
constexpr std::uint32_t kSimStatusInvalidParameter = 87;   // ERROR_INVALID_PARAMETER
constexpr std::uint32_t kSimStatusInvalidFlags = 1004;     // ERROR_INVALID_FLAGS
constexpr std::uint16_t kSimDnsTypeSrv = 33;
constexpr std::uint16_t kSimDnsTypeCname = 5;
constexpr std::uint32_t kSimTrustTypeUplevel = 2;  // TRUST_TYPE_UPLEVEL: a Windows domain

// DsGetDcNameA's answer. The names are meaningful only with status 0.
struct ForestMachine {
    std::uint32_t status = 0;
    std::string domain;
    std::optional<std::string> site;
    // DsRoleGetPrimaryDomainInformation's DomainNameDns, as the file spells it (UTF-8, for the
    // call answers in Unicode); absent: a member of no domain.
    std::optional<std::string> memberOf;
};

struct ForestDnsRecord {
    std::uint16_t type = kSimDnsTypeSrv;
    std::string target;  // SRV records: the target; CNAME records: the canonical name

    bool operator==(const ForestDnsRecord& other) const { return type == other.type && target == other.target; }
};

// DnsQuery_A's answer. Records may come with a failing status too, as a real name error may
// carry the zone's SOA record: the caller must free such a list as well.
struct ForestDnsAnswer {
    std::int32_t status = 0;
    std::vector<ForestDnsRecord> records;
    std::optional<std::uint32_t> latencyMs;  // this answer's own delay, in place of the kind's

    bool operator==(const ForestDnsAnswer& other) const
    {
        return status == other.status && records == other.records && latencyMs == other.latencyMs;
    }
};

struct ForestTrust {
    std::optional<std::string> dnsDomainName;
    std::uint32_t flags = 0;
    std::uint32_t trustAttributes = 0;
    std::uint32_t trustType = kSimTrustTypeUplevel;

    bool operator==(const ForestTrust& other) const
    {
        return dnsDomainName == other.dnsDomainName && flags == other.flags &&
               trustAttributes == other.trustAttributes && trustType == other.trustType;
    }
};

// DsEnumerateDomainTrustsA's answer; the domains are meaningful only with status 0.
struct ForestTrustAnswer {
    std::uint32_t status = 0;
    std::vector<ForestTrust> domains;
    std::optional<std::uint32_t> latencyMs;  // this server's own delay, in place of the kind's

    bool operator==(const ForestTrustAnswer& other) const
    {
        return status == other.status && domains == other.domains && latencyMs == other.latencyMs;
    }
};

// How long each call of a kind waits before it answers, to model a network.
struct ForestLatency {
    std::uint32_t dcname = 0;
    std::uint32_t dns = 0;
    std::uint32_t trusts = 0;
};

// Names are held as the directory hands them out (see NameConversion), and the two sections are
// keyed by the folded name (FoldedDomainName): DNS matches query and server names without regard
// to ASCII letter case, and drops no dot of its own.
struct Forest {
    std::optional<ForestMachine> machine;            // absent: the machine is in no domain
    std::map<std::string, ForestDnsAnswer> dns;      // by folded query name
    std::map<std::string, ForestTrustAnswer> trusts; // by folded server name; "" is the local computer
    ForestLatency latencyMs;
};

// How a name of the file, UTF-8 text, becomes the bytes the "A" functions hand out: the
// simulated DLLs convert it to the ANSI code page as Windows does; native users keep UTF-8.
using NameConversion = std::string (*)(const std::string& utf8);
std::string KeepUtf8(const std::string& utf8);

// Reads a forest from JSON text, every name and key converted. On failure returns false and sets
// error to one sentence that names the place in the file ("trusts[\"dc1\"].domains[2].flags:
// ..."); two keys of a section that are one name after the conversion and the folding must carry
// the same answer, else the file is at fault.
bool ParseForest(const std::string& text, Forest& forest, std::string& error, NameConversion convert = KeepUtf8);
// The same from a file; error also says when the file can't be read.
bool ReadForestFile(const std::string& path, Forest& forest, std::string& error, NameConversion convert = KeepUtf8);

// The answers to the calls, with the file's defaults for what it does not list: no machine 1355
// (and a member of no domain), an unlisted query name 9003, an unlisted server 1722. A name that
// is listed without records, with status 0, answers 9501, as Windows does where the name exists
// but holds no SRV record. A null or empty server is the local computer, key "". Names are looked
// up as the sections are keyed.
ForestMachine MachineAnswer(const Forest& forest);
ForestDnsAnswer DnsAnswerFor(const Forest& forest, const std::string& queryName);
ForestTrustAnswer TrustAnswerFor(const Forest& forest, const char* server);

#endif
