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

#endif
