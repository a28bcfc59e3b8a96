// File > Save for real: the written file, the one-step replacement, and every failure path.
#include "save_configuration.h"

#include "dialog_state.h"
#include "main_window_driver.h"
#include "message_box_watcher.h"
#include "modal_dialogs.h"
#include "realm_directory.h"
#include "resource_ids.h"
#include "status_log.h"
#include "system_error_text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

// The path the stand-in for the Save As dialog answers with; empty: the user cancels.
std::string chosenPath;
int timesAsked = 0;

bool AnswerChosenPath(HWND, std::string& path)
{
    ++timesAsked;
    path = chosenPath;
    return !chosenPath.empty();
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// ReplaceFileA's calls, each answered by replaceBehaviour.
struct ReplaceCall {
    std::string replaced, replacement, backup;
};
std::vector<ReplaceCall> replaceCalls;
decltype(SaveFileSystem::replaceFile) replaceBehaviour = nullptr;

BOOL WINAPI RecordReplace(LPCSTR replaced, LPCSTR replacement, LPCSTR backup, DWORD flags, LPVOID exclude,
                          LPVOID reserved)
{
    replaceCalls.push_back({replaced, replacement, backup != nullptr ? backup : ""});
    return replaceBehaviour(replaced, replacement, backup, flags, exclude, reserved);
}

class SaveConfigurationTest : public testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "qm-save-" + std::to_string(GetCurrentProcessId()) + "-" +
                 testing::UnitTest::GetInstance()->current_test_info()->name();
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
        TheRealmDirectory() = RealmDirectory{};
        AddRealm(TheRealmDirectory().kdcTable, "corp.test", {"dc1.corp.test"});
        ShowRealms(main.window, {"corp.test"});
        SelectItemsByText(main.Control(IDC_AVAILABLE_LIST), {"corp.test"});
        PressButton(main.window, IDC_ADD);
        SendMessageA(main.Control(IDC_FORWARDABLE_TRUE), BM_CLICK, 0, 0);
        timesAsked = 0;
        replaceCalls.clear();
        replaceBehaviour = saveFileSystem.replaceFile;
        saveFileSystem.replaceFile = RecordReplace;
    }
    void TearDown() override
    {
        saveFileSystem.replaceFile = replaceBehaviour;
        for (const std::string& name : FilesIn(folder))
            DeleteFileA((folder + "\\" + name).c_str());
        RemoveDirectoryA(folder.c_str());
        TheRealmDirectory() = RealmDirectory{};
        chosenPath.clear();
    }

    std::vector<SeenMessageBox> Save(const std::string& path)
    {
        chosenPath = path;
        return AnswerMessageBoxes([&] { SaveConfigurationWith(main.window, &AnswerChosenPath); });
    }

    std::string LogText() { return WindowText(main.Control(IDC_STATUS_LOG)); }

    std::string folder;
    TestMainWindow main;
};

const char kExpectedText[] = "[libdefaults]\ndefault_realm = CORP.TEST\nforwardable = true\n\n"
                             "[realms]\nCORP.TEST = {\n    kdc = dc1.corp.test\n}\n\n";

}  // namespace

TEST_F(SaveConfigurationTest, WritesTheViewsTextWithLfLineEndsAndLogsIt)
{
    const std::string path = folder + "\\krb5.conf";
    EXPECT_TRUE(Save(path).empty());
    EXPECT_EQ(timesAsked, 1);
    EXPECT_EQ(ReadFile(path), kExpectedText);
    EXPECT_EQ(ReadFile(path), GeneratedConfigText(main.window));
    EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"krb5.conf"});
    EXPECT_EQ(LogText(), "Info: Saved the configuration to " + path + ".\r\n");
    EXPECT_TRUE(replaceCalls.empty()) << "a new file is moved into place";
}

