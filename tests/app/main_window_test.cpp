// The main window as start-up makes it: class, menu, placeholder, tooltips, tab order, keys, exit.
#include "button_tooltip.h"
#include "discovery_run.h"
#include "main_window.h"
#include "main_window_driver.h"
#include "message_box_watcher.h"
#include "message_recorder.h"
#include "modal_dialogs.h"
#include "realm_directory.h"
#include "resource_ids.h"
#include "scripted_directory.h"
#include "status_log.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

const char kPlaceholder[] = "Searching for available realms...";

struct MenuEntry {
    std::string text;
    UINT id;
    bool operator==(const MenuEntry& other) const { return text == other.text && id == other.id; }
};

std::vector<MenuEntry> MenuEntries(HMENU menu)
{
    std::vector<MenuEntry> entries;
    for (int position = 0; position < GetMenuItemCount(menu); ++position) {
        char text[64] = {};
        GetMenuStringA(menu, static_cast<UINT>(position), text, static_cast<int>(sizeof text), MF_BYPOSITION);
        entries.push_back(MenuEntry{text, GetMenuItemID(menu, position)});
    }
    return entries;
}

struct ToolSeen {
    HWND tool;
    UINT flags;
    std::string text;
};

struct TooltipScan {
    HWND owner;
    std::vector<HWND> tooltips;
};

BOOL CALLBACK CollectTooltip(HWND window, LPARAM lParam)
{
    auto* scan = reinterpret_cast<TooltipScan*>(lParam);
    char className[64] = {};
    GetClassNameA(window, className, static_cast<int>(sizeof className));
    if (lstrcmpiA(className, TOOLTIPS_CLASSA) == 0 && GetWindow(window, GW_OWNER) == scan->owner)
        scan->tooltips.push_back(window);
    return TRUE;
}

std::vector<HWND> TooltipsOwnedBy(HWND owner)
{
    TooltipScan scan{owner, {}};
    EnumThreadWindows(GetCurrentThreadId(), &CollectTooltip, reinterpret_cast<LPARAM>(&scan));
    return scan.tooltips;
}

std::vector<ToolSeen> ToolsOf(HWND tooltip)
{
    std::vector<ToolSeen> tools;
    const auto count = static_cast<WPARAM>(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0));
    for (WPARAM index = 0; index < count; ++index) {
        char text[256] = {};
        TOOLINFOA info = {};
        info.cbSize = static_cast<UINT>(offsetof(TOOLINFOA, lpReserved));
        info.lpszText = text;
        SendMessageA(tooltip, TTM_ENUMTOOLSA, index, reinterpret_cast<LPARAM>(&info));
        tools.push_back(ToolSeen{reinterpret_cast<HWND>(info.uId), info.uFlags, text});
    }
    return tools;
}

// Ends a message loop that would otherwise run on: the bound of every loop test.
bool loopTimedOut = false;
HWND loopWindow = nullptr;
void CALLBACK EndRunawayLoop(HWND, UINT, UINT_PTR, DWORD)
{
    loopTimedOut = true;
    DestroyWindow(loopWindow);
}

// A timer message comes only when the queue holds nothing else, so by then the keys and
// whatever they posted have been handled.
bool aliveAfterKeys = false;
void CALLBACK ExitAfterKeys(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    aliveAfterKeys = IsWindow(loopWindow) != FALSE;
    PostMessageA(loopWindow, WM_COMMAND, MAKEWPARAM(IDM_FILE_EXIT, 0), 0);
}

int RunBoundedMessageLoop(HWND mainWindow)
{
    loopTimedOut = false;
    loopWindow = mainWindow;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10000, &EndRunawayLoop);
    const int code = RunMessageLoop(mainWindow);
    KillTimer(nullptr, timer);
    return code;
}

// Wraps a scripted directory to see what the Available list holds while the walk runs.
struct WalkProbe {
    DirectoryPlatform inner;
    HWND available;
    std::vector<std::string> itemsDuringWalk;
};

