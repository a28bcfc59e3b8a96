// Steps on the files the program writes into the scratch folder.
#include "steps.h"

#include "text_lines.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace {

const char kCallLogName[] = "calls.log";

// Waits for the program to finish what it was doing, when it still runs.
bool SettleIfRunning(DriverSession& session, std::string& error)
{
    if (session.target.process == nullptr || session.target.exited ||
        WaitForSingleObject(session.target.process, 0) == WAIT_OBJECT_0)
        return true;
    return WaitUntilReady(session, error);
}

}  // namespace

bool StepExpectFile(DriverSession& session, const ScenarioStep& step, std::string& error)
{
    std::string name;
    std::vector<std::string> expected;
    if (!RequireArgumentCount(step, 1, 1, error) || !RequireBlock(step, error) ||
        !ExpandArgument(session, step.args[0], name, error) || !ExpandBlock(session, step, expected, error) ||
        !SettleIfRunning(session, error))
        return false;
    const std::string path = session.scratchFolder + "\\" + name;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "there is no file " + Quoted(path);
        return false;
    }
    std::ostringstream content;
    content << file.rdbuf();
    std::vector<std::string> lines;
    if (!SplitLfLines(content.str(), lines, error)) {
        error = Quoted(name) + " is not LF lines: " + error;
        return false;
    }
    error = DescribeLineDifference(expected, lines);
    return error.empty();
}

bool StepExpectFiles(DriverSession& session, const ScenarioStep& step, std::string& error)
{
    std::vector<std::string> expected;
    if (!RequireArgumentCount(step, 0, 0, error) || !RequireBlock(step, error) ||
        !ExpandBlock(session, step, expected, error) || !SettleIfRunning(session, error))
        return false;
    std::vector<std::string> names;
    WIN32_FIND_DATAA found = {};
    const HANDLE search = FindFirstFileA((session.scratchFolder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && name != kCallLogName)
                names.push_back(name);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    std::sort(names.begin(), names.end());
    error = DescribeLineDifference(expected, names);
    return error.empty();
}
