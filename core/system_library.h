// The one loader of the DLLs the program does not import at load time: each by its full path in
// the system folder, never from the program's or the current folder, and its functions by name.
// NETAPI32, DNSAPI, COMCTL32 and UXTHEME are no KnownDLLs: imported, they would be looked for in
// the program's folder first.
#ifndef QUILLMERE_SYSTEM_LIBRARY_H
#define QUILLMERE_SYSTEM_LIBRARY_H

#include <windows.h>

#include <string>

// Null when the DLL is not there, with the system's reason in GetLastError.
HMODULE LoadSystemLibrary(const char* name);

// A function the program can do without: null when the DLL or the function is missing.
FARPROC FindSystemFunction(const char* dll, const char* function);

// A function the program cannot do without: when the DLL or the function is missing, the refusal
// says which and ends the program.
FARPROC RequireSystemFunction(const char* dll, const char* function);

// Says why the program cannot go on, then ends it; tests replace it to read the text.
struct SystemLibraryRefusal {
    void (*refuse)(const std::string& text);
};

// Starts as the message box "Error" followed by the exit with code 1.
extern SystemLibraryRefusal systemLibraryRefusal;

// GetProcAddress hands back a generic pointer; going through void (*)() keeps the cast to the
// real signature free of function-type warnings. The signature must carry WINAPI: 32-bit system
// functions clean their own stack.
template <typename Function>
Function AsFunction(FARPROC address)
{
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

#endif