TEST_F(SaveConfigurationTest, ReplacesAnExistingFileWhole)
{
    const std::string path = folder + "\\krb5.ini";
    WriteFile(path, std::string(10000, '#') + "\n");
    EXPECT_TRUE(Save(path).empty());
    EXPECT_EQ(ReadFile(path), kExpectedText);
    EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"krb5.ini"}) << "neither the new file's nor the old one's";
    // ReplaceFileA, which keeps the old file's identity, with a backup name beside it.
    ASSERT_EQ(replaceCalls.size(), 1u);
    EXPECT_EQ(replaceCalls[0].replaced, path);
    EXPECT_EQ(replaceCalls[0].replacement.rfind(folder + "\\", 0), 0u) << replaceCalls[0].replacement;
    EXPECT_EQ(replaceCalls[0].backup.rfind(folder + "\\", 0), 0u) << replaceCalls[0].backup;
}

namespace {

// ReplaceFileA's documented failures, leaving the files as its page says; given a backup name,
// the last two set the old file aside under it, and the last also has its name taken by then.
struct ReplaceFailure {
    DWORD code;
    bool setAside;
    bool nameTaken;
};
const ReplaceFailure kReplaceFailures[] = {
    {ERROR_UNABLE_TO_REMOVE_REPLACED, false, false},   {ERROR_UNABLE_TO_MOVE_REPLACEMENT, false, false},
    {ERROR_ACCESS_DENIED, false, false},               {ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, true, false},
    {ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, true, true},
};
const ReplaceFailure* replaceFailure = nullptr;

BOOL WINAPI FailToReplace(LPCSTR replaced, LPCSTR, LPCSTR backup, DWORD, LPVOID, LPVOID)
{
    if (replaceFailure->setAside)
        MoveFileA(replaced, backup);
    if (replaceFailure->nameTaken)
        CreateDirectoryA(replaced, nullptr);
    SetLastError(replaceFailure->code);
    return FALSE;
}

}  // namespace

TEST_F(SaveConfigurationTest, EveryFailureOfTheReplacementKeepsTheOldFileAndSaysWhere)
{
    const std::string path = folder + "\\krb5.conf";
    const std::string ours = "The configuration was not saved to " + path + ".\r\nCould not replace " + path +
                             " with the new file.";
    replaceBehaviour = FailToReplace;
    for (const ReplaceFailure& row : kReplaceFailures) {
        replaceFailure = &row;
        SCOPED_TRACE(std::to_string(row.code) + (row.nameTaken ? ", name taken" : ""));
        WriteFile(path, "old\n");
        replaceCalls.clear();
        const auto boxes = Save(path);
        ASSERT_EQ(boxes.size(), 1u);
        ASSERT_EQ(replaceCalls.size(), 1u);
        const std::string& backup = replaceCalls[0].backup;
        std::string expected = ours + "\r\n\r\n" + SystemErrorText(row.code);
        if (row.setAside)
            expected = ours + " The system set the old file aside but could not move the new one in; the old file"
                              " is back in its place.";
        if (row.nameTaken) {
            expected = ours + " The old file was set aside and could not be put back: it is " + backup + ".";
            EXPECT_EQ(ReadFile(backup), "old\n");
            EXPECT_EQ(FilesIn(folder).size(), 2u) << "the old file and the folder in its place, no new file";
            RemoveDirectoryA(path.c_str());
            DeleteFileA(backup.c_str());
        } else {
            EXPECT_EQ(ReadFile(path), "old\n");
            EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"krb5.conf"});
        }
        EXPECT_EQ(boxes[0].text.substr(0, expected.size()), expected);
        EXPECT_EQ(LogText(), "");
    }
}

