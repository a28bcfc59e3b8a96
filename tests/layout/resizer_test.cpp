// The resizer on IDD_MAIN and IDD_CONFIG_VIEW: rules, growth, minimum size, minimize and maximize.
#include "config_view_layout.h"
#include "main_window_layout.h"
#include "resizer.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "dialog_test_support.h"
#include "resource_ids.h"

namespace {

const int kMainControls[] = {
    IDC_ADD,          IDC_REMOVE,          IDC_AVAILABLE_LABEL,   IDC_SELECTED_LABEL,    IDC_DEFAULT_REALM,
    IDC_SERVER_REALM, IDC_CLIENT_REALM,    IDC_TGS_LABEL,         IDC_TKT_LABEL,         IDC_LIBDEFAULTS_GROUP,
    IDC_FORWARDABLE_LABEL, IDC_TGS_ENCTYPES, IDC_TGS_CHOOSE,      IDC_TKT_ENCTYPES,      IDC_TKT_CHOOSE,
    IDC_FORWARDABLE_TRUE,  IDC_FORWARDABLE_FALSE, IDC_FORWARDABLE_NOT_SET, IDC_AVAILABLE_LIST, IDC_SELECTED_LIST,
    IDC_STATUS_LOG,        IDC_CLIENTS_LABEL,     IDC_MIT_CLIENTS,       IDC_HEIMDAL_CLIENTS, IDC_JAVA_CLIENTS,
};

// How far each edge of a main window control moves when the window has grown by
// (dx, dy) since attaching: the layout rules of the main window.
RECT ExpectedMainRect(int id, RECT r, int dx, int dy)
{
    const int half = static_cast<int>(0.5 * dx);  // truncated toward zero
    switch (id) {
    case IDC_AVAILABLE_LIST:
        r.right += half;
        break;
    case IDC_ADD:
    case IDC_REMOVE:
    case IDC_SELECTED_LABEL:
        r.left += half;
        r.right += half;
        break;
    case IDC_SELECTED_LIST:
        r.left += half;
        r.right += dx;
        break;
    case IDC_DEFAULT_REALM:
    case IDC_SERVER_REALM:
    case IDC_CLIENT_REALM:
    case IDC_TGS_CHOOSE:
    case IDC_TKT_CHOOSE:
        r.left += dx;
        r.right += dx;
        break;
    case IDC_LIBDEFAULTS_GROUP:
    case IDC_TGS_ENCTYPES:
    case IDC_TKT_ENCTYPES:
        r.right += dx;
        break;
    case IDC_STATUS_LOG:
        r.right += dx;
        r.bottom += dy;
        break;
    default:  // the labels on the left, the radio buttons, the client family boxes
        break;
    }
    return r;
}

std::string Describe(const RECT& r)
{
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
           std::to_string(r.bottom) + ")";
}

SIZE OuterSize(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

void Resize(HWND window, LONG width, LONG height)
{
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

class MainDialogResizer : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog = CreateMainDialog(SetUpMainDialogLayout);
        ASSERT_NE(dialog, nullptr);
        initialSize = OuterSize(dialog);
        for (int id : kMainControls)
            initial[id] = RectInParent(GetDlgItem(dialog, id));
    }
    void TearDown() override { DestroyWindow(dialog); }

    void GrowBy(LONG dx, LONG dy) { Resize(dialog, initialSize.cx + dx, initialSize.cy + dy); }

    // Every control where the layout rules put it for the window's current size.
    void ExpectBehaviourTable()
    {
        SIZE now = OuterSize(dialog);
        int dx = now.cx - initialSize.cx;
        int dy = now.cy - initialSize.cy;
        for (int id : kMainControls) {
            RECT expected = ExpectedMainRect(id, initial[id], dx, dy);
            RECT actual = RectInParent(GetDlgItem(dialog, id));
            EXPECT_TRUE(EqualRect(&expected, &actual))
                << "control " << id << " grown by " << dx << " x " << dy << ": expected " << Describe(expected)
                << ", got " << Describe(actual);
        }
    }

    void ExpectInitialRects()
    {
        for (int id : kMainControls) {
            RECT actual = RectInParent(GetDlgItem(dialog, id));
            EXPECT_TRUE(EqualRect(&initial[id], &actual))
                << "control " << id << ": expected " << Describe(initial[id]) << ", got " << Describe(actual);
        }
    }

    HWND dialog = nullptr;
    SIZE initialSize{};
    std::map<int, RECT> initial;
};

}  // namespace

