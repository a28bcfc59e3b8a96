// The encryption type chooser: check-box list view in, joined names out.
#include "enctype_chooser.h"

#include <commctrl.h>

#include <set>
#include <string>
#include <utility>

#include "enctype_names.h"
#include "enctype_tokens.h"
#include "list_item_text.h"
#include "resource_ids.h"

const char kEncTypeBufferProperty[] = "EncTypeListClass";

namespace {

constexpr UINT kUncheckedImage = 1;
constexpr UINT kCheckedImage = 2;

EncTypeBuffer* BufferOfOwner(HWND dialog)
{
    return static_cast<EncTypeBuffer*>(GetPropA(GetParent(dialog), kEncTypeBufferProperty));
}

}  // namespace

void OpenEncTypeChooser(HWND mainWindow, int editId)
{
    char text[kEncTypeTextCapacity] = {};
    GetDlgItemTextA(mainWindow, editId, text, static_cast<int>(sizeof text));
    EncTypeBuffer buffer{text, sizeof text};
    SetPropA(mainWindow, kEncTypeBufferProperty, &buffer);
    INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ENCTYPES), mainWindow,
                                     EncTypeChooserProc, 0);
    if (result == IDOK)
        SetDlgItemTextA(mainWindow, editId, text);
    RemovePropA(mainWindow, kEncTypeBufferProperty);
}

INT_PTR CALLBACK EncTypeChooserProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    EncTypeBuffer* buffer = BufferOfOwner(dialog);
    switch (message) {
    case WM_INITDIALOG:
        FillEncTypeList(buffer, dialog);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            CollectEncTypes(buffer, dialog);
            EndDialog(dialog, IDOK);
            break;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            break;
        default:
            break;
        }
        return TRUE;
    default:
        return FALSE;
    }
}

void FillEncTypeList(EncTypeBuffer* buffer, HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_ENCTYPE_LIST);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_CHECKBOXES);
    std::set<std::string> named;
    if (buffer != nullptr) {
        for (std::string& name : SplitEncTypeList(buffer->text, buffer->capacity))
            named.insert(std::move(name));
    }
    for (int index = 0; index < kEncTypeCount; ++index) {
        // Each name goes to the top, so the list ends up in reverse table order.
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = 0;
        item.pszText = const_cast<char*>(kEncTypeNames[index]);
        const LRESULT inserted = SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        // A failed insertion answers -1, which as an item index would tick every item.
        if (inserted < 0 || named.count(kEncTypeNames[index]) == 0)
            continue;
        LVITEMA state{};
        state.stateMask = LVIS_STATEIMAGEMASK;
        state.state = INDEXTOSTATEIMAGEMASK(kCheckedImage);
        SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(inserted), reinterpret_cast<LPARAM>(&state));
    }
}

void CollectEncTypes(EncTypeBuffer* buffer, HWND dialog)
{
    if (buffer == nullptr)
        return;
    ClearEncTypeText(*buffer);
    HWND list = GetDlgItem(dialog, IDC_ENCTYPE_LIST);
    auto count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        auto state = static_cast<UINT>(
            SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_STATEIMAGEMASK));
        if (((state & LVIS_STATEIMAGEMASK) >> 12) == kUncheckedImage)
            continue;
        AppendEncTypeName(*buffer, ReadItemText(list, index).c_str());
    }
}
