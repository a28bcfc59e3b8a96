// The main window's class, creation, procedure and message loop.
#include "main_window.h"

#include "about_box.h"
#include "button_tooltip.h"
#include "config_view.h"
#include "discovery_run.h"
#include "edit_log_sink.h"
#include "enctype_chooser.h"
#include "forwardable_choice.h"
#include "main_window_layout.h"
#include "realm_list.h"
#include "realm_panel.h"
#include "resource_ids.h"
#include "save_configuration.h"
#include "status_log.h"
#include "system_library.h"

#include <commctrl.h>
#include <objbase.h>

namespace {

constexpr char kMainWindowClassName[] = "QuillmereClass";

// A modal dialog from the module's templates, owned by the main window; its result is not used.
void RunModalDialog(HWND window, int templateId, DLGPROC procedure)
{
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), window, procedure, 0);
}

void DispatchCommand(HWND window, WORD command)
{
    switch (command) {
    case IDC_ADD:
        // During the search only the placeholder is listed: it is no realm to move.
        if (DiscoveryRunning())
            WarnNothingSelected(window);
        else
            AddSelectedRealms(window);
        break;
    case IDC_REMOVE:
        RemoveSelectedRealms(window);
        break;
    case IDC_DEFAULT_REALM:
        SetDefaultRealm(window);
        break;
    case IDC_SERVER_REALM:
        ToggleRealmFlag(window, true);
        break;
    case IDC_CLIENT_REALM:
        ToggleRealmFlag(window, false);
        break;
    case IDC_TGS_CHOOSE:
        OpenEncTypeChooser(window, IDC_TGS_ENCTYPES);
        break;
    case IDC_TKT_CHOOSE:
        OpenEncTypeChooser(window, IDC_TKT_ENCTYPES);
        break;
    case IDC_FORWARDABLE_TRUE:
    case IDC_FORWARDABLE_FALSE:
    case IDC_FORWARDABLE_NOT_SET:
        FollowForwardableChoice(window);
        break;
    case IDM_HELP_ABOUT:
        RunModalDialog(window, IDD_ABOUT, &AboutDialogProc);
        break;
    case IDM_FILE_VIEW:
        RunModalDialog(window, IDD_CONFIG_VIEW, &ConfigViewProc);
        break;
    case IDM_FILE_SAVE:
        SaveConfiguration(window);
        break;
    case IDM_FILE_EXIT:
        PostMessageA(window, WM_CLOSE, 0, 0);
        break;
    default:
        // IDOK and IDCANCEL from Enter and Escape land here: neither closes the window.
        break;
    }
}

// The control that had the focus when the window last lost it. One main window per process; a
// control of a window that is gone no longer counts.
HWND savedFocus = nullptr;

void SaveFocus(HWND window)
{
    const HWND focus = GetFocus();
    if (focus != nullptr && IsChild(window, focus))
        savedFocus = focus;
}

// Edits show their whole text selected when the keyboard brings the focus, as in any dialog.
void FocusControl(HWND control)
{
    SetFocus(control);
    if ((SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0)
        SendMessageA(control, EM_SETSEL, 0, -1);
}

// The focus goes back where it was, or to the first tab stop: never stays on the window itself.
void RestoreFocus(HWND window)
{
    const HWND target = savedFocus != nullptr && IsChild(window, savedFocus) && IsWindowEnabled(savedFocus) &&
                                IsWindowVisible(savedFocus)
                            ? savedFocus
                            : GetNextDlgTabItem(window, nullptr, FALSE);
    if (target != nullptr)
        SetFocus(target);
}

// WM_NEXTDLGCTL, which the dialog navigation sends for Tab, Shift+Tab and arrow keys: a non-zero
// low word of lParam names the control in wParam, otherwise wParam says previous (non-zero) or next.
void MoveFocus(HWND window, WPARAM wParam, LPARAM lParam)
{
    const HWND target = LOWORD(lParam) != 0 ? reinterpret_cast<HWND>(wParam)
                                            : GetNextDlgTabItem(window, GetFocus(), wParam != 0 ? TRUE : FALSE);
    if (target != nullptr && IsChild(window, target))
        FocusControl(target);
}

// The common control classes, from the system folder's comctl32, which is no KnownDLL.
void RegisterCommonControls()
{
    const auto initialize =
        AsFunction<decltype(&InitCommonControls)>(RequireSystemFunction("comctl32.dll", "InitCommonControls"));
    if (initialize != nullptr)
        initialize();
}

// Registration fails harmlessly when the class exists; a missing class makes the creation fail.
void RegisterMainWindowClass(HINSTANCE instance)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = &MainWndProc;
    windowClass.cbClsExtra = 0;
    // The dialog manager keeps its data in these bytes of a dialog's own window class.
    windowClass.cbWndExtra = DLGWINDOWEXTRA;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_MAIN));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = kMainWindowClassName;
    RegisterClassExA(&windowClass);
}

}  // namespace

