// Driving the main window's controls with messages.
#include "main_window_driver.h"

#include "discovery_run.h"
#include "resource_ids.h"
#include "main_window.h"
#include "status_log.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace {

constexpr UINT kTickMs = 15;
constexpr ULONGLONG kSessionBoundMs = 20000;

struct SessionState {
    HWND mainWindow;
    const std::vector<KeyStep>* steps;
    std::size_t next;
    ULONGLONG deadline;
    bool finished;
    bool timedOut;
};

SessionState* session = nullptr;

void CALLBACK SessionTick(HWND, UINT, UINT_PTR, DWORD)
{
    if (session == nullptr || session->finished)
        return;
    if (GetTickCount64() > session->deadline) {
        session->timedOut = true;
        session->finished = true;
        // A modal dialog still up would keep the loop from seeing the quit.
        if (HWND box = ShownDialogBox())
            EndDialog(box, IDCANCEL);
        DestroyWindow(session->mainWindow);
        return;
    }
    if (session->next < session->steps->size()) {
        if ((*session->steps)[session->next]())
            ++session->next;
        return;
    }
    session->finished = true;
    PostMessageA(session->mainWindow, WM_COMMAND, MAKEWPARAM(IDM_FILE_EXIT, 0), 0);
}

void SetModifiers(bool shift, bool control)
{
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = keys[VK_LSHIFT] = shift ? 0x80 : 0;
    keys[VK_CONTROL] = keys[VK_LCONTROL] = control ? 0x80 : 0;
    SetKeyboardState(keys);
}

void PostKey(HWND target, UINT down, UINT up, WPARAM key, LPARAM extra)
{
    const auto scan = static_cast<LPARAM>(MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_VSC)) << 16;
    PostMessageA(target, down, key, scan | extra | 1);
    PostMessageA(target, up, key, scan | extra | static_cast<LPARAM>(0xC0000001u));
}

BOOL CALLBACK FindShownBox(HWND window, LPARAM lParam)
{
    char className[16] = {};
    GetClassNameA(window, className, static_cast<int>(sizeof className));
    if (lstrcmpA(className, "#32770") != 0 || !IsWindowVisible(window))
        return TRUE;
    *reinterpret_cast<HWND*>(lParam) = window;
    return FALSE;
}

}  // namespace

TestMainWindow::TestMainWindow(bool shown)
{
    ResetStatusLogForTests();
    window = CreateMainWindow(GetModuleHandleA(nullptr));
    if (window == nullptr)
        throw std::runtime_error("the main window was not created");
    if (shown) {
        ShowWindow(window, SW_SHOWNORMAL);
        UpdateWindow(window);
    }
}

TestMainWindow::~TestMainWindow()
{
    if (IsWindow(window))
        DestroyWindow(window);
    ForgetQuitMessage();
    ResetStatusLogForTests();
}

bool DispatchUntil(const std::function<bool()>& condition)
{
    const ULONGLONG deadline = GetTickCount64() + kSessionBoundMs;
    while (!condition()) {
        if (GetTickCount64() > deadline)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kTickMs, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return true;
}

void RunDiscovery(HWND mainWindow, const DirectoryPlatform& platform)
{
    StartDiscovery(mainWindow, platform, 1);
    if (!DispatchUntil([] { return !DiscoveryRunning(); }))
        throw std::runtime_error("the discovery did not end");
}

void ForgetQuitMessage()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

std::vector<std::string> ItemTexts(HWND list)
{
    std::vector<std::string> texts;
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        char buffer[2048] = {};
        LVITEMA item = {};
        item.pszText = buffer;
        item.cchTextMax = static_cast<int>(sizeof buffer);
        SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        texts.emplace_back(buffer);
    }
    return texts;
}

std::vector<int> SelectedIndexes(HWND list)
{
    std::vector<int> indexes;
    for (int index = -1;;) {
        index = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(index), LVNI_SELECTED));
        if (index < 0)
            return indexes;
        indexes.push_back(index);
    }
}

void SelectItems(HWND list, const std::vector<int>& indexes)
{
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = 0;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    item.state = LVIS_SELECTED;
    for (int index : indexes)
        SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void SelectItemsByText(HWND list, const std::vector<std::string>& texts)
{
    const std::vector<std::string> items = ItemTexts(list);
    std::vector<int> indexes;
    for (const std::string& text : texts) {
        const auto found = std::find(items.begin(), items.end(), text);
        if (found == items.end())
            throw std::runtime_error("no item \"" + text + "\" to select");
        indexes.push_back(static_cast<int>(found - items.begin()));
    }
    SelectItems(list, indexes);
}

void ShowRealms(HWND mainWindow, const std::vector<std::string>& names)
{
    KdcTable kdcTable;
    for (const std::string& name : names)
        kdcTable[name] = {"kdc." + name};
    ShowAvailableRealms(mainWindow, kdcTable);
}

void PressButton(HWND mainWindow, int id)
{
    SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(mainWindow, id)));
}

KeyboardSession RunKeyboardSession(HWND mainWindow, const std::vector<KeyStep>& steps)
{
    SessionState state{mainWindow, &steps, 0, GetTickCount64() + kSessionBoundMs, false, false};
    session = &state;
    const UINT_PTR timer = SetTimer(nullptr, 0, kTickMs, &SessionTick);
    KeyboardSession outcome;
    outcome.exitCode = RunMessageLoop(mainWindow);
    KillTimer(nullptr, timer);
    session = nullptr;
    SetModifiers(false, false);
    outcome.stepsRun = state.next;
    outcome.timedOut = state.timedOut;
    return outcome;
}

KeyStep Key(WPARAM key, bool shift, bool control)
{
    auto posted = std::make_shared<bool>(false);
    return [key, shift, control, posted] {
        // Second tick: the keys have been handled, as a timer waits for an empty queue.
        if (*posted) {
            SetModifiers(false, false);
            return true;
        }
        const HWND focus = GetFocus();
        if (focus == nullptr)
            return false;
        SetModifiers(shift, control);
        PostKey(focus, WM_KEYDOWN, WM_KEYUP, key, 0);
        *posted = true;
        return false;
    };
}

KeyStep AltKey(char letter)
{
    return [letter] {
        const HWND focus = GetFocus();
        if (focus == nullptr)
            return false;
        // Bit 29 of lParam: Alt is down.
        PostKey(focus, WM_SYSKEYDOWN, WM_SYSKEYUP, static_cast<WPARAM>(letter), LPARAM{1} << 29);
        return true;
    };
}

KeyStep Do(const std::function<void()>& action)
{
    return [action] {
        action();
        return true;
    };
}

KeyStep WaitFor(const std::function<bool()>& condition)
{
    return condition;
}

int FocusedId(HWND mainWindow)
{
    const HWND focus = GetFocus();
    return focus != nullptr && IsChild(mainWindow, focus) ? GetDlgCtrlID(focus) : 0;
}

HWND ShownDialogBox()
{
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindShownBox, reinterpret_cast<LPARAM>(&box));
    return box;
}
