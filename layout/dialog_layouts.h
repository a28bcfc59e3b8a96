// The resizer set-ups of the main window (dialog 100) and the configuration view (dialog 109).
#ifndef QUILLMERE_DIALOG_LAYOUTS_H
#define QUILLMERE_DIALOG_LAYOUTS_H

#include <windows.h>

// Both attach a new Resizer owned by the dialog; call them at WM_INITDIALOG,
// before the dialog is first shown. Without memory the dialog stays fixed.
void SetUpMainDialogLayout(HWND dialog);
void SetUpConfigViewLayout(HWND dialog);

#endif
