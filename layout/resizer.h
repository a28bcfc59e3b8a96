// The dialog resizer: keeps a dialog's children in place as the dialog is resized.
#ifndef QUILLMERE_RESIZER_H
#define QUILLMERE_RESIZER_H

#include <windows.h>
#include <uxtheme.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "layout_geometry.h"

using OpenThemeDataFn = HTHEME(WINAPI*)(HWND window, LPCWSTR classList);
using DrawThemeBackgroundFn = HRESULT(WINAPI*)(HTHEME theme, HDC dc, int part, int state, const RECT* rect,
                                               const RECT* clip);
using CloseThemeDataFn = HRESULT(WINAPI*)(HTHEME theme);

// Explicit factors of one control (see EdgeFactors), created all automatic.
struct LayoutRule {
    double left;
    double right;
    double top;
    double bottom;
    RECT initialRect;  // client coordinates when the rule was created
    HWND control;
};

struct DistributionEntry {
    HWND control;
    std::int32_t stretch;  // non-zero: takes a share of the growth; zero: only moves
};

struct Resizer {
    WNDPROC previousProc = nullptr;
    HWND window = nullptr;
    // Outer sizes: at attach (the minimum), of the current placement, and of the latest WM_SIZE.
    std::int32_t minWidth = 0;
    std::int32_t minHeight = 0;
    std::int32_t lastWidth = 0;
    std::int32_t lastHeight = 0;
    std::int32_t newWidth = 0;
    std::int32_t newHeight = 0;
    HDWP deferHandle = nullptr;  // only during a pass
    std::int32_t splitPercentX = 50;
    std::int32_t splitPercentY = 67;
    bool noGrip = false;  // a WS_CHILD dialog has no size grip
    bool layoutEnabled = true;
    OpenThemeDataFn openThemeData = nullptr;
    DrawThemeBackgroundFn drawThemeBackground = nullptr;
    CloseThemeDataFn closeThemeData = nullptr;
    HTHEME theme = nullptr;
    std::vector<LayoutRule> rules;  // creation order; at most a few dozen, searched linearly
};

// The window property that holds a dialog's Resizer.
extern const char kResizerProperty[];

// Subclasses `dialog` and takes its current outer size as the minimum. The
// resizer must come from new: the dialog deletes it at WM_DESTROY. False, with the
// dialog left as it was and the resizer still the caller's, when the window property
// can't be set.
bool Attach(Resizer& resizer, HWND dialog);

// A new Resizer attached to the dialog, which then owns it; null, with the dialog left fixed, for
// a null dialog or without memory. Call it at WM_INITDIALOG, before the dialog is first shown.
Resizer* AttachNewResizer(HWND dialog);

// The control's rule, appended when missing and `create` is set; null for a null
// control. Growing the table may move it: hold no rule across another creation.
// Throws std::bad_alloc when the table cannot grow.
LayoutRule* FindRule(Resizer& resizer, HWND control, bool create);

// Entries in visual order; entries without a control are skipped.
void DistributeWidth(Resizer& resizer, const DistributionEntry* entries, std::size_t count);
void DistributeHeight(Resizer& resizer, const DistributionEntry* entries, std::size_t count);

// The targets move with the source's left edge and keep their width.
void FollowLeftEdge(Resizer& resizer, HWND source, const HWND* targets, std::size_t count);

Resizer* GetResizer(HWND window);

LRESULT CALLBACK ResizerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
