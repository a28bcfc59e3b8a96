// Reading the simulated directory's call log in the tests of the Windows directory record.
#include "directory_platform_win32_support.h"

#include "wine_path.h"

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

std::string LogPath()
{
    const char* path = std::getenv("QUILLMERE_SIMDIR_LOG");
    return path == nullptr ? std::string() : WinePathOf(path);
}

}  // namespace

void ClearCalls()
{
    std::ofstream emptied(LogPath(), std::ios::binary | std::ios::trunc);
}

std::vector<CallLogEntry> ReadCalls()
{
    std::vector<CallLogEntry> calls;
    std::ifstream file(LogPath(), std::ios::binary);
    if (!file) {
        ADD_FAILURE() << "can't read the call log " << LogPath();
        return calls;
    }
    std::ostringstream text;
    text << file.rdbuf();
    std::string error;
    if (!ParseCallLog(text.str(), calls, error))
        ADD_FAILURE() << "call log " << LogPath() << ": " << error;
    return calls;
}

std::vector<CallLogEntry> CallsOf(const std::vector<CallLogEntry>& calls, const std::string& function)
{
    std::vector<CallLogEntry> matching;
    for (const CallLogEntry& call : calls)
        if (call.function == function)
            matching.push_back(call);
    return matching;
}

::testing::AssertionResult EveryBufferReleased(const std::vector<CallLogEntry>& calls)
{
    const BufferAudit audit = AuditBuffers(calls);
    if (audit.unreleased.empty() && audit.badFrees.empty())
        return ::testing::AssertionSuccess();
    ::testing::AssertionResult failure = ::testing::AssertionFailure();
    for (const CallLogEntry& call : audit.unreleased)
        failure << "not released: " << FormatCallLogLine(call);
    for (const CallLogEntry& call : audit.badFrees)
        failure << "stray free: " << FormatCallLogLine(call);
    return failure;
}

std::string LoadedModuleFolder(const char* module)
{
    const HMODULE handle = GetModuleHandleA(module);
    return handle == nullptr ? std::string() : ModuleFolder(handle);
}