// The program's text is in the ANSI code page (the tests run in 1252, where "\xe9" is "é");
// Linux and Java clients read krb5.conf as UTF-8, so the file gets the UTF-8 bytes, without a
// byte-order mark, and the view keeps the ANSI text.
TEST_F(SaveConfigurationTest, NonAsciiNamesAreWrittenInUtf8)
{
    ASSERT_EQ(GetACP(), 1252u) << "cmake/wine-run pins code page 1252; the bytes below are written for it";
    AddRealm(TheRealmDirectory().kdcTable, "caf\xe9.test", {"kdc.caf\xe9.test"});
    ShowRealms(main.window, {"caf\xe9.test"});
    SelectItemsByText(main.Control(IDC_AVAILABLE_LIST), {"caf\xe9.test"});
    PressButton(main.window, IDC_ADD);
    const std::string path = folder + "\\krb5.conf";
    EXPECT_TRUE(Save(path).empty());
    const std::string written = ReadFile(path);
    EXPECT_NE(written.find("CAF\xc3\xa9.TEST = {\n    kdc = kdc.caf\xc3\xa9.test\n}\n"), std::string::npos) << written;
    EXPECT_EQ(written.find('\xe9'), std::string::npos) << "no byte of the ANSI code page is left";
    EXPECT_EQ(written.rfind("[libdefaults]", 0), 0u) << "no byte-order mark";
    EXPECT_NE(GeneratedConfigText(main.window).find("CAF\xe9.TEST = {"), std::string::npos) << "the view's text";
}

TEST_F(SaveConfigurationTest, CancelChangesNothing)
{
    EXPECT_TRUE(Save("").empty());
    EXPECT_EQ(timesAsked, 1);
    EXPECT_TRUE(FilesIn(folder).empty());
    EXPECT_EQ(LogText(), "");
}

TEST_F(SaveConfigurationTest, MissingFolderIsReportedInOurWordsThenTheSystems)
{
    const std::string missing = folder + "\\no such folder";
    const std::string path = missing + "\\krb5.conf";
    const auto boxes = Save(path);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].owner, main.window);
    EXPECT_EQ(boxes[0].icon, BoxIcon::Error);
    const std::string ours = "The configuration was not saved to " + path + ".\r\nCould not create a temporary file in " +
                             missing + ".\r\n\r\n";
    ASSERT_EQ(boxes[0].text.substr(0, ours.size()), ours);
    // The temporary file's name is asked of the folder, which answers "invalid directory".
    EXPECT_EQ(boxes[0].text.substr(ours.size()), SystemErrorText(ERROR_DIRECTORY));
    EXPECT_TRUE(FilesIn(folder).empty());
    EXPECT_EQ(LogText(), "");
}

TEST_F(SaveConfigurationTest, TargetThatCannotBeReplacedStaysIntactAndNoTemporaryFileIsLeft)
{
    // A folder of the target's name cannot be replaced by a file.
    const std::string path = folder + "\\krb5.conf";
    ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
    WriteFile(path + "\\inside", "old");
    const auto boxes = Save(path);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find("Could not replace " + path + " with the new file."), std::string::npos) << boxes[0].text;
    EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"krb5.conf"});
    EXPECT_EQ(ReadFile(path + "\\inside"), "old");
    DeleteFileA((path + "\\inside").c_str());
    RemoveDirectoryA(path.c_str());
}

TEST_F(SaveConfigurationTest, TargetInUseStaysIntact)
{
    const std::string path = folder + "\\krb5.conf";
    WriteFile(path, "old\n");
    // Another program holds the file open and shares nothing.
    const HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const auto boxes = Save(path);
    CloseHandle(held);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find("Could not replace " + path), std::string::npos) << boxes[0].text;
    EXPECT_EQ(ReadFile(path), "old\n");
    EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"krb5.conf"});
    EXPECT_EQ(LogText(), "");
}

// The folder comes from the test's runner, which makes it refuse new files (see
// refused-folder); it holds an old krb5.conf.
TEST_F(SaveConfigurationTest, FolderThatRefusesWritingKeepsTheOldFile)
{
    const char* refused = std::getenv("QM_REFUSED_FOLDER");
    if (refused == nullptr)
        GTEST_SKIP() << "QM_REFUSED_FOLDER is not set: run through the refused-folder runner";
    const std::string path = std::string(refused) + "\\krb5.conf";
    const std::string old = ReadFile(path);
    ASSERT_FALSE(old.empty()) << "the runner left no old file in " << refused;
    const std::string probe = std::string(refused) + "\\probe";
    const HANDLE created = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (created != INVALID_HANDLE_VALUE) {
        CloseHandle(created);
        DeleteFileA(probe.c_str());
        FAIL() << refused << " accepts new files: the runner could not make it refuse writing";
    }
    const auto boxes = Save(path);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find("Could not create a temporary file in " + std::string(refused) + "."), std::string::npos)
        << boxes[0].text;
    EXPECT_EQ(ReadFile(path), old);
    EXPECT_EQ(FilesIn(refused), std::vector<std::string>{"krb5.conf"});
    EXPECT_EQ(LogText(), "");
}

