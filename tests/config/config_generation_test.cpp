// Generation from dialog state and directory: sections, realm entries, enctype lists, capaths.
#include "config_generation.h"
#include "crlf_lines.h"

#include "sample_configurations.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::string Generate(const DialogState& state, const RealmDirectory& directory, std::size_t* referralRoutes = nullptr)
{
    std::ostringstream out;
    const std::size_t routes = GenerateConfigText(state, directory, ConfigTextWriter{out});
    if (referralRoutes != nullptr)
        *referralRoutes = routes;
    return out.str();
}

DialogState Selecting(const std::vector<std::string>& items)
{
    DialogState state;
    state.selectedItems = items;
    return state;
}

// Two forests joined through their roots, both ways.
RealmDirectory TwoForests()
{
    RealmDirectory directory;
    for (const char* realm : {"corp.one.test", "a.corp.one.test", "corp.two.test", "b.corp.two.test"})
        AddRealm(directory.kdcTable, realm, {std::string("kdc.") + realm});
    for (const auto& link : std::vector<std::pair<std::string, std::string>>{
             {"corp.one.test", "a.corp.one.test"}, {"corp.two.test", "b.corp.two.test"}, {"corp.one.test", "corp.two.test"}}) {
        AddTrust(directory.trustTable, link.first, link.second);
        AddTrust(directory.trustTable, link.second, link.first);
    }
    return directory;
}

}  // namespace

TEST(ConfigGeneration, ThreeRealmSampleByteForByte)
{
    const SampleConfiguration sample = ThreeRealms();
    EXPECT_EQ(Generate(sample.state, sample.directory), kThreeRealmsText);
}

TEST(ConfigGeneration, LibdefaultsHoldOnlyWhatIsSet)
{
    const RealmDirectory none;
    EXPECT_EQ(Generate(DialogState{}, none), "");
    DialogState state;
    state.forwardableFalse = true;
    EXPECT_EQ(Generate(state, none), "[libdefaults]\nforwardable = false\n\n");
    // "False" wins when both buttons read checked.
    state.forwardableTrue = true;
    EXPECT_EQ(Generate(state, none), "[libdefaults]\nforwardable = false\n\n");
    state = DialogState{};
    state.forwardableTrue = true;
    state.tktEnctypes = "rc4-hmac";
    EXPECT_EQ(Generate(state, none), "[libdefaults]\ndefault_tkt_enctypes = rc4-hmac\nforwardable = true\n\n");
}

TEST(ConfigGeneration, EnctypeNamesAreJoinedBySingleSpaces)
{
    const RealmDirectory none;
    DialogState state;
    state.tgsEnctypes = "aes128-cts-hmac-sha1-96, aes256-cts-hmac-sha1-96, arcfour-hmac-md5, arcfour-hmac-md5-exp, "
                        "des-cbc-crc, des-cbc-md5, des3-cbc-sha1-kd, rc4-hmac";
    state.tktEnctypes = " ,rc4-hmac,,des-cbc-md5  aes256-cts-hmac-sha1-96, ";
    EXPECT_EQ(Generate(state, none),
              "[libdefaults]\n"
              "default_tgs_enctypes = aes128-cts-hmac-sha1-96 aes256-cts-hmac-sha1-96 arcfour-hmac-md5 "
              "arcfour-hmac-md5-exp des-cbc-crc des-cbc-md5 des3-cbc-sha1-kd rc4-hmac\n"
              "default_tkt_enctypes = rc4-hmac des-cbc-md5 aes256-cts-hmac-sha1-96\n"
              "\n");
    // Separators alone name nothing: no relation with an empty value.
    state.tgsEnctypes = ", ,";
    state.tktEnctypes = " ";
    EXPECT_EQ(Generate(state, none), "");
}

TEST(ConfigGeneration, RealmEntries)
{
    RealmDirectory directory;
    AddRealm(directory.kdcTable, "Mixed.Case.test", {"DC1.Mixed.Case.test", "dc2", "dc3", "dc4", "dc5"});
    AddRealm(directory.kdcTable, "other.test", {"kdc.other.test"});
    // Names upper-cased, host names as stored, at most three KDCs, list order kept.
    EXPECT_EQ(Generate(Selecting({"--- other.test", "d-- Mixed.Case.test"}), directory),
              "[libdefaults]\ndefault_realm = MIXED.CASE.TEST\n\n"
              "[realms]\n"
              "OTHER.TEST = {\n    kdc = kdc.other.test\n}\n"
              "MIXED.CASE.TEST = {\n    kdc = DC1.Mixed.Case.test\n    kdc = dc2\n    kdc = dc3\n}\n"
              "\n");
    // A realm unknown to the directory still gets its entry, with no kdc relation; lookups are case-sensitive.
    EXPECT_EQ(Generate(Selecting({"--- OTHER.TEST"}), directory), "[realms]\nOTHER.TEST = {\n}\n\n");
    // Should two items carry the default mark, the last one is taken.
    const std::string twoDefaults = Generate(Selecting({"d-- other.test", "d-- Mixed.Case.test"}), directory);
    EXPECT_EQ(twoDefaults.substr(0, twoDefaults.find("[realms]")), "[libdefaults]\ndefault_realm = MIXED.CASE.TEST\n\n");
    // An item too short to hold a name cannot be written as a realm.
    EXPECT_EQ(Generate(Selecting({"d--", "d-- "}), directory), "");
}

