// Realm names read as DNS trees, for telling which realms a client walks between without capaths.
#ifndef QUILLMERE_REALM_NAME_LABELS_H
#define QUILLMERE_REALM_NAME_LABELS_H

#include <string>
#include <vector>

// The text after the second-to-last dot; a name with fewer than two dots, whole.
std::string LastTwoLabels(const std::string& name);

// The name from each of its labels on: the whole name first, its last label last.
std::vector<std::string> LabelSuffixes(const std::string& name);

#endif
