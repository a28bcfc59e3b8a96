// The configuration view on the real main window: generated from the controls, shown in CR LF form.
#include "config_view.h"
#include "discovery_run.h"
#include "dialog_state.h"
#include "main_window_driver.h"
#include "message_box_watcher.h"
#include "modal_dialogs.h"
#include "realm_directory.h"
#include "resource_ids.h"
#include "sample_configurations.h"
#include "scripted_directory.h"
#include "view_driver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <sstream>

namespace {

// The three-realm sample's forests as the directory service answers them: the machine in
// corp.riverton.test, its child eu.corp.riverton.test, and a two-way forest trust with lab.ashgrove.test.
ScriptedDirectory ThreeRealmForests()
{
    ScriptedDirectory directory;
    const std::uint32_t bothWays = kDsDomainDirectOutbound | kDsDomainDirectInbound;
    SetMachine(directory, "corp.riverton.test");
    SetKdcs(directory, "corp.riverton.test", {"dc1.corp.riverton.test", "dc2.corp.riverton.test"});
    SetKdcs(directory, "eu.corp.riverton.test", {"dc1.eu.corp.riverton.test"});
    SetKdcs(directory, "lab.ashgrove.test", {"kdc1.lab.ashgrove.test", "kdc2.lab.ashgrove.test",
                                             "kdc3.lab.ashgrove.test", "kdc4.lab.ashgrove.test"});
    SetTrusts(directory, "dc1.corp.riverton.test",
              {TrustRecord(std::string("corp.riverton.test"), kDsDomainInForest),
               TrustRecord(std::string("eu.corp.riverton.test"), kDsDomainInForest | bothWays),
               TrustRecord(std::string("lab.ashgrove.test"), bothWays, kTrustAttributeForestTransitive)});
    SetTrusts(directory, "dc1.eu.corp.riverton.test", {TrustRecord(std::string("eu.corp.riverton.test"), kDsDomainInForest)});
    SetTrusts(directory, "kdc1.lab.ashgrove.test", {TrustRecord(std::string("lab.ashgrove.test"), kDsDomainInForest)});
    return directory;
}

void SelectOnly(HWND mainWindow, int listId, const std::string& text)
{
    SelectItemsByText(GetDlgItem(mainWindow, listId), {text});
}

class ConfigViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        TheRealmDirectory() = RealmDirectory{};
        ScriptedDirectory directory = ThreeRealmForests();
        const auto boxes = AnswerMessageBoxes([&] { RunDiscovery(main.window, ScriptedPlatform(directory)); });
        ASSERT_TRUE(boxes.empty());
        ASSERT_EQ(TheRealmDirectory().kdcTable.size(), 3u);
    }
    void TearDown() override { TheRealmDirectory() = RealmDirectory{}; }

    void Run(const std::vector<KeyStep>& steps)
    {
        const KeyboardSession outcome = RunKeyboardSession(main.window, steps);
        EXPECT_FALSE(outcome.timedOut) << "stuck at step " << outcome.stepsRun;
        EXPECT_EQ(outcome.stepsRun, steps.size());
    }

    // The three-realm sample's choices, made with the panel's buttons and the controls.
    void ChooseAsInTheThreeRealmSample()
    {
        SelectItemsByText(main.Control(IDC_AVAILABLE_LIST), {"corp.riverton.test", "eu.corp.riverton.test", "lab.ashgrove.test"});
        PressButton(main.window, IDC_ADD);
        SelectOnly(main.window, IDC_SELECTED_LIST, "d-- lab.ashgrove.test");
        PressButton(main.window, IDC_CLIENT_REALM);
        SelectOnly(main.window, IDC_SELECTED_LIST, "--- corp.riverton.test");
        PressButton(main.window, IDC_DEFAULT_REALM);
        SelectOnly(main.window, IDC_SELECTED_LIST, "--- eu.corp.riverton.test");
        PressButton(main.window, IDC_SERVER_REALM);
        SetDlgItemTextA(main.window, IDC_TGS_ENCTYPES, "aes256-cts-hmac-sha1-96, rc4-hmac");
        SendMessageA(main.Control(IDC_FORWARDABLE_TRUE), BM_CLICK, 0, 0);
    }

    TestMainWindow main;
};

}  // namespace

