// The size grip: hit testing, invalidation, and drawing with and without visual styles.
#include "config_view_layout.h"
#include "main_window_layout.h"
#include "resizer.h"
#include "size_grip.h"
#include "visual_style_library.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog_test_support.h"
#include "resource_ids.h"

namespace {

// A stand-in for the visual-style library, recording what the grip asks of it.
struct FakeVisualStyles {
    int opened = 0;
    HWND openedFor = nullptr;
    std::wstring classList;
    int drawn = 0;
    int part = -1;
    int state = -1;
    RECT drawnRect{};
    bool clipGiven = false;
    int closed = 0;
    HTHEME closedTheme = nullptr;
};

FakeVisualStyles fake;
HTHEME const kFakeTheme = reinterpret_cast<HTHEME>(static_cast<INT_PTR>(0x5151));

HTHEME WINAPI FakeOpenThemeData(HWND window, LPCWSTR classList)
{
    ++fake.opened;
    fake.openedFor = window;
    fake.classList = classList;
    return kFakeTheme;
}

HRESULT WINAPI FakeDrawThemeBackground(HTHEME, HDC, int part, int state, const RECT* rect, const RECT* clip)
{
    ++fake.drawn;
    fake.part = part;
    fake.state = state;
    fake.drawnRect = *rect;
    fake.clipGiven = clip != nullptr;
    return S_OK;
}

HRESULT WINAPI FakeCloseThemeData(HTHEME theme)
{
    ++fake.closed;
    fake.closedTheme = theme;
    return S_OK;
}

template <typename Function>
FARPROC AsFarProc(Function function)
{
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}

FARPROC FindNothing(const char*, const char*)
{
    return nullptr;
}

FARPROC FindFake(const char* dll, const char* name)
{
    if (std::string(dll) != "uxtheme.dll")
        return nullptr;
    const std::string wanted = name;
    if (wanted == "OpenThemeData")
        return AsFarProc(FakeOpenThemeData);
    if (wanted == "DrawThemeBackground")
        return AsFarProc(FakeDrawThemeBackground);
    if (wanted == "CloseThemeData")
        return AsFarProc(FakeCloseThemeData);
    return nullptr;
}

FARPROC FindFakeWithoutDrawing(const char* dll, const char* name)
{
    return std::string(name) == "DrawThemeBackground" ? nullptr : FindFake(dll, name);
}

// Replaces the library lookup for one test.
class VisualStylesReplaced {
public:
    explicit VisualStylesReplaced(VisualStyleLibrary replacement) : saved(visualStyleLibrary)
    {
        visualStyleLibrary = replacement;
        fake = FakeVisualStyles{};
    }
    ~VisualStylesReplaced() { visualStyleLibrary = saved; }
    VisualStylesReplaced(const VisualStylesReplaced&) = delete;
    VisualStylesReplaced& operator=(const VisualStylesReplaced&) = delete;

private:
    VisualStyleLibrary saved;
};

LRESULT HitTest(HWND window, LONG x, LONG y)
{
    auto packed = static_cast<LPARAM>(static_cast<DWORD>((static_cast<WORD>(y) << 16) | static_cast<WORD>(x)));
    return SendMessageA(window, WM_NCHITTEST, 0, packed);
}

RECT Outer(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

RECT ClientGripSquare(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    return GripSquare(client);
}

int erasures = 0;

INT_PTR CALLBACK ConfigViewTestProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        SetUpConfigViewLayout(dialog);
        return TRUE;
    case WM_ERASEBKGND:
        ++erasures;
        return FALSE;
    default:
        return FALSE;
    }
}

HWND CreateConfigView()
{
    return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_CONFIG_VIEW), nullptr,
                              ConfigViewTestProc, 0);
}

int hostDestroyMessages = 0;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY)
        ++hostDestroyMessages;
    return DefWindowProcA(window, message, wParam, lParam);
}

