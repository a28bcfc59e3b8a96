// Audits the call logs that the simulated directory wrote in this run of the tests: each buffer a
// directory or DNS call returned must have been freed by its own free call, exactly once.
// Usage: call_log_audit LIST
// LIST names the logs of this build's tests, one a line (tests/hostile/CMakeLists.txt writes it).
// Every one must be there: the test call_logs_reset removes them all before the run, so a log
// that is missing was not written by this run, and an earlier run's is never audited as its own.
#include "call_log.h"
#include "wine_path.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Prints what is wrong with one log; true when nothing is.
bool AuditLog(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    std::vector<CallLogEntry> calls;
    std::string error;
    if (!file || !ParseCallLog(text.str(), calls, error)) {
        std::printf("%s: can't be read: %s\n", path.string().c_str(), error.c_str());
        return false;
    }
    const BufferAudit audit = AuditBuffers(calls);
    std::printf("%s: %zu calls, %zu buffers never freed, %zu bad frees\n", path.string().c_str(), calls.size(),
                audit.unreleased.size(), audit.badFrees.size());
    for (const CallLogEntry& entry : audit.unreleased)
        std::printf("  never freed: %s", FormatCallLogLine(entry).c_str());
    for (const CallLogEntry& entry : audit.badFrees)
        std::printf("  bad free: %s", FormatCallLogLine(entry).c_str());
    return audit.unreleased.empty() && audit.badFrees.empty();
}

// The paths the list names, as this program opens them; false when the list can't be read.
bool ReadLogList(const std::string& listPath, std::vector<std::filesystem::path>& logs)
{
    std::ifstream list(WinePathOf(listPath), std::ios::binary);
    if (!list)
        return false;
    std::string line;
    while (std::getline(list, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            logs.emplace_back(WinePathOf(line));
    }
    return !list.bad();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: call_log_audit LIST\n");
        return 2;
    }
    std::vector<std::filesystem::path> logs;
    if (!ReadLogList(argv[1], logs)) {
        std::printf("can't read the list of call logs %s\n", argv[1]);
        return 1;
    }
    if (logs.empty()) {
        std::printf("%s names no call log\n", argv[1]);
        return 1;
    }
    bool good = true;
    std::size_t missing = 0;
    for (const std::filesystem::path& log : logs) {
        std::error_code failure;
        if (!std::filesystem::is_regular_file(log, failure)) {
            std::printf("%s: missing: its test did not run, or made no call\n", log.string().c_str());
            ++missing;
            good = false;
            continue;
        }
        good = AuditLog(log) && good;
    }
    std::printf("%zu call logs named, %zu missing\n", logs.size(), missing);
    return good ? 0 : 1;
}
