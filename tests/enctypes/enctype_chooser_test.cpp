// The encryption type chooser driven through its modal loop on a test-made main dialog.
#include "enctype_chooser.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "dialog_test_support.h"
#include "enctype_names.h"
#include "modal_dialogs.h"
#include "resource_ids.h"

namespace {

const std::vector<std::string> kDisplayedNames{
    "aes128-cts-hmac-sha1-96", "aes256-cts-hmac-sha1-96", "arcfour-hmac-md5", "arcfour-hmac-md5-exp",
    "des-cbc-crc",             "des-cbc-md5",             "des3-cbc-sha1-kd", "rc4-hmac",
};

std::string Text(HWND window, int id)
{
    char text[512] = {};
    GetDlgItemTextA(window, id, text, sizeof text);
    return text;
}

HWND List(HWND dialog)
{
    return GetDlgItem(dialog, IDC_ENCTYPE_LIST);
}

std::vector<std::string> ListedNames(HWND dialog)
{
    std::vector<std::string> names;
    auto count = static_cast<int>(SendMessageA(List(dialog), LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char name[64] = {};
        LVITEMA item{};
        item.pszText = name;
        item.cchTextMax = sizeof name;
        SendMessageA(List(dialog), LVM_GETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        names.emplace_back(name);
    }
    return names;
}

std::vector<std::string> TickedNames(HWND dialog)
{
    std::vector<std::string> ticked;
    std::vector<std::string> names = ListedNames(dialog);
    for (std::size_t i = 0; i < names.size(); ++i) {
        auto state = static_cast<UINT>(SendMessageA(List(dialog), LVM_GETITEMSTATE, i, LVIS_STATEIMAGEMASK));
        if ((state >> 12) == 2)
            ticked.push_back(names[i]);
    }
    return ticked;
}

void SetTick(HWND dialog, const std::string& name, bool ticked)
{
    std::vector<std::string> names = ListedNames(dialog);
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] != name)
            continue;
        LVITEMA state{};
        state.stateMask = LVIS_STATEIMAGEMASK;
        state.state = INDEXTOSTATEIMAGEMASK(ticked ? 2 : 1);
        SendMessageA(List(dialog), LVM_SETITEMSTATE, i, reinterpret_cast<LPARAM>(&state));
    }
}

DialogStep Tick(const std::string& name, bool ticked = true)
{
    return [name, ticked](HWND dialog) { SetTick(dialog, name, ticked); };
}

void ClickButton(HWND dialog, int id)
{
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

const DialogStep PressOk = [](HWND dialog) { ClickButton(dialog, IDOK); };
const DialogStep PressCancel = [](HWND dialog) { ClickButton(dialog, IDCANCEL); };

class EncTypeChooser : public ::testing::Test {
protected:
    void SetUp() override
    {
        main = CreateMainDialog(nullptr);
        ASSERT_NE(main, nullptr);
    }
    void TearDown() override { DestroyWindow(main); }

    // Opens the chooser on `editId`, runs the steps, and says whether the dialog ended in time.
    bool Choose(int editId, const std::vector<DialogStep>& steps)
    {
        ModalOutcome outcome = RunModalDialog(
            [this, editId]() {
                OpenEncTypeChooser(main, editId);
                return INT_PTR{0};
            },
            steps);
        return RanToTheEnd(outcome, steps);
    }

    // Ticks `names` in a chooser on `editId`, then OK; the edit's new text.
    std::string TickAndAccept(int editId, const std::vector<std::string>& names)
    {
        std::vector<DialogStep> steps;
        for (const std::string& name : names)
            steps.push_back(Tick(name));
        steps.push_back(PressOk);
        EXPECT_TRUE(Choose(editId, steps));
        return Text(main, editId);
    }

    // The names ticked when the chooser opens on an edit holding `text`.
    std::vector<std::string> TicksShownFor(const std::string& text)
    {
        SetDlgItemTextA(main, IDC_TGS_ENCTYPES, text.c_str());
        std::vector<std::string> ticked;
        EXPECT_TRUE(Choose(IDC_TGS_ENCTYPES, {[&ticked](HWND dialog) { ticked = TickedNames(dialog); }, PressCancel}));
        return ticked;
    }

    HWND main = nullptr;
};

INT_PTR CALLBACK InertDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

}  // namespace

TEST_F(EncTypeChooser, OpensOnAnEmptyEditWithAllEightUntickedAndOkKeepsItEmpty)
{
    std::vector<std::string> listed;
    std::vector<std::string> ticked{"not read"};
    void* sharedBuffer = nullptr;
    ASSERT_TRUE(Choose(IDC_TGS_ENCTYPES, {[&](HWND dialog) {
                                              listed = ListedNames(dialog);
                                              ticked = TickedNames(dialog);
                                              sharedBuffer = GetPropA(main, kEncTypeBufferProperty);
                                          },
                                          PressOk}));
    EXPECT_EQ(listed, kDisplayedNames);
    EXPECT_TRUE(ticked.empty());
    EXPECT_NE(sharedBuffer, nullptr);
    EXPECT_EQ(Text(main, IDC_TGS_ENCTYPES), "");
    EXPECT_EQ(GetPropA(main, kEncTypeBufferProperty), nullptr);
}

