// IDD_MAIN on a test-made class for the resizer's tests, and the placement of its children.
#ifndef QUILLMERE_DIALOG_TEST_SUPPORT_H
#define QUILLMERE_DIALOG_TEST_SUPPORT_H

#include <windows.h>

// IDD_MAIN on a "QuillmereClass" whose procedure hands everything but
// WM_INITDIALOG to DefWindowProcA; `onInit` (may be null) runs at WM_INITDIALOG,
// as the main window's set-up does. Hidden, like the real one at creation.
HWND CreateMainDialog(void (*onInit)(HWND dialog));

// A child's window rectangle in its parent's client coordinates.
RECT RectInParent(HWND child);

#endif
