// Finding the visual-style functions, replaceable by tests.
#ifndef QUILLMERE_VISUAL_STYLE_LIBRARY_H
#define QUILLMERE_VISUAL_STYLE_LIBRARY_H

#include <windows.h>

struct VisualStyleLibrary {
    // A function of a system DLL, or null when the DLL or the function is missing.
    FARPROC (*find)(const char* dll, const char* function);
};

// What the size grip uses; starts as FindSystemFunction.
extern VisualStyleLibrary visualStyleLibrary;

#endif
