// The main window from the keyboard alone: real key messages through the program's own message
// loop reach every control and every function, and the focus comes back after each box.
#include "main_window_driver.h"
#include "modal_dialogs.h"
#include "realm_directory.h"
#include "resource_ids.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Every tab stop in template order: the forwardable group is one of them, on "Not set" at start,
// and each family box another.
const std::vector<int> kTabOrder{IDC_ADD,          IDC_REMOVE,          IDC_DEFAULT_REALM,       IDC_SERVER_REALM,
                                 IDC_CLIENT_REALM, IDC_TGS_ENCTYPES,    IDC_TGS_CHOOSE,          IDC_TKT_ENCTYPES,
                                 IDC_TKT_CHOOSE,   IDC_FORWARDABLE_NOT_SET, IDC_MIT_CLIENTS,     IDC_HEIMDAL_CLIENTS,
                                 IDC_JAVA_CLIENTS, IDC_AVAILABLE_LIST,  IDC_SELECTED_LIST,       IDC_STATUS_LOG};

bool InForwardableGroup(int id)
{
    return id >= IDC_FORWARDABLE_TRUE && id <= IDC_FORWARDABLE_NOT_SET;
}

// The forwardable button that is checked; 0 when not exactly one is.
int CheckedForwardable(HWND mainWindow)
{
    int checked = 0;
    for (int id = IDC_FORWARDABLE_TRUE; id <= IDC_FORWARDABLE_NOT_SET; ++id)
        if (IsDlgButtonChecked(mainWindow, id) == BST_CHECKED)
            checked = checked == 0 ? id : -1;
    return checked < 0 ? 0 : checked;
}

// Radio buttons as far as Windows is known, not as Wine 8 is lenient: one that gets the focus
// unchecked chooses itself (the automatic kind checks itself and the parent hears BN_CLICKED),
// and BM_SETCHECK leaves WS_TABSTOP alone, which Microsoft does not say it changes (Wine's
// buttons move it to the checked one).
WNDPROC buttonProcedure = nullptr;

LRESULT CALLBACK WindowsRadioButton(HWND button, UINT message, WPARAM wParam, LPARAM lParam)
{
    const LONG_PTR tabStop = GetWindowLongPtrA(button, GWL_STYLE) & WS_TABSTOP;
    const LRESULT result = CallWindowProcA(buttonProcedure, button, message, wParam, lParam);
    if (message == BM_SETCHECK)
        SetWindowLongPtrA(button, GWL_STYLE, (GetWindowLongPtrA(button, GWL_STYLE) & ~LONG_PTR{WS_TABSTOP}) | tabStop);
    if (message == WM_SETFOCUS && SendMessageA(button, BM_GETCHECK, 0, 0) != BST_CHECKED)
        SendMessageA(button, BM_CLICK, 0, 0);
    return result;
}

void MakeForwardableButtonsWindowsLike(HWND mainWindow)
{
    for (int id = IDC_FORWARDABLE_TRUE; id <= IDC_FORWARDABLE_NOT_SET; ++id)
        buttonProcedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            GetDlgItem(mainWindow, id), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowsRadioButton)));
}

class MainWindowKeyboardTest : public testing::Test {
protected:
    void SetUp() override { TheRealmDirectory() = RealmDirectory{}; }
    void TearDown() override { TheRealmDirectory() = RealmDirectory{}; }

    // Runs the steps and checks that the session ran them all and ended through File > Exit.
    void Run(const std::vector<KeyStep>& steps)
    {
        const KeyboardSession outcome = RunKeyboardSession(main.window, steps);
        EXPECT_FALSE(outcome.timedOut) << "stuck at step " << outcome.stepsRun;
        EXPECT_EQ(outcome.stepsRun, steps.size());
        EXPECT_EQ(outcome.exitCode, 0);
    }

    KeyStep Note(std::vector<int>& seen)
    {
        return Do([this, &seen] { seen.push_back(FocusedId(main.window)); });
    }

    KeyStep FocusOn(int id)
    {
        return Do([this, id] { SetFocus(main.Control(id)); });
    }

    KeyStep ExpectFocus(int id, const char* where)
    {
        return Do([this, id, where] { EXPECT_EQ(FocusedId(main.window), id) << where; });
    }

