// The delay-load hook: system DLLs from the system folder only, and a clear refusal for a DLL or
// a function that is not there.
#include "delay_load_hook.h"
#include "module_folders.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <delayimp.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> refusals;

void RecordRefusal(const std::string& text)
{
    refusals.push_back(text);
}

class DelayLoadHook : public testing::Test {
protected:
    void SetUp() override
    {
        refusals.clear();
        saved = delayLoadRefusal;
        delayLoadRefusal.refuse = RecordRefusal;
    }
    void TearDown() override { delayLoadRefusal = saved; }

    static DelayLoadInfo Info(const char* dll)
    {
        DelayLoadInfo info = {};
        info.cb = sizeof info;
        info.szDll = dll;
        return info;
    }

    DelayLoadRefusal saved{};
};

}  // namespace

TEST_F(DelayLoadHook, LoadsEachSystemDllFromTheSystemFolder)
{
    for (const char* dll : {"netapi32.dll", "dnsapi.dll", "comctl32.dll"}) {
        DelayLoadInfo info = Info(dll);
        const auto library = reinterpret_cast<HMODULE>(__pfnDliNotifyHook2(dliNotePreLoadLibrary, &info));
        ASSERT_NE(library, nullptr) << dll;
        EXPECT_TRUE(IsSystemDllFolder(ModuleFolder(library))) << ModuleFolder(library) << dll;
    }
    EXPECT_TRUE(refusals.empty());
}

// Returning null would let the helper search the ordinary way, the program's folder first.
TEST_F(DelayLoadHook, RefusesADllThatIsOnlyInTheProgramsFolder)
{
    const std::string planted = ModuleFolder(nullptr) + "\\qm_planted.dll";
    ASSERT_NE(GetFileAttributesA(planted.c_str()), INVALID_FILE_ATTRIBUTES) << "no " << planted;
    DelayLoadInfo info = Info("qm_planted.dll");
    EXPECT_EQ(__pfnDliNotifyHook2(dliNotePreLoadLibrary, &info), nullptr);
    ASSERT_EQ(refusals.size(), 1u);
    const std::string sentence =
        "The system library qm_planted.dll could not be loaded from the system folder, so Quillmere must end.\r\n\r\n";
    EXPECT_EQ(refusals[0].substr(0, sentence.size()), sentence);
    EXPECT_GT(refusals[0].size(), sentence.size()) << "no reason given";
    EXPECT_EQ(GetModuleHandleA("qm_planted.dll"), nullptr);
}

TEST_F(DelayLoadHook, NamesAMissingFunctionByNameOrNumber)
{
    DelayLoadInfo info = Info("netapi32.dll");
    info.dlp.fImportByName = TRUE;
    info.dlp.szProcName = "DsRoleGetPrimaryDomainInformation";
    EXPECT_EQ(__pfnDliFailureHook2(dliFailGetProc, &info), nullptr);
    info.dlp.fImportByName = FALSE;
    info.dlp.dwOrdinal = 345;
    EXPECT_EQ(__pfnDliFailureHook2(dliFailGetProc, &info), nullptr);
    EXPECT_EQ(refusals, (std::vector<std::string>{
                            "The system library netapi32.dll has no function DsRoleGetPrimaryDomainInformation, so "
                            "Quillmere must end.",
                            "The system library netapi32.dll has no function number 345, so Quillmere must end."}));
}

TEST_F(DelayLoadHook, LeavesEveryOtherStepToTheHelper)
{
    DelayLoadInfo info = Info("netapi32.dll");
    for (unsigned step : {dliStartProcessing, dliNotePreGetProcAddress, dliNoteEndProcessing})
        EXPECT_EQ(__pfnDliNotifyHook2(step, &info), nullptr) << step;
    EXPECT_TRUE(refusals.empty());
}
