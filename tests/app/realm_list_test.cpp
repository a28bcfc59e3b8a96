// Sorting a real list view by the realm name order.
#include "realm_list.h"

#include "main_window_driver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

// Key order reversed, as the discovery run inserts: every item sits in the wrong place.
const Texts kUnsorted{"corp.test", "b.a.corp.test", "a.corp.test", "Z.corp.test", "CORP.other"};
const Texts kRealmOrder{"CORP.other", "corp.test", "a.corp.test", "b.a.corp.test", "Z.corp.test"};

class RealmListTest : public testing::Test {
protected:
    void SetUp() override
    {
        list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_POPUP | LVS_LIST, 0, 0, 300, 200, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(list, nullptr);
        for (auto text = kUnsorted.rbegin(); text != kUnsorted.rend(); ++text)
            InsertItemText(list, 0, *text);
        ASSERT_EQ(ItemTexts(list), kUnsorted);
    }
    void TearDown() override { DestroyWindow(list); }

    HWND list = nullptr;
};

}  // namespace

TEST_F(RealmListTest, SortKeepsSelectionFocusAndSelectionMarkWithTheirItems)
{
    SelectItems(list, {0, 4});  // corp.test and CORP.other
    LVITEMA focus = {};
    focus.stateMask = LVIS_FOCUSED;
    focus.state = LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&focus));  // a.corp.test
    SendMessageA(list, LVM_SETSELECTIONMARK, 0, 1);                             // b.a.corp.test

    SortRealmList(list);
    EXPECT_EQ(ItemTexts(list), kRealmOrder);
    EXPECT_EQ(SelectedIndexes(list), (std::vector<int>{0, 1}));
    EXPECT_EQ(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 2);
    EXPECT_EQ(SendMessageA(list, LVM_GETSELECTIONMARK, 0, 0), 3);
}

TEST_F(RealmListTest, SortIsStableForNamesThatCompareAlike)
{
    Texts alike{"b.test", "EXAMPLE.test", "example.TEST", "a.test"};
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    for (auto text = alike.rbegin(); text != alike.rend(); ++text)
        InsertItemText(list, 0, *text);
    SortRealmList(list);
    EXPECT_EQ(ItemTexts(list), (Texts{"a.test", "b.test", "EXAMPLE.test", "example.TEST"}));
}
