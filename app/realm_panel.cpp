// The realm selection panel's operations on the two real list views.
#include "realm_panel.h"

#include "realm_item_text.h"
#include "realm_list.h"
#include "resource_ids.h"

#include <commctrl.h>

namespace {

void WarnNothingSelected(HWND mainWindow)
{
    MessageBoxA(mainWindow, "No items selected.", "Warning", MB_OK | MB_ICONWARNING);
}

int SelectedCount(HWND list)
{
    return static_cast<int>(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0));
}

int NextSelected(HWND list, int after)
{
    return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(after), MAKELPARAM(LVNI_SELECTED, 0)));
}

int ItemCount(HWND list)
{
    return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

// The default realm is the one item whose text starts with 'd'; the other marks sit later.
int FindDefault(HWND list)
{
    LVFINDINFOA find = {};
    find.flags = LVFI_PARTIAL;
    find.psz = "d";
    return static_cast<int>(SendMessageA(list, LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

void MarkFirstWhenNoDefault(HWND list)
{
    if (FindDefault(list) < 0 && ItemCount(list) > 0)
        MarkDefault(list, 0);
}

// Moves every selected item of one list into the other, the new text made by turn(old text),
// then sorts the receiving list. Each item is asked in at its old index; the sort places it.
// After a deletion the next selected item is searched from just before the deleted index:
// nothing above it is selected any more, so this finds what a search from the top would find,
// without walking the whole list again for every item.
void MoveSelectedItems(HWND from, HWND to, std::string (*turn)(const std::string&))
{
    const RedrawPause pauseFrom(from);
    const RedrawPause pauseTo(to);
    for (int index = NextSelected(from, -1); index >= 0; index = NextSelected(from, index - 1)) {
        InsertItemText(to, index, turn(ReadItemText(from, index)));
        SendMessageA(from, LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
    }
    SortRealmList(to);
}

}  // namespace

void AddSelectedRealms(HWND mainWindow)
{
    const HWND available = GetDlgItem(mainWindow, IDC_AVAILABLE_LIST);
    const HWND selected = GetDlgItem(mainWindow, IDC_SELECTED_LIST);
    if (SelectedCount(available) == 0) {
        WarnNothingSelected(mainWindow);
        return;
    }
    MoveSelectedItems(available, selected, &SelectedItemText);
    MarkFirstWhenNoDefault(selected);
}

void RemoveSelectedRealms(HWND mainWindow)
{
    const HWND available = GetDlgItem(mainWindow, IDC_AVAILABLE_LIST);
    const HWND selected = GetDlgItem(mainWindow, IDC_SELECTED_LIST);
    if (SelectedCount(selected) == 0) {
        WarnNothingSelected(mainWindow);
        return;
    }
    MoveSelectedItems(selected, available, &AvailableItemText);
    MarkFirstWhenNoDefault(selected);
}

void SetDefaultRealm(HWND mainWindow)
{
    const HWND selected = GetDlgItem(mainWindow, IDC_SELECTED_LIST);
    const int chosen = NextSelected(selected, -1);
    if (chosen < 0) {
        WarnNothingSelected(mainWindow);
        return;
    }
    const int current = FindDefault(selected);
    if (current == chosen)
        return;
    if (current >= 0)
        ClearDefault(selected, current);
    MarkDefault(selected, chosen);
}

void ToggleRealmFlag(HWND mainWindow, bool serverFlag)
{
    const HWND selected = GetDlgItem(mainWindow, IDC_SELECTED_LIST);
    if (SelectedCount(selected) == 0) {
        WarnNothingSelected(mainWindow);
        return;
    }
    const RedrawPause pause(selected);
    for (int index = NextSelected(selected, -1); index >= 0; index = NextSelected(selected, index))
        WriteItemText(selected, index, ToggledFlag(ReadItemText(selected, index), serverFlag));
}

void MarkDefault(HWND list, int index)
{
    WriteItemText(list, index, WithDefaultMark(ReadItemText(list, index)));
}

void ClearDefault(HWND list, int index)
{
    WriteItemText(list, index, WithoutDefaultMark(ReadItemText(list, index)));
}