TEST_F(ConfigViewTest, ShowsTheThreeRealmSampleInCrLfForm)
{
    ChooseAsInTheThreeRealmSample();
    ASSERT_EQ(ItemTexts(main.Control(IDC_SELECTED_LIST)),
              (std::vector<std::string>{"--c lab.ashgrove.test", "d-- corp.riverton.test", "-s- eu.corp.riverton.test"}));
    const ViewVisit visit = VisitConfigView(main.window);
    ASSERT_TRUE(visit.found);
    EXPECT_EQ(visit.caption, "Kerberos Configuration");
    EXPECT_EQ(visit.text, WithCrLf(kThreeRealmsText));
    for (std::size_t i = 0; i < visit.text.size(); ++i) {
        if (visit.text[i] == '\n') {
            ASSERT_TRUE(i > 0 && visit.text[i - 1] == '\r') << "lone LF at " << i;
        }
    }
}

TEST_F(ConfigViewTest, EmptyForAnEmptySelection)
{
    const ViewVisit visit = VisitConfigView(main.window);
    ASSERT_TRUE(visit.found);
    EXPECT_EQ(visit.text, "");
}

TEST_F(ConfigViewTest, EnterLeavesItOpenEscapeClosesItAndNothingIsSelected)
{
    ChooseAsInTheThreeRealmSample();
    const ViewVisit visit = VisitConfigView(main.window);
    ASSERT_TRUE(visit.found);
    EXPECT_TRUE(visit.focusInEdit);
    EXPECT_EQ(visit.selectionStart, visit.selectionEnd) << "text is selected when shown";
    EXPECT_TRUE(visit.openAfterEnter);
    EXPECT_TRUE(visit.closedByEscape);
    EXPECT_FALSE(visit.forced);
    // The modal view disabled its owner only while it was open.
    EXPECT_TRUE(IsWindowEnabled(main.window));
}

TEST_F(ConfigViewTest, EveryOpeningGeneratesAfresh)
{
    SelectItemsByText(main.Control(IDC_AVAILABLE_LIST), {"lab.ashgrove.test"});
    PressButton(main.window, IDC_ADD);
    const std::string first = VisitConfigView(main.window).text;
    EXPECT_EQ(first, WithCrLf("[libdefaults]\ndefault_realm = LAB.ASHGROVE.TEST\n\n[realms]\nLAB.ASHGROVE.TEST = {\n"
                              "    kdc = kdc1.lab.ashgrove.test\n    kdc = kdc2.lab.ashgrove.test\n"
                              "    kdc = kdc3.lab.ashgrove.test\n}\n\n"));
    SendMessageA(main.Control(IDC_FORWARDABLE_FALSE), BM_CLICK, 0, 0);
    SelectItemsByText(main.Control(IDC_AVAILABLE_LIST), {"eu.corp.riverton.test"});
    PressButton(main.window, IDC_ADD);
    const std::string second = VisitConfigView(main.window).text;
    EXPECT_NE(second.find("forwardable = false\r\n"), std::string::npos);
    EXPECT_NE(second.find("EU.CORP.RIVERTON.TEST = {\r\n    kdc = dc1.eu.corp.riverton.test\r\n}\r\n"), std::string::npos);
    // Unchanged controls, unchanged text.
    EXPECT_EQ(VisitConfigView(main.window).text, second);
}

TEST_F(ConfigViewTest, ReadsTheControlsAsTheyAre)
{
    ChooseAsInTheThreeRealmSample();
    const DialogState state = ReadDialogState(main.window);
    EXPECT_EQ(state.selectedItems,
              (std::vector<std::string>{"--c lab.ashgrove.test", "d-- corp.riverton.test", "-s- eu.corp.riverton.test"}));
    EXPECT_EQ(state.tgsEnctypes, "aes256-cts-hmac-sha1-96, rc4-hmac");
    EXPECT_EQ(state.tktEnctypes, "");
    EXPECT_TRUE(state.forwardableTrue);
    EXPECT_FALSE(state.forwardableFalse);
    // Edit texts beyond the 200-byte buffer are cut to 199 characters.
    SetDlgItemTextA(main.window, IDC_TKT_ENCTYPES, std::string(300, 'x').c_str());
    EXPECT_EQ(ReadDialogState(main.window).tktEnctypes, std::string(199, 'x'));
}

