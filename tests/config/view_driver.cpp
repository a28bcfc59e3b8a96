// A thread timer that drives the configuration view's modal loop step by step.
#include "view_driver.h"

#include "config_view.h"
#include "resource_ids.h"

namespace {

constexpr UINT kTickMs = 20;
constexpr int kTickBound = 250;  // five seconds

struct Drive {
    HWND owner = nullptr;
    HWND dialog = nullptr;
    int step = 0;
    int ticks = 0;
    ViewVisit visit;
};

Drive* activeDrive = nullptr;

std::string TextOf(HWND window)
{
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    GetWindowTextA(window, &text[0], static_cast<int>(text.size()));
    text.resize(text.size() - 1);
    return text;
}

// A key press as the keyboard would queue it for the focused control.
void PressKey(HWND target, WPARAM key)
{
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

HWND FindView(HWND owner)
{
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, "#32770", nullptr)) != nullptr)
        if (GetWindow(window, GW_OWNER) == owner && IsWindowVisible(window))
            return window;
    return nullptr;
}

void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD)
{
    Drive& drive = *activeDrive;
    if (++drive.ticks > kTickBound && IsWindow(drive.dialog)) {
        drive.visit.forced = true;
        EndDialog(drive.dialog, 0);
        return;
    }
    switch (drive.step) {
    case 0: {
        drive.dialog = FindView(drive.owner);
        if (drive.dialog == nullptr)
            return;
        const HWND edit = GetDlgItem(drive.dialog, IDC_CONFIG_TEXT);
        drive.visit.found = true;
        drive.visit.caption = TextOf(drive.dialog);
        drive.visit.text = TextOf(edit);
        drive.visit.focusInEdit = GetFocus() == edit;
        SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&drive.visit.selectionStart),
                     reinterpret_cast<LPARAM>(&drive.visit.selectionEnd));
        PressKey(GetFocus() != nullptr ? GetFocus() : edit, VK_RETURN);
        drive.step = 1;
        return;
    }
    case 1:
        drive.visit.openAfterEnter = IsWindow(drive.dialog) && IsWindowVisible(drive.dialog);
        PressKey(GetFocus() != nullptr ? GetFocus() : drive.dialog, VK_ESCAPE);
        drive.step = 2;
        return;
    default:
        return;
    }
}

}  // namespace

ViewVisit VisitConfigView(HWND mainWindow)
{
    Drive drive;
    drive.owner = mainWindow;
    activeDrive = &drive;
    const UINT_PTR timer = SetTimer(nullptr, 0, kTickMs, &OnTick);
    drive.visit.result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_CONFIG_VIEW), mainWindow,
                                         &ConfigViewProc, 0);
    KillTimer(nullptr, timer);
    activeDrive = nullptr;
    drive.visit.closedByEscape = drive.step == 2 && !drive.visit.forced && drive.visit.result == IDCANCEL;
    return drive.visit;
}

std::string WithCrLf(const std::string& text)
{
    std::string converted;
    for (char c : text) {
        if (c == '\n')
            converted += '\r';
        converted += c;
    }
    return converted;
}
