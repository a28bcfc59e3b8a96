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
constexpr std::uint32_t kSimStatusServerUnavailable = 1722; // RPC_S_SERVER_UNAVAILABLE
constexpr std::uint32_t kSimStatusInvalidData = 13;        // ERROR_INVALID_DATA: no usable forest
constexpr std::uint32_t kSimStatusInvalidParameter = 87;   // ERROR_INVALID_PARAMETER
constexpr std::uint32_t kSimStatusInvalidFlags = 1004;     // ERROR_INVALID_FLAGS
constexpr std::uint16_t kSimDnsTypeSrv = 33;

// DsGetDcNameA's answer. The names are meaningful only with status 0.
struct ForestMachine {
    std::uint32_t status = 0;
    std::string domain;
    std::optional<std::string> site;
};

struct ForestDnsRecord {
    std::uint16_t type = kSimDnsTypeSrv;
    std::string target;  // SRV records only
};

// DnsQuery_A's answer. Records may come with a failing status too, as a real name error may
// carry the zone's SOA record: the caller must free such a list as well.
struct ForestDnsAnswer {
    std::int32_t status = 0;
    std::vector<ForestDnsRecord> records;
};

struct ForestTrust {
    std::optional<std::string> dnsDomainName;
    std::uint32_t flags = 0;
    std::uint32_t trustAttributes = 0;
};

// DsEnumerateDomainTrustsA's answer; the domains are meaningful only with status 0.
struct ForestTrustAnswer {
    std::uint32_t status = 0;
    std::vector<ForestTrust> domains;
};

// How long each call of a kind waits before it answers, to model a network.
struct ForestLatency {
    std::uint32_t dcname = 0;
    std::uint32_t dns = 0;
    std::uint32_t trusts = 0;
};

struct Forest {
    std::optional<ForestMachine> machine;            // absent: the machine is in no domain
    std::map<std::string, ForestDnsAnswer> dns;      // by exact query name
    std::map<std::string, ForestTrustAnswer> trusts; // by server name; "" is the local computer
    ForestLatency latencyMs;
};

// Reads a forest from JSON text. On failure returns false and sets error to one sentence that
// names the place in the file ("trusts[\"dc1\"].domains[2].flags: ...").
bool ParseForest(const std::string& text, Forest& forest, std::string& error);
// The same from a file; error also says when the file can't be read.
bool ReadForestFile(const std::string& path, Forest& forest, std::string& error);

// The answers to the three calls, with the file's defaults for what it does not list:
// no machine 1355, an unlisted query name 9003, an unlisted server 1722. A null or empty
// server is the local computer, key "".
ForestMachine MachineAnswer(const Forest& forest);
ForestDnsAnswer DnsAnswerFor(const Forest& forest, const std::string& queryName);
ForestTrustAnswer TrustAnswerFor(const Forest& forest, const char* server);

#endif
