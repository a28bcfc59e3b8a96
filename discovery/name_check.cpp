// The check that a name from the network can stand as one token in krb5.conf.
#include "name_check.h"

bool IsConfigToken(const std::string& text)
{
    if (text.empty())
        return false;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F)
            return false;
        switch (byte) {
        case '=':
        case '{':
        case '}':
        case '[':
        case ']':
        case ';':
        case '#':
        case '"':
            return false;
        default:
            break;
        }
    }
    return true;
}

bool IsUsableName(const std::string& name)
{
    return name.size() <= kMaxNameLength && IsConfigToken(name);
}
