// One layout pass of a resizer: every direct child of its dialog placed in a single deferred batch.
#ifndef QUILLMERE_LAYOUT_PASS_H
#define QUILLMERE_LAYOUT_PASS_H

#include "resizer.h"

// Places every direct child for newWidth × newHeight; nothing when the size has not changed.
void Layout(Resizer& resizer);

#endif
