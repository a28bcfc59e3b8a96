// The texts of realm list items: the mark prefix of the Selected list and its rules.
#ifndef QUILLMERE_REALM_ITEM_TEXT_H
#define QUILLMERE_REALM_ITEM_TEXT_H

#include <cstddef>
#include <string>

// Precedes every realm name in the Selected list. Position 0 holds 'd' for the default realm,
// 1 's' for a realm with servers, 2 'c' for a realm with clients, '-' where a mark is not set;
// position 3 is always a blank.
constexpr char FlagPrefix[] = "--- ";
constexpr std::size_t kFlagPrefixLength = sizeof FlagPrefix - 1;
constexpr std::size_t kMaxRealmNameLength = 255;
// List item texts are read into buffers of this many characters, the NUL included.
constexpr std::size_t kItemTextBufferSize = 260;

// The Selected item for an Available text: no marks, the name cut to its first 255 characters.
std::string SelectedItemText(const std::string& availableText);
// The Available item for a Selected text: the name from character 4 on, the marks dropped unread.
std::string AvailableItemText(const std::string& selectedText);
// The server mark (position 1) or the client mark (position 2) turned over.
std::string ToggledFlag(std::string selectedText, bool serverFlag);
std::string WithDefaultMark(std::string selectedText);
std::string WithoutDefaultMark(std::string selectedText);

#endif
