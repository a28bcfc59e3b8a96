// qm_driver: runs a scenario against quillmere.exe, driving it through its windows only.
//
//   qm_driver [--program PATH] [--scratch FOLDER] [--timeout SECONDS] SCENARIO
//
// Prints one line per step (with what it timed) and exits 0 when every step held, 1 at the
// first that did not, 2 on a usage or scenario error.
#include "steps.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

struct Options {
    std::string program;
    std::string scratch;
    std::string scenario;
    DWORD boundMs = 30000;
};

std::string FullPath(const std::string& path)
{
    char full[MAX_PATH] = {};
    const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    return length == 0 || length >= MAX_PATH ? path : std::string(full);
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of("\\/");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string ProgramBesideDriver()
{
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    return FolderOf(self) + "\\quillmere.exe";
}

bool ParseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--program" && hasValue) {
            options.program = argv[++i];
        } else if (arg == "--scratch" && hasValue) {
            options.scratch = argv[++i];
        } else if (arg == "--timeout" && hasValue) {
            const long seconds = std::strtol(argv[++i], nullptr, 10);
            if (seconds <= 0)
                return false;
            options.boundMs = static_cast<DWORD>(seconds) * 1000;
        } else if (options.scenario.empty() && arg.compare(0, 2, "--") != 0) {
            options.scenario = arg;
        } else {
            return false;
        }
    }
    return !options.scenario.empty();
}

// A fresh scratch folder: created with its parents, emptied of the files a former run left.
bool PrepareScratchFolder(const std::string& folder)
{
    for (std::size_t i = 3; i <= folder.size(); ++i) {
        if (i == folder.size() || folder[i] == '\\')
            CreateDirectoryA(folder.substr(0, i).c_str(), nullptr);
    }
    WIN32_FIND_DATAA found = {};
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
                DeleteFileA((folder + "\\" + found.cFileName).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string StepText(const ScenarioStep& step)
{
    std::string text = step.verb;
    for (const std::string& arg : step.args)
        text += " " + (arg.find(' ') == std::string::npos && !arg.empty() ? arg : "\"" + arg + "\"");
    return text;
}

int RunScenario(DriverSession& session, const std::string& name, const std::vector<ScenarioStep>& steps)
{
    for (const ScenarioStep& step : steps) {
        session.measuredMs = -1;
        std::string error;
        if (!FindStep(step.verb)(session, step, error)) {
            std::printf("FAIL %s:%d: %s: %s\n", name.c_str(), step.line, StepText(step).c_str(), error.c_str());
            return 1;
        }
        if (session.measuredMs >= 0)
            std::printf("ok   line %d: %s (%.1f ms %s)\n", step.line, StepText(step).c_str(), session.measuredMs,
                        session.measuredWhat.c_str());
        else
            std::printf("ok   line %d: %s\n", step.line, StepText(step).c_str());
        std::fflush(stdout);
    }
    if (session.target.startedHere && !session.target.exited) {
        std::printf("FAIL %s: the scenario ends with quillmere.exe still running (no exit step)\n", name.c_str());
        return 1;
    }
    std::printf("PASS %s: %zu steps\n", name.c_str(), steps.size());
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: qm_driver [--program PATH] [--scratch FOLDER] [--timeout SECONDS] SCENARIO\n");
        return 2;
    }
    std::ifstream file(options.scenario, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "qm_driver: can't read the scenario %s\n", options.scenario.c_str());
        return 2;
    }
    std::ostringstream text;
    text << file.rdbuf();
    std::vector<ScenarioStep> steps;
    std::string error;
    if (!ParseScenario(text.str(), steps, error)) {
        std::fprintf(stderr, "qm_driver: %s: %s\n", options.scenario.c_str(), error.c_str());
        return 2;
    }
    for (const ScenarioStep& step : steps) {
        if (FindStep(step.verb) == nullptr) {
            std::fprintf(stderr, "qm_driver: %s: line %d: unknown step \"%s\"\n", options.scenario.c_str(), step.line,
                         step.verb.c_str());
            return 2;
        }
    }

    DriverSession session;
    session.program = FullPath(options.program.empty() ? ProgramBesideDriver() : options.program);
    session.scenarioFolder = FolderOf(FullPath(options.scenario));
    session.scratchFolder =
        FullPath(options.scratch.empty() ? BaseNameOf(options.scenario) + ".scratch" : options.scratch);
    session.boundMs = options.boundMs;
    session.variables["scratch"] = session.scratchFolder;
    if (!PrepareScratchFolder(session.scratchFolder)) {
        std::fprintf(stderr, "qm_driver: can't prepare the scratch folder %s\n", session.scratchFolder.c_str());
        return 2;
    }
    const int result = RunScenario(session, BaseNameOf(options.scenario), steps);
    StopProgram(session.target);
    return result;
}
