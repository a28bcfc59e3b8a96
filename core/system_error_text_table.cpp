// Message texts for the platform codes discovery meets, where there is no system message table.
// The sentences are the English texts of the Windows message table, with its CR LF line end,
// so that log lines read and end the same on every platform.
#include "system_error_text.h"

namespace {

struct MessageText {
    std::uint32_t code;
    const char* text;
};

constexpr MessageText kMessageTexts[] = {
    {5, "Access is denied.\r\n"},                                        // ERROR_ACCESS_DENIED
    {8, "Not enough memory resources are available to process this command.\r\n"},  // ERROR_NOT_ENOUGH_MEMORY
    {13, "The data is invalid.\r\n"},                                    // ERROR_INVALID_DATA
    {14, "Not enough memory resources are available to complete this operation.\r\n"},  // ERROR_OUTOFMEMORY
    {50, "The request is not supported.\r\n"},                           // ERROR_NOT_SUPPORTED
    {53, "The network path was not found.\r\n"},                         // ERROR_BAD_NETPATH
    {87, "The parameter is incorrect.\r\n"},                             // ERROR_INVALID_PARAMETER
    {1004, "Invalid flags.\r\n"},                                        // ERROR_INVALID_FLAGS
    {1212, "The format of the specified domain name is invalid.\r\n"},   // ERROR_INVALID_DOMAINNAME
    {1214, "The format of the specified network name is invalid.\r\n"},  // ERROR_INVALID_NETNAME
    {1311, "There are currently no logon servers available to service the logon request.\r\n"},  // ERROR_NO_LOGON_SERVERS
    {1355, "The specified domain either does not exist or could not be contacted.\r\n"},  // ERROR_NO_SUCH_DOMAIN
    {1460, "This operation returned because the timeout period expired.\r\n"},  // ERROR_TIMEOUT
    {1722, "The RPC server is unavailable.\r\n"},                        // RPC_S_SERVER_UNAVAILABLE
    {1727, "The remote procedure call failed and did not execute.\r\n"},  // RPC_S_CALL_FAILED_DNE
    {1753, "There are no more endpoints available from the endpoint mapper.\r\n"},  // EPT_S_NOT_REGISTERED
    {1786, "The workstation does not have a trust secret.\r\n"},         // ERROR_NO_TRUST_LSA_SECRET
    {1789, "The trust relationship between this workstation and the primary domain failed.\r\n"},  // ERROR_TRUSTED_RELATIONSHIP_FAILURE
    {1908, "Could not find the domain controller for this domain.\r\n"},  // ERROR_DOMAIN_CONTROLLER_NOT_FOUND
    {9001, "DNS server unable to interpret format.\r\n"},                // DNS_ERROR_RCODE_FORMAT_ERROR
    {9002, "DNS server failure.\r\n"},                                   // DNS_ERROR_RCODE_SERVER_FAILURE
    {9003, "DNS name does not exist.\r\n"},                              // DNS_ERROR_RCODE_NAME_ERROR
    {9004, "DNS request not supported by name server.\r\n"},             // DNS_ERROR_RCODE_NOT_IMPLEMENTED
    {9005, "DNS operation refused.\r\n"},                                // DNS_ERROR_RCODE_REFUSED
    {9501, "No records found for given DNS query.\r\n"},                 // DNS_INFO_NO_RECORDS
    {9502, "Bad DNS packet.\r\n"},                                       // DNS_ERROR_BAD_PACKET
    {9503, "No DNS packet.\r\n"},                                        // DNS_ERROR_NO_PACKET
    {10060, "A connection attempt failed because the connected party did not properly respond after a period "
            "of time, or established connection failed because connected host has failed to respond.\r\n"},  // WSAETIMEDOUT
};

}  // namespace

std::string SystemErrorText(std::uint32_t code)
{
    for (const MessageText& entry : kMessageTexts)
        if (entry.code == code)
            return entry.text;
    return "Unknown error.";
}
