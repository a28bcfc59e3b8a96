// A DLL that lies in the program folder and must not be loaded as a system library.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}