    TestMainWindow main{true};
};

}  // namespace

TEST_F(MainWindowKeyboardTest, TabWalksEveryTabStopInTemplateOrderAndWraps)
{
    std::vector<int> seen;
    std::vector<KeyStep> steps{FocusOn(IDC_ADD), Note(seen)};
    for (std::size_t i = 0; i < kTabOrder.size(); ++i) {
        steps.push_back(Key(VK_TAB));
        steps.push_back(Note(seen));
    }
    Run(steps);
    std::vector<int> expected = kTabOrder;
    expected.push_back(IDC_ADD);
    EXPECT_EQ(seen, expected);
}

TEST_F(MainWindowKeyboardTest, ShiftTabWalksBackAndWraps)
{
    std::vector<int> seen;
    std::vector<KeyStep> steps{FocusOn(IDC_ADD), Note(seen)};
    for (std::size_t i = 0; i < kTabOrder.size(); ++i) {
        steps.push_back(Key(VK_TAB, true));
        steps.push_back(Note(seen));
    }
    Run(steps);
    std::vector<int> expected{IDC_ADD};
    expected.insert(expected.end(), kTabOrder.rbegin(), kTabOrder.rend());
    EXPECT_EQ(seen, expected);
}

TEST_F(MainWindowKeyboardTest, TheEditsSelectTheirTextWhenTabbedInto)
{
    SetDlgItemTextA(main.window, IDC_TGS_ENCTYPES, "rc4-hmac");
    DWORD start = 1;
    DWORD end = 0;
    Run({FocusOn(IDC_CLIENT_REALM), Key(VK_TAB), Do([&] {
             SendMessageA(main.Control(IDC_TGS_ENCTYPES), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                          reinterpret_cast<LPARAM>(&end));
         })});
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 8u);
}

// The arrow keys stay inside the forwardable group and tick what they reach; they never lead
// out of the libdefaults controls into it.
TEST_F(MainWindowKeyboardTest, ArrowKeysMoveInsideTheForwardableGroupAndTickIt)
{
    std::vector<int> seen;
    std::vector<int> checked;
    const auto noteChecked = Do([&] { checked.push_back(CheckedForwardable(main.window)); });
    Run({FocusOn(IDC_TKT_CHOOSE), Key(VK_DOWN), Note(seen),                  // not into the group
         FocusOn(IDC_TKT_CHOOSE), Key(VK_TAB), Note(seen), noteChecked,      // its tab stop, "Not set"
         Key(VK_SPACE), noteChecked,                                         // Space keeps it
         Key(VK_DOWN), Note(seen), noteChecked,                              // round to "True", ticked
         Key(VK_DOWN), Note(seen), noteChecked,                              // "False"
         Key(VK_UP), Note(seen), noteChecked,                                // back to "True"
         Key(VK_TAB), Note(seen),                                            // out of the group
         Key(VK_TAB, true), Note(seen)});                                    // back in, on the ticked one
    ASSERT_EQ(seen.size(), 7u);
    EXPECT_FALSE(InForwardableGroup(seen[0])) << seen[0];
    EXPECT_EQ(std::vector<int>(seen.begin() + 1, seen.end()),
              (std::vector<int>{IDC_FORWARDABLE_NOT_SET, IDC_FORWARDABLE_TRUE, IDC_FORWARDABLE_FALSE,
                                IDC_FORWARDABLE_TRUE, IDC_MIT_CLIENTS, IDC_FORWARDABLE_TRUE}));
    EXPECT_EQ(checked, (std::vector<int>{IDC_FORWARDABLE_NOT_SET, IDC_FORWARDABLE_NOT_SET, IDC_FORWARDABLE_TRUE,
                                         IDC_FORWARDABLE_FALSE, IDC_FORWARDABLE_TRUE}));
}

