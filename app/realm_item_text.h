// The texts of realm list items: the mark prefix of the Selected list and its rules.
#ifndef QUILLMERE_REALM_ITEM_TEXT_H
#define QUILLMERE_REALM_ITEM_TEXT_H

#include "control_texts.h"

#include <string>

// The Selected item for an Available text: no marks, the name cut to its first 255 characters.
std::string SelectedItemText(const std::string& availableText);
// The Available item for a Selected text: the name from character 4 on, the marks dropped unread.
std::string AvailableItemText(const std::string& selectedText);
// The server mark (position 1) or the client mark (position 2) turned over.
std::string ToggledFlag(std::string selectedText, bool serverFlag);
std::string WithDefaultMark(std::string selectedText);
std::string WithoutDefaultMark(std::string selectedText);

#endif
