// Steps on the program's modal windows: the chooser, the configuration view, Save As, message boxes.
#include "steps.h"

#include "bounded_wait.h"
#include "program_windows.h"
#include "text_lines.h"

#include "resource_ids.h"

#include <commctrl.h>
#include <dlgs.h>

#include <algorithm>
#include <cstdio>
#include <set>

namespace {

const char kChooserCaption[] = "Encryption Types";
const char kViewCaption[] = "Kerberos Configuration";
const char kSaveAsCaption[] = "Save Configuration";
constexpr UINT kUnticked = 1;  // state image indexes of a check-box list view
constexpr UINT kTicked = 2;

// Opens a modal window by posting the command, as a menu or a button click delivers it, so that
// the driver is never held up by the window's own message loop.
bool OpenByCommand(DriverSession& session, int command, const char* caption, HWND& dialog, std::string& error)
{
    if (!WaitUntilReady(session, error))
        return false;
    const double posted = NowMs();
    PostMessageA(session.target.mainWindow, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(session.target.mainWindow, command)));
    if (!WaitForDialog(session, caption, dialog, error))
        return false;
    session.measuredMs = NowMs() - posted;
    session.measuredWhat = std::string("until ") + Quoted(caption) + " was shown";
    return true;
}

bool OpenChooserList(DriverSession& session, RemoteList& list, std::vector<std::string>& names, std::string& error)
{
    HWND dialog = nullptr;
    if (!WaitForDialog(session, kChooserCaption, dialog, error))
        return false;
    list = RemoteList{session.target.process, GetDlgItem(dialog, IDC_ENCTYPE_LIST), session.boundMs};
    return ReadItemTexts(list, names, error);
}

bool ExpandArguments(const DriverSession& session, const ScenarioStep& step, std::vector<std::string>& values,
                     std::string& error)
{
    values.clear();
    for (const std::string& arg : step.args) {
        std::string value;
        if (!ExpandArgument(session, arg, value, error))
            return false;
        values.push_back(value);
    }
    return true;
}

bool PressInActiveDialog(DriverSession& session, int id, const char* what, std::string& error)
{
    if (!RequireRunningProgram(session, error))
        return false;
    const HWND dialog = ActiveDialog(session.target.threadId);
    if (dialog == nullptr) {
        error = "no dialog is open";
        return false;
    }
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    return WaitUntilClosed(session, dialog, std::string("after ") + what + ", " + Quoted(CaptionOf(dialog)), error);
}

BOOL CALLBACK KeepFirstEdit(HWND child, LPARAM found)
{
    char className[16] = {};
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Edit") != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
}

// The file name field of the Save As dialog: an edit of its own (older templates), or the edit
// somewhere inside the file name combo box (inside a ComboBoxEx32 in Wine's).
HWND FileNameField(HWND dialog)
{
    const HWND edit = GetDlgItem(dialog, edt1);
    if (edit != nullptr)
        return edit;
    const HWND combo = GetDlgItem(dialog, cmb13);
    HWND found = nullptr;
    if (combo != nullptr)
        EnumChildWindows(combo, &KeepFirstEdit, reinterpret_cast<LPARAM>(&found));
    return found;
}

struct ButtonName {
    const char* name;
    int id;
};

const ButtonName kBoxButtons[] = {{"ok", IDOK}, {"cancel", IDCANCEL}, {"yes", IDYES}, {"no", IDNO},
                                  {"retry", IDRETRY}, {"abort", IDABORT}, {"ignore", IDIGNORE}};

}  // namespace

bool StepChoose(DriverSession& session, const ScenarioStep& step, std::string& error)
{
    if (!RequireArgumentCount(step, 1, 1, error))
        return false;
    int command = 0;
    if (step.args[0] == "tgs") {
        command = IDC_TGS_CHOOSE;
    } else if (step.args[0] == "tkt") {
        command = IDC_TKT_CHOOSE;
    } else {
        error = Quoted(step.args[0]) + " is neither tgs nor tkt";
        return false;
    }
    HWND dialog = nullptr;
    return OpenByCommand(session, command, kChooserCaption, dialog, error);
}