HWND CreateMainWindow(HINSTANCE instance)
{
    RegisterCommonControls();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    RegisterMainWindowClass(instance);
    // The class procedure is also handed over as the dialog procedure so that the dialog
    // manager sends WM_INITDIALOG; it never calls DefDlgProc, so all messages reach it as the
    // window procedure. LRESULT and INT_PTR are different types on 32-bit (long and int).
    const HWND window = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr,
                                           reinterpret_cast<DLGPROC>(reinterpret_cast<void (*)()>(&MainWndProc)), 0);
    if (window == nullptr)
        return nullptr;
    CreateStatusLog(EditControlLogSink(GetDlgItem(window, IDC_STATUS_LOG)));
    return window;
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        InsertViewMenuItem(window);
        break;
    case WM_INITDIALOG:
        SetUpMainDialogLayout(window);
        StartForwardableChoice(window);
        ShowSearchingPlaceholder(window);
        AddButtonTooltip(IDC_SERVER_REALM, window, "Realms that contain servers");
        AddButtonTooltip(IDC_CLIENT_REALM, window, "Realms that contain clients");
        AddButtonTooltip(IDC_MIT_CLIENTS, window, "MIT clients: [capaths] in MIT's layout");
        AddButtonTooltip(IDC_HEIMDAL_CLIENTS, window,
                         "Heimdal clients: [domain_realm], Heimdal's enctype lines, [capaths] in Heimdal's layout "
                         "unless MIT is ticked too");
        AddButtonTooltip(IDC_JAVA_CLIENTS, window, "Java clients: [domain_realm] and udp_preference_limit = 1");
        CheckDlgButton(window, IDC_MIT_CLIENTS, BST_CHECKED);
        return TRUE;
    case WM_COMMAND:
        DispatchCommand(window, LOWORD(wParam));
        break;
    case WM_NEXTDLGCTL:
        MoveFocus(window, wParam, lParam);
        return 0;
    // A modal dialog or message box disables the window, which takes the focus away before the
    // window is deactivated: the focus is noted when the disabling cancels modes, just before.
    case WM_CANCELMODE:
        SaveFocus(window);
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE)
            SaveFocus(window);
        break;
    case WM_SETFOCUS:
        RestoreFocus(window);
        return 0;
    case WM_TIMER:
        if (wParam != kDiscoveryJoinTimer)
            break;
        TakeJoinTick();
        return 0;
    case kDiscoveryReplyMessage:
        TakeDiscoveryReply(lParam);
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void InsertViewMenuItem(HWND window)
{
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_STRING;
    item.fType = MFT_STRING;
    item.wID = IDM_FILE_VIEW;
    item.dwTypeData = const_cast<char*>("&View");
    InsertMenuItemA(GetSubMenu(GetMenu(window), 0), 1, TRUE, &item);
}

void ShowSearchingPlaceholder(HWND window)
{
    InsertItemText(GetDlgItem(window, IDC_AVAILABLE_LIST), 0, kSearchingPlaceholder);
}

void ShowSearchProgress(HWND window, std::size_t found)
{
    const std::string text = std::string(kSearchingPlaceholder) + " (" + std::to_string(found) + " found)";
    WriteItemText(GetDlgItem(window, IDC_AVAILABLE_LIST), 0, text);
}

int RunMessageLoop(HWND mainWindow)
{
    MSG message = {};
    BOOL got = FALSE;
    while ((got = GetMessageA(&message, nullptr, 0, 0)) > 0) {
        if (!IsDialogMessageA(mainWindow, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    // -1 is a failure of the loop itself, not a quit: it must not pass for success.
    return got == 0 ? static_cast<int>(message.wParam) : 1;
}