DirectoryPlatform ProbedPlatform(WalkProbe& probe)
{
    DirectoryPlatform platform{};
    platform.context = &probe;
    platform.getDcName = [](void* context) {
        auto* p = static_cast<WalkProbe*>(context);
        p->itemsDuringWalk = ItemTexts(p->available);
        return p->inner.getDcName(p->inner.context);
    };
    platform.querySrv = [](void* context, const std::string& name) {
        auto* p = static_cast<WalkProbe*>(context);
        return p->inner.querySrv(p->inner.context, name);
    };
    platform.enumerateTrusts = [](void* context, const std::string* server, std::uint32_t flags) {
        auto* p = static_cast<WalkProbe*>(context);
        return p->inner.enumerateTrusts(p->inner.context, server, flags);
    };
    platform.getPrimaryDomain = [](void* context) {
        auto* p = static_cast<WalkProbe*>(context);
        return p->inner.getPrimaryDomain(p->inner.context);
    };
    return platform;
}

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override { TheRealmDirectory() = RealmDirectory{}; }
    void TearDown() override { TheRealmDirectory() = RealmDirectory{}; }
};

}  // namespace

TEST_F(MainWindowTest, IsAHiddenDialogOfItsOwnClassUntilStartUpShowsIt)
{
    ResetStatusLogForTests();
    const HWND window = CreateMainWindow(GetModuleHandleA(nullptr));
    ASSERT_NE(window, nullptr);
    char className[64] = {};
    GetClassNameA(window, className, static_cast<int>(sizeof className));
    EXPECT_STREQ(className, "QuillmereClass");
    EXPECT_EQ(WindowText(window), "Quillmere");
    EXPECT_FALSE(IsWindowVisible(window));
    // Without the dialog manager's extra bytes the dialog could not keep its data.
    EXPECT_EQ(GetClassLongPtrA(window, GCL_CBWNDEXTRA), DLGWINDOWEXTRA);
    EXPECT_EQ(GetClassLongPtrA(window, GCLP_HBRBACKGROUND), static_cast<ULONG_PTR>(COLOR_BTNFACE + 1));
    EXPECT_NE(GetClassLongPtrA(window, GCLP_HICON), 0u);
    // Forwardable is "Not set" at start, the enctype edits are empty, and the text is for MIT's clients.
    EXPECT_EQ(SendDlgItemMessageA(window, IDC_FORWARDABLE_TRUE, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendDlgItemMessageA(window, IDC_FORWARDABLE_FALSE, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendDlgItemMessageA(window, IDC_FORWARDABLE_NOT_SET, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendDlgItemMessageA(window, IDC_MIT_CLIENTS, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendDlgItemMessageA(window, IDC_HEIMDAL_CLIENTS, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendDlgItemMessageA(window, IDC_JAVA_CLIENTS, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(WindowText(GetDlgItem(window, IDC_TGS_ENCTYPES)), "");
    EXPECT_TRUE(GetWindowLongPtrA(GetDlgItem(window, IDC_TGS_ENCTYPES), GWL_STYLE) & ES_READONLY);
    EXPECT_TRUE(ItemTexts(GetDlgItem(window, IDC_SELECTED_LIST)).empty());
    DestroyWindow(window);
    ForgetQuitMessage();
}

TEST_F(MainWindowTest, IsNotCreatedFromAModuleWithoutItsTemplate)
{
    // Start-up then ends with exit code 1 and shows nothing.
    EXPECT_EQ(CreateMainWindow(GetModuleHandleA("kernel32.dll")), nullptr);
}

TEST_F(MainWindowTest, StatusLogAppendsLinesAtTheEndOfTheLogEdit)
{
    TestMainWindow main;
    const HWND log = main.Control(IDC_STATUS_LOG);
    LogInfo("first");
    // A selection at the start must not decide where the next line lands.
    SendMessageA(log, EM_SETSEL, 0, 3);
    LogWarning("second");
    EXPECT_EQ(WindowText(log), "Info: first\r\nWarning: second\r\n");
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(log, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, end);
    EXPECT_EQ(end, WindowText(log).size());
    // The user cannot undo a line away.
    EXPECT_FALSE(SendMessageA(log, EM_CANUNDO, 0, 0));
}

TEST_F(MainWindowTest, StatusLogKeepsEveryLinePastTheEditsDefaultLimit)
{
    TestMainWindow main;
    // Five hundred warnings of a large failing forest, then the count line.
    const std::string warning = "Can't get trust info for domain d000.corp.riverton.test. Reason: " + std::string(40, 'x');
    for (int i = 0; i < 500; ++i)
        LogWarning(warning);
    LogInfo("Found 500 realms.");
    const std::string text = WindowText(main.Control(IDC_STATUS_LOG));
    EXPECT_GT(text.size(), 50000u);
    const std::string last = "\r\nInfo: Found 500 realms.\r\n";
    ASSERT_GT(text.size(), last.size());
    EXPECT_EQ(text.substr(text.size() - last.size()), last);
}

TEST_F(MainWindowTest, FileMenuOffersSaveViewExitInThatOrder)
{
    TestMainWindow main;
    const HMENU bar = GetMenu(main.window);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(MenuEntries(GetSubMenu(bar, 0)),
              (std::vector<MenuEntry>{{"&Save", IDM_FILE_SAVE}, {"&View", IDM_FILE_VIEW}, {"&Exit", IDM_FILE_EXIT}}));
    EXPECT_EQ(MenuEntries(GetSubMenu(bar, 1)), (std::vector<MenuEntry>{{"&About", IDM_HELP_ABOUT}}));
}

TEST_F(MainWindowTest, PlaceholderIsTheOnlyItemUntilTheWalkEnds)
{
    TestMainWindow main;
    const HWND available = main.Control(IDC_AVAILABLE_LIST);
    EXPECT_EQ(ItemTexts(available), std::vector<std::string>{kPlaceholder});

    ScriptedDirectory directory;
    SetMachine(directory, "corp.test");
    SetKdcs(directory, "corp.test", {"dc1.corp.test"});
    SetTrusts(directory, "dc1.corp.test", {TrustRecord("corp.test", kDsDomainInForest)});
    WalkProbe probe{ScriptedPlatform(directory), available, {}};
    RunDiscovery(main.window, ProbedPlatform(probe));
    EXPECT_EQ(probe.itemsDuringWalk, std::vector<std::string>{kPlaceholder});
    EXPECT_EQ(ItemTexts(available), std::vector<std::string>{"corp.test"});
}

TEST_F(MainWindowTest, PlaceholderGoesAlsoWhenNothingIsFound)
{
    {
        TestMainWindow main;
        ScriptedDirectory directory;
        SetMachine(directory, "corp.test");  // its KDC lookup fails: no realm
        RunDiscovery(main.window, ScriptedPlatform(directory));
        EXPECT_TRUE(ItemTexts(main.Control(IDC_AVAILABLE_LIST)).empty());
    }
    TestMainWindow main;
    ScriptedDirectory noDomain;
    const auto boxes = AnswerMessageBoxes([&] { RunDiscovery(main.window, ScriptedPlatform(noDomain)); });
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(ItemTexts(main.Control(IDC_AVAILABLE_LIST)).empty());
}

TEST_F(MainWindowTest, ServerClientAndFamilyButtonsEachHaveTheirOwnTooltip)
{
    TestMainWindow main;
    const std::vector<HWND> tooltips = TooltipsOwnedBy(main.window);
    ASSERT_EQ(tooltips.size(), 5u);
    std::vector<std::pair<int, std::string>> tools;
    for (HWND tooltip : tooltips) {
        for (const ToolSeen& tool : ToolsOf(tooltip)) {
            // Identified by the button's handle, watching the button's mouse messages itself.
            EXPECT_EQ(tool.flags & (TTF_IDISHWND | TTF_SUBCLASS), static_cast<UINT>(TTF_IDISHWND | TTF_SUBCLASS));
            tools.emplace_back(GetDlgCtrlID(tool.tool), tool.text);
        }
        EXPECT_TRUE(GetWindowLongPtrA(tooltip, GWL_STYLE) & TTS_ALWAYSTIP);
    }
    std::sort(tools.begin(), tools.end());
    ASSERT_EQ(tools.size(), 5u);
    EXPECT_EQ(tools[0], (std::pair<int, std::string>{IDC_SERVER_REALM, "Realms that contain servers"}));
    EXPECT_EQ(tools[1], (std::pair<int, std::string>{IDC_CLIENT_REALM, "Realms that contain clients"}));
    EXPECT_EQ((std::vector<int>{tools[2].first, tools[3].first, tools[4].first}),
              (std::vector<int>{IDC_MIT_CLIENTS, IDC_HEIMDAL_CLIENTS, IDC_JAVA_CLIENTS}));
    EXPECT_NE(tools[4].second.find("udp_preference_limit"), std::string::npos);
}

TEST_F(MainWindowTest, AddButtonTooltipRefusesMissingArgumentsAndControls)
{
    TestMainWindow main;
    EXPECT_FALSE(AddButtonTooltip(0, main.window, "tip"));
    EXPECT_FALSE(AddButtonTooltip(IDC_ADD, nullptr, "tip"));
    EXPECT_FALSE(AddButtonTooltip(IDC_ADD, main.window, nullptr));
    EXPECT_FALSE(AddButtonTooltip(4321, main.window, "tip"));
    EXPECT_EQ(TooltipsOwnedBy(main.window).size(), 5u);
    EXPECT_TRUE(AddButtonTooltip(IDC_ADD, main.window, "tip"));
    EXPECT_EQ(TooltipsOwnedBy(main.window).size(), 6u);
}

TEST_F(MainWindowTest, TabMovesThroughTheControlsInTemplateOrderAndWraps)
{
    TestMainWindow main;
    const std::vector<int> expected{IDC_ADD,          IDC_REMOVE,         IDC_DEFAULT_REALM, IDC_SERVER_REALM,
                                    IDC_CLIENT_REALM, IDC_TGS_ENCTYPES,   IDC_TGS_CHOOSE,    IDC_TKT_ENCTYPES,
                                    IDC_TKT_CHOOSE,   IDC_FORWARDABLE_NOT_SET, IDC_MIT_CLIENTS, IDC_HEIMDAL_CLIENTS,
                                    IDC_JAVA_CLIENTS, IDC_AVAILABLE_LIST, IDC_SELECTED_LIST, IDC_STATUS_LOG,
                                    IDC_ADD};
    std::vector<int> visited{IDC_ADD};
    HWND control = main.Control(IDC_ADD);
    for (std::size_t step = 1; step < expected.size(); ++step) {
        control = GetNextDlgTabItem(main.window, control, FALSE);
        visited.push_back(GetDlgCtrlID(control));
    }
    EXPECT_EQ(visited, expected);
}

TEST_F(MainWindowTest, EnterAndEscapeAreIgnoredAndExitEndsTheLoopWithCodeZero)
{
    TestMainWindow main;
    const HWND list = main.Control(IDC_AVAILABLE_LIST);
    SetFocus(list);
    MessageRecorder recorder({main.window});
    PostMessageA(list, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageA(list, WM_KEYDOWN, VK_ESCAPE, 0);
    aliveAfterKeys = false;
    SetTimer(nullptr, 0, 10, &ExitAfterKeys);
    EXPECT_EQ(RunBoundedMessageLoop(main.window), 0);
    EXPECT_FALSE(loopTimedOut);
    EXPECT_TRUE(aliveAfterKeys);
    EXPECT_FALSE(IsWindow(main.window));

    // The dialog navigation turned the keys into IDOK and IDCANCEL, which closed nothing: the
    // window closed only after File > Exit, through WM_CLOSE.
    std::vector<std::pair<UINT, WPARAM>> sequence;
    for (const RecordedMessage& m : recorder.messages) {
        if (m.message == WM_COMMAND || m.message == WM_CLOSE || m.message == WM_DESTROY)
            sequence.emplace_back(m.message, m.message == WM_COMMAND ? LOWORD(m.wParam) : 0);
    }
    EXPECT_EQ(sequence, (std::vector<std::pair<UINT, WPARAM>>{{WM_COMMAND, IDOK},
                                                              {WM_COMMAND, IDCANCEL},
                                                              {WM_COMMAND, IDM_FILE_EXIT},
                                                              {WM_CLOSE, 0},
                                                              {WM_DESTROY, 0}}));
}

TEST_F(MainWindowTest, CloseBoxEndsTheLoopWithCodeZero)
{
    TestMainWindow main;
    PostMessageA(main.window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(RunBoundedMessageLoop(main.window), 0);
    EXPECT_FALSE(loopTimedOut);
    EXPECT_FALSE(IsWindow(main.window));
}
