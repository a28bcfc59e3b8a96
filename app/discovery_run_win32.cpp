// Running the discovery once, its calls on the system thread pool, and showing what it found.
#include "discovery_run.h"

#include "main_window.h"
#include "realm_list.h"
#include "realm_order.h"
#include "resource_ids.h"
#include "status_log.h"
#include "walk_rounds.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

namespace {

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
    LONG workersLeft = 0;                 // workers still taking calls
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

VOID CALLBACK MakeCalls(PTP_CALLBACK_INSTANCE, PVOID context)
{
    auto* round = static_cast<RoundInFlight*>(context);
    const auto count = static_cast<LONG>(round->requests.size());
    for (LONG index = InterlockedIncrement(&round->nextCall) - 1; index < count;
         index = InterlockedIncrement(&round->nextCall) - 1) {
        const auto taken = static_cast<std::size_t>(index);
        round->replies[taken] = Answer(round->platform, round->requests[taken]);
    }
    // The decrement is a full barrier: the last worker sees every answer written. The others
    // touch the round no more.
    if (InterlockedDecrement(&round->workersLeft) != 0)
        return;
    // Once the window is gone (the program is ending) nobody takes the answers: they go here.
    if (!PostMessageA(round->window, kDiscoveryReplyMessage, 0, reinterpret_cast<LPARAM>(round)))
        delete round;
}

// The pool adds threads while its work blocks; one worker per call at once bounds them too.
void HandOutCalls(DiscoveryRun& run, std::vector<DirectoryRequest> calls)
{
    const std::size_t workers = std::min(run.callsAtOnce, calls.size());
    auto* round = new RoundInFlight{run.window, run.number, run.platform, std::move(calls), {}, 0,
                                    static_cast<LONG>(workers)};
    round->replies.resize(round->requests.size());
    for (std::size_t started = 0; started < workers; ++started) {
        if (!TrySubmitThreadpoolCallback(&MakeCalls, round, nullptr))
            MakeCalls(nullptr, round);  // no worker to be had: its share is made here, answered the same way
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
    for (std::size_t i = 0; i < round->requests.size(); ++i)
        TakeReply(run.rounds, round->requests[i], std::move(round->replies[i]));
    Advance(run);
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
    std::stable_sort(realms.begin(), realms.end(),
                     [](const std::string& a, const std::string& b) { return CompareRealmTexts(a, b) < 0; });
    const RedrawPause pause(available);
    SendMessageA(available, LVM_DELETEALLITEMS, 0, 0);
    for (std::size_t index = 0; index < realms.size(); ++index)
        InsertItemText(available, static_cast<int>(index), realms[index]);
}
