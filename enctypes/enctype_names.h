// The eight encryption type names that the chooser offers, in table order.
#ifndef QUILLMERE_ENCTYPE_NAMES_H
#define QUILLMERE_ENCTYPE_NAMES_H

constexpr int kEncTypeCount = 8;

// The chooser lists these bottom-up: index 7 is shown first, index 0 last.
extern const char* const kEncTypeNames[kEncTypeCount];

#endif
