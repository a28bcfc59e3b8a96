// The program under test: started or found, and ended.
#ifndef QUILLMERE_E2E_TARGET_PROCESS_H
#define QUILLMERE_E2E_TARGET_PROCESS_H

#include <windows.h>

#include <string>

struct TargetProcess {
    HANDLE process = nullptr;
    DWORD processId = 0;
    HWND mainWindow = nullptr;
    DWORD threadId = 0;     // the thread that owns the main window
    double startedMs = 0;   // NowMs() when the process was created
    bool exited = false;
    bool startedHere = false;  // an attached program is left running
};

// Starts the program with this process's environment.
bool StartProgram(const std::string& program, TargetProcess& target, std::string& error);
// Waits for the program's main window.
bool WaitForMainWindow(TargetProcess& target, DWORD boundMs, std::string& error);
// Takes over a program that is already running.
bool AttachProgram(TargetProcess& target, std::string& error);
bool WaitForExit(TargetProcess& target, DWORD boundMs, DWORD& exitCode, std::string& error);
// Ends a program started here that is still running, and releases the handle.
void StopProgram(TargetProcess& target);

#endif
