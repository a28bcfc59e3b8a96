// The built quillmere.exe under Wine against directories whose answers attack the configuration
// text: it must start, log what it skipped, generate text of good lines only for every realm it
// offers, free every buffer the directory returned, and exit with code 0 through File > Exit.
#include "call_log.h"
#include "config_lines.h"
#include "name_check.h"
#include "upper_case.h"
#include "realm_item_text.h"
#include "remote_quillmere.h"
#include "resource_ids.h"
#include "wine_path.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr DWORD kDiscoveryBoundMs = 120000;
constexpr DWORD kStepBoundMs = 60000;
const char kPlaceholder[] = "Searching for available realms...";
const char kViewCaption[] = "Kerberos Configuration";

// A log line expected `count` times: the whole line, or its start when it ends in "Reason: ",
// since the reason is the system's own message text.
struct LogLine {
    std::string text;
    std::size_t count;
};

struct HostileForest {
    const char* name;
    const char* file;                // in the forests folder, or an absolute path
    std::vector<std::string> realms;  // the Available list, in any order; empty: see realmCount
    std::size_t realmCount;
    std::vector<LogLine> log;         // every line of the log, in any order
    std::size_t enumerations;         // DsEnumerateDomainTrustsA calls; 0: not counted
};

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string ForestPath(const HostileForest& forest)
{
    const std::string file = forest.file;
    if (file == "wide")
        return Environment("QM_HOSTILE_WIDE_FOREST");
    return Environment("QM_HOSTILE_FORESTS") + "/" + file;
}

// The longest realm name in hostile-names.json, as long as a name may be.
const std::string kLongestName = [] {
    std::string name;
    const std::string tail = ".long.hostile.test";
    for (char label = 'a'; name.size() + tail.size() < kMaxRealmNameLength; ++label)
        name += (name.empty() ? "" : ".") + std::string(63, label);
    return name.substr(0, kMaxRealmNameLength - tail.size()) + tail;
}();

std::string Skipped(const std::string& domain)
{
    return "Warning: Skipped a trust record with an unusable domain name for domain " + domain + ".";
}

std::string NoKdc(const std::string& domain)
{
    return "Warning: Can't get KDC for domain " + domain + ". Reason: ";
}

std::string NoTrustInfo(const std::string& domain)
{
    return "Warning: Can't get trust info for domain " + domain + ". Reason: ";
}

std::string Failing(const char* name)
{
    return std::string(name) + ".fail.hostile.test";
}

const HostileForest kForests[] = {
    // The simulated directory hands names out in code page 1252: "é" is the byte 0xE9. A name
    // with a byte outside letters, digits, "-", "_" and "." (here "'" and "*", a fullwidth "＊"
    // that best fit makes "*", "\", ",", "/", ":") or an empty label is skipped like the others.
    {"names", "hostile-names.json", {"corp.hostile.test", "caf\xe9.hostile.test", kLongestName}, 0,
     {{Skipped("corp.hostile.test"), 27}, {"Info: Found 3 realms.", 1}}, 3},
    {"srv_targets", "hostile-srv-targets.json", {"targets.hostile.test", "mixed.hostile.test"}, 0,
     {{NoTrustInfo("dot.hostile.test"), 1}, {NoTrustInfo("empty.hostile.test"), 1}, {"Info: Found 2 realms.", 1}}, 2},
    // One domain in four spellings is one realm, under the first.
    {"letter_cases", "hostile-letter-cases.json", {"case.hostile.test", "other.hostile.test"}, 0,
     {{"Info: Found 2 realms.", 1}}, 2},
    {"forest_trust_cycle", "hostile-forest-trust-cycle.json", {"a.ring.test", "b.ring.test", "c.ring.test"}, 0,
     {{"Info: Found 3 realms.", 1}}, 3},
    {"failures", "hostile-failures.json",
     {Failing("denied"), Failing("unavailable"), Failing("nodomain"), Failing("nologon"), Failing("zero"),
      Failing("hresult"), Failing("allones"), Failing("unlisted")}, 0,
     {{NoKdc("fail.hostile.test"), 1}, {NoKdc(Failing("timeout")), 1}, {NoKdc(Failing("servfail")), 1},
      {NoKdc(Failing("soa")), 1}, {NoKdc(Failing("empty")), 1}, {NoKdc(Failing("refused")), 1},
      {NoKdc(Failing("negative")), 1},
      {NoKdc(Failing("nokdc")), 1}, {Skipped("fail.hostile.test"), 1},
      {NoTrustInfo(Failing("timeout")), 1}, {NoTrustInfo(Failing("servfail")), 1}, {NoTrustInfo(Failing("soa")), 1},
      {NoTrustInfo(Failing("empty")), 1}, {NoTrustInfo(Failing("addresses")), 1}, {NoTrustInfo(Failing("refused")), 1},
      {NoTrustInfo(Failing("negative")), 1}, {NoTrustInfo(Failing("nokdc")), 1}, {NoTrustInfo(Failing("denied")), 1},
      {NoTrustInfo(Failing("unavailable")), 1}, {NoTrustInfo(Failing("nodomain")), 1},
      {NoTrustInfo(Failing("nologon")), 1}, {NoTrustInfo(Failing("hresult")), 1},
      {NoTrustInfo(Failing("allones")), 1}, {NoTrustInfo(Failing("unlisted")), 1}, {"Info: Found 8 realms.", 1}},
     9},
    {"machine_name", "hostile-machine-name.json", {}, 0,
     {{"Warning: Can't locate the domain of this computer. Reason: ", 1}, {"Info: Found 0 realms.", 1}}, 0},
    {"wide", "wide", {}, 60, {{Skipped("wide.hostile.test"), 100}, {"Info: Found 60 realms.", 1}}, 30},
};

