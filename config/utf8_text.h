// Text of the ANSI code page, as the "A" functions give it, in UTF-8, as Linux and Java read files.
#ifndef QUILLMERE_UTF8_TEXT_H
#define QUILLMERE_UTF8_TEXT_H

#include <string>

// Converts through UTF-16, without a byte-order mark; pure ASCII is copied as it is. False,
// with the system's error code in error, when the system can't convert the text.
bool Utf8FromAnsi(const std::string& ansi, std::string& utf8, unsigned long& error);

#endif
