// The discovery run at start-up: the trust walk, its report, and the Available list.
#ifndef QUILLMERE_DISCOVERY_RUN_H
#define QUILLMERE_DISCOVERY_RUN_H

#include "directory_platform.h"
#include "realm_directory.h"

#include <windows.h>

// Fills the realm directory through platform, logs "Found N realms." or, for a machine in no
// domain, shows the warning box and logs "Didn't find any realms.", then lists the realms.
void RunDiscovery(HWND mainWindow, const DirectoryPlatform& platform);
// Replaces IDC_AVAILABLE_LIST's contents with the realms of kdcTable in the realm name order.
void ShowAvailableRealms(HWND mainWindow, const KdcTable& kdcTable);

#endif
