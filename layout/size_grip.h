// The size grip in a resizable dialog's bottom-right corner.
#ifndef QUILLMERE_SIZE_GRIP_H
#define QUILLMERE_SIZE_GRIP_H

#include <windows.h>

#include "resizer.h"

// Finds the visual-style functions and opens the status-bar theme.
void SetUpGripTheme(Resizer& resizer);
void ReleaseGripTheme(Resizer& resizer);
// Opens the status-bar theme with the functions found.
void OpenGripTheme(Resizer& resizer);
// WM_THEMECHANGED: closes the theme handle, opens it again and repaints the grip.
void RenewGripTheme(Resizer& resizer);

// The square of the scroll bar metrics in the bottom-right corner of `area`.
RECT GripSquare(const RECT& area);

// WM_PAINT: draws the grip, then hands the message on.
LRESULT PaintGrip(Resizer& resizer, WPARAM wParam, LPARAM lParam);

// WM_NCHITTEST: client points inside the drawn square become the sizing corner.
LRESULT HitTestGrip(Resizer& resizer, WPARAM wParam, LPARAM lParam);

// After a pass: erases the grip where it was and paints it where it is now.
void InvalidateGrip(Resizer& resizer);

#endif
