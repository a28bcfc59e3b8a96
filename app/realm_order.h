// The realm name order of both realm lists: label by label from the right, letter case ignored.
#ifndef QUILLMERE_REALM_ORDER_H
#define QUILLMERE_REALM_ORDER_H

#include <string>
#include <vector>

// Negative when the first item text sorts before the second, 0 when alike, positive after.
// When the first text carries a mark prefix (longer than it, a blank at index 3), both texts
// are compared from index 4 on, so Selected items sort by realm name whatever their marks.
// Labels are the pieces between dots: doubled, leading and trailing dots give none. ASCII letters
// fold, but not the trail byte of a double-byte character (lead_bytes.h). Each text counts up
// to its first NUL. Nothing is allocated: a sort calls this many times per item.
int CompareRealmTexts(const std::string& first, const std::string& second);

// The indexes of texts in the CompareRealmTexts order; alike texts keep their order.
std::vector<int> RealmTextOrder(const std::vector<std::string>& texts);

#endif
