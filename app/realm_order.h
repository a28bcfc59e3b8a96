// The realm name order of both realm lists: label by label from the right, letter case ignored.
#ifndef QUILLMERE_REALM_ORDER_H
#define QUILLMERE_REALM_ORDER_H

#include <string>
#include <vector>

// Cuts text in place at every '.' (each becomes a NUL) and appends the non-empty pieces, left
// to right: doubled, leading and trailing dots give no empty labels.
void SplitLabels(char* text, std::vector<char*>& labels);

// Negative when the first item text sorts before the second, 0 when alike, positive after.
// When the first text carries a mark prefix (longer than it, a blank at index 3), both texts
// are compared from index 4 on, so Selected items sort by realm name whatever their marks.
int CompareRealmTexts(std::string first, std::string second);

#endif
