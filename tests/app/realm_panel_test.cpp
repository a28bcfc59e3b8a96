// The realm selection panel on the real list views: moves, marks, the default realm, warnings.
#include "main_window_driver.h"
#include "message_box_watcher.h"
#include "realm_directory.h"
#include "resource_ids.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

class RealmPanelTest : public testing::Test {
protected:
    void SetUp() override
    {
        available = main.Control(IDC_AVAILABLE_LIST);
        selected = main.Control(IDC_SELECTED_LIST);
        ShowRealms(main.window, {"example.com", "a.example.com", "b.example.com", "corp.example.net", "example.org"});
    }

    // Presses the button and expects no message box.
    void Press(int id)
    {
        const auto boxes = AnswerMessageBoxes([&] { PressButton(main.window, id); });
        EXPECT_TRUE(boxes.empty()) << "button " << id << " warned: " << boxes.front().text;
    }

    void Add(const Texts& names)
    {
        SelectItemsByText(available, names);
        Press(IDC_ADD);
    }

    void Remove(const Texts& items)
    {
        SelectItemsByText(selected, items);
        Press(IDC_REMOVE);
    }

    TestMainWindow main;
    HWND available = nullptr;
    HWND selected = nullptr;
};

}  // namespace

TEST_F(RealmPanelTest, EveryButtonWarnsWhenItsListHasNoSelection)
{
    Add({"example.com", "b.example.com"});
    // A selection in the other list does not count.
    SelectItemsByText(selected, {"d-- example.com"});
    SelectItems(available, {});
    const Texts availableBefore = ItemTexts(available);
    const Texts selectedBefore = ItemTexts(selected);

    const auto addBoxes = AnswerMessageBoxes([&] { PressButton(main.window, IDC_ADD); });
    SelectItems(selected, {});
    SelectItems(available, {0});
    for (int id : {IDC_REMOVE, IDC_DEFAULT_REALM, IDC_SERVER_REALM, IDC_CLIENT_REALM}) {
        const auto boxes = AnswerMessageBoxes([&] { PressButton(main.window, id); });
        ASSERT_EQ(boxes.size(), 1u) << "button " << id;
        EXPECT_EQ(boxes[0].text, "No items selected.");
        EXPECT_EQ(boxes[0].caption, "Warning");
        EXPECT_EQ(boxes[0].icon, BoxIcon::Warning);
        EXPECT_EQ(boxes[0].owner, main.window);
        EXPECT_FALSE(boxes[0].forced);
    }
    ASSERT_EQ(addBoxes.size(), 1u);
    EXPECT_EQ(addBoxes[0].text, "No items selected.");
    EXPECT_EQ(addBoxes[0].caption, "Warning");
    EXPECT_EQ(addBoxes[0].icon, BoxIcon::Warning);
    EXPECT_EQ(ItemTexts(available), availableBefore);
    EXPECT_EQ(ItemTexts(selected), selectedBefore);
}

TEST_F(RealmPanelTest, FirstAddMarksTheFirstRealmInSortOrderAsDefault)
{
    Add({"b.example.com", "example.com"});
    EXPECT_EQ(ItemTexts(selected), (Texts{"d-- example.com", "--- b.example.com"}));
    // The rest keep their order; the new items are not selected.
    EXPECT_EQ(ItemTexts(available), (Texts{"a.example.com", "corp.example.net", "example.org"}));
    EXPECT_TRUE(SelectedIndexes(selected).empty());
    EXPECT_TRUE(SelectedIndexes(available).empty());
}

TEST_F(RealmPanelTest, LaterAddsKeepTheDefaultAndSortByNameWhateverTheMarks)
{
    Add({"b.example.com"});
    SelectItemsByText(selected, {"d-- b.example.com"});
    Add({"example.org", "a.example.com"});
    EXPECT_EQ(ItemTexts(selected), (Texts{"--- a.example.com", "d-- b.example.com", "--- example.org"}));
    // Items selected in the Selected list before the move stay selected.
    EXPECT_EQ(SelectedIndexes(selected), std::vector<int>{1});
}

