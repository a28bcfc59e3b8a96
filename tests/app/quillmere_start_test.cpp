// The built quillmere.exe itself under Wine, with the simulated directory: it starts, discovers,
// warns, and exits with code 0; without a system DLL it needs, it says so and exits with code 1.
#include "remote_quillmere.h"
#include "resource_ids.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr DWORD kStartBoundMs = 60000;
constexpr DWORD kExitBoundMs = 30000;

std::string Forest(const char* name)
{
    const char* folder = std::getenv("QM_TEST_FORESTS");
    return std::string(folder != nullptr ? folder : ".") + "/" + name;
}

class QuillmereStartTest : public testing::Test {
protected:
    void TearDown() override { StopQuillmere(program); }

    void Start(const char* forest)
    {
        ASSERT_TRUE(StartQuillmere(Forest(forest), program)) << "error " << GetLastError();
        ASSERT_TRUE(WaitUntil(program, kStartBoundMs, [&] {
            program.mainWindow = FindProcessWindow(program, "QuillmereClass");
            return program.mainWindow != nullptr;
        })) << "no main window";
    }

    std::string Log() const { return RemoteWindowText(GetDlgItem(program.mainWindow, IDC_STATUS_LOG)); }

    void ExitThroughTheMenu()
    {
        PostMessageA(program.mainWindow, WM_COMMAND, MAKEWPARAM(IDM_FILE_EXIT, 0), 0);
        EXPECT_EQ(WaitForExit(program, kExitBoundMs), 0u);
    }

    RemoteQuillmere program;
};

}  // namespace

TEST_F(QuillmereStartTest, DiscoversTheForestListsItsRealmsAndExitsWithCodeZero)
{
    Start("small-forest.json");
    ASSERT_TRUE(WaitUntil(program, kStartBoundMs, [&] { return Log().find("Found ") != std::string::npos; }))
        << "log: " << Log();
    const std::string log = Log();
    EXPECT_EQ(log.rfind("Warning: Can't get KDC for domain gone.test. Reason: ", 0), 0u) << log;
    const std::string countLine = "Info: Found 3 realms.\r\n";
    ASSERT_GE(log.size(), countLine.size());
    EXPECT_EQ(log.substr(log.size() - countLine.size()), countLine) << log;
    EXPECT_EQ(RemoteItemTexts(program, GetDlgItem(program.mainWindow, IDC_AVAILABLE_LIST)),
              (std::vector<std::string>{"corp.example.test", "B.corp.example.test", "other.test"}));
    EXPECT_EQ(RemoteWindowText(program.mainWindow), "Quillmere");
    ExitThroughTheMenu();
}

TEST_F(QuillmereStartTest, MachineInNoDomainIsToldInAWarningBox)
{
    ASSERT_TRUE(StartQuillmere(Forest("empty.json"), program));
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil(program, kStartBoundMs, [&] {
        box = FindProcessWindow(program, "#32770", "Warning");
        return box != nullptr;
    })) << "no warning box";
    EXPECT_EQ(RemoteStaticText(box), "No realm is found. Did you log in as a domain user?");
    program.mainWindow = GetWindow(box, GW_OWNER);
    ASSERT_NE(program.mainWindow, nullptr);
    // The box comes before the log line.
    EXPECT_EQ(Log(), "");
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(WaitUntil(program, kStartBoundMs, [&] { return !Log().empty(); }));
    EXPECT_EQ(Log(), "Warning: Didn't find any realms.\r\n");
    EXPECT_TRUE(RemoteItemTexts(program, GetDlgItem(program.mainWindow, IDC_AVAILABLE_LIST)).empty());
    ExitThroughTheMenu();
}

// Run alone, with NETAPI32 disabled as if the system lacked it.
TEST_F(QuillmereStartTest, WithoutNetapi32AnErrorBoxNamesItAndTheProgramEndsWithCodeOne)
{
    ASSERT_TRUE(StartQuillmere(Forest("small-forest.json"), program)) << "error " << GetLastError();
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil(program, kStartBoundMs, [&] {
        box = FindProcessWindow(program, "#32770", "Error");
        return box != nullptr;
    })) << "no error box";
    const std::string sentence =
        "The system library netapi32.dll could not be loaded from the system folder, so Quillmere must end.\r\n\r\n";
    const std::string text = RemoteStaticText(box);
    EXPECT_EQ(text.substr(0, sentence.size()), sentence);
    EXPECT_GT(text.size(), sentence.size()) << "no reason given";
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(WaitForExit(program, kExitBoundMs), 1u);
}
