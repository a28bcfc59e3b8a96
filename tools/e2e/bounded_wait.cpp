// Bounded waits with this thread's messages pumped, bounded sends and sends with a callback.
#include "bounded_wait.h"

namespace {

void DispatchPendingMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void CALLBACK MarkHandled(HWND, UINT, ULONG_PTR data, LRESULT)
{
    *reinterpret_cast<bool*>(data) = true;
}

}  // namespace

double NowMs()
{
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

bool WaitUntil(const std::function<bool()>& ready, DWORD boundMs, DWORD sliceMs)
{
    const double deadline = NowMs() + boundMs;
    for (;;) {
        DispatchPendingMessages();
        if (ready())
            return true;
        if (NowMs() >= deadline)
            return false;
        MsgWaitForMultipleObjectsEx(0, nullptr, sliceMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

bool SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD boundMs, LRESULT& result,
                 std::string& error, const char* what)
{
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, boundMs, &answer) == 0) {
        const DWORD reason = GetLastError();
        error = std::string("quillmere.exe did not answer ") + what +
                (reason == ERROR_TIMEOUT || reason == 0 ? " within " + std::to_string(boundMs) + " ms"
                                                        : " (error " + std::to_string(reason) + ")");
        return false;
    }
    result = static_cast<LRESULT>(answer);
    return true;
}

bool SendWithoutWaiting(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool* handled)
{
    *handled = false;
    return SendMessageCallbackA(window, message, wParam, lParam, &MarkHandled, reinterpret_cast<ULONG_PTR>(handled)) != 0;
}
