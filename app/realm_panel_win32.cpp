// The realm selection panel's operations on the two real list views.
#include "realm_panel.h"

#include "list_item_text.h"
#include "realm_item_text.h"
#include "realm_list.h"
#include "resource_ids.h"

#include <commctrl.h>

#include <vector>

namespace {

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

// Where an item of the source list ends up once the moved items are gone: itself if it stays,
// otherwise the first staying item after it, or the last staying item when none follows; -1 when
// nothing stays. This is where the list's own deletions leave the focus and the selection mark.
int IndexAfterMove(const std::vector<int>& newIndex, int index)
{
    if (index < 0 || newIndex.empty())
        return -1;
    for (std::size_t i = static_cast<std::size_t>(index); i < newIndex.size(); ++i)
        if (newIndex[i] >= 0)
            return newIndex[i];
    for (std::size_t i = static_cast<std::size_t>(index); i-- > 0;)
        if (newIndex[i] >= 0)
            return newIndex[i];
    return -1;
}

// Moves every selected item of one list into the other, its text there made by
// textInTarget(old text), then sorts the receiving list. The items go in at its end; the sort
// places them (two realms never compare alike, so where they went in does not show).
// A list view takes a long time over each deletion (under Wine some 130 microseconds at 5,000
// items) and less over an insertion at the end: when no more items stay than move (about where
// the two ways cost the same), the source list is emptied at once and the staying items put back,
// which moving thousands of realms needs.
void MoveSelectedItems(HWND from, HWND to, std::string (*textInTarget)(const std::string&))
{
    const RedrawPause pauseFrom(from);
    const RedrawPause pauseTo(to);
    const ListItems items = ReadListItems(from);
    std::vector<int> moving;
    std::vector<int> newIndex(items.texts.size(), -1);
    int focus = -1;
    int staying = 0;
    for (std::size_t i = 0; i < items.texts.size(); ++i) {
        if ((items.states[i] & LVIS_FOCUSED) != 0)
            focus = static_cast<int>(i);
        if ((items.states[i] & LVIS_SELECTED) != 0)
            moving.push_back(static_cast<int>(i));
        else
            newIndex[i] = staying++;
    }
    for (const int index : moving)
        InsertItemText(to, ItemCount(to), textInTarget(items.texts[static_cast<std::size_t>(index)]));
    if (static_cast<std::size_t>(staying) <= moving.size()) {
        SendMessageA(from, LVM_DELETEALLITEMS, 0, 0);
        for (std::size_t i = 0; i < items.texts.size(); ++i)
            if (newIndex[i] >= 0)
                InsertItemText(from, newIndex[i], items.texts[i]);
    } else {
        for (auto index = moving.rbegin(); index != moving.rend(); ++index)
            SendMessageA(from, LVM_DELETEITEM, static_cast<WPARAM>(*index), 0);
    }
    SetFocusedItem(from, IndexAfterMove(newIndex, focus));
    SendMessageA(from, LVM_SETSELECTIONMARK, 0, IndexAfterMove(newIndex, items.selectionMark));
    SortRealmList(to);
}

}  // namespace

void WarnNothingSelected(HWND mainWindow)
{
    MessageBoxA(mainWindow, "No items selected.", "Warning", MB_OK | MB_ICONWARNING);
}

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
