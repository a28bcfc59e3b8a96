// The layout rule of the configuration view (IDD_CONFIG_VIEW): the text takes all the growth.
#ifndef QUILLMERE_CONFIG_VIEW_LAYOUT_H
#define QUILLMERE_CONFIG_VIEW_LAYOUT_H

#include <windows.h>

// Attaches a new Resizer owned by the dialog; call it at WM_INITDIALOG, before the dialog is
// first shown. Without memory the dialog stays fixed.
void SetUpConfigViewLayout(HWND dialog);

#endif
