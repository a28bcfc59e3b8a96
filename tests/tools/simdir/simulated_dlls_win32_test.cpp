// The simulated netapi32.dll and dnsapi.dll called directly, over tools/forests/two-trees.json:
// buffers shaped like the system's, questions outside the forest file refused, frees checked.
#include "directory_platform_win32_support.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <dsgetdc.h>
#include <dsrole.h>
#include <lmcons.h>
#include <lmapibuf.h>
#include <windns.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

class SimulatedDlls : public ::testing::Test {
protected:
    void SetUp() override { ClearCalls(); }
};

// Whether text, NUL included, lies inside the heap block.
bool InsideBlock(const void* block, const char* text)
{
    const SIZE_T size = HeapSize(GetProcessHeap(), 0, block);
    const auto* start = static_cast<const char*>(block);
    return size != static_cast<SIZE_T>(-1) && text >= start && text + std::strlen(text) < start + size;
}

Strings Statuses(const std::vector<CallLogEntry>& calls)
{
    Strings statuses;
    for (const CallLogEntry& call : calls)
        statuses.push_back(call.function + " " + call.status + " " + call.buffer);
    return statuses;
}

template <typename Function>
Function DnsExport(const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("dnsapi.dll"), name)));
}

}  // namespace

TEST_F(SimulatedDlls, DomainControllerInfoIsOneBlockWithItsStrings)
{
    PDOMAIN_CONTROLLER_INFOA info = nullptr;
    ASSERT_EQ(DsGetDcNameA(nullptr, nullptr, nullptr, nullptr, DS_RETURN_DNS_NAME, &info), 0u);
    ASSERT_NE(info, nullptr);
    EXPECT_STREQ(info->DomainName, "ops.kestrel.test");
    EXPECT_STREQ(info->ClientSiteName, "Hangar-1");
    EXPECT_TRUE(InsideBlock(info, info->DomainName));
    EXPECT_TRUE(InsideBlock(info, info->ClientSiteName));
    EXPECT_EQ(info->DomainControllerName, nullptr);  // what the forest file does not describe
    EXPECT_EQ(NetApiBufferFree(info), 0u);
    EXPECT_TRUE(EveryBufferReleased(ReadCalls()));
}

TEST_F(SimulatedDlls, TrustArrayIsOneBlockWithItsStrings)
{
    char server[] = "dc1.kestrel.test";
    PDS_DOMAIN_TRUSTSA domains = nullptr;
    ULONG count = 0;
    ASSERT_EQ(DsEnumerateDomainTrustsA(server, 63, &domains, &count), 0u);
    ASSERT_EQ(count, 7u);
    EXPECT_STREQ(domains[3].DnsDomainName, "lark.test");
    EXPECT_EQ(domains[3].Flags, 34u);
    EXPECT_EQ(domains[3].TrustAttributes, 8u);
    EXPECT_EQ(domains[6].DnsDomainName, nullptr);
    for (ULONG i = 0; i < 6; ++i)
        EXPECT_TRUE(InsideBlock(domains, domains[i].DnsDomainName)) << i;
    EXPECT_EQ(NetApiBufferFree(domains), 0u);
    EXPECT_TRUE(EveryBufferReleased(ReadCalls()));
}

TEST_F(SimulatedDlls, SrvAnswerIsALinkedListInAnswerOrder)
{
    const char name[] = "_kerberos._tcp.kestrel.test";
    PDNS_RECORDA list = nullptr;
    ASSERT_EQ(DnsQuery_A(name, DNS_TYPE_SRV, DNS_QUERY_STANDARD, nullptr, reinterpret_cast<PDNS_RECORD*>(&list),
                         nullptr),
              0);
    Strings seen;
    std::string lastTarget;
    for (PDNS_RECORDA record = list; record != nullptr; record = record->pNext) {
        if (record->wType == DNS_TYPE_SRV) {
            EXPECT_STREQ(record->pName, name);
            EXPECT_EQ(record->Flags.S.Section, static_cast<DWORD>(DnsSectionAnswer));
            EXPECT_EQ(record->Data.SRV.wPort, 88);
            seen.push_back(record->Data.SRV.pNameTarget);
            lastTarget = record->Data.SRV.pNameTarget;
        } else {
            // Address records are the additional data of the target before them.
            EXPECT_EQ(record->pName, lastTarget);
            EXPECT_EQ(record->Flags.S.Section, static_cast<DWORD>(DnsSectionAddtional));
            seen.push_back(std::to_string(record->wType));
        }
    }
    EXPECT_EQ(seen, (Strings{"dc1.kestrel.test", "1", "dc2.kestrel.test", "dc1.kestrel.test", "28"}));
    // The export under the old name frees like DnsFree, to which the headers map it.
    const auto recordListFree = DnsExport<VOID(WINAPI*)(PDNS_RECORD, DNS_FREE_TYPE)>("DnsRecordListFree");
    ASSERT_NE(recordListFree, nullptr);
    recordListFree(reinterpret_cast<PDNS_RECORD>(list), DnsFreeRecordList);
    const std::vector<CallLogEntry> calls = ReadCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].function, "DnsRecordListFree");
    EXPECT_TRUE(EveryBufferReleased(calls));
}

