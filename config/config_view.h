// The configuration view (IDD_CONFIG_VIEW): the generated text in a read-only edit.
#ifndef QUILLMERE_CONFIG_VIEW_H
#define QUILLMERE_CONFIG_VIEW_H

#include <windows.h>

// The dialog procedure for DialogBoxParamA(instance, IDD_CONFIG_VIEW, main window, ConfigViewProc, 0).
INT_PTR CALLBACK ConfigViewProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Generates the text for the dialog's owner, the main window, and appends it to IDC_CONFIG_TEXT,
// each line ended by CR LF. False when there is not enough memory to generate the text or for
// the edit to hold it.
bool FillConfigView(HWND dialog);

#endif