TEST_F(EncTypeChooser, TheTextFollowsTheListOrderNotTheOrderOfTicking)
{
    EXPECT_EQ(TickAndAccept(IDC_TGS_ENCTYPES, {"rc4-hmac", "des-cbc-md5"}), "des-cbc-md5, rc4-hmac");
    // Reopened on its own result, the chooser ticks the same names and OK writes them back.
    std::vector<std::string> ticked;
    ASSERT_TRUE(Choose(IDC_TGS_ENCTYPES, {[&ticked](HWND dialog) { ticked = TickedNames(dialog); }, PressOk}));
    EXPECT_EQ(ticked, (std::vector<std::string>{"des-cbc-md5", "rc4-hmac"}));
    EXPECT_EQ(Text(main, IDC_TGS_ENCTYPES), "des-cbc-md5, rc4-hmac");
    // Unticking one of them drops it.
    ASSERT_TRUE(Choose(IDC_TGS_ENCTYPES, {Tick("rc4-hmac", false), PressOk}));
    EXPECT_EQ(Text(main, IDC_TGS_ENCTYPES), "des-cbc-md5");
}

TEST_F(EncTypeChooser, AllEightGiveThe142CharacterText)
{
    std::vector<std::string> reversed(kDisplayedNames.rbegin(), kDisplayedNames.rend());
    std::string text = TickAndAccept(IDC_TKT_ENCTYPES, reversed);
    EXPECT_EQ(text,
              "aes128-cts-hmac-sha1-96, aes256-cts-hmac-sha1-96, arcfour-hmac-md5, arcfour-hmac-md5-exp, "
              "des-cbc-crc, des-cbc-md5, des3-cbc-sha1-kd, rc4-hmac");
    EXPECT_EQ(text.size(), 142u);
}

TEST_F(EncTypeChooser, CancelEscapeAndTheCloseBoxLeaveTheEditAsItWas)
{
    const std::string before = "aes256-cts-hmac-sha1-96, des-cbc-crc";
    SetDlgItemTextA(main, IDC_TKT_ENCTYPES, before.c_str());
    const std::vector<std::pair<const char*, DialogStep>> endings{
        {"Cancel", PressCancel},
        {"Escape", [](HWND dialog) { PressKey(dialog, VK_ESCAPE); }},
        {"close box", [](HWND dialog) { ClickCloseBox(dialog); }},
    };
    for (const auto& ending : endings) {
        SCOPED_TRACE(ending.first);
        EXPECT_TRUE(Choose(IDC_TKT_ENCTYPES, {Tick("rc4-hmac"), Tick("des-cbc-crc", false), ending.second}));
        EXPECT_EQ(Text(main, IDC_TKT_ENCTYPES), before);
        EXPECT_EQ(GetPropA(main, kEncTypeBufferProperty), nullptr);
    }
}

TEST_F(EncTypeChooser, EnterIsOk)
{
    EXPECT_TRUE(Choose(IDC_TGS_ENCTYPES, {Tick("des-cbc-crc"), [](HWND dialog) { PressKey(dialog, VK_RETURN); }}));
    EXPECT_EQ(Text(main, IDC_TGS_ENCTYPES), "des-cbc-crc");
}

TEST_F(EncTypeChooser, TheTwoEditsAreIndependent)
{
    SetDlgItemTextA(main, IDC_TGS_ENCTYPES, "rc4-hmac");
    EXPECT_EQ(TickAndAccept(IDC_TKT_ENCTYPES, {"des-cbc-md5"}), "des-cbc-md5");
    EXPECT_EQ(Text(main, IDC_TGS_ENCTYPES), "rc4-hmac");
    EXPECT_EQ(TickAndAccept(IDC_TGS_ENCTYPES, {"des-cbc-crc"}), "des-cbc-crc, rc4-hmac");
    EXPECT_EQ(Text(main, IDC_TKT_ENCTYPES), "des-cbc-md5");
}

