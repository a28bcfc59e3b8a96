// The size grip finds the visual-style functions in the system's library.
#include "visual_style_library.h"

#include <gtest/gtest.h>

#include "resizer.h"

TEST(VisualStyleLibrary, TheResizerFindsTheThreeVisualStyleFunctionsTheThreeVisualStyleFunctions)
{
    HWND window = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    const Resizer* resizer = AttachNewResizer(window);
    ASSERT_NE(resizer, nullptr);
    EXPECT_NE(resizer->openThemeData, nullptr);
    EXPECT_NE(resizer->drawThemeBackground, nullptr);
    EXPECT_NE(resizer->closeThemeData, nullptr);
    // Wine starts without a visual style, so its OpenThemeData gives no theme and the grip is classic.
    DestroyWindow(window);
}
