// Running the discovery once and showing what it found.
#include "discovery_run.h"

#include "realm_list.h"
#include "resource_ids.h"
#include "status_log.h"
#include "trust_walk.h"

#include <commctrl.h>

#include <string>

void RunDiscovery(HWND mainWindow, const DirectoryPlatform& platform)
{
    RealmDirectory& directory = TheRealmDirectory();
    try {
        WalkTrusts(platform, directory.kdcTable, directory.trustTable);
        LogInfo("Found " + std::to_string(directory.kdcTable.size()) + " realms.");
    } catch (const DiscoveryFailure&) {
        // The only failure the walk raises: the machine is in no domain.
        MessageBoxA(mainWindow, "No realm is found. Did you log in as a domain user?", "Warning",
                    MB_OK | MB_ICONWARNING);
        LogWarning("Didn't find any realms.");
    }
    ShowAvailableRealms(mainWindow, directory.kdcTable);
}

void ShowAvailableRealms(HWND mainWindow, const KdcTable& kdcTable)
{
    const HWND available = GetDlgItem(mainWindow, IDC_AVAILABLE_LIST);
    const RedrawPause pause(available);
    SendMessageA(available, LVM_DELETEALLITEMS, 0, 0);
    // Each realm goes in at the front; the sort then gives the order the user sees.
    for (const auto& realm : kdcTable)
        InsertItemText(available, 0, realm.first);
    SortRealmList(available);
}
