// The realm name comparison: labels from the right, A-Z folded, bytes unsigned.
#include "realm_order.h"

#include "realm_item_text.h"

namespace {

unsigned char Folded(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    // Only ASCII letters fold: bytes above 127 belong to the ANSI code page and stay as they are.
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

int CompareLabels(const char* first, const char* second)
{
    unsigned char a = 0;
    unsigned char b = 0;
    do {
        a = Folded(*first++);
        b = Folded(*second++);
    } while (a == b && a != 0);
    return a - b;
}

}  // namespace

void SplitLabels(char* text, std::vector<char*>& labels)
{
    char* p = text;
    while (*p != '\0') {
        if (*p == '.') {
            *p++ = '\0';
            continue;
        }
        labels.push_back(p);
        while (*p != '\0' && *p != '.')
            ++p;
    }
}

int CompareRealmTexts(std::string first, std::string second)
{
    // Only the first text is tested: both come from the same list and share one shape.
    const bool marked = first.size() > kFlagPrefixLength && first[kFlagPrefixLength - 1] == ' ';
    const std::size_t start = marked ? kFlagPrefixLength : 0;
    // A second text shorter than the prefix has no name left after it.
    const std::size_t secondStart = second.size() < start ? second.size() : start;
    std::vector<char*> firstLabels;
    std::vector<char*> secondLabels;
    SplitLabels(&first[start], firstLabels);
    SplitLabels(&second[secondStart], secondLabels);
    for (;;) {
        if (firstLabels.empty())
            return secondLabels.empty() ? 0 : -1;
        if (secondLabels.empty())
            return 1;
        const int difference = CompareLabels(firstLabels.back(), secondLabels.back());
        if (difference != 0)
            return difference;
        firstLabels.pop_back();
        secondLabels.pop_back();
    }
}
