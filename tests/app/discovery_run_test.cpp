// The discovery run on the real main window: its report, its warning box, the Available list.
#include "discovery_run.h"
#include "main_window.h"
#include "main_window_driver.h"
#include "message_box_watcher.h"
#include "message_recorder.h"
#include "modal_dialogs.h"
#include "realm_directory.h"
#include "resource_ids.h"
#include "scripted_directory.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

// The lines of the log edit, each without its line end.
Texts LogLines(HWND mainWindow)
{
    const std::string text = WindowText(GetDlgItem(mainWindow, IDC_STATUS_LOG));
    Texts lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start) + " (no line end)");
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// A forest whose root lists itself and every child as in-forest; each domain has one KDC,
// and each child enumerates through its KDC too, listing only itself.
void ScriptForest(ScriptedDirectory& directory, const std::string& root, const Texts& children)
{
    SetMachine(directory, root);
    std::vector<TrustRecordCopy> rootRecords{TrustRecord(root, kDsDomainInForest)};
    for (const std::string& domain : children) {
        rootRecords.push_back(TrustRecord(domain, kDsDomainInForest | kDsDomainDirectOutbound | kDsDomainDirectInbound));
        SetKdcs(directory, domain, {"dc." + domain});
        SetTrusts(directory, "dc." + domain, {TrustRecord(domain, kDsDomainInForest)});
    }
    SetKdcs(directory, root, {"dc." + root});
    SetTrusts(directory, "dc." + root, rootRecords);
}

class DiscoveryRunTest : public testing::Test {
protected:
    void SetUp() override { TheRealmDirectory() = RealmDirectory{}; }
    void TearDown() override { TheRealmDirectory() = RealmDirectory{}; }

    std::vector<SeenMessageBox> Run()
    {
        return AnswerMessageBoxes([&] { RunDiscovery(main.window, ScriptedPlatform(directory)); });
    }

    ScriptedDirectory directory;
    TestMainWindow main;
};

}  // namespace

TEST_F(DiscoveryRunTest, MachineInNoDomainGetsTheBoxFirstAndThenOneWarningLine)
{
    const auto boxes = Run();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "No realm is found. Did you log in as a domain user?");
    EXPECT_EQ(boxes[0].caption, "Warning");
    EXPECT_EQ(boxes[0].icon, BoxIcon::Warning);
    EXPECT_EQ(boxes[0].owner, main.window);
    EXPECT_EQ(boxes[0].ownerLogText, "");
    EXPECT_EQ(LogLines(main.window), Texts{"Warning: Didn't find any realms."});
    EXPECT_TRUE(ItemTexts(main.Control(IDC_AVAILABLE_LIST)).empty());
    EXPECT_TRUE(TheRealmDirectory().kdcTable.empty());
}

// A laptop off the network: DsGetDcNameA answers 1355 as in no domain, but the computer is a
// member of one. The log names the domain before the box appears; the box and its line stay.
TEST_F(DiscoveryRunTest, MemberComputerOffTheNetworkIsToldItsDomainBeforeTheBox)
{
    SetMachineStatus(directory, kStatusNoSuchDomain);
    SetMembership(directory, "corp.example");
    const auto boxes = Run();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "No realm is found. Did you log in as a domain user?");
    const std::string warning = "Warning: No domain controller of domain corp.example answered. Reason: ";
    EXPECT_EQ(boxes[0].ownerLogText.rfind(warning, 0), 0u) << boxes[0].ownerLogText;
    EXPECT_EQ(boxes[0].ownerLogText.find("Didn't find"), std::string::npos);
    const Texts lines = LogLines(main.window);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].rfind(warning, 0), 0u);
    EXPECT_GT(lines[0].size(), warning.size()) << "the system's text for 1355";
    EXPECT_EQ(lines[1], "Warning: Didn't find any realms.");
    EXPECT_TRUE(ItemTexts(main.Control(IDC_AVAILABLE_LIST)).empty());
}

