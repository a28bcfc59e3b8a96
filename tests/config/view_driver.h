// Opens the configuration view modally from a test, reads it, presses keys and closes it.
#ifndef QUILLMERE_VIEW_DRIVER_H
#define QUILLMERE_VIEW_DRIVER_H

#include <windows.h>

#include <string>

struct ViewVisit {
    bool found = false;              // the dialog showed up
    std::string caption;
    std::string text;                // IDC_CONFIG_TEXT as first shown
    bool focusInEdit = false;
    DWORD selectionStart = 0;
    DWORD selectionEnd = 0;
    bool openAfterEnter = false;     // Enter in the edit left the view open
    bool closedByEscape = false;     // Escape ended it, with IDCANCEL
    bool forced = false;             // it had to be ended by the bound
    INT_PTR result = 0;
};

// Opens IDD_CONFIG_VIEW owned by the main window, as the View command does; from inside its
// modal loop the driver reads it, presses Enter, then Escape. Ends within seconds.
ViewVisit VisitConfigView(HWND mainWindow);

// The text turned into the edit's form: every LF preceded by CR.
std::string WithCrLf(const std::string& text);

#endif