TEST_F(EncTypeChooser, BareCommasAndBareBlanksTickTheSameItems)
{
    const std::vector<std::string> expected{"aes256-cts-hmac-sha1-96", "des-cbc-crc", "rc4-hmac"};
    EXPECT_EQ(TicksShownFor("rc4-hmac, des-cbc-crc, aes256-cts-hmac-sha1-96"), expected);
    EXPECT_EQ(TicksShownFor("rc4-hmac,des-cbc-crc,aes256-cts-hmac-sha1-96"), expected);
    EXPECT_EQ(TicksShownFor("rc4-hmac des-cbc-crc aes256-cts-hmac-sha1-96"), expected);
    EXPECT_EQ(TicksShownFor(" ,rc4-hmac,,  des-cbc-crc , aes256-cts-hmac-sha1-96, rc4-hmac,"), expected);
}

TEST_F(EncTypeChooser, UnknownAndMiscasedNamesTickNothingAndAreGoneAfterOk)
{
    SetDlgItemTextA(main, IDC_TGS_ENCTYPES, "RC4-HMAC, rc4-hmac-x, aes512, des-cbc-md5");
    std::vector<std::string> ticked;
    ASSERT_TRUE(Choose(IDC_TGS_ENCTYPES, {[&ticked](HWND dialog) { ticked = TickedNames(dialog); }, PressOk}));
    EXPECT_EQ(ticked, std::vector<std::string>{"des-cbc-md5"});
    EXPECT_EQ(Text(main, IDC_TGS_ENCTYPES), "des-cbc-md5");
}

// The dialog's own functions on a modeless copy, with buffers smaller than the edits'.
TEST(EncTypeChooserBuffer, CollectingStaysWithinTheCapacityAndFillingReadsNoFurther)
{
    HWND main = CreateMainDialog(nullptr);
    ASSERT_NE(main, nullptr);
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ENCTYPES), main,
                                     InertDialogProc, 0);
    ASSERT_NE(dialog, nullptr);

    // Not terminated within its 10 bytes: only "des-cbc-md" may be read, which is no name.
    char text[32] = "des-cbc-md5, rc4-hmac";
    EncTypeBuffer partial{text, 10};
    FillEncTypeList(&partial, dialog);
    EXPECT_TRUE(TickedNames(dialog).empty());
    ASSERT_EQ(ListedNames(dialog), kDisplayedNames);

    for (const std::string& name : kDisplayedNames)
        SetTick(dialog, name, true);
    char small[24 + 8];
    std::memset(small, '#', sizeof small);
    EncTypeBuffer buffer{small, 24};
    CollectEncTypes(&buffer, dialog);
    EXPECT_EQ(std::string(small), "aes128-cts-hmac-sha1-96");
    EXPECT_EQ(std::string(small + 24, 8), std::string(8, '#'));

    DestroyWindow(dialog);
    DestroyWindow(main);
}

// From the keyboard alone: Tab goes list, OK, Cancel and round; arrows and Space tick in the list;
// Space presses the focused button.
TEST_F(EncTypeChooser, TheKeyboardAloneTicksNamesAndPressesTheButtons)
{
    std::vector<int> focus;
    const DialogStep noteFocus = [&focus](HWND) { focus.push_back(GetDlgCtrlID(GetFocus())); };
    EXPECT_TRUE(Choose(IDC_TKT_ENCTYPES,
                       {noteFocus, [](HWND d) { PressKey(d, VK_HOME); }, [](HWND d) { PressKey(d, VK_SPACE); },
                        [](HWND d) { PressKey(d, VK_END); }, [](HWND d) { PressKey(d, VK_SPACE); },
                        [](HWND d) { PressKey(d, VK_UP); }, [](HWND d) { PressKey(d, VK_SPACE); },
                        [](HWND d) { PressKey(d, VK_SPACE); },  // and off again
                        [](HWND d) { PressKey(d, VK_TAB); }, noteFocus, [](HWND d) { PressKey(d, VK_TAB); },
                        noteFocus, [](HWND d) { PressKey(d, VK_TAB); }, noteFocus,
                        [](HWND d) { PressKey(d, VK_TAB); }, noteFocus, [](HWND d) { PressKey(d, VK_SPACE); }}));
    EXPECT_EQ(focus, (std::vector<int>{IDC_ENCTYPE_LIST, IDOK, IDCANCEL, IDC_ENCTYPE_LIST, IDOK}));
    EXPECT_EQ(Text(main, IDC_TKT_ENCTYPES), "aes128-cts-hmac-sha1-96, rc4-hmac");

    // Space on Cancel leaves the edit as it was.
    EXPECT_TRUE(Choose(IDC_TKT_ENCTYPES, {[](HWND d) { PressKey(d, VK_HOME); }, [](HWND d) { PressKey(d, VK_SPACE); },
                                          [](HWND d) { PressKey(d, VK_TAB); }, [](HWND d) { PressKey(d, VK_TAB); },
                                          [](HWND d) { PressKey(d, VK_SPACE); }}));
    EXPECT_EQ(Text(main, IDC_TKT_ENCTYPES), "aes128-cts-hmac-sha1-96, rc4-hmac");
}
