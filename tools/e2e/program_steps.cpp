// Steps that start, find and end the program, and read the simulated directory's call log.
#include "steps.h"

#include "bounded_wait.h"
#include "call_log.h"
#include "program_windows.h"
#include "text_lines.h"

#include "resource_ids.h"

#include <psapi.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

namespace {

std::string CallLogPath(const DriverSession& session)
{
    return session.scratchFolder + "\\calls.log";
}

bool IsAbsolutePath(const std::string& path)
{
    return (!path.empty() && (path[0] == '/' || path[0] == '\\')) || (path.size() > 1 && path[1] == ':');
}

bool ReadCallLog(const DriverSession& session, std::vector<CallLogEntry>& entries, std::string& error)
{
    std::ifstream file(CallLogPath(session), std::ios::binary);
    if (!file) {
        error = "there is no call log " + CallLogPath(session) + " (was the simulated directory loaded?)";
        return false;
    }
    std::ostringstream text;
    text << file.rdbuf();
    std::string reason;
    if (ParseCallLog(text.str(), entries, reason))
        return true;
    error = "the call log is malformed: " + reason;
    return false;
}

// "function=count" for every function called, in name order.
std::vector<std::string> CountCalls(const std::vector<CallLogEntry>& entries)
{
    std::map<std::string, int> counts;
    for (const CallLogEntry& entry : entries)
        ++counts[entry.function];
    std::vector<std::string> lines;
    for (const auto& count : counts)
        lines.push_back(count.first + "=" + std::to_string(count.second));
    return lines;
}

bool FinishStart(DriverSession& session, std::string& error)
{
    if (!CheckSameArchitecture(session.target.process, error) || !WaitForMainWindow(session.target, session.boundMs, error))
        return false;
    if (!WaitForDiscoveryOrDialog(session, error))
        return false;
    session.measuredMs = NowMs() - session.target.startedMs;
    session.measuredWhat = session.discoveryEnded ? "until the discovery had filled the Available list"
                                                  : "until a window opened during the discovery";
    return true;
}

}  // namespace

bool StepForest(DriverSession& session, const ScenarioStep& step, std::string& error)
{
    std::string name;
    if (!RequireArgumentCount(step, 1, 1, error) || !ExpandArgument(session, step.args[0], name, error))
        return false;
    const std::string relative = IsAbsolutePath(name) ? name : session.scenarioFolder + "\\" + name;
    char full[MAX_PATH] = {};
    if (GetFullPathNameA(relative.c_str(), MAX_PATH, full, nullptr) == 0 ||
        GetFileAttributesA(full) == INVALID_FILE_ATTRIBUTES) {
        error = "there is no forest file " + Quoted(relative);
        return false;
    }
    SetEnvironmentVariableA("QUILLMERE_SIMDIR", full);
    return true;
}

// "start" waits until the discovery has ended; "start searching" only until the main window is
// there, while the discovery runs.
bool StepStart(DriverSession& session, const ScenarioStep& step, std::string& error)
{
    if (!RequireArgumentCount(step, 0, 1, error))
        return false;
    session.startedSearching = step.args.size() == 1;
    if (session.startedSearching && step.args[0] != "searching") {
        error = "the one argument of start is \"searching\", not " + Quoted(step.args[0]);
        return false;
    }
    if (session.target.process != nullptr) {
        error = "the program is already running";
        return false;
    }
    DeleteFileA(CallLogPath(session).c_str());
    SetEnvironmentVariableA("QUILLMERE_SIMDIR_LOG", CallLogPath(session).c_str());
    if (!StartProgram(session.program, session.target, error))
        return false;
    if (!session.startedSearching)
        return FinishStart(session, error);
    return CheckSameArchitecture(session.target.process, error) &&
           WaitForMainWindow(session.target, session.boundMs, error);
}