TEST_F(DiscoveryRunTest, CountLineIsPluralForZeroOneAndMany)
{
    SetMachine(directory, "corp.test");  // no KDC answer: nothing is found
    EXPECT_TRUE(Run().empty());
    const Texts lines = LogLines(main.window);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "Info: Found 0 realms.");
    EXPECT_EQ(lines.front().rfind("Warning: Can't get KDC for domain corp.test. Reason: ", 0), 0u) << lines.front();

    TestMainWindow one;
    ScriptedDirectory single;
    ScriptForest(single, "corp.test", {});
    TheRealmDirectory() = RealmDirectory{};
    RunDiscovery(one.window, ScriptedPlatform(single));
    EXPECT_EQ(LogLines(one.window), Texts{"Info: Found 1 realms."});

    TestMainWindow many;
    ScriptedDirectory forest;
    Texts children;
    for (int i = 0; i < 11; ++i)
        children.push_back("d" + std::to_string(i) + ".corp.test");
    ScriptForest(forest, "corp.test", children);
    TheRealmDirectory() = RealmDirectory{};
    RunDiscovery(many.window, ScriptedPlatform(forest));
    EXPECT_EQ(LogLines(many.window), Texts{"Info: Found 12 realms."});
    EXPECT_EQ(ItemTexts(many.Control(IDC_AVAILABLE_LIST)).size(), 12u);
}

TEST_F(DiscoveryRunTest, LookupWarningsComeBeforeTheCountLine)
{
    ScriptForest(directory, "corp.test", {"a.corp.test", "b.corp.test"});
    SetSrvStatus(directory, "_kerberos._tcp.a.corp.test", 9002);
    SetTrustStatus(directory, "dc.b.corp.test", 5);
    EXPECT_TRUE(Run().empty());
    const Texts lines = LogLines(main.window);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].rfind("Warning: Can't get KDC for domain a.corp.test. Reason: ", 0), 0u) << lines[0];
    EXPECT_EQ(lines[1].rfind("Warning: Can't get trust info for domain a.corp.test. Reason: ", 0), 0u) << lines[1];
    EXPECT_EQ(lines[2].rfind("Warning: Can't get trust info for domain b.corp.test. Reason: ", 0), 0u) << lines[2];
    EXPECT_EQ(lines[3], "Info: Found 2 realms.");
    EXPECT_EQ(ItemTexts(main.Control(IDC_AVAILABLE_LIST)), (Texts{"corp.test", "b.corp.test"}));
}

TEST_F(DiscoveryRunTest, AvailableListIsInRealmOrderNotKeyOrder)
{
    // Key (byte) order: CORP.other, Z.corp.test, a.corp.test, b.a.corp.test, corp.test.
    ScriptForest(directory, "corp.test", {"Z.corp.test", "a.corp.test", "b.a.corp.test", "CORP.other"});
    EXPECT_TRUE(Run().empty());
    EXPECT_EQ(ItemTexts(main.Control(IDC_AVAILABLE_LIST)),
              (Texts{"CORP.other", "corp.test", "a.corp.test", "b.a.corp.test", "Z.corp.test"}));
}

TEST_F(DiscoveryRunTest, ListIsEmptiedThenFilledInTheRealmOrder)
{
    // Key (byte) order is Z.corp.test, corp.test; the realm order puts corp.test first.
    ScriptForest(directory, "corp.test", {"Z.corp.test"});
    const HWND available = main.Control(IDC_AVAILABLE_LIST);
    std::vector<UINT> changes;
    std::vector<std::string> inserted;
    MessageRecorder recorder({available}, [&](const RecordedMessage& m) {
        if (m.message != LVM_DELETEALLITEMS && m.message != LVM_INSERTITEMA && m.message != LVM_SETITEMTEXTA)
            return;
        if (changes.empty() && m.message != LVM_DELETEALLITEMS)
            return;  // the placeholder's progress during the search
        changes.push_back(m.message);
        if (m.message == LVM_INSERTITEMA) {
            const auto* item = reinterpret_cast<const LVITEMA*>(m.lParam);
            EXPECT_EQ(item->mask, static_cast<UINT>(LVIF_TEXT));
            EXPECT_EQ(item->iItem, static_cast<int>(inserted.size()));
            EXPECT_EQ(item->iSubItem, 0);
            EXPECT_EQ(item->lParam, 0);
            inserted.emplace_back(item->pszText);
        }
    });
    EXPECT_TRUE(Run().empty());
    EXPECT_EQ(changes, (std::vector<UINT>{LVM_DELETEALLITEMS, LVM_INSERTITEMA, LVM_INSERTITEMA}));
    EXPECT_EQ(inserted, (Texts{"corp.test", "Z.corp.test"}));
    EXPECT_EQ(ItemTexts(available), (Texts{"corp.test", "Z.corp.test"}));
}

