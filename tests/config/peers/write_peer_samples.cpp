// Writes the sample configurations as generated, each beside the facts a Kerberos reader must find in it.
//
// Facts are one per line, in any order: "section NAME", "libdefaults TAG VALUE...",
// "realm NAME [kdc HOST...]", "capaths CLIENT SERVICE INTERMEDIATE..." and "domain_realm DOMAIN REALM". They are derived
// from the sample's directory and dialog state, not from the generated text.
#include "config_generation.h"
#include "enctype_names.h"
#include "trust_path_reference.h"
#include "upper_case.h"
#include "forest_platform.h"
#include "sample_configurations.h"
#include "trust_walk.h"

#include <fstream>
#include <iostream>
#include <set>
#include <sstream>

namespace {

// The names of a chooser list, each with a blank before it; Heimdal's line keeps those it knows.
std::string Words(const std::string& text, bool heimdalOnly = false)
{
    std::string joined;
    std::string word;
    std::istringstream in(text);
    while (in >> word) {
        if (word.back() == ',')
            word.pop_back();
        if (!heimdalOnly || HeimdalKnowsEncType(word))
            joined += " " + word;
    }
    return joined;
}

std::vector<std::string> Facts(const SampleConfiguration& sample)
{
    std::vector<std::string> facts{"section libdefaults", "section realms"};
    std::vector<std::string> servers;
    std::vector<std::string> clients;
    std::string defaultRealm;
    for (const std::string& item : sample.state.selectedItems) {
        const std::string name = item.substr(4);
        if (item[0] == 'd')
            defaultRealm = name;
        if (item[1] == 's')
            servers.push_back(name);
        if (item[2] == 'c')
            clients.push_back(name);
        std::string fact = "realm " + ToUpperCopy(name);
        auto found = sample.directory.kdcTable.find(name);
        if (found != sample.directory.kdcTable.end()) {
            fact += " kdc";
            for (std::size_t i = 0; i < found->second.size() && i < 3; ++i)
                fact += " " + found->second[i];
        }
        facts.push_back(fact);
        if (sample.state.heimdalClients || sample.state.javaClients) {
            facts.push_back("domain_realm ." + name + " " + ToUpperCopy(name));
            facts.push_back("domain_realm " + name + " " + ToUpperCopy(name));
        }
    }
    if (sample.state.heimdalClients || sample.state.javaClients)
        facts.push_back("section domain_realm");
    if (sample.state.javaClients)
        facts.push_back("libdefaults udp_preference_limit 1");
    if (sample.state.heimdalClients && !Words(sample.state.tgsEnctypes, true).empty())
        facts.push_back("libdefaults default_tgs_etypes" + Words(sample.state.tgsEnctypes, true));
    if (sample.state.heimdalClients && !Words(sample.state.tktEnctypes, true).empty())
        facts.push_back("libdefaults default_as_etypes" + Words(sample.state.tktEnctypes, true));
    facts.push_back("libdefaults default_realm " + ToUpperCopy(defaultRealm));
    if (!sample.state.tgsEnctypes.empty())
        facts.push_back("libdefaults default_tgs_enctypes" + Words(sample.state.tgsEnctypes));
    if (!sample.state.tktEnctypes.empty())
        facts.push_back("libdefaults default_tkt_enctypes" + Words(sample.state.tktEnctypes));
    facts.push_back(std::string("libdefaults forwardable ") + (sample.state.forwardableFalse ? "false" : "true"));

    // A client realm's users reach a service realm along trusts service -> ... -> client.
    std::set<std::pair<std::string, std::string>> routes;
    auto addRoute = [&](const std::string& client, const std::string& service) {
        std::vector<std::string> path;
        FindTrustPath(sample.directory.trustTable, service, client, path);
        if (path.empty() || !routes.emplace(client, service).second)
            return;
        std::string fact = "capaths " + ToUpperCopy(client) + " " + ToUpperCopy(service);
        for (const std::string& realm : path)
            fact += " " + ToUpperCopy(realm);
        facts.push_back(fact);
    };
    for (const std::string& server : servers) {
        for (const std::string& client : clients)
            addRoute(server, client);
        for (const std::string& other : servers)
            addRoute(server, other);
    }
    for (const std::string& client : clients)
        for (const std::string& server : servers)
            addRoute(client, server);
    if (!routes.empty())
        facts.push_back("section capaths");
    return facts;
}

bool WriteSample(const std::string& folder, const std::string& name, const SampleConfiguration& sample)
{
    std::ofstream conf(folder + "/" + name + ".conf", std::ios::binary);
    GenerateConfigText(sample.state, sample.directory, ConfigTextWriter{conf});
    std::ofstream facts(folder + "/" + name + ".facts", std::ios::binary);
    for (const std::string& fact : Facts(sample))
        facts << fact << '\n';
    return conf.good() && facts.good();
}

// The selective-authentication forest walked as the program walks it, every realm selected:
// EU's users reach the partner forests' child domains, whose services are marked.
bool SelectiveAuthentication(SampleConfiguration& sample)
{
    ForestDirectory forest;
    std::string error;
    if (!ReadForestFile(QM_SELECTIVE_AUTHENTICATION_FOREST, forest.forest, error)) {
        std::cerr << "write_peer_samples: " << QM_SELECTIVE_AUTHENTICATION_FOREST << ": " << error << "\n";
        return false;
    }
    WalkTrusts(ForestPlatform(forest), sample.directory.kdcTable, sample.directory.trustTable);
    const std::set<std::string> services = {"north.fenwick.test", "south.fenwick.test", "lab.corbel.test"};
    for (const auto& realm : sample.directory.kdcTable) {
        const bool client = realm.first == "eu.alderbank.test";
        const std::string marks = std::string(client ? "d" : "-") + (services.count(realm.first) != 0 ? "s" : "-") +
                                  (client ? "c" : "-") + " ";
        sample.state.selectedItems.push_back(marks + realm.first);
    }
    sample.state.tktEnctypes = "aes256-cts-hmac-sha1-96, aes128-cts-hmac-sha1-96";
    sample.state.forwardableTrue = true;
    // Seven realms in three forests, and a route from EU to each marked service realm.
    return sample.state.selectedItems.size() == 7 && !sample.directory.trustTable.empty();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: write_peer_samples FOLDER\n";
        return 2;
    }
    SampleConfiguration selective;
    if (!SelectiveAuthentication(selective)) {
        std::cerr << "write_peer_samples: the selective-authentication forest is not walked as it should be\n";
        return 1;
    }
    // The fifty realms for every client family at once: MIT's capaths layout, and every family's lines.
    SampleConfiguration allFamilies = FiftyRealms();
    allFamilies.state.heimdalClients = true;
    allFamilies.state.javaClients = true;
    const bool written = WriteSample(argv[1], "three_realms", ThreeRealms()) &&
                         WriteSample(argv[1], "fifty_realms", FiftyRealms()) &&
                         WriteSample(argv[1], "all_families", allFamilies) &&
                         WriteSample(argv[1], "selective_authentication", selective);
    if (!written)
        std::cerr << "write_peer_samples: cannot write into " << argv[1] << "\n";
    return written ? 0 : 1;
}
