// A recording status log for tests: every line the program logs, in order.
#ifndef QUILLMERE_LOG_RECORDER_H
#define QUILLMERE_LOG_RECORDER_H

#include "trust_walk.h"

#include <string>
#include <vector>

struct LogRecorder {
    std::vector<std::string> lines;  // each with its prefix and its line end, as appended
};

// Makes the process-wide status log anew on a sink that appends to recorder.lines. Call
// StopRecordingStatusLog before the recorder goes away.
void RecordStatusLog(LogRecorder& recorder);
// Forgets the process-wide log: later lines are dropped until a log is created again.
void StopRecordingStatusLog();

// What one trust walk found and logged; failureCode is the code of the DiscoveryFailure the walk
// raised, 0 when it raised none.
struct RecordedWalk {
    KdcTable kdcs;
    TrustTable trusts;
    std::vector<std::string> log;
    unsigned failureCode = 0;
};

// Walks the platform's trusts with the status log recorded, and forgets the log afterwards.
RecordedWalk WalkRecorded(const DirectoryPlatform& platform);

#endif
