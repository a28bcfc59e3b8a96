// System DLLs come from the system folder only.
#include "system_library.h"

#include <gtest/gtest.h>

#include "module_folders.h"

TEST(LoadSystemLibrary, LoadsUxthemeFromTheSystemFolderBothWays)
{
    HMODULE searched = LoadSystemLibrary("uxtheme.dll");
    ASSERT_NE(searched, nullptr);
    EXPECT_TRUE(IsSystemDllFolder(ModuleFolder(searched))) << ModuleFolder(searched);
    HMODULE byPath = LoadFromSystemFolder("uxtheme.dll");
    ASSERT_NE(byPath, nullptr);
    EXPECT_EQ(byPath, searched);
}

TEST(LoadSystemLibrary, IgnoresADllPlantedInTheProgramFolder)
{
    // The build puts qm_planted.dll beside the test program; the ordinary search finds it.
    HMODULE planted = LoadLibraryA("qm_planted.dll");
    ASSERT_NE(planted, nullptr) << "the planted DLL is missing from the program folder";
    FreeLibrary(planted);
    EXPECT_EQ(LoadSystemLibrary("qm_planted.dll"), nullptr);
    EXPECT_EQ(LoadFromSystemFolder("qm_planted.dll"), nullptr);
}
