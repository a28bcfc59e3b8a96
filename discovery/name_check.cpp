// The rules for domain names from the network: what may stand in krb5.conf, and which are one domain.
#include "name_check.h"

#include "control_texts.h"

namespace {

bool IsNameByte(unsigned char byte)
{
    return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9') ||
           byte == '-' || byte == '_' || byte > 127;
}

}  // namespace

std::optional<std::string> UsableName(const std::string& received)
{
    std::string name = received;
    if (!name.empty() && name.back() == '.')
        name.pop_back();
    if (name.empty() || name.size() > kMaxRealmNameLength)
        return std::nullopt;
    bool labelStart = true;  // at the first byte of a label: a dot here would end an empty one
    for (const char c : name) {
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
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return folded;
}