TEST_F(RealmPanelTest, RemovingTheDefaultPassesItToTheFirstRemainingRealm)
{
    Add({"example.com", "a.example.com", "example.org"});
    ASSERT_EQ(ItemTexts(selected), (Texts{"d-- example.com", "--- a.example.com", "--- example.org"}));
    Remove({"d-- example.com"});
    EXPECT_EQ(ItemTexts(selected), (Texts{"d-- a.example.com", "--- example.org"}));
    // Back in the realm name order, without any prefix.
    EXPECT_EQ(ItemTexts(available), (Texts{"example.com", "b.example.com", "corp.example.net"}));

    Remove({"d-- a.example.com", "--- example.org"});
    EXPECT_TRUE(ItemTexts(selected).empty());
    EXPECT_EQ(ItemTexts(available),
              (Texts{"example.com", "a.example.com", "b.example.com", "corp.example.net", "example.org"}));
}

TEST_F(RealmPanelTest, RemovingAnotherRealmKeepsTheDefault)
{
    Add({"example.com", "a.example.com", "b.example.com"});
    SelectItemsByText(selected, {"d-- example.com"});
    Press(IDC_SERVER_REALM);
    Remove({"--- a.example.com"});
    EXPECT_EQ(ItemTexts(selected), (Texts{"ds- example.com", "--- b.example.com"}));
}

TEST_F(RealmPanelTest, ARealmRemovedWithMarksComesBackWithout)
{
    Add({"example.com", "a.example.com"});
    SelectItemsByText(selected, {"--- a.example.com"});
    Press(IDC_SERVER_REALM);
    Press(IDC_CLIENT_REALM);
    ASSERT_EQ(ItemTexts(selected), (Texts{"d-- example.com", "-sc a.example.com"}));
    Remove({"-sc a.example.com"});
    Add({"a.example.com"});
    EXPECT_EQ(ItemTexts(selected), (Texts{"d-- example.com", "--- a.example.com"}));
}

TEST_F(RealmPanelTest, ServerRealmTwiceRestoresTheItemAndLeavesTheOtherMarks)
{
    Add({"example.com"});
    SelectItemsByText(selected, {"d-- example.com"});
    Press(IDC_CLIENT_REALM);
    Press(IDC_SERVER_REALM);
    EXPECT_EQ(ItemTexts(selected), (Texts{"dsc example.com"}));
    Press(IDC_SERVER_REALM);
    EXPECT_EQ(ItemTexts(selected), (Texts{"d-c example.com"}));
    Press(IDC_CLIENT_REALM);
    EXPECT_EQ(ItemTexts(selected), (Texts{"d-- example.com"}));
}

TEST_F(RealmPanelTest, TogglingAMixedSelectionTurnsEachItemOverByItself)
{
    Add({"example.com", "a.example.com", "b.example.com"});
    SelectItemsByText(selected, {"--- a.example.com"});
    Press(IDC_SERVER_REALM);
    // One selected item has the mark and one has not; the unselected one is left alone.
    SelectItemsByText(selected, {"d-- example.com", "-s- a.example.com"});
    Press(IDC_SERVER_REALM);
    EXPECT_EQ(ItemTexts(selected), (Texts{"ds- example.com", "--- a.example.com", "--- b.example.com"}));
    Press(IDC_CLIENT_REALM);
    EXPECT_EQ(ItemTexts(selected), (Texts{"dsc example.com", "--c a.example.com", "--- b.example.com"}));
    EXPECT_EQ(SelectedIndexes(selected), (std::vector<int>{0, 1}));
}

TEST_F(RealmPanelTest, DefaultRealmMovesTheMarkToTheFirstSelectedItem)
{
    Add({"example.com", "a.example.com", "b.example.com"});
    SelectItemsByText(selected, {"d-- example.com"});
    Press(IDC_SERVER_REALM);
    Press(IDC_DEFAULT_REALM);
    EXPECT_EQ(ItemTexts(selected), (Texts{"ds- example.com", "--- a.example.com", "--- b.example.com"}));

    SelectItemsByText(selected, {"--- b.example.com", "--- a.example.com"});
    Press(IDC_DEFAULT_REALM);
    // Only the lowest selected index becomes the default; the old one keeps its other marks.
    EXPECT_EQ(ItemTexts(selected), (Texts{"-s- example.com", "d-- a.example.com", "--- b.example.com"}));
}

TEST_F(RealmPanelTest, ALongNameIsCutTo255CharactersWhenAdded)
{
    const std::string longName = std::string(290, 'x') + ".test";
    ShowRealms(main.window, {longName});
    ASSERT_EQ(ItemTexts(available), Texts{longName});
    Add({longName});
    const std::string cut = longName.substr(0, 255);
    EXPECT_EQ(ItemTexts(selected), Texts{"d-- " + cut});
    Remove({"d-- " + cut});
    EXPECT_EQ(ItemTexts(available), Texts{cut});
}

