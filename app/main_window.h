// The main window: its class, its creation as start-up does it, its procedure and the message loop.
#ifndef QUILLMERE_MAIN_WINDOW_H
#define QUILLMERE_MAIN_WINDOW_H

#include <windows.h>

#include <cstddef>

// Start-up up to the shown window: common controls and COM, the window class, the window from
// IDD_MAIN (hidden), and the process-wide status log on its log edit when there is none yet.
// Null when the window cannot be created.
HWND CreateMainWindow(HINSTANCE instance);

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void InsertViewMenuItem(HWND window);
constexpr char kSearchingPlaceholder[] = "Searching for available realms...";
// The only item of the Available list until the discovery has ended.
void ShowSearchingPlaceholder(HWND window);
// The placeholder with the count of realms found so far.
void ShowSearchProgress(HWND window, std::size_t found);

// Dispatches until the quit message, offering each message to the main window's dialog
// navigation first. Returns the quit message's code, or 1 when the loop itself fails.
int RunMessageLoop(HWND mainWindow);

#endif