namespace {

// A write that reports success and takes nothing, with an old, unrelated error left behind.
BOOL WINAPI WriteNothing(HANDLE, LPCVOID, DWORD, LPDWORD written, LPOVERLAPPED)
{
    *written = 0;
    SetLastError(ERROR_ACCESS_DENIED);
    return TRUE;
}

}  // namespace

TEST_F(SaveConfigurationTest, AWriteThatTakesNothingGivesOurReasonNotAStaleError)
{
    const SaveFileSystem saved = saveFileSystem;
    saveFileSystem.writeFile = WriteNothing;
    const std::string path = folder + "\\krb5.conf";
    const std::vector<SeenMessageBox> boxes = Save(path);
    saveFileSystem = saved;
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_NE(boxes[0].text.find("The configuration was not saved to " + path + ".\r\nCould not write the temporary file "),
              std::string::npos)
        << boxes[0].text;
    EXPECT_NE(boxes[0].text.find(" bytes and gave no reason."), std::string::npos) << boxes[0].text;
    EXPECT_EQ(boxes[0].text.find(SystemErrorText(ERROR_ACCESS_DENIED)), std::string::npos) << boxes[0].text;
    EXPECT_EQ(boxes[0].text.find(SystemErrorText(0)), std::string::npos) << boxes[0].text;
    EXPECT_TRUE(FilesIn(folder).empty()) << "a temporary file was left";
}

namespace {

// What the Save As dialog showed, and the path it answered after a name without extension.
struct SaveAsVisit {
    std::string proposed;
    std::vector<std::string> filters;
    bool answered = false;
    std::string path;
};

BOOL CALLBACK ReadSaveAsChild(HWND child, LPARAM lParam)
{
    auto* visit = reinterpret_cast<SaveAsVisit*>(lParam);
    char className[32] = {};
    GetClassNameA(child, className, static_cast<int>(sizeof className));
    // The file type box of the standard dialog is cmb1; the file name box is edt1 or cmb13.
    if (lstrcmpiA(className, "ComboBox") == 0 && GetDlgCtrlID(child) == 0x470) {
        const auto count = static_cast<int>(SendMessageA(child, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[128] = {};
            SendMessageA(child, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            visit->filters.emplace_back(text);
        }
    }
    return TRUE;
}

HWND FileNameControl(HWND dialog)
{
    const HWND combo = GetDlgItem(dialog, 0x47c);
    return combo != nullptr ? combo : GetDlgItem(dialog, 0x480);
}

}  // namespace

TEST_F(SaveConfigurationTest, TheSaveAsDialogProposesKrb5ConfOffersTheFiltersAndAddsConf)
{
    SaveAsVisit visit;
    const std::string typed = folder + "\\kerberos";
    const auto read = [&](HWND dialog) {
        visit.proposed = WindowText(FileNameControl(dialog));
        EnumChildWindows(dialog, &ReadSaveAsChild, reinterpret_cast<LPARAM>(&visit));
        SetWindowTextA(FileNameControl(dialog), typed.c_str());
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    };
    const std::vector<DialogStep> steps{read};
    const ModalOutcome outcome = RunModalDialog(
        [&] {
            visit.answered = AskSaveAsPath(main.window, visit.path);
            return INT_PTR{0};
        },
        steps);
    EXPECT_TRUE(RanToTheEnd(outcome, steps));
    EXPECT_EQ(visit.proposed, "krb5.conf");
    EXPECT_EQ(visit.filters, (std::vector<std::string>{"Kerberos configuration (*.conf; *.ini)", "All files"}));
    EXPECT_TRUE(visit.answered);
    EXPECT_EQ(visit.path, typed + ".conf");
}
