// Finds, reads and closes the modal message boxes of this thread at every tick of the driver.
#include "message_box_watcher.h"

#include "modal_dialogs.h"
#include "resource_ids.h"

namespace {

// How long a box may stay up after OK was pressed before it is ended by force.
constexpr ULONGLONG kForceAfterMs = 5000;

struct Watch {
    std::vector<SeenMessageBox> seen;
    std::vector<HWND> answered;
    std::vector<ULONGLONG> answeredAt;
};

BoxIcon IconOf(HICON icon)
{
    if (icon == nullptr)
        return BoxIcon::None;
    if (icon == LoadIconA(nullptr, IDI_WARNING))
        return BoxIcon::Warning;
    if (icon == LoadIconA(nullptr, IDI_ERROR))
        return BoxIcon::Error;
    if (icon == LoadIconA(nullptr, IDI_INFORMATION))
        return BoxIcon::Information;
    if (icon == LoadIconA(nullptr, IDI_QUESTION))
        return BoxIcon::Question;
    return BoxIcon::Other;
}

BOOL CALLBACK ReadBoxChild(HWND child, LPARAM lParam)
{
    auto* box = reinterpret_cast<SeenMessageBox*>(lParam);
    char className[64] = {};
    GetClassNameA(child, className, static_cast<int>(sizeof className));
    if (lstrcmpiA(className, "Static") != 0)
        return TRUE;
    if ((GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
        box->icon = IconOf(reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0)));
    else if (box->text.empty())
        box->text = WindowText(child);
    return TRUE;
}

std::string LogTextOf(HWND owner)
{
    const HWND log = GetDlgItem(owner, IDC_STATUS_LOG);
    return log != nullptr ? WindowText(log) : std::string();
}

void Visit(Watch& watch, HWND window)
{
    for (std::size_t i = 0; i < watch.answered.size(); ++i) {
        if (watch.answered[i] != window)
            continue;
        if (!watch.seen[i].forced && GetTickCount64() - watch.answeredAt[i] >= kForceAfterMs) {
            watch.seen[i].forced = true;
            EndDialog(window, IDCANCEL);
        }
        return;
    }
    SeenMessageBox box;
    box.caption = WindowText(window);
    box.owner = GetWindow(window, GW_OWNER);
    EnumChildWindows(window, &ReadBoxChild, reinterpret_cast<LPARAM>(&box));
    box.ownerLogText = LogTextOf(box.owner);
    watch.seen.push_back(box);
    watch.answered.push_back(window);
    watch.answeredAt.push_back(GetTickCount64());
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

}  // namespace

std::vector<SeenMessageBox> AnswerMessageBoxes(const std::function<void()>& action)
{
    Watch watch;
    RunWithTicks(action, [&watch]() {
        for (HWND window : ShownDialogs())
            Visit(watch, window);
    });
    return watch.seen;
}
