// The configuration view and Save when memory runs out while the text is made: a message, no
// view, no file, and a program that goes on. Allocations above a bound fail here as they would
// on a full system.
#include "config_view.h"
#include "main_window_driver.h"
#include "message_box_watcher.h"
#include "modal_dialogs.h"
#include "realm_directory.h"
#include "resource_ids.h"
#include "sample_configurations.h"
#include "save_configuration.h"
#include "scripted_directory.h"
#include "view_driver.h"
#include "walk_rounds.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <new>

namespace {

// Blocks larger than this are refused, as by an allocator that has run out of address space.
std::size_t refusedAbove = std::numeric_limits<std::size_t>::max();

}  // namespace

void* operator new(std::size_t size)
{
    void* block = size > refusedAbove ? nullptr : std::malloc(size == 0 ? 1 : size);
    if (block == nullptr)
        throw std::bad_alloc();
    return block;
}
void operator delete(void* block) noexcept
{
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}

namespace {

class OutOfMemoryTest : public testing::Test {
protected:
    // Fifty realms, put straight into the directory and the Selected list: some 60 KB of text.
    void SetUp() override
    {
        const SampleConfiguration sample = FiftyRealms();
        TheRealmDirectory() = sample.directory;
        for (std::size_t i = 0; i < sample.state.selectedItems.size(); ++i) {
            std::string text = sample.state.selectedItems[i];
            LVITEMA item = {};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(i);
            item.pszText = &text[0];
            SendMessageA(main.Control(IDC_SELECTED_LIST), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        }
    }
    void TearDown() override
    {
        refusedAbove = std::numeric_limits<std::size_t>::max();
        TheRealmDirectory() = RealmDirectory{};
    }

    TestMainWindow main;
};

}  // namespace

TEST_F(OutOfMemoryTest, TheViewSaysSoInsteadOfShowingPartOfTheText)
{
    INT_PTR result = 0;
    const auto boxes = AnswerMessageBoxes([&] {
        refusedAbove = 16 * 1024;
        result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_CONFIG_VIEW), main.window,
                                 &ConfigViewProc, 0);
        refusedAbove = std::numeric_limits<std::size_t>::max();
    });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "The configuration can't be shown: there is not enough memory for its text.");
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[0].icon, BoxIcon::Error);
    EXPECT_EQ(boxes[0].owner, main.window);
    EXPECT_EQ(result, IDCANCEL);
    // The program goes on: the main window is enabled again and the next View shows the text.
    EXPECT_TRUE(IsWindowEnabled(main.window));
    const ViewVisit visit = VisitConfigView(main.window);
    ASSERT_TRUE(visit.found);
    EXPECT_GT(visit.text.size(), 32767u);
}

namespace {

std::string savePath;

bool AnswerSavePath(HWND, std::string& path)
{
    path = savePath;
    return true;
}

}  // namespace

TEST_F(OutOfMemoryTest, SaveSaysSoAndWritesNothing)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "qm-out-of-memory-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    savePath = folder + "\\krb5.conf";
    const auto boxes = AnswerMessageBoxes([&] {
        refusedAbove = 16 * 1024;
        SaveConfigurationWith(main.window, &AnswerSavePath);
        refusedAbove = std::numeric_limits<std::size_t>::max();
    });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.rfind("The configuration was not saved to " + savePath +
                                      ".\r\nThere is not enough memory to generate the configuration.\r\n\r\n",
                                  0),
              0u)
        << boxes[0].text;
    EXPECT_EQ(boxes[0].icon, BoxIcon::Error);
    // The folder stays empty: no target, no temporary file.
    EXPECT_TRUE(RemoveDirectoryA(folder.c_str())) << "the folder is not empty (error " << GetLastError() << ")";
}

// The domain lists 500 others: their answer fits, but not the round of their 500 KDC lookups.
TEST_F(OutOfMemoryTest, TheSearchStopsWithAWarningAndListsWhatItFound)
{
    TheRealmDirectory() = RealmDirectory{};
    constexpr std::size_t kListed = 500;
    ScriptedDirectory directory;
    SetMachine(directory, "corp.test");
    SetKdcs(directory, "corp.test", {"dc.corp.test"});
    std::vector<TrustRecordCopy> records;
    for (std::size_t i = 0; i < kListed; ++i)
        records.push_back(TrustRecord("d" + std::to_string(i) + ".corp.test", kDsDomainInForest));
    SetTrusts(directory, "dc.corp.test", records);
    refusedAbove = kListed * sizeof(DirectoryReply) / 2;
    ASSERT_LT(kListed * sizeof(TrustRecordCopy), refusedAbove);
    RunDiscovery(main.window, ScriptedPlatform(directory));
    refusedAbove = std::numeric_limits<std::size_t>::max();
    // The reason is the system's text for ERROR_NOT_ENOUGH_MEMORY, one line.
    const std::string log = WindowText(main.Control(IDC_STATUS_LOG));
    EXPECT_EQ(log.rfind("Warning: The search for realms stopped. Reason: ", 0), 0u) << log;
    EXPECT_EQ(log.find("\r\n"), log.rfind("\r\nInfo: Found 1 realms.\r\n")) << log;
    EXPECT_EQ(ItemTexts(main.Control(IDC_AVAILABLE_LIST)), std::vector<std::string>{"corp.test"});
}