bool StepExpectTicked(DriverSession& session, const ScenarioStep& step, std::string& error)
{
    RemoteList list{};
    std::vector<std::string> names;
    std::vector<std::string> expected;
    if (!ExpandArguments(session, step, expected, error) || !OpenChooserList(session, list, names, error))
        return false;
    std::vector<std::string> ticked;
    for (std::size_t i = 0; i < names.size(); ++i) {
        UINT state = 0;
        if (!ReadItemState(list, static_cast<int>(i), LVIS_STATEIMAGEMASK, state, error))
            return false;
        if ((state >> 12) == kTicked)
            ticked.push_back(names[i]);
    }
    error = DescribeLineDifference(expected, ticked);
    if (!error.empty())
        error = "the ticked types differ: " + error;
    return error.empty();
}

bool StepTick(DriverSession& session, const ScenarioStep& step, std::string& error)
{
    RemoteList list{};
    std::vector<std::string> names;
    std::vector<std::string> wanted;
    if (!ExpandArguments(session, step, wanted, error) || !OpenChooserList(session, list, names, error))
        return false;
    const std::set<std::string> present(names.begin(), names.end());
    for (const std::string& name : wanted) {
        if (present.count(name) == 0) {
            error = "the chooser lists no type " + Quoted(name);
            return false;
        }
    }
    const std::set<std::string> tick(wanted.begin(), wanted.end());
    for (std::size_t i = 0; i < names.size(); ++i) {
        const UINT image = tick.count(names[i]) != 0 ? kTicked : kUnticked;
        if (!WriteItemState(list, static_cast<int>(i), INDEXTOSTATEIMAGEMASK(image), LVIS_STATEIMAGEMASK, error))
            return false;
    }
    return true;
}

bool StepOk(DriverSession& session, const ScenarioStep& step, std::string& error)
{
    return RequireArgumentCount(step, 0, 0, error) && PressInActiveDialog(session, IDOK, "OK", error);
}

bool StepCancel(DriverSession& session, const ScenarioStep& step, std::string& error)
{
    return RequireArgumentCount(step, 0, 0, error) && PressInActiveDialog(session, IDCANCEL, "Cancel", error);
}

bool StepView(DriverSession& session, const ScenarioStep& step, std::string& error)
{
    HWND dialog = nullptr;
    return RequireArgumentCount(step, 0, 0, error) && OpenByCommand(session, IDM_FILE_VIEW, kViewCaption, dialog, error);
}

// File > View without waiting for the view, which may not open: a message box can come instead.
bool StepPostView(DriverSession& session, const ScenarioStep& step, std::string& error)
{
    if (!RequireArgumentCount(step, 0, 0, error) || !WaitUntilReady(session, error))
        return false;
    PostMessageA(session.target.mainWindow, WM_COMMAND, MAKEWPARAM(IDM_FILE_VIEW, 0), 0);
    return true;
}

bool StepExpectConfig(DriverSession& session, const ScenarioStep& step, std::string& error)
{
    HWND dialog = nullptr;
    std::vector<std::string> expected;
    std::vector<std::string> lines;
    std::string text;
    if (!RequireArgumentCount(step, 0, 0, error) || !RequireBlock(step, error) ||
        !ExpandBlock(session, step, expected, error) || !WaitForDialog(session, kViewCaption, dialog, error) ||
        !ReadControlText(GetDlgItem(dialog, IDC_CONFIG_TEXT), session.boundMs, text, error))
        return false;
    if (!SplitCrLfLines(text, lines, error)) {
        error = "the configuration text is not CR LF lines: " + error;
        return false;
    }
    error = DescribeLineDifference(expected, lines);
    return error.empty();
}

