// Fuzzes discovery and generation end to end: the input is decoded into a directory's answers
// (machine domain and site, SRV lists, trust records with flags, attributes and absent names,
// failure statuses), walked, and a selection of the realms found is turned into krb5.conf text.
// Every line must keep its form, and every name written must be one that discovery accepted.
#include "config_generation.h"
#include "config_lines.h"
#include "upper_case.h"
#include "enctype_buffer.h"
#include "enctype_names.h"
#include "fuzz_bytes.h"
#include "log_recorder.h"
#include "name_check.h"
#include "realm_item_text.h"
#include "realm_order.h"
#include "scripted_directory.h"
#include "trust_walk.h"

#include <algorithm>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kMaxOperations = 48;
constexpr std::size_t kMaxPool = 64;
constexpr std::size_t kMaxNameBytes = 255;

// Bytes a name must never carry into the text, and some it may.
const char kHostileBytes[] = "\n\r\t \x01\x1f\x7f={}[];#\"\\,.*'/:\xe9\xff";

struct Script {
    ScriptedDirectory directory;
    std::vector<std::string> names{"corp.test", "eu.corp.test", "lab.other.test", "x.test"};
    std::vector<std::string> hosts{"dc1.corp.test", "dc1.eu.corp.test", "kdc.lab.other.test"};
    std::set<std::string> offeredNames;  // every domain name the directory answers with
    std::set<std::string> offeredHosts;  // every SRV target
    std::string site;
    bool hasSite = false;
};

void Remember(std::vector<std::string>& pool, const std::string& name)
{
    if (pool.size() < kMaxPool)
        pool.push_back(name);
}

std::string Pick(FuzzBytes& bytes, const std::vector<std::string>& pool)
{
    return pool[bytes.Byte() % pool.size()];
}

// A variant of a known name, so that names meet again: letter case changed, a byte slipped in,
// a label put before it, stretched to around the 255-byte limit, or made absolute.
std::string Variant(FuzzBytes& bytes, std::string name)
{
    switch (bytes.Byte() % 5) {
    case 0: {
        const std::uint8_t pattern = bytes.Byte();
        for (std::size_t i = 0; i < name.size(); ++i)
            if (((pattern >> (i % 8)) & 1) != 0 && name[i] >= 'a' && name[i] <= 'z')
                name[i] = static_cast<char>(name[i] - 'a' + 'A');
        return name;
    }
    case 1: {
        const std::size_t at = bytes.Byte() % (name.size() + 1);
        name.insert(at, 1, kHostileBytes[bytes.Byte() % (sizeof kHostileBytes - 1)]);
        return name;
    }
    case 2:
        return bytes.Text(12) + "." + name;
    case 3:
        return name + ".";
    default: {
        const std::size_t length = kMaxNameBytes - 1 + bytes.Byte() % 4;
        while (name.size() < length)
            name.insert(0, "a.");
        return name.substr(name.size() - length);
    }
    }
}

std::string DomainName(FuzzBytes& bytes, Script& script)
{
    const std::uint8_t kind = bytes.Byte() % 8;
    std::string name;
    if (kind < 4)
        return Pick(bytes, script.names);
    name = kind == 4 ? bytes.Text(24) : Variant(bytes, Pick(bytes, script.names));
    Remember(script.names, name);
    return name;
}

std::string HostName(FuzzBytes& bytes, Script& script)
{
    switch (bytes.Byte() % 8) {
    case 0:
        return ".";
    case 1:
        return "";
    case 2:
    case 3: {
        const std::string host = "dc" + std::to_string(bytes.Byte() % 4) + "." + Pick(bytes, script.names);
        Remember(script.hosts, host);
        return host;
    }
    case 4: {
        const std::string host = Variant(bytes, Pick(bytes, script.hosts));
        Remember(script.hosts, host);
        return host;
    }
    default:
        return Pick(bytes, script.hosts);
    }
}

void ScriptMachine(FuzzBytes& bytes, Script& script)
{
    switch (bytes.Byte() % 8) {
    case 0:
        SetMachineStatus(script.directory, kStatusNoSuchDomain);
        if ((bytes.Byte() & 1) != 0)  // a member computer whose domain is out of reach
            SetMembership(script.directory, DomainName(bytes, script));
        return;
    case 1:
        SetMachineStatus(script.directory, bytes.Word() | 1);
        return;
    case 2:
        script.directory.machine = DcNameAnswer{0, std::nullopt, std::nullopt};
        return;
    default:
        break;
    }
    const std::string domain = DomainName(bytes, script);
    script.offeredNames.insert(domain);
    const std::uint8_t siteKind = bytes.Byte() % 4;
    script.hasSite = siteKind != 0;
    script.site = siteKind == 1 ? bytes.Text(12) : "Default-First-Site-Name";
    SetMachine(script.directory, domain, script.hasSite ? std::optional<std::string>(script.site) : std::nullopt);
}

