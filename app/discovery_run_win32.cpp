// Running the discovery once, its calls on the system thread pool, and showing what it found.
#include "discovery_run.h"

#include "main_window.h"
#include "realm_list.h"
#include "resource_ids.h"
#include "realm_order.h"
#include "status_log.h"
#include "system_error_text.h"
#include "walk_rounds.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

namespace {

// A round starts with one worker: answers from a cache or a near server come in microseconds, and
// side by side such calls only contend. At each tick of the join timer a round that took fewer
// than kQuickCallsATick calls since the last tick is waiting on the network (a millisecond a call
// or more, at the shortest tick Windows gives), and its other workers join it.
constexpr UINT kJoinTickMs = USER_TIMER_MINIMUM;
constexpr LONG kQuickCallsATick = 10;

// One round's calls on their way. Workers take the calls in turn, each answer into its own slot,
// and the last worker to finish posts the whole round to the window, whose thread then owns it:
// one message a round, not one a call, and no trip through the window between two calls.
struct RoundInFlight {
    HWND window;
    unsigned run;
    DirectoryPlatform platform;
    std::vector<DirectoryRequest> requests;
    std::vector<DirectoryReply> replies;  // replies[i] answers requests[i]
    LONG nextCall = 0;                    // the index the next worker to ask takes
    LONG workersLeft = 1;                 // workers at the calls or about to be
};

// Only the user-interface thread touches this; workers see nothing but their round.
struct DiscoveryRun {
    unsigned number = 0;  // tells this run's answers from an earlier one's
    bool running = false;
    HWND window = nullptr;
    DirectoryPlatform platform{};
    std::size_t callsAtOnce = 1;
    WalkRounds rounds;
    RealmDirectory found;
    std::size_t shownCount = 0;
    // The round out, until its answers are taken: only its last worker could delete it, and only
    // once the window is gone.
    RoundInFlight* out = nullptr;
    LONG workersToJoin = 0;
    LONG takenAtTick = 0;  // its calls taken by the join timer's last tick
};

DiscoveryRun& TheRun()
{
    static DiscoveryRun run;
    return run;
}

DirectoryReply Answer(const DirectoryPlatform& platform, const DirectoryRequest& request)
{
    try {
        return MakeDirectoryCall(platform, request);
    } catch (const std::bad_alloc&) {
        // The answer could not be copied: the call failed as the system reports it.
        DirectoryReply reply;
        reply.dcName.status = ERROR_NOT_ENOUGH_MEMORY;
        reply.srv.status = static_cast<std::int32_t>(ERROR_NOT_ENOUGH_MEMORY);
        reply.trusts.status = ERROR_NOT_ENOUGH_MEMORY;
        reply.membership.status = ERROR_NOT_ENOUGH_MEMORY;
        return reply;
    }
}

// The last worker to leave posts the round to the window.
void LeaveRound(RoundInFlight* round)
{
    // The decrement is a full barrier: the last worker sees every answer written. The others
    // touch the round no more.
    if (InterlockedDecrement(&round->workersLeft) != 0)
        return;
    // Once the window is gone (the program is ending) nobody takes the answers: they go here.
    if (!PostMessageA(round->window, kDiscoveryReplyMessage, 0, reinterpret_cast<LPARAM>(round)))
        delete round;
}

VOID CALLBACK MakeCalls(PTP_CALLBACK_INSTANCE, PVOID context)
{
    auto* round = static_cast<RoundInFlight*>(context);
    const auto count = static_cast<LONG>(round->requests.size());
    for (LONG index = InterlockedIncrement(&round->nextCall) - 1; index < count;
         index = InterlockedIncrement(&round->nextCall) - 1) {
        const auto taken = static_cast<std::size_t>(index);
        round->replies[taken] = Answer(round->platform, round->requests[taken]);
    }
    LeaveRound(round);
}

void HandOutCalls(DiscoveryRun& run, std::vector<DirectoryRequest> calls)
{
    auto round = std::make_unique<RoundInFlight>();
    round->window = run.window;
    round->run = run.number;
    round->platform = run.platform;
    round->replies.resize(calls.size());
    round->requests = std::move(calls);
    run.workersToJoin = static_cast<LONG>(std::min(run.callsAtOnce, round->requests.size())) - 1;
    run.takenAtTick = 0;
    run.out = round.release();
    if (!TrySubmitThreadpoolCallback(&MakeCalls, run.out, nullptr)) {
        run.workersToJoin = 0;
        MakeCalls(nullptr, run.out);  // no worker to be had: the calls are made here, answered the same way
        return;
    }
    if (run.workersToJoin > 0)
        SetTimer(run.window, kDiscoveryJoinTimer, kJoinTickMs, nullptr);
}

// Adds workers to the round unless its last worker has left: its answers are on their way then.
bool AddWorkers(RoundInFlight& round, LONG count)
{
    for (LONG left = InterlockedCompareExchange(&round.workersLeft, 0, 0); left != 0;) {
        const LONG seen = InterlockedCompareExchange(&round.workersLeft, left + count, left);
        if (seen == left)
            return true;
        left = seen;
    }
    return false;
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

// The search can't go on: the user is told, and gets what it found so far.
void StopForLackOfMemory(DiscoveryRun& run)
{
    try {
        LogWarning(std::string("The search for realms stopped") + kReasonText + SystemErrorText(ERROR_NOT_ENOUGH_MEMORY));
        Finish(run, true);
    } catch (const std::bad_alloc&) {
        // Not even that: at least the list no longer says that the search goes on.
        run.running = false;
        SendDlgItemMessageA(run.window, IDC_AVAILABLE_LIST, LVM_DELETEALLITEMS, 0, 0);
    }
}

// Runs the walk on to its next calls, or to its end.
void Advance(DiscoveryRun& run)
{
    try {
        std::vector<DirectoryRequest> calls = NextWalkRound(run.rounds, run.found.kdcTable, run.found.trustTable);
        if (calls.empty()) {
            Finish(run, true);
            return;
        }
        if (run.found.kdcTable.size() != run.shownCount) {
            run.shownCount = run.found.kdcTable.size();
            ShowSearchProgress(run.window, run.shownCount);
        }
        HandOutCalls(run, std::move(calls));
    } catch (const DiscoveryFailure&) {
        // The only failure the walk raises: the machine is in no domain.
        Finish(run, false);
    } catch (const std::bad_alloc&) {
        StopForLackOfMemory(run);
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
    const std::unique_ptr<RoundInFlight> round(reinterpret_cast<RoundInFlight*>(reply));
    DiscoveryRun& run = TheRun();
    if (!run.running || round->run != run.number)
        return;
    run.out = nullptr;
    KillTimer(run.window, kDiscoveryJoinTimer);
    try {
        for (std::size_t i = 0; i < round->requests.size(); ++i)
            TakeReply(run.rounds, round->requests[i], std::move(round->replies[i]));
    } catch (const std::bad_alloc&) {
        StopForLackOfMemory(run);
        return;
    }
    Advance(run);
}

void TakeJoinTick()
{
    DiscoveryRun& run = TheRun();
    if (run.out == nullptr) {
        KillTimer(run.window, kDiscoveryJoinTimer);
        return;
    }
    const LONG taken = InterlockedCompareExchange(&run.out->nextCall, 0, 0);
    const LONG quick = taken - run.takenAtTick;
    run.takenAtTick = taken;
    if (quick >= kQuickCallsATick)
        return;
    KillTimer(run.window, kDiscoveryJoinTimer);
    if (!AddWorkers(*run.out, run.workersToJoin))
        return;
    for (LONG added = 0; added < run.workersToJoin; ++added) {
        if (!TrySubmitThreadpoolCallback(&MakeCalls, run.out, nullptr))
            LeaveRound(run.out);  // no worker to be had: those at the calls take its share
    }
    run.workersToJoin = 0;
}

bool DiscoveryRunning()
{
    return TheRun().running;
}

void ShowAvailableRealms(HWND mainWindow, const KdcTable& kdcTable)
{
    const HWND available = GetDlgItem(mainWindow, IDC_AVAILABLE_LIST);
    // Sorted here, and put in that order: a sort of the list would read every item back and write
    // each again, three times the messages. Alike names keep the order of the table read backwards.
    std::vector<std::string> realms;
    realms.reserve(kdcTable.size());
    for (auto realm = kdcTable.rbegin(); realm != kdcTable.rend(); ++realm)
        realms.push_back(realm->first);
    const std::vector<int> order = RealmTextOrder(realms);
    const RedrawPause pause(available);
    SendMessageA(available, LVM_DELETEALLITEMS, 0, 0);
    for (std::size_t index = 0; index < order.size(); ++index)
        InsertItemText(available, static_cast<int>(index), realms[static_cast<std::size_t>(order[index])]);
}
