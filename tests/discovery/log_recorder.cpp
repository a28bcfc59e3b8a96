// A recording status log for tests.
#include "log_recorder.h"

#include "status_log.h"

namespace {

std::size_t TextLength(void* control)
{
    std::size_t length = 0;
    for (const std::string& line : static_cast<LogRecorder*>(control)->lines)
        length += line.size();
    return length;
}

void SetSelection(void*, std::size_t, std::size_t) {}

void ReplaceSelection(void* control, const std::string& text)
{
    static_cast<LogRecorder*>(control)->lines.push_back(text);
}

}  // namespace

void RecordStatusLog(LogRecorder& recorder)
{
    ResetStatusLogForTests();
    CreateStatusLog(LogSink{&recorder, TextLength, SetSelection, ReplaceSelection});
}

void StopRecordingStatusLog()
{
    ResetStatusLogForTests();
}
