// Fuzzes the simulated directory's forest-file reader: any text is read or refused with a
// message, and what is read answers the three calls as the format says.
#include "forest_file.h"
#include "fuzz_bytes.h"
#include "name_check.h"

#include <string>

namespace {

// What the call answers for a listed entry: the entry itself, except that a name listed
// without records answers 9501.
bool AnswersAsListed(const ForestDnsAnswer& answered, const ForestDnsAnswer& listed)
{
    if (listed.status == 0 && listed.records.empty())
        return answered.status == kSimStatusDnsNoRecords && answered.records.empty() &&
               answered.latencyMs == listed.latencyMs;
    return answered == listed;
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
    for (const auto& entry : forest.dns) {
        FUZZ_CHECK(FoldedDomainName(entry.first) == entry.first, "a query name kept unfolded: " + FuzzShown(entry.first));
        FUZZ_CHECK(!entry.second.latencyMs || *entry.second.latencyMs <= 60000, "a latency over a minute");
        for (const ForestDnsRecord& record : entry.second.records)
            FUZZ_CHECK(!HasNul(record.target), "an SRV target with a NUL");
    }
    for (const auto& entry : forest.trusts) {
        FUZZ_CHECK(FoldedDomainName(entry.first) == entry.first, "a server name kept unfolded: " + FuzzShown(entry.first));
        for (const ForestTrust& trust : entry.second.domains) {
            FUZZ_CHECK(!trust.dnsDomainName || !HasNul(*trust.dnsDomainName), "a trust name with a NUL");
            FUZZ_CHECK(trust.trustType >= 1 && trust.trustType <= 4, "a trust type Windows doesn't have");
        }
    }
    FUZZ_CHECK(forest.latencyMs.dcname <= 60000 && forest.latencyMs.dns <= 60000 && forest.latencyMs.trusts <= 60000,
              "a latency over a minute");
}

void CheckAnswers(const Forest& forest)
{
    const ForestMachine machine = MachineAnswer(forest);
    FUZZ_CHECK(forest.machine ? machine.status == forest.machine->status : machine.status == kSimStatusNoSuchDomain,
              "the machine's answer");
    if (machine.memberOf)
        FUZZ_CHECK(machine.status == 0 || machine.status == kSimStatusNoSuchDomain, "a member of a located domain only");
    for (const auto& entry : forest.dns) {
        // Names are found in any ASCII letter case.
        std::string upper = entry.first;
        for (char& c : upper)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
        FUZZ_CHECK(AnswersAsListed(DnsAnswerFor(forest, entry.first), entry.second) &&
                       AnswersAsListed(DnsAnswerFor(forest, upper), entry.second),
                   "the answer for " + FuzzShown(entry.first));
        FUZZ_CHECK(DnsAnswerFor(forest, entry.first).status != 0 || !DnsAnswerFor(forest, entry.first).records.empty(),
                   "a success without records");
    }
    for (const auto& entry : forest.trusts)
        if (!entry.first.empty())
            FUZZ_CHECK(TrustAnswerFor(forest, entry.first.c_str()) == entry.second,
                      "the enumeration by " + FuzzShown(entry.first));
    // A null and an empty server name both address the local computer.
    FUZZ_CHECK(TrustAnswerFor(forest, nullptr) == TrustAnswerFor(forest, ""), "the local computer");
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
