// The test-made main dialog and child rectangles.
#include "dialog_test_support.h"

#include <commctrl.h>

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

}  // namespace

HWND CreateMainDialog(void (*onInit)(HWND dialog))
{
    RegisterTestMainClass();
    return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN), nullptr, UnusedDialogProc,
                              reinterpret_cast<LPARAM>(onInit));
}

RECT RectInParent(HWND child)
{
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}
