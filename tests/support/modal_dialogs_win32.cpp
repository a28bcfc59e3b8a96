// The thread timer that drives modal dialogs, and the input the tests give them.
#include "modal_dialogs.h"

#include <commctrl.h>

#include <cstring>

namespace {

constexpr UINT kTickMs = 20;
constexpr ULONGLONG kModalBoundMs = 10000;
constexpr INT_PTR kTimedOutResult = -77;

// The innermost RunWithTicks' tick; a timer fires for every call, so each asks only its own.
std::vector<const std::function<void()>*> activeTicks;

void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD)
{
    if (!activeTicks.empty())
        (*activeTicks.back())();
}

BOOL CALLBACK CollectDialog(HWND window, LPARAM found)
{
    char className[16] = {};
    GetClassNameA(window, className, static_cast<int>(sizeof className));
    if (std::strcmp(className, "#32770") == 0 && IsWindowVisible(window))
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

}  // namespace

void RunWithTicks(const std::function<void()>& action, const std::function<void()>& tick)
{
    activeTicks.push_back(&tick);
    const UINT_PTR timer = SetTimer(nullptr, 0, kTickMs, &OnTick);
    action();
    KillTimer(nullptr, timer);
    activeTicks.pop_back();
}

std::vector<HWND> ShownDialogs()
{
    std::vector<HWND> dialogs;
    EnumThreadWindows(GetCurrentThreadId(), &CollectDialog, reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
}

ModalOutcome RunModalDialog(const std::function<INT_PTR()>& open, const std::vector<DialogStep>& steps)
{
    InitCommonControls();
    const ULONGLONG deadline = GetTickCount64() + kModalBoundMs;
    ModalOutcome outcome{0, 0, false};
    const auto tick = [&]() {
        HWND dialog = nullptr;
        for (HWND shown : ShownDialogs())
            if (IsWindowEnabled(shown)) {
                dialog = shown;
                break;
            }
        if (dialog == nullptr)
            return;
        if (GetTickCount64() > deadline) {
            outcome.timedOut = true;
            EndDialog(dialog, kTimedOutResult);
            return;
        }
        if (outcome.stepsRun < steps.size())
            steps[outcome.stepsRun++](dialog);
    };
    RunWithTicks([&]() { outcome.result = open(); }, tick);
    return outcome;
}

bool RanToTheEnd(const ModalOutcome& outcome, const std::vector<DialogStep>& steps)
{
    return outcome.stepsRun == steps.size() && !outcome.timedOut;
}

std::string WindowText(HWND window)
{
    const auto length = static_cast<std::size_t>(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0));
    std::string text(length + 1, '\0');
    SendMessageA(window, WM_GETTEXT, static_cast<WPARAM>(text.size()), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(length);
    return text;
}

void PressKey(HWND window, WPARAM key)
{
    const HWND focus = GetFocus();
    const HWND target = focus != nullptr ? focus : window;
    // Repeat count 1; the key-up also has the previous-state and transition bits set.
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

void ClickCloseBox(HWND dialog)
{
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}
