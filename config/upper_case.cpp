// Realm names as the configuration text spells them.
#include "upper_case.h"

#include "lead_bytes.h"

std::string ToUpperCopy(const std::string& text)
{
    std::string upper = text;
    for (std::size_t at = 0; at < upper.size(); at += CharacterLength(upper, at))
        if (upper[at] >= 'a' && upper[at] <= 'z')
            upper[at] = static_cast<char>(upper[at] - 'a' + 'A');
    return upper;
}
