// The ANSI code page's double-byte characters, for the rules that read names a byte at a time.
#include "lead_bytes.h"

namespace {

LeadByteTable leadBytes{};

}  // namespace

void SetLeadBytes(const LeadByteTable& table)
{
    leadBytes = table;
}

bool IsLeadByte(char byte)
{
    return leadBytes[static_cast<unsigned char>(byte)];
}

std::size_t CharacterLength(const std::string& text, std::size_t at)
{
    return IsLeadByte(text[at]) && at + 1 < text.size() && text[at + 1] != '\0' ? 2 : 1;
}

std::size_t FindCharacter(const std::string& text, char c, std::size_t from)
{
    for (std::size_t at = from; at < text.size(); at += CharacterLength(text, at))
        if (text[at] == c)
            return at;
    return std::string::npos;
}
