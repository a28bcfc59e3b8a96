// Where loaded modules come from, for the tests of DLL loading.
#ifndef QUILLMERE_MODULE_FOLDERS_H
#define QUILLMERE_MODULE_FOLDERS_H

#include <windows.h>

#include <string>

// The folder of a loaded module (null: the program), without a trailing backslash, in lower case.
std::string ModuleFolder(HMODULE module);
// Whether a folder (as ModuleFolder gives it) is where this process's system DLLs come from: the
// system folder, and under WoW64 also the folder of the 32-bit system DLLs, which is the name
// Windows gives their modules (Wine names them by the system folder).
bool IsSystemDllFolder(const std::string& folder);

#endif
