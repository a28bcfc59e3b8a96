// The simulated DLLs' shared runtime: forest loading, the one failure message, the call log.
#include "sim_runtime_win32.h"

#include "call_log.h"
#include "lead_bytes_win32.h"
#include "wine_path.h"

#include <windows.h>

#include <optional>

namespace {

// Constant-initialized: no thread can find it not yet made.
SRWLOCK exclusive = SRWLOCK_INIT;

const char kForestVariable[] = "QUILLMERE_SIMDIR";
const char kLogVariable[] = "QUILLMERE_SIMDIR_LOG";
// Both DLLs read the forest; this process-local mark keeps the failure to one message. It holds
// the process id, so a child process that inherits it still reports its own failure.
const char kReportedVariable[] = "QUILLMERE_SIMDIR_REPORTED";

std::optional<std::string> Environment(const char* name)
{
    const DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
    if (size == 0)
        return std::nullopt;
    std::string value(size, '\0');
    const DWORD length = GetEnvironmentVariableA(name, &value[0], size);
    if (length == 0 || length >= size)
        return std::nullopt;
    value.resize(length);
    return value;
}

void WriteStandardError(const std::string& text)
{
    const HANDLE handle = GetStdHandle(STD_ERROR_HANDLE);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

// Reports a failure once per process, whichever DLL meets it first.
void ReportOnce(const std::string& sentence)
{
    const std::string processId = std::to_string(GetCurrentProcessId());
    if (Environment(kReportedVariable) == processId)
        return;
    SetEnvironmentVariableA(kReportedVariable, processId.c_str());
    WriteStandardError("Quillmere simulated directory: " + sentence + "\n");
}

struct LoadedForest {
    Forest forest;
    bool usable = false;
};

LoadedForest Load()
{
    LoadedForest loaded;
    const std::optional<std::string> path = Environment(kForestVariable);
    const char* outcome = " Every directory and DNS call fails with status 13.";
    if (!path || path->empty()) {
        ReportOnce(std::string(kForestVariable) + " is not set: it must name a forest file." + outcome);
        return loaded;
    }
    // Before the names are keyed: each DLL holds a table of its own, and every use of it follows this.
    LoadAnsiLeadBytes();
    std::string error;
    if (!ReadForestFile(WinePathOf(*path), loaded.forest, error, SimAnsiText)) {
        ReportOnce("can't use the forest file \"" + *path + "\": " + error + "." + outcome);
        return loaded;
    }
    loaded.usable = true;
    return loaded;
}

}  // namespace

const Forest* SimForest()
{
    static const LoadedForest loaded = Load();
    return loaded.usable ? &loaded.forest : nullptr;
}

SimExclusive::SimExclusive()
{
    AcquireSRWLockExclusive(&exclusive);
}

SimExclusive::~SimExclusive()
{
    ReleaseSRWLockExclusive(&exclusive);
}

void SimLog(const char* function, const std::string& argument, const std::string& status, const std::string& buffer)
{
    const SimExclusive only;
    static const std::optional<std::string> path = Environment(kLogVariable);
    if (!path || path->empty())
        return;
    // Opened for each line: the two DLLs append to one file, and a reader may empty it between calls.
    const HANDLE file = CreateFileA(WinePathOf(*path).c_str(), FILE_APPEND_DATA,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        static bool reported = false;
        if (!reported)
            WriteStandardError("Quillmere simulated directory: can't append to the call log \"" + *path +
                               "\" (error " + std::to_string(GetLastError()) + "); calls are not logged.\n");
        reported = true;
        return;
    }
    const std::string line = FormatCallLogLine(CallLogEntry{function, argument, status, buffer});
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

std::string SimBufferField(const void* buffer)
{
    return CallLogBufferField(reinterpret_cast<std::uintptr_t>(buffer));
}

std::string SimNameField(const char* name)
{
    return name == nullptr ? std::string("(null)") : std::string(name);
}

std::wstring SimWideText(const std::string& utf8)
{
    if (utf8.empty())
        return std::wstring();
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    if (length <= 0)
        return std::wstring();
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], length);
    return wide;
}

std::string SimAnsiText(const std::string& utf8)
{
    const std::wstring wide = SimWideText(utf8);
    if (wide.empty())
        return std::string();
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return std::string();
    std::string ansi(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), size, &ansi[0], length, nullptr, nullptr);
    return ansi;
}

void SimWait(std::uint32_t milliseconds)
{
    if (milliseconds != 0)
        Sleep(milliseconds);
}

void SimWaitFor(const std::optional<std::uint32_t>& own, std::uint32_t kind)
{
    SimWait(own ? *own : kind);
}

void* SimAllocate(std::size_t size)
{
    return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size == 0 ? 1 : size);
}

void SimRelease(void* block)
{
    HeapFree(GetProcessHeap(), 0, block);
}
