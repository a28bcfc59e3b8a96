// One layout pass: every direct child placed in a single deferred batch.
#include "layout_pass.h"

#include "control_kinds.h"
#include "edge_placement.h"
#include "size_grip.h"

namespace {

// The main dialog has 20 controls.
constexpr int kReservedWindows = 20;

LayoutRect ToLayoutRect(const RECT& r)
{
    return LayoutRect{static_cast<std::int32_t>(r.left), static_cast<std::int32_t>(r.top),
                      static_cast<std::int32_t>(r.right), static_cast<std::int32_t>(r.bottom)};
}


BOOL CALLBACK PlaceChild(HWND child, LPARAM param)
{
    Resizer& resizer = *reinterpret_cast<Resizer*>(param);
    // Windows inside controls are their parent's business.
    if (GetParent(child) != resizer.window || resizer.deferHandle == nullptr)
        return TRUE;
    RECT current{};
    GetWindowRect(child, &current);
    MapWindowPoints(nullptr, resizer.window, reinterpret_cast<POINT*>(&current), 2);

    // Longer than any class name Windows registers.
    char className[MAX_PATH] = {};
    GetClassNameA(child, className, MAX_PATH);
    auto style = static_cast<std::uint32_t>(GetWindowLongA(child, GWL_STYLE));
    if (IsStaticControl(className))
        InvalidateRect(child, nullptr, FALSE);

    ChildPlacement placement{ToLayoutRect(current), IsFixedSizeControl(className, style), false,
                             EdgeFactors{kAutomaticFactor, kAutomaticFactor, kAutomaticFactor, kAutomaticFactor},
                             LayoutRect{0, 0, 0, 0}};
    if (const LayoutRule* rule = FindRule(resizer, child, false)) {
        placement.hasRule = true;
        placement.rule = EdgeFactors{rule->left, rule->right, rule->top, rule->bottom};
        placement.initialRect = ToLayoutRect(rule->initialRect);
    }
    LayoutRect next = PlaceChildRect(placement, AxisSizes{resizer.minWidth, resizer.lastWidth, resizer.newWidth},
                                     AxisSizes{resizer.minHeight, resizer.lastHeight, resizer.newHeight},
                                     resizer.splitPercentX, resizer.splitPercentY);
    resizer.deferHandle = DeferWindowPos(resizer.deferHandle, child, nullptr, next.left, next.top,
                                         next.right - next.left, next.bottom - next.top, SWP_NOZORDER);
    return TRUE;
}

}  // namespace

void Layout(Resizer& resizer)
{
    if (resizer.newWidth == resizer.lastWidth && resizer.newHeight == resizer.lastHeight)
        return;
    resizer.deferHandle = BeginDeferWindowPos(kReservedWindows);
    if (resizer.deferHandle == nullptr)
        return;
    EnumChildWindows(resizer.window, PlaceChild, reinterpret_cast<LPARAM>(&resizer));
    // A failed DeferWindowPos drops the whole batch: nothing moved, so the
    // placement still matches the last sizes and the next WM_SIZE starts over.
    if (resizer.deferHandle == nullptr)
        return;
    EndDeferWindowPos(resizer.deferHandle);
    resizer.deferHandle = nullptr;
    if (!resizer.noGrip)
        InvalidateGrip(resizer);
    resizer.lastWidth = resizer.newWidth;
    resizer.lastHeight = resizer.newHeight;
}
