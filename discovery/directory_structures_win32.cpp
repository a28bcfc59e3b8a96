// The layout of the system structures that the directory record reads, pinned for both
// architectures: a header or packing that disagreed with the system's DLLs would have the
// record read other fields, silently.
#include <windows.h>
#include <dsgetdc.h>
#include <windns.h>

#include <cstddef>

namespace {

constexpr bool kPointers64 = sizeof(void*) == 8;
static_assert(sizeof(void*) == 8 || sizeof(void*) == 4, "a 32-bit or a 64-bit build");

constexpr std::size_t Pick(std::size_t offset32, std::size_t offset64)
{
    return kPointers64 ? offset64 : offset32;
}

static_assert(sizeof(DOMAIN_CONTROLLER_INFOA) == Pick(48, 80), "DOMAIN_CONTROLLER_INFOA size");
static_assert(offsetof(DOMAIN_CONTROLLER_INFOA, DomainName) == Pick(28, 40), "DOMAIN_CONTROLLER_INFOA.DomainName");
static_assert(offsetof(DOMAIN_CONTROLLER_INFOA, ClientSiteName) == Pick(44, 72),
              "DOMAIN_CONTROLLER_INFOA.ClientSiteName");

// The enumeration hands out an array: the element size is the stride the record walks.
static_assert(sizeof(DS_DOMAIN_TRUSTSA) == Pick(44, 56), "DS_DOMAIN_TRUSTSA size");
static_assert(offsetof(DS_DOMAIN_TRUSTSA, DnsDomainName) == Pick(4, 8), "DS_DOMAIN_TRUSTSA.DnsDomainName");
static_assert(offsetof(DS_DOMAIN_TRUSTSA, Flags) == Pick(8, 16), "DS_DOMAIN_TRUSTSA.Flags");
static_assert(offsetof(DS_DOMAIN_TRUSTSA, TrustAttributes) == Pick(20, 28), "DS_DOMAIN_TRUSTSA.TrustAttributes");

static_assert(offsetof(DNS_RECORDA, pNext) == 0, "DNS_RECORDA.pNext");
static_assert(offsetof(DNS_RECORDA, wType) == Pick(8, 16), "DNS_RECORDA.wType");
static_assert(offsetof(DNS_RECORDA, Data) == Pick(24, 32), "DNS_RECORDA.Data");
static_assert(sizeof(DNS_SRV_DATAA) == Pick(12, 16), "DNS_SRV_DATAA size");
static_assert(offsetof(DNS_SRV_DATAA, pNameTarget) == 0, "DNS_SRV_DATAA.pNameTarget");
static_assert(offsetof(DNS_SRV_DATAA, wPort) == Pick(8, 12), "DNS_SRV_DATAA.wPort");

}  // namespace
