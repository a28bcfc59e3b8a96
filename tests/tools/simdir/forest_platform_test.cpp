// The trust walk over forest files without Windows: the demo forest, and the synthetic forests
// that tools/write-forest makes, with the number of calls of each kind.
#include "forest_platform.h"
#include "log_recorder.h"
#include "trust_walk.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

using Strings = std::vector<std::string>;
using Trusts = std::vector<std::pair<std::string, std::string>>;

struct WalkResult {
    KdcTable kdcs;
    TrustTable trusts;
    Strings log;
};

WalkResult Walk(ForestDirectory& directory)
{
    WalkResult result;
    LogRecorder recorder;
    RecordStatusLog(recorder);
    try {
        WalkTrusts(ForestPlatform(directory), result.kdcs, result.trusts);
    } catch (...) {
        StopRecordingStatusLog();  // the recorder goes away now
        throw;
    }
    StopRecordingStatusLog();
    result.log = recorder.lines;
    return result;
}

// The forest that write-forest prints for these arguments.
Forest WrittenForest(const std::string& arguments)
{
    Forest forest;
    const std::string command = "python3 " QM_WRITE_FOREST " " + arguments;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        ADD_FAILURE() << "can't run " << command;
        return forest;
    }
    std::string text;
    char chunk[65536];
    for (std::size_t read; (read = std::fread(chunk, 1, sizeof chunk, pipe)) != 0;)
        text.append(chunk, read);
    EXPECT_EQ(pclose(pipe), 0) << command;
    std::string error;
    EXPECT_TRUE(ParseForest(text, forest, error)) << command << ": " << error;
    return forest;
}

}  // namespace

// The realms and log lines the demo window shows.
TEST(ForestPlatform, DemoForestGivesSixRealmsAndBothKindsOfWarning)
{
    ForestDirectory directory;
    std::string error;
    ASSERT_TRUE(ReadForestFile(QM_FORESTS_DIR "/demo.json", directory.forest, error)) << error;
    const WalkResult walk = Walk(directory);

    const KdcTable expectedKdcs{
        {"apac.corp.riverton.test", {"dc1.apac.corp.riverton.test"}},
        {"corp.riverton.test", {"dc1.corp.riverton.test", "dc2.corp.riverton.test"}},
        {"eu.corp.riverton.test", {"dc1.eu.corp.riverton.test"}},
        {"lab.ashgrove.test",
         {"kdc1.lab.ashgrove.test", "kdc2.lab.ashgrove.test", "kdc3.lab.ashgrove.test", "kdc4.lab.ashgrove.test"}},
        {"oakvale.test", {"dc1.oakvale.test", "dc2.oakvale.test"}},
        {"partners.quayside.test", {"kdc.partners.quayside.test"}},
    };
    EXPECT_EQ(walk.kdcs, expectedKdcs);
    const Trusts expectedTrusts{
        {"apac.corp.riverton.test", "corp.riverton.test"}, {"corp.riverton.test", "eu.corp.riverton.test"},
        {"corp.riverton.test", "apac.corp.riverton.test"}, {"corp.riverton.test", "oakvale.test"},
        {"corp.riverton.test", "lab.ashgrove.test"},       {"eu.corp.riverton.test", "corp.riverton.test"},
        {"lab.ashgrove.test", "corp.riverton.test"},       {"oakvale.test", "corp.riverton.test"},
    };
    EXPECT_EQ(Trusts(walk.trusts.begin(), walk.trusts.end()), expectedTrusts);
    EXPECT_EQ(walk.log, (Strings{
                            "Warning: Can't get KDC for domain oldmill.test. Reason: DNS server failure.\r\n",
                            "Warning: Can't get trust info for domain apac.corp.riverton.test. Reason: The RPC "
                            "server is unavailable.\r\n",
                        }));
}

// Realms: 12 in the forest, 2 external, 2 trusted forests of 3. Every one of them but the site's
// own costs a site query that answers 9003 and a domain-wide query.
TEST(ForestPlatform, WrittenForestIsWalkedWithTheFewestCalls)
{
    ForestDirectory directory;
    directory.forest =
        WrittenForest("--domains 12 --trees 3 --external 2 --forest-trusts 2 --forest-trust-domains 3");
    const WalkResult walk = Walk(directory);
    EXPECT_EQ(walk.kdcs.size(), 20u);
    EXPECT_EQ(walk.kdcs.at("tree0.test"), Strings{"dc1.tree0.test"});  // the site's answer
    EXPECT_EQ(walk.kdcs.at("d5.tree2.test"), (Strings{"dc1.d5.tree2.test", "dc2.d5.tree2.test"}));
    EXPECT_EQ(walk.kdcs.count("ext1.test"), 1u);
    EXPECT_EQ(walk.kdcs.count("d2.ft1.test"), 1u);
    // Both directions of 11 links in the forest, 2 forest trusts and 2 links in each trusted forest.
    EXPECT_EQ(walk.trusts.size(), 2u * (11 + 2 + 2 * 2));
    EXPECT_TRUE(walk.log.empty());
    EXPECT_EQ(directory.getDcNameCalls, 1u);
    EXPECT_EQ(directory.querySrvCalls, 1u + 2u * 19);
    EXPECT_EQ(directory.enumerateTrustsCalls, 12u + 2 * 3);
}

// d4 and d5 fail their KDC lookups at each listing before they are expanded (by tree0, d1, d2),
// d3's enumeration fails, and d4 and d5 have no KDC to ask.
TEST(ForestPlatform, WrittenFailuresBecomeWarnings)
{
    ForestDirectory directory;
    directory.forest = WrittenForest("--domains 6 --site '' --fail-kdc 2 --fail-trusts 1");
    const WalkResult walk = Walk(directory);
    EXPECT_EQ(walk.kdcs.size(), 4u);
    const std::string kdcWarning = "Warning: Can't get KDC for domain ";
    const std::string trustWarning = "Warning: Can't get trust info for domain ";
    Strings expected;
    for (int listing = 0; listing < 3; ++listing) {
        expected.push_back(kdcWarning + "d4.tree0.test. Reason: DNS server failure.\r\n");
        expected.push_back(kdcWarning + "d5.tree0.test. Reason: DNS server failure.\r\n");
    }
    expected.push_back(trustWarning + "d3.tree0.test. Reason: The RPC server is unavailable.\r\n");
    for (const char* domain : {"d4.tree0.test", "d5.tree0.test"})
        expected.push_back(trustWarning + domain +
                           ". Reason: There are currently no logon servers available to service the logon "
                           "request.\r\n");
    EXPECT_EQ(walk.log, expected);
    EXPECT_EQ(directory.querySrvCalls, 4u + 6u);  // no site: one query per lookup
}

TEST(ForestPlatform, WrittenMachineStatusesAreKept)
{
    ForestDirectory inNoDomain;
    inNoDomain.forest = WrittenForest("--domains 2 --machine-status 1355");
    EXPECT_THROW(Walk(inNoDomain), DiscoveryFailure);

    ForestDirectory child;
    child.forest = WrittenForest("--domains 3 --machine-domain 2 --site ''");
    const ForestMachine machine = MachineAnswer(child.forest);
    EXPECT_EQ(machine.domain, "d2.tree0.test");
    EXPECT_FALSE(machine.site);
    EXPECT_EQ(Walk(child).kdcs.size(), 3u);
}
