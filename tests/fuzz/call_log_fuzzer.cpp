// Fuzzes the simulated directory's call log, on which every leak check rests: any argument
// (names from hostile directories hold line ends and tabs) must come back from a written line
// unchanged, and the audit must account for every allocation and every free.
#include "call_log.h"
#include "fuzz_bytes.h"

#include <string>
#include <vector>

namespace {

const char* const kFunctions[] = {"DsGetDcNameA", "DsEnumerateDomainTrustsA", "DnsQuery_A", "NetApiBufferFree",
                                  "DnsFree", "DnsRecordListFree"};

bool IsFree(const std::string& function)
{
    return function == "NetApiBufferFree" || function == "DnsFree" || function == "DnsRecordListFree";
}

CallLogEntry Entry(FuzzBytes& bytes)
{
    CallLogEntry entry;
    entry.function = kFunctions[bytes.Byte() % (sizeof kFunctions / sizeof kFunctions[0])];
    entry.argument = bytes.Text(40);
    const std::uint8_t status = bytes.Byte();
    entry.status = status < 128 ? "0" : std::to_string(bytes.Word());
    const std::uint8_t buffer = bytes.Byte();
    entry.buffer = buffer < 32 ? "-" : CallLogBufferField(buffer % 8);  // few addresses: they meet again
    return entry;
}

bool Same(const CallLogEntry& a, const CallLogEntry& b)
{
    return a.function == b.function && a.argument == b.argument && a.status == b.status && a.buffer == b.buffer;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzBytes bytes{data, size};
    std::vector<CallLogEntry> written;
    std::string log;
    while (!bytes.Empty() && written.size() < 64) {
        written.push_back(Entry(bytes));
        const std::string line = FormatCallLogLine(written.back());
        FUZZ_CHECK(line.find('\n') == line.size() - 1, "a log line broken by its argument " + FuzzShown(line));
        for (const char c : line.substr(0, line.size() - 1)) {
            const auto byte = static_cast<unsigned char>(c);
            FUZZ_CHECK(c == '\t' || (byte >= 0x20 && byte != 0x7F), "a control byte in " + FuzzShown(line));
        }
        log += line;
    }

    std::vector<CallLogEntry> read;
    std::string error;
    FUZZ_CHECK(ParseCallLog(log, read, error), "a written log does not read back: " + error);
    FUZZ_CHECK(read.size() == written.size(), "a written log reads back with another number of lines");
    for (std::size_t i = 0; i < read.size(); ++i)
        FUZZ_CHECK(Same(read[i], written[i]), "line " + std::to_string(i + 1) + " reads back changed");

    // Each free either releases one allocation or is reported; each allocation is released or reported.
    std::size_t allocations = 0;
    std::size_t frees = 0;
    for (const CallLogEntry& entry : read) {
        if (IsFree(entry.function))
            ++frees;
        else if (entry.buffer != "-")
            ++allocations;
    }
    const BufferAudit audit = AuditBuffers(read);
    FUZZ_CHECK(audit.badFrees.size() <= frees, "more bad frees than frees");
    const std::size_t released = frees - audit.badFrees.size();
    FUZZ_CHECK(released <= allocations && audit.unreleased.size() == allocations - released,
              "the audit loses an allocation");
    return 0;
}
