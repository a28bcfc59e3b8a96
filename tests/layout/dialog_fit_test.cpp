// At the display's DPI every dialog keeps its controls inside it and every label, button, radio
// button and check box its whole text on one line; the grip and the icons grow with the DPI.
// CTest runs this at 96, 144 and 192 DPI, each in a Wine prefix of its own.
#include "main_window_layout.h"
#include "dialog_test_support.h"
#include "resizer.h"
#include "resource_ids.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

INT_PTR CALLBACK InertDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

std::string TextOf(HWND window)
{
    char text[256] = {};
    GetWindowTextA(window, text, static_cast<int>(sizeof text));
    return text;
}

// The width the control's text needs in the control's font, on one line.
LONG TextWidth(HWND control)
{
    const std::string text = TextOf(control);
    HDC dc = GetDC(control);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    RECT needed{0, 0, 0, 0};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &needed, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return needed.right - needed.left;
}

struct Fit {
    HWND dialog;
    std::vector<std::string> problems;
};

BOOL CALLBACK CheckChild(HWND child, LPARAM lParam)
{
    auto* fit = reinterpret_cast<Fit*>(lParam);
    char className[32] = {};
    GetClassNameA(child, className, static_cast<int>(sizeof className));
    const std::string name = std::string(className) + " " + std::to_string(GetDlgCtrlID(child)) + " \"" +
                             TextOf(child) + "\"";
    RECT client{};
    GetClientRect(fit->dialog, &client);
    const RECT placed = RectInParent(child);
    if (placed.left < client.left || placed.top < client.top || placed.right > client.right ||
        placed.bottom > client.bottom)
        fit->problems.push_back(name + " lies outside the dialog");
    const auto style = static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE));
    RECT own{};
    GetClientRect(child, &own);
    const bool label = lstrcmpiA(className, "Static") == 0 && (style & SS_TYPEMASK) == SS_LEFT;
    const bool button = lstrcmpiA(className, "Button") == 0;
    const DWORD type = style & BS_TYPEMASK;
    const bool pushButton = button && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
    const bool choice = button && (type == BS_AUTORADIOBUTTON || type == BS_RADIOBUTTON || type == BS_AUTOCHECKBOX ||
                                   type == BS_CHECKBOX);
    // A push button draws its text inside its frame and focus rectangle; a radio button or check
    // box after its glyph and a gap.
    const LONG margin = pushButton ? 2 * (GetSystemMetrics(SM_CXEDGE) + 1)
                        : choice   ? GetSystemMetrics(SM_CXMENUCHECK) + 2 * GetSystemMetrics(SM_CXEDGE)
                                   : 0;
    if ((label || pushButton || choice) && TextWidth(child) + margin > own.right)
        fit->problems.push_back(name + " needs " + std::to_string(TextWidth(child) + margin) + " pixels, has " +
                                std::to_string(own.right));
    return TRUE;
}

std::vector<std::string> Problems(HWND dialog)
{
    Fit fit{dialog, {}};
    EnumChildWindows(dialog, &CheckChild, reinterpret_cast<LPARAM>(&fit));
    return fit.problems;
}

HWND Open(int templateId)
{
    InitCommonControls();
    return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), nullptr, InertDialogProc, 0);
}

int Dpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

}  // namespace

TEST(DialogFit, TheDisplayHasTheDpiThisRunIsFor)
{
    const char* wanted = std::getenv("QM_EXPECTED_DPI");
    if (wanted == nullptr)
        GTEST_SKIP() << "no DPI asked for";
    EXPECT_EQ(Dpi(), std::atoi(wanted));
}

TEST(DialogFit, EveryControlOfEveryDialogFitsWithItsWholeText)
{
    for (int id : {IDD_ENCTYPES, IDD_ABOUT, IDD_CONFIG_VIEW}) {
        SCOPED_TRACE("dialog " + std::to_string(id) + " at " + std::to_string(Dpi()) + " DPI");
        const HWND dialog = Open(id);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(Problems(dialog), std::vector<std::string>{});
        DestroyWindow(dialog);
    }
    SCOPED_TRACE("the main window at " + std::to_string(Dpi()) + " DPI");
    const HWND main = CreateMainDialog(SetUpMainDialogLayout);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(Problems(main), std::vector<std::string>{});
    DestroyWindow(main);
}

// The grip square follows the scroll bar metrics, which grow with the DPI, and the about box's
// icon control is as large as the DPI makes its 20 dialog units.
TEST(DialogFit, TheGripAndTheIconGrowWithTheDpi)
{
    const int dpi = Dpi();
    EXPECT_GE(GetSystemMetrics(SM_CXHSCROLL) * 96, 14 * dpi) << "grip square at " << dpi << " DPI";
    const HWND about = Open(IDD_ABOUT);
    ASSERT_NE(about, nullptr);
    RECT units{0, 0, 20, 20};
    MapDialogRect(about, &units);
    HWND icon = nullptr;
    for (HWND child = GetWindow(about, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        if ((static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE)) & SS_TYPEMASK) == SS_ICON)
            icon = child;
    ASSERT_NE(icon, nullptr);
    RECT shown{};
    GetClientRect(icon, &shown);
    EXPECT_GE(shown.right, GetSystemMetrics(SM_CXICON) * 3 / 4) << "icon at " << dpi << " DPI";
    EXPECT_GE(units.right * 96, 20 * dpi) << "20 dialog units at " << dpi << " DPI";
    DestroyWindow(about);
}
