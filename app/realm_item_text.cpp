// The mark prefix rules of the Selected list's item texts.
#include "realm_item_text.h"

#include <utility>

namespace {

constexpr char kUnsetMark = kFlagPrefix[0];

// A text too short to hold the position is left as it is: it is no item this program wrote.
std::string WithMarkAt(std::string text, std::size_t position, char mark)
{
    if (position < text.size())
        text[position] = mark;
    return text;
}

}  // namespace

std::string SelectedItemText(const std::string& availableText)
{
    return kFlagPrefix + availableText.substr(0, kMaxRealmNameLength);
}

std::string AvailableItemText(const std::string& selectedText)
{
    return selectedText.size() > kFlagPrefixLength ? selectedText.substr(kFlagPrefixLength) : std::string();
}

std::string ToggledFlag(std::string selectedText, bool serverFlag)
{
    const char letter = serverFlag ? 's' : 'c';
    const std::size_t position = serverFlag ? 1 : 2;
    if (position >= selectedText.size())
        return selectedText;
    const char mark = selectedText[position] == letter ? kUnsetMark : letter;
    return WithMarkAt(std::move(selectedText), position, mark);
}

std::string WithDefaultMark(std::string selectedText)
{
    return WithMarkAt(std::move(selectedText), 0, 'd');
}

std::string WithoutDefaultMark(std::string selectedText)
{
    return WithMarkAt(std::move(selectedText), 0, kUnsetMark);
}
