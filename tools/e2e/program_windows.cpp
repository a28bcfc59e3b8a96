// Looking up the program's windows by class, thread and caption; reading their texts.
#include "program_windows.h"

#include "bounded_wait.h"
#include "text_lines.h"
#include "utf8_text.h"

namespace {

constexpr char kMainClass[] = "QuillmereClass";
constexpr char kDialogClass[] = "#32770";
constexpr int kMessageBoxTextId = 0xFFFF;

bool HasClass(HWND window, const char* name)
{
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    return lstrcmpiA(className, name) == 0;
}

BOOL CALLBACK CollectDialog(HWND window, LPARAM found)
{
    if (IsWindowVisible(window) && HasClass(window, kDialogClass))
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

}  // namespace

HWND FindMainWindowOf(DWORD processId)
{
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, kMainClass, nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId)
            return window;
    }
    return nullptr;
}

HWND FindAnyMainWindow()
{
    return FindWindowA(kMainClass, nullptr);
}

std::vector<HWND> OpenDialogs(DWORD threadId)
{
    std::vector<HWND> found;
    EnumThreadWindows(threadId, &CollectDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND ActiveDialog(DWORD threadId)
{
    for (const HWND dialog : OpenDialogs(threadId)) {
        if (IsWindowEnabled(dialog))
            return dialog;
    }
    return nullptr;
}

HWND FindDialog(DWORD threadId, const std::string& caption)
{
    for (const HWND dialog : OpenDialogs(threadId)) {
        if (CaptionOf(dialog) == caption)
            return dialog;
    }
    return nullptr;
}

HWND MessageBoxTextControl(HWND box)
{
    return GetDlgItem(box, kMessageBoxTextId);
}

bool IsMessageBox(HWND dialog)
{
    if (MessageBoxTextControl(dialog) == nullptr)
        return false;
    // Other dialogs have labels with that id too, but a message box has nothing else than
    // labels and buttons.
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!HasClass(child, "Static") && !HasClass(child, "Button"))
            return false;
    }
    return true;
}

std::string CaptionOf(HWND window)
{
    char caption[512] = {};
    GetWindowTextA(window, caption, sizeof caption);
    return caption;
}

bool ToScenarioText(std::string& text, std::string& error)
{
    std::string utf8;
    unsigned long code = 0;
    if (!Utf8FromAnsi(text, utf8, code)) {
        error = "can't turn the program's text " + Quoted(text) + " into UTF-8 (error " + std::to_string(code) + ")";
        return false;
    }
    text = utf8;
    return true;
}

bool ReadControlText(HWND control, DWORD boundMs, std::string& text, std::string& error)
{
    LRESULT length = 0;
    if (!SendBounded(control, WM_GETTEXTLENGTH, 0, 0, boundMs, length, error, "WM_GETTEXTLENGTH"))
        return false;
    std::string buffer(static_cast<std::size_t>(length) + 1, '\0');
    LRESULT copied = 0;
    if (!SendBounded(control, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(&buffer[0]), boundMs, copied, error,
                     "WM_GETTEXT"))
        return false;
    buffer.resize(static_cast<std::size_t>(copied));
    text = buffer;
    return ToScenarioText(text, error);
}

std::string DescribeDialog(HWND dialog, DWORD boundMs)
{
    std::string description = "a window " + Quoted(CaptionOf(dialog)) + " is open";
    std::string text;
    std::string ignored;
    if (IsMessageBox(dialog) && ReadControlText(MessageBoxTextControl(dialog), boundMs, text, ignored))
        description += " saying " + Quoted(text);
    return description;
}
