// The simulated netapi32.dll: domain controller location, trust enumeration and the computer's
// membership from the forest file. Each answer is one buffer holding the structure and its
// strings, released by NetApiBufferFree (DsRoleFreeMemory for the membership). Fields the forest
// file does not describe are zero or null.

// These are the definitions, not imports.
#define _DSGETDCAPI_
#include <windows.h>
#include <dsgetdc.h>
#include <dsrole.h>
#include <lmcons.h>
#include <lmapibuf.h>

#include "sim_runtime_win32.h"

#include <cstring>
#include <set>
#include <string>

namespace {

constexpr ULONG kModelledTrustFlags = 63;  // the one enumeration the forest file lists
constexpr std::size_t kNetbiosNameLength = 15;
const wchar_t kDefaultWorkgroup[] = L"WORKGROUP";

// The buffers handed out, by the free that takes them back.
std::set<void*>& LiveBuffers()
{
    static std::set<void*> buffers;
    return buffers;
}

std::set<void*>& LiveRoleBuffers()
{
    static std::set<void*> buffers;
    return buffers;
}

void* AllocateBuffer(std::size_t size, std::set<void*>& live = LiveBuffers())
{
    void* buffer = SimAllocate(size);
    const SimExclusive only;
    if (buffer != nullptr)
        live.insert(buffer);
    return buffer;
}

// Releases a buffer this DLL handed out to that free; 87 for any other non-null pointer.
DWORD Release(void* buffer, std::set<void*>& live)
{
    if (buffer == nullptr)
        return 0;
    const SimExclusive only;
    if (live.erase(buffer) != 1)
        return kSimStatusInvalidParameter;
    SimRelease(buffer);
    return 0;
}

// Copies text to cursor and moves the cursor past its NUL.
char* PlaceString(char*& cursor, const std::string& text)
{
    char* placed = cursor;
    std::memcpy(placed, text.c_str(), text.size() + 1);
    cursor += text.size() + 1;
    return placed;
}

wchar_t* PlaceWideString(wchar_t*& cursor, const std::wstring& text)
{
    wchar_t* placed = cursor;
    std::memcpy(placed, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    cursor += text.size() + 1;
    return placed;
}

DWORD Finish(const char* function, const char* argument, DWORD status, const void* buffer)
{
    SimLog(function, SimNameField(argument), std::to_string(status),
           buffer == nullptr ? std::string(kSimNoBuffer) : SimBufferField(buffer));
    return status;
}

// A wide server name for the call log.
std::string Utf8Of(const wchar_t* text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return std::string();
    std::string converted(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &converted[0], size, nullptr, nullptr);
    converted.resize(static_cast<std::size_t>(size) - 1);
    return converted;
}

// The NetBIOS name a domain gets unless its administrators chose another: its first label in
// capitals, at most 15 characters.
std::wstring DefaultNetbiosName(const std::wstring& dnsName)
{
    std::wstring name = dnsName.substr(0, dnsName.find(L'.')).substr(0, kNetbiosNameLength);
    for (wchar_t& c : name)
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
    return name;
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
    if (domains == nullptr || domainCount == nullptr)
        return Finish(function, serverName, kSimStatusInvalidParameter, nullptr);
    if (flags != kModelledTrustFlags)
        return Finish(function, serverName, kSimStatusInvalidFlags, nullptr);

    const ForestTrustAnswer trusts = TrustAnswerFor(*forest, serverName);
    SimWaitFor(trusts.latencyMs, forest->latencyMs.trusts);
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
        array[i].TrustType = trust.trustType;
        array[i].TrustAttributes = trust.trustAttributes;
    }
    *domains = array;
    *domainCount = static_cast<ULONG>(trusts.domains.size());
    return Finish(function, serverName, 0, array);
}

// The membership of the local computer: a member of the domain the forest file names, with its
// default NetBIOS name, or a workstation of the default workgroup.
extern "C" DWORD WINAPI DsRoleGetPrimaryDomainInformation(LPCWSTR server, DSROLE_PRIMARY_DOMAIN_INFO_LEVEL level,
                                                          PBYTE* buffer)
{
    const char* const function = "DsRoleGetPrimaryDomainInformation";
    const std::string serverText = server == nullptr ? std::string() : Utf8Of(server);
    const char* const argument = server == nullptr ? nullptr : serverText.c_str();
    const Forest* forest = SimForest();
    if (forest == nullptr)
        return Finish(function, argument, kSimStatusInvalidData, nullptr);
    // The local computer answers from its own configuration: no network delay.
    if (server != nullptr || level != DsRolePrimaryDomainInfoBasic || buffer == nullptr)
        return Finish(function, argument, kSimStatusInvalidParameter, nullptr);

    const ForestMachine machine = MachineAnswer(*forest);
    const std::wstring dnsName = machine.memberOf ? SimWideText(*machine.memberOf) : std::wstring();
    const std::wstring flatName = machine.memberOf ? DefaultNetbiosName(dnsName) : std::wstring(kDefaultWorkgroup);
    std::size_t size = sizeof(DSROLE_PRIMARY_DOMAIN_INFO_BASIC) + (flatName.size() + 1) * sizeof(wchar_t);
    if (machine.memberOf)
        size += (dnsName.size() + 1) * sizeof(wchar_t);
    auto* info = static_cast<PDSROLE_PRIMARY_DOMAIN_INFO_BASIC>(AllocateBuffer(size, LiveRoleBuffers()));
    if (info == nullptr)
        return Finish(function, argument, ERROR_NOT_ENOUGH_MEMORY, nullptr);
    auto* cursor = reinterpret_cast<wchar_t*>(info + 1);
    info->MachineRole = machine.memberOf ? DsRole_RoleMemberWorkstation : DsRole_RoleStandaloneWorkstation;
    info->DomainNameFlat = PlaceWideString(cursor, flatName);
    if (machine.memberOf)
        info->DomainNameDns = PlaceWideString(cursor, dnsName);
    *buffer = reinterpret_cast<PBYTE>(info);
    return Finish(function, argument, 0, info);
}

// A null buffer is accepted, as by the system; a buffer this DLL did not hand out (or has taken
// back already) is refused with 87 instead of corrupting the heap.
extern "C" NET_API_STATUS WINAPI NetApiBufferFree(LPVOID buffer)
{
    const std::string field = SimBufferField(buffer);
    const NET_API_STATUS status = Release(buffer, LiveBuffers());
    SimLog("NetApiBufferFree", field, std::to_string(status), field);
    return status;
}

// Void, as the system's: the call log says whether the buffer was one to take back.
extern "C" VOID WINAPI DsRoleFreeMemory(PVOID buffer)
{
    const std::string field = SimBufferField(buffer);
    SimLog("DsRoleFreeMemory", field, std::to_string(Release(buffer, LiveRoleBuffers())), field);
}