namespace {

// Fifty realms, put straight into the directory and the Selected list in the sample's order.
SampleConfiguration PutFiftyRealms(HWND mainWindow)
{
    SampleConfiguration sample = FiftyRealms();
    TheRealmDirectory() = sample.directory;
    const HWND selected = GetDlgItem(mainWindow, IDC_SELECTED_LIST);
    for (std::size_t i = 0; i < sample.state.selectedItems.size(); ++i) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = &sample.state.selectedItems[i][0];
        SendMessageA(selected, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    SetDlgItemTextA(mainWindow, IDC_TGS_ENCTYPES, sample.state.tgsEnctypes.c_str());
    SetDlgItemTextA(mainWindow, IDC_TKT_ENCTYPES, sample.state.tktEnctypes.c_str());
    SendMessageA(GetDlgItem(mainWindow, IDC_FORWARDABLE_FALSE), BM_CLICK, 0, 0);
    return sample;
}

}  // namespace

TEST_F(ConfigViewTest, HoldsTextLongerThanAnEditsDefaultLimit)
{
    const SampleConfiguration sample = PutFiftyRealms(main.window);
    std::ostringstream expected;
    GenerateConfigText(sample.state, sample.directory, ConfigTextWriter{expected});
    ASSERT_GT(expected.str().size(), 32767u);
    EXPECT_EQ(VisitConfigView(main.window).text, WithCrLf(expected.str()));
}

// The boxes are read as they stand, and each View with MIT and Heimdal warns once of the routes
// that Heimdal's clients take only with referrals.
TEST_F(ConfigViewTest, EachViewWithMitAndHeimdalWarnsOnceOfTheRoutesLeftToReferrals)
{
    SampleConfiguration sample = PutFiftyRealms(main.window);
    SendMessageA(main.Control(IDC_HEIMDAL_CLIENTS), BM_CLICK, 0, 0);
    SendMessageA(main.Control(IDC_JAVA_CLIENTS), BM_CLICK, 0, 0);
    sample.state.heimdalClients = true;
    sample.state.javaClients = true;
    std::ostringstream expected;
    const std::size_t routes = GenerateConfigText(sample.state, sample.directory, ConfigTextWriter{expected});
    ASSERT_GT(routes, 1u);
    const std::string warning = "Warning: " + std::to_string(routes) +
                                " routes have two or more realms in between, written for MIT: Heimdal clients "
                                "take them only with referrals from their KDCs.";
    SetDlgItemTextA(main.window, IDC_STATUS_LOG, "");
    EXPECT_EQ(VisitConfigView(main.window).text, WithCrLf(expected.str()));
    VisitConfigView(main.window);
    EXPECT_EQ(WindowText(main.Control(IDC_STATUS_LOG)), warning + "\r\n" + warning + "\r\n");
    // Without MIT, Heimdal's layout and no warning.
    SendMessageA(main.Control(IDC_MIT_CLIENTS), BM_CLICK, 0, 0);
    SetDlgItemTextA(main.window, IDC_STATUS_LOG, "");
    VisitConfigView(main.window);
    EXPECT_EQ(WindowText(main.Control(IDC_STATUS_LOG)), "");
}

// From the keyboard alone: File > View by its letters, the focus in the text, Tab staying there,
// Ctrl+Home and Shift+End selecting the first line, Tab selecting all as in any dialog, Escape closing it with
// the focus back where it was.
TEST_F(ConfigViewTest, TheKeyboardAloneOpensReadsAndClosesIt)
{
    ChooseAsInTheThreeRealmSample();
    ShowWindow(main.window, SW_SHOWNORMAL);
    const auto edit = [] { return GetDlgItem(ShownDialogBox(), IDC_CONFIG_TEXT); };
    DWORD start = 1;
    DWORD end = 0;
    Run({Do([&] { SetFocus(main.Control(IDC_SELECTED_LIST)); }), AltKey('F'), Key('V'),
         WaitFor([] { return ShownDialogBox() != nullptr; }), Do([&] { EXPECT_EQ(GetFocus(), edit()); }),
         Key(VK_HOME, false, true), Key(VK_END, true), Do([&] {
             SendMessageA(edit(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
         }),
         Key(VK_TAB), Do([&] {
             EXPECT_EQ(GetFocus(), edit());
             DWORD allStart = 1;
             DWORD allEnd = 0;
             SendMessageA(edit(), EM_GETSEL, reinterpret_cast<WPARAM>(&allStart), reinterpret_cast<LPARAM>(&allEnd));
             EXPECT_EQ(allStart, 0u);
             EXPECT_EQ(allEnd, static_cast<DWORD>(GetWindowTextLengthA(edit())));
         }),
         Key(VK_ESCAPE), WaitFor([] { return ShownDialogBox() == nullptr; }),
         Do([&] { EXPECT_EQ(GetFocus(), main.Control(IDC_SELECTED_LIST)); })});
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, std::string("[libdefaults]").size());
}
