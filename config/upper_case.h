// Realm names as the configuration text spells them: in upper case.
#ifndef QUILLMERE_UPPER_CASE_H
#define QUILLMERE_UPPER_CASE_H

#include <string>

// Upper-cases "a" to "z" only; every other byte, those above 127 and the trail bytes of
// double-byte characters (lead_bytes.h) included, is kept.
std::string ToUpperCopy(const std::string& text);

#endif
