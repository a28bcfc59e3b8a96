// Benchmark: generation for a large forest plus many forests joined by forest trusts, at a few sizes.
//
// Every realm is selected and marked server and client. Prints, per size, the time of the
// whole generation and the size of its text; the time per output byte must not grow with
// the size. Also prints what the same capaths cost with one search per realm pair.
#include "config_generation.h"
#include "cross_realm_paths.h"

#include <chrono>
#include <cstdio>
#include <set>
#include <sstream>
#include <string>

namespace {

struct Scenario {
    RealmDirectory directory;
    DialogState state;
};

void Link(TrustTable& trusts, const std::string& a, const std::string& b)
{
    AddTrust(trusts, a, b);
    AddTrust(trusts, b, a);
}

// A forest of `count` realms under `root`, each domain with up to eight child domains.
void AddForest(Scenario& scenario, const std::string& root, int count)
{
    std::vector<std::string> realms{root};
    for (int i = 1; i < count; ++i) {
        const std::string parent = realms[static_cast<std::size_t>((i - 1) / 8)];
        realms.push_back("d" + std::to_string(i) + "." + parent);
        Link(scenario.directory.trustTable, parent, realms.back());
    }
    for (const std::string& realm : realms) {
        AddRealm(scenario.directory.kdcTable, realm, {"dc1." + realm, "dc2." + realm});
        scenario.state.selectedItems.push_back("-sc " + realm);
    }
}

Scenario MakeScenario(int bigForest, int forests)
{
    Scenario scenario;
    AddForest(scenario, "corp.big.test", bigForest);
    for (int f = 0; f < forests; ++f) {
        const std::string root = "corp.forest" + std::to_string(f) + ".test";
        AddForest(scenario, root, 5);
        Link(scenario.directory.trustTable, "corp.big.test", root);
        if (f > 0)
            Link(scenario.directory.trustTable, root, "corp.forest" + std::to_string(f - 1) + ".test");
    }
    scenario.state.selectedItems[0][0] = 'd';
    scenario.state.tgsEnctypes = "aes256-cts-hmac-sha1-96, aes128-cts-hmac-sha1-96";
    scenario.state.forwardableTrue = true;
    return scenario;
}

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// The capaths relations of every realm pair, one FindTrustPath per pair.
std::size_t PerPairRelations(const Scenario& scenario)
{
    std::vector<std::string> realms;
    for (const std::string& item : scenario.state.selectedItems)
        realms.push_back(item.substr(4));
    std::size_t relations = 0;
    for (const std::string& source : realms)
        for (const std::string& target : realms) {
            std::vector<std::string> path;
            FindTrustPath(scenario.directory.trustTable, target, source, path);
            relations += path.size();
        }
    return relations;
}

}  // namespace

int main()
{
    std::printf("%8s %8s %12s %14s %12s %14s\n", "realms", "trusts", "seconds", "text bytes", "ns/byte",
                "per-pair s");
    const int sizes[][2] = {{63, 3}, {125, 5}, {250, 10}, {500, 20}};
    for (const auto& size : sizes) {
        const Scenario scenario = MakeScenario(size[0], size[1]);
        const auto start = std::chrono::steady_clock::now();
        std::ostringstream out;
        GenerateConfigText(scenario.state, scenario.directory, ConfigTextWriter{out});
        const double seconds = Seconds(start);
        const std::size_t bytes = out.str().size();
        // The per-pair search grows with pairs times the directory: measured on the smaller sizes only.
        std::string perPair = "-";
        if (size[0] <= 250) {
            const auto pairStart = std::chrono::steady_clock::now();
            const std::size_t relations = PerPairRelations(scenario);
            perPair = std::to_string(Seconds(pairStart)) + (relations > 0 ? "" : " (none)");
        }
        std::printf("%8zu %8zu %12.3f %14zu %12.1f %14s\n", scenario.directory.kdcTable.size(),
                    scenario.directory.trustTable.size(), seconds, bytes, seconds * 1e9 / static_cast<double>(bytes),
                    perPair.c_str());
    }
    return 0;
}
