// Test-made main dialog and the timer-driven modal dialog driver.
#include "dialog_test_support.h"

#include <commctrl.h>

#include <string>

#include "resource_ids.h"

namespace {

LRESULT CALLBACK TestMainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto onInit = reinterpret_cast<void (*)(HWND)>(lParam);
        if (onInit != nullptr)
            onInit(window);
        return TRUE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// The class procedure never calls the dialog manager's default procedure, so this is never called.
INT_PTR CALLBACK UnusedDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

void RegisterTestMainClass()
{
    static bool registered = false;
    if (registered)
        return;
    InitCommonControls();
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = TestMainProc;
    windowClass.cbWndExtra = DLGWINDOWEXTRA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "QuillmereClass";
    registered = RegisterClassExA(&windowClass) != 0;
}

struct ModalDriver {
    const std::vector<DialogStep>* steps;
    std::size_t next;
    ULONGLONG deadline;
    bool timedOut;
};

constexpr INT_PTR kTimedOutResult = -77;

ModalDriver* activeDriver = nullptr;

BOOL CALLBACK FindShownDialog(HWND window, LPARAM found)
{
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) == "#32770" && IsWindowVisible(window) && IsWindowEnabled(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

HWND ShownModalDialog()
{
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindShownDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

void CALLBACK DriveModalDialog(HWND, UINT, UINT_PTR, DWORD)
{
    if (activeDriver == nullptr)
        return;
    HWND dialog = ShownModalDialog();
    if (dialog == nullptr)
        return;
    if (GetTickCount64() > activeDriver->deadline) {
        activeDriver->timedOut = true;
        EndDialog(dialog, kTimedOutResult);
        return;
    }
    if (activeDriver->next < activeDriver->steps->size())
        (*activeDriver->steps)[activeDriver->next++](dialog);
}

}  // namespace

HWND CreateMainDialog(void (*onInit)(HWND dialog))
{
    RegisterTestMainClass();
    return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN), nullptr, UnusedDialogProc,
                              reinterpret_cast<LPARAM>(onInit));
}

ModalOutcome RunModalDialog(const std::function<INT_PTR()>& open, const std::vector<DialogStep>& steps)
{
    InitCommonControls();
    ModalDriver driver{&steps, 0, GetTickCount64() + 10000, false};
    ModalDriver* outer = activeDriver;
    activeDriver = &driver;
    UINT_PTR timer = SetTimer(nullptr, 0, 20, DriveModalDialog);
    INT_PTR result = open();
    KillTimer(nullptr, timer);
    activeDriver = outer;
    return ModalOutcome{result, driver.next, driver.timedOut};
}

bool RanToTheEnd(const ModalOutcome& outcome, const std::vector<DialogStep>& steps)
{
    return outcome.stepsRun == steps.size() && !outcome.timedOut;
}

void PressKey(HWND dialog, WPARAM key)
{
    HWND focus = GetFocus();
    PostMessageA(focus != nullptr ? focus : dialog, WM_KEYDOWN, key, 1);
    PostMessageA(focus != nullptr ? focus : dialog, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

void ClickCloseBox(HWND dialog)
{
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}

RECT RectInParent(HWND child)
{
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}
