// System DLLs come from the system folder only, and a missing DLL or function the program needs
// ends it with a message that names it.
#include "system_library.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "module_folders.h"

namespace {

std::vector<std::string> refusals;

void RecordRefusal(const std::string& text)
{
    refusals.push_back(text);
}

class SystemFunctions : public testing::Test {
protected:
    void SetUp() override
    {
        refusals.clear();
        saved = systemLibraryRefusal;
        systemLibraryRefusal.refuse = RecordRefusal;
    }
    void TearDown() override { systemLibraryRefusal = saved; }

    SystemLibraryRefusal saved{};
};

}  // namespace

TEST(LoadSystemLibrary, LoadsEachOptionalOrSystemDllFromTheSystemFolder)
{
    for (const char* dll : {"netapi32.dll", "dnsapi.dll", "comctl32.dll", "uxtheme.dll", "kernel32.dll"}) {
        HMODULE library = LoadSystemLibrary(dll);
        ASSERT_NE(library, nullptr) << dll;
        EXPECT_TRUE(IsSystemDllFolder(ModuleFolder(library))) << ModuleFolder(library) << " " << dll;
    }
}

TEST(LoadSystemLibrary, IgnoresADllPlantedInTheProgramFolder)
{
    // The build puts qm_planted.dll beside the test program; the ordinary search finds it.
    HMODULE planted = LoadLibraryA("qm_planted.dll");
    ASSERT_NE(planted, nullptr) << "the planted DLL is missing from the program folder";
    FreeLibrary(planted);
    EXPECT_EQ(LoadSystemLibrary("qm_planted.dll"), nullptr);
    EXPECT_NE(GetLastError(), 0u) << "no reason left for the message";
    EXPECT_EQ(GetModuleHandleA("qm_planted.dll"), nullptr);
}

TEST_F(SystemFunctions, ARequiredOneThatIsMissingIsRefusedByNameAnOptionalOneIsNull)
{
    EXPECT_NE(RequireSystemFunction("netapi32.dll", "DsGetDcNameA"), nullptr);
    EXPECT_NE(FindSystemFunction("dnsapi.dll", "DnsQuery_A"), nullptr);
    EXPECT_EQ(FindSystemFunction("qm_planted.dll", "DllMain"), nullptr);
    EXPECT_EQ(FindSystemFunction("uxtheme.dll", "NoSuchFunction"), nullptr);
    EXPECT_TRUE(refusals.empty());

    EXPECT_EQ(RequireSystemFunction("netapi32.dll", "NoSuchFunction"), nullptr);
    EXPECT_EQ(RequireSystemFunction("qm_planted.dll", "DllMain"), nullptr);
    ASSERT_EQ(refusals.size(), 2u);
    EXPECT_EQ(refusals[0], "The system library netapi32.dll has no function NoSuchFunction, so Quillmere must end.");
    const std::string sentence =
        "The system library qm_planted.dll could not be loaded from the system folder, so Quillmere must end.\r\n\r\n";
    EXPECT_EQ(refusals[1].substr(0, sentence.size()), sentence);
    EXPECT_GT(refusals[1].size(), sentence.size()) << "no reason given";
}
