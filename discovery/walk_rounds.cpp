// The trust walk in rounds of calls made side by side, with its answers taken in queue order.
#include "walk_rounds.h"

#include <utility>

namespace {

// ERROR_IO_PENDING: the status of a stand-in answer, which ends its step's chain of calls.
constexpr std::uint32_t kStatusPending = 997;
// A stand-in KDC: a lookup that succeeds on it makes no further query for the realm. An
// enumeration through it is no call either. The top-level domain "invalid" never resolves.
const char kPendingHost[] = "pending.invalid";

std::string CallKey(const DirectoryRequest& request)
{
    return std::to_string(static_cast<int>(request.kind)) + (request.argument ? "+" + *request.argument : "-");
}

// One run of a step: the answers it may take, how many of each call it took, the calls it lacked.
struct StepRun {
    const std::map<std::string, std::vector<DirectoryReply>>* replies;
    std::map<std::string, std::size_t> taken;
    std::vector<DirectoryRequest> missing;
};

// The next answer of this call in the run, or null when the call is still to be made.
const DirectoryReply* Take(void* context, DirectoryCallKind kind, const std::optional<std::string>& argument)
{
    StepRun& run = *static_cast<StepRun*>(context);
    const DirectoryRequest request{kind, argument};
    const std::string key = CallKey(request);
    const std::size_t index = run.taken[key]++;
    const auto found = run.replies->find(key);
    if (found != run.replies->end() && index < found->second.size())
        return &found->second[index];
    run.missing.push_back(request);
    return nullptr;
}

DcNameAnswer RunGetDcName(void* context)
{
    const DirectoryReply* reply = Take(context, DirectoryCallKind::GetDcName, std::nullopt);
    return reply != nullptr ? reply->dcName : DcNameAnswer{kStatusPending, std::nullopt, std::nullopt};
}

DnsAnswer RunQuerySrv(void* context, const std::string& name)
{
    const DirectoryReply* reply = Take(context, DirectoryCallKind::QuerySrv, name);
    return reply != nullptr ? reply->srv : DnsAnswer{0, {DnsRecordCopy{kDnsTypeSrv, std::string(kPendingHost)}}};
}

TrustAnswer RunEnumerateTrusts(void* context, const std::string* server, std::uint32_t)
{
    if (server != nullptr && *server == kPendingHost)
        return TrustAnswer{kStatusPending, {}};
    const std::optional<std::string> argument = server != nullptr ? std::optional<std::string>(*server) : std::nullopt;
    const DirectoryReply* reply = Take(context, DirectoryCallKind::EnumerateTrusts, argument);
    return reply != nullptr ? reply->trusts : TrustAnswer{kStatusPending, {}};
}

PrimaryDomainAnswer RunGetPrimaryDomain(void* context)
{
    const DirectoryReply* reply = Take(context, DirectoryCallKind::GetPrimaryDomain, std::nullopt);
    return reply != nullptr ? reply->membership : PrimaryDomainAnswer{kStatusPending, 0, std::nullopt};
}

void Finish(WalkRounds& rounds)
{
    rounds.finished = true;
    LogWalkWarnings(rounds.state);
}

}  // namespace

DirectoryReply MakeDirectoryCall(const DirectoryPlatform& platform, const DirectoryRequest& request)
{
    DirectoryReply reply;
    switch (request.kind) {
    case DirectoryCallKind::GetDcName:
        reply.dcName = platform.getDcName(platform.context);
        break;
    case DirectoryCallKind::QuerySrv:
        reply.srv = platform.querySrv(platform.context, request.argument.value_or(std::string()));
        break;
    case DirectoryCallKind::EnumerateTrusts:
        reply.trusts = platform.enumerateTrusts(platform.context, request.argument ? &*request.argument : nullptr,
                                                kTrustEnumerationFlags);
        break;
    case DirectoryCallKind::GetPrimaryDomain:
        reply.membership = platform.getPrimaryDomain(platform.context);
        break;
    }
    return reply;
}

std::vector<DirectoryRequest> NextWalkRound(WalkRounds& rounds, KdcTable& kdcTable, TrustTable& trustTable)
{
    while (!rounds.finished) {
        StepRun run{&rounds.replies, {}, {}};
        const DirectoryPlatform platform{&run, RunGetDcName, RunQuerySrv, RunEnumerateTrusts, RunGetPrimaryDomain};
        KdcTable kdcs = kdcTable;
        TrustTable trusts = trustTable;
        TrustWalkState state = rounds.state;
        bool inDomain = true;
        if (!rounds.begun)
            inDomain = BeginTrustWalk(platform, kdcs, state);
        else
            WalkTrustLevel(platform, kdcs, trusts, state);
        if (!run.missing.empty())
            return run.missing;

        kdcTable.swap(kdcs);
        trustTable.swap(trusts);
        rounds.state = std::move(state);
        rounds.replies.clear();
        rounds.begun = true;
        if (!inDomain) {
            Finish(rounds);
            throw DiscoveryFailure{1};
        }
        if (rounds.state.queue.empty())
            Finish(rounds);
    }
    return {};
}

void TakeReply(WalkRounds& rounds, const DirectoryRequest& request, DirectoryReply reply)
{
    rounds.replies[CallKey(request)].push_back(std::move(reply));
}
