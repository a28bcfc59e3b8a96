// The one delay-load hook: every delay-imported DLL comes from the system folder, and a DLL or a
// function that is not there ends the program with a message instead of a crash.
#include "delay_load_hook.h"

#include "system_error_text.h"
#include "system_library.h"

#include <windows.h>
#include <delayimp.h>

namespace {

constexpr UINT kExitCode = 1;

void ShowRefusalAndExit(const std::string& text)
{
    MessageBoxA(nullptr, text.c_str(), "Error", MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
    ExitProcess(kExitCode);
}

std::string FunctionName(const DelayLoadProc& procedure)
{
    if (procedure.fImportByName)
        return procedure.szProcName != nullptr ? procedure.szProcName : "(unnamed)";
    return "number " + std::to_string(procedure.dwOrdinal);
}

std::string DllName(const DelayLoadInfo* info)
{
    return info != nullptr && info->szDll != nullptr ? info->szDll : "(unnamed)";
}

FARPROC Refuse(const std::string& text)
{
    delayLoadRefusal.refuse(text);
    return nullptr;
}

FARPROC RefuseLibrary(const DelayLoadInfo* info, DWORD error)
{
    return Refuse("The system library " + DllName(info) +
                  " could not be loaded from the system folder, so Quillmere must end.\r\n\r\n" +
                  SystemErrorText(static_cast<std::uint32_t>(error)));
}

FARPROC WINAPI OnDelayLoad(unsigned notification, PDelayLoadInfo info)
{
    if (notification != dliNotePreLoadLibrary || info == nullptr || info->szDll == nullptr)
        return nullptr;
    // Never null while the program goes on: the helper would fall back to the ordinary search.
    const HMODULE library = LoadSystemLibrary(info->szDll);
    if (library == nullptr)
        return RefuseLibrary(info, GetLastError());
    return reinterpret_cast<FARPROC>(library);
}

FARPROC WINAPI OnDelayLoadFailure(unsigned notification, PDelayLoadInfo info)
{
    if (notification == dliFailLoadLib)
        return RefuseLibrary(info, info != nullptr ? info->dwLastError : 0);
    if (notification == dliFailGetProc && info != nullptr)
        return Refuse("The system library " + DllName(info) + " has no function " + FunctionName(info->dlp) +
                      ", so Quillmere must end.");
    return nullptr;
}

}  // namespace

DelayLoadRefusal delayLoadRefusal{ShowRefusalAndExit};

// The delay-load helper reads these two by name. Visual C++ declares them const unless told otherwise.
#if defined(_MSC_VER) && !defined(DELAYIMP_INSECURE_WRITABLE_HOOKS)
#define QM_DELAY_HOOK_CONST const
#else
#define QM_DELAY_HOOK_CONST
#endif
extern "C" {
QM_DELAY_HOOK_CONST PfnDliHook __pfnDliNotifyHook2 = OnDelayLoad;
QM_DELAY_HOOK_CONST PfnDliHook __pfnDliFailureHook2 = OnDelayLoadFailure;
}
