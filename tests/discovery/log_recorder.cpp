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

RecordedWalk WalkRecorded(const DirectoryPlatform& platform)
{
    RecordedWalk walk;
    LogRecorder recorder;
    RecordStatusLog(recorder);
    try {
        WalkTrusts(platform, walk.kdcs, walk.trusts);
    } catch (const DiscoveryFailure& failure) {
        walk.failureCode = failure.code;
    }
    StopRecordingStatusLog();
    walk.log = recorder.lines;
    return walk;
}
