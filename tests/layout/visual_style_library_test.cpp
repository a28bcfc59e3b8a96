// System DLLs come from the system folder only.
#include "visual_style_library.h"

#include <gtest/gtest.h>

#include "dialog_layouts.h"
#include "module_folders.h"
#include "resizer.h"

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

TEST(LoadSystemLibrary, TheResizerFindsTheThreeVisualStyleFunctions)
{
    HWND window = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    SetUpConfigViewLayout(window);
    const Resizer* resizer = GetResizer(window);
    ASSERT_NE(resizer, nullptr);
    EXPECT_NE(resizer->openThemeData, nullptr);
    EXPECT_NE(resizer->drawThemeBackground, nullptr);
    EXPECT_NE(resizer->closeThemeData, nullptr);
    // Wine starts without a visual style, so its OpenThemeData gives no theme and the grip is classic.
    DestroyWindow(window);
}
