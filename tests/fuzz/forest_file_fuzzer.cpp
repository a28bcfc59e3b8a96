// Fuzzes the simulated directory's forest-file reader: any text is read or refused with a
// message, and what is read answers the three calls as the format says.
#include "forest_file.h"
#include "fuzz_bytes.h"

#include <string>

namespace {

bool SameDns(const ForestDnsAnswer& a, const ForestDnsAnswer& b)
{
    if (a.status != b.status || a.records.size() != b.records.size())
        return false;
    for (std::size_t i = 0; i < a.records.size(); ++i)
        if (a.records[i].type != b.records[i].type || a.records[i].target != b.records[i].target)
            return false;
    return true;
}

bool SameTrusts(const ForestTrustAnswer& a, const ForestTrustAnswer& b)
{
    if (a.status != b.status || a.domains.size() != b.domains.size())
        return false;
    for (std::size_t i = 0; i < a.domains.size(); ++i)
        if (a.domains[i].dnsDomainName != b.domains[i].dnsDomainName || a.domains[i].flags != b.domains[i].flags ||
            a.domains[i].trustAttributes != b.domains[i].trustAttributes)
            return false;
    return true;
}

bool HasNul(const std::string& name)
{
    return name.find('\0') != std::string::npos;
}

void CheckNames(const Forest& forest)
{
    if (forest.machine) {
        FUZZ_CHECK(!HasNul(forest.machine->domain), "a machine domain with a NUL");
        FUZZ_CHECK(!forest.machine->site || !HasNul(*forest.machine->site), "a site with a NUL");
        if (forest.machine->status != 0)
            FUZZ_CHECK(forest.machine->domain.empty() && !forest.machine->site, "a failing location with names");
    }
    for (const auto& entry : forest.dns)
        for (const ForestDnsRecord& record : entry.second.records)
            FUZZ_CHECK(!HasNul(record.target), "an SRV target with a NUL");
    for (const auto& entry : forest.trusts)
        for (const ForestTrust& trust : entry.second.domains)
            FUZZ_CHECK(!trust.dnsDomainName || !HasNul(*trust.dnsDomainName), "a trust name with a NUL");
    FUZZ_CHECK(forest.latencyMs.dcname <= 60000 && forest.latencyMs.dns <= 60000 && forest.latencyMs.trusts <= 60000,
              "a latency over a minute");
}

void CheckAnswers(const Forest& forest)
{
    const ForestMachine machine = MachineAnswer(forest);
    FUZZ_CHECK(forest.machine ? machine.status == forest.machine->status : machine.status == kSimStatusNoSuchDomain,
              "the machine's answer");
    for (const auto& entry : forest.dns)
        FUZZ_CHECK(SameDns(DnsAnswerFor(forest, entry.first), entry.second), "the answer for " + FuzzShown(entry.first));
    for (const auto& entry : forest.trusts)
        if (!entry.first.empty())
            FUZZ_CHECK(SameTrusts(TrustAnswerFor(forest, entry.first.c_str()), entry.second),
                      "the enumeration by " + FuzzShown(entry.first));
    // A null and an empty server name both address the local computer.
    FUZZ_CHECK(SameTrusts(TrustAnswerFor(forest, nullptr), TrustAnswerFor(forest, "")), "the local computer");
    const std::string unlisted = "\x01unlisted";
    if (forest.dns.count(unlisted) == 0)
        FUZZ_CHECK(DnsAnswerFor(forest, unlisted).status == kSimStatusDnsNameError, "an unlisted query name");
    if (forest.trusts.count(unlisted) == 0)
        FUZZ_CHECK(TrustAnswerFor(forest, unlisted.c_str()).status == kSimStatusServerUnavailable, "an unlisted server");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    Forest forest;
    std::string error;
    if (!ParseForest(text, forest, error)) {
        FUZZ_CHECK(!error.empty(), "a refused forest without a message");
        return 0;
    }
    CheckNames(forest);
    CheckAnswers(forest);
    Forest again;
    std::string againError;
    FUZZ_CHECK(ParseForest(text, again, againError), "the same text read twice differs");
    FUZZ_CHECK(again.dns.size() == forest.dns.size() && again.trusts.size() == forest.trusts.size(),
              "the same text read twice differs");
    return 0;
}
