// The rules for domain names from the network: what may stand in krb5.conf, and which are one domain.
#include "name_check.h"

#include "control_texts.h"
#include "lead_bytes.h"

namespace {

bool IsNameByte(unsigned char byte)
{
    return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9') ||
           byte == '-' || byte == '_' || byte > 127;
}

// Its last character is a dot, not the trail byte of a double-byte character.
bool EndsInDot(const std::string& name)
{
    std::size_t last = 0;
    for (std::size_t at = 0; at < name.size(); at += CharacterLength(name, at))
        last = at;
    return !name.empty() && name[last] == '.';
}

}  // namespace

std::optional<std::string> UsableName(const std::string& received)
{
    std::string name = received;
    if (EndsInDot(name))
        name.pop_back();
    if (name.empty() || name.size() > kMaxRealmNameLength)
        return std::nullopt;
    bool labelStart = true;  // at the first character of a label: a dot here would end an empty one
    // A double-byte character stands where its lead byte, above 127, may; its trail byte goes with it.
    for (std::size_t at = 0; at < name.size(); at += CharacterLength(name, at)) {
        const char c = name[at];
        if (c == '.') {
            if (labelStart)
                return std::nullopt;
            labelStart = true;
        } else if (IsNameByte(static_cast<unsigned char>(c))) {
            labelStart = false;
        } else {
            return std::nullopt;
        }
    }
    if (labelStart)  // the name ends in a dot still: "a.." was "a." once its last dot went
        return std::nullopt;
    return name;
}

std::string FoldedDomainName(const std::string& name)
{
    std::string folded = name;
    for (std::size_t at = 0; at < folded.size(); at += CharacterLength(folded, at))
        if (folded[at] >= 'A' && folded[at] <= 'Z')
            folded[at] = static_cast<char>(folded[at] - 'A' + 'a');
    return folded;
}
