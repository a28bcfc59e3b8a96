// The check that a name from the network can stand as one token in krb5.conf.
#include "name_check.h"

bool IsUsableName(const std::string& name)
{
    if (name.empty() || name.size() > kMaxNameLength)
        return false;
    for (const char c : name) {
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
