// Reading, writing and sorting the items of the realm list views.
#include "realm_list.h"

#include "list_item_text.h"
#include "realm_item_text.h"
#include "realm_order.h"

#include <commctrl.h>

#include <vector>

namespace {

// The item states that belong to an item rather than to its position.
constexpr UINT kItemStates = LVIS_SELECTED | LVIS_FOCUSED;

UINT ReadItemState(HWND list, int index)
{
    return static_cast<UINT>(SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(index), kItemStates));
}

void WriteItemState(HWND list, int index, UINT state)
{
    LVITEMA item = {};
    item.stateMask = kItemStates;
    item.state = state;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

RedrawPause::RedrawPause(HWND pausedList) : list(pausedList)
{
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
}

RedrawPause::~RedrawPause()
{
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void WriteItemText(HWND list, int index, const std::string& text)
{
    LVITEMA item = {};
    item.iSubItem = 0;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void SetFocusedItem(HWND list, int index)
{
    LVITEMA item = {};
    item.stateMask = LVIS_FOCUSED;
    item.state = index >= 0 ? LVIS_FOCUSED : 0;
    // Index -1 sets the state of every item.
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index < 0 ? -1 : index), reinterpret_cast<LPARAM>(&item));
}

void InsertItemText(HWND list, int index, const std::string& text)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.iSubItem = 0;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

ListItems ReadListItems(HWND list)
{
    ListItems items;
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        items.texts.push_back(ReadItemText(list, index));
        items.states.push_back(ReadItemState(list, index));
    }
    items.selectionMark = static_cast<int>(SendMessageA(list, LVM_GETSELECTIONMARK, 0, 0));
    return items;
}

void WriteItemsInOrder(HWND list, const ListItems& items, const std::vector<int>& order)
{
    for (std::size_t position = 0; position < order.size(); ++position) {
        const int from = order[position];
        const int to = static_cast<int>(position);
        // The selection mark, where a Shift-click range starts, moves with its item too.
        if (from == items.selectionMark)
            SendMessageA(list, LVM_SETSELECTIONMARK, 0, to);
        if (from == to)
            continue;
        WriteItemText(list, to, items.texts[static_cast<std::size_t>(from)]);
        WriteItemState(list, to, items.states[static_cast<std::size_t>(from)]);
    }
}

// Each text is read once; the order is found on the copies, then the items are written back in
// that order. A list-view sort (LVM_SORTITEMSEX) would read two texts from the list for every
// comparison, and under Wine its callback gets positions in a half-sorted copy of the items while
// the list still answers from the unsorted ones.
void SortRealmList(HWND list)
{
    const ListItems items = ReadListItems(list);
    WriteItemsInOrder(list, items, RealmTextOrder(items.texts));
}
