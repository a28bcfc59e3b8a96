// The layout rules of the main window (IDD_MAIN): how its controls share a larger window.
#ifndef QUILLMERE_MAIN_WINDOW_LAYOUT_H
#define QUILLMERE_MAIN_WINDOW_LAYOUT_H

#include <windows.h>

// Attaches a new Resizer owned by the dialog; call it at WM_INITDIALOG, before the dialog is
// first shown. Without memory the dialog stays fixed.
void SetUpMainDialogLayout(HWND dialog);

#endif
