// Loading system DLLs from the system folder only.
#include "system_library.h"

#include <string>

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

HMODULE LoadSystemLibrary(const char* name)
{
    HMODULE library = LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Windows 7 without the search-path update rejects the flag as an invalid parameter.
    if (library == nullptr && GetLastError() == ERROR_INVALID_PARAMETER)
        library = LoadFromSystemFolder(name);
    return library;
}

HMODULE LoadFromSystemFolder(const char* name)
{
    char folder[MAX_PATH] = {};
    UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    std::string path(folder, length);
    path += '\\';
    path += name;
    // The altered search path lets the DLL's own dependencies come from its folder.
    return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
