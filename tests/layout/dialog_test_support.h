// Dialogs for the Win32 tests: IDD_MAIN on a test-made class, and a driver for modal dialogs.
#ifndef QUILLMERE_DIALOG_TEST_SUPPORT_H
#define QUILLMERE_DIALOG_TEST_SUPPORT_H

#include <windows.h>

#include <cstddef>
#include <functional>
#include <vector>

// IDD_MAIN on a "QuillmereClass" whose procedure hands everything but
// WM_INITDIALOG to DefWindowProcA; `onInit` (may be null) runs at WM_INITDIALOG,
// as the main window's set-up does. Hidden, like the real one at creation.
HWND CreateMainDialog(void (*onInit)(HWND dialog));

using DialogStep = std::function<void(HWND dialog)>;

struct ModalOutcome {
    INT_PTR result;         // what `open` returned
    std::size_t stepsRun;
    bool timedOut;          // the driver had to end the dialog itself
};

// Calls `open`, which runs a modal dialog on this thread, and feeds the steps
// to that dialog from inside its modal loop, one per timer tick, once it is
// shown. A dialog still open 10 seconds after `open` started is ended with -77.
ModalOutcome RunModalDialog(const std::function<INT_PTR()>& open, const std::vector<DialogStep>& steps);

// All steps ran and the dialog ended by itself.
bool RanToTheEnd(const ModalOutcome& outcome, const std::vector<DialogStep>& steps);

// The keys and the close box as the modal loop receives them.
void PressKey(HWND dialog, WPARAM key);
void ClickCloseBox(HWND dialog);

// A child's window rectangle in its parent's client coordinates.
RECT RectInParent(HWND child);

#endif
