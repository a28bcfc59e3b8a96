// The discovery run at start-up: the trust walk with its directory calls made on worker threads,
// its report, and the Available list. The window takes its messages all the while.
#ifndef QUILLMERE_DISCOVERY_RUN_H
#define QUILLMERE_DISCOVERY_RUN_H

#include "directory_platform.h"
#include "realm_directory.h"

#include <windows.h>

#include <cstddef>

// A round's answers, posted to the main window by its last worker; lParam goes to TakeDiscoveryReply.
constexpr UINT kDiscoveryReplyMessage = WM_APP + 1;
// The main window's timer that lets the other workers join a round whose calls wait; its
// WM_TIMER goes to TakeJoinTick.
constexpr UINT_PTR kDiscoveryJoinTimer = 1;

// The program makes at most this many directory calls at once. Sixteen overlap the waits of a
// large forest's level (900 enumerations of 5 ms take some 0.3 s), while a domain controller or
// DNS server gets no more than 16 requests at a time from one workstation, the pool holds no more
// than 16 threads in blocking calls, and an unreachable domain's time-out holds only one of them.
constexpr std::size_t kDirectoryCallsAtOnce = 16;

// Starts the discovery through platform, with at most callsAtOnce calls in flight. When it ends
// it fills the realm directory, logs "Found N realms." or, for a machine in no domain, shows the
// warning box and logs "Didn't find any realms.", then lists the realms. Meanwhile the
// placeholder item counts the realms found. Without memory to go on, the search stops with a
// warning and shows what it found so far.
void StartDiscovery(HWND mainWindow, const DirectoryPlatform& platform, std::size_t callsAtOnce);
// Takes a kDiscoveryReplyMessage; the answers of an earlier run are dropped.
void TakeDiscoveryReply(LPARAM reply);
void TakeJoinTick();
bool DiscoveryRunning();
// Replaces IDC_AVAILABLE_LIST's contents with the realms of kdcTable in the realm name order.
void ShowAvailableRealms(HWND mainWindow, const KdcTable& kdcTable);

#endif
