// The realm name comparison: labels from the right, A-Z folded, bytes unsigned.
#include "realm_order.h"

#include "realm_item_text.h"

#include <algorithm>
#include <cstring>

namespace {

unsigned char Folded(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    // Only ASCII letters fold: bytes above 127 belong to the ANSI code page and stay as they are.
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

// The labels of a text, taken from its end: each step gives the next label to the left.
struct LabelsFromTheRight {
    const char* text;
    std::size_t end;  // what is left of the text: text[0 .. end)

    bool Next(std::size_t& start, std::size_t& stop)
    {
        while (end > 0 && text[end - 1] == '.')
            --end;
        if (end == 0)
            return false;
        stop = end;
        while (end > 0 && text[end - 1] != '.')
            --end;
        start = end;
        return true;
    }
};

// As C strings compare: the difference of the first differing bytes after folding, a label's
// end counting as a NUL, so that a label that begins the other sorts first.
int CompareLabels(const char* first, std::size_t firstLength, const char* second, std::size_t secondLength)
{
    for (std::size_t i = 0;; ++i) {
        const unsigned char a = i < firstLength ? Folded(first[i]) : 0;
        const unsigned char b = i < secondLength ? Folded(second[i]) : 0;
        if (a != b || a == 0)
            return a - b;
    }
}

}  // namespace

int CompareRealmTexts(const std::string& first, const std::string& second)
{
    // Only the first text is tested: both come from the same list and share one shape.
    const bool marked = first.size() > kFlagPrefixLength && first[kFlagPrefixLength - 1] == ' ';
    const std::size_t start = marked ? kFlagPrefixLength : 0;
    // A second text shorter than the prefix has no name left after it.
    const char* const a = first.c_str() + start;
    const char* const b = second.c_str() + std::min(start, second.size());
    LabelsFromTheRight firstLabels{a, std::strlen(a)};
    LabelsFromTheRight secondLabels{b, std::strlen(b)};
    for (;;) {
        std::size_t firstStart = 0;
        std::size_t firstStop = 0;
        std::size_t secondStart = 0;
        std::size_t secondStop = 0;
        const bool firstHasLabel = firstLabels.Next(firstStart, firstStop);
        const bool secondHasLabel = secondLabels.Next(secondStart, secondStop);
        if (!firstHasLabel)
            return secondHasLabel ? -1 : 0;
        if (!secondHasLabel)
            return 1;
        const int difference =
            CompareLabels(a + firstStart, firstStop - firstStart, b + secondStart, secondStop - secondStart);
        if (difference != 0)
            return difference;
    }
}
