// The simulated directory's call log: one line per call, and the pairing of buffers with frees.
//
// A line is four fields separated by tabs and ended by LF:
//   function   the exported function called
//   argument   its main argument: the computer or server name ("(null)" when absent), the query
//              name, the buffer for NetApiBufferFree and DsRoleFreeMemory, the free type for
//              DnsFree/DnsRecordListFree
//   status     the status returned, in decimal; for the void frees 0 when a live buffer (or
//              null) was released and 87 when the pointer or the free type was wrong
//   buffer     the buffer returned or released, "0x" and lower-case hex ("0x0" for a null
//              pointer released), or "-" when the call returned none
// Bytes below 0x20, 0x7F and the backslash are written as \xHH, so a line never breaks.
#ifndef QUILLMERE_SIMDIR_CALL_LOG_H
#define QUILLMERE_SIMDIR_CALL_LOG_H

#include <cstdint>
#include <string>
#include <vector>

struct CallLogEntry {
    std::string function;
    std::string argument;
    std::string status;
    std::string buffer;
};

std::string FormatCallLogLine(const CallLogEntry& entry);
// The buffer field for an address: "0x" and lower-case hex digits without leading zeros.
std::string CallLogBufferField(std::uintptr_t address);
// Reads every line of a log. On a malformed line returns false and names it in error.
bool ParseCallLog(const std::string& text, std::vector<CallLogEntry>& entries, std::string& error);

// Buffers are paired in log order: an allocation is released by the next successful free of
// its kind (NetApiBufferFree for the directory calls, DsRoleFreeMemory for
// DsRoleGetPrimaryDomainInformation, DnsFree or DnsRecordListFree for DnsQuery_A) that names
// the same buffer.
struct BufferAudit {
    std::vector<CallLogEntry> unreleased;  // allocations that no free released
    std::vector<CallLogEntry> badFrees;    // frees that failed or released no allocation
};
BufferAudit AuditBuffers(const std::vector<CallLogEntry>& entries);

#endif
