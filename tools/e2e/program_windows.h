// Finding the program's windows from outside: the main window, its open dialogs, their texts.
#ifndef QUILLMERE_E2E_PROGRAM_WINDOWS_H
#define QUILLMERE_E2E_PROGRAM_WINDOWS_H

#include <windows.h>

#include <string>
#include <vector>

// The window of class "QuillmereClass" that belongs to the process, or null.
HWND FindMainWindowOf(DWORD processId);
// Any window of class "QuillmereClass", or null.
HWND FindAnyMainWindow();

// The thread's visible top-level dialog windows (class "#32770"): message boxes, the program's
// own dialogs and the common dialogs.
std::vector<HWND> OpenDialogs(DWORD threadId);
// Of the open dialogs the one that takes input (not disabled by a modal window of its own), or
// null when none is open.
HWND ActiveDialog(DWORD threadId);
// The open dialog with the caption, or null.
HWND FindDialog(DWORD threadId, const std::string& caption);

// A message box: a dialog holding the system's text control (id 0xFFFF) among nothing but
// labels and buttons.
bool IsMessageBox(HWND dialog);
HWND MessageBoxTextControl(HWND box);

// The window's caption as the system keeps it (no message to the program).
std::string CaptionOf(HWND window);
// The program's windows hold text of the ANSI code page, and scenario files are UTF-8: the
// text turned into UTF-8 for comparing.
bool ToScenarioText(std::string& text, std::string& error);
// The text of a control through WM_GETTEXTLENGTH and WM_GETTEXT, in UTF-8.
bool ReadControlText(HWND control, DWORD boundMs, std::string& text, std::string& error);
// One line for messages: the caption and, for a message box, its text.
std::string DescribeDialog(HWND dialog, DWORD boundMs);

#endif
