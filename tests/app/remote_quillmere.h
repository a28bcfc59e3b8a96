// Starting the built quillmere.exe and driving its windows from another process.
#ifndef QUILLMERE_REMOTE_QUILLMERE_H
#define QUILLMERE_REMOTE_QUILLMERE_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct RemoteQuillmere {
    PROCESS_INFORMATION process{};
    HWND mainWindow = nullptr;
};

// quillmere.exe from this program's folder, answering from the forest file through the
// simulated directory DLLs in the system folder. False when it could not be started.
bool StartQuillmere(const std::string& forestFile, RemoteQuillmere& program);
// The same with another copy of the program and another current folder.
bool StartQuillmereAt(const std::string& programPath, const std::string& currentFolder,
                      const std::string& forestFile, RemoteQuillmere& program);
// The folder of this test program, with its trailing backslash.
std::string ProgramFolder();
// Ends the process if it still runs and closes its handles.
void StopQuillmere(RemoteQuillmere& program);

// Polls condition until it holds, the process ends or boundMs pass; true when it held.
bool WaitUntil(const RemoteQuillmere& program, DWORD boundMs, const std::function<bool()>& condition);
// Waits for the process to end; its exit code, or STILL_ACTIVE after boundMs.
DWORD WaitForExit(const RemoteQuillmere& program, DWORD boundMs);

// The first visible top-level window of the process with that class (and caption, if given).
HWND FindProcessWindow(const RemoteQuillmere& program, const char* className, const char* caption = nullptr);
// WM_GETTEXT across the process boundary, which the system marshals.
std::string RemoteWindowText(HWND window);
// The first non-empty text of a static control in the window: a message box's message.
std::string RemoteStaticText(HWND window);

// List-view calls whose structures must live in the program's own memory.
std::vector<std::string> RemoteItemTexts(const RemoteQuillmere& program, HWND list);
void RemoteSelectItems(const RemoteQuillmere& program, HWND list, const std::vector<int>& indexes);
// What a click on the main window's button sends.
void RemotePressButton(const RemoteQuillmere& program, int id);

#endif
