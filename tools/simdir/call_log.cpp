// Writing, reading and auditing the simulated directory's call log.
#include "call_log.h"

#include <cstdio>
#include <list>

namespace {

bool NeedsEscape(unsigned char byte)
{
    return byte < 0x20 || byte == 0x7F || byte == '\\';
}

std::string Escape(const std::string& field)
{
    std::string out;
    for (const char c : field) {
        const auto byte = static_cast<unsigned char>(c);
        if (!NeedsEscape(byte)) {
            out += c;
            continue;
        }
        char escaped[5];
        std::snprintf(escaped, sizeof escaped, "\\x%02x", static_cast<unsigned>(byte));
        out += escaped;
    }
    return out;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool Unescape(const std::string& field, std::string& out)
{
    out.clear();
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\') {
            out += field[i];
            continue;
        }
        if (i + 3 >= field.size())
            return false;
        if (field[i + 1] != 'x' || HexValue(field[i + 2]) < 0 || HexValue(field[i + 3]) < 0)
            return false;
        out += static_cast<char>(HexValue(field[i + 2]) * 16 + HexValue(field[i + 3]));
        i += 3;
    }
    return true;
}

bool ParseLine(const std::string& line, CallLogEntry& entry)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos)
            break;
        start = tab + 1;
    }
    if (fields.size() != 4 || fields[0].empty() || fields[2].empty() || fields[3].empty())
        return false;
    entry.function = fields[0];
    entry.status = fields[2];
    entry.buffer = fields[3];
    return Unescape(fields[1], entry.argument);
}

// Whether freeFunction is the free call for what allocator returned.
bool Releases(const std::string& freeFunction, const std::string& allocator)
{
    if (allocator == "DsGetDcNameA" || allocator == "DsEnumerateDomainTrustsA")
        return freeFunction == "NetApiBufferFree";
    if (allocator == "DnsQuery_A")
        return freeFunction == "DnsFree" || freeFunction == "DnsRecordListFree";
    if (allocator == "DsRoleGetPrimaryDomainInformation")
        return freeFunction == "DsRoleFreeMemory";
    return false;
}

bool IsFree(const std::string& function)
{
    return function == "NetApiBufferFree" || function == "DnsFree" || function == "DnsRecordListFree" ||
           function == "DsRoleFreeMemory";
}

}  // namespace

std::string FormatCallLogLine(const CallLogEntry& entry)
{
    return Escape(entry.function) + '\t' + Escape(entry.argument) + '\t' + Escape(entry.status) + '\t' +
           Escape(entry.buffer) + '\n';
}

std::string CallLogBufferField(std::uintptr_t address)
{
    const char digits[] = "0123456789abcdef";
    std::string hex;
    do {
        hex.insert(hex.begin(), digits[address % 16]);
        address /= 16;
    } while (address != 0);
    return "0x" + hex;
}

bool ParseCallLog(const std::string& text, std::vector<CallLogEntry>& entries, std::string& error)
{
    entries.clear();
    std::size_t start = 0;
    std::size_t number = 1;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            error = "line " + std::to_string(number) + " has no line end";
            return false;
        }
        CallLogEntry entry;
        if (!ParseLine(text.substr(start, end - start), entry)) {
            error = "line " + std::to_string(number) + " is not four tab-separated fields";
            return false;
        }
        entries.push_back(entry);
        start = end + 1;
        ++number;
    }
    return true;
}

BufferAudit AuditBuffers(const std::vector<CallLogEntry>& entries)
{
    BufferAudit audit;
    std::list<CallLogEntry> live;  // in allocation order
    for (const CallLogEntry& entry : entries) {
        if (!IsFree(entry.function)) {
            if (entry.buffer != "-")
                live.push_back(entry);
            continue;
        }
        bool released = false;
        if (entry.status == "0") {
            for (auto it = live.begin(); it != live.end(); ++it) {
                if (it->buffer == entry.buffer && Releases(entry.function, it->function)) {
                    live.erase(it);
                    released = true;
                    break;
                }
            }
        }
        if (!released)
            audit.badFrees.push_back(entry);
    }
    audit.unreleased.assign(live.begin(), live.end());
    return audit;
}
