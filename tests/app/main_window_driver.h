// Test helpers that drive the real main window in-process: create it, select, press, read back.
#ifndef QUILLMERE_MAIN_WINDOW_DRIVER_H
#define QUILLMERE_MAIN_WINDOW_DRIVER_H

#include "directory_platform.h"

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// A fresh main window, made as start-up makes it, with a fresh status log on its log edit.
// Shown only on request: under Xvfb without a window manager, Wine waits two seconds for the
// withdrawal of every shown window it destroys. Destroys the window and forgets its quit
// message when it goes away.
struct TestMainWindow {
    HWND window = nullptr;
    explicit TestMainWindow(bool shown = false);
    ~TestMainWindow();
    TestMainWindow(const TestMainWindow&) = delete;
    TestMainWindow& operator=(const TestMainWindow&) = delete;
    HWND Control(int id) const { return GetDlgItem(window, id); }
};

// Dispatches this thread's messages until the condition holds; false after 20 seconds.
bool DispatchUntil(const std::function<bool()>& condition);
// The discovery as start-up runs it, but one call at a time (the scripted directory records its
// calls unguarded), with this thread's messages dispatched until it has ended. Bounded at 20 seconds.
void RunDiscovery(HWND mainWindow, const DirectoryPlatform& platform);

// Consumes the quit message that destroying a main window posts, so later loops run.
void ForgetQuitMessage();

// Every item text of a list, read with a buffer far larger than the program's.
std::vector<std::string> ItemTexts(HWND list);
std::vector<int> SelectedIndexes(HWND list);
// Selects exactly these items.
void SelectItems(HWND list, const std::vector<int>& indexes);
// Selects exactly the items with these texts; each must be there.
void SelectItemsByText(HWND list, const std::vector<std::string>& texts);
// Replaces the Available list's contents with these realm names, as the discovery run would.
void ShowRealms(HWND mainWindow, const std::vector<std::string>& names);
// What a click on the button sends to its parent.
void PressButton(HWND mainWindow, int id);

// One step of a keyboard session: true when done, false to be tried again at the next tick.
using KeyStep = std::function<bool()>;

struct KeyboardSession {
    int exitCode = -1;
    std::size_t stepsRun = 0;
    bool timedOut = false;
};

// Runs the program's own message loop (RunMessageLoop) on the shown main window and does one
// step per timer tick, also while a modal dialog or message box runs its own loop; a tick comes
// only when the queue is empty, so each step sees what the keys before it did. After the last
// step File > Exit ends the loop. Bounded at 20 seconds.
KeyboardSession RunKeyboardSession(HWND mainWindow, const std::vector<KeyStep>& steps);

// A key press as the keyboard delivers it: WM_KEYDOWN and WM_KEYUP posted to the window with
// the focus, Shift and Ctrl held as asked in the thread's key state while they are handled.
KeyStep Key(WPARAM key, bool shift = false, bool control = false);
// Alt plus a letter, which opens a menu; then letters pick its items.
KeyStep AltKey(char letter);
// Any other check or action, done once.
KeyStep Do(const std::function<void()>& action);
// Waits until the condition holds (the session's bound ends a wait that never does).
KeyStep WaitFor(const std::function<bool()>& condition);
// The id of the control with the focus, 0 when the focus is on no control of the window.
int FocusedId(HWND mainWindow);
// The visible dialog box of this thread other than the main window, or null.
HWND ShownDialogBox();

#endif
