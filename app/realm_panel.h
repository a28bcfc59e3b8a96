// The realm selection panel: the buttons that move realms between the lists and mark them.
#ifndef QUILLMERE_REALM_PANEL_H
#define QUILLMERE_REALM_PANEL_H

#include <windows.h>

// Each takes the main window and finds IDC_AVAILABLE_LIST and IDC_SELECTED_LIST in it. With
// nothing selected in the list it works on, each shows "No items selected." and changes nothing.
void AddSelectedRealms(HWND mainWindow);
void RemoveSelectedRealms(HWND mainWindow);
void SetDefaultRealm(HWND mainWindow);
// The server mark when serverFlag is true, the client mark otherwise.
void ToggleRealmFlag(HWND mainWindow, bool serverFlag);
// The box each of them shows when nothing is selected.
void WarnNothingSelected(HWND mainWindow);

void MarkDefault(HWND list, int index);
void ClearDefault(HWND list, int index);

#endif
