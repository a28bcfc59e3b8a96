// The forwardable buttons of the main window: always one checked, and the tab stop on that one.
#ifndef QUILLMERE_FORWARDABLE_CHOICE_H
#define QUILLMERE_FORWARDABLE_CHOICE_H

#include <windows.h>

// Checks "Not set" (no forwardable line) and puts the group's tab stop on it; at WM_INITDIALOG.
void StartForwardableChoice(HWND mainWindow);

// Puts the group's tab stop on the checked button and takes it off the others; at each
// notification from the group. On Windows a radio button that gets the focus unchecked chooses
// itself, so Tab and Shift+Tab must enter the group on the button already chosen.
void FollowForwardableChoice(HWND mainWindow);

#endif
