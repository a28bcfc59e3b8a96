// The directory record over NETAPI32's domain controller location, trust enumeration and
// computer membership and DNSAPI's SRV query: each call copies the fields the discovery reads and
// frees the system's buffer.
#include "directory_platform_win32.h"

#include "system_library.h"

#include <windows.h>
#include <dsgetdc.h>
#include <dsrole.h>
#include <lmcons.h>
#include <lmapibuf.h>
#include <windns.h>

namespace {

// The system's functions, found in NETAPI32 and DNSAPI of the system folder; the headers'
// declarations give their exact types, WINAPI included. DnsFree is what windns.h makes of
// DnsRecordListFree.
struct DirectoryFunctions {
    decltype(&DsGetDcNameA) getDcName;
    decltype(&DsEnumerateDomainTrustsA) enumerateTrusts;
    decltype(&NetApiBufferFree) freeNetApiBuffer;
    decltype(&DsRoleGetPrimaryDomainInformation) getPrimaryDomain;
    decltype(&DsRoleFreeMemory) freeRoleMemory;
    decltype(&DnsQuery_A) querySrv;
    decltype(&DnsFree) freeDns;
};

template <typename Function>
void Require(Function& slot, const char* dll, const char* name)
{
    slot = AsFunction<Function>(RequireSystemFunction(dll, name));
}

// Missing ones end the program here, at the start, and never halfway through a discovery.
DirectoryFunctions FindDirectoryFunctions()
{
    DirectoryFunctions found{};
    Require(found.getDcName, "netapi32.dll", "DsGetDcNameA");
    Require(found.enumerateTrusts, "netapi32.dll", "DsEnumerateDomainTrustsA");
    Require(found.freeNetApiBuffer, "netapi32.dll", "NetApiBufferFree");
    Require(found.getPrimaryDomain, "netapi32.dll", "DsRoleGetPrimaryDomainInformation");
    Require(found.freeRoleMemory, "netapi32.dll", "DsRoleFreeMemory");
    Require(found.querySrv, "dnsapi.dll", "DnsQuery_A");
    Require(found.freeDns, "dnsapi.dll", "DnsFree");
    return found;
}

const DirectoryFunctions& Functions(void* context)
{
    return *static_cast<const DirectoryFunctions*>(context);
}

std::optional<std::string> CopyText(const char* text)
{
    if (text == nullptr)
        return std::nullopt;
    return std::string(text);
}

DcNameAnswer GetDcName(void* context)
{
    const DirectoryFunctions& system = Functions(context);
    DcNameAnswer answer;
    PDOMAIN_CONTROLLER_INFOA info = nullptr;
    answer.status = system.getDcName(nullptr, nullptr, nullptr, nullptr, DS_RETURN_DNS_NAME, &info);
    if (answer.status == ERROR_SUCCESS && info != nullptr) {
        answer.domainName = CopyText(info->DomainName);
        answer.clientSiteName = CopyText(info->ClientSiteName);
    }
    if (answer.status == ERROR_SUCCESS || info != nullptr)
        system.freeNetApiBuffer(info);
    return answer;
}

DnsAnswer QuerySrv(void* context, const std::string& name)
{
    const DirectoryFunctions& system = Functions(context);
    DnsAnswer answer;
    // DnsQuery_A answers in the narrow character set whatever UNICODE says about DNS_RECORD.
    PDNS_RECORDA list = nullptr;
    answer.status = system.querySrv(name.c_str(), DNS_TYPE_SRV, DNS_QUERY_STANDARD, nullptr,
                               reinterpret_cast<PDNS_RECORD*>(&list), nullptr);
    if (answer.status == 0) {
        for (PDNS_RECORDA record = list; record != nullptr; record = record->pNext) {
            // windns.h defines a function-like macro DnsRecordCopy: no parentheses after the name.
            DnsRecordCopy copy;
            copy.type = record->wType;
            if (record->wType == DNS_TYPE_SRV)
                copy.target = CopyText(record->Data.SRV.pNameTarget);
            answer.records.push_back(copy);
        }
    }
    // Freed after every success, an empty list included, and after a failure that still returned
    // records (a name error can carry the zone's SOA).
    if (answer.status == 0 || list != nullptr)
        system.freeDns(list, DnsFreeRecordList);
    return answer;
}

TrustAnswer EnumerateTrusts(void* context, const std::string* server, std::uint32_t flags)
{
    const DirectoryFunctions& system = Functions(context);
    TrustAnswer answer;
    // The server parameter is not const in the declaration; the call only reads it.
    std::string serverName = server != nullptr ? *server : std::string();
    PDS_DOMAIN_TRUSTSA domains = nullptr;
    ULONG count = 0;
    answer.status = system.enumerateTrusts(server != nullptr ? &serverName[0] : nullptr, flags, &domains, &count);
    if (answer.status == ERROR_SUCCESS && domains != nullptr) {
        for (ULONG i = 0; i < count; ++i) {
            TrustRecordCopy copy;
            copy.dnsDomainName = CopyText(domains[i].DnsDomainName);
            copy.flags = domains[i].Flags;
            copy.trustAttributes = domains[i].TrustAttributes;
            answer.records.push_back(copy);
        }
    }
    // Freed after every success, an empty enumeration included.
    if (answer.status == ERROR_SUCCESS || domains != nullptr)
        system.freeNetApiBuffer(domains);
    return answer;
}

// Unicode text in the ANSI code page, as the "A" functions hand out names; absent when there is
// none or it can't be converted.
std::optional<std::string> AnsiText(const wchar_t* text)
{
    if (text == nullptr)
        return std::nullopt;
    const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return std::nullopt;
    std::string converted(static_cast<std::size_t>(size), '\0');
    if (WideCharToMultiByte(CP_ACP, 0, text, -1, &converted[0], size, nullptr, nullptr) != size)
        return std::nullopt;
    converted.resize(static_cast<std::size_t>(size) - 1);  // the terminating NUL
    return converted;
}

PrimaryDomainAnswer GetPrimaryDomain(void* context)
{
    const DirectoryFunctions& system = Functions(context);
    PrimaryDomainAnswer answer;
    PDSROLE_PRIMARY_DOMAIN_INFO_BASIC info = nullptr;
    answer.status =
        system.getPrimaryDomain(nullptr, DsRolePrimaryDomainInfoBasic, reinterpret_cast<PBYTE*>(&info));
    if (answer.status == ERROR_SUCCESS && info != nullptr) {
        answer.machineRole = static_cast<std::uint32_t>(info->MachineRole);
        answer.domainNameDns = AnsiText(info->DomainNameDns);
    }
    if (info != nullptr)
        system.freeRoleMemory(info);
    return answer;
}

}  // namespace

DirectoryPlatform WindowsDirectoryPlatform()
{
    // Found once, by the first caller; every record shares them.
    static DirectoryFunctions functions = FindDirectoryFunctions();
    return DirectoryPlatform{&functions, GetDcName, QuerySrv, EnumerateTrusts, GetPrimaryDomain};
}