TEST_F(RealmPanelTest, ClickingTheRealButtonMovesTheRealms)
{
    SelectItemsByText(available, {"example.org"});
    const auto boxes =
        AnswerMessageBoxes([&] { SendMessageA(main.Control(IDC_ADD), BM_CLICK, 0, 0); });
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(ItemTexts(selected), (Texts{"d-- example.org"}));
}

TEST_F(RealmPanelTest, DoubleClicksAndKeysInTheListsMoveNothing)
{
    Add({"example.com"});
    SelectItems(available, {0});
    SelectItems(selected, {0});
    const Texts availableBefore = ItemTexts(available);
    for (HWND list : {available, selected}) {
        RECT item = {};
        item.left = LVIR_LABEL;
        SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
        const LPARAM point = MAKELPARAM(item.left + 2, item.top + 2);
        const auto boxes = AnswerMessageBoxes([&] {
            SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
            SendMessageA(list, WM_LBUTTONUP, 0, point);
            SendMessageA(list, WM_KEYDOWN, VK_RETURN, 0);
            SendMessageA(list, WM_KEYDOWN, VK_DELETE, 0);
            SendMessageA(list, WM_CHAR, 'd', 0);
        });
        EXPECT_TRUE(boxes.empty());
    }
    EXPECT_EQ(ItemTexts(available), availableBefore);
    EXPECT_EQ(ItemTexts(selected), (Texts{"d-- example.com"}));
}

namespace {

void SetFocusAndMark(HWND list, int focus, int mark)
{
    LVITEMA item = {};
    item.stateMask = LVIS_FOCUSED;
    item.state = LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(focus), reinterpret_cast<LPARAM>(&item));
    SendMessageA(list, LVM_SETSELECTIONMARK, 0, mark);
}

std::string FocusedText(HWND list)
{
    const int focused = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    return focused < 0 ? "(none)" : ItemTexts(list)[static_cast<std::size_t>(focused)];
}

std::string MarkText(HWND list)
{
    const int mark = static_cast<int>(SendMessageA(list, LVM_GETSELECTIONMARK, 0, 0));
    return mark < 0 ? "(none)" : ItemTexts(list)[static_cast<std::size_t>(mark)];
}

}  // namespace

// A move of a few items deletes them one by one; a move of most items empties the list and puts
// the others back. Either way the remaining items keep their order, and the focus and the
// selection mark of a moved item pass to the next remaining one, or the last when none follows.
TEST_F(RealmPanelTest, MovesLeaveFocusAndSelectionMarkOnTheNextRemainingRealm)
{
    // The list in order: example.com, a.example.com, b.example.com, corp.example.net, example.org.
    SelectItemsByText(available, {"a.example.com"});
    SetFocusAndMark(available, 1, 4);
    Press(IDC_ADD);
    EXPECT_EQ(ItemTexts(available), (Texts{"example.com", "b.example.com", "corp.example.net", "example.org"}));
    EXPECT_EQ(FocusedText(available), "b.example.com");
    EXPECT_EQ(MarkText(available), "example.org");

    SelectItemsByText(available, {"b.example.com", "corp.example.net", "example.org"});
    SetFocusAndMark(available, 3, 2);
    Press(IDC_ADD);
    EXPECT_EQ(ItemTexts(available), Texts{"example.com"});
    EXPECT_EQ(FocusedText(available), "example.com");
    EXPECT_EQ(MarkText(available), "example.com");
    EXPECT_EQ(ItemTexts(selected), (Texts{"d-- a.example.com", "--- b.example.com", "--- corp.example.net",
                                          "--- example.org"}));

    Remove({"--- b.example.com", "--- corp.example.net", "--- example.org"});
    EXPECT_EQ(ItemTexts(available), (Texts{"example.com", "b.example.com", "corp.example.net", "example.org"}));
    EXPECT_EQ(ItemTexts(selected), Texts{"d-- a.example.com"});
    SelectItemsByText(available, {"example.com", "b.example.com", "corp.example.net", "example.org"});
    Press(IDC_ADD);
    EXPECT_TRUE(ItemTexts(available).empty());
    EXPECT_EQ(MarkText(available), "(none)");
    EXPECT_EQ(ItemTexts(selected).size(), 5u);
}
