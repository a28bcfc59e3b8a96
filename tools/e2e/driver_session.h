// The state of one scenario run and the waits that every step shares.
#ifndef QUILLMERE_E2E_DRIVER_SESSION_H
#define QUILLMERE_E2E_DRIVER_SESSION_H

#include "remote_list_view.h"
#include "scenario.h"
#include "target_process.h"

#include <windows.h>

#include <map>
#include <string>
#include <vector>

struct DriverSession {
    std::string program;         // quillmere.exe
    std::string scenarioFolder;  // forest files are named relative to it
    std::string scratchFolder;   // files the program saves, and the call log
    DWORD boundMs = 30000;       // the longest any single wait may take
    std::map<std::string, std::string> variables;  // "${name}" in arguments and blocks
    TargetProcess target;
    bool commandHandled = true;  // the last command sent without waiting has returned
    bool discoveryEnded = false;
    bool startedSearching = false;  // "start searching": the steps don't wait for the discovery
    double longestUnansweredMs = 0;  // the longest the window took to answer during the discovery
    double measuredMs = -1;      // what the step timed, for the report; negative: the whole step
    std::string measuredWhat;
    std::map<int, RECT> rectsBefore;  // control rectangles around the last resize, by id
    std::map<int, RECT> rectsAfter;
    SIZE sizeBefore = {};
    SIZE sizeAfter = {};
};

bool ExpandArgument(const DriverSession& session, const std::string& text, std::string& expanded, std::string& error);
bool ExpandBlock(const DriverSession& session, const ScenarioStep& step, std::vector<std::string>& lines,
                 std::string& error);
bool RequireArgumentCount(const ScenarioStep& step, std::size_t least, std::size_t most, std::string& error);
bool RequireBlock(const ScenarioStep& step, std::string& error);

bool RequireRunningProgram(const DriverSession& session, std::string& error);
// Waits until the program sits in its message loop with nothing to finish: the last command has
// returned, the discovery has ended, and no dialog or message box is open (one that is open is
// named in the error).
bool WaitUntilReady(DriverSession& session, std::string& error);
// The discovery has ended once the placeholder is gone and it has written its last log line.
bool ReadDiscoveryEnded(const DriverSession& session, bool& ended, std::string& error);
// Waits until the discovery has ended or a dialog has opened on the way (the start-up box).
bool WaitForDiscoveryOrDialog(DriverSession& session, std::string& error);

RemoteList MainList(const DriverSession& session, int id);
HWND MainControl(const DriverSession& session, int id, std::string& error);
// The open dialog with this caption; waits for it within the bound.
bool WaitForDialog(DriverSession& session, const std::string& caption, HWND& dialog, std::string& error);
// Waits until the window is gone or hidden.
bool WaitUntilClosed(DriverSession& session, HWND window, const std::string& what, std::string& error);
// Sends WM_COMMAND as a click on the control would, without waiting; false when it can't be sent.
bool SendCommandWithoutWaiting(DriverSession& session, HWND window, int id, HWND control, std::string& error);

#endif
