// Finds, reads and closes the modal message boxes of this thread at every tick of the driver.
#include "message_box_watcher.h"

#include "modal_dialogs.h"
#include "resource_ids.h"

namespace {

constexpr int kTicksBeforeForce = 250;  // five seconds of 20 ms ticks

struct Watch {
    std::vector<SeenMessageBox> seen;
    std::vector<HWND> answered;
    std::vector<int> ticksSinceAnswer;
};

std::string TextOf(HWND window)
{
    char buffer[1024] = {};
    GetWindowTextA(window, buffer, static_cast<int>(sizeof buffer));
    return buffer;
}

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
        box->text = TextOf(child);
    return TRUE;
}

std::string LogTextOf(HWND owner)
{
    const HWND log = GetDlgItem(owner, IDC_STATUS_LOG);
    if (log == nullptr)
        return std::string();
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(log)) + 1, '\0');
    GetWindowTextA(log, &text[0], static_cast<int>(text.size()));
    text.resize(text.size() - 1);
    return text;
}

void Visit(Watch& watch, HWND window)
{
    for (std::size_t i = 0; i < watch.answered.size(); ++i) {
        if (watch.answered[i] != window)
            continue;
        if (++watch.ticksSinceAnswer[i] == kTicksBeforeForce) {
            watch.seen[i].forced = true;
            EndDialog(window, IDCANCEL);
        }
        return;
    }
    SeenMessageBox box;
    box.caption = TextOf(window);
    box.owner = GetWindow(window, GW_OWNER);
    EnumChildWindows(window, &ReadBoxChild, reinterpret_cast<LPARAM>(&box));
    box.ownerLogText = LogTextOf(box.owner);
    watch.seen.push_back(box);
    watch.answered.push_back(window);
    watch.ticksSinceAnswer.push_back(0);
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
