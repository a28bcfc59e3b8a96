// The simulated dnsapi.dll: SRV queries answered from the forest file, as a linked list of records
// that DnsFree (or DnsRecordListFree) releases with the free type DnsFreeRecordList.

#include <windows.h>
#include <windns.h>

#include "sim_runtime_win32.h"

#include <cstring>
#include <map>
#include <string>
#include <vector>

// The header turns the name into a macro for DnsFree; the DLL exports the function itself too.
#undef DnsRecordListFree

namespace {

constexpr DWORD kSimStatusNotSupported = 50;  // ERROR_NOT_SUPPORTED
constexpr DWORD kTtlSeconds = 600;
constexpr WORD kKerberosPort = 88;
constexpr WORD kSrvWeight = 100;

// Each list's head, with every record block of the list: the caller may rewrite the links.
std::map<void*, std::vector<void*>>& LiveLists()
{
    static std::map<void*, std::vector<void*>> lists;
    return lists;
}

char* PlaceString(char*& cursor, const std::string& text)
{
    char* placed = cursor;
    std::memcpy(placed, text.c_str(), text.size() + 1);
    cursor += text.size() + 1;
    return placed;
}

// The section a record of this type stands in: the SRV records and the CNAME that leads to
// them answer the question, an SOA or NS record names the zone's authority, and address
// records come as additional data on the SRV targets.
void PlaceInSection(DNS_RECORDA& record)
{
    // Constants, each assigned on its own: the field is two bits wide.
    switch (record.wType) {
    case DNS_TYPE_SRV:
    case DNS_TYPE_CNAME:
        record.Flags.S.Section = DnsSectionAnswer;
        break;
    case DNS_TYPE_SOA:
    case DNS_TYPE_NS:
        record.Flags.S.Section = DnsSectionAuthority;
        break;
    default:
        record.Flags.S.Section = DnsSectionAddtional;
        break;
    }
}

// One block per record, holding the record, its owner name and its target. Null on no memory.
PDNS_RECORDA MakeRecord(const std::string& owner, const ForestDnsRecord& source)
{
    const bool srv = source.type == DNS_TYPE_SRV;
    const bool cname = source.type == DNS_TYPE_CNAME;
    std::size_t size = sizeof(DNS_RECORDA) + owner.size() + 1;
    if (srv || cname)
        size += source.target.size() + 1;
    auto* record = static_cast<PDNS_RECORDA>(SimAllocate(size));
    if (record == nullptr)
        return nullptr;
    char* cursor = reinterpret_cast<char*>(record + 1);
    record->pName = PlaceString(cursor, owner);
    record->wType = source.type;
    record->dwTtl = kTtlSeconds;
    PlaceInSection(*record);
    record->Flags.S.CharSet = DnsCharSetAnsi;
    if (srv) {
        record->wDataLength = sizeof(DNS_SRV_DATAA);
        record->Data.SRV.pNameTarget = PlaceString(cursor, source.target);
        record->Data.SRV.wPort = kKerberosPort;
        record->Data.SRV.wWeight = kSrvWeight;
    } else if (cname) {
        record->wDataLength = sizeof(DNS_PTR_DATAA);
        record->Data.CNAME.pNameHost = PlaceString(cursor, source.target);
    }
    return record;
}

// Links the records in answer order and registers the list under its head. Null when empty.
// A CNAME's canonical name owns the answer records after it; address records belong to the
// SRV target before them.
bool MakeList(const std::string& queryName, const std::vector<ForestDnsRecord>& records, PDNS_RECORDA& head)
{
    head = nullptr;
    std::vector<void*> blocks;
    PDNS_RECORDA tail = nullptr;
    std::string answerOwner = queryName;
    std::string lastTarget = queryName;
    for (const ForestDnsRecord& source : records) {
        const bool address = source.type == DNS_TYPE_A || source.type == DNS_TYPE_AAAA;
        PDNS_RECORDA record = MakeRecord(address ? lastTarget : answerOwner, source);
        if (source.type == DNS_TYPE_CNAME)
            answerOwner = source.target;
        else if (source.type == DNS_TYPE_SRV)
            lastTarget = source.target;
        if (record == nullptr) {
            for (void* block : blocks)
                SimRelease(block);
            head = nullptr;
            return false;
        }
        blocks.push_back(record);
        if (tail == nullptr)
            head = record;
        else
            tail->pNext = record;
        tail = record;
    }
    const SimExclusive only;
    if (head != nullptr)
        LiveLists()[head] = blocks;
    return true;
}

DNS_STATUS FinishQuery(const char* name, DNS_STATUS status, const std::string& buffer)
{
    SimLog("DnsQuery_A", SimNameField(name), std::to_string(status), buffer);
    return status;
}

// The common body of DnsFree and DnsRecordListFree. A null list is accepted, as by the system.
void FreeList(const char* function, PVOID list, DNS_FREE_TYPE freeType)
{
    DWORD status = 0;
    if (freeType != DnsFreeRecordList) {
        status = ERROR_INVALID_PARAMETER;  // every buffer handed out here is a record list
    } else if (list != nullptr) {
        const SimExclusive only;
        const auto found = LiveLists().find(list);
        if (found == LiveLists().end()) {
            status = ERROR_INVALID_PARAMETER;
        } else {
            for (void* block : found->second)
                SimRelease(block);
            LiveLists().erase(found);
        }
    }
    SimLog(function, std::to_string(static_cast<int>(freeType)), std::to_string(status), SimBufferField(list));
}

}  // namespace