TEST(ConfigGeneration, CapathsOnlyWhereAPathHasIntermediates)
{
    const RealmDirectory directory = TwoForests();
    // Default only: no capaths.
    EXPECT_EQ(Generate(Selecting({"d-- a.corp.one.test", "--- b.corp.two.test"}), directory).find("[capaths]"),
              std::string::npos);
    // A direct trust and a same-tree pair need no entry.
    EXPECT_EQ(Generate(Selecting({"-s- corp.one.test", "--c corp.two.test", "--c a.corp.one.test"}), directory)
                  .find("[capaths]"),
              std::string::npos);
}

TEST(ConfigGeneration, ServerSubsectionsComeFirstAndCoverClientsThenServers)
{
    const RealmDirectory directory = TwoForests();
    const std::string text = Generate(
        Selecting({"--c a.corp.one.test", "-s- b.corp.two.test", "-s- corp.one.test", "-sc corp.two.test"}), directory);
    const std::string capaths = text.substr(text.find("[capaths]"));
    EXPECT_EQ(capaths,
              "[capaths]\n"
              // b's targets: clients a, corp.two (same tree), then servers corp.one (reached via corp.two).
              "B.CORP.TWO.TEST = {\n"
              "    A.CORP.ONE.TEST = CORP.TWO.TEST\n"
              "    A.CORP.ONE.TEST = CORP.ONE.TEST\n"
              "    CORP.ONE.TEST = CORP.TWO.TEST\n"
              "}\n"
              "CORP.ONE.TEST = {\n"
              "    B.CORP.TWO.TEST = CORP.TWO.TEST\n"
              "}\n"
              // Server and client at once: one subsection, made while handling servers.
              "CORP.TWO.TEST = {\n"
              "    A.CORP.ONE.TEST = CORP.ONE.TEST\n"
              "}\n"
              // The client-only realm reaches the server realms only.
              "A.CORP.ONE.TEST = {\n"
              "    B.CORP.TWO.TEST = CORP.ONE.TEST\n"
              "    B.CORP.TWO.TEST = CORP.TWO.TEST\n"
              "    CORP.TWO.TEST = CORP.ONE.TEST\n"
              "}\n"
              "\n");
}

TEST(ConfigGeneration, ServersOnlyGetPathsAmongThemselves)
{
    const std::string text = Generate(Selecting({"-s- a.corp.one.test", "-s- b.corp.two.test"}), TwoForests());
    EXPECT_EQ(text.substr(text.find("[capaths]")),
              "[capaths]\n"
              "A.CORP.ONE.TEST = {\n    B.CORP.TWO.TEST = CORP.ONE.TEST\n    B.CORP.TWO.TEST = CORP.TWO.TEST\n}\n"
              "B.CORP.TWO.TEST = {\n    A.CORP.ONE.TEST = CORP.TWO.TEST\n    A.CORP.ONE.TEST = CORP.ONE.TEST\n}\n"
              "\n");
}