namespace {

// A domain location that waits until the test releases it, then fails.
struct HeldCall {
    HANDLE entered = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE left = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ~HeldCall()
    {
        CloseHandle(entered);
        CloseHandle(release);
        CloseHandle(left);
    }
};

DcNameAnswer HeldGetDcName(void* context)
{
    auto& held = *static_cast<HeldCall*>(context);
    SetEvent(held.entered);
    WaitForSingleObject(held.release, 20000);
    SetEvent(held.left);
    return DcNameAnswer{1722, std::nullopt, std::nullopt};
}

}  // namespace

// The window takes its messages while a call waits on a worker, and File > Exit ends the loop
// with 0 at once; the call's late answer finds no window and is dropped.
TEST_F(DiscoveryRunTest, ExitDuringTheSearchEndsTheLoopWhileACallWaits)
{
    HeldCall held;
    DirectoryPlatform platform = ScriptedPlatform(directory);
    platform.context = &held;
    platform.getDcName = &HeldGetDcName;
    StartDiscovery(main.window, platform, kDirectoryCallsAtOnce);
    ASSERT_EQ(WaitForSingleObject(held.entered, 20000), WAIT_OBJECT_0);
    EXPECT_TRUE(DiscoveryRunning());
    EXPECT_EQ(ItemTexts(main.Control(IDC_AVAILABLE_LIST)), Texts{kSearchingPlaceholder});
    PostMessageA(main.window, WM_COMMAND, MAKEWPARAM(IDM_FILE_EXIT, 0), 0);
    EXPECT_EQ(RunMessageLoop(main.window), 0);
    EXPECT_EQ(WaitForSingleObject(held.left, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "the call still waits";
    EXPECT_FALSE(IsWindow(main.window));
    SetEvent(held.release);
    ASSERT_EQ(WaitForSingleObject(held.left, 20000), WAIT_OBJECT_0);
}

namespace {

// corp.test lists a.corp.test and b.corp.test; the enumeration at a's KDC waits until released.
struct HeldEnumeration {
    HeldCall held;
    HANDLE otherMade = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ~HeldEnumeration() { CloseHandle(otherMade); }
};

DcNameAnswer LocateCorp(void*)
{
    return DcNameAnswer{0, std::string("corp.test"), std::nullopt};
}

DnsAnswer KdcOf(void*, const std::string& name)
{
    const std::string domain = name.substr(std::string("_kerberos._tcp.").size());
    return DnsAnswer{0, {DnsRecordCopy{kDnsTypeSrv, "dc." + domain}}};
}

TrustAnswer EnumerateHeld(void* context, const std::string* server, std::uint32_t)
{
    auto& calls = *static_cast<HeldEnumeration*>(context);
    if (*server == "dc.corp.test")
        return TrustAnswer{0, {TrustRecord("a.corp.test", kDsDomainInForest), TrustRecord("b.corp.test", kDsDomainInForest)}};
    if (*server == "dc.a.corp.test") {
        SetEvent(calls.held.entered);
        WaitForSingleObject(calls.held.release, 20000);
        SetEvent(calls.held.left);
    } else {
        SetEvent(calls.otherMade);
    }
    return TrustAnswer{0, {}};
}

PrimaryDomainAnswer NoMembership(void*)
{
    return PrimaryDomainAnswer{1, 0, std::nullopt};
}

}  // namespace

// A round's calls don't queue behind one that waits: the other workers join the round.
TEST_F(DiscoveryRunTest, ACallThatWaitsDoesNotHoldUpTheOthersOfItsRound)
{
    HeldEnumeration calls;
    const DirectoryPlatform platform{&calls, LocateCorp, KdcOf, EnumerateHeld, NoMembership};
    StartDiscovery(main.window, platform, kDirectoryCallsAtOnce);
    EXPECT_TRUE(DispatchUntil([&] { return WaitForSingleObject(calls.held.entered, 0) == WAIT_OBJECT_0; }));
    EXPECT_TRUE(DispatchUntil([&] { return WaitForSingleObject(calls.otherMade, 0) == WAIT_OBJECT_0; }));
    EXPECT_EQ(WaitForSingleObject(calls.held.left, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "the held call waits still";
    SetEvent(calls.held.release);
    EXPECT_TRUE(DispatchUntil([] { return !DiscoveryRunning(); }));
    EXPECT_EQ(ItemTexts(main.Control(IDC_AVAILABLE_LIST)), (Texts{"corp.test", "a.corp.test", "b.corp.test"}));
}
