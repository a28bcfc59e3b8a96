// The process entry point: start-up, the discovery started and the message loop.
#include "directory_platform_win32.h"
#include "discovery_run.h"
#include "lead_bytes_win32.h"
#include "main_window.h"
#include "system_library.h"

#include <windows.h>

namespace {

// What the process loads by module name from now on comes from the system folder and the folders
// added with AddDllDirectory: not from the current folder, and not from the program's folder,
// where a downloaded program lies beside whatever else was downloaded. The program's own system
// DLLs are loaded by full path, but their dependencies are searched as if loaded by module name,
// and this is what keeps those in the system folder too.
// The cost: the same holds for all code in the process, so third-party code loaded by full path,
// such as shell extensions in the Save As dialog, gets the system folder and the added folders
// only. A dependency that lies beside such an extension, or on PATH, is no longer found unless
// the extension adds its folder itself; the extension then fails to load and its part of the
// dialog (icons, columns, menu items) is missing.
void NarrowDllSearch()
{
    // Without SetDefaultDllDirectories the current folder at least leaves the search.
    SetDllDirectoryA("");
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    // Windows 7 has it only with update KB2533623.
    const auto narrow =
        AsFunction<SetDefaultDllDirectoriesFunction>(FindSystemFunction("kernel32.dll", "SetDefaultDllDirectories"));
    if (narrow != nullptr)
        narrow(LOAD_LIBRARY_SEARCH_SYSTEM32 | LOAD_LIBRARY_SEARCH_USER_DIRS);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    NarrowDllSearch();
    LoadAnsiLeadBytes();
    const HWND mainWindow = CreateMainWindow(instance);
    if (mainWindow == nullptr)
        return 1;
    // The window answers while the search runs; ending the program doesn't wait for its calls.
    // The first call goes out before the window is shown, which needn't wait for its answer.
    StartDiscovery(mainWindow, WindowsDirectoryPlatform(), kDirectoryCallsAtOnce);
    ShowWindow(mainWindow, showCommand);
    UpdateWindow(mainWindow);
    return RunMessageLoop(mainWindow);
}
