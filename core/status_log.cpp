// The status log's line rules and the process-wide log.
#include "status_log.h"

namespace {

// The single process-wide log: null until start-up creates it, then never replaced.
StatusLog* processLog = nullptr;

}  // namespace

void StatusLog::Append(const std::string& prefix, const std::string& text) const
{
    if (sink.control == nullptr)
        return;
    std::string line = prefix + text;
    // A text that already ends in a line feed (a system message text) keeps it as the line end.
    if (line.empty() || line.back() != '\n')
        line += "\r\n";
    // Collapse the selection to the end, then insert there: each line lands after all others.
    const std::size_t length = sink.textLength(sink.control);
    sink.setSelection(sink.control, length, length);
    sink.replaceSelection(sink.control, line);
}

void CreateStatusLog(const LogSink& sink)
{
    if (processLog == nullptr)
        processLog = new StatusLog{sink};
}

void ResetStatusLogForTests()
{
    delete processLog;
    processLog = nullptr;
}

void LogInfo(const std::string& text)
{
    if (processLog != nullptr)
        processLog->Append("Info: ", text);
}

void LogWarning(const std::string& text)
{
    if (processLog != nullptr)
        processLog->Append("Warning: ", text);
}
