// Test helpers that drive the real main window in-process: create it, select, press, read back.
#ifndef QUILLMERE_MAIN_WINDOW_DRIVER_H
#define QUILLMERE_MAIN_WINDOW_DRIVER_H

#include <windows.h>

#include <string>
#include <vector>

// A fresh main window, made as start-up makes it, with a fresh status log on its log edit.
// Shown only on request: under Xvfb without a window manager, Wine waits two seconds for the
// withdrawal of every shown window it destroys. Destroys the window and forgets its quit
// message when it goes away.
struct TestMainWindow {
    HWND window = nullptr;
    explicit TestMainWindow(bool shown = false);
    ~TestMainWindow();
    TestMainWindow(const TestMainWindow&) = delete;
    TestMainWindow& operator=(const TestMainWindow&) = delete;
    HWND Control(int id) const { return GetDlgItem(window, id); }
};

// Consumes the quit message that destroying a main window posts, so later loops run.
void ForgetQuitMessage();

std::string WindowText(HWND window);
// Every item text of a list, read with a buffer far larger than the program's.
std::vector<std::string> ItemTexts(HWND list);
std::vector<int> SelectedIndexes(HWND list);
// Selects exactly these items.
void SelectItems(HWND list, const std::vector<int>& indexes);
// Selects exactly the items with these texts; each must be there.
void SelectItemsByText(HWND list, const std::vector<std::string>& texts);
// Replaces the Available list's contents with these realm names, as the discovery run would.
void ShowRealms(HWND mainWindow, const std::vector<std::string>& names);
// What a click on the button sends to its parent.
void PressButton(HWND mainWindow, int id);

#endif
