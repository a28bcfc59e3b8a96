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

bool IsSystemDllFolder(const std::string& folder)
{
    char path[MAX_PATH] = {};
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length != 0 && length < MAX_PATH && folder == Lower(std::string(path, length)))
        return true;
    BOOL wow64 = FALSE;
    if (!IsWow64Process(GetCurrentProcess(), &wow64) || !wow64)
        return false;
    length = GetSystemWow64DirectoryA(path, MAX_PATH);
    return length != 0 && length < MAX_PATH && folder == Lower(std::string(path, length));
}
