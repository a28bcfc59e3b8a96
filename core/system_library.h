// Loading system DLLs from the system folder only, never from the program's or the current folder.
#ifndef QUILLMERE_SYSTEM_LIBRARY_H
#define QUILLMERE_SYSTEM_LIBRARY_H

#include <windows.h>

HMODULE LoadSystemLibrary(const char* name);

// The same by full path, for systems whose LoadLibraryExA lacks the system-folder search flag.
HMODULE LoadFromSystemFolder(const char* name);

#endif