// With buttons that behave as Windows' do, a round of Tab and one of Shift+Tab, and
// entering the group either way after each choice, leave the choice as it was: the focus
// enters the group on the checked button, and exactly one is checked throughout.
TEST_F(MainWindowKeyboardTest, NoKeyboardPassChangesTheForwardableChoice)
{
    MakeForwardableButtonsWindowsLike(main.window);
    struct Seen {
        int focus, checked, chosen;
    };
    std::vector<Seen> seen;
    int chosen = IDC_FORWARDABLE_NOT_SET;
    const auto note = Do([&] { seen.push_back({FocusedId(main.window), CheckedForwardable(main.window), chosen}); });
    std::vector<KeyStep> steps{FocusOn(IDC_ADD)};
    for (std::size_t i = 0; i < 2 * kTabOrder.size(); ++i) {
        steps.push_back(Key(VK_TAB, i >= kTabOrder.size()));
        steps.push_back(note);
    }
    for (const int id : {IDC_FORWARDABLE_TRUE, IDC_FORWARDABLE_FALSE, IDC_FORWARDABLE_NOT_SET}) {
        const auto choose = Do([&chosen, this, id] {
            SendMessageA(main.Control(id), BM_CLICK, 0, 0);
            chosen = id;
        });
        steps.insert(steps.end(), {choose, note, FocusOn(IDC_TKT_CHOOSE), Key(VK_TAB), note, Key(VK_TAB), note,
                                   Key(VK_TAB, true), note});
    }
    Run(steps);
    int entered = 0;
    for (const Seen& step : seen) {
        EXPECT_EQ(step.checked, step.chosen) << "focus on " << step.focus;
        if (InForwardableGroup(step.focus)) {
            EXPECT_EQ(step.focus, step.chosen);
            ++entered;
        }
    }
    EXPECT_EQ(entered, 2 + 3 * 3);
}

TEST_F(MainWindowKeyboardTest, SpacePressesTheFocusedButtonAndTheFocusSurvivesTheWarning)
{
    std::string boxText;
    Run({FocusOn(IDC_ADD), Key(VK_SPACE), WaitFor([] { return ShownDialogBox() != nullptr; }), Do([&] {
             char text[128] = {};
             GetDlgItemTextA(ShownDialogBox(), 0xFFFF, text, static_cast<int>(sizeof text));
             boxText = text;
         }),
         Key(VK_RETURN), WaitFor([] { return ShownDialogBox() == nullptr; }), ExpectFocus(IDC_ADD, "after the box"),
         Key(VK_TAB), Key(VK_SPACE), WaitFor([] { return ShownDialogBox() != nullptr; }), Key(VK_ESCAPE),
         WaitFor([] { return ShownDialogBox() == nullptr; }), ExpectFocus(IDC_REMOVE, "after the second box")});
    EXPECT_EQ(boxText, "No items selected.");
}

// Select with the arrows and Space in the lists, press the buttons with Space: the whole panel.
TEST_F(MainWindowKeyboardTest, ThePanelWorksFromTheKeyboardAlone)
{
    ShowRealms(main.window, {"a.test", "b.test", "c.test"});
    const HWND selected = main.Control(IDC_SELECTED_LIST);
    Run({FocusOn(IDC_AVAILABLE_LIST), Key(VK_HOME), Key(VK_DOWN),            // b.test
         Key(VK_TAB, true), Key(VK_TAB, true), Key(VK_TAB, true),             // Java, Heimdal, MIT
         Key(VK_TAB, true), Key(VK_TAB, true), Key(VK_TAB, true),             // forwardable, "...", edit
         Key(VK_TAB, true), Key(VK_TAB, true), Key(VK_TAB, true),             // edit, "...", Client
         Key(VK_TAB, true), Key(VK_TAB, true), Key(VK_TAB, true),             // Server, Default, Remove
         Key(VK_TAB, true), ExpectFocus(IDC_ADD, "walking back"), Key(VK_SPACE),
         Do([&] { EXPECT_EQ(ItemTexts(selected), (std::vector<std::string>{"d-- b.test"})); }),
         ExpectFocus(IDC_ADD, "after Add"),
         // To the Selected list: Shift+Tab twice from Add.
         Key(VK_TAB, true), Key(VK_TAB, true), ExpectFocus(IDC_SELECTED_LIST, "the Selected list"), Key(VK_HOME),
         Key(VK_TAB, true), Key(VK_TAB, true), Key(VK_TAB, true),  // IDC_AVAILABLE_LIST, Java, Heimdal
         Key(VK_TAB, true), Key(VK_TAB, true), Key(VK_TAB, true),  // MIT, forwardable, "..."
         Key(VK_TAB, true), Key(VK_TAB, true), Key(VK_TAB, true),  // edit, "...", edit
         Key(VK_TAB, true),                                        // Client Realm
         ExpectFocus(IDC_CLIENT_REALM, "Client Realm"), Key(VK_SPACE), Key(VK_TAB, true), Key(VK_SPACE),
         Do([&] { EXPECT_EQ(ItemTexts(selected), (std::vector<std::string>{"dsc b.test"})); }),
         Key(VK_TAB, true), Key(VK_TAB, true), ExpectFocus(IDC_REMOVE, "Remove"), Key(VK_SPACE),
         Do([&] {
             EXPECT_TRUE(ItemTexts(selected).empty());
             EXPECT_EQ(ItemTexts(main.Control(IDC_AVAILABLE_LIST)),
                       (std::vector<std::string>{"a.test", "b.test", "c.test"}));
         })});
}

