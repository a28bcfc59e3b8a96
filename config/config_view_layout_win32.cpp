// The layout rule of the configuration view.
#include "config_view_layout.h"

#include <new>

#include "resizer.h"
#include "resource_ids.h"

void SetUpConfigViewLayout(HWND dialog)
{
    Resizer* resizer = AttachNewResizer(dialog);
    if (resizer == nullptr)
        return;
    HWND text = GetDlgItem(dialog, IDC_CONFIG_TEXT);
    if (text == nullptr)
        return;
    try {
        LayoutRule* rule = FindRule(*resizer, text, true);
        rule->left = 0.0;
        rule->right = 1.0;
        rule->top = 0.0;
        rule->bottom = 1.0;
    } catch (const std::bad_alloc&) {
    }
}