void ScriptSrvAnswer(FuzzBytes& bytes, Script& script)
{
    const std::string domain = DomainName(bytes, script);
    const bool siteForm = script.hasSite && (bytes.Byte() & 1) != 0;
    const std::string query = "_kerberos._tcp." + (siteForm ? script.site + "._sites." : std::string()) + domain;
    DnsAnswer answer;
    const std::uint8_t status = bytes.Byte() % 9;
    const std::int32_t failures[] = {kDnsNameError, kDnsNoRecords, 9002};
    answer.status = status < 5 ? 0 : status < 8 ? failures[status - 5] : static_cast<std::int32_t>(bytes.Word());
    const std::size_t count = bytes.Byte() % 5;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t kind = bytes.Byte() % 6;
        if (kind < 4) {
            const std::string target = HostName(bytes, script);
            script.offeredHosts.insert(target);
            answer.records.push_back(DnsRecordCopy{kDnsTypeSrv, target});
        } else if (kind == 4) {
            answer.records.push_back(DnsRecordCopy{kDnsTypeSrv, std::nullopt});
        } else {
            const std::uint16_t types[] = {1, 28, 6};
            answer.records.push_back(DnsRecordCopy{types[bytes.Byte() % 3], std::nullopt});
        }
    }
    script.directory.dns[query] = answer;
}

void ScriptTrustAnswer(FuzzBytes& bytes, Script& script)
{
    const std::string server = bytes.Byte() % 4 == 0 ? std::string() : Pick(bytes, script.hosts);
    TrustAnswer answer;
    answer.status = bytes.Byte() % 6 == 0 ? (bytes.Word() | 1) : 0;
    const std::size_t count = bytes.Byte() % 10;
    for (std::size_t i = 0; i < count; ++i) {
        TrustRecordCopy record;
        if (bytes.Byte() % 8 != 0) {
            record.dnsDomainName = DomainName(bytes, script);
            script.offeredNames.insert(*record.dnsDomainName);
        }
        record.flags = bytes.Byte();
        const std::uint32_t attributes[] = {0, kTrustAttributeForestTransitive, kTrustAttributeForestTransitive | 4, 0x20,
                                            0x18, 0x808, 0x10};
        const std::uint8_t attributeKind = bytes.Byte() % 8;
        record.trustAttributes = attributeKind < 7 ? attributes[attributeKind] : bytes.Word();
        answer.records.push_back(record);
    }
    script.directory.trusts[server] = answer;
}

// A name as the directory offered it, or without the trailing dot of an absolute one; one token
// of the text, within the limit, with no byte beyond letters, digits, "-", "_", "." and bytes
// above 127.
bool Accepted(const std::string& name, const std::set<std::string>& offered)
{
    const bool namedBytes = std::all_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte > 127 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
               c == '_' || c == '.';
    });
    return IsConfigToken(name) && namedBytes && name.back() != '.' && name.size() <= kMaxNameBytes &&
           (offered.count(name) != 0 || offered.count(name + ".") != 0);
}

// Whether the query made under this name gives KDCs, as LookupKdcs takes them.
bool YieldsHosts(const ScriptedDirectory& directory, const std::string& query)
{
    const auto found = directory.dns.find(query);
    if (found == directory.dns.end() || found->second.status != 0)
        return false;
    for (const DnsRecordCopy& record : found->second.records)
        if (record.type == kDnsTypeSrv && record.target && *record.target != "." && UsableName(*record.target))
            return true;
    return false;
}

