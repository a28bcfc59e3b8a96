// Steps on the main window: the realm lists, the panel buttons, the radio buttons, the edits, the log.
#include "steps.h"

#include "bounded_wait.h"
#include "program_windows.h"
#include "text_lines.h"

#include "resource_ids.h"

#include <commctrl.h>

#include <cstdlib>

namespace {

constexpr std::size_t kFlagPrefixLength = 4;  // "--- " before each Selected name

struct NamedId {
    const char* name;
    int id;
};

const NamedId kLists[] = {{"available", IDC_AVAILABLE_LIST}, {"selected", IDC_SELECTED_LIST}};
const NamedId kButtons[] = {{"add", IDC_ADD},         {"remove", IDC_REMOVE}, {"default", IDC_DEFAULT_REALM},
                            {"server", IDC_SERVER_REALM}, {"client", IDC_CLIENT_REALM}};
const NamedId kRadios[] = {
    {"true", IDC_FORWARDABLE_TRUE}, {"false", IDC_FORWARDABLE_FALSE}, {"not-set", IDC_FORWARDABLE_NOT_SET}};
const NamedId kEdits[] = {{"tgs", IDC_TGS_ENCTYPES}, {"tkt", IDC_TKT_ENCTYPES}};

template <std::size_t N>
bool FindId(const NamedId (&table)[N], const std::string& name, int& id, std::string& error)
{
    std::string known;
    for (const NamedId& entry : table) {
        if (name == entry.name) {
            id = entry.id;
            return true;
        }
        known += std::string(known.empty() ? "" : ", ") + entry.name;
    }
    error = Quoted(name) + " is none of " + known;
    return false;
}

bool CompareListWithBlock(DriverSession& session, const ScenarioStep& step, int listId, std::string& error)
{
    std::vector<std::string> expected;
    std::vector<std::string> texts;
    if (!RequireArgumentCount(step, 0, 0, error) || !RequireBlock(step, error) ||
        !ExpandBlock(session, step, expected, error) || !WaitUntilReady(session, error) ||
        !ReadItemTexts(MainList(session, listId), texts, error))
        return false;
    error = DescribeLineDifference(expected, texts);
    return error.empty();
}

bool IsChecked(const DriverSession& session, int id, bool& checked, std::string& error)
{
    LRESULT state = 0;
    if (!SendBounded(GetDlgItem(session.target.mainWindow, id), BM_GETCHECK, 0, 0, session.boundMs, state, error,
                     "BM_GETCHECK"))
        return false;
    checked = state == BST_CHECKED;
    return true;
}

bool WaitForCommand(DriverSession& session, const std::string& what, std::string& error)
{
    const double sent = NowMs();
    const DWORD threadId = session.target.threadId;
    if (!WaitUntil([&] { return session.commandHandled || ActiveDialog(threadId) != nullptr; }, session.boundMs)) {
        error = what + " did not return within " + std::to_string(session.boundMs) + " ms";
        return false;
    }
    session.measuredMs = NowMs() - sent;
    session.measuredWhat = session.commandHandled ? "until the program had handled it" : "until a window opened";
    return true;
}

}  // namespace

bool StepSelect(DriverSession& session, const ScenarioStep& step, std::string& error)
{
    int listId = 0;
    if (step.args.empty()) {
        error = "names no list";
        return false;
    }
    if (!FindId(kLists, step.args[0], listId, error) || !WaitUntilReady(session, error))
        return false;
    std::vector<std::string> names;
    for (std::size_t i = 1; i < step.args.size(); ++i) {
        std::string name;
        if (!ExpandArgument(session, step.args[i], name, error))
            return false;
        names.push_back(name);
    }
    const RemoteList list = MainList(session, listId);
    if (names.size() == 1 && names.front() == "*")
        return WriteItemState(list, -1, LVIS_SELECTED, LVIS_SELECTED, error);
    std::vector<std::string> texts;
    std::vector<int> indexes;
    std::string missing;
    if (!ReadItemTexts(list, texts, error))
        return false;
    if (!FindNamedItems(texts, names, listId == IDC_SELECTED_LIST ? kFlagPrefixLength : 0, indexes, missing)) {
        error = "the " + step.args[0] + " list has no realm " + Quoted(missing);
        return false;
    }
    return SelectItems(list, indexes, error);
}

