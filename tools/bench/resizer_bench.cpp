// Benchmark: the cost of a layout pass on IDD_MAIN, next to the same resizes without a resizer.
//
// Prints, for hidden and for shown dialogs, the time per resize with and without the resizer
// and the difference (the pass itself: 20 children placed in one deferred batch), and the
// memory the resizer holds.
#include <windows.h>

#include <chrono>
#include <cstdio>

#include "main_window_layout.h"
#include "dialog_test_support.h"
#include "resizer.h"

namespace {

// Microseconds per resize over `rounds` alternating grow and shrink steps.
double MicrosecondsPerResize(HWND dialog, int rounds)
{
    RECT outer{};
    GetWindowRect(dialog, &outer);
    const LONG width = outer.right - outer.left;
    const LONG height = outer.bottom - outer.top;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i) {
        LONG grow = 1 + i % 97;
        SetWindowPos(dialog, nullptr, 0, 0, width + grow, height + grow, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    auto elapsed = std::chrono::steady_clock::now() - start;
    SetWindowPos(dialog, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return std::chrono::duration<double, std::micro>(elapsed).count() / rounds;
}

}  // namespace

int main()
{
    const int rounds = 2000;
    HWND plain = CreateMainDialog(nullptr);
    HWND resized = CreateMainDialog(SetUpMainDialogLayout);
    if (plain == nullptr || resized == nullptr) {
        std::fprintf(stderr, "resizer_bench: dialog 100 could not be created\n");
        return 1;
    }
    std::printf("resizes of dialog 100: %d each\n", rounds);
    for (const char* state : {"hidden", "shown"}) {
        if (state[0] == 's') {
            ShowWindow(plain, SW_SHOWNORMAL);
            ShowWindow(resized, SW_SHOWNORMAL);
        }
        double without = MicrosecondsPerResize(plain, rounds);
        double with = MicrosecondsPerResize(resized, rounds);
        std::printf("  %-6s  without resizer %8.1f us, with resizer %8.1f us, layout pass %8.1f us\n", state,
                    without, with, with - without);
    }
    const Resizer* resizer = GetResizer(resized);
    std::printf("resizer memory: %zu bytes record + %zu rules x %zu bytes\n", sizeof(Resizer),
                resizer->rules.capacity(), sizeof(LayoutRule));
    DestroyWindow(plain);
    DestroyWindow(resized);
    return 0;
}
