// Cross-process access to quillmere.exe's windows, for its start test and its screenshots.
#include "remote_quillmere.h"

#include <commctrl.h>

namespace {

constexpr UINT kSendBoundMs = 5000;

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendBoundMs, &result);
    return static_cast<LRESULT>(result);
}

struct WindowSearch {
    DWORD processId;
    const char* className;
    const char* caption;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM lParam)
{
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[64] = {};
    GetClassNameA(window, className, static_cast<int>(sizeof className));
    if (owner != search->processId || !IsWindowVisible(window) || lstrcmpA(className, search->className) != 0)
        return TRUE;
    if (search->caption != nullptr && RemoteWindowText(window) != search->caption)
        return TRUE;
    search->found = window;
    return FALSE;
}

BOOL CALLBACK FirstStaticText(HWND child, LPARAM lParam)
{
    auto* text = reinterpret_cast<std::string*>(lParam);
    char className[64] = {};
    GetClassNameA(child, className, static_cast<int>(sizeof className));
    if (lstrcmpiA(className, "Static") == 0)
        *text = RemoteWindowText(child);
    return text->empty();
}

// A block of the program's memory, freed when it goes.
struct RemoteBlock {
    HANDLE process;
    void* address;
    RemoteBlock(HANDLE owner, std::size_t size)
        : process(owner), address(VirtualAllocEx(owner, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))
    {
    }
    ~RemoteBlock() { VirtualFreeEx(process, address, 0, MEM_RELEASE); }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;
    char* At(std::size_t offset) const { return static_cast<char*>(address) + offset; }
};

}  // namespace

std::string ProgramFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

bool StartQuillmere(const std::string& forestFile, RemoteQuillmere& program)
{
    return StartQuillmereAt(ProgramFolder() + "quillmere.exe", std::string(), forestFile, program);
}

bool StartQuillmereAt(const std::string& programPath, const std::string& currentFolder,
                      const std::string& forestFile, RemoteQuillmere& program)
{
    SetEnvironmentVariableA("QUILLMERE_SIMDIR", forestFile.c_str());
    std::string commandLine = "\"" + programPath + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    return CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          currentFolder.empty() ? nullptr : currentFolder.c_str(), &startup,
                          &program.process) != FALSE;
}

void StopQuillmere(RemoteQuillmere& program)
{
    if (program.process.hProcess == nullptr)
        return;
    if (WaitForSingleObject(program.process.hProcess, 0) == WAIT_TIMEOUT)
        TerminateProcess(program.process.hProcess, 99);
    CloseHandle(program.process.hThread);
    CloseHandle(program.process.hProcess);
    program.process = PROCESS_INFORMATION{};
}

bool WaitUntil(const RemoteQuillmere& program, DWORD boundMs, const std::function<bool()>& condition)
{
    const ULONGLONG deadline = GetTickCount64() + boundMs;
    for (;;) {
        if (condition())
            return true;
        // The pause between polls ends early when the process does.
        if (GetTickCount64() >= deadline || WaitForSingleObject(program.process.hProcess, 50) == WAIT_OBJECT_0)
            return condition();
    }
}

DWORD WaitForExit(const RemoteQuillmere& program, DWORD boundMs)
{
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(program.process.hProcess, boundMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(program.process.hProcess, &code);
    return code;
}

HWND FindProcessWindow(const RemoteQuillmere& program, const char* className, const char* caption)
{
    WindowSearch search{program.process.dwProcessId, className, caption, nullptr};
    EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string RemoteWindowText(HWND window)
{
    const auto length = static_cast<std::size_t>(Send(window, WM_GETTEXTLENGTH, 0, 0));
    std::string text(length + 1, '\0');
    const auto copied = static_cast<std::size_t>(
        Send(window, WM_GETTEXT, static_cast<WPARAM>(text.size()), reinterpret_cast<LPARAM>(&text[0])));
    text.resize(copied < length ? copied : length);
    return text;
}

std::string RemoteStaticText(HWND window)
{
    std::string text;
    EnumChildWindows(window, &FirstStaticText, reinterpret_cast<LPARAM>(&text));
    return text;
}

std::vector<std::string> RemoteItemTexts(const RemoteQuillmere& program, HWND list)
{
    constexpr std::size_t kTextSize = 1024;
    RemoteBlock block(program.process.hProcess, sizeof(LVITEMA) + kTextSize);
    std::vector<std::string> texts;
    const int count = static_cast<int>(Send(list, LVM_GETITEMCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        LVITEMA item = {};
        item.pszText = block.At(sizeof(LVITEMA));
        item.cchTextMax = static_cast<int>(kTextSize);
        WriteProcessMemory(program.process.hProcess, block.address, &item, sizeof item, nullptr);
        Send(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(block.address));
        char text[kTextSize] = {};
        ReadProcessMemory(program.process.hProcess, block.At(sizeof(LVITEMA)), text, kTextSize - 1, nullptr);
        texts.emplace_back(text);
    }
    return texts;
}

void RemoteSelectItems(const RemoteQuillmere& program, HWND list, const std::vector<int>& indexes)
{
    RemoteBlock block(program.process.hProcess, sizeof(LVITEMA));
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED;
    WriteProcessMemory(program.process.hProcess, block.address, &item, sizeof item, nullptr);
    Send(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(block.address));
    item.state = LVIS_SELECTED;
    WriteProcessMemory(program.process.hProcess, block.address, &item, sizeof item, nullptr);
    for (int index : indexes)
        Send(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(block.address));
}

void RemotePressButton(const RemoteQuillmere& program, int id)
{
    const HWND button = GetDlgItem(program.mainWindow, id);
    Send(program.mainWindow, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}
