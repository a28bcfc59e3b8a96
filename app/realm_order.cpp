// The realm name comparison: labels from the right, A-Z folded, bytes unsigned.
#include "realm_order.h"

#include "lead_bytes.h"
#include "realm_item_text.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace {

// Only ASCII letters fold: bytes above 127 belong to the ANSI code page and stay as they are, and
// so does a double-byte character's trail byte. trail says whether c is one, and then whether
// the byte after c is.
unsigned char Folded(char c, bool& trail)
{
    const auto byte = static_cast<unsigned char>(c);
    const bool kept = trail;
    trail = !kept && IsLeadByte(c);
    return !kept && byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

// The labels of a text, taken from its end: each step gives the next label to the left. Read from
// the end, a "." after a lead byte ends a label: no double-byte code page has a character whose
// second byte is ".", and for a name that pairs the two anyway only the order differs.
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
    bool firstTrail = false;
    bool secondTrail = false;
    for (std::size_t i = 0;; ++i) {
        const unsigned char a = i < firstLength ? Folded(first[i], firstTrail) : 0;
        const unsigned char b = i < secondLength ? Folded(second[i], secondTrail) : 0;
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

std::vector<int> RealmTextOrder(const std::vector<std::string>& texts)
{
    std::vector<int> order(texts.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&texts](int a, int b) {
        return CompareRealmTexts(texts[static_cast<std::size_t>(a)], texts[static_cast<std::size_t>(b)]) < 0;
    });
    return order;
}
