// The resizer record: attaching, rules, distribution, and its window procedure.
#include "resizer.h"

#include "distribution_factors.h"
#include "layout_geometry.h"
#include "layout_pass.h"
#include "size_grip.h"

#include <new>

const char kResizerProperty[] = "ResizerClass";

namespace {

enum class Axis { Width, Height };

void Distribute(Resizer& resizer, const DistributionEntry* entries, std::size_t count, Axis axis)
{
    std::vector<DistributionItem> items;
    std::vector<HWND> controls;
    for (std::size_t i = 0; i < count; ++i) {
        if (entries[i].control == nullptr)
            continue;
        RECT r{};
        GetWindowRect(entries[i].control, &r);
        auto extent = static_cast<std::int32_t>(axis == Axis::Width ? r.right - r.left : r.bottom - r.top);
        items.push_back(DistributionItem{entries[i].stretch != 0, extent});
        controls.push_back(entries[i].control);
    }
    std::vector<EdgeSpan> spans = DistributionFactors(items);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        LayoutRule* rule = FindRule(resizer, controls[i], true);
        if (axis == Axis::Width) {
            rule->left = spans[i].nearEdge;
            rule->right = spans[i].farEdge;
        } else {
            rule->top = spans[i].nearEdge;
            rule->bottom = spans[i].farEdge;
        }
    }
}

bool TakeOuterSize(HWND window, std::int32_t& width, std::int32_t& height)
{
    RECT outer{};
    if (!GetWindowRect(window, &outer))
        return false;
    width = static_cast<std::int32_t>(outer.right - outer.left);
    height = static_cast<std::int32_t>(outer.bottom - outer.top);
    return true;
}

// A restore from minimized arrives with the size of the last pass and so moves nothing.
void OnSize(Resizer& resizer, WPARAM kind)
{
    if (!resizer.layoutEnabled || (kind != SIZE_RESTORED && kind != SIZE_MAXIMIZED))
        return;
    if (TakeOuterSize(resizer.window, resizer.newWidth, resizer.newHeight))
        Layout(resizer);
}

LRESULT Detach(Resizer* resizer, HWND window, WPARAM wParam, LPARAM lParam)
{
    WNDPROC previous = resizer->previousProc;
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    RemovePropA(window, kResizerProperty);
    ReleaseGripTheme(*resizer);
    delete resizer;
    return CallWindowProcA(previous, window, WM_DESTROY, wParam, lParam);
}

}  // namespace

bool Attach(Resizer& resizer, HWND dialog)
{
    resizer.window = dialog;
    // Without the property the subclass could not find its resizer: leave the dialog as it is.
    if (!SetPropA(dialog, kResizerProperty, &resizer))
        return false;
    resizer.previousProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(dialog, GWLP_WNDPROC));
    SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ResizerWindowProc));
    SetUpGripTheme(resizer);
    TakeOuterSize(dialog, resizer.minWidth, resizer.minHeight);
    resizer.lastWidth = resizer.newWidth = resizer.minWidth;
    resizer.lastHeight = resizer.newHeight = resizer.minHeight;
    resizer.noGrip = (static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE)) & WS_CHILD) != 0;
    return true;
}

Resizer* AttachNewResizer(HWND dialog)
{
    if (dialog == nullptr)
        return nullptr;
    auto* resizer = new (std::nothrow) Resizer{};
    if (resizer != nullptr && !Attach(*resizer, dialog)) {
        delete resizer;
        return nullptr;
    }
    return resizer;
}

LayoutRule* FindRule(Resizer& resizer, HWND control, bool create)
{
    if (control == nullptr)
        return nullptr;
    for (LayoutRule& rule : resizer.rules) {
        if (rule.control == control)
            return &rule;
    }
    if (!create)
        return nullptr;
    RECT initial{};
    GetWindowRect(control, &initial);
    MapWindowPoints(nullptr, resizer.window, reinterpret_cast<POINT*>(&initial), 2);
    resizer.rules.push_back(
        LayoutRule{kAutomaticFactor, kAutomaticFactor, kAutomaticFactor, kAutomaticFactor, initial, control});
    return &resizer.rules.back();
}

void DistributeWidth(Resizer& resizer, const DistributionEntry* entries, std::size_t count)
{
    Distribute(resizer, entries, count, Axis::Width);
}

void DistributeHeight(Resizer& resizer, const DistributionEntry* entries, std::size_t count)
{
    Distribute(resizer, entries, count, Axis::Height);
}

void FollowLeftEdge(Resizer& resizer, HWND source, const HWND* targets, std::size_t count)
{
    const LayoutRule* rule = FindRule(resizer, source, false);
    if (rule == nullptr)
        return;
    double factor = rule->left;
    for (std::size_t i = 0; i < count; ++i) {
        LayoutRule* target = FindRule(resizer, targets[i], true);
        if (target == nullptr)
            continue;
        target->left = factor;
        target->right = factor;
    }
}

Resizer* GetResizer(HWND window)
{
    return static_cast<Resizer*>(GetPropA(window, kResizerProperty));
}

LRESULT CALLBACK ResizerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Resizer* resizer = GetResizer(window);
    // Only reachable if someone removed the property: the previous procedure is lost with it.
    if (resizer == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case WM_SIZE:
        OnSize(*resizer, wParam);
        break;
    case WM_GETMINMAXINFO:
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = POINT{resizer->minWidth, resizer->minHeight};
        return 0;
    case WM_PAINT:
        return PaintGrip(*resizer, wParam, lParam);
    case WM_NCHITTEST:
        return HitTestGrip(*resizer, wParam, lParam);
    case WM_THEMECHANGED:
        RenewGripTheme(*resizer);
        break;
    case WM_DESTROY:
        return Detach(resizer, window, wParam, lParam);
    default:
        break;
    }
    return CallWindowProcA(resizer->previousProc, window, message, wParam, lParam);
}