bool StepSelectRange(DriverSession& session, const ScenarioStep& step, std::string& error)
{
    int listId = 0;
    int count = 0;
    if (!RequireArgumentCount(step, 3, 4, error) || !FindId(kLists, step.args[0], listId, error) ||
        !WaitUntilReady(session, error))
        return false;
    const RemoteList list = MainList(session, listId);
    if (!ReadItemCount(list, count, error))
        return false;
    char* end = nullptr;
    const long first = std::strtol(step.args[1].c_str(), &end, 10);
    const bool firstValid = !step.args[1].empty() && *end == '\0';
    const long last = step.args[2] == "last" ? count - 1L : std::strtol(step.args[2].c_str(), &end, 10);
    if (!firstValid || (step.args[2] != "last" && *end != '\0') || first < 0 || last < first || last >= count) {
        error = "the " + step.args[0] + " list of " + std::to_string(count) + " items has no range " + step.args[1] +
                " to " + step.args[2];
        return false;
    }
    // Every item of the range, or every STEP-th from its first.
    long every = 1;
    if (step.args.size() == 4) {
        every = std::strtol(step.args[3].c_str(), &end, 10);
        if (step.args[3].empty() || *end != '\0' || every < 1) {
            error = "a step of select-range is a whole number from 1 up, not " + step.args[3];
            return false;
        }
    }
    std::vector<int> indexes;
    for (long i = first; i <= last; i += every)
        indexes.push_back(static_cast<int>(i));
    return SelectItems(list, indexes, error);
}

bool StepPress(DriverSession& session, const ScenarioStep& step, std::string& error)
{
    int id = 0;
    if (!RequireArgumentCount(step, 1, 1, error) || !FindId(kButtons, step.args[0], id, error) ||
        !WaitUntilReady(session, error))
        return false;
    const HWND button = MainControl(session, id, error);
    return button != nullptr &&
           SendCommandWithoutWaiting(session, session.target.mainWindow, id, button, error) &&
           WaitForCommand(session, "press " + step.args[0], error);
}

bool StepClick(DriverSession& session, const ScenarioStep& step, std::string& error)
{
    int id = 0;
    if (!RequireArgumentCount(step, 1, 1, error) || !FindId(kRadios, step.args[0], id, error) ||
        !WaitUntilReady(session, error))
        return false;
    const HWND radio = MainControl(session, id, error);
    if (radio == nullptr)
        return false;
    // BM_CLICK makes the button check itself, clear its group and notify the main window.
    if (!SendWithoutWaiting(radio, BM_CLICK, 0, 0, &session.commandHandled)) {
        error = "can't send BM_CLICK (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    return WaitForCommand(session, "click " + step.args[0], error);
}

bool StepExpectAvailable(DriverSession& session, const ScenarioStep& step, std::string& error)
{
    return CompareListWithBlock(session, step, IDC_AVAILABLE_LIST, error);
}

bool StepExpectSelected(DriverSession& session, const ScenarioStep& step, std::string& error)
{
    return CompareListWithBlock(session, step, IDC_SELECTED_LIST, error);
}

bool StepExpectCount(DriverSession& session, const ScenarioStep& step, std::string& error)
{
    int listId = 0;
    int count = 0;
    if (!RequireArgumentCount(step, 2, 2, error) || !FindId(kLists, step.args[0], listId, error) ||
        !WaitUntilReady(session, error) || !ReadItemCount(MainList(session, listId), count, error))
        return false;
    if (std::to_string(count) == step.args[1])
        return true;
    error = "the " + step.args[0] + " list holds " + std::to_string(count) + " items, not " + step.args[1];
    return false;
}

bool StepExpectLog(DriverSession& session, const ScenarioStep& step, std::string& error)
{
    std::vector<std::string> expected;
    std::vector<std::string> lines;
    std::string text;
    if (!RequireArgumentCount(step, 0, 0, error) || !RequireBlock(step, error) ||
        !ExpandBlock(session, step, expected, error) || !WaitUntilReady(session, error) ||
        !ReadControlText(GetDlgItem(session.target.mainWindow, IDC_STATUS_LOG), session.boundMs, text, error))
        return false;
    if (!SplitCrLfLines(text, lines, error)) {
        error = "the status log is not CR LF lines: " + error;
        return false;
    }
    error = DescribeLineDifference(expected, lines);
    return error.empty();
}

// The names of the checked buttons joined by "+", or "none": exactly one name passes.
bool StepExpectChecked(DriverSession& session, const ScenarioStep& step, std::string& error)
{
    if (!RequireArgumentCount(step, 1, 1, error) || !WaitUntilReady(session, error))
        return false;
    std::string state;
    for (const NamedId& radio : kRadios) {
        bool checked = false;
        if (!IsChecked(session, radio.id, checked, error))
            return false;
        if (checked)
            state += std::string(state.empty() ? "" : "+") + radio.name;
    }
    if (state.empty())
        state = "none";
    if (step.args[0] == state)
        return true;
    error = "the forwardable radio buttons show " + state + ", not " + step.args[0];
    return false;
}

bool StepExpectEdit(DriverSession& session, const ScenarioStep& step, std::string& error)
{
    int id = 0;
    std::string expected;
    std::string text;
    if (!RequireArgumentCount(step, 2, 2, error) || !FindId(kEdits, step.args[0], id, error) ||
        !ExpandArgument(session, step.args[1], expected, error) || !WaitUntilReady(session, error) ||
        !ReadControlText(GetDlgItem(session.target.mainWindow, id), session.boundMs, text, error))
        return false;
    if (text == expected)
        return true;
    error = "the " + step.args[0] + " edit holds " + Quoted(text) + ", not " + Quoted(expected);
    return false;
}