void CheckDirectory(const Script& script, const RealmDirectory& found)
{
    for (const auto& [realm, hosts] : found.kdcTable) {
        FUZZ_CHECK(Accepted(realm, script.offeredNames), "kdcTable holds " + FuzzShown(realm));
        FUZZ_CHECK(!hosts.empty(), "a realm without KDCs: " + FuzzShown(realm));
        for (const std::string& host : hosts)
            FUZZ_CHECK(host != "." && Accepted(host, script.offeredHosts), "a KDC " + FuzzShown(host));
    }
    // One domain in two letter cases is one realm: no two keys fold alike, no realm trusts itself.
    std::set<std::string> folded;
    for (const auto& entry : found.kdcTable)
        FUZZ_CHECK(folded.insert(FoldedDomainName(entry.first)).second, "one domain twice: " + FuzzShown(entry.first));
    for (const auto& [trusting, trusted] : found.trustTable) {
        FUZZ_CHECK(Accepted(trusting, script.offeredNames) && Accepted(trusted, script.offeredNames),
                  "a trust " + FuzzShown(trusting) + " -> " + FuzzShown(trusted));
        FUZZ_CHECK(FoldedDomainName(trusting) != FoldedDomainName(trusted),
                   "a realm trusting itself: " + FuzzShown(trusting) + " -> " + FuzzShown(trusted));
        const auto spelt = found.kdcTable.find(trusting);
        for (const auto& entry : found.kdcTable)
            FUZZ_CHECK(FoldedDomainName(entry.first) != FoldedDomainName(trusting) || spelt != found.kdcTable.end(),
                       "a trust entry spelt unlike its realm: " + FuzzShown(trusting));
    }

    // Once a realm has KDCs it is never looked up again, and no domain is enumerated twice.
    std::map<std::string, int> fruitfulQueries;
    for (const RecordedCall& call : script.directory.calls)
        if (call.kind == DirectoryCall::QuerySrv && YieldsHosts(script.directory, call.argument))
            FUZZ_CHECK(++fruitfulQueries[call.argument] == 1, "KDCs looked up twice: " + FuzzShown(call.argument));
    std::set<std::string> domains;
    for (const auto& entry : found.kdcTable)
        domains.insert(entry.first);
    FUZZ_CHECK(CountCalls(script.directory, DirectoryCall::EnumerateTrusts) <= domains.size() + 1,
              "more enumerations than domains");
    for (const RecordedCall& call : script.directory.calls)
        if (call.kind == DirectoryCall::EnumerateTrusts && !call.serverAbsent) {
            bool firstKdc = false;
            for (const auto& entry : found.kdcTable)
                firstKdc = firstKdc || entry.second.front() == call.argument;
            FUZZ_CHECK(firstKdc, "an enumeration addressed to " + FuzzShown(call.argument));
        }
}

void CheckLog(const LogRecorder& log)
{
    for (const std::string& line : log.lines) {
        FUZZ_CHECK(line.rfind("Info: ", 0) == 0 || line.rfind("Warning: ", 0) == 0, "a log line " + FuzzShown(line));
        FUZZ_CHECK(line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0, "a log line without CR LF");
        for (std::size_t i = 0; i + 2 < line.size(); ++i) {
            const auto byte = static_cast<unsigned char>(line[i]);
            FUZZ_CHECK(byte >= 0x20 && byte != 0x7F, "a control byte in the log line " + FuzzShown(line));
        }
    }
}

struct Rng {
    std::uint32_t state;
    std::uint32_t Next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
};

std::string ChooserText(std::uint8_t ticked)
{
    char text[kEncTypeTextCapacity];
    EncTypeBuffer buffer{text, sizeof text};
    ClearEncTypeText(buffer);
    for (int index = kEncTypeCount - 1; index >= 0; --index)
        if (((ticked >> index) & 1) != 0)
            AppendEncTypeName(buffer, kEncTypeNames[index]);
    return text;
}

// A selection as the panel makes it: realms of the Available list, marked, one the default,
// in the lists' order.
DialogState Selection(Rng& rng, const KdcTable& kdcTable)
{
    DialogState state;
    for (const auto& entry : kdcTable) {
        if (rng.Next() % 4 == 0)
            continue;
        std::string item = SelectedItemText(entry.first);
        if (rng.Next() % 2 == 0)
            item = ToggledFlag(item, true);
        if (rng.Next() % 2 == 0)
            item = ToggledFlag(item, false);
        state.selectedItems.push_back(item);
    }
    std::stable_sort(state.selectedItems.begin(), state.selectedItems.end(),
                     [](const std::string& a, const std::string& b) { return CompareRealmTexts(a, b) < 0; });
    if (!state.selectedItems.empty()) {
        std::string& chosen = state.selectedItems[rng.Next() % state.selectedItems.size()];
        chosen = WithDefaultMark(chosen);
    }
    state.tgsEnctypes = ChooserText(static_cast<std::uint8_t>(rng.Next()));
    state.tktEnctypes = ChooserText(static_cast<std::uint8_t>(rng.Next()));
    const std::uint32_t forwardable = rng.Next() % 4;
    state.forwardableTrue = (forwardable & 1) != 0;
    state.forwardableFalse = (forwardable & 2) != 0;
    return state;
}

