// The process entry point: start-up, the discovery run and the message loop.
#include "directory_platform_win32.h"
#include "discovery_run.h"
#include "main_window.h"

#include <windows.h>

namespace {

// A DLL planted in the current folder must not be loaded in place of a system one.
void TakeCurrentFolderOutOfDllSearch()
{
    SetDllDirectoryA("");
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    // Windows 7 has it only with update KB2533623.
    const FARPROC found = GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories");
    if (found != nullptr)
        reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void (*)()>(found))(
            LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    TakeCurrentFolderOutOfDllSearch();
    const HWND mainWindow = CreateMainWindow(instance);
    if (mainWindow == nullptr)
        return 1;
    ShowWindow(mainWindow, showCommand);
    UpdateWindow(mainWindow);
    RunDiscovery(mainWindow, WindowsDirectoryPlatform());
    return RunMessageLoop(mainWindow);
}
