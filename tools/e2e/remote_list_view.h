// The program's list views read and changed from this process. Item texts and states travel in
// structures that must lie in the program's own memory, so each request goes through a block
// allocated there.
#ifndef QUILLMERE_E2E_REMOTE_LIST_VIEW_H
#define QUILLMERE_E2E_REMOTE_LIST_VIEW_H

#include <windows.h>

#include <string>
#include <vector>

// A list view of another process, with the bound for each of its answers.
struct RemoteList {
    HANDLE process;
    HWND list;
    DWORD boundMs;
};

// False, with the reason, when the program's list items can't be read with this driver's
// layout of LVITEMA: the two processes must be of the same architecture.
bool CheckSameArchitecture(HANDLE process, std::string& error);

bool ReadItemCount(const RemoteList& target, int& count, std::string& error);
// Every item's text, top to bottom, each read into 260 characters as the program reads them.
bool ReadItemTexts(const RemoteList& target, std::vector<std::string>& texts, std::string& error);
// The item's state bits under mask (LVM_GETITEMSTATE).
bool ReadItemState(const RemoteList& target, int index, UINT mask, UINT& state, std::string& error);
// LVM_SETITEMSTATE; index -1 changes every item.
bool WriteItemState(const RemoteList& target, int index, UINT state, UINT mask, std::string& error);
// Exactly the given items selected.
bool SelectItems(const RemoteList& target, const std::vector<int>& indexes, std::string& error);

#endif
