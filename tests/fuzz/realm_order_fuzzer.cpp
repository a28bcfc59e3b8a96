// Fuzzes the realm name order with item texts of both lists: it must agree with a plain
// right-to-left label comparison, and be antisymmetric and transitive.
#include "fuzz_bytes.h"
#include "realm_item_text.h"
#include "realm_order.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Item texts come from 260-byte buffers: at most 259 bytes, no NUL inside.
std::string ItemText(FuzzBytes& bytes)
{
    const std::uint8_t shape = bytes.Byte();
    std::string text = bytes.Text(kItemTextBufferSize - 1);
    text = text.substr(0, text.find('\0'));
    if ((shape & 1) != 0) {
        const char marks[] = {"-d"[(shape >> 1) & 1], "-s"[(shape >> 2) & 1], "-c"[(shape >> 3) & 1], ' '};
        text = std::string(marks, sizeof marks) + text;
        text.resize(std::min(text.size(), kItemTextBufferSize - 1));
    }
    return text;
}

bool Marked(const std::string& text)
{
    return text.size() > kFlagPrefixLength && text[kFlagPrefixLength - 1] == ' ';
}

// The labels, A-Z folded, right to left.
std::vector<std::string> FoldedLabelsFromTheRight(const std::string& name)
{
    std::vector<std::string> labels;
    std::string label;
    for (const char c : name + ".") {
        if (c != '.') {
            label += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
            continue;
        }
        if (!label.empty())
            labels.push_back(label);
        label.clear();
    }
    std::reverse(labels.begin(), labels.end());
    return labels;
}

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

// The order as plain sequences of labels; std::string compares its bytes as unsigned.
int ExpectedSign(const std::string& first, const std::string& second)
{
    const std::size_t start = Marked(first) ? kFlagPrefixLength : 0;
    const auto a = FoldedLabelsFromTheRight(first.substr(start));
    const auto b = FoldedLabelsFromTheRight(second.substr(std::min(start, second.size())));
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end()))
        return -1;
    return std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end()) ? 1 : 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzBytes bytes{data, size};
    const std::string texts[3] = {ItemText(bytes), ItemText(bytes), ItemText(bytes)};
    int order[3][3];
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            order[i][j] = Sign(CompareRealmTexts(texts[i], texts[j]));
            FUZZ_CHECK(order[i][j] == ExpectedSign(texts[i], texts[j]),
                      "the order of " + FuzzShown(texts[i]) + " and " + FuzzShown(texts[j]));
        }
        FUZZ_CHECK(order[i][i] == 0, FuzzShown(texts[i]) + " does not equal itself");
    }
    // Only the first text's shape is looked at, so the laws hold among texts of one list.
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            if (Marked(texts[i]) != Marked(texts[j]))
                continue;
            FUZZ_CHECK(order[i][j] == -order[j][i], "not antisymmetric: " + FuzzShown(texts[i]) + ", " + FuzzShown(texts[j]));
            for (int k = 0; k < 3; ++k)
                if (Marked(texts[k]) == Marked(texts[i]) && order[i][j] <= 0 && order[j][k] <= 0)
                    FUZZ_CHECK(order[i][k] <= 0, "not transitive: " + FuzzShown(texts[i]) + ", " + FuzzShown(texts[j]) +
                                                    ", " + FuzzShown(texts[k]));
        }
    return 0;
}
