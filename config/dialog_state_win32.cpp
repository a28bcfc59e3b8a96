// Reads the main window's Selected list, enctype edits, forwardable buttons and client families into plain values.
#include "dialog_state.h"

#include "control_texts.h"
#include "list_item_text.h"
#include "realm_directory.h"
#include "resource_ids.h"
#include "status_log.h"

#include <commctrl.h>

#include <new>
#include <sstream>
#include <stdexcept>
#include <string>

namespace {

// The chooser keeps the edits' texts within kEncTypeTextCapacity.
std::string EditText(HWND mainWindow, int id)
{
    char buffer[kEncTypeTextCapacity] = {};
    GetDlgItemTextA(mainWindow, id, buffer, static_cast<int>(sizeof buffer));
    return buffer;
}

}  // namespace

DialogState ReadDialogState(HWND mainWindow)
{
    DialogState state;
    const HWND list = GetDlgItem(mainWindow, IDC_SELECTED_LIST);
    for (int index = -1;;) {
        index = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(index), LVNI_ALL));
        if (index < 0)
            break;
        state.selectedItems.push_back(ReadItemText(list, index));
    }
    state.tktEnctypes = EditText(mainWindow, IDC_TKT_ENCTYPES);
    state.tgsEnctypes = EditText(mainWindow, IDC_TGS_ENCTYPES);
    state.forwardableTrue = IsDlgButtonChecked(mainWindow, IDC_FORWARDABLE_TRUE) == BST_CHECKED;
    state.forwardableFalse = IsDlgButtonChecked(mainWindow, IDC_FORWARDABLE_FALSE) == BST_CHECKED;
    state.mitClients = IsDlgButtonChecked(mainWindow, IDC_MIT_CLIENTS) == BST_CHECKED;
    state.heimdalClients = IsDlgButtonChecked(mainWindow, IDC_HEIMDAL_CLIENTS) == BST_CHECKED;
    state.javaClients = IsDlgButtonChecked(mainWindow, IDC_JAVA_CLIENTS) == BST_CHECKED;
    return state;
}

std::size_t GenerateConfig(HWND mainWindow, const ConfigTextWriter& writer)
{
    return GenerateConfigText(ReadDialogState(mainWindow), TheRealmDirectory(), writer);
}

std::string GeneratedConfigText(HWND mainWindow)
{
    std::ostringstream out;
    // A stream that can't grow swallows the failure and takes no more text: a configuration cut
    // short must not pass for the whole one.
    out.exceptions(std::ios::badbit);
    try {
        const std::size_t referralRoutes = GenerateConfig(mainWindow, ConfigTextWriter{out});
        std::string text = out.str();
        if (referralRoutes != 0)
            LogWarning(std::to_string(referralRoutes) + (referralRoutes == 1 ? " route has" : " routes have") +
                       " two or more realms in between, written for MIT: Heimdal clients take " +
                       (referralRoutes == 1 ? "it" : "them") + " only with referrals from their KDCs.");
        return text;
    } catch (const std::ios_base::failure&) {
        throw std::bad_alloc();
    } catch (const std::length_error&) {
        throw std::bad_alloc();
    }
}
