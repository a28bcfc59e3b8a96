// The forwardable radio group: one button checked from the start, the tab stop following it.
#include "forwardable_choice.h"

#include "resource_ids.h"

// CheckRadioButton and the loop below take the group as a range of ids.
static_assert(IDC_FORWARDABLE_FALSE == IDC_FORWARDABLE_TRUE + 1 && IDC_FORWARDABLE_NOT_SET == IDC_FORWARDABLE_FALSE + 1,
              "the forwardable buttons' ids follow each other");

void StartForwardableChoice(HWND mainWindow)
{
    CheckRadioButton(mainWindow, IDC_FORWARDABLE_TRUE, IDC_FORWARDABLE_NOT_SET, IDC_FORWARDABLE_NOT_SET);
    FollowForwardableChoice(mainWindow);
}

void FollowForwardableChoice(HWND mainWindow)
{
    for (int id = IDC_FORWARDABLE_TRUE; id <= IDC_FORWARDABLE_NOT_SET; ++id) {
        const HWND button = GetDlgItem(mainWindow, id);
        const LONG_PTR style = GetWindowLongPtrA(button, GWL_STYLE);
        const bool checked = SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
        SetWindowLongPtrA(button, GWL_STYLE, checked ? style | WS_TABSTOP : style & ~LONG_PTR{WS_TABSTOP});
    }
}
