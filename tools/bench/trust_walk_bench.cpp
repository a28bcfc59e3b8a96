// The trust walk on synthetic forests: the platform calls of each kind and the time per walk.
//
// Usage: trust_walk_bench [--check] [DOMAINS...]   (default sizes 1 10 100 1000)
// Each forest has DOMAINS domains in one forest, a tree in which every domain has a two-way trust
// with its parent; every enumeration lists every forest domain, and a tenth of the forest size (at
// least one) of external domains, each trusted by two forest domains. The machine is in the last
// domain and in a site whose KDC records exist for every third domain. With --check the program
// exits non-zero unless the counts are the minimum (the times are never checked).
#include "log_recorder.h"
#include "scripted_directory.h"
#include "trust_walk.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kSelfFlags = kDsDomainInForest | 0x8 | 0x10;
constexpr std::uint32_t kTreeRootFlag = 0x4;
const std::string kSite = "Bench-Site";

struct Forest {
    std::size_t domains = 0;
    std::size_t externals = 0;
    std::vector<std::string> names;  // the forest domains, then the external domains
    std::size_t siteDomains = 0;     // realms with site-specific KDC records
    ScriptedDirectory directory;
};

std::size_t Parent(std::size_t i)
{
    return (i - 1) / 4;
}

bool HasSiteKdcs(std::size_t i)
{
    return i % 3 == 0;
}

std::string FirstKdc(const Forest& forest, std::size_t i)
{
    return (i < forest.domains && HasSiteKdcs(i) ? "site-dc." : "dc1.") + forest.names[i];
}

Forest MakeForest(std::size_t domains)
{
    Forest forest;
    forest.domains = domains;
    forest.externals = std::max<std::size_t>(1, domains / 10);
    for (std::size_t i = 0; i < domains; ++i)
        forest.names.push_back(i == 0 ? "bench.test" : "d" + std::to_string(i) + "." + forest.names[Parent(i)]);
    for (std::size_t j = 0; j < forest.externals; ++j)
        forest.names.push_back("ext" + std::to_string(j) + ".partner.test");

    ScriptedDirectory& directory = forest.directory;
    SetMachine(directory, forest.names[domains - 1], kSite);
    for (std::size_t i = 0; i < forest.names.size(); ++i) {
        const std::string& name = forest.names[i];
        SetKdcs(directory, name, {"dc1." + name, "dc2." + name});
        if (i < domains && HasSiteKdcs(i)) {
            SetSiteKdcs(directory, kSite, name, {"site-dc." + name});
            ++forest.siteDomains;
        }
    }
    // External j is trusted by forest domains (7j) mod n and (7j + 1) mod n.
    std::map<std::size_t, std::vector<TrustRecordCopy>> externalRecords;
    for (std::size_t j = 0; j < forest.externals; ++j) {
        const std::string& external = forest.names[domains + j];
        externalRecords[(7 * j) % domains].push_back(TrustRecord(external, kDsDomainDirectOutbound));
        externalRecords[(7 * j + 1) % domains].push_back(TrustRecord(external, kDsDomainDirectOutbound));
    }
    for (std::size_t i = 0; i < domains; ++i) {
        std::vector<TrustRecordCopy> records;
        records.reserve(domains + 2);
        for (std::size_t k = 0; k < domains; ++k) {
            std::uint32_t flags = kDsDomainInForest;
            if (k == i)
                flags = kSelfFlags;
            else if ((k > 0 && Parent(k) == i) || (i > 0 && Parent(i) == k))
                flags |= kDsDomainDirectOutbound | kDsDomainDirectInbound;
            if (k == 0)
                flags |= kTreeRootFlag;
            records.push_back(TrustRecord(forest.names[k], flags));
        }
        for (const TrustRecordCopy& record : externalRecords[i])
            records.push_back(record);
        SetTrusts(directory, FirstKdc(forest, i), records);
    }
    return forest;
}

struct Figures {
    std::size_t dcName = 0;
    std::size_t siteQueries = 0;
    std::size_t domainQueries = 0;
    std::size_t enumerations = 0;
    std::size_t realms = 0;
    std::size_t trusts = 0;
    std::size_t warnings = 0;
    std::size_t repeatedLookups = 0;  // the lookups a walk that repeats known realms would make
    std::size_t mostQueriesOfOneName = 0;
    bool everyDomainEnumeratedOnce = false;
    double bestSeconds = 0;
    double meanSeconds = 0;
    std::size_t runs = 0;
};

