// The shell call that opens the web address, replaceable by tests.
#ifndef QUILLMERE_ABOUT_SHELL_H
#define QUILLMERE_ABOUT_SHELL_H

#include <windows.h>

struct AboutShell {
    HINSTANCE(WINAPI* execute)(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR folder, INT show);
};

// Starts as {ShellExecuteA}.
extern AboutShell aboutShell;

#endif
