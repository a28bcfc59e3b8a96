// Splitting an encryption type list at commas and blanks.
#include "enctype_tokens.h"

namespace {

bool IsDelimiter(char c)
{
    return c == ',' || c == ' ';
}

}  // namespace

std::vector<std::string> SplitEncTypeList(const char* text, std::size_t length)
{
    std::vector<std::string> names;
    if (text == nullptr)
        return names;
    std::size_t i = 0;
    while (i < length && text[i] != '\0') {
        if (IsDelimiter(text[i])) {
            ++i;
            continue;
        }
        std::size_t start = i;
        while (i < length && text[i] != '\0' && !IsDelimiter(text[i]))
            ++i;
        names.emplace_back(text + start, i - start);
    }
    return names;
}

std::vector<std::string> SplitEncTypeList(const std::string& text)
{
    return SplitEncTypeList(text.c_str(), text.size());
}
