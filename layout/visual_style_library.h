// Finding the visual-style library and its functions, replaceable by tests.
#ifndef QUILLMERE_VISUAL_STYLE_LIBRARY_H
#define QUILLMERE_VISUAL_STYLE_LIBRARY_H

#include <windows.h>

struct VisualStyleLibrary {
    HMODULE (*load)(const char* name);
    FARPROC(WINAPI* find)(HMODULE library, LPCSTR name);
};

// What the size grip uses; starts as {LoadSystemLibrary, GetProcAddress}.
extern VisualStyleLibrary visualStyleLibrary;

// Loads a DLL from the system folder only, never from the program's or the
// current folder.
HMODULE LoadSystemLibrary(const char* name);

// The same by full path, for systems whose LoadLibraryExA lacks the
// system-folder search flag.
HMODULE LoadFromSystemFolder(const char* name);

#endif
