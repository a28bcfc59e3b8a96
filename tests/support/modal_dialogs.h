// Driving this thread's modal dialogs from inside their modal loops: the one timer the Win32
// tests use for message boxes, the view, the chooser and the about box, and the keys they press.
#ifndef QUILLMERE_TESTS_MODAL_DIALOGS_H
#define QUILLMERE_TESTS_MODAL_DIALOGS_H

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// Calls `action` with a thread timer that calls `tick` every 20 ms, also from inside any modal
// loop the action runs. Nested calls each keep their own tick.
void RunWithTicks(const std::function<void()>& action, const std::function<void()>& tick);

// This thread's visible dialog windows (class "#32770"), in the order the system lists them.
std::vector<HWND> ShownDialogs();

using DialogStep = std::function<void(HWND dialog)>;

struct ModalOutcome {
    INT_PTR result;         // what `open` returned
    std::size_t stepsRun;
    bool timedOut;          // the driver had to end the dialog itself
};

// Calls `open`, which runs a modal dialog on this thread, and feeds the steps to that dialog
// (the shown one that is enabled, above its disabled owner) one per tick, once it is shown. A
// dialog still open 10 seconds after `open` started is ended with -77.
ModalOutcome RunModalDialog(const std::function<INT_PTR()>& open, const std::vector<DialogStep>& steps);

// All steps ran and the dialog ended by itself.
bool RanToTheEnd(const ModalOutcome& outcome, const std::vector<DialogStep>& steps);

// A window's whole text: a caption, a static's words, an edit's contents.
std::string WindowText(HWND window);

// A key press as the keyboard would queue it: to the focused control, or to `window` when
// nothing has the focus.
void PressKey(HWND window, WPARAM key);
// The close box as the modal loop receives it.
void ClickCloseBox(HWND dialog);

#endif
