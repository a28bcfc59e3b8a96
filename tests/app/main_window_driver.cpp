// Driving the main window's controls with messages.
#include "main_window_driver.h"

#include "discovery_run.h"
#include "main_window.h"
#include "status_log.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>

TestMainWindow::TestMainWindow(bool shown)
{
    ResetStatusLogForTests();
    window = CreateMainWindow(GetModuleHandleA(nullptr));
    if (window == nullptr)
        throw std::runtime_error("the main window was not created");
    if (shown) {
        ShowWindow(window, SW_SHOWNORMAL);
        UpdateWindow(window);
    }
}

TestMainWindow::~TestMainWindow()
{
    if (IsWindow(window))
        DestroyWindow(window);
    ForgetQuitMessage();
    ResetStatusLogForTests();
}

void ForgetQuitMessage()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

std::string WindowText(HWND window)
{
    const auto length = static_cast<std::size_t>(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0));
    std::string text(length + 1, '\0');
    SendMessageA(window, WM_GETTEXT, static_cast<WPARAM>(text.size()), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(length);
    return text;
}

std::vector<std::string> ItemTexts(HWND list)
{
    std::vector<std::string> texts;
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        char buffer[2048] = {};
        LVITEMA item = {};
        item.pszText = buffer;
        item.cchTextMax = static_cast<int>(sizeof buffer);
        SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        texts.emplace_back(buffer);
    }
    return texts;
}

std::vector<int> SelectedIndexes(HWND list)
{
    std::vector<int> indexes;
    for (int index = -1;;) {
        index = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(index), LVNI_SELECTED));
        if (index < 0)
            return indexes;
        indexes.push_back(index);
    }
}

void SelectItems(HWND list, const std::vector<int>& indexes)
{
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = 0;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    item.state = LVIS_SELECTED;
    for (int index : indexes)
        SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void SelectItemsByText(HWND list, const std::vector<std::string>& texts)
{
    const std::vector<std::string> items = ItemTexts(list);
    std::vector<int> indexes;
    for (const std::string& text : texts) {
        const auto found = std::find(items.begin(), items.end(), text);
        if (found == items.end())
            throw std::runtime_error("no item \"" + text + "\" to select");
        indexes.push_back(static_cast<int>(found - items.begin()));
    }
    SelectItems(list, indexes);
}

void ShowRealms(HWND mainWindow, const std::vector<std::string>& names)
{
    KdcTable kdcTable;
    for (const std::string& name : names)
        kdcTable[name] = {"kdc." + name};
    ShowAvailableRealms(mainWindow, kdcTable);
}

void PressButton(HWND mainWindow, int id)
{
    SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(mainWindow, id)));
}