TEST_F(MainWindowKeyboardTest, TheChooserOpensAndFillsItsEditFromTheKeyboard)
{
    Run({FocusOn(IDC_TKT_CHOOSE), Key(VK_SPACE), WaitFor([] { return ShownDialogBox() != nullptr; }),
         Key(VK_HOME), Key(VK_SPACE),                // ticks the top name
         Key(VK_RETURN), WaitFor([] { return ShownDialogBox() == nullptr; }),
         ExpectFocus(IDC_TKT_CHOOSE, "after the chooser"), Key(VK_TAB, true), Key(VK_TAB, true), Key(VK_SPACE),
         WaitFor([] { return ShownDialogBox() != nullptr; }), Key(VK_ESCAPE),
         WaitFor([] { return ShownDialogBox() == nullptr; }), ExpectFocus(IDC_TGS_CHOOSE, "after Escape"), Do([&] {
             EXPECT_EQ(WindowText(main.Control(IDC_TKT_ENCTYPES)), "aes128-cts-hmac-sha1-96");
             EXPECT_EQ(WindowText(main.Control(IDC_TGS_ENCTYPES)), "");
         })});
}

// The menus by their letters: File > View, Help > About, each closed by a key, the focus back.
TEST_F(MainWindowKeyboardTest, TheMenusOpenTheViewAndTheAboutBox)
{
    std::string viewCaption;
    std::string aboutCaption;
    const auto caption = [](std::string& into) {
        return Do([&into] {
            char text[64] = {};
            GetWindowTextA(ShownDialogBox(), text, static_cast<int>(sizeof text));
            into = text;
        });
    };
    Run({FocusOn(IDC_SELECTED_LIST), AltKey('F'), Key('V'), WaitFor([] { return ShownDialogBox() != nullptr; }),
         caption(viewCaption), Key(VK_ESCAPE), WaitFor([] { return ShownDialogBox() == nullptr; }),
         ExpectFocus(IDC_SELECTED_LIST, "after the view"), AltKey('H'), Key('A'),
         WaitFor([] { return ShownDialogBox() != nullptr; }), caption(aboutCaption), Key(VK_SPACE),
         WaitFor([] { return ShownDialogBox() == nullptr; }), ExpectFocus(IDC_SELECTED_LIST, "after the about box")});
    EXPECT_EQ(viewCaption, "Kerberos Configuration");
    EXPECT_EQ(aboutCaption, "About Quillmere");
}

TEST_F(MainWindowKeyboardTest, TheFocusComesBackAfterTheWindowIsActivatedAgain)
{
    HWND other = nullptr;
    Run({FocusOn(IDC_TGS_CHOOSE), Do([&] {
             other = CreateWindowExA(0, "Static", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
             SetActiveWindow(other);
         }),
         Do([&] { EXPECT_EQ(FocusedId(main.window), 0) << "the other window has it now"; }),
         Do([&] { SetActiveWindow(main.window); }), ExpectFocus(IDC_TGS_CHOOSE, "after activation"),
         Do([&] { DestroyWindow(other); })});
}