Figures Measure(Forest& forest)
{
    Figures figures;
    const DirectoryPlatform platform = ScriptedPlatform(forest.directory);
    const std::size_t runs = std::min<std::size_t>(200, std::max<std::size_t>(3, 1000 / forest.domains));
    double total = 0;
    for (std::size_t run = 0; run < runs; ++run) {
        forest.directory.calls.clear();
        LogRecorder log;
        RecordStatusLog(log);
        KdcTable kdcs;
        TrustTable trusts;
        const auto start = std::chrono::steady_clock::now();
        WalkTrusts(platform, kdcs, trusts);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        StopRecordingStatusLog();
        total += elapsed.count();
        if (run == 0 || elapsed.count() < figures.bestSeconds)
            figures.bestSeconds = elapsed.count();
        figures.realms = kdcs.size();
        figures.trusts = trusts.size();
        figures.warnings = log.lines.size();
    }
    figures.runs = runs;
    figures.meanSeconds = total / static_cast<double>(runs);

    const ScriptedDirectory& directory = forest.directory;
    std::map<std::string, std::size_t> queries;
    for (const RecordedCall& call : directory.calls) {
        switch (call.kind) {
        case DirectoryCall::GetDcName:
            ++figures.dcName;
            break;
        case DirectoryCall::QuerySrv:
            ++queries[call.argument];
            ++(call.argument.find("._sites.") != std::string::npos ? figures.siteQueries : figures.domainQueries);
            break;
        case DirectoryCall::EnumerateTrusts:
            ++figures.enumerations;
            break;
        case DirectoryCall::GetPrimaryDomain:  // asked only when the machine's domain is out of reach
            break;
        }
    }
    for (const auto& entry : queries)
        figures.mostQueriesOfOneName = std::max(figures.mostQueriesOfOneName, entry.second);

    // Each forest domain enumerated once, at its first KDC; and what a walk that looks known realms
    // up again would look up: the machine's domain, then every listed name not yet visited, at each listing.
    std::map<std::string, std::size_t> servers;
    for (std::size_t i = 0; i < forest.domains; ++i)
        servers[FirstKdc(forest, i)] = 0;
    std::set<std::string> visited;
    figures.repeatedLookups = 1;
    bool once = true;
    for (const RecordedCall& call : directory.calls) {
        if (call.kind != DirectoryCall::EnumerateTrusts)
            continue;
        const auto server = servers.find(call.argument);
        if (server == servers.end() || ++server->second != 1)
            once = false;
        visited.insert(call.argument.substr(call.argument.find('.') + 1));
        for (const TrustRecordCopy& record : directory.trusts.at(call.argument).records)
            if (visited.count(*record.dnsDomainName) == 0)
                ++figures.repeatedLookups;
    }
    for (const auto& server : servers)
        once = once && server.second == 1;
    figures.everyDomainEnumeratedOnce = once;
    return figures;
}

int failures = 0;

void Expect(bool holds, std::size_t domains, const char* what, std::size_t actual, std::size_t expected)
{
    if (holds)
        return;
    ++failures;
    std::printf("FAILED for %zu domains: %s is %zu, expected %zu\n", domains, what, actual, expected);
}

void Check(const Forest& forest, const Figures& figures)
{
    const std::size_t n = forest.domains;
    const std::size_t realms = n + forest.externals;
    Expect(figures.dcName == 1, n, "domain locations", figures.dcName, 1);
    Expect(figures.siteQueries == realms, n, "site KDC queries", figures.siteQueries, realms);
    Expect(figures.domainQueries == realms - forest.siteDomains, n, "domain-wide KDC queries (site fallbacks)",
           figures.domainQueries, realms - forest.siteDomains);
    Expect(figures.mostQueriesOfOneName == 1, n, "most queries of one name", figures.mostQueriesOfOneName, 1);
    Expect(figures.enumerations == n, n, "enumerations", figures.enumerations, n);
    Expect(figures.everyDomainEnumeratedOnce, n, "every forest domain enumerated once at its first KDC",
           figures.everyDomainEnumeratedOnce, 1);
    Expect(figures.realms == realms, n, "realms found", figures.realms, realms);
    Expect(figures.trusts == 2 * (n - 1), n, "trust entries", figures.trusts, 2 * (n - 1));
    Expect(figures.warnings == 0, n, "warnings", figures.warnings, 0);
}

}  // namespace

int main(int argc, char** argv)
{
    bool check = false;
    std::vector<std::size_t> sizes;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--check") {
            check = true;
            continue;
        }
        const long value = std::strtol(argument.c_str(), nullptr, 10);
        if (value < 1) {
            std::fprintf(stderr, "usage: trust_walk_bench [--check] [DOMAINS...]\n");
            return 2;
        }
        sizes.push_back(static_cast<std::size_t>(value));
    }
    if (sizes.empty())
        sizes = {1, 10, 100, 1000};

    std::printf("%8s %9s %6s %6s | %6s %9s %11s %12s | %13s | %12s %12s %5s\n", "domains", "externals", "realms",
                "trusts", "dcname", "srv-site", "srv-domain", "enumerations", "repeat-lookups", "best-ms", "mean-ms",
                "runs");
    for (const std::size_t domains : sizes) {
        Forest forest = MakeForest(domains);
        const Figures figures = Measure(forest);
        std::printf("%8zu %9zu %6zu %6zu | %6zu %9zu %11zu %12zu | %13zu | %12.3f %12.3f %5zu\n", domains,
                    forest.externals, figures.realms, figures.trusts, figures.dcName, figures.siteQueries,
                    figures.domainQueries, figures.enumerations, figures.repeatedLookups,
                    figures.bestSeconds * 1000, figures.meanSeconds * 1000, figures.runs);
        if (check)
            Check(forest, figures);
    }
    std::printf("srv-site + srv-domain are the KDC queries made; repeat-lookups is how many KDC lookups the\n"
                "walk would make if it looked known realms up again (each a site query, plus a fallback where needed).\n");
    if (check) {
        std::printf("%s\n", failures == 0 ? "counts: all minimal" : "counts: NOT minimal");
        return failures == 0 ? 0 : 1;
    }
    return 0;
}
