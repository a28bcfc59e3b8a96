// Records the messages that reach chosen windows of this thread, sent and posted, in order.
#ifndef QUILLMERE_MESSAGE_RECORDER_H
#define QUILLMERE_MESSAGE_RECORDER_H

#include <windows.h>

#include <functional>
#include <vector>

struct RecordedMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Records while it lives; one at a time. inspect, when given, sees each recorded message while
// it is being handled, when what lParam points to still exists.
struct MessageRecorder {
    explicit MessageRecorder(std::vector<HWND> windows, std::function<void(const RecordedMessage&)> inspect = {});
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    std::vector<HWND> windows;
    std::function<void(const RecordedMessage&)> inspect;
    std::vector<RecordedMessage> messages;
    HHOOK sentHook = nullptr;
    HHOOK postedHook = nullptr;
};

#endif
