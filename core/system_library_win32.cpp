// Loading system DLLs by their full path in the system folder, and the refusal when one is missing.
#include "system_library.h"

#include "system_error_text.h"

namespace {

constexpr UINT kExitCode = 1;

void ShowRefusalAndExit(const std::string& text)
{
    MessageBoxA(nullptr, text.c_str(), "Error", MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
    ExitProcess(kExitCode);
}

}  // namespace

SystemLibraryRefusal systemLibraryRefusal{ShowRefusalAndExit};

// A full path is searched nowhere else. The DLL's own dependencies are searched as if loaded by
// name, which the program's start narrows to the system folder (on Windows 7 only with update
// KB2533623; without it they are searched the standard way, less the current folder).
HMODULE LoadSystemLibrary(const char* name)
{
    const UINT size = GetSystemDirectoryA(nullptr, 0);
    if (size == 0)
        return nullptr;
    std::string path(size, '\0');
    const UINT length = GetSystemDirectoryA(&path[0], size);
    if (length == 0 || length >= size)
        return nullptr;
    path.resize(length);
    path += '\\';
    path += name;
    return LoadLibraryA(path.c_str());
}

FARPROC FindSystemFunction(const char* dll, const char* function)
{
    const HMODULE library = LoadSystemLibrary(dll);
    return library != nullptr ? GetProcAddress(library, function) : nullptr;
}

FARPROC RequireSystemFunction(const char* dll, const char* function)
{
    const HMODULE library = LoadSystemLibrary(dll);
    if (library == nullptr) {
        const DWORD error = GetLastError();
        systemLibraryRefusal.refuse(std::string("The system library ") + dll +
                                    " could not be loaded from the system folder, so Quillmere must end.\r\n\r\n" +
                                    SystemErrorText(static_cast<std::uint32_t>(error)));
        return nullptr;
    }
    const FARPROC found = GetProcAddress(library, function);
    if (found == nullptr)
        systemLibraryRefusal.refuse(std::string("The system library ") + dll + " has no function " + function +
                                    ", so Quillmere must end.");
    return found;
}
