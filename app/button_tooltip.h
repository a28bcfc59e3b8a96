// A tooltip for one control of a dialog.
#ifndef QUILLMERE_BUTTON_TOOLTIP_H
#define QUILLMERE_BUTTON_TOOLTIP_H

#include <windows.h>

// Gives the control its own tooltip window showing text; false when nothing was attached.
bool AddButtonTooltip(int controlId, HWND dialog, const char* text);

#endif
