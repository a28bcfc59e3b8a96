// The about box (IDD_ABOUT) with its link label.
#ifndef QUILLMERE_ABOUT_BOX_H
#define QUILLMERE_ABOUT_BOX_H

#include <windows.h>

// Ends with 2 on OK, Enter, Escape and the close box; a click on the link label
// opens the web address.
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
