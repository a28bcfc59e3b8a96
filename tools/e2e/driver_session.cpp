// Waits and lookups shared by the steps: readiness of the program, its controls and dialogs.
#include "driver_session.h"

#include "bounded_wait.h"
#include "program_windows.h"
#include "text_lines.h"

#include "resource_ids.h"

#include <algorithm>
#include <cstdio>

namespace {

const char kPlaceholder[] = "Searching for available realms...";
// The discovery's state is read at most this often, and the driver sleeps in between: a program
// that answers while it searches spends a share of its start answering the driver, and a driver
// that wakes every few milliseconds takes Wine's server from the program's calls (under Wine,
// polls every 10 ms made a 2.2 s start take 3 to 4 s). A start is thus seen up to 50 ms late.
constexpr double kDiscoveryPollMs = 50;

std::string Seconds(DWORD ms)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", ms / 1000.0);
    return text;
}

}  // namespace

bool ReadDiscoveryEnded(const DriverSession& session, bool& ended, std::string& error)
{
    // The log stays empty while the search runs: one message tells, without reading the list.
    LRESULT logLength = 0;
    if (!SendBounded(GetDlgItem(session.target.mainWindow, IDC_STATUS_LOG), WM_GETTEXTLENGTH, 0, 0, session.boundMs,
                     logLength, error, "WM_GETTEXTLENGTH"))
        return false;
    ended = false;
    if (logLength == 0)
        return true;
    const RemoteList available = MainList(session, IDC_AVAILABLE_LIST);
    int count = 0;
    if (!ReadItemCount(available, count, error))
        return false;
    if (count == 1) {
        std::vector<std::string> texts;
        if (!ReadItemTexts(available, texts, error))
            return false;
        // The placeholder counts the realms found as it goes: "... (N found)".
        if (!texts.empty() && texts.front().rfind(kPlaceholder, 0) == 0)
            return true;
    }
    ended = true;
    return true;
}

bool ExpandArgument(const DriverSession& session, const std::string& text, std::string& expanded, std::string& error)
{
    return ExpandVariables(text, session.variables, expanded, error);
}

bool ExpandBlock(const DriverSession& session, const ScenarioStep& step, std::vector<std::string>& lines,
                 std::string& error)
{
    lines.clear();
    for (const std::string& line : step.block) {
        std::string expanded;
        if (!ExpandArgument(session, line, expanded, error))
            return false;
        lines.push_back(expanded);
    }
    return true;
}

bool RequireArgumentCount(const ScenarioStep& step, std::size_t least, std::size_t most, std::string& error)
{
    if (step.args.size() >= least && step.args.size() <= most)
        return true;
    error = "takes " + (least == most ? std::to_string(least) : std::to_string(least) + " to " + std::to_string(most)) +
            " arguments, not " + std::to_string(step.args.size());
    return false;
}

bool RequireBlock(const ScenarioStep& step, std::string& error)
{
    if (step.hasBlock)
        return true;
    error = "needs a text block (<<END ... END)";
    return false;
}

bool RequireRunningProgram(const DriverSession& session, std::string& error)
{
    if (session.target.mainWindow == nullptr) {
        error = "the program has not been started";
        return false;
    }
    if (session.target.exited || WaitForSingleObject(session.target.process, 0) == WAIT_OBJECT_0) {
        error = "quillmere.exe has ended";
        return false;
    }
    return true;
}

bool WaitForDiscoveryOrDialog(DriverSession& session, std::string& error)
{
    bool failed = false;
    double lastPoll = -kDiscoveryPollMs;
    const bool settled = WaitUntil(
        [&] {
            if (NowMs() - lastPoll < kDiscoveryPollMs)
                return false;
            lastPoll = NowMs();
            // Each poll also times how long the window takes to answer.
            const double sent = NowMs();
            LRESULT ignored = 0;
            if (!SendBounded(session.target.mainWindow, WM_NULL, 0, 0, session.boundMs, ignored, error, "WM_NULL")) {
                failed = true;
                return true;
            }
            session.longestUnansweredMs = std::max(session.longestUnansweredMs, NowMs() - sent);
            if (!ReadDiscoveryEnded(session, session.discoveryEnded, error)) {
                failed = true;
                return true;
            }
            return session.discoveryEnded || ActiveDialog(session.target.threadId) != nullptr;
        },
        session.boundMs, static_cast<DWORD>(kDiscoveryPollMs));
    if (failed)
        return false;
    if (!settled) {
        error = "the discovery did not end within " + Seconds(session.boundMs) +
                ": the Available list still holds \"" + kPlaceholder + "\"";
        return false;
    }
    return true;
}

bool WaitUntilReady(DriverSession& session, std::string& error)
{
    if (!RequireRunningProgram(session, error))
        return false;
    const DWORD threadId = session.target.threadId;
    if (!WaitUntil([&] { return session.commandHandled || ActiveDialog(threadId) != nullptr; }, session.boundMs)) {
        error = "the last command did not return within " + Seconds(session.boundMs);
        return false;
    }
    if (!session.discoveryEnded && !WaitForDiscoveryOrDialog(session, error))
        return false;
    // Answered only once the program is back in a message loop: after anything it was doing.
    LRESULT ignored = 0;
    if (!SendBounded(session.target.mainWindow, WM_NULL, 0, 0, session.boundMs, ignored, error, "WM_NULL"))
        return false;
    const HWND dialog = ActiveDialog(threadId);
    if (dialog != nullptr) {
        error = DescribeDialog(dialog, session.boundMs);
        return false;
    }
    if (!session.commandHandled) {
        error = "the last command has not returned";
        return false;
    }
    return true;
}

RemoteList MainList(const DriverSession& session, int id)
{
    return RemoteList{session.target.process, GetDlgItem(session.target.mainWindow, id), session.boundMs};
}

HWND MainControl(const DriverSession& session, int id, std::string& error)
{
    const HWND control = GetDlgItem(session.target.mainWindow, id);
    if (control == nullptr)
        error = "the main window has no control " + std::to_string(id);
    return control;
}

bool WaitForDialog(DriverSession& session, const std::string& caption, HWND& dialog, std::string& error)
{
    if (!RequireRunningProgram(session, error))
        return false;
    const DWORD threadId = session.target.threadId;
    HWND other = nullptr;
    const bool found = WaitUntil(
        [&] {
            dialog = FindDialog(threadId, caption);
            if (dialog != nullptr)
                return true;
            // A message box in its place (a failure the program reports) ends the wait at once.
            other = ActiveDialog(threadId);
            return other != nullptr && IsMessageBox(other);
        },
        session.boundMs);
    if (dialog != nullptr)
        return true;
    error = other != nullptr ? DescribeDialog(other, session.boundMs) + " instead of " + Quoted(caption)
            : !found ? "no window " + Quoted(caption) + " opened within " + Seconds(session.boundMs)
                     : "no window " + Quoted(caption) + " is open";
    return false;
}

bool WaitUntilClosed(DriverSession& session, HWND window, const std::string& what, std::string& error)
{
    if (WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, session.boundMs))
        return true;
    error = what + " is still open after " + Seconds(session.boundMs);
    return false;
}

bool SendCommandWithoutWaiting(DriverSession& session, HWND window, int id, HWND control, std::string& error)
{
    if (SendWithoutWaiting(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control),
                           &session.commandHandled))
        return true;
    error = "can't send command " + std::to_string(id) + " (error " + std::to_string(GetLastError()) + ")";
    return false;
}
