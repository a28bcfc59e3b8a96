// Bounded waits on the program under test, and messages sent to it that can't hang the driver.
#ifndef QUILLMERE_E2E_BOUNDED_WAIT_H
#define QUILLMERE_E2E_BOUNDED_WAIT_H

#include <windows.h>

#include <functional>
#include <string>

// Short enough to time the program's answers to a few milliseconds.
constexpr DWORD kPollSliceMs = 2;
// Checks ready() until it holds or boundMs have passed, dispatching this thread's messages in
// between (so that the callbacks of SendWithoutWaiting run), and waiting up to sliceMs between
// checks. False when the bound passed.
bool WaitUntil(const std::function<bool()>& ready, DWORD boundMs, DWORD sliceMs = kPollSliceMs);

// SendMessageTimeoutA with the bound; false, with a message naming what was sent, when the
// program did not answer in time.
bool SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD boundMs, LRESULT& result,
                 std::string& error, const char* what);

// Sends the message and returns at once; *handled becomes true once the program's window
// procedure has returned from it. A handler that opens a modal window stays inside it, so the
// caller waits for either.
bool SendWithoutWaiting(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool* handled);

// Milliseconds since an arbitrary start, with sub-millisecond resolution.
double NowMs();

#endif
