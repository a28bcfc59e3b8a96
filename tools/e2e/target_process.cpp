// Starting, finding and ending the program under test.
#include "target_process.h"

#include "bounded_wait.h"
#include "program_windows.h"

#include "resource_ids.h"

bool StartProgram(const std::string& program, TargetProcess& target, std::string& error)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION created = {};
    std::string commandLine = "\"" + program + "\"";
    target.startedMs = NowMs();
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &created)) {
        error = "can't start " + program + " (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    CloseHandle(created.hThread);
    target.process = created.hProcess;
    target.processId = created.dwProcessId;
    target.startedHere = true;
    return true;
}

bool WaitForMainWindow(TargetProcess& target, DWORD boundMs, std::string& error)
{
    bool ended = false;
    const bool found = WaitUntil(
        [&] {
            // The window is found as soon as it exists; its controls, the log edit last, follow.
            const HWND window = FindMainWindowOf(target.processId);
            target.mainWindow = window != nullptr && GetDlgItem(window, IDC_STATUS_LOG) != nullptr ? window : nullptr;
            ended = WaitForSingleObject(target.process, 0) == WAIT_OBJECT_0;
            return target.mainWindow != nullptr || ended;
        },
        boundMs);
    if (target.mainWindow != nullptr) {
        target.threadId = GetWindowThreadProcessId(target.mainWindow, nullptr);
        return true;
    }
    DWORD code = 0;
    if (ended && GetExitCodeProcess(target.process, &code)) {
        target.exited = true;
        error = "quillmere.exe ended with exit code " + std::to_string(code) + " without showing its main window";
    } else if (!found) {
        error = "no window of class \"QuillmereClass\" appeared within " + std::to_string(boundMs) + " ms";
    }
    return false;
}

bool AttachProgram(TargetProcess& target, std::string& error)
{
    target.mainWindow = FindAnyMainWindow();
    if (target.mainWindow == nullptr) {
        error = "no window of class \"QuillmereClass\" is open";
        return false;
    }
    target.threadId = GetWindowThreadProcessId(target.mainWindow, &target.processId);
    target.process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, target.processId);
    if (target.process == nullptr) {
        error = "can't open the process of the main window (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    target.startedMs = NowMs();
    return true;
}

bool WaitForExit(TargetProcess& target, DWORD boundMs, DWORD& exitCode, std::string& error)
{
    if (WaitForSingleObject(target.process, boundMs) != WAIT_OBJECT_0) {
        error = "quillmere.exe did not end within " + std::to_string(boundMs) + " ms";
        return false;
    }
    target.exited = true;
    if (!GetExitCodeProcess(target.process, &exitCode)) {
        error = "can't read the exit code (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    return true;
}

void StopProgram(TargetProcess& target)
{
    if (target.process == nullptr)
        return;
    if (target.startedHere && !target.exited && WaitForSingleObject(target.process, 0) != WAIT_OBJECT_0) {
        TerminateProcess(target.process, 1);
        WaitForSingleObject(target.process, 5000);
    }
    CloseHandle(target.process);
    target.process = nullptr;
}
