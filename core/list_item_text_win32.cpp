// Reading a list view item's text into the buffer size every list item fits.
#include "list_item_text.h"

#include "control_texts.h"

#include <commctrl.h>

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