TEST_F(MainDialogResizer, AttachSubclassesAndTakesTheOuterSizeAsMinimum)
{
    Resizer* resizer = GetResizer(dialog);
    ASSERT_NE(resizer, nullptr);
    EXPECT_EQ(resizer->window, dialog);
    EXPECT_EQ(GetWindowLongPtrA(dialog, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(ResizerWindowProc));
    EXPECT_EQ(resizer->minWidth, initialSize.cx);
    EXPECT_EQ(resizer->minHeight, initialSize.cy);
    EXPECT_EQ(resizer->splitPercentX, 50);
    EXPECT_EQ(resizer->splitPercentY, 67);
    EXPECT_TRUE(resizer->layoutEnabled);
    EXPECT_FALSE(resizer->noGrip);
}

TEST_F(MainDialogResizer, ExplicitFactorsAreTheMainWindowTable)
{
    struct Row {
        int id;
        double left, right, top, bottom;
    };
    const double A = kAutomaticFactor;
    const Row table[] = {
        {IDC_AVAILABLE_LIST, 0, 0.5, 0, 0},    {IDC_ADD, 0.5, 0.5, A, A},        {IDC_REMOVE, 0.5, 0.5, A, A},
        {IDC_SELECTED_LIST, 0.5, 1, A, A},     {IDC_SELECTED_LABEL, 0.5, 0.5, A, A},
        {IDC_TGS_ENCTYPES, A, A, 0, 0},        {IDC_TKT_ENCTYPES, A, A, 0, 0},   {IDC_LIBDEFAULTS_GROUP, A, A, 0, 0},
        {IDC_TKT_LABEL, A, A, 0, 0},           {IDC_TKT_CHOOSE, A, A, 0, 0},     {IDC_FORWARDABLE_LABEL, A, A, 0, 0},
        {IDC_FORWARDABLE_TRUE, A, A, 0, 0},    {IDC_FORWARDABLE_FALSE, A, A, 0, 0},
        {IDC_FORWARDABLE_NOT_SET, A, A, 0, 0},
        {IDC_CLIENTS_LABEL, 0, 0, 0, 0},       {IDC_MIT_CLIENTS, 0, 0, 0, 0},    {IDC_HEIMDAL_CLIENTS, 0, 0, 0, 0},
        {IDC_JAVA_CLIENTS, 0, 0, 0, 0},
        {IDC_STATUS_LOG, A, A, 0, 1},
    };
    Resizer& resizer = *GetResizer(dialog);
    EXPECT_EQ(resizer.rules.size(), sizeof table / sizeof table[0]);
    for (const Row& row : table) {
        SCOPED_TRACE(row.id);
        const LayoutRule* rule = FindRule(resizer, GetDlgItem(dialog, row.id), false);
        ASSERT_NE(rule, nullptr);
        EXPECT_EQ(rule->left, row.left);
        EXPECT_EQ(rule->right, row.right);
        EXPECT_EQ(rule->top, row.top);
        EXPECT_EQ(rule->bottom, row.bottom);
        EXPECT_TRUE(EqualRect(&rule->initialRect, &initial[row.id]));
    }
    for (int id : {IDC_AVAILABLE_LABEL, IDC_DEFAULT_REALM, IDC_SERVER_REALM, IDC_CLIENT_REALM, IDC_TGS_LABEL,
                   IDC_TGS_CHOOSE})
        EXPECT_EQ(FindRule(resizer, GetDlgItem(dialog, id), false), nullptr) << id;
    EXPECT_EQ(FindRule(resizer, nullptr, true), nullptr);
}

TEST_F(MainDialogResizer, WidthGrowthFollowsTheBehaviourTable)
{
    GrowBy(120, 0);
    ExpectBehaviourTable();
    // A second pass moves on from the first one.
    GrowBy(301, 0);
    ExpectBehaviourTable();
    GrowBy(0, 0);
    ExpectInitialRects();
}

TEST_F(MainDialogResizer, AllExtraHeightGoesToTheLog)
{
    GrowBy(0, 150);
    ExpectBehaviourTable();
    GrowBy(0, 40);
    ExpectBehaviourTable();
}

TEST_F(MainDialogResizer, GrowingToOneAndAHalfTimesTheSize)
{
    GrowBy(initialSize.cx / 2, initialSize.cy / 2);
    ExpectBehaviourTable();
}

TEST_F(MainDialogResizer, ProportionalEdgesTruncateTowardZero)
{
    GrowBy(11, 0);
    auto moved = [this](int id) {
        RECT now = RectInParent(GetDlgItem(dialog, id));
        return std::make_pair(now.left - initial[id].left, now.right - initial[id].right);
    };
    EXPECT_EQ(moved(IDC_AVAILABLE_LIST), std::make_pair(0L, 5L));
    EXPECT_EQ(moved(IDC_ADD), std::make_pair(5L, 5L));
    EXPECT_EQ(moved(IDC_SELECTED_LIST), std::make_pair(5L, 11L));
}

TEST_F(MainDialogResizer, TheMinimumTrackSizeIsTheSizeAtAttachInBothDirections)
{
    GrowBy(100, 80);
    MINMAXINFO info{};
    info.ptMaxTrackSize = POINT{1234, 987};
    EXPECT_EQ(SendMessageA(dialog, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info)), 0);
    EXPECT_EQ(info.ptMinTrackSize.x, initialSize.cx);
    EXPECT_EQ(info.ptMinTrackSize.y, initialSize.cy);
    // Answered without the previous procedure, which would have filled in its own maximum.
    EXPECT_EQ(info.ptMaxTrackSize.x, 1234);
    EXPECT_EQ(info.ptMaxTrackSize.y, 987);

    // A window with a sizing border is held to the minimum by the system on every resize.
    Resize(dialog, initialSize.cx - 60, initialSize.cy + 10);
    EXPECT_EQ(OuterSize(dialog).cx, initialSize.cx);
    Resize(dialog, initialSize.cx + 10, initialSize.cy - 60);
    EXPECT_EQ(OuterSize(dialog).cy, initialSize.cy);
    ExpectBehaviourTable();
}

