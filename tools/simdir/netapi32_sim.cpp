// The simulated netapi32.dll: domain controller location and trust enumeration from the forest file.
// Each answer is one buffer holding the structure and its strings, released by NetApiBufferFree.
// Fields the forest file does not describe are zero or null.

// These are the definitions, not imports.
#define _DSGETDCAPI_
#include <windows.h>
#include <dsgetdc.h>
#include <lmcons.h>
#include <lmapibuf.h>

#include "sim_runtime_win32.h"

#include <cstring>
#include <set>
#include <string>

namespace {

constexpr ULONG kModelledTrustFlags = 63;  // the one enumeration the forest file lists

std::set<void*>& LiveBuffers()
{
    static std::set<void*> buffers;
    return buffers;
}

void* AllocateBuffer(std::size_t size)
{
    void* buffer = SimAllocate(size);
    if (buffer != nullptr)
        LiveBuffers().insert(buffer);
    return buffer;
}

// Copies text to cursor and moves the cursor past its NUL.
char* PlaceString(char*& cursor, const std::string& text)
{
    char* placed = cursor;
    std::memcpy(placed, text.c_str(), text.size() + 1);
    cursor += text.size() + 1;
    return placed;
}

DWORD Finish(const char* function, const char* argument, DWORD status, const void* buffer)
{
    SimLog(function, SimNameField(argument), std::to_string(status),
           buffer == nullptr ? std::string(kSimNoBuffer) : SimBufferField(buffer));
    return status;
}

}  // namespace

extern "C" DWORD WINAPI DsGetDcNameA(LPCSTR computerName, LPCSTR domainName, GUID* domainGuid, LPCSTR siteName,
                                     ULONG flags, PDOMAIN_CONTROLLER_INFOA* info)
{
    const char* const function = "DsGetDcNameA";
    const Forest* forest = SimForest();
    if (forest == nullptr)
        return Finish(function, computerName, kSimStatusInvalidData, nullptr);
    SimWait(forest->latencyMs.dcname);
    // The forest file answers one question: the local computer's own domain, in DNS form.
    if (info == nullptr || computerName != nullptr || domainName != nullptr || domainGuid != nullptr ||
        siteName != nullptr)
        return Finish(function, computerName, kSimStatusInvalidParameter, nullptr);
    if (flags != DS_RETURN_DNS_NAME)
        return Finish(function, computerName, kSimStatusInvalidFlags, nullptr);

    const ForestMachine machine = MachineAnswer(*forest);
    if (machine.status != 0)
        return Finish(function, computerName, machine.status, nullptr);
    std::size_t size = sizeof(DOMAIN_CONTROLLER_INFOA) + machine.domain.size() + 1;
    if (machine.site)
        size += machine.site->size() + 1;
    auto* answer = static_cast<PDOMAIN_CONTROLLER_INFOA>(AllocateBuffer(size));
    if (answer == nullptr)
        return Finish(function, computerName, ERROR_NOT_ENOUGH_MEMORY, nullptr);
    char* cursor = reinterpret_cast<char*>(answer + 1);
    answer->DomainName = PlaceString(cursor, machine.domain);
    if (machine.site)
        answer->ClientSiteName = PlaceString(cursor, *machine.site);
    *info = answer;
    return Finish(function, computerName, 0, answer);
}

extern "C" DWORD WINAPI DsEnumerateDomainTrustsA(LPSTR serverName, ULONG flags, PDS_DOMAIN_TRUSTSA* domains,
                                                 PULONG domainCount)
{
    const char* const function = "DsEnumerateDomainTrustsA";
    const Forest* forest = SimForest();
    if (forest == nullptr)
        return Finish(function, serverName, kSimStatusInvalidData, nullptr);
    SimWait(forest->latencyMs.trusts);
    if (domains == nullptr || domainCount == nullptr)
        return Finish(function, serverName, kSimStatusInvalidParameter, nullptr);
    if (flags != kModelledTrustFlags)
        return Finish(function, serverName, kSimStatusInvalidFlags, nullptr);

    const ForestTrustAnswer trusts = TrustAnswerFor(*forest, serverName);
    if (trusts.status != 0)
        return Finish(function, serverName, trusts.status, nullptr);
    // The array first, then the strings; an empty enumeration still gets a buffer of its own.
    std::size_t size = trusts.domains.size() * sizeof(DS_DOMAIN_TRUSTSA);
    for (const ForestTrust& trust : trusts.domains)
        if (trust.dnsDomainName)
            size += trust.dnsDomainName->size() + 1;
    auto* array = static_cast<PDS_DOMAIN_TRUSTSA>(AllocateBuffer(size));
    if (array == nullptr)
        return Finish(function, serverName, ERROR_NOT_ENOUGH_MEMORY, nullptr);
    char* cursor = reinterpret_cast<char*>(array + trusts.domains.size());
    for (std::size_t i = 0; i < trusts.domains.size(); ++i) {
        const ForestTrust& trust = trusts.domains[i];
        if (trust.dnsDomainName)
            array[i].DnsDomainName = PlaceString(cursor, *trust.dnsDomainName);
        array[i].Flags = trust.flags;
        array[i].TrustAttributes = trust.trustAttributes;
    }
    *domains = array;
    *domainCount = static_cast<ULONG>(trusts.domains.size());
    return Finish(function, serverName, 0, array);
}

// A null buffer is accepted, as by the system; a buffer this DLL did not hand out (or has taken
// back already) is refused with 87 instead of corrupting the heap.
extern "C" NET_API_STATUS WINAPI NetApiBufferFree(LPVOID buffer)
{
    const std::string field = SimBufferField(buffer);
    NET_API_STATUS status = 0;
    if (buffer != nullptr) {
        if (LiveBuffers().erase(buffer) == 1)
            SimRelease(buffer);
        else
            status = kSimStatusInvalidParameter;
    }
    SimLog("NetApiBufferFree", field, std::to_string(status), field);
    return status;
}
