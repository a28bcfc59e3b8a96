// The configuration view's procedure and the filling of its edit control.
#include "config_view.h"

#include "config_view_layout.h"
#include "crlf_lines.h"
#include "dialog_state.h"
#include "resource_ids.h"

#include <new>
#include <string>

bool FillConfigView(HWND dialog)
{
    const HWND edit = GetDlgItem(dialog, IDC_CONFIG_TEXT);
    // Appending obeys the edit's text limit, 32767 characters by default: a configuration
    // of a few dozen realms is longer.
    SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);
    try {
        // All lines go in with one append: the edit lays out its whole text again on every
        // replacement, so appending line by line costs the square of the text's length.
        const std::string lines = CrLfLines(GeneratedConfigText(GetParent(dialog)));
        const LRESULT length = SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0);
        SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(length), length);
        SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(lines.c_str()));
        // An edit that can't hold the text takes none of it; the length may count more than the
        // text's characters in a double-byte code page, never fewer.
        return static_cast<std::size_t>(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0)) >= lines.size();
    } catch (const std::bad_alloc&) {
        return false;
    }
}

INT_PTR CALLBACK ConfigViewProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        if (!FillConfigView(dialog)) {
            // A view with part of the text, or none, would pass for the configuration.
            MessageBoxA(GetParent(dialog), "The configuration can't be shown: there is not enough memory for its text.",
                        "Error", MB_OK | MB_ICONERROR);
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        SetUpConfigViewLayout(dialog);
        return TRUE;
    case WM_SHOWWINDOW:
        SendDlgItemMessageA(dialog, IDC_CONFIG_TEXT, EM_SETSEL, static_cast<WPARAM>(-1), 0);
        return TRUE;
    case WM_COMMAND:
        // Enter sends IDOK, which is ignored: only Escape and the close box end the view.
        if (LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}
