// The status log: "Info: " and "Warning: " lines appended to the log control.
#ifndef QUILLMERE_STATUS_LOG_H
#define QUILLMERE_STATUS_LOG_H

#include <cstddef>
#include <string>

// The three steps of an append-at-end on the log control (on Windows the edit control
// IDC_STATUS_LOG).
struct LogSink {
    void* control;
    std::size_t (*textLength)(void* control);
    void (*setSelection)(void* control, std::size_t start, std::size_t end);
    void (*replaceSelection)(void* control, const std::string& text);
};

struct StatusLog {
    LogSink sink;  // a null control drops every line
    void Append(const std::string& prefix, const std::string& text) const;
};

// Makes the process-wide log, only while there is none yet.
void CreateStatusLog(const LogSink& sink);
// Tests only: forgets the process-wide log, so that the next CreateStatusLog makes a new one.
void ResetStatusLogForTests();

void LogInfo(const std::string& text);
void LogWarning(const std::string& text);

#endif
