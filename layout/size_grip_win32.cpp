// Size grip drawing (status-bar gripper or classic frame control) and hit testing.
#include "size_grip.h"

#include <windowsx.h>

#include "system_library.h"
#include "visual_style_library.h"

namespace {

// SP_GRIPPER of the "status" theme class.
constexpr int kStatusGripperPart = 3;

}  // namespace

void SetUpGripTheme(Resizer& resizer)
{
    resizer.openThemeData = AsFunction<OpenThemeDataFn>(visualStyleLibrary.find("uxtheme.dll", "OpenThemeData"));
    resizer.closeThemeData = AsFunction<CloseThemeDataFn>(visualStyleLibrary.find("uxtheme.dll", "CloseThemeData"));
    resizer.drawThemeBackground =
        AsFunction<DrawThemeBackgroundFn>(visualStyleLibrary.find("uxtheme.dll", "DrawThemeBackground"));
    OpenGripTheme(resizer);
}

void OpenGripTheme(Resizer& resizer)
{
    resizer.theme = resizer.openThemeData != nullptr ? resizer.openThemeData(resizer.window, L"status") : nullptr;
}

void ReleaseGripTheme(Resizer& resizer)
{
    if (resizer.closeThemeData != nullptr)
        resizer.closeThemeData(resizer.theme);
    resizer.theme = nullptr;
}

// After a theme change every theme handle is invalid: the old one is closed and the grip is drawn
// again with the new one, or classic when there is none now.
void RenewGripTheme(Resizer& resizer)
{
    ReleaseGripTheme(resizer);
    OpenGripTheme(resizer);
    if (resizer.noGrip)
        return;
    RECT client{};
    GetClientRect(resizer.window, &client);
    RECT square = GripSquare(client);
    InvalidateRect(resizer.window, &square, TRUE);
}

RECT GripSquare(const RECT& area)
{
    return RECT{area.right - GetSystemMetrics(SM_CXHSCROLL), area.bottom - GetSystemMetrics(SM_CYVSCROLL), area.right,
                area.bottom};
}

LRESULT PaintGrip(Resizer& resizer, WPARAM wParam, LPARAM lParam)
{
    HWND window = resizer.window;
    if (!resizer.noGrip && !IsZoomed(window)) {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(window, &paint);
        RECT client{};
        GetClientRect(window, &client);
        RECT square = GripSquare(client);
        if (resizer.theme != nullptr && resizer.drawThemeBackground != nullptr)
            resizer.drawThemeBackground(resizer.theme, dc, kStatusGripperPart, 0, &square, nullptr);
        else
            DrawFrameControl(dc, &square, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
        EndPaint(window, &paint);
    }
    // After EndPaint the update region is empty, so the previous procedure paints nothing over the grip.
    return CallWindowProcA(resizer.previousProc, window, WM_PAINT, wParam, lParam);
}

LRESULT HitTestGrip(Resizer& resizer, WPARAM wParam, LPARAM lParam)
{
    HWND window = resizer.window;
    LRESULT result = CallWindowProcA(resizer.previousProc, window, WM_NCHITTEST, wParam, lParam);
    if (resizer.noGrip || result != HTCLIENT || IsZoomed(window))
        return result;
    // The square that is drawn, in screen coordinates: measured from the window's outer corner it
    // would be smaller than the drawn grip by the border.
    RECT client{};
    GetClientRect(window, &client);
    RECT square = GripSquare(client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&square), 2);
    // Signed: monitors left of or above the primary one have negative coordinates.
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    return PtInRect(&square, point) ? HTBOTTOMRIGHT : result;
}

void InvalidateGrip(Resizer& resizer)
{
    RECT client{};
    GetClientRect(resizer.window, &client);
    RECT now = GripSquare(client);
    RECT before = now;
    OffsetRect(&before, resizer.lastWidth - resizer.newWidth, resizer.lastHeight - resizer.newHeight);
    RECT both{};
    UnionRect(&both, &now, &before);
    InvalidateRect(resizer.window, &both, TRUE);
}