// Prints the size of the open view's text, for measurements.
bool StepConfigSize(DriverSession& session, const ScenarioStep& step, std::string& error)
{
    HWND dialog = nullptr;
    std::string text;
    if (!RequireArgumentCount(step, 0, 0, error) || !WaitForDialog(session, kViewCaption, dialog, error) ||
        !ReadControlText(GetDlgItem(dialog, IDC_CONFIG_TEXT), session.boundMs, text, error))
        return false;
    std::printf("  config: %zu bytes, %zu lines\n", text.size(),
                static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')));
    return true;
}

bool StepEscape(DriverSession& session, const ScenarioStep& step, std::string& error)
{
    if (!RequireArgumentCount(step, 0, 0, error) || !RequireRunningProgram(session, error))
        return false;
    const HWND dialog = ActiveDialog(session.target.threadId);
    if (dialog == nullptr) {
        error = "no dialog is open";
        return false;
    }
    // The key goes where the keyboard focus is, through the dialog's own message loop.
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    HWND focus = dialog;
    if (GetGUIThreadInfo(session.target.threadId, &info) && info.hwndFocus != nullptr &&
        (info.hwndFocus == dialog || IsChild(dialog, info.hwndFocus)))
        focus = info.hwndFocus;
    const LPARAM scanCode = static_cast<LPARAM>(MapVirtualKeyA(VK_ESCAPE, MAPVK_VK_TO_VSC)) << 16;
    PostMessageA(focus, WM_KEYDOWN, VK_ESCAPE, scanCode | 1);
    PostMessageA(focus, WM_KEYUP, VK_ESCAPE, scanCode | 1 | static_cast<LPARAM>(0xC0000000u));
    return WaitUntilClosed(session, dialog, "after Escape, " + Quoted(CaptionOf(dialog)), error);
}

bool StepSave(DriverSession& session, const ScenarioStep& step, std::string& error)
{
    HWND dialog = nullptr;
    return RequireArgumentCount(step, 0, 0, error) && OpenByCommand(session, IDM_FILE_SAVE, kSaveAsCaption, dialog, error);
}

bool StepSaveAs(DriverSession& session, const ScenarioStep& step, std::string& error)
{
    std::string name;
    HWND dialog = nullptr;
    if (!RequireArgumentCount(step, 1, 1, error) || !ExpandArgument(session, step.args[0], name, error) ||
        !WaitForDialog(session, kSaveAsCaption, dialog, error))
        return false;
    const HWND field = FileNameField(dialog);
    if (field == nullptr) {
        error = "the Save As dialog has no file name field";
        return false;
    }
    const std::string path = session.scratchFolder + "\\" + name;
    LRESULT ignored = 0;
    if (!SendBounded(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()), session.boundMs, ignored, error,
                     "WM_SETTEXT"))
        return false;
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    // The dialog closes, or asks first (a file that exists) in a message box of its own.
    const DWORD threadId = session.target.threadId;
    if (WaitUntil(
            [&] {
                const HWND active = ActiveDialog(threadId);
                return !IsWindowVisible(dialog) || (active != nullptr && IsMessageBox(active));
            },
            session.boundMs))
        return true;
    error = "the Save As dialog neither closed nor asked within " + std::to_string(session.boundMs) + " ms";
    return false;
}

bool StepBox(DriverSession& session, const ScenarioStep& step, std::string& error)
{
    std::vector<std::string> args;
    if (!RequireArgumentCount(step, 3, 3, error) || !ExpandArguments(session, step, args, error) ||
        !RequireRunningProgram(session, error))
        return false;
    int button = 0;
    for (const ButtonName& entry : kBoxButtons) {
        if (args[2] == entry.name)
            button = entry.id;
    }
    if (button == 0) {
        error = Quoted(args[2]) + " is no message box button (ok, cancel, yes, no, retry, abort, ignore)";
        return false;
    }
    HWND box = nullptr;
    const DWORD threadId = session.target.threadId;
    if (!WaitUntil(
            [&] {
                box = ActiveDialog(threadId);
                return box != nullptr && IsMessageBox(box);
            },
            session.boundMs)) {
        error = "no message box opened within " + std::to_string(session.boundMs) + " ms";
        return false;
    }
    std::string text;
    if (!ReadControlText(MessageBoxTextControl(box), session.boundMs, text, error))
        return false;
    const std::string caption = CaptionOf(box);
    if (!MatchesPattern(args[0], text) || !MatchesPattern(args[1], caption)) {
        error = "the message box says " + Quoted(text) + " with the caption " + Quoted(caption) + ", not " +
                Quoted(args[0]) + " with " + Quoted(args[1]);
        return false;
    }
    if (GetDlgItem(box, button) == nullptr) {
        error = "the message box " + Quoted(text) + " has no " + args[2] + " button";
        return false;
    }
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
    return WaitUntilClosed(session, box, "the message box " + Quoted(text), error);
}