// gtest names the failing forest instead of dumping its bytes.
void PrintTo(const HostileForest& forest, std::ostream* out)
{
    *out << forest.name;
}

bool Matches(const LogLine& expected, const std::string& line)
{
    const std::string reason = "Reason: ";
    const bool prefix = expected.text.size() >= reason.size() &&
                        expected.text.compare(expected.text.size() - reason.size(), reason.size(), reason) == 0;
    return prefix ? line.rfind(expected.text, 0) == 0 && line.size() > expected.text.size() : line == expected.text;
}

// The lines of an edit control's text, each ended by CR LF; a bare CR or LF fails the test.
std::vector<std::string> CrLfLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "text without its last CR LF: " << text.substr(start);
            break;
        }
        lines.push_back(text.substr(start, end - start));
        EXPECT_EQ(lines.back().find_first_of("\r\n"), std::string::npos) << "a bare line end in " << lines.back();
        start = end + 2;
    }
    return lines;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream file(WinePathOf(path), std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

class HostileForestTest : public testing::TestWithParam<HostileForest> {
protected:
    void TearDown() override { StopQuillmere(program); }

    HWND Control(int id) const { return GetDlgItem(program.mainWindow, id); }
    std::vector<std::string> Items(int id) const { return RemoteItemTexts(program, Control(id)); }
    std::string Log() const { return RemoteWindowText(Control(IDC_STATUS_LOG)); }

    bool DiscoveryEnded() const
    {
        const std::vector<std::string> available = Items(IDC_AVAILABLE_LIST);
        return !(available.size() == 1 && available.front() == kPlaceholder) && !Log().empty();
    }

    void CheckLog(const HostileForest& forest)
    {
        std::vector<LogLine> expected = forest.log;
        for (const std::string& line : CrLfLines(Log())) {
            for (const char c : line)
                EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) << "a control byte in " << line;
            const auto found = std::find_if(expected.begin(), expected.end(), [&](const LogLine& candidate) {
                return candidate.count > 0 && Matches(candidate, line);
            });
            if (found == expected.end())
                ADD_FAILURE() << "an unexpected log line: " << line;
            else
                --found->count;
        }
        for (const LogLine& missing : expected)
            EXPECT_EQ(missing.count, 0u) << "missing from the log: " << missing.text;
    }

    // Moves every Available realm to the Selected list and marks some as servers, others as
    // clients, many as both.
    void SelectEverything(std::size_t count)
    {
        std::vector<int> all;
        for (int index = 0; index < static_cast<int>(count); ++index)
            all.push_back(index);
        RemoteSelectItems(program, Control(IDC_AVAILABLE_LIST), all);
        RemotePressButton(program, IDC_ADD);
        ASSERT_TRUE(WaitUntil(program, kStepBoundMs, [&] { return Items(IDC_SELECTED_LIST).size() == count; }));
        std::vector<int> servers;
        std::vector<int> clients;
        for (int index : all) {
            if (index % 2 == 0)
                servers.push_back(index);
            if (index % 3 != 1)
                clients.push_back(index);
        }
        RemoteSelectItems(program, Control(IDC_SELECTED_LIST), servers);
        RemotePressButton(program, IDC_SERVER_REALM);
        RemoteSelectItems(program, Control(IDC_SELECTED_LIST), clients);
        RemotePressButton(program, IDC_CLIENT_REALM);
    }

    std::string ViewedConfiguration()
    {
        PostMessageA(program.mainWindow, WM_COMMAND, MAKEWPARAM(IDM_FILE_VIEW, 0), 0);
        HWND view = nullptr;
        EXPECT_TRUE(WaitUntil(program, kStepBoundMs, [&] {
            view = FindProcessWindow(program, "#32770", kViewCaption);
            return view != nullptr;
        })) << "no configuration view";
        if (view == nullptr)
            return std::string();
        const std::string text = RemoteWindowText(GetDlgItem(view, IDC_CONFIG_TEXT));
        // Escape, as the dialog manager sees it from the keyboard.
        PostMessageA(view, WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_TRUE(WaitUntil(program, kStepBoundMs,
                              [&] { return FindProcessWindow(program, "#32770", kViewCaption) == nullptr; }))
            << "the view did not close on Escape";
        return text;
    }

    static void CheckConfiguration(const std::string& viewed, const std::vector<std::string>& selectedItems)
    {
        std::string text;
        for (const std::string& line : CrLfLines(viewed))
            text += line + "\n";
        std::vector<ConfigLine> lines;
        std::string error;
        ASSERT_TRUE(ParseConfigLines(text, lines, error)) << error;

        std::vector<std::string> selected;
        for (const std::string& item : selectedItems)
            selected.push_back(ToUpperCopy(item.substr(kFlagPrefixLength)));
        const std::set<std::string> selectedSet(selected.begin(), selected.end());
        std::vector<std::string> realmSections;
        for (const ConfigLine& line : lines) {
            for (const std::string* name : {&line.subsection, &line.tag, &line.value})
                EXPECT_LE(name->size(), kMaxRealmNameLength) << *name;
            if (line.kind == ConfigLineKind::SubsectionOpening && line.section == "realms")
                realmSections.push_back(line.subsection);
            if (line.section == "capaths" && line.kind == ConfigLineKind::SubsectionOpening) {
                EXPECT_EQ(selectedSet.count(line.subsection), 1u) << line.subsection;
            }
            if (line.section == "capaths" && line.kind == ConfigLineKind::Relation) {
                EXPECT_EQ(selectedSet.count(line.tag), 1u) << line.tag;
            }
        }
        EXPECT_EQ(realmSections, selected);
    }

    void CheckBuffersFreed(const std::string& logPath, std::size_t enumerations)
    {
        std::vector<CallLogEntry> calls;
        std::string error;
        ASSERT_TRUE(ParseCallLog(ReadFile(logPath), calls, error)) << error;
        ASSERT_FALSE(calls.empty()) << "no calls in " << logPath;
        const BufferAudit audit = AuditBuffers(calls);
        for (const CallLogEntry& leak : audit.unreleased)
            ADD_FAILURE() << "never freed: " << leak.function << " " << leak.argument << " " << leak.buffer;
        for (const CallLogEntry& bad : audit.badFrees)
            ADD_FAILURE() << "a bad free: " << bad.function << " " << bad.argument << " " << bad.buffer;
        if (enumerations > 0) {
            EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                                    [](const CallLogEntry& call) { return call.function == "DsEnumerateDomainTrustsA"; }),
                      static_cast<std::ptrdiff_t>(enumerations));
        }
    }

    RemoteQuillmere program;
};

