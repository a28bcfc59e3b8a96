// The realm list views: item text access and sorting by the realm name order.
#ifndef QUILLMERE_REALM_LIST_H
#define QUILLMERE_REALM_LIST_H

#include <windows.h>

#include <string>
#include <vector>

// What sorting moves of each item: its text and its selection and focus states, by index; and
// which item holds the selection mark.
struct ListItems {
    std::vector<std::string> texts;
    std::vector<UINT> states;
    int selectionMark = -1;
};

ListItems ReadListItems(HWND list);
// Puts at each position p the item that was at order[p].
void WriteItemsInOrder(HWND list, const ListItems& items, const std::vector<int>& order);

// Puts the items in the realm name order (CompareRealmTexts), each keeping its selection, its
// focus and the selection mark.
void SortRealmList(HWND list);

// Holds back a list's repainting while many items change, and repaints it once at the end:
// a list that redraws after every change costs milliseconds an item under Wine.
struct RedrawPause {
    explicit RedrawPause(HWND list);
    ~RedrawPause();
    RedrawPause(const RedrawPause&) = delete;
    RedrawPause& operator=(const RedrawPause&) = delete;
    HWND list;
};

void WriteItemText(HWND list, int index, const std::string& text);
// Gives the item the focus; -1 takes it from every item.
void SetFocusedItem(HWND list, int index);
// Asks for that index; the list may put the item elsewhere.
void InsertItemText(HWND list, int index, const std::string& text);

#endif
