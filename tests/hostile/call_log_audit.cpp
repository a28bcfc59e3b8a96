// Audits every call log that the simulated directory wrote under a folder: each buffer a
// directory or DNS call returned must have been freed by its own free call, exactly once.
// Usage: call_log_audit FOLDER [MINIMUM_LOGS]
#include "call_log.h"
#include "wine_path.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The tests name their logs "<test>.calls.log", or "calls.log" in a scratch folder of their own.
const char kLogName[] = "calls.log";

bool IsCallLog(const std::filesystem::path& path)
{
    const std::string name = path.filename().string();
    const std::string suffix = std::string(".") + kLogName;
    return name == kLogName ||
           (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0);
}

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

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: call_log_audit FOLDER [MINIMUM_LOGS]\n");
        return 2;
    }
    const std::filesystem::path folder = WinePathOf(argv[1]);
    const long minimum = argc == 3 ? std::strtol(argv[2], nullptr, 10) : 1;
    std::error_code failure;
    std::vector<std::filesystem::path> logs;
    for (std::filesystem::recursive_directory_iterator it(folder, failure), end; !failure && it != end;
         it.increment(failure))
        if (it->is_regular_file() && IsCallLog(it->path()))
            logs.push_back(it->path());
    if (failure) {
        std::printf("can't search %s: %s\n", folder.string().c_str(), failure.message().c_str());
        return 1;
    }
    bool good = true;
    for (const std::filesystem::path& log : logs)
        good = AuditLog(log) && good;
    if (static_cast<long>(logs.size()) < minimum) {
        std::printf("found %zu call logs under %s, expected at least %ld\n", logs.size(), folder.string().c_str(),
                    minimum);
        return 1;
    }
    return good ? 0 : 1;
}
