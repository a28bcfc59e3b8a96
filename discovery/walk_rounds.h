// The trust walk for a caller that makes the directory calls side by side: each round names the
// calls still needed, and the walk goes on once all their answers are in, in whatever order.
#ifndef QUILLMERE_WALK_ROUNDS_H
#define QUILLMERE_WALK_ROUNDS_H

#include "directory_platform.h"
#include "realm_directory.h"
#include "trust_walk.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

enum class DirectoryCallKind { GetDcName, QuerySrv, EnumerateTrusts, GetPrimaryDomain };

struct DirectoryRequest {
    DirectoryCallKind kind = DirectoryCallKind::GetDcName;
    // The SRV query name, or the enumeration's server (absent: the local computer).
    std::optional<std::string> argument;
};

// The answer of the request's kind; the other fields stay as made.
struct DirectoryReply {
    DcNameAnswer dcName;
    DnsAnswer srv;
    TrustAnswer trusts;
    PrimaryDomainAnswer membership;
};

// Makes the request's call through platform.
DirectoryReply MakeDirectoryCall(const DirectoryPlatform& platform, const DirectoryRequest& request);

// A step of the walk (BeginTrustWalk, then each level) is run against the answers taken so far;
// where one is missing it gets a stand-in that can only leave calls out, never add one, so every
// call it names is one the step makes. Once a run names no call, its results are kept and the
// next step begins. A level thus waits on its longest chain of calls, not on their sum, and
// processes their answers in queue order: the tables, the warnings and the calls come out as
// WalkTrusts gives them, taking a call's answer to depend on its arguments only.
struct WalkRounds {
    TrustWalkState state;
    bool begun = false;     // BeginTrustWalk's step is kept
    bool finished = false;  // the walk has ended or raised its failure
    std::map<std::string, std::vector<DirectoryReply>> replies;  // the current step's, by call
};

// The calls the current step still needs; when it needs none, keeps it in the tables and goes on.
// Returns no calls once the walk has ended, its warnings logged. Raises DiscoveryFailure as
// WalkTrusts does, after logging its warnings.
std::vector<DirectoryRequest> NextWalkRound(WalkRounds& rounds, KdcTable& kdcTable, TrustTable& trustTable);
// Takes the answer of a call that a round named.
void TakeReply(WalkRounds& rounds, const DirectoryRequest& request, DirectoryReply reply);

#endif
