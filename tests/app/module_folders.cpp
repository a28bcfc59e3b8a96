// Module and system folders in lower case, as Windows compares paths.
#include "module_folders.h"

#include <cctype>

namespace {

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

std::string ModuleFolder(HMODULE module)
{
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
    const std::string text(path, length);
    const std::size_t slash = text.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : Lower(text.substr(0, slash));
}

std::string SystemDllFolder()
{
    char folder[MAX_PATH] = {};
    BOOL wow64 = FALSE;
    const UINT length = IsWow64Process(GetCurrentProcess(), &wow64) && wow64 ? GetSystemWow64DirectoryA(folder, MAX_PATH)
                                                                             : GetSystemDirectoryA(folder, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? std::string() : Lower(std::string(folder, length));
}
