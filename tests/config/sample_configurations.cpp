// The sample configurations: the three-realm sample and a fifty-realm, five-forest directory.
#include "sample_configurations.h"

const char* const kThreeRealmsText =
    "[libdefaults]\n"
    "default_realm = CORP.RIVERTON.TEST\n"
    "default_tgs_enctypes = aes256-cts-hmac-sha1-96 rc4-hmac\n"
    "forwardable = true\n"
    "\n"
    "[realms]\n"
    "LAB.ASHGROVE.TEST = {\n"
    "    kdc = kdc1.lab.ashgrove.test\n"
    "    kdc = kdc2.lab.ashgrove.test\n"
    "    kdc = kdc3.lab.ashgrove.test\n"
    "}\n"
    "CORP.RIVERTON.TEST = {\n"
    "    kdc = dc1.corp.riverton.test\n"
    "    kdc = dc2.corp.riverton.test\n"
    "}\n"
    "EU.CORP.RIVERTON.TEST = {\n"
    "    kdc = dc1.eu.corp.riverton.test\n"
    "}\n"
    "\n"
    "[capaths]\n"
    "EU.CORP.RIVERTON.TEST = {\n"
    "    LAB.ASHGROVE.TEST = CORP.RIVERTON.TEST\n"
    "}\n"
    "LAB.ASHGROVE.TEST = {\n"
    "    EU.CORP.RIVERTON.TEST = CORP.RIVERTON.TEST\n"
    "}\n"
    "\n";

namespace {

void TrustBothWays(TrustTable& trusts, const std::string& a, const std::string& b)
{
    AddTrust(trusts, a, b);
    AddTrust(trusts, b, a);
}

}  // namespace

SampleConfiguration ThreeRealms()
{
    SampleConfiguration sample;
    KdcTable& kdcs = sample.directory.kdcTable;
    AddRealm(kdcs, "corp.riverton.test", {"dc1.corp.riverton.test", "dc2.corp.riverton.test"});
    AddRealm(kdcs, "eu.corp.riverton.test", {"dc1.eu.corp.riverton.test"});
    AddRealm(kdcs, "lab.ashgrove.test", {"kdc1.lab.ashgrove.test", "kdc2.lab.ashgrove.test",
                                         "kdc3.lab.ashgrove.test", "kdc4.lab.ashgrove.test"});
    TrustBothWays(sample.directory.trustTable, "corp.riverton.test", "eu.corp.riverton.test");
    TrustBothWays(sample.directory.trustTable, "corp.riverton.test", "lab.ashgrove.test");
    sample.state.selectedItems = {"--c lab.ashgrove.test", "d-- corp.riverton.test", "-s- eu.corp.riverton.test"};
    sample.state.tgsEnctypes = "aes256-cts-hmac-sha1-96, rc4-hmac";
    sample.state.forwardableTrue = true;
    return sample;
}

SampleConfiguration FiftyRealms()
{
    // Forest f: root corp.fN.test, children cK.corp.fN.test, and grandchildren below c1.
    SampleConfiguration sample;
    RealmDirectory& directory = sample.directory;
    std::vector<std::string> roots;
    for (int f = 1; f <= 5; ++f) {
        const std::string forest = "f" + std::to_string(f) + ".test";
        const std::string root = "corp." + forest;
        roots.push_back(root);
        std::vector<std::string> realms{root};
        for (int c = 1; c <= 6; ++c) {
            const std::string child = "c" + std::to_string(c) + "." + root;
            realms.push_back(child);
            TrustBothWays(directory.trustTable, root, child);
        }
        for (int g = 1; g <= 3; ++g) {
            const std::string grandchild = "g" + std::to_string(g) + ".c1." + root;
            realms.push_back(grandchild);
            TrustBothWays(directory.trustTable, "c1." + root, grandchild);
        }
        for (std::size_t i = 0; i < realms.size(); ++i) {
            std::vector<std::string> hosts;
            for (std::size_t h = 0; h <= i % 5; ++h)
                hosts.push_back("dc" + std::to_string(h + 1) + "." + realms[i]);
            // The last grandchild of forest 5 has no KDC: selected all the same.
            if (!(f == 5 && i + 1 == realms.size()))
                AddRealm(directory.kdcTable, realms[i], hosts);
        }
        for (const std::string& realm : realms) {
            // Servers in forests 1 and 3, clients in 2, 4 and 5; every root both.
            const bool isRoot = realm == root;
            const bool server = isRoot || f == 1 || f == 3;
            const bool client = isRoot || f == 2 || f == 4 || f == 5;
            std::string item = "--- " + realm;
            if (server)
                item[1] = 's';
            if (client)
                item[2] = 'c';
            sample.state.selectedItems.push_back(item);
        }
    }
    sample.state.selectedItems[7][0] = 'd';
    // Forest trusts between roots: f1-f2, f2-f3 and f4-f5 both ways; f3 trusts f4 one way.
    TrustBothWays(directory.trustTable, roots[0], roots[1]);
    TrustBothWays(directory.trustTable, roots[1], roots[2]);
    AddTrust(directory.trustTable, roots[2], roots[3]);
    TrustBothWays(directory.trustTable, roots[3], roots[4]);
    sample.state.tgsEnctypes = "aes128-cts-hmac-sha1-96, aes256-cts-hmac-sha1-96, arcfour-hmac-md5, "
                               "arcfour-hmac-md5-exp, des-cbc-crc, des-cbc-md5, des3-cbc-sha1-kd, rc4-hmac";
    sample.state.tktEnctypes = "rc4-hmac, aes256-cts-hmac-sha1-96";
    sample.state.forwardableFalse = true;
    return sample;
}