// A computer whose domain is located is a member of it: a workstation, its DNS name in
// Unicode, its default NetBIOS name, all in one block that DsRoleFreeMemory takes back.
TEST_F(SimulatedDlls, MembershipIsOneBlockInUnicode)
{
    PDSROLE_PRIMARY_DOMAIN_INFO_BASIC info = nullptr;
    ASSERT_EQ(DsRoleGetPrimaryDomainInformation(nullptr, DsRolePrimaryDomainInfoBasic, reinterpret_cast<PBYTE*>(&info)),
              0u);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->MachineRole, DsRole_RoleMemberWorkstation);
    EXPECT_STREQ(info->DomainNameDns, L"ops.kestrel.test");
    EXPECT_STREQ(info->DomainNameFlat, L"OPS");
    EXPECT_EQ(info->DomainForestName, nullptr);
    EXPECT_EQ(info->Flags, 0u);
    const SIZE_T size = HeapSize(GetProcessHeap(), 0, info);
    const auto* start = reinterpret_cast<const char*>(info);
    EXPECT_TRUE(reinterpret_cast<const char*>(info->DomainNameDns) > start &&
                reinterpret_cast<const char*>(info->DomainNameDns + 17) <= start + size);
    EXPECT_EQ(NetApiBufferFree(info), 87u) << "the membership is taken back by its own free";
    DsRoleFreeMemory(info);
    DsRoleFreeMemory(info);  // twice
    const std::vector<CallLogEntry> calls = ReadCalls();
    EXPECT_EQ(Statuses(calls), (Strings{"DsRoleGetPrimaryDomainInformation 0 " + calls[0].buffer,
                                        "NetApiBufferFree 87 " + calls[0].buffer,
                                        "DsRoleFreeMemory 0 " + calls[0].buffer,
                                        "DsRoleFreeMemory 87 " + calls[0].buffer}));
    EXPECT_EQ(AuditBuffers(calls).badFrees.size(), 2u);
    EXPECT_TRUE(AuditBuffers(calls).unreleased.empty());
}

// DNS matches names without regard to letter case, and so does the simulation.
TEST_F(SimulatedDlls, QueryAndServerNamesMatchInAnyLetterCase)
{
    PDNS_RECORD list = nullptr;
    ASSERT_EQ(DnsQuery_A("_KERBEROS._TCP.Lark.Test", DNS_TYPE_SRV, DNS_QUERY_STANDARD, nullptr, &list, nullptr), 0);
    DnsFree(list, DnsFreeRecordList);
    char server[] = "DC1.Kestrel.TEST";
    PDS_DOMAIN_TRUSTSA domains = nullptr;
    ULONG count = 0;
    ASSERT_EQ(DsEnumerateDomainTrustsA(server, 63, &domains, &count), 0u);
    EXPECT_EQ(count, 7u);
    EXPECT_EQ(domains[0].TrustType, 2u) << "a Windows domain unless the file says otherwise";
    NetApiBufferFree(domains);
    EXPECT_TRUE(EveryBufferReleased(ReadCalls()));
}