extern "C" DNS_STATUS WINAPI DnsQuery_A(PCSTR name, WORD type, DWORD options, PIP4_ARRAY servers,
                                        PDNS_RECORD* results, PVOID* reserved)
{
    const Forest* forest = SimForest();
    if (forest == nullptr)
        return FinishQuery(name, static_cast<DNS_STATUS>(kSimStatusInvalidData), kSimNoBuffer);
    // The forest file holds SRV answers of the standard query through the system's own servers.
    if (name == nullptr || results == nullptr || type != DNS_TYPE_SRV || options != DNS_QUERY_STANDARD ||
        servers != nullptr || reserved != nullptr)
        return FinishQuery(name, ERROR_INVALID_PARAMETER, kSimNoBuffer);

    const ForestDnsAnswer answer = DnsAnswerFor(*forest, name);
    SimWaitFor(answer.latencyMs, forest->latencyMs.dns);
    PDNS_RECORDA head = nullptr;
    if (!MakeList(name, answer.records, head))
        return FinishQuery(name, ERROR_NOT_ENOUGH_MEMORY, kSimNoBuffer);
    // A failing answer without records returns no list; one with records (the zone's SOA of a
    // name error, say) returns it, and the caller must free it as after a success.
    *results = reinterpret_cast<PDNS_RECORD>(head);
    const bool returnsList = answer.status == 0 || head != nullptr;
    return FinishQuery(name, answer.status, returnsList ? SimBufferField(head) : std::string(kSimNoBuffer));
}

extern "C" VOID WINAPI DnsFree(PVOID data, DNS_FREE_TYPE freeType)
{
    FreeList("DnsFree", data, freeType);
}

extern "C" VOID WINAPI DnsRecordListFree(PDNS_RECORD list, DNS_FREE_TYPE freeType)
{
    FreeList("DnsRecordListFree", list, freeType);
}

// Wine's iphlpapi.dll imports this; without it, iphlpapi (which ws2_32 and rpcrt4 load on demand)
// could not load while this DLL stands in for the system's.
extern "C" DNS_STATUS WINAPI DnsQueryConfig(DNS_CONFIG_TYPE config, DWORD, PWSTR, PVOID, PVOID, PDWORD)
{
    SimLog("DnsQueryConfig", std::to_string(static_cast<int>(config)), std::to_string(kSimStatusNotSupported),
           kSimNoBuffer);
    return static_cast<DNS_STATUS>(kSimStatusNotSupported);
}
