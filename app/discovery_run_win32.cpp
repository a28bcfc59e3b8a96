// Running the discovery once, its calls on the system thread pool, and showing what it found.
#include "discovery_run.h"

#include "main_window.h"
#include "realm_list.h"
#include "resource_ids.h"
#include "status_log.h"
#include "walk_rounds.h"

#include <commctrl.h>

#include <deque>
#include <memory>
#include <new>
#include <string>

namespace {

constexpr std::uint32_t kStatusNotEnoughMemory = 8;  // ERROR_NOT_ENOUGH_MEMORY

// One call on its way: a worker owns it until its answer is posted, then the window's thread.
struct CallInFlight {
    HWND window;
    unsigned run;
    DirectoryPlatform platform;
    DirectoryRequest request;
    DirectoryReply reply;
};

// Only the user-interface thread touches this; workers see nothing but their own call.
struct DiscoveryRun {
    unsigned number = 0;  // tells this run's answers from an earlier one's
    bool running = false;
    HWND window = nullptr;
    DirectoryPlatform platform{};
    std::size_t callsAtOnce = 1;
    WalkRounds rounds;
    RealmDirectory found;
    std::deque<DirectoryRequest> waiting;  // this round's calls not yet handed to a worker
    std::size_t inFlight = 0;
    std::size_t shownCount = 0;
};

DiscoveryRun& TheRun()
{
    static DiscoveryRun run;
    return run;
}

VOID CALLBACK MakeCall(PTP_CALLBACK_INSTANCE, PVOID context)
{
    std::unique_ptr<CallInFlight> call(static_cast<CallInFlight*>(context));
    try {
        call->reply = MakeDirectoryCall(call->platform, call->request);
    } catch (const std::bad_alloc&) {
        // The answer could not be copied: the call failed as the system reports it.
        call->reply = DirectoryReply{};
        call->reply.dcName.status = kStatusNotEnoughMemory;
        call->reply.srv.status = static_cast<std::int32_t>(kStatusNotEnoughMemory);
        call->reply.trusts.status = kStatusNotEnoughMemory;
        call->reply.membership.status = kStatusNotEnoughMemory;
    }
    // Once the window is gone (the program is ending) nobody takes the answer: it goes here.
    if (PostMessageA(call->window, kDiscoveryReplyMessage, 0, reinterpret_cast<LPARAM>(call.get())))
        call.release();
}

// The pool adds threads while its work blocks; the bound on calls in flight bounds them too.
void HandOutCalls(DiscoveryRun& run)
{
    while (run.inFlight < run.callsAtOnce && !run.waiting.empty()) {
        auto* call = new CallInFlight{run.window, run.number, run.platform, run.waiting.front(), {}};
        run.waiting.pop_front();
        ++run.inFlight;
        if (!TrySubmitThreadpoolCallback(&MakeCall, call, nullptr))
            MakeCall(nullptr, call);  // no worker to be had: made here, answered the same way
    }
}

void Finish(DiscoveryRun& run, bool inDomain)
{
    run.running = false;
    RealmDirectory& directory = TheRealmDirectory();
    directory = std::move(run.found);
    if (inDomain) {
        LogInfo("Found " + std::to_string(directory.kdcTable.size()) + " realms.");
    } else {
        MessageBoxA(run.window, "No realm is found. Did you log in as a domain user?", "Warning",
                    MB_OK | MB_ICONWARNING);
        LogWarning("Didn't find any realms.");
    }
    ShowAvailableRealms(run.window, directory.kdcTable);
}

// Runs the walk on to its next calls, or to its end.
void Advance(DiscoveryRun& run)
{
    try {
        const std::vector<DirectoryRequest> calls = NextWalkRound(run.rounds, run.found.kdcTable, run.found.trustTable);
        if (calls.empty()) {
            Finish(run, true);
            return;
        }
        if (run.found.kdcTable.size() != run.shownCount) {
            run.shownCount = run.found.kdcTable.size();
            ShowSearchProgress(run.window, run.shownCount);
        }
        run.waiting.assign(calls.begin(), calls.end());
        HandOutCalls(run);
    } catch (const DiscoveryFailure&) {
        // The only failure the walk raises: the machine is in no domain.
        Finish(run, false);
    }
}

}  // namespace

void StartDiscovery(HWND mainWindow, const DirectoryPlatform& platform, std::size_t callsAtOnce)
{
    DiscoveryRun& run = TheRun();
    const unsigned number = run.number + 1;
    run = DiscoveryRun{};
    run.number = number;
    run.running = true;
    run.window = mainWindow;
    run.platform = platform;
    run.callsAtOnce = callsAtOnce;
    run.found = TheRealmDirectory();
    Advance(run);
}

void TakeDiscoveryReply(LPARAM reply)
{
    const std::unique_ptr<CallInFlight> call(reinterpret_cast<CallInFlight*>(reply));
    DiscoveryRun& run = TheRun();
    if (!run.running || call->run != run.number)
        return;
    TakeReply(run.rounds, call->request, call->reply);
    --run.inFlight;
    HandOutCalls(run);
    if (run.inFlight == 0)
        Advance(run);
}

bool DiscoveryRunning()
{
    return TheRun().running;
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