// a's users reach b through corp.one and corp.two, and b's reach a the other way round.
TEST(ConfigGeneration, EachClientFamilyAddsItsLines)
{
    DialogState state = Selecting({"d-c a.corp.one.test", "--- Corp.Two.test", "-s- b.corp.two.test"});
    // Heimdal's parser knows neither des3-cbc-sha1-kd nor arcfour-hmac-md5-exp: a list of those alone
    // gives no Heimdal line.
    state.tgsEnctypes = "des3-cbc-sha1-kd, rc4-hmac, arcfour-hmac-md5-exp, aes256-cts-hmac-sha1-96";
    state.tktEnctypes = "arcfour-hmac-md5-exp, des3-cbc-sha1-kd";
    const std::string libdefaults = "[libdefaults]\ndefault_realm = A.CORP.ONE.TEST\n"
                                    "default_tgs_enctypes = des3-cbc-sha1-kd rc4-hmac arcfour-hmac-md5-exp "
                                    "aes256-cts-hmac-sha1-96\n";
    const std::string realms = "[realms]\nA.CORP.ONE.TEST = {\n    kdc = kdc.a.corp.one.test\n}\n"
                               "CORP.TWO.TEST = {\n}\nB.CORP.TWO.TEST = {\n    kdc = kdc.b.corp.two.test\n}\n\n";
    const std::string mitCapaths = "[capaths]\n"
                                   "B.CORP.TWO.TEST = {\n    A.CORP.ONE.TEST = CORP.TWO.TEST\n"
                                   "    A.CORP.ONE.TEST = CORP.ONE.TEST\n}\n"
                                   "A.CORP.ONE.TEST = {\n    B.CORP.TWO.TEST = CORP.ONE.TEST\n"
                                   "    B.CORP.TWO.TEST = CORP.TWO.TEST\n}\n\n";
    // The DNS names in lower case, each realm as [realms] writes it, in list order.
    const std::string domainRealm = "[domain_realm]\n.a.corp.one.test = A.CORP.ONE.TEST\na.corp.one.test = A.CORP.ONE.TEST\n"
                                    ".corp.two.test = CORP.TWO.TEST\ncorp.two.test = CORP.TWO.TEST\n"
                                    ".b.corp.two.test = B.CORP.TWO.TEST\nb.corp.two.test = B.CORP.TWO.TEST\n\n";
    const std::string tkt = "default_tkt_enctypes = arcfour-hmac-md5-exp des3-cbc-sha1-kd\n";
    std::size_t referralRoutes = 1;

    state.mitClients = false;
    state.javaClients = true;
    EXPECT_EQ(Generate(state, TwoForests(), &referralRoutes),
              libdefaults + tkt + "udp_preference_limit = 1\n\n" + realms + mitCapaths + domainRealm);
    EXPECT_EQ(referralRoutes, 0u);

    // Each realm's hop before it, once: b = corp.two, then corp.two = corp.one under a.
    state.javaClients = false;
    state.heimdalClients = true;
    EXPECT_EQ(Generate(state, TwoForests()),
              libdefaults + "default_tgs_etypes = rc4-hmac aes256-cts-hmac-sha1-96\n" + tkt + "\n" + realms +
                  "[capaths]\n"
                  "B.CORP.TWO.TEST = {\n    A.CORP.ONE.TEST = CORP.ONE.TEST\n    CORP.ONE.TEST = CORP.TWO.TEST\n}\n"
                  "A.CORP.ONE.TEST = {\n    B.CORP.TWO.TEST = CORP.TWO.TEST\n    CORP.TWO.TEST = CORP.ONE.TEST\n}\n\n" +
                  domainRealm);

    // Both: MIT's layout, and both routes counted for the warning.
    state.mitClients = true;
    state.javaClients = true;
    EXPECT_EQ(Generate(state, TwoForests(), &referralRoutes),
              libdefaults + "default_tgs_etypes = rc4-hmac aes256-cts-hmac-sha1-96\n" + tkt +
                  "udp_preference_limit = 1\n\n" + realms + mitCapaths + domainRealm);
    EXPECT_EQ(referralRoutes, 2u);

    // No realm selected: no [domain_realm].
    EXPECT_EQ(Generate(Selecting({}), TwoForests()), "");
    state = Selecting({});
    state.heimdalClients = true;
    EXPECT_EQ(Generate(state, TwoForests()), "");
}

TEST(ConfigGeneration, SameStateGivesSameText)
{
    const SampleConfiguration sample = FiftyRealms();
    const std::string first = Generate(sample.state, sample.directory);
    EXPECT_EQ(Generate(sample.state, sample.directory), first);
    // No relation anywhere has an empty value.
    std::istringstream lines(first);
    std::string line;
    while (std::getline(lines, line))
        EXPECT_FALSE(line.size() >= 2 && line.compare(line.size() - 2, 2, "= ") == 0) << line;
}

TEST(ConfigGeneration, EditControlLinesEndInCrLfAndNothingFollowsTheLastLf)
{
    EXPECT_EQ(CrLfLines(""), "");
    EXPECT_EQ(CrLfLines("\n"), "\r\n");
    EXPECT_EQ(CrLfLines("[realms]\nA = {\n}\n\n"), "[realms]\r\nA = {\r\n}\r\n\r\n");
    // A tail without LF is not a line of the writer's, and a CR already there is kept as text.
    EXPECT_EQ(CrLfLines("a\nunfinished"), "a\r\n");
    EXPECT_EQ(CrLfLines("a\r\nb\n"), "a\r\r\nb\r\n");
}
