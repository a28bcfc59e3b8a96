// Tooltips that watch their control's mouse messages themselves.
#include "button_tooltip.h"

#include <commctrl.h>

#include <cstddef>

bool AddButtonTooltip(int controlId, HWND dialog, const char* text)
{
    if (controlId == 0 || dialog == nullptr || text == nullptr)
        return false;
    const HWND control = GetDlgItem(dialog, controlId);
    if (control == nullptr)
        return false;
    const HWND tooltip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr,
                                         GetModuleHandleA(nullptr), nullptr);
    if (tooltip == nullptr)
        return false;
    TOOLINFOA tool = {};
    // The size without the trailing reserved field, which comctl32 before version 6 rejects.
    tool.cbSize = static_cast<UINT>(offsetof(TOOLINFOA, lpReserved));
#ifndef _WIN64
    static_assert(offsetof(TOOLINFOA, lpReserved) == 44, "the 32-bit structure without its reserved field");
#endif
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<char*>(text);
    SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    return true;
}