TEST_P(HostileForestTest, StartsLogsWhatItSkippedWritesOnlyGoodLinesAndExitsWithCodeZero)
{
    const HostileForest& forest = GetParam();
    const std::string logPath = Environment("QM_HOSTILE_LOGS") + "/" + forest.name + ".calls.log";
    std::remove(WinePathOf(logPath).c_str());
    SetEnvironmentVariableA("QUILLMERE_SIMDIR_LOG", logPath.c_str());
    ASSERT_TRUE(StartQuillmere(ForestPath(forest), program)) << "error " << GetLastError();
    ASSERT_TRUE(WaitUntil(program, kStepBoundMs, [&] {
        program.mainWindow = FindProcessWindow(program, "QuillmereClass");
        return program.mainWindow != nullptr;
    })) << "no main window";
    ASSERT_TRUE(WaitUntil(program, kDiscoveryBoundMs, [&] { return DiscoveryEnded(); })) << "log: " << Log();
    CheckLog(forest);

    std::vector<std::string> available = Items(IDC_AVAILABLE_LIST);
    for (const std::string& realm : available)
        EXPECT_EQ(UsableName(realm), std::optional<std::string>(realm)) << "offered: " << realm;
    if (forest.realms.empty()) {
        EXPECT_EQ(available.size(), forest.realmCount);
    } else {
        std::vector<std::string> expected = forest.realms;
        std::sort(expected.begin(), expected.end());
        std::sort(available.begin(), available.end());
        EXPECT_EQ(available, expected);
    }

    if (!available.empty())
        SelectEverything(available.size());
    CheckConfiguration(ViewedConfiguration(), Items(IDC_SELECTED_LIST));

    PostMessageA(program.mainWindow, WM_COMMAND, MAKEWPARAM(IDM_FILE_EXIT, 0), 0);
    EXPECT_EQ(WaitForExit(program, kStepBoundMs), 0u);
    CheckBuffersFreed(logPath, forest.enumerations);
}

INSTANTIATE_TEST_SUITE_P(Forests, HostileForestTest, testing::ValuesIn(kForests),
                         [](const testing::TestParamInfo<HostileForest>& forest) { return std::string(forest.param.name); });

}  // namespace