TEST_F(MainDialogResizer, MinimizingAndRestoringMovesNothing)
{
    ShowWindow(dialog, SW_SHOWNORMAL);
    GrowBy(60, 30);
    ExpectBehaviourTable();
    std::map<int, RECT> placed;
    for (int id : kMainControls)
        placed[id] = RectInParent(GetDlgItem(dialog, id));
    const Resizer before = *GetResizer(dialog);

    ShowWindow(dialog, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(dialog));
    for (int id : kMainControls) {
        RECT now = RectInParent(GetDlgItem(dialog, id));
        EXPECT_TRUE(EqualRect(&now, &placed[id])) << "minimized, control " << id << " at " << Describe(now);
    }
    ShowWindow(dialog, SW_RESTORE);
    ASSERT_FALSE(IsIconic(dialog));
    for (int id : kMainControls) {
        RECT now = RectInParent(GetDlgItem(dialog, id));
        EXPECT_TRUE(EqualRect(&now, &placed[id])) << "restored, control " << id << " at " << Describe(now);
    }
    EXPECT_EQ(GetResizer(dialog)->lastWidth, before.lastWidth);
    EXPECT_EQ(GetResizer(dialog)->lastHeight, before.lastHeight);
}

TEST_F(MainDialogResizer, MaximizingLaysOutForTheMaximizedSizeAndRestoringGoesBack)
{
    ShowWindow(dialog, SW_SHOWNORMAL);
    ShowWindow(dialog, SW_MAXIMIZE);
    ASSERT_TRUE(IsZoomed(dialog));
    SIZE maximized = OuterSize(dialog);
    ASSERT_GT(maximized.cx, initialSize.cx);
    EXPECT_EQ(GetResizer(dialog)->lastWidth, maximized.cx);
    ExpectBehaviourTable();
    ShowWindow(dialog, SW_RESTORE);
    EXPECT_EQ(OuterSize(dialog).cx, initialSize.cx);
    ExpectInitialRects();
}

TEST_F(MainDialogResizer, WindowsInsideControlsAreLeftToTheirParent)
{
    HWND group = GetDlgItem(dialog, IDC_LIBDEFAULTS_GROUP);
    HWND inner = CreateWindowExA(0, "Static", "x", WS_CHILD | WS_VISIBLE, 300, 5, 40, 10, group, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(inner, nullptr);
    GrowBy(200, 100);
    RECT r = RectInParent(inner);
    EXPECT_EQ(r.left, 300);
    EXPECT_EQ(r.top, 5);
    EXPECT_EQ(r.right, 340);
    EXPECT_EQ(r.bottom, 15);
}

TEST_F(MainDialogResizer, StaticsAreRedrawnWithoutEraseAfterEveryPass)
{
    ShowWindow(dialog, SW_SHOWNORMAL);
    UpdateWindow(dialog);
    HWND label = GetDlgItem(dialog, IDC_AVAILABLE_LABEL);
    HWND radio = GetDlgItem(dialog, IDC_FORWARDABLE_TRUE);
    ValidateRect(label, nullptr);
    ValidateRect(radio, nullptr);
    SetWindowPos(dialog, nullptr, 0, 0, initialSize.cx + 40, initialSize.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW);
    // Neither moves; only the static is invalidated by the pass.
    RECT dirty{};
    EXPECT_TRUE(GetUpdateRect(label, &dirty, FALSE));
    EXPECT_FALSE(GetUpdateRect(radio, &dirty, FALSE));
}

namespace {

INT_PTR CALLBACK ConfigViewTestProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message == WM_INITDIALOG) {
        SetUpConfigViewLayout(dialog);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

TEST(ConfigViewResizer, TheTextFollowsTheRightAndBottomEdges)
{
    HWND view = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_CONFIG_VIEW), nullptr,
                                   ConfigViewTestProc, 0);
    ASSERT_NE(view, nullptr);
    HWND text = GetDlgItem(view, IDC_CONFIG_TEXT);
    RECT before = RectInParent(text);
    SIZE size = OuterSize(view);
    ASSERT_EQ(GetResizer(view)->rules.size(), 1u);

    Resize(view, size.cx + 30, size.cy + 20);
    RECT after = RectInParent(text);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.right, before.right + 30);
    EXPECT_EQ(after.bottom, before.bottom + 20);

    ShowWindow(view, SW_SHOWNORMAL);
    ShowWindow(view, SW_MAXIMIZE);
    SIZE maximized = OuterSize(view);
    after = RectInParent(text);
    EXPECT_EQ(after.right, before.right + (maximized.cx - size.cx));
    EXPECT_EQ(after.bottom, before.bottom + (maximized.cy - size.cy));
    DestroyWindow(view);
}
