// Realm names as the configuration text spells them.
#include "upper_case.h"

std::string ToUpperCopy(const std::string& text)
{
    std::string upper = text;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return upper;
}
