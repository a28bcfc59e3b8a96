// A string list value as MIT and Heimdal read it: words split on blanks, tabs and commas.
#ifndef QUILLMERE_LIST_WORDS_H
#define QUILLMERE_LIST_WORDS_H

#include <cstring>
#include <string>

// Each word of the value with one blank before it, in order (krb5int_parse_enctype_list and
// krb5_config_get_strings both split this way).
inline std::string ListWords(const std::string& value)
{
    std::string words;
    std::string word;
    for (char c : value + " ") {
        if (std::strchr(" \t,", c) == nullptr) {
            word += c;
        } else if (!word.empty()) {
            words += " " + word;
            word.clear();
        }
    }
    return words;
}

#endif
