// Reading, writing and sorting the items of the realm list views.
#include "realm_list.h"

#include "realm_item_text.h"
#include "realm_order.h"

#include <commctrl.h>

#include <algorithm>
#include <numeric>
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

std::string ReadItemText(HWND list, int index)
{
    char buffer[kItemTextBufferSize] = {};
    LVITEMA item = {};
    item.iSubItem = 0;
    item.pszText = buffer;
    item.cchTextMax = static_cast<int>(sizeof buffer);
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return buffer;
}

void WriteItemText(HWND list, int index, const std::string& text)
{
    LVITEMA item = {};
    item.iSubItem = 0;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
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

int CALLBACK CompareRealmItems(LPARAM first, LPARAM second, LPARAM list)
{
    const HWND listWindow = reinterpret_cast<HWND>(list);
    return CompareRealmTexts(ReadItemText(listWindow, static_cast<int>(first)),
                             ReadItemText(listWindow, static_cast<int>(second)));
}

// The order is found with CompareRealmItems on the untouched list, then the items are written
// back in that order. LVM_SORTITEMSEX would do the same on Windows, but Wine hands its callback
// positions in its half-sorted copy while the list still answers from the unsorted items, so a
// callback that reads texts by index sorts wrongly there.
void SortRealmList(HWND list)
{
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    std::vector<int> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    const auto sortParameter = reinterpret_cast<LPARAM>(list);
    std::stable_sort(order.begin(), order.end(),
                     [sortParameter](int a, int b) { return CompareRealmItems(a, b, sortParameter) < 0; });
    std::vector<std::string> texts;
    std::vector<UINT> states;
    for (int index = 0; index < count; ++index) {
        texts.push_back(ReadItemText(list, index));
        states.push_back(ReadItemState(list, index));
    }
    // The selection mark, where a Shift-click range starts, moves with its item too.
    const int mark = static_cast<int>(SendMessageA(list, LVM_GETSELECTIONMARK, 0, 0));
    for (int position = 0; position < count; ++position) {
        const auto from = static_cast<std::size_t>(order[static_cast<std::size_t>(position)]);
        if (static_cast<int>(from) == mark)
            SendMessageA(list, LVM_SETSELECTIONMARK, 0, position);
        if (static_cast<int>(from) == position)
            continue;
        WriteItemText(list, position, texts[from]);
        WriteItemState(list, position, states[from]);
    }
}
