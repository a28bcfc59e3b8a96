// Hooks on this thread's sent messages and on the messages it takes from its queue.
#include "message_recorder.h"

#include <algorithm>
#include <utility>

namespace {

MessageRecorder* activeRecorder = nullptr;

void Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (activeRecorder == nullptr)
        return;
    const auto& windows = activeRecorder->windows;
    if (std::find(windows.begin(), windows.end(), window) == windows.end())
        return;
    activeRecorder->messages.push_back(RecordedMessage{window, message, wParam, lParam});
    if (activeRecorder->inspect)
        activeRecorder->inspect(activeRecorder->messages.back());
}

LRESULT CALLBACK OnSent(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION) {
        const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        Record(sent->hwnd, sent->message, sent->wParam, sent->lParam);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK OnTaken(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        const auto* taken = reinterpret_cast<const MSG*>(lParam);
        Record(taken->hwnd, taken->message, taken->wParam, taken->lParam);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

MessageRecorder::MessageRecorder(std::vector<HWND> recorded, std::function<void(const RecordedMessage&)> inspector)
    : windows(std::move(recorded)), inspect(std::move(inspector))
{
    activeRecorder = this;
    sentHook = SetWindowsHookExA(WH_CALLWNDPROC, &OnSent, nullptr, GetCurrentThreadId());
    postedHook = SetWindowsHookExA(WH_GETMESSAGE, &OnTaken, nullptr, GetCurrentThreadId());
}

MessageRecorder::~MessageRecorder()
{
    UnhookWindowsHookEx(sentHook);
    UnhookWindowsHookEx(postedHook);
    activeRecorder = nullptr;
}
