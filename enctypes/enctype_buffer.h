// The fixed-size text buffer that the chooser shares with its opener.
#ifndef QUILLMERE_ENCTYPE_BUFFER_H
#define QUILLMERE_ENCTYPE_BUFFER_H

#include "control_texts.h"

#include <cstddef>

struct EncTypeBuffer {
    char* text;            // owned by the opener
    std::size_t capacity;  // bytes, the NUL included
};

// Length of the text, never counting past the buffer's end.
std::size_t EncTypeTextLength(const EncTypeBuffer& buffer);

// Fills the whole buffer with NUL bytes.
void ClearEncTypeText(EncTypeBuffer& buffer);

// Appends ", " when the buffer already holds a name, then the name; whatever does
// not fit before the last byte is cut off, so the text stays NUL-terminated.
void AppendEncTypeName(EncTypeBuffer& buffer, const char* name);

#endif
