// The about box: hover look and click of the link label.
#include "about_box.h"

#include "about_shell.h"
#include "quillmere_version.h"
#include "resource_ids.h"

namespace {

// The box is modal, so one set of state serves every opening.
struct AboutBoxState {
    bool linkIdle = true;  // the pointer is not over the link label
    HWND linkLabel = nullptr;
    HFONT plainFont = nullptr;
    HFONT underlineFont = nullptr;  // created at each opening, deleted when the box goes
    HCURSOR handCursor = nullptr;
    HCURSOR arrowCursor = nullptr;
};

AboutBoxState about;

// The link's colour where the system has no hot-light colour to give.
constexpr COLORREF kFallbackLinkColour = RGB(0, 0, 255);

void OnInitDialog(HWND dialog)
{
    about.linkIdle = true;
    about.linkLabel = GetDlgItem(dialog, IDC_ABOUT_LINK);
    about.plainFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTA font{};
    GetObjectA(about.plainFont, sizeof font, &font);
    font.lfUnderline = 1;
    if (about.underlineFont != nullptr)
        DeleteObject(about.underlineFont);
    about.underlineFont = CreateFontIndirectA(&font);
    about.handCursor = LoadCursorA(nullptr, IDC_HAND);
    about.arrowCursor = LoadCursorA(nullptr, IDC_ARROW);
}

void OnDestroy()
{
    if (about.underlineFont != nullptr)
        DeleteObject(about.underlineFont);
    about.underlineFont = nullptr;
    about.linkLabel = nullptr;
}

INT_PTR ColourLink(HDC dc)
{
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColorBrush(COLOR_HOTLIGHT) != nullptr ? GetSysColor(COLOR_HOTLIGHT) : kFallbackLinkColour);
    HFONT font = about.linkIdle && about.underlineFont != nullptr ? about.underlineFont : about.plainFont;
    SelectObject(dc, font);
    return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
}

// Mouse coordinates of the dialog's own client area, read as unsigned words.
bool OverLink(HWND dialog, LPARAM lParam)
{
    POINT point{LOWORD(lParam), HIWORD(lParam)};
    return about.linkLabel != nullptr && ChildWindowFromPoint(dialog, point) == about.linkLabel;
}

// Every mouse message over the dialog, a click included, first asks for the cursor, and the
// default answer is the class's arrow: over the label the answer is the hand.
bool ShowHandOverLink(HWND dialog, LPARAM lParam)
{
    if (LOWORD(lParam) != HTCLIENT || about.linkLabel == nullptr)
        return false;
    POINT point{};
    GetCursorPos(&point);
    ScreenToClient(dialog, &point);
    if (ChildWindowFromPoint(dialog, point) != about.linkLabel)
        return false;
    SetCursor(about.handCursor);
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
    return true;
}

void OnMouseMove(HWND dialog, LPARAM lParam)
{
    // Without leave tracking the look changes only on moves inside the dialog.
    if (about.linkIdle == OverLink(dialog, lParam)) {
        about.linkIdle = !about.linkIdle;
        InvalidateRect(about.linkLabel, nullptr, FALSE);
    }
    SetCursor(about.linkIdle ? about.arrowCursor : about.handCursor);
}

}  // namespace

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog);
        return TRUE;
    case WM_DESTROY:
        OnDestroy();
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) != about.linkLabel || about.linkLabel == nullptr)
            return FALSE;
        return ColourLink(reinterpret_cast<HDC>(wParam));
    case WM_MOUSEMOVE:
        OnMouseMove(dialog, lParam);
        return FALSE;
    case WM_SETCURSOR:
        return ShowHandOverLink(dialog, lParam) ? TRUE : FALSE;
    case WM_LBUTTONDOWN:
        if (OverLink(dialog, lParam))
            aboutShell.execute(dialog, "open", QM_WEB_ADDRESS, nullptr, nullptr, SW_SHOWNORMAL);
        return FALSE;
    default:
        return FALSE;
    }
}
