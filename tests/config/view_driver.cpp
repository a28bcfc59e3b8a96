// Opens the configuration view through the modal dialog driver and takes it through its steps.
#include "view_driver.h"

#include "config_view.h"
#include "modal_dialogs.h"
#include "resource_ids.h"

#include <vector>

ViewVisit VisitConfigView(HWND mainWindow)
{
    ViewVisit visit;
    const std::vector<DialogStep> steps = {
        [&visit](HWND dialog) {
            const HWND edit = GetDlgItem(dialog, IDC_CONFIG_TEXT);
            visit.found = true;
            visit.caption = WindowText(dialog);
            visit.text = WindowText(edit);
            visit.focusInEdit = GetFocus() == edit;
            SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&visit.selectionStart),
                         reinterpret_cast<LPARAM>(&visit.selectionEnd));
            PressKey(edit, VK_RETURN);
        },
        [&visit](HWND dialog) {
            visit.openAfterEnter = IsWindow(dialog) && IsWindowVisible(dialog);
            PressKey(dialog, VK_ESCAPE);
        },
    };
    const ModalOutcome outcome = RunModalDialog(
        [mainWindow]() {
            return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_CONFIG_VIEW), mainWindow,
                                   &ConfigViewProc, 0);
        },
        steps);
    visit.result = outcome.result;
    visit.forced = outcome.timedOut;
    visit.closedByEscape = RanToTheEnd(outcome, steps) && visit.result == IDCANCEL;
    return visit;
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
