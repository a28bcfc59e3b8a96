// Where loaded modules come from, for the tests of DLL loading.
#ifndef QUILLMERE_MODULE_FOLDERS_H
#define QUILLMERE_MODULE_FOLDERS_H

#include <windows.h>

#include <string>

// The folder of a loaded module (null: the program), without a trailing backslash, in lower case.
std::string ModuleFolder(HMODULE module);
// The folder that system DLLs of this process's architecture load from, in lower case: the
// system folder, or under WoW64 the folder of the 32-bit system DLLs.
std::string SystemDllFolder();

#endif
