// Reading a fuzzer's input as a stream of choices.
#include "fuzz_bytes.h"

#include <cstdio>
#include <cstdlib>

std::uint8_t FuzzBytes::Byte()
{
    return offset < size ? data[offset++] : 0;
}

std::uint32_t FuzzBytes::Word()
{
    std::uint32_t word = 0;
    for (int shift = 0; shift < 32; shift += 8)
        word |= static_cast<std::uint32_t>(Byte()) << shift;
    return word;
}

std::string FuzzBytes::Text(std::size_t maxLength)
{
    std::size_t length = Byte() % (maxLength + 1);
    const std::size_t remaining = offset < size ? size - offset : 0;
    if (length > remaining)
        length = remaining;
    if (length == 0)
        return std::string();
    std::string text(reinterpret_cast<const char*>(data) + offset, length);
    offset += length;
    return text;
}

std::string FuzzBytes::Rest()
{
    if (offset >= size)
        return std::string();
    std::string text(reinterpret_cast<const char*>(data) + offset, size - offset);
    offset = size;
    return text;
}

void FuzzFail(const std::string& what)
{
    std::fprintf(stderr, "check failed: %s\n", what.c_str());
    std::abort();
}

std::string FuzzShown(const std::string& text)
{
    std::string shown;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7F || c == '\\') {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", static_cast<unsigned>(byte));
            shown += escaped;
        } else {
            shown += c;
        }
    }
    return "\"" + shown + "\"";
}