bool StepAttach(DriverSession& session, const ScenarioStep& step, std::string& error)
{
    if (!RequireArgumentCount(step, 0, 0, error))
        return false;
    if (!AttachProgram(session.target, error) || !CheckSameArchitecture(session.target.process, error))
        return false;
    return WaitForDiscoveryOrDialog(session, error);
}

bool StepExit(DriverSession& session, const ScenarioStep& step, std::string& error)
{
    if (!RequireArgumentCount(step, 1, 1, error))
        return false;
    if (session.startedSearching) {
        // Exit during the search: the search must still be running when the command is posted.
        bool ended = false;
        if (!RequireRunningProgram(session, error) || !ReadDiscoveryEnded(session, ended, error))
            return false;
        if (ended) {
            error = "the discovery had ended before File > Exit";
            return false;
        }
    } else if (!WaitUntilReady(session, error)) {
        return false;
    }
    // A menu command arrives as a posted message, as File > Exit would send it.
    PostMessageA(session.target.mainWindow, WM_COMMAND, MAKEWPARAM(IDM_FILE_EXIT, 0), 0);
    DWORD code = 0;
    if (!WaitForExit(session.target, session.boundMs, code, error))
        return false;
    if (std::to_string(code) == step.args[0])
        return true;
    error = "quillmere.exe ended with exit code " + std::to_string(code) + ", not " + step.args[0];
    return false;
}

bool StepUnanswered(DriverSession& session, const ScenarioStep& step, std::string& error)
{
    if (!RequireArgumentCount(step, 0, 0, error))
        return false;
    std::printf("  unanswered: longest %.1f ms while the discovery ran\n", session.longestUnansweredMs);
    return true;
}

bool StepCalls(DriverSession& session, const ScenarioStep& step, std::string& error)
{
    std::vector<CallLogEntry> entries;
    if (!RequireArgumentCount(step, 0, 0, error) || !ReadCallLog(session, entries, error))
        return false;
    std::string line = "  calls:";
    for (const std::string& count : CountCalls(entries))
        line += " " + count;
    std::printf("%s\n", line.c_str());
    return true;
}

bool StepExpectCalls(DriverSession& session, const ScenarioStep& step, std::string& error)
{
    std::vector<CallLogEntry> entries;
    std::vector<std::string> expected;
    if (!RequireArgumentCount(step, 0, 0, error) || !RequireBlock(step, error) ||
        !ExpandBlock(session, step, expected, error) || !ReadCallLog(session, entries, error))
        return false;
    error = DescribeLineDifference(expected, CountCalls(entries));
    return error.empty();
}

bool StepMemory(DriverSession& session, const ScenarioStep& step, std::string& error)
{
    if (!RequireArgumentCount(step, 0, 0, error) || !RequireRunningProgram(session, error))
        return false;
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(session.target.process, &counters, sizeof counters)) {
        error = "can't read quillmere.exe's memory use (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    std::printf("  memory: peak working set %.1f MB, peak private %.1f MB\n",
                static_cast<double>(counters.PeakWorkingSetSize) / 1048576.0,
                static_cast<double>(counters.PeakPagefileUsage) / 1048576.0);
    return true;
}

bool StepExpectReleased(DriverSession& session, const ScenarioStep& step, std::string& error)
{
    std::vector<CallLogEntry> entries;
    if (!RequireArgumentCount(step, 0, 0, error) || !ReadCallLog(session, entries, error))
        return false;
    const BufferAudit audit = AuditBuffers(entries);
    if (audit.unreleased.empty() && audit.badFrees.empty())
        return true;
    error = std::to_string(audit.unreleased.size()) + " buffers were not released and " +
            std::to_string(audit.badFrees.size()) + " frees released nothing:";
    for (const CallLogEntry& entry : audit.unreleased)
        error += "\n  not released: " + entry.function + " " + Quoted(entry.argument) + " " + entry.buffer;
    for (const CallLogEntry& entry : audit.badFrees)
        error += "\n  bad free: " + entry.function + " " + Quoted(entry.argument) + " status " + entry.status;
    return false;
}