void CheckConfiguration(const RealmDirectory& found, const DialogState& state)
{
    std::ostringstream out;
    GenerateConfigText(state, found, ConfigTextWriter{out});
    std::vector<ConfigLine> lines;
    std::string error;
    FUZZ_CHECK(ParseConfigLines(out.str(), lines, error), error + " in " + FuzzShown(out.str()));

    std::set<std::string> realms;  // upper-cased, as written
    for (const auto& entry : found.kdcTable)
        realms.insert(ToUpperCopy(entry.first));
    for (const auto& entry : found.trustTable) {
        realms.insert(ToUpperCopy(entry.first));
        realms.insert(ToUpperCopy(entry.second));
    }
    std::set<std::string> selected;
    for (const std::string& item : state.selectedItems)
        selected.insert(ToUpperCopy(item.substr(kFlagPrefixLength)));
    std::set<std::string> hosts;
    for (const auto& entry : found.kdcTable)
        hosts.insert(entry.second.begin(), entry.second.end());

    const std::vector<std::string> order = {"libdefaults", "realms", "capaths"};
    std::size_t nextSection = 0;
    std::size_t realmSubsections = 0;
    std::size_t kdcLines = 0;  // in the subsection being read
    for (const ConfigLine& line : lines) {
        if (line.kind == ConfigLineKind::SectionHeader) {
            while (nextSection < order.size() && order[nextSection] != line.section)
                ++nextSection;
            FUZZ_CHECK(nextSection < order.size(), "a section out of order: " + line.section);
            ++nextSection;
        } else if (line.kind == ConfigLineKind::SubsectionOpening) {
            FUZZ_CHECK(line.section != "libdefaults", "a subsection in [libdefaults]");
            FUZZ_CHECK((line.section == "realms" ? selected : realms).count(line.subsection) != 0,
                      "a subsection for an unknown realm " + FuzzShown(line.subsection));
            if (line.section == "realms")
                ++realmSubsections;
            kdcLines = 0;
        } else if (line.kind == ConfigLineKind::Relation && line.section == "libdefaults") {
            const std::set<std::string> tags = {"default_realm", "default_tgs_enctypes", "default_tkt_enctypes",
                                                "forwardable"};
            FUZZ_CHECK(tags.count(line.tag) != 0, "in [libdefaults]: " + FuzzShown(line.tag));
            if (line.tag == "default_realm")
                FUZZ_CHECK(selected.count(line.value) != 0, "default_realm " + FuzzShown(line.value));
        } else if (line.kind == ConfigLineKind::Relation && line.section == "realms") {
            FUZZ_CHECK(line.tag == "kdc" && hosts.count(line.value) != 0, "in [realms]: " + FuzzShown(line.value));
            FUZZ_CHECK(++kdcLines <= 3, "more than three kdc lines for " + FuzzShown(line.subsection));
        } else if (line.kind == ConfigLineKind::Relation) {
            FUZZ_CHECK(realms.count(line.tag) != 0 && realms.count(line.value) != 0,
                      "in [capaths]: " + FuzzShown(line.tag) + " = " + FuzzShown(line.value));
        }
    }
    FUZZ_CHECK(realmSubsections == state.selectedItems.size(), "a selected realm without its subsection");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzBytes bytes{data, size};
    Rng rng{bytes.Word() | 1};
    Script script;
    ScriptMachine(bytes, script);
    for (std::size_t n = 0; n < kMaxOperations && !bytes.Empty(); ++n) {
        if (bytes.Byte() % 2 == 0)
            ScriptSrvAnswer(bytes, script);
        else
            ScriptTrustAnswer(bytes, script);
    }

    LogRecorder log;
    RecordStatusLog(log);
    RealmDirectory found;
    bool inNoDomain = false;
    try {
        WalkTrusts(ScriptedPlatform(script.directory), found.kdcTable, found.trustTable);
    } catch (const DiscoveryFailure& failure) {
        FUZZ_CHECK(failure.code == 1, "a discovery failure with code " + std::to_string(failure.code));
        inNoDomain = true;
    }
    StopRecordingStatusLog();
    if (inNoDomain)
        FUZZ_CHECK(found.kdcTable.empty() && found.trustTable.empty() && script.directory.calls.size() == 2 &&
                       CountCalls(script.directory, DirectoryCall::GetPrimaryDomain) == 1,
                   "a machine in no domain was walked");

    CheckLog(log);
    CheckDirectory(script, found);
    CheckConfiguration(found, Selection(rng, found.kdcTable));
    return 0;
}
