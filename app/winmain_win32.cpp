// The process entry point: start-up, the discovery started and the message loop.
#include "directory_platform_win32.h"
#include "discovery_run.h"
#include "main_window.h"

#include <windows.h>

namespace {

// Whatever the process loads by name later, the system DLLs' own dependencies included, comes
// from the system folder: not from the current folder, and not from the program's folder, which
// is where a downloaded program lies beside whatever else was downloaded. Folders that a
// component adds for itself with AddDllDirectory still count. Shell extensions in the Save As
// dialog are loaded by full path and lose nothing: the program's folder was never theirs.
void NarrowDllSearch()
{
    SetDllDirectoryA("");
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    // Windows 7 has it only with update KB2533623.
    const FARPROC found = GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories");
    if (found != nullptr)
        reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void (*)()>(found))(
            LOAD_LIBRARY_SEARCH_SYSTEM32 | LOAD_LIBRARY_SEARCH_USER_DIRS);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    NarrowDllSearch();
    const HWND mainWindow = CreateMainWindow(instance);
    if (mainWindow == nullptr)
        return 1;
    ShowWindow(mainWindow, showCommand);
    UpdateWindow(mainWindow);
    // The window answers while the search runs; ending the program doesn't wait for its calls.
    StartDiscovery(mainWindow, WindowsDirectoryPlatform(), kDirectoryCallsAtOnce);
    return RunMessageLoop(mainWindow);
}
