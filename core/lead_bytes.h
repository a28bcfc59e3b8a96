// The ANSI code page's double-byte characters, for the rules that read names a byte at a time.
#ifndef QUILLMERE_LEAD_BYTES_H
#define QUILLMERE_LEAD_BYTES_H

#include <array>
#include <cstddef>
#include <string>

// Which bytes begin a double-byte character (code pages 932, 936, 949, 950). None until
// SetLeadBytes: a single-byte code page such as 1252 needs nothing. The Win32 layer sets the
// table once at start, before any thread reads it.
using LeadByteTable = std::array<bool, 256>;
void SetLeadBytes(const LeadByteTable& table);

bool IsLeadByte(char byte);

// The bytes of the character that begins at text[at]: 2 for a lead byte with a byte other than
// NUL after it, as Windows steps through such text; else 1. That second byte, the trail byte,
// belongs to its character even when it looks like an ASCII letter, "\" or "@".
std::size_t CharacterLength(const std::string& text, std::size_t at);

// The first ASCII character c at or after from, a character's start; npos when there is none.
std::size_t FindCharacter(const std::string& text, char c, std::size_t from = 0);

#endif