// A plain window without children, so that nothing covers its grip.
HWND CreateHost(DWORD style, HWND parent)
{
    static ATOM registered = 0;
    if (registered == 0) {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = HostProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = "QuillmereGripHost";
        registered = RegisterClassExA(&windowClass);
    }
    return CreateWindowExA(0, "QuillmereGripHost", "grip", style, 40, 40, 300, 200, parent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

// The pixels of `area` on a device context, row by row.
std::vector<COLORREF> Pixels(HDC source, const RECT& area)
{
    std::vector<COLORREF> pixels;
    for (LONG y = area.top; y < area.bottom; ++y) {
        for (LONG x = area.left; x < area.right; ++x)
            pixels.push_back(GetPixel(source, x, y));
    }
    return pixels;
}

std::vector<COLORREF> ScreenPixels(HWND window, const RECT& area)
{
    HDC dc = GetDC(window);
    std::vector<COLORREF> pixels = Pixels(dc, area);
    ReleaseDC(window, dc);
    return pixels;
}

// The classic size grip drawn on the button face, as the grip square should look without a theme.
std::vector<COLORREF> ClassicGripPixels(const RECT& square)
{
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, square.right, square.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    RECT all{0, 0, square.right, square.bottom};
    FillRect(memory, &all, GetSysColorBrush(COLOR_BTNFACE));
    RECT drawn = square;
    DrawFrameControl(memory, &drawn, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    std::vector<COLORREF> pixels = Pixels(memory, square);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

std::vector<COLORREF> PaintedGrip(HWND window)
{
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    return ScreenPixels(window, ClientGripSquare(window));
}

// The drawn grip square in screen coordinates.
RECT DrawnSquareOnScreen(HWND dialog)
{
    RECT square = ClientGripSquare(dialog);
    MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&square), 2);
    return square;
}

}  // namespace

// Exactly the square that is drawn sizes the window: its first row and column included, the
// pixels just outside it not.
TEST(SizeGripHitTest, TheDrawnSquareBecomesTheSizingCornerAndEverythingElseKeepsItsCode)
{
    HWND dialog = CreateMainDialog(SetUpMainDialogLayout);
    ASSERT_NE(dialog, nullptr);
    ShowWindow(dialog, SW_SHOWNORMAL);
    RECT outer = Outer(dialog);
    RECT drawn = DrawnSquareOnScreen(dialog);
    EXPECT_EQ(drawn.right - drawn.left, GetSystemMetrics(SM_CXHSCROLL));
    EXPECT_EQ(HitTest(dialog, drawn.left, drawn.top), HTBOTTOMRIGHT);
    EXPECT_EQ(HitTest(dialog, drawn.left + 1, drawn.top + 2), HTBOTTOMRIGHT);
    EXPECT_EQ(HitTest(dialog, drawn.right - 1, drawn.bottom - 1), HTBOTTOMRIGHT);
    EXPECT_EQ(HitTest(dialog, drawn.left, drawn.bottom - 1), HTBOTTOMRIGHT);
    EXPECT_EQ(HitTest(dialog, drawn.right - 1, drawn.top), HTBOTTOMRIGHT);
    // Just left of and just above the square: client area.
    EXPECT_EQ(HitTest(dialog, drawn.left - 1, drawn.top + 1), HTCLIENT);
    EXPECT_EQ(HitTest(dialog, drawn.left + 1, drawn.top - 1), HTCLIENT);
    EXPECT_EQ(HitTest(dialog, (outer.left + outer.right) / 2, (outer.top + outer.bottom) / 2), HTCLIENT);
    // The sizing border and the caption answer as before.
    EXPECT_EQ(HitTest(dialog, (outer.left + outer.right) / 2, outer.bottom - 1), HTBOTTOM);
    EXPECT_EQ(HitTest(dialog, outer.right - 1, (outer.top + outer.bottom) / 2), HTRIGHT);
    // The border's own corner is the previous procedure's answer, whatever the grip.
    EXPECT_EQ(HitTest(dialog, outer.right - 1, outer.bottom - 1), HTBOTTOMRIGHT);
    EXPECT_EQ(HitTest(dialog, (outer.left + outer.right) / 2, outer.top + GetSystemMetrics(SM_CYFRAME) + 2),
              HTCAPTION);

    // Left of and above the primary monitor the coordinates are negative.
    SetWindowPos(dialog, nullptr, -900, -700, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    outer = Outer(dialog);
    ASSERT_LT(outer.bottom, 0);
    drawn = DrawnSquareOnScreen(dialog);
    EXPECT_EQ(HitTest(dialog, drawn.left, drawn.top), HTBOTTOMRIGHT);
    EXPECT_EQ(HitTest(dialog, drawn.left - 1, drawn.top + 1), HTCLIENT);

    SetWindowPos(dialog, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(dialog, SW_MAXIMIZE);
    ASSERT_TRUE(IsZoomed(dialog));
    RECT client{};
    GetClientRect(dialog, &client);
    POINT corner{client.right - 2, client.bottom - 2};
    ClientToScreen(dialog, &corner);
    EXPECT_EQ(HitTest(dialog, corner.x, corner.y), HTCLIENT);
    DestroyWindow(dialog);
}

TEST(SizeGripInvalidation, AGrownDialogErasesTheOldSquareAndPaintsTheNewOne)
{
    HWND view = CreateConfigView();
    ASSERT_NE(view, nullptr);
    ShowWindow(view, SW_SHOWNORMAL);
    UpdateWindow(view);
    RECT outer = Outer(view);
    // No redraw of its own, so the update region is what the pass invalidates.
    SetWindowPos(view, nullptr, 0, 0, outer.right - outer.left + 30, outer.bottom - outer.top + 20,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW);

    RECT now = ClientGripSquare(view);
    RECT before = now;
    OffsetRect(&before, -30, -20);
    RECT expected{};
    UnionRect(&expected, &now, &before);
    HRGN update = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetUpdateRgn(view, update, FALSE), ERROR);
    RECT bounds{};
    GetRgnBox(update, &bounds);
    EXPECT_TRUE(EqualRect(&bounds, &expected))
        << bounds.left << "," << bounds.top << "," << bounds.right << "," << bounds.bottom << " instead of "
        << expected.left << "," << expected.top << "," << expected.right << "," << expected.bottom;
    DeleteObject(update);

    erasures = 0;
    UpdateWindow(view);
    EXPECT_EQ(erasures, 1);
    DestroyWindow(view);
}

TEST(SizeGripThemed, DrawsTheStatusGripperIntoTheSquareAndClosesTheThemeAtDestroy)
{
    VisualStylesReplaced styles({FindFake});
    HWND view = CreateConfigView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(fake.opened, 1);
    EXPECT_EQ(fake.openedFor, view);
    EXPECT_EQ(fake.classList, L"status");
    EXPECT_EQ(GetResizer(view)->theme, kFakeTheme);

    ShowWindow(view, SW_SHOWNORMAL);
    InvalidateRect(view, nullptr, TRUE);
    UpdateWindow(view);
    ASSERT_GE(fake.drawn, 1);
    EXPECT_EQ(fake.part, 3);
    EXPECT_EQ(fake.state, 0);
    RECT square = ClientGripSquare(view);
    EXPECT_TRUE(EqualRect(&fake.drawnRect, &square));
    EXPECT_FALSE(fake.clipGiven);

    ShowWindow(view, SW_MAXIMIZE);
    int drawnBefore = fake.drawn;
    InvalidateRect(view, nullptr, TRUE);
    UpdateWindow(view);
    EXPECT_EQ(fake.drawn, drawnBefore) << "a maximized dialog shows no grip";
    ShowWindow(view, SW_RESTORE);
    InvalidateRect(view, nullptr, TRUE);
    UpdateWindow(view);
    EXPECT_GT(fake.drawn, drawnBefore);

    EXPECT_EQ(fake.closed, 0);
    DestroyWindow(view);
    EXPECT_EQ(fake.closed, 1);
    EXPECT_EQ(fake.closedTheme, kFakeTheme);
    EXPECT_EQ(fake.opened, 1);
}

// After WM_THEMECHANGED the old handle is invalid: closed, a new one opened, the grip repainted.
TEST(SizeGripThemed, AThemeChangeClosesTheHandleOpensANewOneAndRepaintsTheGrip)
{
    VisualStylesReplaced styles({FindFake});
    HWND view = CreateConfigView();
    ASSERT_NE(view, nullptr);
    ShowWindow(view, SW_SHOWNORMAL);
    UpdateWindow(view);
    ASSERT_EQ(fake.opened, 1);
    ASSERT_EQ(fake.closed, 0);
    SendMessageA(view, WM_THEMECHANGED, 0, 0);
    EXPECT_EQ(fake.closed, 1);
    EXPECT_EQ(fake.closedTheme, kFakeTheme);
    EXPECT_EQ(fake.opened, 2);
    EXPECT_EQ(fake.openedFor, view);
    EXPECT_EQ(fake.classList, L"status");
    EXPECT_EQ(GetResizer(view)->theme, kFakeTheme);
    RECT dirty{};
    ASSERT_TRUE(GetUpdateRect(view, &dirty, FALSE));
    RECT square = ClientGripSquare(view);
    RECT both{};
    UnionRect(&both, &dirty, &square);
    EXPECT_TRUE(EqualRect(&both, &dirty)) << "the grip square is not to be repainted";
    const int drawnBefore = fake.drawn;
    UpdateWindow(view);
    EXPECT_GT(fake.drawn, drawnBefore);
    DestroyWindow(view);
    EXPECT_EQ(fake.closed, 2);
}

TEST(SizeGripClassic, DrawnAsTheFrameControlWhenTheLibraryOrAFunctionIsMissing)
{
    struct Case {
        const char* name;
        VisualStyleLibrary library;
        bool classic;
    };
    const Case cases[] = {
        {"no library", {FindNothing}, true},
        {"no DrawThemeBackground", {FindFakeWithoutDrawing}, true},
        // The fake gripper draws nothing: this shows the comparison tells the two apart.
        {"fake theme", {FindFake}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VisualStylesReplaced styles(c.library);
        HWND host = CreateHost(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr);
        ASSERT_NE(host, nullptr);
        SetUpConfigViewLayout(host);
        ASSERT_NE(GetResizer(host), nullptr);
        EXPECT_TRUE(GetResizer(host)->rules.empty());
        RECT square = ClientGripSquare(host);
        std::vector<COLORREF> painted = PaintedGrip(host);
        if (c.classic)
            EXPECT_EQ(painted, ClassicGripPixels(square));
        else
            EXPECT_NE(painted, ClassicGripPixels(square));
        DestroyWindow(host);
    }
}

TEST(SizeGripChild, AChildWindowNeverHitTestsPaintsOrInvalidatesAGrip)
{
    VisualStylesReplaced styles({FindFake});
    HWND top = CreateHost(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr);
    HWND child = CreateHost(WS_CHILD | WS_VISIBLE, top);
    ASSERT_NE(child, nullptr);
    SetUpConfigViewLayout(child);
    ASSERT_NE(GetResizer(child), nullptr);
    EXPECT_TRUE(GetResizer(child)->noGrip);

    RECT outer = Outer(child);
    EXPECT_EQ(HitTest(child, outer.right - 2, outer.bottom - 2), HTCLIENT);

    UpdateWindow(top);
    ValidateRect(child, nullptr);
    SetWindowPos(child, nullptr, 0, 0, 260, 150, SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW);
    RECT dirty{};
    EXPECT_FALSE(GetUpdateRect(child, &dirty, FALSE));
    InvalidateRect(child, nullptr, TRUE);
    UpdateWindow(child);
    EXPECT_EQ(fake.drawn, 0);
    DestroyWindow(top);
}

TEST(ResizerDetach, WmDestroyRestoresTheProcedureRemovesThePropertyAndPassesTheMessageOn)
{
    VisualStylesReplaced styles({FindFake});
    HWND host = CreateHost(WS_OVERLAPPEDWINDOW, nullptr);
    ASSERT_NE(host, nullptr);
    SetUpConfigViewLayout(host);
    ASSERT_EQ(GetWindowLongPtrA(host, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(ResizerWindowProc));
    hostDestroyMessages = 0;
    SendMessageA(host, WM_DESTROY, 0, 0);
    EXPECT_EQ(GetWindowLongPtrA(host, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(HostProc));
    EXPECT_EQ(GetPropA(host, kResizerProperty), nullptr);
    EXPECT_EQ(hostDestroyMessages, 1);
    EXPECT_EQ(fake.closed, 1);
    DestroyWindow(host);
}
