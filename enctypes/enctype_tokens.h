// Splitting an encryption type list into its names.
#ifndef QUILLMERE_ENCTYPE_TOKENS_H
#define QUILLMERE_ENCTYPE_TOKENS_H

#include <cstddef>
#include <string>
#include <vector>

// The names of a list in their order. Any run of commas and blanks separates two
// names; leading and trailing ones are ignored. Reads at most `length` bytes and
// stops early at a NUL.
std::vector<std::string> SplitEncTypeList(const char* text, std::size_t length);

std::vector<std::string> SplitEncTypeList(const std::string& text);

#endif