// The forest file answers the program's questions only; any other is refused, never guessed at.
TEST_F(SimulatedDlls, QuestionsOutsideTheForestFileAreRefused)
{
    PDOMAIN_CONTROLLER_INFOA info = nullptr;
    EXPECT_EQ(DsGetDcNameA("other", nullptr, nullptr, nullptr, DS_RETURN_DNS_NAME, &info), 87u);
    EXPECT_EQ(DsGetDcNameA(nullptr, "kestrel.test", nullptr, nullptr, DS_RETURN_DNS_NAME, &info), 87u);
    EXPECT_EQ(DsGetDcNameA(nullptr, nullptr, nullptr, nullptr, DS_RETURN_FLAT_NAME, &info), 1004u);
    EXPECT_EQ(info, nullptr);
    char server[] = "dc1.kestrel.test";
    PDS_DOMAIN_TRUSTSA domains = nullptr;
    ULONG count = 0;
    EXPECT_EQ(DsEnumerateDomainTrustsA(server, DS_DOMAIN_IN_FOREST, &domains, &count), 1004u);
    EXPECT_EQ(DsEnumerateDomainTrustsA(server, 63, &domains, nullptr), 87u);
    EXPECT_EQ(domains, nullptr);
    PDNS_RECORD list = nullptr;
    const char name[] = "_kerberos._tcp.kestrel.test";
    EXPECT_EQ(DnsQuery_A(name, DNS_TYPE_A, DNS_QUERY_STANDARD, nullptr, &list, nullptr), 87);
    EXPECT_EQ(DnsQuery_A(name, DNS_TYPE_SRV, DNS_QUERY_BYPASS_CACHE, nullptr, &list, nullptr), 87);
    IP4_ARRAY servers{};
    EXPECT_EQ(DnsQuery_A(name, DNS_TYPE_SRV, DNS_QUERY_STANDARD, &servers, &list, nullptr), 87);
    EXPECT_EQ(list, nullptr);
    PBYTE membership = nullptr;
    EXPECT_EQ(DsRoleGetPrimaryDomainInformation(L"dc1.kestrel.test", DsRolePrimaryDomainInfoBasic, &membership), 87u);
    EXPECT_EQ(DsRoleGetPrimaryDomainInformation(nullptr, DsRoleUpgradeStatus, &membership), 87u);
    EXPECT_EQ(DsRoleGetPrimaryDomainInformation(nullptr, DsRolePrimaryDomainInfoBasic, nullptr), 87u);
    EXPECT_EQ(membership, nullptr);
    for (const CallLogEntry& call : ReadCalls())
        EXPECT_EQ(call.buffer, "-") << call.function;
}

TEST_F(SimulatedDlls, FreesRefuseWhatTheyDidNotHandOut)
{
    EXPECT_EQ(NetApiBufferFree(nullptr), 0u);  // as the system's
    PDOMAIN_CONTROLLER_INFOA info = nullptr;
    ASSERT_EQ(DsGetDcNameA(nullptr, nullptr, nullptr, nullptr, DS_RETURN_DNS_NAME, &info), 0u);
    EXPECT_EQ(NetApiBufferFree(info), 0u);
    EXPECT_EQ(NetApiBufferFree(info), 87u);  // twice

    PDNS_RECORD list = nullptr;
    ASSERT_EQ(DnsQuery_A("_kerberos._tcp.lark.test", DNS_TYPE_SRV, DNS_QUERY_STANDARD, nullptr, &list, nullptr), 0);
    EXPECT_EQ(NetApiBufferFree(list), 87u);  // the other DLL's buffer
    DnsFree(list, DnsFreeFlat);              // refused: a list needs DnsFreeRecordList
    DnsFree(list, DnsFreeRecordList);
    DnsFree(list, DnsFreeRecordList);  // twice

    const std::vector<CallLogEntry> calls = ReadCalls();
    EXPECT_EQ(Statuses(calls), (Strings{
                                   "NetApiBufferFree 0 0x0",
                                   "DsGetDcNameA 0 " + calls[1].buffer,
                                   "NetApiBufferFree 0 " + calls[1].buffer,
                                   "NetApiBufferFree 87 " + calls[1].buffer,
                                   "DnsQuery_A 0 " + calls[4].buffer,
                                   "NetApiBufferFree 87 " + calls[4].buffer,
                                   "DnsFree 87 " + calls[4].buffer,
                                   "DnsFree 0 " + calls[4].buffer,
                                   "DnsFree 87 " + calls[4].buffer,
                               }));
    const BufferAudit audit = AuditBuffers(calls);
    EXPECT_TRUE(audit.unreleased.empty());
    EXPECT_EQ(audit.badFrees.size(), 5u);
}

TEST_F(SimulatedDlls, EveryCallIsOneLineWhateverTheName)
{
    PDNS_RECORD list = nullptr;
    EXPECT_EQ(DnsQuery_A("a\tb\nc\\d", DNS_TYPE_SRV, DNS_QUERY_STANDARD, nullptr, &list, nullptr), 9003);
    const std::vector<CallLogEntry> calls = ReadCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].argument, "a\tb\nc\\d");
}

// Wine's iphlpapi.dll imports it; a stub that fails keeps iphlpapi loadable and harmless.
TEST_F(SimulatedDlls, DnsQueryConfigFailsAsNotSupported)
{
    const auto queryConfig =
        DnsExport<DNS_STATUS(WINAPI*)(DNS_CONFIG_TYPE, DWORD, PWSTR, PVOID, PVOID, PDWORD)>("DnsQueryConfig");
    ASSERT_NE(queryConfig, nullptr);
    DWORD length = 0;
    EXPECT_EQ(queryConfig(DnsConfigDnsServerList, 0, nullptr, nullptr, nullptr, &length), 50);
}
